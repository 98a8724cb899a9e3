// Reading of workbook files. The JSON parser's events build small objects (formats, sheet settings,
// columns, rows) as JSON values that are then checked; each cell, the bulk of a file, is checked as soon as
// it is complete and kept aside, its members held in room reused from cell to cell, so that a large workbook
// reads quickly. Nothing reaches the book before the whole file has been read and checked.
#include "GridBook.h"
#include "GridBookFile.h"
#include "GridJson.h"
#include "gridres.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

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

CString FromUtf8(std::string_view s)
{
    // Most texts of a workbook are plain ASCII: those need no conversion call.
    if (std::all_of(s.begin(), s.end(), [](char ch) { return static_cast<unsigned char>(ch) < 0x80; })) {
        CString str;
        LPTSTR p = str.GetBufferSetLength(static_cast<int>(s.size()));
        std::copy(s.begin(), s.end(), p);
        str.ReleaseBuffer(static_cast<int>(s.size()));
        return str;
    }
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

class CGridBookReader : private CGridJsonHandler
{
public:
    explicit CGridBookReader(CGridBook& book) : m_book(book) {}

    void Read(const std::string& strUtf8)
    {
        size_t nError = CGridJsonParser(strUtf8, *this).Parse();
        if (nError != 0)
            throw CGridFileError{FormatText(GRID_IDS_VTS_NOT_JSON, static_cast<unsigned>(nError))};
        const CGridJsonValue& root = m_root;
        if (!root.IsObject() || !root.Find("vts"))
            throw CGridFileError{LoadText(GRID_IDS_VTS_NOT_WORKBOOK)};
        CheckVersion();
        m_strWhere = LoadText(GRID_IDS_VTS_AT_TOP);
        CheckKeys(root, {"vts", "formats", "sheets"});
        const CGridJsonValue& formats = Array(root, "formats");
        for (size_t i = 0; i < formats.GetSize(); ++i) {
            m_strWhere = FormatText(GRID_IDS_VTS_AT_FORMAT, static_cast<unsigned>(i + 1));
            m_formatIndex.push_back(m_book.GetFormats().Intern(ReadFormat(formats[i])));
        }
        const CGridJsonValue& sheets = Array(root, "sheets");
        if (sheets.IsEmpty())
            throw CGridFileError{LoadText(GRID_IDS_VTS_NO_SHEETS)};
        m_cells.resize(sheets.GetSize());
        for (size_t i = 0; i < sheets.GetSize(); ++i) {
            m_strWhere = FormatText(GRID_IDS_VTS_AT_SHEET, static_cast<unsigned>(i + 1));
            ReadSheet(sheets[i], m_cells[i]);
        }
        for (int i = 1; i <= m_book.GetSheetCount(); ++i)
            m_book.GetSheet(i)->m_calc.RebuildAll();
    }

private:
    enum Role { roleOther, roleSheets, roleCells, roleCell };
    struct CLevel
    {
        CGridJsonValue* m_pValue;   // null for a cell: its members are kept apart
        Role m_nRole;
    };
    // The keys of a cell, known by number: cells are many.
    enum CellKey { keyAt, keyNumber, keyText, keyFormula, keyFmt, keyOther };
    struct CCellMember
    {
        CellKey m_nKey;
        std::string m_strOther;   // the name of a keyOther
        CGridJsonValue m_value;
        bool Is(CellKey nKey, std::string_view key) const { return m_nKey == nKey && (nKey != keyOther || m_strOther == key); }
    };
    static CellKey CellKeyOf(std::string_view key)
    {
        static const std::string_view s_names[] = {"at", "number", "text", "formula", "fmt"};
        for (size_t i = 0; i < keyOther; ++i)
            if (key == s_names[i])
                return static_cast<CellKey>(i);
        return keyOther;
    }

    // Events of the JSON parser
    void OnValue(const CGridJsonScalar& value) override { Place().Set(value); }
    void OnKey(std::string_view key) override
    {
        // A repeated key would otherwise replace the first one unseen.
        CLevel& level = m_stack.back();
        if (level.m_nRole == roleCell) {
            CellKey nKey = CellKeyOf(key);
            auto first = m_cellMembers.begin(), last = first + static_cast<ptrdiff_t>(m_nCellMembers);
            if (std::any_of(first, last, [&](const CCellMember& m) { return m.Is(nKey, key); }))
                FailKeyTwice(key);
            if (m_nCellMembers == m_cellMembers.size())
                m_cellMembers.emplace_back();
            CCellMember& member = m_cellMembers[m_nCellMembers++];
            member.m_nKey = nKey;
            if (nKey == keyOther)
                member.m_strOther.assign(key);
            m_pSlot = &member.m_value;
        } else {
            if (level.m_pValue->Find(key))
                FailKeyTwice(key);
            m_pSlot = &level.m_pValue->AddMember(key);
        }
        m_nLastKey = key == "sheets" ? lastSheets : key == "cells" ? lastCells : lastOther;
    }
    void OnStartObject() override
    {
        CheckDepth();
        if (!m_stack.empty() && m_stack.back().m_nRole == roleCells) {
            m_nCellMembers = 0;
            m_stack.push_back({nullptr, roleCell});
        } else {
            CGridJsonValue& value = Place();
            value.SetObject();
            m_stack.push_back({&value, roleOther});
        }
    }
    void OnEndObject() override
    {
        bool bCell = m_stack.back().m_nRole == roleCell;
        m_stack.pop_back();
        if (bCell)
            ReadCell();
    }
    void OnStartArray() override
    {
        CheckDepth();
        Role nRole = roleOther;
        if (m_stack.size() == 1 && m_nLastKey == lastSheets)
            nRole = roleSheets;
        else if (m_stack.size() == 3 && m_stack[1].m_nRole == roleSheets && m_stack[2].m_pValue->IsObject() &&
                 m_nLastKey == lastCells)
            nRole = roleCells;
        CGridJsonValue& value = Place();
        value.SetArray();
        m_stack.push_back({&value, nRole});
    }
    void OnEndArray() override { m_stack.pop_back(); }

    // The value where the parser stands: the root, the next element of an array or the member just named.
    CGridJsonValue& Place()
    {
        if (m_stack.empty())
            return m_root;
        CGridJsonValue* pParent = m_stack.back().m_pValue;
        if (pParent && pParent->IsArray())
            return pParent->Append();
        return *m_pSlot;
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
    [[noreturn]] void FailKey(UINT nFormatID, std::string_view key) const
    {
        Fail(FormatText(nFormatID, static_cast<LPCTSTR>(FromUtf8(key))));
    }
    [[noreturn]] static void FailKeyTwice(std::string_view key)
    {
        throw CGridFileError{FormatText(GRID_IDS_VTS_KEY_TWICE, static_cast<LPCTSTR>(FromUtf8(key)))};
    }

    void CheckVersion() const
    {
        const CGridJsonValue& v = *m_root.Find("vts");
        if (!v.IsInteger())
            throw CGridFileError{LoadText(GRID_IDS_VTS_NOT_WORKBOOK)};
        if (v.GetInteger() != kVtsVersion)
            throw CGridFileError{FormatText(GRID_IDS_VTS_VERSION, v.GetInteger(), kVtsVersion)};
    }
    void CheckKeys(const CGridJsonValue& obj, std::initializer_list<const char*> keys) const
    {
        for (size_t i = 0; i < obj.GetSize(); ++i)
            if (std::none_of(keys.begin(), keys.end(), [&](const char* k) { return obj.GetKey(i) == k; }))
                FailKey(GRID_IDS_VTS_UNKNOWN_KEY, obj.GetKey(i));
    }
    const CGridJsonValue& Object(const CGridJsonValue& v) const
    {
        if (!v.IsObject())
            Fail(LoadText(GRID_IDS_VTS_OBJECT_EXPECTED));
        return v;
    }
    const CGridJsonValue& Array(const CGridJsonValue& obj, const char* pszKey) const
    {
        static const CGridJsonValue s_empty = [] {
            CGridJsonValue v;
            v.SetArray();
            return v;
        }();
        const CGridJsonValue* p = obj.Find(pszKey);
        if (!p)
            return s_empty;
        if (!p->IsArray())
            FailKey(GRID_IDS_VTS_LIST_EXPECTED, pszKey);
        return *p;
    }
    int Int(const CGridJsonValue& obj, const char* pszKey, int nMin, int nMax, int nDefault) const
    {
        const CGridJsonValue* p = obj.Find(pszKey);
        if (!p)
            return nDefault;
        if (!p->IsInteger() || p->GetInteger() < nMin || p->GetInteger() > nMax)
            FailKey(GRID_IDS_VTS_BAD_VALUE, pszKey);
        return static_cast<int>(p->GetInteger());
    }
    bool Bool(const CGridJsonValue& obj, const char* pszKey, bool bDefault) const
    {
        const CGridJsonValue* p = obj.Find(pszKey);
        if (!p)
            return bDefault;
        if (!p->IsBool())
            FailKey(GRID_IDS_VTS_BAD_VALUE, pszKey);
        return p->GetBool();
    }
    CString String(const CGridJsonValue& obj, const char* pszKey, LPCTSTR pszDefault) const
    {
        const CGridJsonValue* p = obj.Find(pszKey);
        if (!p)
            return pszDefault;
        if (!p->IsString())
            FailKey(GRID_IDS_VTS_BAD_VALUE, pszKey);
        return FromUtf8(p->GetString());
    }
    template <size_t N>
    int Choice(const CGridJsonValue& obj, const char* pszKey, const char* const (&names)[N], int nDefault) const
    {
        const CGridJsonValue* p = obj.Find(pszKey);
        if (!p)
            return nDefault;
        for (size_t i = 0; p->IsString() && i < N; ++i)
            if (p->GetString() == names[i])
                return static_cast<int>(i);
        FailKey(GRID_IDS_VTS_BAD_VALUE, pszKey);
    }
    COLORREF Color(const CGridJsonValue& obj, const char* pszKey) const
    {
        const CGridJsonValue* p = obj.Find(pszKey);
        if (!p)
            return kGridColorAuto;
        unsigned r, g, b;
        char chEnd;
        if (!p->IsString() || p->GetString().size() != 7 ||
            std::sscanf(p->GetString().c_str(), "#%2x%2x%2x%c", &r, &g, &b, &chEnd) != 3)
            FailKey(GRID_IDS_VTS_BAD_COLOR, pszKey);
        return RGB(r, g, b);
    }

    CGridCellFormat ReadFormat(const CGridJsonValue& v) const
    {
        Object(v);
        CheckKeys(v, {"numberFormat", "font", "size", "bold", "italic", "underline", "color", "fill", "hAlign",
                      "vAlign", "wrap", "borderLeft", "borderRight", "borderTop", "borderBottom", "locked", "hidden"});
        CGridCellFormat f;
        f.m_strNumberFormat = String(v, "numberFormat", f.m_strNumberFormat);
        f.m_strFontName = String(v, "font", f.m_strFontName);
        if (f.m_strNumberFormat.IsEmpty() || f.m_strFontName.IsEmpty())
            Fail(LoadText(GRID_IDS_VTS_EMPTY_FORMAT));
        if (const CGridJsonValue* size = v.Find("size")) {
            if (!size->IsNumber() || !(size->GetNumber() >= 1 && size->GetNumber() <= 409))
                FailKey(GRID_IDS_VTS_BAD_VALUE, "size");
            f.m_nFontSize = static_cast<int>(std::lround(size->GetNumber() * 20));
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
            const CGridJsonValue* b = v.Find(g_vtsBorderKeys[side]);
            if (!b)
                continue;
            if (!b->IsObject() || !b->Find("style"))
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
        size_t nSheet = m_stack[1].m_pValue->GetSize() - 1;
        if (nSheet >= m_cells.size()) {
            // First cell of a sheet.
            if (m_root.Find("vts"))
                CheckVersion();   // a newer file is reported as such, not by its first unknown detail
            const CGridJsonValue* name = m_stack[2].m_pValue->Find("name");
            if (name && name->IsString())
                m_strWhere = FormatText(GRID_IDS_VTS_AT_SHEET_NAME, static_cast<LPCTSTR>(FromUtf8(name->GetString())));
            else
                m_strWhere = FormatText(GRID_IDS_VTS_AT_SHEET, static_cast<unsigned>(nSheet + 1));
            m_cells.resize(nSheet + 1);
        }

        // One pass over the members: cells are many.
        CFileCell cell;
        const std::string* pAt = nullptr;
        int nContents = 0;
        for (size_t i = 0; i < m_nCellMembers; ++i) {
            const CCellMember& member = m_cellMembers[i];
            const CGridJsonValue& value = member.m_value;
            switch (member.m_nKey) {
            case keyAt:
                if (!value.IsString())
                    FailKey(GRID_IDS_VTS_BAD_VALUE, "at");
                pAt = &value.GetString();
                break;
            case keyNumber:
                if (!value.IsNumber())
                    FailKey(GRID_IDS_VTS_BAD_VALUE, "number");
                cell.m_nKind = CFileCell::number;
                cell.m_dNumber = value.GetNumber();
                break;
            case keyText:
            case keyFormula:
                if (!value.IsString())
                    FailKey(GRID_IDS_VTS_BAD_VALUE, member.m_nKey == keyText ? "text" : "formula");
                cell.m_nKind = member.m_nKey == keyText ? CFileCell::text : CFileCell::formula;
                cell.m_strText = FromUtf8(value.GetString());
                break;
            case keyFmt:
                if (!value.IsInteger() || value.GetInteger() < 1 || value.GetInteger() > INT_MAX)
                    FailKey(GRID_IDS_VTS_BAD_VALUE, "fmt");
                cell.m_nFormat = static_cast<int>(value.GetInteger());
                break;
            case keyOther:
                FailKey(GRID_IDS_VTS_UNKNOWN_KEY, member.m_strOther);
            }
            nContents += member.m_nKey != keyAt && member.m_nKey != keyFmt;
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

    void ReadSheet(const CGridJsonValue& v, std::vector<CFileCell>& cells)
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

        for (const CGridJsonValue& col : Array(v, "columns")) {
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
        for (const CGridJsonValue& row : Array(v, "rows")) {
            Object(row);
            CheckKeys(row, {"row", "height", "hidden"});
            if (!row.Find("row"))
                Fail(LoadText(GRID_IDS_VTS_ROW_NUMBER));
            CGridSheet::CRow& r = sheet.RowAt(Int(row, "row", 1, kGridMaxRows, 1));
            r.m_nHeight = Int(row, "height", 0, kGridMaxRowHeight, -1);
            r.m_bHidden = Bool(row, "hidden", false);
        }
        for (const CGridJsonValue& merge : Array(v, "merges")) {
            CString strRange = merge.IsString() ? FromUtf8(merge.GetString()) : CString();
            int nColon = strRange.Find(L':');
            CGridRange range;
            if (nColon < 0 || !GridParseCellName(strRange.Left(nColon), range.m_nRow1, range.m_nCol1) ||
                !GridParseCellName(strRange.Mid(nColon + 1), range.m_nRow2, range.m_nCol2) ||
                !sheet.MergeCells(range))
                FailKey(GRID_IDS_VTS_BAD_VALUE, "merges");
        }
        // Cells were taken out while reading: anything left in the list is not a cell.
        for (const CGridJsonValue& other : Array(v, "cells"))
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
        // Each row is made up to its last cell at once, the rows down to the last one first: grown cell by cell,
        // a row would be moved to larger room again and again.
        if (!keys.empty())
            sheet.RowAt(CGridCalc::KeyRow(keys.back()));
        for (size_t i = 0; i < keys.size(); ++i)
            if (i + 1 == keys.size() || CGridCalc::KeyRow(keys[i + 1]) != CGridCalc::KeyRow(keys[i]))
                sheet.CellAt(CGridCalc::KeyRow(keys[i]), CGridCalc::KeyCol(keys[i]));
        for (CFileCell& from : cells) {
            if (from.m_nFormat > static_cast<int>(m_formatIndex.size()))
                Fail(FormatText(GRID_IDS_VTS_CELL_BAD_VALUE, static_cast<LPCTSTR>(GridCellName(from.m_nRow, from.m_nCol)), L"fmt"));
            CGridCell& cell = sheet.CellAt(from.m_nRow, from.m_nCol);
            if (from.m_nKind == CFileCell::number)
                cell.SetValue(CGridValue::Number(from.m_dNumber));
            else if (from.m_nKind == CFileCell::text && !from.m_strText.IsEmpty())
                cell.SetValue(CGridValue::Text(std::move(from.m_strText)));
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
    CGridJsonValue m_root;
    std::vector<CLevel> m_stack;
    CGridJsonValue* m_pSlot = nullptr;   // the member named by the last key
    enum { lastOther, lastSheets, lastCells } m_nLastKey = lastOther;   // the last key read, wherever it was
    std::vector<CCellMember> m_cellMembers;   // of the cell being read: the first m_nCellMembers
    size_t m_nCellMembers = 0;
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
