#include "PdfWriter.h"

#include "TextLayout.h"

#include "platform/mfc/afxexcept.h"

#include <hpdf.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

namespace {

const double kTwipsPerPoint = CTextLayout::kTwipsPerPoint;

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

// The library refuses sizes outside its limits, and the whole file with them: the nearest size it takes is used.
double FontSize(const CTextCharFormat& f)
{
    return std::clamp(f.nHalfPoints / 2.0, 0.5, static_cast<double>(HPDF_MAX_FONTSIZE));
}

double PageSize(long nTwips)
{
    return std::clamp(nTwips / kTwipsPerPoint, static_cast<double>(HPDF_MIN_PAGE_SIZE),
                      static_cast<double>(HPDF_MAX_PAGE_SIZE));
}

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
// Draws the laid-out lines, page by page, as PDF text and boxes.
class CPdfPages
{
public:
    CPdfPages(const CTextDocument& doc, HPDF_Doc pdf, CFontCache& fonts) : m_doc(doc), m_pdf(pdf), m_fonts(fonts) {}

    void Run()
    {
        const CTextLayout layout(m_doc);
        const CTextPageSetup& page = m_doc.PageSetup();
        const double left = page.nMarginLeft / kTwipsPerPoint;
        const double height = page.nHeight / kTwipsPerPoint;
        std::vector<HPDF_Page> pages;
        for (int i = 0; i < layout.GetPageCount(); ++i) {
            HPDF_Page hPage = HPDF_AddPage(m_pdf);
            Check(hPage != nullptr);
            HPDF_Page_SetWidth(hPage, static_cast<HPDF_REAL>(PageSize(page.nWidth)));
            HPDF_Page_SetHeight(hPage, static_cast<HPDF_REAL>(PageSize(page.nHeight)));
            pages.push_back(hPage);
        }
        // Shading under the text, the rules over the shading.
        for (const CLaidRect& shade : layout.GetShades()) {
            HPDF_Page hPage = PageOf(pages, shade.nPage);
            HPDF_Page_SetGrayFill(hPage, static_cast<HPDF_REAL>(217.0 / 255.0));
            HPDF_Page_Rectangle(hPage, static_cast<HPDF_REAL>(shade.left), static_cast<HPDF_REAL>(height - shade.bottom),
                                static_cast<HPDF_REAL>(shade.right - shade.left),
                                static_cast<HPDF_REAL>(shade.bottom - shade.top));
            HPDF_Page_Fill(hPage);
            HPDF_Page_SetGrayFill(hPage, 0);
        }
        for (const CLaidRect& rule : layout.GetRules()) {
            HPDF_Page hPage = PageOf(pages, rule.nPage);
            HPDF_Page_SetLineWidth(hPage, static_cast<HPDF_REAL>(CTextLayout::kRuleWidth));
            HPDF_Page_MoveTo(hPage, static_cast<HPDF_REAL>(rule.left), static_cast<HPDF_REAL>(height - rule.top));
            HPDF_Page_LineTo(hPage, static_cast<HPDF_REAL>(rule.right), static_cast<HPDF_REAL>(height - rule.bottom));
            HPDF_Page_Stroke(hPage);
        }
        for (int i = 0; i < layout.GetPageCount(); ++i) {
            const CString footer = layout.GetFooter(i);
            if (footer.IsEmpty())
                continue;
            std::string bytes;
            for (int c = 0; c < footer.GetLength(); ++c)
                bytes += static_cast<char>(AnsiByte(footer[c]));
            const CTextCharFormat format = layout.GetFooterFormat();
            HPDF_Page_BeginText(pages[static_cast<size_t>(i)]);
            HPDF_Page_SetFontAndSize(pages[static_cast<size_t>(i)], m_fonts.Get(format),
                                     static_cast<HPDF_REAL>(format.nHalfPoints / 2.0));
            HPDF_Page_TextOut(pages[static_cast<size_t>(i)], static_cast<HPDF_REAL>(left),
                              static_cast<HPDF_REAL>(height - layout.GetFooterBaseline()), bytes.c_str());
            HPDF_Page_EndText(pages[static_cast<size_t>(i)]);
        }
        for (const CLaidLine& line : layout.GetLines()) {
            m_page = PageOf(pages, line.nPage);
            const double baseline = height - line.baseline;
            for (const CLaidGlyph& g : line.glyphs)
                DrawGlyph(g, left + g.x, baseline);
        }
    }

private:
    // libharu takes whatever it is handed for a page: a page the layout does not have fails the export instead.
    static HPDF_Page PageOf(const std::vector<HPDF_Page>& pages, int nPage)
    {
        Check(nPage >= 0 && static_cast<size_t>(nPage) < pages.size());
        return pages[static_cast<size_t>(nPage)];
    }

    void DrawGlyph(const CLaidGlyph& g, double x, double baseline)
    {
        const CTextCharFormat& f = m_doc.GetCharFormat(g.nPos);
        const wchar_t ch = m_doc.GetText()[g.nPos];
        const double size = FontSize(f);
        if (f.IsSymbol()) {
            if (ch == 0xFE || ch == 0xA8)
                DrawBox(x, baseline, size, ch == 0xFE);
        }
        else if (ch != L' ' && ch != L'\t' && ch != kTxCellEnd) {
            const char text[2] = {static_cast<char>(AnsiByte(ch)), 0};
            HPDF_Page_BeginText(m_page);
            HPDF_Page_SetFontAndSize(m_page, m_fonts.Get(f), static_cast<HPDF_REAL>(size));
            HPDF_Page_TextOut(m_page, static_cast<HPDF_REAL>(x), static_cast<HPDF_REAL>(baseline), text);
            HPDF_Page_EndText(m_page);
        }
        if (f.bUnderline) {
            HPDF_Page_SetLineWidth(m_page, static_cast<HPDF_REAL>(size / 20.0));
            HPDF_Page_MoveTo(m_page, static_cast<HPDF_REAL>(x), static_cast<HPDF_REAL>(baseline - size * 0.12));
            HPDF_Page_LineTo(m_page, static_cast<HPDF_REAL>(x + g.width), static_cast<HPDF_REAL>(baseline - size * 0.12));
            HPDF_Page_Stroke(m_page);
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

    const CTextDocument& m_doc;
    HPDF_Doc m_pdf;
    CFontCache& m_fonts;
    HPDF_Page m_page = nullptr;
};

} // namespace

std::string WritePdf(const CTextDocument& doc)
{
    CFontFiles files;
    CHaruDoc haru;
    Check(haru.pdf != nullptr);
    HPDF_SetCompressionMode(haru.pdf, HPDF_COMP_ALL);
    CFontCache fonts(haru.pdf, files);
    CPdfPages(doc, haru.pdf, fonts).Run();
    Check(HPDF_SaveToStream(haru.pdf) == HPDF_OK);
    std::string bytes(HPDF_GetStreamSize(haru.pdf), '\0');
    HPDF_UINT32 size = static_cast<HPDF_UINT32>(bytes.size());
    Check(HPDF_ReadFromStream(haru.pdf, reinterpret_cast<HPDF_BYTE*>(&bytes[0]), &size) == HPDF_OK ||
          size == bytes.size());
    bytes.resize(size);
    return bytes;
}
