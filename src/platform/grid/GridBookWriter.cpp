// Writing of workbook files: JSON laid out one format, column, row or cell per line, so that two versions of
// a workbook compare line by line.
#include "GridBook.h"
#include "GridBookFile.h"
#include "gridres.h"

#include <cstdio>
#include <cstdlib>
#include <unordered_map>

const char* const g_vtsHAlignNames[4] = {"general", "left", "center", "right"};
const char* const g_vtsVAlignNames[3] = {"top", "center", "bottom"};
const char* const g_vtsBorderNames[7] = {"none", "thin", "medium", "thick", "dashed", "dotted", "double"};
const char* const g_vtsBorderKeys[gridSideCount] = {"borderLeft", "borderRight", "borderTop", "borderBottom"};

namespace
{
void AppendString(std::string& out, const std::string& s)
{
    out += '"';
    for (char ch : s) {
        switch (ch) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(ch) < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(ch));
                out += buf;
            } else
                out += ch;
        }
    }
    out += '"';
}

// The shortest text that reads back as the same number.
void AppendNumber(std::string& out, double d)
{
    char buf[40];
    for (int nDigits = 15; nDigits <= 17; ++nDigits) {
        std::snprintf(buf, sizeof buf, "%.*g", nDigits, d);
        if (std::strtod(buf, nullptr) == d)
            break;
    }
    out += buf;
}

std::string Utf8(const CString& s) { return s.ToMultiByte(CP_UTF8); }

std::string ColorText(COLORREF cr)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02X%02X%02X", GetRValue(cr), GetGValue(cr), GetBValue(cr));
    return buf;
}

// One JSON object on one line, its members in the order they are added.
class CLine
{
public:
    CLine& Text(const char* pszKey, const std::string& s) { Key(pszKey); AppendString(m_text, s); return *this; }
    CLine& Int(const char* pszKey, int n) { Key(pszKey); m_text += std::to_string(n); return *this; }
    CLine& Number(const char* pszKey, double d) { Key(pszKey); AppendNumber(m_text, d); return *this; }
    CLine& Bool(const char* pszKey, bool b) { Key(pszKey); m_text += b ? "true" : "false"; return *this; }
    CLine& Object(const char* pszKey, const CLine& line) { Key(pszKey); m_text += line.Close(); return *this; }
    bool IsEmpty() const { return m_text.size() == 1; }
    std::string Close() const { return m_text + "}"; }

private:
    void Key(const char* pszKey)
    {
        if (m_text.size() > 1)
            m_text += ", ";
        AppendString(m_text, pszKey);
        m_text += ": ";
    }
    std::string m_text = "{";
};

std::string FormatLine(const CGridCellFormat& f)
{
    const CGridCellFormat d;
    CLine line;
    if (f.m_strNumberFormat != d.m_strNumberFormat)
        line.Text("numberFormat", Utf8(f.m_strNumberFormat));
    if (f.m_strFontName != d.m_strFontName)
        line.Text("font", Utf8(f.m_strFontName));
    if (f.m_nFontSize != d.m_nFontSize)
        line.Number("size", f.m_nFontSize / 20.0);
    if (f.m_bBold)
        line.Bool("bold", true);
    if (f.m_bItalic)
        line.Bool("italic", true);
    if (f.m_bUnderline)
        line.Bool("underline", true);
    if (f.m_crText != kGridColorAuto)
        line.Text("color", ColorText(f.m_crText));
    if (f.m_crFill != kGridColorAuto)
        line.Text("fill", ColorText(f.m_crFill));
    if (f.m_nHAlign != d.m_nHAlign)
        line.Text("hAlign", g_vtsHAlignNames[f.m_nHAlign]);
    if (f.m_nVAlign != d.m_nVAlign)
        line.Text("vAlign", g_vtsVAlignNames[f.m_nVAlign]);
    if (f.m_bWrap)
        line.Bool("wrap", true);
    for (int side = 0; side < gridSideCount; ++side) {
        const CGridBorder& b = f.m_borders[side];
        if (b == CGridBorder())
            continue;
        CLine border;
        border.Text("style", g_vtsBorderNames[b.m_nStyle]);
        if (b.m_crColor != kGridColorAuto)
            border.Text("color", ColorText(b.m_crColor));
        line.Object(g_vtsBorderKeys[side], border);
    }
    if (!f.m_bLocked)
        line.Bool("locked", false);
    if (f.m_bHidden)
        line.Bool("hidden", true);
    return line.Close();
}

// "key": [ followed by one line per item, indented.
void AppendList(std::string& out, const char* pszIndent, const char* pszKey, const std::vector<std::string>& lines,
                bool bLast)
{
    out += pszIndent;
    AppendString(out, pszKey);
    out += ": [";
    for (size_t i = 0; i < lines.size(); ++i) {
        out += i ? ",\n" : "\n";
        out += pszIndent;
        out += "  " + lines[i];
    }
    if (!lines.empty()) {
        out += "\n";
        out += pszIndent;
    }
    out += bLast ? "]\n" : "],\n";
}

} // namespace

CString GridSystemErrorText(DWORD dwError)
{
    LPWSTR pszText = nullptr;
    ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, dwError, 0, reinterpret_cast<LPWSTR>(&pszText), 0, nullptr);
    CString s = pszText ? pszText : L"";
    ::LocalFree(pszText);
    s.TrimRight();
    if (s.IsEmpty())
        s.Format(GRID_IDS_SYSTEM_ERROR, static_cast<unsigned long>(dwError));
    return s;
}

std::string CGridBook::WriteText() const
{
    // Formats in the order the cells first use them; 0, the default, is not written.
    std::unordered_map<int, int> fileFormat;
    std::vector<std::string> lines;
    for (const auto& pSheet : m_sheets)
        for (const auto& row : pSheet->m_rows)
            for (const CGridCell& cell : row.m_cells)
                if (cell.GetFormat() != 0 &&
                    fileFormat.emplace(cell.GetFormat(), static_cast<int>(lines.size()) + 1).second)
                    lines.push_back(FormatLine(m_formats.Get(cell.GetFormat())));

    std::string out = "{\n  \"vts\": " + std::to_string(kVtsVersion) + ",\n";
    AppendList(out, "  ", "formats", lines, false);
    out += "  \"sheets\": [";
    for (size_t s = 0; s < m_sheets.size(); ++s) {
        const CGridSheet& sheet = *m_sheets[s];
        out += s ? ",\n    {\n" : "\n    {\n";
        out += "      \"name\": ";
        AppendString(out, Utf8(sheet.m_strName));
        out += ",\n";
        for (const auto& item : {std::make_pair("maxRow", sheet.m_nMaxRow), std::make_pair("maxCol", sheet.m_nMaxCol),
                                 std::make_pair("titleRows", sheet.m_nTitleRows),
                                 std::make_pair("titleCols", sheet.m_nTitleCols),
                                 std::make_pair("colWidth", sheet.m_nDefaultColWidth),
                                 std::make_pair("rowHeight", sheet.m_nDefaultRowHeight)})
            out += std::string("      \"") + item.first + "\": " + std::to_string(item.second) + ",\n";

        lines.clear();
        for (size_t c = 0; c < sheet.m_cols.size(); ++c) {
            const CGridSheet::CColumn& col = sheet.m_cols[c];
            if (col.m_nWidth < 0 && !col.m_bHidden)
                continue;
            CLine line;
            line.Text("col", Utf8(GridColumnName(static_cast<int>(c + 1))));
            if (col.m_nWidth >= 0)
                line.Int("width", col.m_nWidth);
            if (col.m_bHidden)
                line.Bool("hidden", true);
            lines.push_back(line.Close());
        }
        AppendList(out, "      ", "columns", lines, false);

        lines.clear();
        for (size_t r = 0; r < sheet.m_rows.size(); ++r) {
            const CGridSheet::CRow& row = sheet.m_rows[r];
            if (row.m_nHeight < 0 && !row.m_bHidden)
                continue;
            CLine line;
            line.Int("row", static_cast<int>(r + 1));
            if (row.m_nHeight >= 0)
                line.Int("height", row.m_nHeight);
            if (row.m_bHidden)
                line.Bool("hidden", true);
            lines.push_back(line.Close());
        }
        AppendList(out, "      ", "rows", lines, false);

        lines.clear();
        for (const CGridRange& merge : sheet.m_merges) {
            std::string line;
            AppendString(line, Utf8(GridCellName(merge.m_nRow1, merge.m_nCol1) + L":" +
                                    GridCellName(merge.m_nRow2, merge.m_nCol2)));
            lines.push_back(line);
        }
        AppendList(out, "      ", "merges", lines, false);

        lines.clear();
        for (size_t r = 0; r < sheet.m_rows.size(); ++r)
            for (size_t c = 0; c < sheet.m_rows[r].m_cells.size(); ++c) {
                const CGridCell& cell = sheet.m_rows[r].m_cells[c];
                if (cell.IsUnused())
                    continue;
                CLine line;
                line.Text("at", Utf8(GridCellName(static_cast<int>(r + 1), static_cast<int>(c + 1))));
                if (cell.GetFormula())
                    line.Text("formula", Utf8(cell.GetFormula()->GetText()));
                else if (cell.GetValue().IsNumber())
                    line.Number("number", cell.GetValue().GetNumber());
                else if (cell.GetValue().IsText())
                    line.Text("text", Utf8(cell.GetValue().GetText()));
                if (cell.GetFormat() != 0)
                    line.Int("fmt", fileFormat[cell.GetFormat()]);
                lines.push_back(line.Close());
            }
        AppendList(out, "      ", "cells", lines, true);
        out += "    }";
    }
    out += "\n  ]\n}\n";
    return out;
}

BOOL GridReplaceFile(LPCTSTR pszPath, const std::string& content, CString& strError)
{
    CString strTemp = CString(pszPath) + L".tmp";
    HANDLE hFile = ::CreateFileW(strTemp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD dwError = 0;
    if (hFile == INVALID_HANDLE_VALUE)
        dwError = ::GetLastError();
    else {
        DWORD dwWritten = 0;
        if (!::WriteFile(hFile, content.data(), static_cast<DWORD>(content.size()), &dwWritten, nullptr) ||
            !::FlushFileBuffers(hFile))
            dwError = ::GetLastError();
        else if (dwWritten != content.size())
            dwError = ERROR_DISK_FULL;
        ::CloseHandle(hFile);
        if (dwError == 0 && !::MoveFileExW(strTemp, pszPath, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            dwError = ::GetLastError();
        if (dwError != 0)
            ::DeleteFileW(strTemp);
    }
    if (dwError != 0) {
        strError.Format(GRID_IDS_FILE_UNWRITABLE, pszPath,
                        static_cast<LPCTSTR>(GridSystemErrorText(dwError)));
        return FALSE;
    }
    return TRUE;
}

BOOL CGridBook::WriteFile(LPCTSTR pszPath, CString& strError) const
{
    return GridReplaceFile(pszPath, WriteText(), strError);
}
