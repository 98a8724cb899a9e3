#include "EngineTestArchive.h"

#include "data/SetDati.h"
#include "data/SetSettings.h"
#include "util/NumberFormat.h"

void CEngineTestArchive::Put(LPCTSTR pszTable, long nID, std::initializer_list<CAmount> amounts, long nIdResp)
{
    CSetDati set(pszTable, m_data);
    set.Open(nullptr, adOpenStatic, adLockOptimistic, adCmdTableDirect);
    _variant_t key(nID);
    bool bFound = nIdResp == NoResp ? set.FindByKey(1, &key, TRUE) : set.FindByIdAndResp(nID, nIdResp, TRUE);
    if (!bFound) {
        CString text;
        text.Format(L"%d", static_cast<int>(nID));
        if (nIdResp == NoResp)
            set.AddNewWithKey(text);
        else
            set.AddNewWithIdAndResp(nID, nIdResp);
    }
    for (const CAmount& amount : amounts) {
        COleCurrency value = CurrencyFromDouble(amount.value);
        if (std::isnan(amount.value))
            value.SetStatus(COleCurrency::null);
        set.SetFieldCurrency(amount.pszField, value);
    }
    set.UpdateRow();
}

void CEngineTestArchive::PutYears(LPCTSTR pszTable, long nID, double anno1, double anno2, double anno3)
{
    Put(pszTable, nID, {{L"Anno1", anno1}, {L"Anno2", anno2}, {L"Anno3", anno3}});
}

_variant_t CEngineTestArchive::Value(LPCTSTR pszTable, long nID, LPCTSTR pszField, long nIdResp, bool& bFound)
{
    CString sql;
    sql.Format(L"SELECT %s FROM %s WHERE ID = %d", pszField, pszTable, static_cast<int>(nID));
    if (nIdResp != NoResp)
        sql.AppendFormat(L" AND idResp = %d", static_cast<int>(nIdResp));
    _RecordsetPtr result = m_data.Execute(sql, nullptr, adCmdText);
    bFound = !result->GetEOF();
    return bFound ? result->GetCollect(_variant_t(0L)) : _variant_t();
}

double CEngineTestArchive::Get(LPCTSTR pszTable, long nID, LPCTSTR pszField, long nIdResp)
{
    bool bFound;
    _variant_t value = Value(pszTable, nID, pszField, nIdResp, bFound);
    if (!bFound || value.vt != VT_CY) {
        ADD_FAILURE() << CString(pszTable).ToMultiByte(CP_UTF8) << " " << nID << "/" << nIdResp << " "
                      << CString(pszField).ToMultiByte(CP_UTF8) << (bFound ? " is null" : " is missing");
        return NAN;
    }
    return CADOCurrency::CurrencyToDouble(value.cyVal);
}

bool CEngineTestArchive::HasRow(LPCTSTR pszTable, long nID, long nIdResp)
{
    bool bFound;
    Value(pszTable, nID, L"ID", nIdResp, bFound);
    return bFound;
}

bool CEngineTestArchive::IsNull(LPCTSTR pszTable, long nID, LPCTSTR pszField, long nIdResp)
{
    bool bFound;
    _variant_t value = Value(pszTable, nID, pszField, nIdResp, bFound);
    EXPECT_TRUE(bFound) << nID;
    return value.vt == VT_NULL;
}

void CEngineTestArchive::ExpectYears(LPCTSTR pszTable, long nID, double anno1, double anno2, double anno3)
{
    EXPECT_EQ(anno1, Get(pszTable, nID, L"Anno1")) << nID;
    EXPECT_EQ(anno2, Get(pszTable, nID, L"Anno2")) << nID;
    EXPECT_EQ(anno3, Get(pszTable, nID, L"Anno3")) << nID;
}

long CEngineTestArchive::AddCentre(LPCTSTR pszName)
{
    CString sql;
    sql.Format(L"INSERT INTO Responsabili (responsabile, centroServ) VALUES ('%s', '%s')", pszName, pszName);
    Execute(sql);
    return ScalarLong(L"SELECT MAX(ID) FROM Responsabili");
}

void CEngineTestArchive::SetAccountingMode(int nMode)
{
    CSetSettings::SetSettingImpExtraCont2(m_data, nMode);
}
