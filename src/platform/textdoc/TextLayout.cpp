#include "TextLayout.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

const double CTextLayout::kTwipsPerPoint = 20.0;

namespace {

const double kTabPoints = 36.0;      // the rich-edit control's default tab stops: half an inch
const double kLineSpacing = 1.2;
const int kEm = 1000;                // the size at which widths are read: thousandths of the font size

LOGFONTW FontOf(const CTextCharFormat& f, int nHeight)
{
    LOGFONTW lf = {};
    lf.lfHeight = nHeight;
    lf.lfWeight = f.bBold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = f.bItalic;
    lf.lfUnderline = f.bUnderline;
    lf.lfCharSet = f.nCharSet;
    lf.lfQuality = ANTIALIASED_QUALITY;
    wcsncpy(lf.lfFaceName, f.strFace, LF_FACESIZE - 1);
    return lf;
}

// Advance widths per face and style, in thousandths of the size; one screen-independent memory DC.
class CWidthCache
{
public:
    CWidthCache() : m_hdc(::CreateCompatibleDC(nullptr)) {}
    ~CWidthCache()
    {
        for (auto& entry : m_fonts)
            ::DeleteObject(entry.second);
        ::DeleteDC(m_hdc);
    }

    double Width(const CTextCharFormat& f, wchar_t ch)
    {
        const auto key = std::make_tuple(CString(f.strFace), f.bBold, f.bItalic, f.nCharSet);
        HFONT& hFont = m_fonts[key];
        if (!hFont) {
            const LOGFONTW lf = FontOf(f, -kEm);
            hFont = ::CreateFontIndirectW(&lf);
        }
        HGDIOBJ hOld = ::SelectObject(m_hdc, hFont);
        SIZE size = {};
        ::GetTextExtentPoint32W(m_hdc, &ch, 1, &size);
        ::SelectObject(m_hdc, hOld);
        return size.cx;
    }

private:
    HDC m_hdc;
    std::map<std::tuple<CString, bool, bool, BYTE>, HFONT> m_fonts;
};

CWidthCache& Widths()
{
    static CWidthCache s_widths;
    return s_widths;
}

} // namespace

CTextLayout::CTextLayout(const CTextDocument& doc) : m_doc(doc)
{
    const CTextPageSetup& page = doc.PageSetup();
    m_width = page.nWidth / kTwipsPerPoint;
    m_height = page.nHeight / kTwipsPerPoint;
    m_left = page.nMarginLeft / kTwipsPerPoint;
    m_top = page.nMarginTop / kTwipsPerPoint;
    m_right = std::max(m_left + 36.0, m_width - page.nMarginRight / kTwipsPerPoint);
    m_bottom = page.nMarginBottom / kTwipsPerPoint;
    m_y = m_top;
    const CString& text = m_doc.GetText();
    long nLineStart = 0;
    for (long i = 0; i <= m_doc.GetLength(); ++i) {
        const wchar_t ch = i < m_doc.GetLength() ? text[i] : L'\r';
        if (ch == L'\r' || ch == L'\v' || ch == L'\x0C') {
            // The paragraph mark the control keeps at the very end makes no line of its own.
            if (i < m_doc.GetLength() || nLineStart < i)
                Paragraph(nLineStart, i);
            if (ch == L'\x0C') {
                ++m_nPages;
                m_y = m_top;
            }
            nLineStart = i + 1;
        }
    }
}

double CTextLayout::Size(long nPos) const
{
    return m_doc.GetCharFormat(nPos).nHalfPoints / 2.0;
}

CLaidGlyph CTextLayout::Measure(long nPos, double x) const
{
    const CTextCharFormat& f = m_doc.GetCharFormat(nPos);
    const wchar_t ch = m_doc.GetText()[nPos];
    const double size = f.nHalfPoints / 2.0;
    CLaidGlyph glyph{nPos, x, 0};
    if (ch == L'\t')
        glyph.width = (std::floor(x / kTabPoints) + 1) * kTabPoints - x;
    else if (f.IsSymbol())
        glyph.width = size * 0.9;   // a box of the symbol font, drawn whatever fonts the system has
    else
        glyph.width = Widths().Width(f, ch) * size / kEm;
    return glyph;
}

void CTextLayout::Paragraph(long nStart, long nEnd)
{
    const double avail = m_right - m_left;
    std::vector<CLaidGlyph> line;
    long nBreak = -1;   // index in line after the last blank
    double height = nStart < nEnd ? Size(nStart) : Size(std::max(0L, nStart - 1));
    for (long i = nStart; i < nEnd; ++i) {
        const double x = line.empty() ? 0.0 : line.back().x + line.back().width;
        CLaidGlyph glyph = Measure(i, x);
        if (!line.empty() && x + glyph.width > avail && m_doc.GetText()[i] != L' ') {
            std::vector<CLaidGlyph> rest;
            if (nBreak > 0 && nBreak < static_cast<long>(line.size())) {
                rest.assign(line.begin() + nBreak, line.end());
                line.resize(static_cast<size_t>(nBreak));
            }
            AddLine(line, height);
            height = Size(i);
            nBreak = -1;
            for (const CLaidGlyph& g : rest) {
                line.push_back(Measure(g.nPos, line.empty() ? 0.0 : line.back().x + line.back().width));
                height = std::max(height, Size(g.nPos));
            }
            glyph = Measure(i, line.empty() ? 0.0 : line.back().x + line.back().width);
        }
        line.push_back(glyph);
        height = std::max(height, Size(i));
        if (m_doc.GetText()[i] == L' ' || m_doc.GetText()[i] == L'\t')
            nBreak = static_cast<long>(line.size());
    }
    AddLine(line, height);
}

void CTextLayout::AddLine(std::vector<CLaidGlyph>& glyphs, double fontSize)
{
    const double lineHeight = fontSize * kLineSpacing;
    // A line taller than the whole page still goes on a page of its own, not on endless new ones.
    if (m_y + lineHeight > m_height - m_bottom && m_y > m_top) {
        ++m_nPages;
        m_y = m_top;
    }
    m_y += lineHeight;
    CLaidLine line;
    line.nPage = m_nPages - 1;
    line.baseline = m_y - fontSize * (kLineSpacing - 1.0) - fontSize * 0.2;
    line.glyphs.swap(glyphs);
    m_lines.push_back(std::move(line));
}

void CTextLayout::DrawPage(HDC hdc, int nPage) const
{
    const double dpiX = ::GetDeviceCaps(hdc, LOGPIXELSX) / 72.0;
    const double dpiY = ::GetDeviceCaps(hdc, LOGPIXELSY) / 72.0;
    // A printer's origin is its printable area's corner, not the sheet's.
    const int nOffsetX = ::GetDeviceCaps(hdc, PHYSICALOFFSETX);
    const int nOffsetY = ::GetDeviceCaps(hdc, PHYSICALOFFSETY);
    const int nSavedDC = ::SaveDC(hdc);
    ::SetTextAlign(hdc, TA_BASELINE | TA_LEFT);
    ::SetBkMode(hdc, TRANSPARENT);
    ::SetTextColor(hdc, RGB(0, 0, 0));
    std::map<std::tuple<CString, bool, bool, bool, BYTE, int>, HFONT> fonts;
    HPEN hPen = ::CreatePen(PS_SOLID, std::max(1, static_cast<int>(dpiX * 0.6)), RGB(0, 0, 0));
    ::SelectObject(hdc, hPen);
    ::SelectObject(hdc, ::GetStockObject(NULL_BRUSH));
    for (const CLaidLine& line : m_lines) {
        if (line.nPage != nPage)
            continue;
        const int y = static_cast<int>(std::lround(line.baseline * dpiY)) - nOffsetY;
        for (const CLaidGlyph& g : line.glyphs) {
            const CTextCharFormat& f = m_doc.GetCharFormat(g.nPos);
            const wchar_t ch = m_doc.GetText()[g.nPos];
            const double size = f.nHalfPoints / 2.0;
            const int x = static_cast<int>(std::lround((m_left + g.x) * dpiX)) - nOffsetX;
            if (f.IsSymbol()) {
                if (ch != 0xFE && ch != 0xA8)
                    continue;
                const int side = static_cast<int>(size * 0.7 * dpiY);
                const int left = x + static_cast<int>(size * 0.1 * dpiX);
                ::Rectangle(hdc, left, y - side, left + side, y);
                if (ch == 0xFE) {
                    ::MoveToEx(hdc, left, y - side, nullptr);
                    ::LineTo(hdc, left + side, y);
                    ::MoveToEx(hdc, left, y, nullptr);
                    ::LineTo(hdc, left + side, y - side);
                }
                continue;
            }
            if (ch == L'\t' || ch == L' ')
                continue;
            const int nHeight = -static_cast<int>(std::lround(size * dpiY));
            HFONT& hFont = fonts[std::make_tuple(CString(f.strFace), f.bBold, f.bItalic, f.bUnderline, f.nCharSet,
                                                 nHeight)];
            if (!hFont) {
                const LOGFONTW lf = FontOf(f, nHeight);
                hFont = ::CreateFontIndirectW(&lf);
            }
            ::SelectObject(hdc, hFont);
            ::ExtTextOutW(hdc, x, y, 0, nullptr, &ch, 1, nullptr);
        }
    }
    ::RestoreDC(hdc, nSavedDC);
    for (auto& entry : fonts)
        ::DeleteObject(entry.second);
    ::DeleteObject(hPen);
}
