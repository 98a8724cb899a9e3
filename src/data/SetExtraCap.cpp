#include "SetExtraCap.h"

ADO_BINDING_ENTRY* CRecExtraCap::GetADOBindingEntries()
{
    static ADO_BINDING_ENTRY entries[] = {
        Bind(1, m_ID, FALSE),
        Bind(2, m_idResp, TRUE),
        Bind(3, m_codUEB, TRUE),
        Bind(4, m_capitolo, TRUE),
        Bind(5, m_articolo, TRUE),
        Bind(6, m_importoComp, TRUE),
        Bind(7, m_importoCassa, TRUE),
        EndOfBindings(),
    };
    return entries;
}

CSetExtraCap::CSetExtraCap(CADOConnection& connection, int nKind)
    : CTableRecordset(connection, TableOf(nKind), L"ID")
{
}

LPCTSTR CSetExtraCap::TableOf(int nKind)
{
    return nKind == kindSpese ? L"ExtraSpeseCap" : L"ExtraEntrCap";
}

// The centre is a parameter: each text is prepared once for every centre.
void CSetExtraCap::OpenQuery(LPCTSTR pszFormat, long nIdResp)
{
    CString sql;
    sql.Format(pszFormat, static_cast<LPCTSTR>(GetTableName()));
    _variant_t centre(nIdResp);
    OpenWithParameters(sql, 1, &centre);
}

void CSetExtraCap::OpenByResp(long nIdResp)
{
    OpenQuery(L"SELECT * FROM %s WHERE idResp=? ORDER BY codUEB, capitolo, articolo", nIdResp);
}

void CSetExtraCap::OpenSumsByTitle(long nIdResp)
{
    OpenQuery(L"SELECT NULL, idResp, codUEB \\ 1000000, NULL, NULL, SUM(importoComp), SUM(importoCassa) "
              L"FROM %s WHERE idResp=? GROUP BY idResp, codUEB \\ 1000000", nIdResp);
}

void CSetExtraCap::OpenSums406(long nIdResp)
{
    OpenQuery(L"SELECT NULL, idResp, NULL, NULL, NULL, SUM(importoComp), SUM(importoCassa) "
              L"FROM %s WHERE idResp=? AND codUEB LIKE '406____' GROUP BY idResp", nIdResp);
}

void CSetExtraCap::OpenSums2xx10(long nIdResp)
{
    OpenQuery(L"SELECT NULL, idResp, NULL, NULL, NULL, SUM(importoComp), SUM(importoCassa) "
              L"FROM %s WHERE idResp=? AND codUEB LIKE '2____10' GROUP BY idResp", nIdResp);
}

void CSetExtraCap::LoadChapterCodes(CChapterCodesMap& map)
{
    map.RemoveAll();
    Open(nullptr, adOpenStatic, adLockReadOnly, adCmdTableDirect);
    for (; !IsEOF(); MoveNext())
        map.SetAt(m_rec.m_capitolo.GetValue(), m_rec.m_codUEB.GetText());
}

void CSetExtraCap::DeleteExtraCapRow(CADOConnection& connection, int nKind, long nID)
{
    CString sql;
    sql.Format(L"DELETE FROM %s WHERE ID=%d", TableOf(nKind), static_cast<int>(nID));
    connection.Execute(sql, nullptr, adCmdText | adExecuteNoRecords);
}

bool CSetExtraCap::BuildExtraCapTotals(CADOConnection& connection, int nKind)
{
    CADOTransaction transaction(connection);

    CSetExtraCap oldTotals(connection, nKind);
    CString sql;
    sql.Format(L"SELECT * FROM %s WHERE idResp = 0", TableOf(nKind));
    oldTotals.Open(sql, adOpenStatic, adLockOptimistic, adCmdText);
    for (; !oldTotals.IsEOF(); oldTotals.MoveNext())
        oldTotals.Delete();

    CSetExtraCap totals(connection, nKind);
    totals.OpenNullKey();

    CSetExtraCap sums(connection, nKind);
    sql.Format(L"SELECT NULL, 0, codUEB, capitolo, NULL, SUM(importoComp), SUM(importoCassa) FROM %s "
               L"WHERE idResp <> 0 GROUP BY codUEB, capitolo", TableOf(nKind));
    sums.Open(sql, adOpenStatic, adLockReadOnly, adCmdText);
    for (; !sums.IsEOF(); sums.MoveNext()) {
        CRecExtraCap& total = totals.m_rec;
        const CRecExtraCap& sum = sums.m_rec;
        total.m_ID.SetNull();   // numbered by the database, not again the previous row's number
        total.m_idResp = sum.m_idResp;
        total.m_codUEB.SetText(sum.m_codUEB.GetText());
        total.m_capitolo = sum.m_capitolo;
        total.m_importoComp = sum.m_importoComp;
        total.m_importoCassa = sum.m_importoCassa;
        totals.AddNew();
    }

    transaction.Commit();
    return true;
}
