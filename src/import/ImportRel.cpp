#include "ImportRel.h"

#include "data/DatabasePassword.h"
#include "engine/RecalcSaldi.h"
#include "engine/SetSaldi.h"
#include "import/ImportTarget.h"
#include "platform/mfc/afxmsgbox.h"
#include "resource.h"
#include "util/MessageText.h"
#include "util/PathUtil.h"

#include <algorithm>
#include <iterator>

namespace {

// Source revenue rows; the target row is 2000 above.
const long kRevenueRows[] = {101, 102, 103, 201, 202, 203, 204, 205, 301, 302, 303, 304, 305,
                             401, 402, 403, 404, 405, 406};
const LPCTSTR kRevenueFields[] = {L"Anno1", L"Anno4", L"Anno5", L"Anno6"};
const LPCTSTR kSpendingFields[] = {L"T1_TOT_A1", L"T1_TOT_A2", L"T1_TOT_A3", L"T2_TOT_A1", L"T2_TOT_A2",
                                   L"T2_TOT_A3", L"T2_CONC_A1", L"T2_CONC_A2", L"T2_CONC_A3"};
const LPCTSTR kForecastFields[] = {L"Anno4Com", L"Anno5Com", L"Anno6Com"};

COleCurrency NullCurrency()
{
    COleCurrency value;
    value.SetStatus(COleCurrency::null);
    return value;
}

// A source without the field leaves its target unchanged: the planning product's versions differ in columns.
COleCurrency ReadAmount(const CSetSaldi& set, LPCTSTR pszField)
{
    return set.HasColumn(pszField) ? set.GetFieldAmount(pszField) : NullCurrency();
}

} // namespace

CString GetUninstallProgramPath(LPCTSTR pszCommand, BOOL (*pfnFileExists)(LPCTSTR))
{
    CString strCommand(pszCommand);
    strCommand.TrimLeft();
    if (strCommand.Left(1) == L"\"") {
        int nClose = strCommand.Find(L'"', 1);
        return nClose < 0 ? strCommand.Mid(1) : strCommand.Mid(1, nClose - 1);
    }
    for (int nBlank = strCommand.Find(L' '); nBlank >= 0; nBlank = strCommand.Find(L' ', nBlank + 1)) {
        CString strPart = strCommand.Left(nBlank);
        if (pfnFileExists(strPart) && !IsDirectory(strPart))
            return strPart;
    }
    if (pfnFileExists(strCommand))
        return strCommand;
    int nFirst = strCommand.Find(L' ');
    return nFirst < 0 ? strCommand : strCommand.Left(nFirst);
}

CImportRel::CImportRel(CADOConnection& data, int nOption) : m_data(data), m_nOption(nOption)
{
}

CString CImportRel::FindDatabase()
{
    HKEY hKey = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tessivar 2008/10",
                        0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return CString();
    WCHAR szValue[1024] = {};
    DWORD cbValue = sizeof(szValue) - sizeof(WCHAR);
    DWORD dwType = 0;
    LONG nResult = ::RegQueryValueExW(hKey, L"UninstallString", nullptr, &dwType, reinterpret_cast<BYTE*>(szValue),
                                      &cbValue);
    ::RegCloseKey(hKey);
    if (nResult != ERROR_SUCCESS || (dwType != REG_SZ && dwType != REG_EXPAND_SZ))
        return CString();
    // Installers write the program folder as "%ProgramFiles%\..." in either string type.
    WCHAR szExpanded[2048] = {};
    DWORD nExpanded = ::ExpandEnvironmentStringsW(szValue, szExpanded, static_cast<DWORD>(std::size(szExpanded)));
    CString strProgram = GetUninstallProgramPath(nExpanded && nExpanded <= std::size(szExpanded) ? szExpanded : szValue,
                                                 FileExists);
    CString strDatabase = CombinePath(GetPathDir(strProgram), L"Dati 2008\\DB2008.mdb");
    return FileExists(strDatabase) ? strDatabase : CString();
}

bool CImportRel::Import()
{
    CString strDatabase = FindDatabase();
    if (strDatabase.IsEmpty()) {
        AfxMessageBox(IDP_IMPREL_NOT_FOUND, MB_ICONWARNING);
        return false;
    }
    return ImportFrom(strDatabase, GetArchivePassword());
}

bool CImportRel::ImportFrom(LPCTSTR pszDatabase, LPCTSTR pszPassword)
{
    CADOConnection source;
    try {
        source.CreateConnection();
        source.Open(CADOConnection::FormatConnectionString(pszDatabase, pszPassword), TRUE);
        bool bRead = ReadSource(source);
        source.Close();
        if (!bRead)
            return false;
    }
    catch (const _com_error& e) {
        ShowImportError(e, source);
        return false;
    }
    catch (CException* e) {
        ShowImportError(e);
        return false;
    }

    return StoreImport(m_data, [&] {
        WriteEntrate();
        WriteSaldoFinProg();
        RecalcSaldi(m_data);
    });
}

bool CImportRel::ReadSource(CADOConnection& source)
{
    m_revenues.clear();
    {
        CSetSaldi entrate(L"Entrate", source);
        entrate.OpenRows(CSetSaldi::readOnly);
        for (long nRow : kRevenueRows) {
            if (entrate.FindRow(nRow) &&
                !ReadAmounts(entrate, nRow, kRevenueFields, m_revenues[nRow].values, kRevenueFieldCount))
                return false;
        }
    }
    CSetSaldi uscite(L"Uscite", source);
    uscite.OpenRows(CSetSaldi::readOnly);
    if (uscite.FindRow(0))
        return ReadAmounts(uscite, 0, kSpendingFields, m_spending, kSpendingFieldCount);
    std::fill(std::begin(m_spending), std::end(m_spending), NullCurrency());
    return true;
}

// A value that is no amount refuses the import: skipped, it would leave its target as it was while the import
// reports success.
bool CImportRel::ReadAmounts(const CSetSaldi& set, long nRow, const LPCTSTR* pFields, COleCurrency* pValues,
                             int nCount)
{
    for (int i = 0; i < nCount; ++i) {
        pValues[i] = ReadAmount(set, pFields[i]);
        if (pValues[i].GetStatus() == COleCurrency::invalid) {
            AfxMessageBox(FormatResMessage(IDP_IMPREL_BAD_AMOUNT, set.GetTableName(), nRow, pFields[i],
                                           set.GetFieldString(pFields[i])),
                          MB_ICONWARNING);
            return false;
        }
    }
    return true;
}

void CImportRel::WriteAmounts(CSetSaldi& set, long nID, const LPCTSTR* pFields, const COleCurrency* pValues,
                              int nCount)
{
    set.FindOrAddRow(nID);
    for (int i = 0; i < nCount; ++i) {
        if (pValues[i].GetStatus() == COleCurrency::valid)
            WriteImportedAmount(set, pFields[i], pValues[i], m_nOption);
    }
    set.UpdateRow();
}

void CImportRel::WriteEntrate()
{
    if (m_nOption == importEraseAll)
        ClearEntrateYear(m_data, 3);
    CSetSaldi set(L"Entrate", m_data);
    set.OpenRows(CSetSaldi::forUpdate);
    static const LPCTSTR target[] = {L"Anno3"};
    for (long nRow : kRevenueRows) {
        auto found = m_revenues.find(nRow);
        COleCurrency value = found != m_revenues.end() ? found->second.values[0] : NullCurrency();
        WriteAmounts(set, nRow + 2000, target, &value, 1);
    }
}

void CImportRel::WriteSaldoFinProg()
{
    CSetSaldi set(L"SaldoFinProg", m_data);
    if (m_nOption == importEraseAll) {
        for (LPCTSTR pszField : kForecastFields)
            set.ClearColumn(pszField);
    }
    set.OpenRows(CSetSaldi::forUpdate);
    for (long nRow : kRevenueRows) {
        auto found = m_revenues.find(nRow);
        COleCurrency values[3] = {NullCurrency(), NullCurrency(), NullCurrency()};
        if (found != m_revenues.end())
            std::copy(found->second.values + 1, found->second.values + kRevenueFieldCount, values);
        WriteAmounts(set, nRow + 2000, kForecastFields, values, 3);
    }
    for (int nTotal = 0; nTotal < 3; ++nTotal)
        WriteAmounts(set, 201 + nTotal, kForecastFields, m_spending + 3 * nTotal, 3);
}
