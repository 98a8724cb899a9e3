// Writing of workbook files: JSON laid out one format, column, row or cell per line, so that two versions of
// a workbook compare line by line.
#include "GridBook.h"
#include "GridBookFile.h"
#include "gridres.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <unordered_map>

const char* const g_vtsHAlignNames[4] = {"general", "left", "center", "right"};
const char* const g_vtsVAlignNames[3] = {"top", "center", "bottom"};
const char* const g_vtsBorderNames[7] = {"none", "thin", "medium", "thick", "dashed", "dotted", "double"};
const char* const g_vtsBorderKeys[gridSideCount] = {"borderLeft", "borderRight", "borderTop", "borderBottom"};

namespace
{
void AppendEscaped(std::string& out, char ch)
{
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

void AppendString(std::string& out, const char* p, size_t n)
{
    out += '"';
    for (const char* pEnd = p + n; p != pEnd; ++p)
        AppendEscaped(out, *p);
    out += '"';
}

void AppendString(std::string& out, const char* psz) { AppendString(out, psz, std::strlen(psz)); }

// Most texts of a workbook are plain ASCII: those are written without a conversion to UTF-8.
void AppendString(std::string& out, const CString& s)
{
    LPCWSTR p = s;
    LPCWSTR pEnd = p + s.GetLength();
    if (std::any_of(p, pEnd, [](WCHAR ch) { return ch >= 0x80; })) {
        std::string utf8 = s.ToMultiByte(CP_UTF8);
        AppendString(out, utf8.data(), utf8.size());
        return;
    }
    out += '"';
    for (; p != pEnd; ++p)
        AppendEscaped(out, static_cast<char>(*p));
    out += '"';
}

// The shortest of 15, 16 or 17 digits that reads back as the same number, as printf's "%.*g" writes it.
void AppendNumber(std::string& out, double d)
{
    char buf[40];
    char* pEnd = buf;
    for (int nDigits = 15; nDigits <= 17; ++nDigits) {
        pEnd = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::general, nDigits).ptr;
        double dRead = 0;
        std::from_chars(buf, pEnd, dRead);
        if (dRead == d)
            break;
    }
    out.append(buf, pEnd);
}

// "B12" without a detour through a wide string: cell names are many.
void AppendCellName(std::string& out, int nRow, int nCol)
{
    char letters[8];
    char* p = letters + sizeof letters;
    for (int n = nCol; n > 0 && p > letters; n = (n - 1) / 26)
        *--p = static_cast<char>('A' + (n - 1) % 26);
    out += '"';
    out.append(p, letters + sizeof letters);
    char digits[12];
    out.append(digits, std::to_chars(digits, digits + sizeof digits, nRow).ptr);
    out += '"';
}

std::string ColorText(COLORREF cr)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02X%02X%02X", GetRValue(cr), GetGValue(cr), GetBValue(cr));
    return buf;
}

// One JSON object on one line of out, its members in the order they are added.
class CLine
{
public:
    explicit CLine(std::string& out) : m_out(out), m_nStart(out.size()) { m_out += '{'; }
    CLine& Text(const char* pszKey, const char* psz) { Key(pszKey); AppendString(m_out, psz); return *this; }
    CLine& Text(const char* pszKey, const CString& s) { Key(pszKey); AppendString(m_out, s); return *this; }
    CLine& Cell(const char* pszKey, int nRow, int nCol) { Key(pszKey); AppendCellName(m_out, nRow, nCol); return *this; }
    CLine& Int(const char* pszKey, int n)
    {
        Key(pszKey);
        char digits[12];
        m_out.append(digits, std::to_chars(digits, digits + sizeof digits, n).ptr);
        return *this;
    }
    CLine& Number(const char* pszKey, double d) { Key(pszKey); AppendNumber(m_out, d); return *this; }
    CLine& Bool(const char* pszKey, bool b) { Key(pszKey); m_out += b ? "true" : "false"; return *this; }
    // A member whose value is an object already written.
    CLine& Object(const char* pszKey, const std::string& object) { Key(pszKey); m_out += object; return *this; }
    void Close() { m_out += '}'; }

private:
    void Key(const char* pszKey)
    {
        if (m_out.size() > m_nStart + 1)
            m_out += ", ";
        AppendString(m_out, pszKey);
        m_out += ": ";
    }
    std::string& m_out;
    size_t m_nStart;
};

std::string FormatLine(const CGridCellFormat& f)
{
    const CGridCellFormat d;
    std::string text;
    CLine line(text);
    if (f.m_strNumberFormat != d.m_strNumberFormat)
        line.Text("numberFormat", f.m_strNumberFormat);
    if (f.m_strFontName != d.m_strFontName)
        line.Text("font", f.m_strFontName);
    if (f.m_nFontSize != d.m_nFontSize)
        line.Number("size", f.m_nFontSize / 20.0);
    if (f.m_bBold)
        line.Bool("bold", true);
    if (f.m_bItalic)
        line.Bool("italic", true);
    if (f.m_bUnderline)
        line.Bool("underline", true);
    if (f.m_crText != kGridColorAuto)
        line.Text("color", ColorText(f.m_crText).c_str());
    if (f.m_crFill != kGridColorAuto)
        line.Text("fill", ColorText(f.m_crFill).c_str());
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
        std::string object;
        CLine border(object);
        border.Text("style", g_vtsBorderNames[b.m_nStyle]);
        if (b.m_crColor != kGridColorAuto)
            border.Text("color", ColorText(b.m_crColor).c_str());
        border.Close();
        line.Object(g_vtsBorderKeys[side], object);
    }
    if (!f.m_bLocked)
        line.Bool("locked", false);
    if (f.m_bHidden)
        line.Bool("hidden", true);
    line.Close();
    return text;
}

// "key": [ followed by one item per line, indented.
class CList
{
public:
    CList(std::string& out, const char* pszIndent, const char* pszKey) : m_out(out), m_pszIndent(pszIndent)
    {
        m_out += pszIndent;
        AppendString(m_out, pszKey);
        m_out += ": [";
    }
    // Starts the line of the next item, which the caller then appends.
    std::string& Item()
    {
        m_out += m_nItems++ ? ",\n" : "\n";
        m_out += m_pszIndent;
        m_out += "  ";
        return m_out;
    }
    void End(bool bLast)
    {
        if (m_nItems) {
            m_out += "\n";
            m_out += m_pszIndent;
        }
        m_out += bLast ? "]\n" : "],\n";
    }

private:
    std::string& m_out;
    const char* m_pszIndent;
    size_t m_nItems = 0;
};

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
    std::vector<std::string> formatLines;
    size_t nCells = 0;
    for (const auto& pSheet : m_sheets)
        for (const auto& row : pSheet->m_rows) {
            nCells += row.m_cells.size();
            for (const CGridCell& cell : row.m_cells)
                if (cell.GetFormat() != 0 &&
                    fileFormat.emplace(cell.GetFormat(), static_cast<int>(formatLines.size()) + 1).second)
                    formatLines.push_back(FormatLine(m_formats.Get(cell.GetFormat())));
        }

    std::string out = "{\n  \"vts\": " + std::to_string(kVtsVersion) + ",\n";
    // Room for a typical cell line, so that the text grows rarely.
    out.reserve(64 * nCells);
    CList formats(out, "  ", "formats");
    for (const std::string& line : formatLines)
        formats.Item() += line;
    formats.End(false);
    out += "  \"sheets\": [";
    for (size_t s = 0; s < m_sheets.size(); ++s) {
        const CGridSheet& sheet = *m_sheets[s];
        out += s ? ",\n    {\n" : "\n    {\n";
        out += "      \"name\": ";
        AppendString(out, sheet.m_strName);
        out += ",\n";
        for (const auto& item : {std::make_pair("maxRow", sheet.m_nMaxRow), std::make_pair("maxCol", sheet.m_nMaxCol),
                                 std::make_pair("titleRows", sheet.m_nTitleRows),
                                 std::make_pair("titleCols", sheet.m_nTitleCols),
                                 std::make_pair("colWidth", sheet.m_nDefaultColWidth),
                                 std::make_pair("rowHeight", sheet.m_nDefaultRowHeight)})
            out += std::string("      \"") + item.first + "\": " + std::to_string(item.second) + ",\n";

        CList columns(out, "      ", "columns");
        for (size_t c = 0; c < sheet.m_cols.size(); ++c) {
            const CGridSheet::CColumn& col = sheet.m_cols[c];
            if (col.m_nWidth < 0 && !col.m_bHidden)
                continue;
            CLine line(columns.Item());
            line.Text("col", GridColumnName(static_cast<int>(c + 1)));
            if (col.m_nWidth >= 0)
                line.Int("width", col.m_nWidth);
            if (col.m_bHidden)
                line.Bool("hidden", true);
            line.Close();
        }
        columns.End(false);

        CList rows(out, "      ", "rows");
        for (size_t r = 0; r < sheet.m_rows.size(); ++r) {
            const CGridSheet::CRow& row = sheet.m_rows[r];
            if (row.m_nHeight < 0 && !row.m_bHidden)
                continue;
            CLine line(rows.Item());
            line.Int("row", static_cast<int>(r + 1));
            if (row.m_nHeight >= 0)
                line.Int("height", row.m_nHeight);
            if (row.m_bHidden)
                line.Bool("hidden", true);
            line.Close();
        }
        rows.End(false);

        CList merges(out, "      ", "merges");
        for (const CGridRange& merge : sheet.m_merges)
            AppendString(merges.Item(), GridCellName(merge.m_nRow1, merge.m_nCol1) + L":" +
                                            GridCellName(merge.m_nRow2, merge.m_nCol2));
        merges.End(false);

        CList cells(out, "      ", "cells");
        for (size_t r = 0; r < sheet.m_rows.size(); ++r)
            for (size_t c = 0; c < sheet.m_rows[r].m_cells.size(); ++c) {
                const CGridCell& cell = sheet.m_rows[r].m_cells[c];
                if (cell.IsUnused())
                    continue;
                CLine line(cells.Item());
                line.Cell("at", static_cast<int>(r + 1), static_cast<int>(c + 1));
                if (cell.GetFormula())
                    line.Text("formula", cell.GetFormula()->GetText());
                else if (cell.GetValue().IsNumber())
                    line.Number("number", cell.GetValue().GetNumber());
                else if (cell.GetValue().IsText())
                    line.Text("text", cell.GetValue().GetText());
                if (cell.GetFormat() != 0)
                    line.Int("fmt", fileFormat[cell.GetFormat()]);
                line.Close();
            }
        cells.End(true);
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
