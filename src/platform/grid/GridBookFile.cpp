// Reading and writing of workbook files: JSON, laid out one format, column, row or cell per line so that
// two versions of a workbook compare line by line. VTS-FORMAT.md describes the layout.
#include "GridBook.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unordered_map>
#include <unordered_set>

using json = nlohmann::json;

namespace
{
const int kVtsVersion = 1;

const char* const s_hAlignNames[] = {"general", "left", "center", "right"};
const char* const s_vAlignNames[] = {"top", "center", "bottom"};
const char* const s_borderNames[] = {"none", "thin", "medium", "thick", "dashed", "dotted", "double"};
const char* const s_borderKeys[] = {"borderLeft", "borderRight", "borderTop", "borderBottom"};

std::string Utf8(const CString& s) { return s.ToMultiByte(CP_UTF8); }
CString FromUtf8(const std::string& s) { return CString::FromMultiByte(s.data(), static_cast<int>(s.size()), CP_UTF8); }

std::string ColorText(COLORREF cr)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02X%02X%02X", GetRValue(cr), GetGValue(cr), GetBValue(cr));
    return buf;
}

// Points as a whole number when they are one.
json FontSizeValue(int nTwentieths)
{
    if (nTwentieths % 20 == 0)
        return nTwentieths / 20;
    return nTwentieths / 20.0;
}

// One object on one line, its keys in the given order.
std::string Line(const std::vector<std::pair<const char*, json>>& items)
{
    std::string s = "{";
    for (const auto& item : items) {
        if (s.size() > 1)
            s += ", ";
        s += json(item.first).dump() + ": " + item.second.dump();
    }
    return s + "}";
}

std::string FormatLine(const CGridCellFormat& f)
{
    const CGridCellFormat d;
    std::vector<std::pair<const char*, json>> items;
    if (f.m_strNumberFormat != d.m_strNumberFormat)
        items.emplace_back("numberFormat", Utf8(f.m_strNumberFormat));
    if (f.m_strFontName != d.m_strFontName)
        items.emplace_back("font", Utf8(f.m_strFontName));
    if (f.m_nFontSize != d.m_nFontSize)
        items.emplace_back("size", FontSizeValue(f.m_nFontSize));
    if (f.m_bBold)
        items.emplace_back("bold", true);
    if (f.m_bItalic)
        items.emplace_back("italic", true);
    if (f.m_bUnderline)
        items.emplace_back("underline", true);
    if (f.m_crText != kGridColorAuto)
        items.emplace_back("color", ColorText(f.m_crText));
    if (f.m_crFill != kGridColorAuto)
        items.emplace_back("fill", ColorText(f.m_crFill));
    if (f.m_nHAlign != d.m_nHAlign)
        items.emplace_back("hAlign", s_hAlignNames[f.m_nHAlign]);
    if (f.m_nVAlign != d.m_nVAlign)
        items.emplace_back("vAlign", s_vAlignNames[f.m_nVAlign]);
    if (f.m_bWrap)
        items.emplace_back("wrap", true);
    for (int side = 0; side < gridSideCount; ++side) {
        const CGridBorder& b = f.m_borders[side];
        if (b == CGridBorder())
            continue;
        json border = {{"style", s_borderNames[b.m_nStyle]}};
        if (b.m_crColor != kGridColorAuto)
            border["color"] = ColorText(b.m_crColor);
        items.emplace_back(s_borderKeys[side], border);
    }
    if (!f.m_bLocked)
        items.emplace_back("locked", false);
    if (f.m_bHidden)
        items.emplace_back("hidden", true);
    return Line(items);
}

// A damaged file: the text says where and what.
struct CGridFileError
{
    CString m_strText;
};
} // namespace

// Builds a book from the parsed file, checking every item; the first fault throws CGridFileError.
class CGridBookReader
{
public:
    explicit CGridBookReader(CGridBook& book) : m_book(book) {}

    void Read(const std::string& strUtf8)
    {
        json root;
        try {
            root = json::parse(strUtf8);
        } catch (const json::parse_error& e) {
            CString s;
            s.Format(L"il testo non è JSON valido (carattere %u)", static_cast<unsigned>(e.byte));
            throw CGridFileError{s};
        }
        if (!root.is_object() || !root.contains("vts") || !root["vts"].is_number_integer())
            throw CGridFileError{L"non è una cartella di lavoro VTS"};
        if (root["vts"].get<long long>() != kVtsVersion) {
            CString s;
            s.Format(L"versione %lld non supportata (attesa: %d)", root["vts"].get<long long>(), kVtsVersion);
            throw CGridFileError{s};
        }
        CheckKeys(root, {"vts", "formats", "sheets"});
        const json& formats = Array(root, "formats");
        for (size_t i = 0; i < formats.size(); ++i) {
            m_strWhere.Format(L"formato %u", static_cast<unsigned>(i + 1));
            m_formatIndex.push_back(m_book.GetFormats().Intern(ReadFormat(formats[i])));
        }
        const json& sheets = Array(root, "sheets");
        if (sheets.empty())
            throw CGridFileError{L"la cartella non contiene fogli"};
        for (size_t i = 0; i < sheets.size(); ++i) {
            m_strWhere.Format(L"foglio %u", static_cast<unsigned>(i + 1));
            ReadSheet(sheets[i]);
        }
        for (int i = 1; i <= m_book.GetSheetCount(); ++i)
            m_book.GetSheet(i)->m_calc.RebuildAll();
    }

private:
    [[noreturn]] void Fail(const CString& strWhat) const { throw CGridFileError{m_strWhere + L": " + strWhat}; }
    [[noreturn]] void FailKey(LPCTSTR pszFormat, const char* pszKey) const
    {
        CString s;
        s.Format(pszFormat, static_cast<LPCTSTR>(FromUtf8(pszKey)));
        Fail(s);
    }

    void CheckKeys(const json& obj, std::initializer_list<const char*> keys) const
    {
        for (auto it = obj.begin(); it != obj.end(); ++it)
            if (std::none_of(keys.begin(), keys.end(), [&](const char* k) { return it.key() == k; }))
                FailKey(L"chiave sconosciuta \"%s\"", it.key().c_str());
    }
    const json& Object(const json& v) const
    {
        if (!v.is_object())
            Fail(L"è atteso un oggetto");
        return v;
    }
    const json& Array(const json& obj, const char* pszKey) const
    {
        static const json s_empty = json::array();
        if (!obj.contains(pszKey))
            return s_empty;
        if (!obj[pszKey].is_array())
            FailKey(L"\"%s\" deve essere un elenco", pszKey);
        return obj[pszKey];
    }
    int Int(const json& obj, const char* pszKey, int nMin, int nMax, int nDefault) const
    {
        if (!obj.contains(pszKey))
            return nDefault;
        const json& v = obj[pszKey];
        if (!v.is_number_integer() || v.get<long long>() < nMin || v.get<long long>() > nMax)
            FailKey(L"valore non valido per \"%s\"", pszKey);
        return static_cast<int>(v.get<long long>());
    }
    bool Bool(const json& obj, const char* pszKey, bool bDefault) const
    {
        if (!obj.contains(pszKey))
            return bDefault;
        if (!obj[pszKey].is_boolean())
            FailKey(L"valore non valido per \"%s\"", pszKey);
        return obj[pszKey].get<bool>();
    }
    CString String(const json& obj, const char* pszKey, LPCTSTR pszDefault) const
    {
        if (!obj.contains(pszKey))
            return pszDefault;
        if (!obj[pszKey].is_string())
            FailKey(L"valore non valido per \"%s\"", pszKey);
        return FromUtf8(obj[pszKey].get_ref<const std::string&>());
    }
    template <size_t N> int Choice(const json& obj, const char* pszKey, const char* const (&names)[N], int nDefault) const
    {
        if (!obj.contains(pszKey))
            return nDefault;
        const json& v = obj[pszKey];
        for (size_t i = 0; v.is_string() && i < N; ++i)
            if (v.get_ref<const std::string&>() == names[i])
                return static_cast<int>(i);
        FailKey(L"valore non valido per \"%s\"", pszKey);
    }
    COLORREF Color(const json& obj, const char* pszKey) const
    {
        if (!obj.contains(pszKey))
            return kGridColorAuto;
        const json& v = obj[pszKey];
        unsigned r, g, b;
        char chEnd;
        if (!v.is_string() || v.get_ref<const std::string&>().size() != 7 ||
            std::sscanf(v.get_ref<const std::string&>().c_str(), "#%2x%2x%2x%c", &r, &g, &b, &chEnd) != 3)
            FailKey(L"colore non valido per \"%s\" (atteso #RRGGBB)", pszKey);
        return RGB(r, g, b);
    }

    CGridCellFormat ReadFormat(const json& v) const
    {
        Object(v);
        CheckKeys(v, {"numberFormat", "font", "size", "bold", "italic", "underline", "color", "fill", "hAlign",
                      "vAlign", "wrap", "borderLeft", "borderRight", "borderTop", "borderBottom", "locked", "hidden"});
        CGridCellFormat f;
        f.m_strNumberFormat = String(v, "numberFormat", f.m_strNumberFormat);
        f.m_strFontName = String(v, "font", f.m_strFontName);
        if (f.m_strNumberFormat.IsEmpty() || f.m_strFontName.IsEmpty())
            Fail(L"formato numerico o carattere vuoto");
        if (v.contains("size")) {
            const json& size = v["size"];
            if (!size.is_number() || !(size.get<double>() >= 1 && size.get<double>() <= 409))
                Fail(L"valore non valido per \"size\"");
            f.m_nFontSize = static_cast<int>(std::lround(size.get<double>() * 20));
        }
        f.m_bBold = Bool(v, "bold", false);
        f.m_bItalic = Bool(v, "italic", false);
        f.m_bUnderline = Bool(v, "underline", false);
        f.m_crText = Color(v, "color");
        f.m_crFill = Color(v, "fill");
        f.m_nHAlign = static_cast<GridHAlign>(Choice(v, "hAlign", s_hAlignNames, f.m_nHAlign));
        f.m_nVAlign = static_cast<GridVAlign>(Choice(v, "vAlign", s_vAlignNames, f.m_nVAlign));
        f.m_bWrap = Bool(v, "wrap", false);
        for (int side = 0; side < gridSideCount; ++side) {
            if (!v.contains(s_borderKeys[side]))
                continue;
            const json& b = v[s_borderKeys[side]];
            if (!b.is_object() || !b.contains("style"))
                FailKey(L"valore non valido per \"%s\"", s_borderKeys[side]);
            CheckKeys(b, {"style", "color"});
            f.m_borders[side].m_nStyle = static_cast<GridBorderStyle>(Choice(b, "style", s_borderNames, 0));
            f.m_borders[side].m_crColor = Color(b, "color");
        }
        f.m_bLocked = Bool(v, "locked", true);
        f.m_bHidden = Bool(v, "hidden", false);
        return f;
    }

    void ReadSheet(const json& v)
    {
        Object(v);
        CheckKeys(v, {"name", "maxRow", "maxCol", "titleRows", "titleCols", "colWidth", "rowHeight", "columns",
                      "rows", "cells"});
        CString strName = String(v, "name", L"");
        CGridSheet* pSheet = m_book.InsertSheet(m_book.GetSheetCount() + 1, strName);
        if (!pSheet)
            Fail(L"nome del foglio mancante, non valido o ripetuto \"" + strName + L"\"");
        m_strWhere = L"foglio \"" + strName + L"\"";
        CGridSheet& sheet = *pSheet;
        sheet.m_nMaxRow = Int(v, "maxRow", 1, kGridMaxRows, kGridMaxRows);
        sheet.m_nMaxCol = Int(v, "maxCol", 1, kGridMaxCols, kGridMaxCols);
        sheet.m_nTitleRows = Int(v, "titleRows", 0, kGridMaxRows, 0);
        sheet.m_nTitleCols = Int(v, "titleCols", 0, kGridMaxCols, 0);
        sheet.m_nDefaultColWidth = Int(v, "colWidth", 0, kGridMaxColWidth, kGridDefaultColWidth);
        sheet.m_nDefaultRowHeight = Int(v, "rowHeight", 0, kGridMaxRowHeight, kGridDefaultRowHeight);

        for (const json& col : Array(v, "columns")) {
            Object(col);
            CheckKeys(col, {"col", "width", "hidden"});
            int nCol = GridParseColumnName(String(col, "col", L""));
            if (nCol == 0)
                Fail(L"colonna non valida \"" + String(col, "col", L"") + L"\"");
            CGridSheet::CColumn& column = sheet.ColumnAt(nCol);
            column.m_nWidth = Int(col, "width", 0, kGridMaxColWidth, -1);
            column.m_bHidden = Bool(col, "hidden", false);
        }
        for (const json& row : Array(v, "rows")) {
            Object(row);
            CheckKeys(row, {"row", "height", "hidden"});
            if (!row.contains("row"))
                Fail(L"riga senza numero");
            CGridSheet::CRow& r = sheet.RowAt(Int(row, "row", 1, kGridMaxRows, 1));
            r.m_nHeight = Int(row, "height", 0, kGridMaxRowHeight, -1);
            r.m_bHidden = Bool(row, "hidden", false);
        }
        std::unordered_set<UINT> seen;
        for (const json& cell : Array(v, "cells"))
            ReadCell(sheet, cell, seen);
    }

    void ReadCell(CGridSheet& sheet, const json& v, std::unordered_set<UINT>& seen) const
    {
        Object(v);
        CheckKeys(v, {"at", "text", "number", "formula", "fmt"});
        CString strAt = String(v, "at", L"");
        int nRow, nCol;
        if (!GridParseCellName(strAt, nRow, nCol))
            Fail(L"indirizzo di cella non valido \"" + strAt + L"\"");
        if (!seen.insert(CGridCalc::Key(nRow, nCol)).second)
            Fail(L"cella " + strAt + L" ripetuta");
        if (v.contains("text") + v.contains("number") + v.contains("formula") > 1)
            Fail(L"cella " + strAt + L": più di un contenuto");
        CGridCell& cell = sheet.CellAt(nRow, nCol);
        if (v.contains("text"))
            cell.SetValue(CGridValue::Text(String(v, "text", L"")));
        else if (v.contains("number")) {
            if (!v["number"].is_number())
                Fail(L"cella " + strAt + L": numero non valido");
            cell.SetValue(CGridValue::Number(v["number"].get<double>()));
        } else if (v.contains("formula")) {
            CString strFormula = String(v, "formula", L"");
            if (strFormula.Left(1) != L"=")
                Fail(L"cella " + strAt + L": la formula deve iniziare con \"=\"");
            cell.SetFormula(std::make_unique<CGridFormula>(strFormula));
        }
        int nFormat = Int(v, "fmt", 0, static_cast<int>(m_formatIndex.size()), 0);
        cell.SetFormat(nFormat == 0 ? 0 : m_formatIndex[static_cast<size_t>(nFormat - 1)]);
    }

    CGridBook& m_book;
    std::vector<int> m_formatIndex;   // file format number - 1 -> index in the book's table
    CString m_strWhere;
};

BOOL CGridBook::ReadText(const std::string& strUtf8, CString& strError)
{
    CGridBook book{CNoSheets()};
    try {
        CGridBookReader(book).Read(strUtf8);
    } catch (const CGridFileError& e) {
        strError = L"Cartella di lavoro danneggiata: " + e.m_strText + L".";
        return FALSE;
    }
    Swap(book);
    m_nActiveSheet = 1;
    return TRUE;
}

std::string CGridBook::WriteText() const
{
    // Formats in the order the cells first use them; 0, the default, is not written.
    std::unordered_map<int, int> fileFormat;
    std::vector<int> used;
    for (const auto& pSheet : m_sheets)
        for (const auto& row : pSheet->m_rows)
            for (const CGridCell& cell : row.m_cells)
                if (cell.GetFormat() != 0 && fileFormat.emplace(cell.GetFormat(), static_cast<int>(used.size()) + 1).second)
                    used.push_back(cell.GetFormat());

    std::string out = "{\n  \"vts\": " + std::to_string(kVtsVersion) + ",\n  \"formats\": [";
    for (size_t i = 0; i < used.size(); ++i)
        out += (i ? ",\n    " : "\n    ") + FormatLine(m_formats.Get(used[i]));
    out += used.empty() ? "],\n" : "\n  ],\n";
    out += "  \"sheets\": [";
    for (size_t s = 0; s < m_sheets.size(); ++s) {
        const CGridSheet& sheet = *m_sheets[s];
        out += s ? ",\n    {\n" : "\n    {\n";
        out += "      \"name\": " + json(Utf8(sheet.m_strName)).dump() + ",\n";
        for (const auto& item : std::vector<std::pair<const char*, int>>{
                 {"maxRow", sheet.m_nMaxRow}, {"maxCol", sheet.m_nMaxCol}, {"titleRows", sheet.m_nTitleRows},
                 {"titleCols", sheet.m_nTitleCols}, {"colWidth", sheet.m_nDefaultColWidth},
                 {"rowHeight", sheet.m_nDefaultRowHeight}})
            out += std::string("      \"") + item.first + "\": " + std::to_string(item.second) + ",\n";

        std::vector<std::string> lines;
        auto flush = [&out, &lines](const char* pszKey, bool bLast) {
            out += std::string("      \"") + pszKey + "\": [";
            for (size_t i = 0; i < lines.size(); ++i)
                out += (i ? ",\n        " : "\n        ") + lines[i];
            out += lines.empty() ? "]" : "\n      ]";
            out += bLast ? "\n" : ",\n";
            lines.clear();
        };
        for (size_t c = 0; c < sheet.m_cols.size(); ++c) {
            const CGridSheet::CColumn& col = sheet.m_cols[c];
            std::vector<std::pair<const char*, json>> items{{"col", Utf8(GridColumnName(static_cast<int>(c + 1)))}};
            if (col.m_nWidth >= 0)
                items.emplace_back("width", col.m_nWidth);
            if (col.m_bHidden)
                items.emplace_back("hidden", true);
            if (items.size() > 1)
                lines.push_back(Line(items));
        }
        flush("columns", false);
        for (size_t r = 0; r < sheet.m_rows.size(); ++r) {
            const CGridSheet::CRow& row = sheet.m_rows[r];
            std::vector<std::pair<const char*, json>> items{{"row", static_cast<int>(r + 1)}};
            if (row.m_nHeight >= 0)
                items.emplace_back("height", row.m_nHeight);
            if (row.m_bHidden)
                items.emplace_back("hidden", true);
            if (items.size() > 1)
                lines.push_back(Line(items));
        }
        flush("rows", false);
        for (size_t r = 0; r < sheet.m_rows.size(); ++r)
            for (size_t c = 0; c < sheet.m_rows[r].m_cells.size(); ++c) {
                const CGridCell& cell = sheet.m_rows[r].m_cells[c];
                if (cell.IsUnused())
                    continue;
                std::vector<std::pair<const char*, json>> items{
                    {"at", Utf8(GridCellName(static_cast<int>(r + 1), static_cast<int>(c + 1)))}};
                if (cell.GetFormula())
                    items.emplace_back("formula", Utf8(cell.GetFormula()->GetText()));
                else if (cell.GetValue().IsNumber())
                    items.emplace_back("number", cell.GetValue().GetNumber());
                else if (cell.GetValue().IsText())
                    items.emplace_back("text", Utf8(cell.GetValue().GetText()));
                if (cell.GetFormat() != 0)
                    items.emplace_back("fmt", fileFormat[cell.GetFormat()]);
                lines.push_back(Line(items));
            }
        flush("cells", true);
        out += "    }";
    }
    out += m_sheets.empty() ? "]\n}\n" : "\n  ]\n}\n";
    return out;
}

namespace
{
CString SystemErrorText(DWORD dwError)
{
    LPWSTR pszText = nullptr;
    ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, dwError, 0, reinterpret_cast<LPWSTR>(&pszText), 0, nullptr);
    CString s = pszText ? pszText : L"";
    ::LocalFree(pszText);
    s.TrimRight();
    if (s.IsEmpty())
        s.Format(L"errore di sistema %lu", static_cast<unsigned long>(dwError));
    return s;
}
} // namespace

BOOL CGridBook::ReadFile(LPCTSTR pszPath, CString& strError)
{
    HANDLE hFile = ::CreateFileW(pszPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    std::string content;
    DWORD dwError = 0;
    if (hFile == INVALID_HANDLE_VALUE)
        dwError = ::GetLastError();
    else {
        LARGE_INTEGER size;
        if (!::GetFileSizeEx(hFile, &size))
            dwError = ::GetLastError();
        else if (size.QuadPart > 256 * 1024 * 1024)
            dwError = ERROR_FILE_TOO_LARGE;
        else {
            content.resize(static_cast<size_t>(size.QuadPart));
            DWORD dwRead = 0;
            if (!content.empty() && !::ReadFile(hFile, &content[0], static_cast<DWORD>(content.size()), &dwRead, nullptr))
                dwError = ::GetLastError();
            else if (dwRead != content.size())
                dwError = ERROR_HANDLE_EOF;
        }
        ::CloseHandle(hFile);
    }
    if (dwError != 0) {
        strError.Format(L"Impossibile leggere il file \"%s\": %s", pszPath,
                        static_cast<LPCTSTR>(SystemErrorText(dwError)));
        return FALSE;
    }
    CString strDetail;
    if (!ReadText(content, strDetail)) {
        strError.Format(L"Il file \"%s\" non è leggibile. %s", pszPath, static_cast<LPCTSTR>(strDetail));
        return FALSE;
    }
    return TRUE;
}

BOOL CGridBook::WriteFile(LPCTSTR pszPath, CString& strError) const
{
    std::string content = WriteText();
    CString strTemp = CString(pszPath) + L".tmp";
    HANDLE hFile = ::CreateFileW(strTemp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD dwError = 0;
    if (hFile == INVALID_HANDLE_VALUE)
        dwError = ::GetLastError();
    else {
        DWORD dwWritten = 0;
        if (!::WriteFile(hFile, content.data(), static_cast<DWORD>(content.size()), &dwWritten, nullptr) ||
            dwWritten != content.size() || !::FlushFileBuffers(hFile))
            dwError = ::GetLastError() ? ::GetLastError() : ERROR_WRITE_FAULT;
        ::CloseHandle(hFile);
        if (dwError == 0 && !::MoveFileExW(strTemp, pszPath, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            dwError = ::GetLastError();
        if (dwError != 0)
            ::DeleteFileW(strTemp);
    }
    if (dwError != 0) {
        strError.Format(L"Impossibile scrivere il file \"%s\": %s", pszPath,
                        static_cast<LPCTSTR>(SystemErrorText(dwError)));
        return FALSE;
    }
    return TRUE;
}
