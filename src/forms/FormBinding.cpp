#include "FormBinding.h"

#include "data/SetDati.h"
#include "engine/BalanceRows.h"
#include "platform/grid/GridAddress.h"
#include "util/MessageText.h"
#include "resource.h"

#include <cstdlib>
#include <map>
#include <vector>

namespace
{
// The columns of the archive's tables, read once per table; a table the archive lacks has no entry.
class CArchiveColumns
{
public:
    explicit CArchiveColumns(CADOConnection& data) : m_data(data) {}

    BOOL HasTable(const CString& strTable) { return Columns(strTable) != nullptr; }
    BOOL HasField(const CString& strTable, const CString& strField)
    {
        const std::vector<CString>* pColumns = Columns(strTable);
        if (pColumns)
            for (const CString& strColumn : *pColumns)
                if (strColumn.CompareNoCase(strField) == 0)
                    return TRUE;
        return FALSE;
    }

private:
    const std::vector<CString>* Columns(const CString& strTable)
    {
        CString strKey = strTable;
        strKey.MakeUpper();
        auto it = m_tables.find(strKey);
        if (it == m_tables.end())
            it = m_tables.emplace(strKey, ReadColumns(strTable)).first;
        return it->second.first ? &it->second.second : nullptr;
    }

    std::pair<BOOL, std::vector<CString>> ReadColumns(const CString& strTable)
    {
        std::vector<CString> columns;
        if (strTable.IsEmpty() || strTable.FindOneOf(L"[]") >= 0)
            return {FALSE, columns};
        CSetDati set(strTable, m_data);
        try {
            set.Open(L"SELECT * FROM [" + strTable + L"] WHERE 1 = 0", adOpenStatic, adLockReadOnly, adCmdText);
        } catch (const _com_error&) {
            return {FALSE, columns};   // no such table
        }
        FieldsPtr fields = set.GetFields();
        for (long i = 0; i < fields->GetCount(); ++i)
            columns.push_back(CString(static_cast<LPCWSTR>(fields->GetItem(_variant_t(i))->GetName())));
        return {TRUE, columns};
    }

    CADOConnection& m_data;
    std::map<CString, std::pair<BOOL, std::vector<CString>>> m_tables;
};
} // namespace

BOOL IsKnownFormRow(const CString& strTable, const CString& strRow)
{
    if (strTable.CompareNoCase(L"DatiEnte") == 0) {
        static const LPCTSTR s_keys[] = {L"ENTE", L"PIVA", L"TEL", L"FAX", L"MAIL", L"INDIRIZZO", L"CAP", L"CITY",
                                         L"PROV"};
        for (LPCTSTR pszKey : s_keys)
            if (strRow == pszKey)
                return TRUE;
        return FALSE;
    }
    // The budget tables are keyed by numbers: the key is a whole number written plainly.
    LPTSTR pszEnd = nullptr;
    long nRow = std::wcstol(strRow, &pszEnd, 10);
    if (strRow.IsEmpty() || *pszEnd != 0 || strRow[0] == L'+' || strRow[0] == L'-' || strRow[0] == L' ')
        return FALSE;
    return IsBalanceRow(strTable, nRow);
}

namespace
{
// Calls check(sheet, row, column, cell, table in force) for every described cell that names a row or a field,
// in the order the views walk them, until it returns FALSE.
template <class Check>
BOOL ForEachBoundCell(const CFormInfo& info, Check check)
{
    for (int s = 0; s < info.GetSize(); ++s) {
        const CSheetInfo& sheet = info[s];
        CString strTable = sheet.m_strTable;
        for (int r = 1; r < sheet.GetSize(); ++r)
            for (int c = 1; c < sheet[r].GetSize(); ++c) {
                const CCellInfo& cell = sheet[r][c];
                if (cell.m_nKind == formKindNone)
                    continue;
                if (!cell.m_strT.IsEmpty())
                    strTable = cell.m_strT;
                if ((!cell.m_strR.IsEmpty() || !cell.m_strF.IsEmpty()) && !check(sheet, r, c, cell, strTable))
                    return FALSE;
            }
    }
    return TRUE;
}
} // namespace

BOOL CheckFormBinding(const CFormInfo& info, CADOConnection& data, CString& strError)
{
    CArchiveColumns archive(data);
    return ForEachBoundCell(info, [&](const CSheetInfo& sheet, int r, int c, const CCellInfo& cell,
                                      const CString& strTable) {
        if (!archive.HasTable(strTable)) {
            strError = FormatResMessage(IDP_FORM_NO_TABLE, GridCellName(r, c), sheet.m_strSheetName, strTable);
            return FALSE;
        }
        if (!cell.m_strF.IsEmpty() && !archive.HasField(strTable, cell.m_strF)) {
            strError = FormatResMessage(IDP_FORM_NO_FIELD, GridCellName(r, c), sheet.m_strSheetName, cell.m_strF,
                                        strTable);
            return FALSE;
        }
        return TRUE;
    });
}

BOOL CheckFormRows(const CFormInfo& info, CString& strError)
{
    return ForEachBoundCell(info, [&](const CSheetInfo& sheet, int r, int c, const CCellInfo& cell,
                                      const CString& strTable) {
        if (!cell.m_strR.IsEmpty() && !IsKnownFormRow(strTable, cell.m_strR)) {
            strError = FormatResMessage(IDP_FORM_NO_ROW, GridCellName(r, c), sheet.m_strSheetName, cell.m_strR,
                                        strTable);
            return FALSE;
        }
        return TRUE;
    });
}
