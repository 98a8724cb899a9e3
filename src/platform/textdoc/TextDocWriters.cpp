#include "TextDocWriters.h"

#include <cstdio>
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
    unsigned char byte = bSymbol && ch < 0x100 ? static_cast<unsigned char>(ch) : AnsiByte(ch);
    if (byte != 0)
        std::snprintf(buffer, sizeof(buffer), "\\'%02x", byte);
    else
        std::snprintf(buffer, sizeof(buffer), "\\u%d?", static_cast<int>(static_cast<short>(ch)));
    out += buffer;
}

void AppendRtfData(std::string& out, const CString& data)
{
    for (int i = 0; i < data.GetLength(); ++i)
        AppendRtfText(out, data[i], false);
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

std::string CRtfWriter::Write() const
{
    // The fonts in use, numbered in order of first use.
    std::vector<const CTextCharFormat*> fonts;
    auto fontNumber = [&fonts](const CTextCharFormat& f) {
        for (size_t i = 0; i < fonts.size(); ++i) {
            if (fonts[i]->strFace == f.strFace && fonts[i]->nCharSet == f.nCharSet)
                return static_cast<int>(i);
        }
        fonts.push_back(&f);
        return static_cast<int>(fonts.size() - 1);
    };
    fontNumber(m_doc.GetCharFormat(0));
    for (long i = 0; i < m_doc.GetLength(); ++i)
        fontNumber(m_doc.GetCharFormat(i));

    std::string out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\r\n{\\fonttbl";
    char buffer[128];
    for (size_t i = 0; i < fonts.size(); ++i) {
        std::snprintf(buffer, sizeof(buffer), "{\\f%d\\fnil\\fcharset%d ", static_cast<int>(i), fonts[i]->nCharSet);
        out += buffer;
        AppendRtfData(out, fonts[i]->strFace);
        out += ";}";
    }
    out += "}\r\n";
    const CTextPageSetup& page = m_doc.PageSetup();
    std::snprintf(buffer, sizeof(buffer), "\\paperw%ld\\paperh%ld\\margl%ld\\margr%ld\\margt%ld\\margb%ld%s\r\n",
                  page.nWidth, page.nHeight, page.nMarginLeft, page.nMarginRight, page.nMarginTop, page.nMarginBottom,
                  page.nWidth > page.nHeight ? "\\landscape" : "");
    out += buffer;
    if (m_bFieldTable) {
        out += "{\\*\\qzfields";
        for (long nId : m_doc.GetFieldIds()) {
            const CTextField* field = m_doc.FindField(nId);
            std::snprintf(buffer, sizeof(buffer), "{\\qzfield\\qzpos%ld\\qzlen%ld{\\qzdata ", field->nStart,
                          field->nLength);
            out += buffer;
            AppendRtfData(out, field->strData);
            out += "}}";
        }
        out += "}\r\n";
    }
    out += "\\pard";
    const CTextCharFormat* current = nullptr;
    for (long i = 0; i < m_doc.GetLength(); ++i) {
        const CTextCharFormat& f = m_doc.GetCharFormat(i);
        if (!current || *current != f) {
            std::snprintf(buffer, sizeof(buffer), "\\plain\\f%d\\fs%d%s%s%s ", fontNumber(f), f.nHalfPoints,
                          f.bBold ? "\\b" : "", f.bItalic ? "\\i" : "", f.bUnderline ? "\\ul" : "");
            out += buffer;
            current = &f;
        }
        AppendRtfText(out, m_doc.GetText()[i], f.IsSymbol());
    }
    out += "\r\n}\r\n";
    return out;
}

std::string CHtmlWriter::Write() const
{
    std::string out = "<!DOCTYPE html>\r\n<html>\r\n<head>\r\n<meta charset=\"utf-8\">\r\n</head>\r\n<body>\r\n<p>";
    const CString& text = m_doc.GetText();
    const CTextCharFormat* current = nullptr;
    bool bPageBreak = false;
    auto closeSpan = [&]() {
        if (current)
            out += "</span>";
        current = nullptr;
    };
    for (long i = 0; i < m_doc.GetLength(); ++i) {
        const wchar_t ch = text[i];
        if (ch == L'\r' || ch == L'\x0C') {
            closeSpan();
            bPageBreak = bPageBreak || ch == L'\x0C';
            out += "</p>\r\n";
            out += bPageBreak ? "<p style=\"page-break-before: always\">" : "<p>";
            bPageBreak = false;
            continue;
        }
        const CTextCharFormat& f = m_doc.GetCharFormat(i);
        if (!current || *current != f) {
            closeSpan();
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
    closeSpan();
    out += "</p>\r\n</body>\r\n</html>\r\n";
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
        else if (ch == L'\r' || ch == L'\v')
            text += L"\r\n";
        else
            text += ch;
    }
    return Narrow(text, 1252);
}
