// Reading of workbook files. The JSON parser's events build small objects (formats, sheet settings,
// columns, rows) as JSON values that are then checked; each cell, the bulk of a file, is checked as soon as
// it is complete and kept aside, so that a large workbook reads quickly. Nothing reaches the book before the
// whole file has been read and checked.
#include "GridBook.h"
#include "GridBookFile.h"
#include "gridres.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>

using ojson = nlohmann::ordered_json;

namespace
{
// A damaged file: the text says where and what.
struct CGridFileError
{
    CString m_strText;
};

CString LoadText(UINT nID)
{
    CString s;
    s.LoadString(nID);
    return s;
}

template <typename... Args>
CString FormatText(UINT nID, Args... args)
{
    CString s;
    s.Format(nID, args...);
    return s;
}

CString FromUtf8(const std::string& s)
{
    // Most texts of a workbook are plain ASCII: those need no conversion call.
    if (std::all_of(s.begin(), s.end(), [](char ch) { return static_cast<unsigned char>(ch) < 0x80; }))
        return CString(std::wstring(s.begin(), s.end()));
    return CString::FromMultiByte(s.data(), static_cast<int>(s.size()), CP_UTF8);
}

// A cell as the file gives it, checked but not yet placed.
struct CFileCell
{
    int m_nRow = 0;
    int m_nCol = 0;
    enum { none, number, text, formula } m_nKind = none;
    double m_dNumber = 0;
    CString m_strText;       // text or formula
    int m_nFormat = 0;       // as numbered in the file
};
} // namespace

class CGridBookReader : public nlohmann::json_sax<ojson>
{
public:
    explicit CGridBookReader(CGridBook& book) : m_book(book) {}

    void Read(const std::string& strUtf8)
    {
        ojson::sax_parse(strUtf8, this);
        const ojson& root = m_root;
        if (!root.is_object() || !root.contains("vts"))
            throw CGridFileError{LoadText(GRID_IDS_VTS_NOT_WORKBOOK)};
        CheckVersion();
        m_strWhere = LoadText(GRID_IDS_VTS_AT_TOP);
        CheckKeys(root, {"vts", "formats", "sheets"});
        const ojson& formats = Array(root, "formats");
        for (size_t i = 0; i < formats.size(); ++i) {
            m_strWhere = FormatText(GRID_IDS_VTS_AT_FORMAT, static_cast<unsigned>(i + 1));
            m_formatIndex.push_back(m_book.GetFormats().Intern(ReadFormat(formats[i])));
        }
        const ojson& sheets = Array(root, "sheets");
        if (sheets.empty())
            throw CGridFileError{LoadText(GRID_IDS_VTS_NO_SHEETS)};
        m_cells.resize(sheets.size());
        for (size_t i = 0; i < sheets.size(); ++i) {
            m_strWhere = FormatText(GRID_IDS_VTS_AT_SHEET, static_cast<unsigned>(i + 1));
            ReadSheet(sheets[i], m_cells[i]);
        }
        for (int i = 1; i <= m_book.GetSheetCount(); ++i)
            m_book.GetSheet(i)->m_calc.RebuildAll();
    }

    // Events of the JSON parser
    bool null() override { return Add(nullptr) != nullptr; }
    bool boolean(bool b) override { return Add(b) != nullptr; }
    bool number_integer(number_integer_t n) override { return Add(n) != nullptr; }
    bool number_unsigned(number_unsigned_t n) override { return Add(n) != nullptr; }
    bool number_float(number_float_t d, const string_t&) override { return Add(d) != nullptr; }
    bool string(string_t& s) override { return Add(std::move(s)) != nullptr; }
    bool binary(binary_t&) override { return false; }
    bool key(string_t& k) override
    {
        // The parser would let a repeated key replace the first one unseen.
        ojson& object = *m_stack.back().m_pValue;
        if (object.contains(k))
            throw CGridFileError{FormatText(GRID_IDS_VTS_KEY_TWICE, static_cast<LPCTSTR>(FromUtf8(k)))};
        m_strKey = k;
        m_pSlot = &object[k];
        return true;
    }
    bool start_object(std::size_t) override
    {
        CheckDepth();
        if (!m_stack.empty() && m_stack.back().m_nRole == roleCells) {
            if (m_cell.is_object())
                m_cell.clear();   // keeps its room for the next cell
            else
                m_cell = ojson::object();
            m_stack.push_back({&m_cell, roleCell});
        } else
            m_stack.push_back({Add(ojson::object()), roleOther});
        return true;
    }
    bool end_object() override
    {
        bool bCell = m_stack.back().m_nRole == roleCell;
        m_stack.pop_back();
        if (bCell)
            ReadCell();
        return true;
    }
    bool start_array(std::size_t) override
    {
        CheckDepth();
        Role nRole = roleOther;
        if (m_stack.size() == 1 && m_strKey == "sheets")
            nRole = roleSheets;
        else if (m_stack.size() == 3 && m_stack[1].m_nRole == roleSheets && m_stack[2].m_pValue->is_object() &&
                 m_strKey == "cells")
            nRole = roleCells;
        m_stack.push_back({Add(ojson::array()), nRole});
        return true;
    }
    bool end_array() override
    {
        m_stack.pop_back();
        return true;
    }
    bool parse_error(std::size_t nPosition, const std::string&, const nlohmann::detail::exception&) override
    {
        throw CGridFileError{FormatText(GRID_IDS_VTS_NOT_JSON, static_cast<unsigned>(nPosition))};
    }

private:
    enum Role { roleOther, roleSheets, roleCells, roleCell };
    struct CLevel
    {
        ojson* m_pValue;
        Role m_nRole;
    };

    // Puts a value where the parser stands: the root, the next element of an array or the member just named.
    ojson* Add(ojson&& value)
    {
        if (m_stack.empty()) {
            m_root = std::move(value);
            return &m_root;
        }
        ojson& parent = *m_stack.back().m_pValue;
        if (parent.is_array()) {
            parent.push_back(std::move(value));
            return &parent.back();
        }
        *m_pSlot = std::move(value);
        return m_pSlot;
    }

    // A workbook nests five deep (the top, the sheets, a sheet, its cells, a cell); anything much deeper is
    // refused before it is built, as copying or freeing a deep value would exhaust the stack.
    void CheckDepth() const
    {
        const size_t kMaxDepth = 8;
        if (m_stack.size() >= kMaxDepth)
            throw CGridFileError{LoadText(GRID_IDS_VTS_TOO_DEEP)};
    }

    [[noreturn]] void Fail(const CString& strWhat) const { throw CGridFileError{m_strWhere + L": " + strWhat}; }
    [[noreturn]] void FailKey(UINT nFormatID, const std::string& strKey) const
    {
        Fail(FormatText(nFormatID, static_cast<LPCTSTR>(FromUtf8(strKey))));
    }

    void CheckVersion() const
    {
        const ojson& v = m_root["vts"];
        if (!v.is_number_integer())
            throw CGridFileError{LoadText(GRID_IDS_VTS_NOT_WORKBOOK)};
        if (v.get<long long>() != kVtsVersion)
            throw CGridFileError{FormatText(GRID_IDS_VTS_VERSION, v.get<long long>(), kVtsVersion)};
    }
    void CheckKeys(const ojson& obj, std::initializer_list<const char*> keys) const
    {
        for (auto it = obj.begin(); it != obj.end(); ++it)
            if (std::none_of(keys.begin(), keys.end(), [&](const char* k) { return it.key() == k; }))
                FailKey(GRID_IDS_VTS_UNKNOWN_KEY, it.key());
    }
    const ojson& Object(const ojson& v) const
    {
        if (!v.is_object())
            Fail(LoadText(GRID_IDS_VTS_OBJECT_EXPECTED));
        return v;
    }
    const ojson& Array(const ojson& obj, const char* pszKey) const
    {
        static const ojson s_empty = ojson::array();
        auto it = obj.find(pszKey);
        if (it == obj.end())
            return s_empty;
        if (!it->is_array())
            FailKey(GRID_IDS_VTS_LIST_EXPECTED, pszKey);
        return *it;
    }
    int Int(const ojson& obj, const char* pszKey, int nMin, int nMax, int nDefault) const
    {
        auto it = obj.find(pszKey);
        if (it == obj.end())
            return nDefault;
        if (!it->is_number_integer() || it->get<long long>() < nMin || it->get<long long>() > nMax)
            FailKey(GRID_IDS_VTS_BAD_VALUE, pszKey);
        return static_cast<int>(it->get<long long>());
    }
    bool Bool(const ojson& obj, const char* pszKey, bool bDefault) const
    {
        auto it = obj.find(pszKey);
        if (it == obj.end())
            return bDefault;
        if (!it->is_boolean())
            FailKey(GRID_IDS_VTS_BAD_VALUE, pszKey);
        return it->get<bool>();
    }
    CString String(const ojson& obj, const char* pszKey, LPCTSTR pszDefault) const
    {
        auto it = obj.find(pszKey);
        if (it == obj.end())
            return pszDefault;
        if (!it->is_string())
            FailKey(GRID_IDS_VTS_BAD_VALUE, pszKey);
        return FromUtf8(it->get_ref<const std::string&>());
    }
    template <size_t N>
    int Choice(const ojson& obj, const char* pszKey, const char* const (&names)[N], int nDefault) const
    {
        auto it = obj.find(pszKey);
        if (it == obj.end())
            return nDefault;
        for (size_t i = 0; it->is_string() && i < N; ++i)
            if (it->get_ref<const std::string&>() == names[i])
                return static_cast<int>(i);
        FailKey(GRID_IDS_VTS_BAD_VALUE, pszKey);
    }
    COLORREF Color(const ojson& obj, const char* pszKey) const
    {
        auto it = obj.find(pszKey);
        if (it == obj.end())
            return kGridColorAuto;
        unsigned r, g, b;
        char chEnd;
        if (!it->is_string() || it->get_ref<const std::string&>().size() != 7 ||
            std::sscanf(it->get_ref<const std::string&>().c_str(), "#%2x%2x%2x%c", &r, &g, &b, &chEnd) != 3)
            FailKey(GRID_IDS_VTS_BAD_COLOR, pszKey);
        return RGB(r, g, b);
    }

    CGridCellFormat ReadFormat(const ojson& v) const
    {
        Object(v);
        CheckKeys(v, {"numberFormat", "font", "size", "bold", "italic", "underline", "color", "fill", "hAlign",
                      "vAlign", "wrap", "borderLeft", "borderRight", "borderTop", "borderBottom", "locked", "hidden"});
        CGridCellFormat f;
        f.m_strNumberFormat = String(v, "numberFormat", f.m_strNumberFormat);
        f.m_strFontName = String(v, "font", f.m_strFontName);
        if (f.m_strNumberFormat.IsEmpty() || f.m_strFontName.IsEmpty())
            Fail(LoadText(GRID_IDS_VTS_EMPTY_FORMAT));
        auto size = v.find("size");
        if (size != v.end()) {
            if (!size->is_number() || !(size->get<double>() >= 1 && size->get<double>() <= 409))
                FailKey(GRID_IDS_VTS_BAD_VALUE, "size");
            f.m_nFontSize = static_cast<int>(std::lround(size->get<double>() * 20));
        }
        f.m_bBold = Bool(v, "bold", false);
        f.m_bItalic = Bool(v, "italic", false);
        f.m_bUnderline = Bool(v, "underline", false);
        f.m_crText = Color(v, "color");
        f.m_crFill = Color(v, "fill");
        f.m_nHAlign = static_cast<GridHAlign>(Choice(v, "hAlign", g_vtsHAlignNames, f.m_nHAlign));
        f.m_nVAlign = static_cast<GridVAlign>(Choice(v, "vAlign", g_vtsVAlignNames, f.m_nVAlign));
        f.m_bWrap = Bool(v, "wrap", false);
        for (int side = 0; side < gridSideCount; ++side) {
            auto b = v.find(g_vtsBorderKeys[side]);
            if (b == v.end())
                continue;
            if (!b->is_object() || !b->contains("style"))
                FailKey(GRID_IDS_VTS_BAD_VALUE, g_vtsBorderKeys[side]);
            CheckKeys(*b, {"style", "color"});
            f.m_borders[side].m_nStyle = static_cast<GridBorderStyle>(Choice(*b, "style", g_vtsBorderNames, 0));
            f.m_borders[side].m_crColor = Color(*b, "color");
        }
        f.m_bLocked = Bool(v, "locked", true);
        f.m_bHidden = Bool(v, "hidden", false);
        return f;
    }

    // Checks a complete cell object and keeps it for its sheet.
    void ReadCell()
    {
        size_t nSheet = m_stack[1].m_pValue->size() - 1;
        if (nSheet >= m_cells.size()) {
            // First cell of a sheet.
            if (m_root.contains("vts"))
                CheckVersion();   // a newer file is reported as such, not by its first unknown detail
            const ojson& sheet = *m_stack[2].m_pValue;
            auto name = sheet.find("name");
            if (name != sheet.end() && name->is_string())
                m_strWhere = FormatText(GRID_IDS_VTS_AT_SHEET_NAME, static_cast<LPCTSTR>(FromUtf8(name->get_ref<const std::string&>())));
            else
                m_strWhere = FormatText(GRID_IDS_VTS_AT_SHEET, static_cast<unsigned>(nSheet + 1));
            m_cells.resize(nSheet + 1);
        }

        // One pass over the members: cells are many.
        CFileCell cell;
        const std::string* pAt = nullptr;
        int nContents = 0;
        for (auto it = m_cell.begin(); it != m_cell.end(); ++it) {
            const std::string& strKey = it.key();
            const ojson& value = *it;
            if (strKey == "at" && value.is_string())
                pAt = &value.get_ref<const std::string&>();
            else if (strKey == "number" && value.is_number()) {
                cell.m_nKind = CFileCell::number;
                cell.m_dNumber = value.get<double>();
            } else if ((strKey == "text" || strKey == "formula") && value.is_string()) {
                cell.m_nKind = strKey == "text" ? CFileCell::text : CFileCell::formula;
                cell.m_strText = FromUtf8(value.get_ref<const std::string&>());
            } else if (strKey == "fmt" && value.is_number_integer() && value.get<long long>() >= 1 &&
                       value.get<long long>() <= INT_MAX)
                cell.m_nFormat = static_cast<int>(value.get<long long>());
            else if (strKey == "at" || strKey == "number" || strKey == "text" || strKey == "formula" || strKey == "fmt")
                FailKey(GRID_IDS_VTS_BAD_VALUE, strKey);
            else
                FailKey(GRID_IDS_VTS_UNKNOWN_KEY, strKey);
            nContents += strKey != "at" && strKey != "fmt";
        }
        CString strAt = pAt ? FromUtf8(*pAt) : CString();
        if (!GridParseCellName(strAt, cell.m_nRow, cell.m_nCol))
            Fail(FormatText(GRID_IDS_VTS_BAD_ADDRESS, static_cast<LPCTSTR>(strAt)));
        if (nContents > 1)
            Fail(FormatText(GRID_IDS_VTS_TWO_CONTENTS, static_cast<LPCTSTR>(strAt)));
        if (cell.m_nKind == CFileCell::formula && (cell.m_strText.IsEmpty() || cell.m_strText[0] != L'='))
            Fail(FormatText(GRID_IDS_VTS_FORMULA_SIGN, static_cast<LPCTSTR>(strAt)));
        m_cells[nSheet].push_back(std::move(cell));
    }

    void ReadSheet(const ojson& v, std::vector<CFileCell>& cells)
    {
        Object(v);
        CheckKeys(v, {"name", "maxRow", "maxCol", "titleRows", "titleCols", "colWidth", "rowHeight", "columns",
                      "rows", "merges", "cells"});
        CString strName = String(v, "name", L"");
        CGridSheet* pSheet = m_book.InsertSheet(m_book.GetSheetCount() + 1, strName);
        if (!pSheet)
            Fail(FormatText(GRID_IDS_VTS_BAD_SHEET_NAME, static_cast<LPCTSTR>(strName)));
        m_strWhere = FormatText(GRID_IDS_VTS_AT_SHEET_NAME, static_cast<LPCTSTR>(strName));
        CGridSheet& sheet = *pSheet;
        sheet.m_nMaxRow = Int(v, "maxRow", 1, kGridMaxRows, kGridMaxRows);
        sheet.m_nMaxCol = Int(v, "maxCol", 1, kGridMaxCols, kGridMaxCols);
        sheet.m_nTitleRows = Int(v, "titleRows", 0, kGridMaxRows, 0);
        sheet.m_nTitleCols = Int(v, "titleCols", 0, kGridMaxCols, 0);
        sheet.m_nDefaultColWidth = Int(v, "colWidth", 0, kGridMaxColWidth, kGridDefaultColWidth);
        sheet.m_nDefaultRowHeight = Int(v, "rowHeight", 0, kGridMaxRowHeight, kGridDefaultRowHeight);

        for (const ojson& col : Array(v, "columns")) {
            Object(col);
            CheckKeys(col, {"col", "width", "hidden"});
            CString strCol = String(col, "col", L"");
            int nCol = GridParseColumnName(strCol);
            if (nCol == 0)
                Fail(FormatText(GRID_IDS_VTS_BAD_COLUMN, static_cast<LPCTSTR>(strCol)));
            CGridSheet::CColumn& column = sheet.ColumnAt(nCol);
            column.m_nWidth = Int(col, "width", 0, kGridMaxColWidth, -1);
            column.m_bHidden = Bool(col, "hidden", false);
        }
        for (const ojson& row : Array(v, "rows")) {
            Object(row);
            CheckKeys(row, {"row", "height", "hidden"});
            if (!row.contains("row"))
                Fail(LoadText(GRID_IDS_VTS_ROW_NUMBER));
            CGridSheet::CRow& r = sheet.RowAt(Int(row, "row", 1, kGridMaxRows, 1));
            r.m_nHeight = Int(row, "height", 0, kGridMaxRowHeight, -1);
            r.m_bHidden = Bool(row, "hidden", false);
        }
        for (const ojson& merge : Array(v, "merges")) {
            CString strRange = merge.is_string() ? FromUtf8(merge.get_ref<const std::string&>()) : CString();
            int nColon = strRange.Find(L':');
            CGridRange range;
            if (nColon < 0 || !GridParseCellName(strRange.Left(nColon), range.m_nRow1, range.m_nCol1) ||
                !GridParseCellName(strRange.Mid(nColon + 1), range.m_nRow2, range.m_nCol2) ||
                !sheet.MergeCells(range))
                FailKey(GRID_IDS_VTS_BAD_VALUE, "merges");
        }
        // Cells were taken out while reading: anything left in the list is not a cell.
        for (const ojson& other : Array(v, "cells"))
            Object(other);

        std::vector<UINT> keys;
        keys.reserve(cells.size());
        for (const CFileCell& from : cells)
            keys.push_back(CGridCalc::Key(from.m_nRow, from.m_nCol));
        std::sort(keys.begin(), keys.end());
        auto twice = std::adjacent_find(keys.begin(), keys.end());
        if (twice != keys.end())
            Fail(FormatText(GRID_IDS_VTS_CELL_TWICE,
                            static_cast<LPCTSTR>(GridCellName(CGridCalc::KeyRow(*twice), CGridCalc::KeyCol(*twice)))));
        for (CFileCell& from : cells) {
            if (from.m_nFormat > static_cast<int>(m_formatIndex.size()))
                Fail(FormatText(GRID_IDS_VTS_CELL_BAD_VALUE, static_cast<LPCTSTR>(GridCellName(from.m_nRow, from.m_nCol)), L"fmt"));
            CGridCell& cell = sheet.CellAt(from.m_nRow, from.m_nCol);
            if (from.m_nKind == CFileCell::number)
                cell.SetValue(CGridValue::Number(from.m_dNumber));
            else if (from.m_nKind == CFileCell::text && !from.m_strText.IsEmpty())
                cell.SetValue(CGridValue::Text(from.m_strText));
            else if (from.m_nKind == CFileCell::formula) {
                auto pFormula = std::make_unique<CGridFormula>(from.m_strText);
                if (pFormula->IsTooComplex())
                    Fail(FormatText(GRID_IDS_VTS_FORMULA_TOO_COMPLEX,
                                    static_cast<LPCTSTR>(GridCellName(from.m_nRow, from.m_nCol))));
                cell.SetFormula(std::move(pFormula));
            }
            cell.SetFormat(from.m_nFormat == 0 ? 0 : m_formatIndex[static_cast<size_t>(from.m_nFormat - 1)]);
        }
    }

    CGridBook& m_book;
    ojson m_root;
    std::vector<CLevel> m_stack;
    ojson* m_pSlot = nullptr;            // the member named by the last key
    std::string m_strKey;
    ojson m_cell;                        // the cell being read
    std::vector<std::vector<CFileCell>> m_cells;   // per sheet, in file order
    std::vector<int> m_formatIndex;      // file format number - 1 -> index in the book's table
    CString m_strWhere;
};

BOOL CGridBook::ReadText(const std::string& strUtf8, CString& strError)
{
    CGridBook book{CNoSheets()};
    try {
        CGridBookReader(book).Read(strUtf8);
    } catch (const CGridFileError& e) {
        strError = FormatText(GRID_IDS_FILE_DAMAGED, static_cast<LPCTSTR>(e.m_strText));
        return FALSE;
    }
    Swap(book);
    m_nActiveSheet = 1;
    return TRUE;
}

BOOL CGridBook::ReadFile(LPCTSTR pszPath, CString& strError)
{
    HANDLE hFile = ::CreateFileW(pszPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    std::string content;
    DWORD dwError = 0;
    if (hFile == INVALID_HANDLE_VALUE)
        dwError = ::GetLastError();
    else {
        LARGE_INTEGER size;
        DWORD dwRead = 0;
        if (!::GetFileSizeEx(hFile, &size))
            dwError = ::GetLastError();
        else if (size.QuadPart > 256 * 1024 * 1024)
            dwError = ERROR_FILE_TOO_LARGE;
        else {
            content.resize(static_cast<size_t>(size.QuadPart));
            if (!content.empty() && !::ReadFile(hFile, &content[0], static_cast<DWORD>(content.size()), &dwRead, nullptr))
                dwError = ::GetLastError();
            else if (dwRead != content.size())
                dwError = ERROR_HANDLE_EOF;
        }
        ::CloseHandle(hFile);
    }
    if (dwError != 0) {
        strError.Format(GRID_IDS_FILE_UNREADABLE, pszPath,
                        static_cast<LPCTSTR>(GridSystemErrorText(dwError)));
        return FALSE;
    }
    CString strDetail;
    if (!ReadText(content, strDetail)) {
        strError.Format(GRID_IDS_FILE_NOT_LOADED, pszPath, static_cast<LPCTSTR>(strDetail));
        return FALSE;
    }
    return TRUE;
}
