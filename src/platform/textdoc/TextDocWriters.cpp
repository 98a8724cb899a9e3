#include "TextDocWriters.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <vector>

namespace {

std::string Narrow(const CString& text, UINT nCodePage)
{
    if (text.IsEmpty())
        return std::string();
    int n = ::WideCharToMultiByte(nCodePage, 0, text, text.GetLength(), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(nCodePage, 0, text, text.GetLength(), &out[0], n, nullptr, nullptr);
    return out;
}

// The Windows-1252 byte of a character, 0 when the code page has none.
unsigned char AnsiByte(wchar_t ch)
{
    char byte = 0;
    BOOL bLost = FALSE;
    if (::WideCharToMultiByte(1252, WC_NO_BEST_FIT_CHARS, &ch, 1, &byte, 1, nullptr, &bLost) != 1 || bLost)
        return 0;
    return static_cast<unsigned char>(byte);
}

void AppendRtfText(std::string& out, wchar_t ch, bool bSymbol)
{
    char buffer[32];
    switch (ch) {
    case L'\r': out += "\\par\r\n"; return;
    case L'\v': out += "\\line "; return;
    case L'\t': out += "\\tab "; return;
    case L'\x0C': out += "\\page "; return;
    case L'\\': out += "\\\\"; return;
    case L'{': out += "\\{"; return;
    case L'}': out += "\\}"; return;
    default: break;
    }
    if (ch >= 0x20 && ch < 0x80) {
        out += static_cast<char>(ch);
        return;
    }
    // A symbol font's glyph is its byte; a character beyond a byte goes as itself, not as a code page's byte that
    // would read back as another glyph.
    unsigned char byte = bSymbol ? (ch < 0x100 ? static_cast<unsigned char>(ch) : 0) : AnsiByte(ch);
    if (byte != 0)
        std::snprintf(buffer, sizeof(buffer), "\\'%02x", byte);
    else
        std::snprintf(buffer, sizeof(buffer), "\\u%d?", static_cast<int>(static_cast<short>(ch)));
    out += buffer;
}

// Font names and field data: control characters go as bytes, since a font name keeps no paragraph or tab word,
// and so does a ';' in a font name, which would end it.
void AppendRtfData(std::string& out, const CString& data, bool bFontName)
{
    char buffer[8];
    for (int i = 0; i < data.GetLength(); ++i) {
        if (data[i] < 0x20 || (bFontName && data[i] == L';')) {
            std::snprintf(buffer, sizeof(buffer), "\\'%02x", static_cast<unsigned>(data[i]));
            out += buffer;
        }
        else
            AppendRtfText(out, data[i], false);
    }
}

void AppendHtmlEscaped(std::string& out, const CString& text)
{
    for (int i = 0; i < text.GetLength(); ++i) {
        switch (text[i]) {
        case L'&': out += "&amp;"; break;
        case L'<': out += "&lt;"; break;
        case L'>': out += "&gt;"; break;
        case L'"': out += "&quot;"; break;
        default: out += Narrow(CString(text[i]), CP_UTF8); break;
        }
    }
}

} // namespace

wchar_t SymbolGlyphAsUnicode(wchar_t glyph)
{
    switch (glyph) {
    case 0xFE: return 0x2612;   // ballot box with X
    case 0xA8: return 0x2610;   // ballot box
    default: return 0;
    }
}

// A row's definition: gap, heading and keep flags, then each cell's rules, shading (colour 2 of the table) and
// right edge.
std::string CRtfWriter::RowDefinition(const CTextTableRow& row)
{
    std::string out = "\\trowd\\trgaph60\\trleft0\\trkeep";
    if (row.bHeading)
        out += "\\trhdr";
    char buffer[64];
    for (const CTextTableCell& cell : row.cells) {
        if (row.bRuled)
            out += "\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdrs\\brdrw10";
        if (row.bShaded)
            out += "\\clcbpat2";
        std::snprintf(buffer, sizeof(buffer), "\\cellx%ld", cell.nRight);
        out += buffer;
    }
    return out + "\r\n";
}

std::string CRtfWriter::CellStart(const CTextTableRow& row, size_t nCell)
{
    const int nAlign = nCell < row.cells.size() ? row.cells[nCell].nAlign : txAlignLeft;
    return nAlign == txAlignRight ? "\\pard\\intbl\\qr " : nAlign == txAlignCenter ? "\\pard\\intbl\\qc " : "\\pard\\intbl ";
}

std::string CRtfWriter::Write() const
{
    // The fonts in use, numbered in order of first use.
    std::vector<const CTextCharFormat*> fonts;
    std::map<std::pair<CString, BYTE>, int> numbers;
    auto fontNumber = [&fonts, &numbers](const CTextCharFormat& f) {
        const auto [it, bNew] = numbers.emplace(std::make_pair(f.strFace, f.nCharSet), static_cast<int>(fonts.size()));
        if (bNew)
            fonts.push_back(&f);
        return it->second;
    };
    fontNumber(m_doc.GetCharFormat(0));
    for (long i = 0; i < m_doc.GetLength(); ++i)
        fontNumber(m_doc.GetCharFormat(i));

    std::string out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\r\n{\\fonttbl";
    char buffer[128];
    for (size_t i = 0; i < fonts.size(); ++i) {
        std::snprintf(buffer, sizeof(buffer), "{\\f%d\\fnil\\fcharset%d ", static_cast<int>(i), fonts[i]->nCharSet);
        out += buffer;
        AppendRtfData(out, fonts[i]->strFace, true);
        out += ";}";
    }
    // Colour 2 shades the total rows.
    out += "}\r\n{\\colortbl;\\red0\\green0\\blue0;\\red217\\green217\\blue217;}\r\n";
    const CTextPageSetup& page = m_doc.PageSetup();
    std::snprintf(buffer, sizeof(buffer), "\\paperw%ld\\paperh%ld\\margl%ld\\margr%ld\\margt%ld\\margb%ld%s\r\n",
                  page.nWidth, page.nHeight, page.nMarginLeft, page.nMarginRight, page.nMarginTop, page.nMarginBottom,
                  page.nWidth > page.nHeight ? "\\landscape" : "");
    out += buffer;
    if (m_bFieldTable) {
        out += "{\\*\\qzfields";
        for (const CTextField& field : m_doc.m_fields) {
            std::snprintf(buffer, sizeof(buffer), "{\\qzfield\\qzpos%ld\\qzlen%ld{\\qzdata ", field.nStart,
                          field.nLength);
            out += buffer;
            AppendRtfData(out, field.strData, false);
            out += "}}";
        }
        out += "}\r\n";
    }
    if (!m_doc.GetFooter().IsEmpty()) {
        out += "{\\footer\\pard\\plain\\f0\\fs16 ";
        const CString& footer = m_doc.GetFooter();
        for (int i = 0; i < footer.GetLength(); ++i) {
            if (footer[i] == kTxPageNumber || footer[i] == kTxPrintDate)
                out += footer[i] == kTxPageNumber ? "\\chpgn " : "\\chdate ";
            else
                AppendRtfText(out, footer[i], false);
        }
        out += "\\par}\r\n";
    }
    out += "\\pard";
    const std::vector<CTextRowExtent> rows = m_doc.GetRowExtents();
    auto row = rows.begin();
    size_t nCell = 0;
    const CTextCharFormat* current = nullptr;
    for (long i = 0; i < m_doc.GetLength(); ++i) {
        if (row != rows.end() && i == row->nStart) {
            out += RowDefinition(m_doc.GetTableRow(row->nRow)) + CellStart(m_doc.GetTableRow(row->nRow), 0);
            nCell = 0;
        }
        const wchar_t ch = m_doc.GetText()[i];
        // Cells' and rows' ends have a format too: it goes before them.
        const CTextCharFormat& f = m_doc.GetCharFormat(i);
        if (!current || *current != f) {
            std::snprintf(buffer, sizeof(buffer), "\\plain\\f%d\\fs%d%s%s%s ", fontNumber(f), f.nHalfPoints,
                          f.bBold ? "\\b" : "", f.bItalic ? "\\i" : "", f.bUnderline ? "\\ul" : "");
            out += buffer;
            current = &f;
        }
        if (row != rows.end() && i >= row->nStart && i <= row->nEnd) {
            if (i == row->nEnd) {
                out += "\\row\r\n\\pard ";
                ++row;
                continue;
            }
            if (ch == kTxCellEnd) {
                out += "\\cell ";
                if (++nCell < row->cells.size())
                    out += CellStart(m_doc.GetTableRow(row->nRow), nCell);
                continue;
            }
        }
        if (ch != kTxCellEnd)   // a cell mark outside a row has no place in RTF
            AppendRtfText(out, ch, f.IsSymbol());
    }
    out += "\r\n}\r\n";
    return out;
}

// The characters [nFrom, nTo) of one paragraph or cell, each run of a format in a span.
void CHtmlWriter::Runs(std::string& out, long nFrom, long nTo) const
{
    const CString& text = m_doc.GetText();
    const CTextCharFormat* current = nullptr;
    for (long i = nFrom; i < nTo; ++i) {
        const wchar_t ch = text[i];
        if (ch == kTxCellEnd)
            continue;
        const CTextCharFormat& f = m_doc.GetCharFormat(i);
        if (!current || *current != f) {
            if (current)
                out += "</span>";
            out += "<span style=\"font-family: '";
            AppendHtmlEscaped(out, f.strFace);
            char buffer[96];
            std::snprintf(buffer, sizeof(buffer), "'; font-size: %gpt%s%s%s\">", f.nHalfPoints / 2.0,
                          f.bBold ? "; font-weight: bold" : "", f.bItalic ? "; font-style: italic" : "",
                          f.bUnderline ? "; text-decoration: underline" : "");
            out += buffer;
            current = &f;
        }
        const wchar_t box = f.IsSymbol() ? SymbolGlyphAsUnicode(ch) : 0;
        if (box)
            out += Narrow(CString(box), CP_UTF8);
        else if (ch == L'\t')
            out += "&emsp;";
        else if (ch == L'\v')
            out += "<br>";
        else
            AppendHtmlEscaped(out, CString(ch));
    }
    if (current)
        out += "</span>";
}

// A table row: one cell per cell of the row, with its width, alignment, rules and shading; the heading rows repeat
// on each printed page as the table's head.
void CHtmlWriter::Row(std::string& out, const CTextRowExtent& extent) const
{
    const CTextTableRow& row = m_doc.GetTableRow(extent.nRow);
    out += "<tr>";
    long nLeft = 0;
    for (size_t c = 0; c < extent.cells.size(); ++c) {
        const CTextTableCell cell = c < row.cells.size() ? row.cells[c] : CTextTableCell();
        char buffer[160];
        std::snprintf(buffer, sizeof(buffer), "<%s style=\"width: %gpt; text-align: %s%s%s\">",
                      row.bHeading ? "th" : "td", std::max(0L, cell.nRight - nLeft) / 20.0,
                      cell.nAlign == txAlignRight ? "right" : cell.nAlign == txAlignCenter ? "center" : "left",
                      row.bRuled ? "; border: 0.5pt solid black" : "", row.bShaded ? "; background: #d9d9d9" : "");
        out += buffer;
        Runs(out, extent.cells[c].first, extent.cells[c].second);
        out += row.bHeading ? "</th>" : "</td>";
        nLeft = cell.nRight;
    }
    out += "</tr>\r\n";
}

std::string CHtmlWriter::Write() const
{
    std::string out = "<!DOCTYPE html>\r\n<html>\r\n<head>\r\n<meta charset=\"utf-8\">\r\n</head>\r\n<body>\r\n";
    const CString& text = m_doc.GetText();
    const std::vector<CTextRowExtent> rows = m_doc.GetRowExtents();
    auto row = rows.begin();
    bool bInTable = false;
    bool bPageBreak = false;
    for (long nStart = 0; nStart <= m_doc.GetLength();) {
        long nEnd = nStart;
        while (nEnd < m_doc.GetLength() && text[nEnd] != L'\r' && text[nEnd] != L'\x0C')
            ++nEnd;
        if (row != rows.end() && row->nStart == nStart) {
            if (!bInTable)
                out += bPageBreak ? "<table style=\"border-collapse: collapse; page-break-before: always\">\r\n"
                                  : "<table style=\"border-collapse: collapse\">\r\n";
            bInTable = true;
            Row(out, *row++);
        }
        else {
            if (bInTable)
                out += "</table>\r\n";
            bInTable = false;
            // The paragraph mark the document keeps at its very end makes no paragraph of its own.
            if (nEnd < m_doc.GetLength() || nStart < nEnd || nStart == 0) {
                out += bPageBreak ? "<p style=\"page-break-before: always\">" : "<p>";
                Runs(out, nStart, nEnd);
                out += "</p>\r\n";
            }
        }
        bPageBreak = nEnd < m_doc.GetLength() && text[nEnd] == L'\x0C';
        nStart = nEnd + 1;
    }
    if (bInTable)
        out += "</table>\r\n";
    out += "</body>\r\n</html>\r\n";
    return out;
}

std::string WritePlainText(const CTextDocument& doc)
{
    CString text;
    const CString& source = doc.GetText();
    for (long i = 0; i < doc.GetLength(); ++i) {
        const wchar_t ch = source[i];
        const wchar_t box = doc.GetCharFormat(i).IsSymbol() ? SymbolGlyphAsUnicode(ch) : 0;
        if (box)
            text += box == 0x2612 ? L"[X]" : L"[ ]";
        else if (ch == kTxCellEnd)
            text += i + 1 < doc.GetLength() && source[i + 1] == L'\r' ? L"" : L"\t";   // cells apart by tabs
        else if (ch == L'\r' || ch == L'\v')
            text += L"\r\n";
        else
            text += ch;
    }
    return Narrow(text, 1252);
}
