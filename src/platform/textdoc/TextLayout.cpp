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

const double CTextLayout::kRuleWidth = 0.5;

namespace {

const double kCellPadX = 4.0;     // points between a cell's rules and its text
const double kCellPadY = 2.0;

// The width of a line's ink: trailing blanks and tabs do not count when a cell aligns its lines.
double InkWidth(const std::vector<CLaidGlyph>& glyphs, const CString& text)
{
    for (auto it = glyphs.rbegin(); it != glyphs.rend(); ++it) {
        if (text[it->nPos] != L' ' && text[it->nPos] != L'\t')
            return it->x + it->width;
    }
    return 0.0;
}

} // namespace

double CTextLayout::CellWidth(const CTextCharFormat& format, const CString& text)
{
    double width = 2 * kCellPadX;
    for (int i = 0; i < text.GetLength(); ++i)
        width += Widths().Width(format, text[i]) * format.nHalfPoints / 2.0 / kEm;
    return width;
}

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
    wchar_t szDate[64] = {};
    if (::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, szDate, 64) > 0)
        m_strDate = szDate;
    const CString& text = m_doc.GetText();
    const std::vector<CTextRowExtent> rows = m_doc.GetRowExtents();
    auto row = rows.begin();
    long nLineStart = 0;
    for (long i = 0; i <= m_doc.GetLength(); ++i) {
        if (row != rows.end() && i == row->nStart) {
            // A table starts on a new page when its heading rows and first rows do not fit below.
            if (m_headings.empty() && !m_bInBody)
                KeepOnPage(KeptRowsHeight(rows, static_cast<size_t>(row - rows.begin())));
            Row(*row);
            i = row->nEnd;
            nLineStart = i + 1;
            ++row;
            continue;
        }
        const wchar_t ch = i < m_doc.GetLength() ? text[i] : L'\r';
        if (ch == L'\r' || ch == L'\v' || ch == L'\x0C') {
            // The paragraph mark the control keeps at the very end makes no line of its own.
            if (i < m_doc.GetLength() || nLineStart < i) {
                // A table ends at the first paragraph that is no row; the text after it keeps clear of its rule.
                if (m_bInBody || !m_headings.empty())
                    m_y += 2 * kCellPadY;
                m_headings.clear();
                m_bInBody = false;
                // The paragraph that titles a table goes with the table's first rows.
                if (row != rows.end() && row->nStart == i + 1)
                    KeepOnPage(ParagraphHeight(nLineStart, i) +
                               KeptRowsHeight(rows, static_cast<size_t>(row - rows.begin())));
                Paragraph(nLineStart, i);
            }
            // A page break on a page that holds nothing yet makes no empty page: what follows starts at its top,
            // in place of the blank lines it held (which may be underlined).
            if (ch == L'\x0C' && m_bPageBlank) {
                DropBlankLines();
                m_y = m_top;
            }
            else if (ch == L'\x0C') {
                NewPage();
            }
            nLineStart = i + 1;
        }
    }
    // A page break at the very end opens no page: the blank lines after it go with the page they would have opened.
    if (m_bPageBlank && m_nPages > 1) {
        DropBlankLines();
        --m_nPages;
    }
}

void CTextLayout::DropBlankLines()
{
    const int nPage = m_nPages - 1;
    m_lines.erase(std::remove_if(m_lines.begin(), m_lines.end(),
                                 [nPage](const CLaidLine& line) { return line.nPage == nPage; }),
                  m_lines.end());
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
    else if (ch == kTxCellEnd)
        glyph.width = 0;
    else if (f.IsSymbol())
        glyph.width = size * 0.9;   // a box of the symbol font, drawn whatever fonts the system has
    else
        glyph.width = Widths().Width(f, ch) * size / kEm;
    return glyph;
}

double CTextLayout::ParagraphHeight(long nStart, long nEnd) const
{
    double height = 0;
    for (const CBrokenLine& line : BreakLines(nStart, nEnd, m_right - m_left))
        height += line.fontSize * kLineSpacing;
    return height;
}

double CTextLayout::KeptRowsHeight(const std::vector<CTextRowExtent>& rows, size_t nFirst) const
{
    double height = 0;
    int nBody = 0;
    for (size_t r = nFirst; r < rows.size() && nBody < kKeptBodyRows; ++r) {
        if (r > nFirst && rows[r].nStart != rows[r - 1].nEnd + 1)
            break;   // a paragraph between: the table has ended
        height += RowHeight(rows[r]);
        if (!m_doc.GetTableRow(rows[r].nRow).bHeading)
            ++nBody;
    }
    return height;
}

void CTextLayout::KeepOnPage(double height)
{
    if (m_y + height > m_height - m_bottom && !m_bPageBlank)
        NewPage();
}

void CTextLayout::Paragraph(long nStart, long nEnd)
{
    for (CBrokenLine& line : BreakLines(nStart, nEnd, m_right - m_left))
        AddLine(line.glyphs, line.fontSize);
}

std::vector<CTextLayout::CBrokenLine> CTextLayout::BreakLines(long nStart, long nEnd, double avail) const
{
    std::vector<CBrokenLine> lines;
    const CString& text = m_doc.GetText();
    std::vector<CLaidGlyph> line;
    long nBreak = -1;   // index in line after the last blank
    double height = nStart < nEnd ? Size(nStart) : Size(std::max(0L, nStart - 1));
    auto endLine = [&]() {
        lines.push_back({std::vector<CLaidGlyph>(), height});
        lines.back().glyphs.swap(line);
        nBreak = -1;
    };
    for (long i = nStart; i < nEnd; ++i) {
        if (text[i] == L'\v') {
            endLine();
            height = i + 1 < nEnd ? Size(i + 1) : Size(i);
            continue;
        }
        const double x = line.empty() ? 0.0 : line.back().x + line.back().width;
        CLaidGlyph glyph = Measure(i, x);
        if (!line.empty() && x + glyph.width > avail && text[i] != L' ') {
            std::vector<CLaidGlyph> rest;
            if (nBreak > 0 && nBreak < static_cast<long>(line.size())) {
                rest.assign(line.begin() + nBreak, line.end());
                line.resize(static_cast<size_t>(nBreak));
            }
            endLine();
            height = Size(i);
            for (const CLaidGlyph& g : rest) {
                line.push_back(Measure(g.nPos, line.empty() ? 0.0 : line.back().x + line.back().width));
                height = std::max(height, Size(g.nPos));
            }
            glyph = Measure(i, line.empty() ? 0.0 : line.back().x + line.back().width);
        }
        line.push_back(glyph);
        height = std::max(height, Size(i));
        if (text[i] == L' ' || text[i] == L'\t')
            nBreak = static_cast<long>(line.size());
    }
    endLine();
    return lines;
}

CString CTextLayout::GetFooter(int nPage) const
{
    CString footer = m_doc.GetFooter();
    CString number;
    number.Format(L"%d", nPage + 1);
    footer.Replace(CString(kTxPageNumber), number);
    footer.Replace(CString(kTxPrintDate), m_strDate);
    return footer;
}

CTextCharFormat CTextLayout::GetFooterFormat() const
{
    CTextCharFormat format;
    format.strFace = m_doc.GetCharFormat(0).IsSymbol() ? format.strFace : m_doc.GetCharFormat(0).strFace;
    format.nHalfPoints = 16;
    return format;
}

double CTextLayout::GetFooterBaseline() const
{
    // In the bottom margin, half-way down it.
    return m_height - m_bottom / 2;
}

void CTextLayout::NewPage()
{
    ++m_nPages;
    m_y = m_top;
    m_bPageBlank = true;
}

void CTextLayout::Row(const CTextRowExtent& row)
{
    const bool bHeading = m_doc.GetTableRow(row.nRow).bHeading && !m_bInBody;
    const double height = RowHeight(row);
    // A row that does not fit goes whole to the next page, under the table's heading rows.
    if (m_y + height > m_height - m_bottom && !m_bPageBlank) {
        NewPage();
        for (const CTextRowExtent& heading : m_headings)
            PlaceRow(heading, RowHeight(heading));
    }
    PlaceRow(row, height);
    if (bHeading)
        m_headings.push_back(row);
    else
        m_bInBody = true;
}

// The cell's edges in points from the left margin: a cell the row does not define is an inch wide.
static std::pair<double, double> CellEdges(const CTextTableRow& row, size_t nCell)
{
    auto right = [&row](size_t c) {
        return c < row.cells.size() ? row.cells[c].nRight / CTextLayout::kTwipsPerPoint
                                    : (row.cells.empty() ? 0.0 : row.cells.back().nRight / CTextLayout::kTwipsPerPoint) +
                                          72.0 * static_cast<double>(c + 1 - row.cells.size());
    };
    const double left = nCell == 0 ? 0.0 : right(nCell - 1);
    return {left, std::max(left, right(nCell))};
}

double CTextLayout::RowHeight(const CTextRowExtent& row) const
{
    const CTextTableRow& def = m_doc.GetTableRow(row.nRow);
    double height = 0;
    for (size_t c = 0; c < row.cells.size(); ++c) {
        const auto edges = CellEdges(def, c);
        double cell = 0;
        for (const CBrokenLine& line :
             BreakLines(row.cells[c].first, row.cells[c].second, edges.second - edges.first - 2 * kCellPadX))
            cell += line.fontSize * kLineSpacing;
        height = std::max(height, cell);
    }
    return height + 2 * kCellPadY;
}

void CTextLayout::PlaceRow(const CTextRowExtent& row, double height)
{
    const CTextTableRow& def = m_doc.GetTableRow(row.nRow);
    const int nPage = m_nPages - 1;
    const double top = m_y;
    const double bottom = top + height;
    const double rowRight = row.cells.empty() ? 0.0 : CellEdges(def, row.cells.size() - 1).second;
    m_bPageBlank = false;
    if (def.bShaded)
        m_shades.push_back({nPage, m_left, top, m_left + rowRight, bottom});
    if (def.bRuled) {
        m_rules.push_back({nPage, m_left, top, m_left + rowRight, top});
        m_rules.push_back({nPage, m_left, bottom, m_left + rowRight, bottom});
        m_rules.push_back({nPage, m_left, top, m_left, bottom});
    }
    for (size_t c = 0; c < row.cells.size(); ++c) {
        const auto edges = CellEdges(def, c);
        const double avail = edges.second - edges.first - 2 * kCellPadX;
        const int nAlign = c < def.cells.size() ? def.cells[c].nAlign : txAlignLeft;
        double y = top + kCellPadY;
        for (CBrokenLine& broken : BreakLines(row.cells[c].first, row.cells[c].second, avail)) {
            y += broken.fontSize * kLineSpacing;
            const double spare = std::max(0.0, avail - InkWidth(broken.glyphs, m_doc.GetText()));
            const double shift = edges.first + kCellPadX +
                                 (nAlign == txAlignRight ? spare : nAlign == txAlignCenter ? spare / 2 : 0.0);
            CLaidLine line;
            line.nPage = nPage;
            line.baseline = y - broken.fontSize * (kLineSpacing - 1.0) - broken.fontSize * 0.2;
            line.glyphs.swap(broken.glyphs);
            for (CLaidGlyph& g : line.glyphs)
                g.x += shift;
            m_lines.push_back(std::move(line));
        }
        if (def.bRuled)
            m_rules.push_back({nPage, m_left + edges.second, top, m_left + edges.second, bottom});
    }
    m_y = bottom;
}

void CTextLayout::AddLine(std::vector<CLaidGlyph>& glyphs, double fontSize)
{
    const double lineHeight = fontSize * kLineSpacing;
    const CString& text = m_doc.GetText();
    const bool bBlank = std::all_of(glyphs.begin(), glyphs.end(), [&text](const CLaidGlyph& g) {
        return text[g.nPos] == L' ' || text[g.nPos] == L'\t';
    });
    const bool bFits = m_y + lineHeight <= m_height - m_bottom;
    // A blank line that does not fit opens no page of its own.
    if (bBlank && !bFits)
        return;
    // A line taller than the whole page still goes on a page of its own, not on endless new ones.
    if (!bFits && !m_bPageBlank)
        NewPage();
    m_bPageBlank = m_bPageBlank && bBlank;
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
    auto pixels = [&](const CLaidRect& r) {
        RECT rc = {static_cast<int>(std::lround(r.left * dpiX)) - nOffsetX, static_cast<int>(std::lround(r.top * dpiY)) - nOffsetY,
                   static_cast<int>(std::lround(r.right * dpiX)) - nOffsetX,
                   static_cast<int>(std::lround(r.bottom * dpiY)) - nOffsetY};
        return rc;
    };
    HBRUSH hShade = ::CreateSolidBrush(RGB(217, 217, 217));
    for (const CLaidRect& shade : m_shades) {
        const RECT rc = pixels(shade);
        if (shade.nPage == nPage)
            ::FillRect(hdc, &rc, hShade);
    }
    ::DeleteObject(hShade);
    // A rule is at least one device pixel thick, centred on its line.
    const int nRuleX = std::max(1, static_cast<int>(std::lround(kRuleWidth * dpiX)));
    const int nRuleY = std::max(1, static_cast<int>(std::lround(kRuleWidth * dpiY)));
    for (const CLaidRect& rule : m_rules) {
        if (rule.nPage != nPage)
            continue;
        RECT rc = pixels(rule);
        rc.left -= nRuleX / 2;
        rc.top -= nRuleY / 2;
        rc.right = std::max(rc.right + (nRuleX + 1) / 2, rc.left + nRuleX);
        rc.bottom = std::max(rc.bottom + (nRuleY + 1) / 2, rc.top + nRuleY);
        ::FillRect(hdc, &rc, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    }
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
            if (ch == L'\t' || ch == L' ' || ch == kTxCellEnd)
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
    const CString footer = GetFooter(nPage);
    if (!footer.IsEmpty()) {
        const LOGFONTW lf = FontOf(GetFooterFormat(), -static_cast<int>(std::lround(GetFooterFormat().nHalfPoints / 2.0 * dpiY)));
        HFONT hFooter = ::CreateFontIndirectW(&lf);
        ::SelectObject(hdc, hFooter);
        // Each character at its place by the layout's widths, as the PDF places it, not by the device's rounding.
        std::vector<INT> advances;
        double x = 0;
        for (int i = 0; i < footer.GetLength(); ++i) {
            const double next = x + Widths().Width(GetFooterFormat(), footer[i]) * GetFooterFormat().nHalfPoints / 2.0 / kEm;
            advances.push_back(static_cast<INT>(std::lround(next * dpiX) - std::lround(x * dpiX)));
            x = next;
        }
        ::ExtTextOutW(hdc, static_cast<int>(std::lround(m_left * dpiX)) - nOffsetX,
                      static_cast<int>(std::lround(GetFooterBaseline() * dpiY)) - nOffsetY, 0, nullptr, footer,
                      static_cast<UINT>(footer.GetLength()), advances.data());
        ::SelectObject(hdc, ::GetStockObject(SYSTEM_FONT));
        ::DeleteObject(hFooter);
    }
    ::RestoreDC(hdc, nSavedDC);
    for (auto& entry : fonts)
        ::DeleteObject(entry.second);
    ::DeleteObject(hPen);
}
