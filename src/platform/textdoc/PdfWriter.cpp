#include "PdfWriter.h"

#include "platform/mfc/afxexcept.h"

#include <hpdf.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

namespace {

const double kTwipsPerPoint = 20.0;
const double kTabPoints = 36.0;      // the rich-edit control's default tab stops: half an inch
const double kLineSpacing = 1.2;

void HPDF_STDCALL OnHaruError(HPDF_STATUS, HPDF_STATUS, void*)
{
    // Errors are read from the status the calls answer; nothing may unwind through the library.
}

void Check(bool bOk)
{
    if (!bOk)
        AfxThrowFileException(CFileException::genericException);
}

// The library's document, freed on every road out.
struct CHaruDoc
{
    HPDF_Doc pdf = HPDF_New(OnHaruError, nullptr);
    ~CHaruDoc()
    {
        if (pdf)
            HPDF_Free(pdf);
    }
};

// Temporary files holding the fonts' data while the library embeds them; removed at the end.
struct CFontFiles
{
    std::vector<CString> paths;
    ~CFontFiles()
    {
        for (const CString& path : paths)
            ::DeleteFileW(path);
    }
};

unsigned char AnsiByte(wchar_t ch)
{
    char byte = '?';
    BOOL bLost = FALSE;
    if (::WideCharToMultiByte(1252, 0, &ch, 1, &byte, 1, nullptr, &bLost) != 1)
        return '?';
    return static_cast<unsigned char>(byte);
}

// One font of the document in the PDF: embedded TrueType when the system gives the data, else the standard
// Helvetica of the same weight and slant.
class CFontCache
{
public:
    CFontCache(HPDF_Doc pdf, CFontFiles& files) : m_pdf(pdf), m_files(files) {}

    HPDF_Font Get(const CTextCharFormat& f)
    {
        const CString key = f.strFace + (f.bBold ? L"|b" : L"|") + (f.bItalic ? L"i" : L"");
        auto it = m_fonts.find(key);
        if (it != m_fonts.end())
            return it->second;
        HPDF_Font font = LoadTrueType(f);
        if (!font) {
            static const char* const base[] = {"Helvetica", "Helvetica-Oblique", "Helvetica-Bold",
                                               "Helvetica-BoldOblique"};
            font = HPDF_GetFont(m_pdf, base[(f.bBold ? 2 : 0) + (f.bItalic ? 1 : 0)], "WinAnsiEncoding");
        }
        Check(font != nullptr);
        m_fonts[key] = font;
        return font;
    }

private:
    HPDF_Font LoadTrueType(const CTextCharFormat& f)
    {
        HDC hdc = ::CreateCompatibleDC(nullptr);
        if (!hdc)
            return nullptr;
        HFONT hFont = ::CreateFontW(-100, 0, 0, 0, f.bBold ? FW_BOLD : FW_NORMAL, f.bItalic, FALSE, FALSE,
                                    ANSI_CHARSET, OUT_TT_ONLY_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                    DEFAULT_PITCH, f.strFace);
        HGDIOBJ hOld = ::SelectObject(hdc, hFont);
        std::vector<char> data;
        const DWORD size = ::GetFontData(hdc, 0, 0, nullptr, 0);
        if (size != GDI_ERROR && size > 12) {
            data.resize(size);
            if (::GetFontData(hdc, 0, 0, data.data(), size) != size)
                data.clear();
        }
        ::SelectObject(hdc, hOld);
        ::DeleteObject(hFont);
        ::DeleteDC(hdc);
        if (data.empty() || memcmp(data.data(), "ttcf", 4) == 0)
            return nullptr;

        WCHAR folder[MAX_PATH], path[MAX_PATH];
        if (!::GetTempPathW(MAX_PATH, folder) || !::GetTempFileNameW(folder, L"ttf", 0, path))
            return nullptr;
        m_files.paths.push_back(path);
        HANDLE hFile = ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr);
        if (hFile == INVALID_HANDLE_VALUE)
            return nullptr;
        DWORD written = 0;
        const BOOL bWritten = ::WriteFile(hFile, data.data(), size, &written, nullptr) && written == size;
        ::CloseHandle(hFile);
        if (!bWritten)
            return nullptr;
        const std::string ansiPath = CString(path).ToMultiByte(CP_ACP);
        const char* name = HPDF_LoadTTFontFromFile(m_pdf, ansiPath.c_str(), HPDF_TRUE);
        if (!name) {
            HPDF_ResetError(m_pdf);
            return nullptr;
        }
        HPDF_Font font = HPDF_GetFont(m_pdf, name, "CP1252");
        if (!font)
            HPDF_ResetError(m_pdf);
        return font;
    }

    HPDF_Doc m_pdf;
    CFontFiles& m_files;
    std::map<CString, HPDF_Font> m_fonts;
};

// One laid-out character: its place on the line and how it is drawn.
struct CGlyph
{
    long nPos;            // in the document
    double x;             // from the left margin, points
    double width;
    HPDF_Font font;       // null for a box or a blank that is not drawn
    unsigned char byte;
};

class CPdfLayout
{
public:
    CPdfLayout(const CTextDocument& doc, HPDF_Doc pdf, CFontCache& fonts) : m_doc(doc), m_pdf(pdf), m_fonts(fonts)
    {
        const CTextPageSetup& page = doc.PageSetup();
        m_width = page.nWidth / kTwipsPerPoint;
        m_height = page.nHeight / kTwipsPerPoint;
        m_left = page.nMarginLeft / kTwipsPerPoint;
        m_top = page.nMarginTop / kTwipsPerPoint;
        m_right = std::max(m_left + 36.0, m_width - page.nMarginRight / kTwipsPerPoint);
        m_bottom = page.nMarginBottom / kTwipsPerPoint;
    }

    void Run()
    {
        NewPage();
        const CString& text = m_doc.GetText();
        long nLineStart = 0;
        for (long i = 0; i <= m_doc.GetLength(); ++i) {
            const wchar_t ch = i < m_doc.GetLength() ? text[i] : L'\r';
            if (ch == L'\r' || ch == L'\v' || ch == L'\x0C') {
                Paragraph(nLineStart, i);
                if (ch == L'\x0C')
                    NewPage();
                nLineStart = i + 1;
            }
        }
    }

private:
    double Size(long nPos) const { return m_doc.GetCharFormat(nPos).nHalfPoints / 2.0; }

    CGlyph Measure(long nPos, double x)
    {
        const CTextCharFormat& f = m_doc.GetCharFormat(nPos);
        const wchar_t ch = m_doc.GetText()[nPos];
        const double size = f.nHalfPoints / 2.0;
        CGlyph glyph{nPos, x, 0, nullptr, 0};
        if (ch == L'\t') {
            glyph.width = (std::floor(x / kTabPoints) + 1) * kTabPoints - x;
        }
        else if (f.IsSymbol()) {
            glyph.width = size * 0.9;   // drawn as a box when it is one, else left blank
            glyph.byte = static_cast<unsigned char>(ch < 0x100 ? ch : 0);
        }
        else {
            glyph.font = m_fonts.Get(f);
            glyph.byte = AnsiByte(ch);
            const HPDF_UINT width = HPDF_Font_GetUnicodeWidth(glyph.font, ch);
            glyph.width = width > 0 ? width * size / 1000.0
                                    : HPDF_Font_TextWidth(glyph.font, &glyph.byte, 1).width * size / 1000.0;
        }
        return glyph;
    }

    // Lays out the characters [nStart, nEnd) as lines broken at blanks.
    void Paragraph(long nStart, long nEnd)
    {
        const double avail = m_right - m_left;
        std::vector<CGlyph> line;
        long nBreak = -1;   // index in line after the last blank
        double height = nStart < nEnd ? Size(nStart) : Size(std::max(0L, nStart - 1));
        for (long i = nStart; i < nEnd; ++i) {
            const double x = line.empty() ? 0.0 : line.back().x + line.back().width;
            CGlyph glyph = Measure(i, x);
            if (!line.empty() && x + glyph.width > avail && m_doc.GetText()[i] != L' ') {
                std::vector<CGlyph> rest;
                if (nBreak > 0 && nBreak < static_cast<long>(line.size())) {
                    rest.assign(line.begin() + nBreak, line.end());
                    line.resize(static_cast<size_t>(nBreak));
                }
                EmitLine(line, height);
                line.clear();
                height = Size(i);
                nBreak = -1;
                for (const CGlyph& g : rest) {
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
        EmitLine(line, height);
    }

    void EmitLine(const std::vector<CGlyph>& line, double fontSize)
    {
        const double lineHeight = fontSize * kLineSpacing;
        if (m_y - lineHeight < m_bottom && m_y < m_height - m_top)
            NewPage();
        m_y -= lineHeight;
        const double baseline = m_y + fontSize * (kLineSpacing - 1.0) + fontSize * 0.2;
        for (const CGlyph& g : line) {
            const double x = m_left + g.x;
            const CTextCharFormat& f = m_doc.GetCharFormat(g.nPos);
            const double size = f.nHalfPoints / 2.0;
            if (g.font) {
                if (g.byte == ' ')
                    continue;
                const char text[2] = {static_cast<char>(g.byte), 0};
                HPDF_Page_BeginText(m_page);
                HPDF_Page_SetFontAndSize(m_page, g.font, static_cast<HPDF_REAL>(size));
                HPDF_Page_TextOut(m_page, static_cast<HPDF_REAL>(x), static_cast<HPDF_REAL>(baseline), text);
                HPDF_Page_EndText(m_page);
            }
            else if (g.byte == 0xFE || g.byte == 0xA8) {
                DrawBox(x, baseline, size, g.byte == 0xFE);
            }
            if (f.bUnderline) {
                HPDF_Page_SetLineWidth(m_page, static_cast<HPDF_REAL>(size / 20.0));
                HPDF_Page_MoveTo(m_page, static_cast<HPDF_REAL>(x), static_cast<HPDF_REAL>(baseline - size * 0.12));
                HPDF_Page_LineTo(m_page, static_cast<HPDF_REAL>(x + g.width),
                                 static_cast<HPDF_REAL>(baseline - size * 0.12));
                HPDF_Page_Stroke(m_page);
            }
        }
    }

    void DrawBox(double x, double baseline, double size, bool bTicked)
    {
        const double side = size * 0.7;
        const double left = x + size * 0.1;
        HPDF_Page_SetLineWidth(m_page, static_cast<HPDF_REAL>(size / 16.0));
        HPDF_Page_Rectangle(m_page, static_cast<HPDF_REAL>(left), static_cast<HPDF_REAL>(baseline),
                            static_cast<HPDF_REAL>(side), static_cast<HPDF_REAL>(side));
        if (bTicked) {
            HPDF_Page_MoveTo(m_page, static_cast<HPDF_REAL>(left), static_cast<HPDF_REAL>(baseline));
            HPDF_Page_LineTo(m_page, static_cast<HPDF_REAL>(left + side), static_cast<HPDF_REAL>(baseline + side));
            HPDF_Page_MoveTo(m_page, static_cast<HPDF_REAL>(left), static_cast<HPDF_REAL>(baseline + side));
            HPDF_Page_LineTo(m_page, static_cast<HPDF_REAL>(left + side), static_cast<HPDF_REAL>(baseline));
        }
        HPDF_Page_Stroke(m_page);
    }

    void NewPage()
    {
        m_page = HPDF_AddPage(m_pdf);
        Check(m_page != nullptr);
        HPDF_Page_SetWidth(m_page, static_cast<HPDF_REAL>(m_width));
        HPDF_Page_SetHeight(m_page, static_cast<HPDF_REAL>(m_height));
        m_y = m_height - m_top;
    }

    const CTextDocument& m_doc;
    HPDF_Doc m_pdf;
    CFontCache& m_fonts;
    HPDF_Page m_page = nullptr;
    double m_width, m_height, m_left, m_top, m_right, m_bottom;
    double m_y = 0;
};

} // namespace

std::string WritePdf(const CTextDocument& doc)
{
    CFontFiles files;
    CHaruDoc haru;
    Check(haru.pdf != nullptr);
    HPDF_SetCompressionMode(haru.pdf, HPDF_COMP_ALL);
    CFontCache fonts(haru.pdf, files);
    CPdfLayout(doc, haru.pdf, fonts).Run();
    Check(HPDF_SaveToStream(haru.pdf) == HPDF_OK);
    std::string bytes(HPDF_GetStreamSize(haru.pdf), '\0');
    HPDF_UINT32 size = static_cast<HPDF_UINT32>(bytes.size());
    Check(HPDF_ReadFromStream(haru.pdf, reinterpret_cast<HPDF_BYTE*>(&bytes[0]), &size) == HPDF_OK ||
          size == bytes.size());
    bytes.resize(size);
    return bytes;
}
