#include "SetCapitoli.h"

ADO_BINDING_ENTRY* CRecCapitolo::GetADOBindingEntries()
{
    static ADO_BINDING_ENTRY entries[] = {
        Bind(1, m_ID, TRUE),
        Bind(2, m_descrizione, TRUE),
        Bind(3, m_codUEB, TRUE),
        EndOfBindings(),
    };
    return entries;
}

CSetCapitoli::CSetCapitoli(CADOConnection& connection, int nKind)
    : CTableRecordset(connection, nKind == kindSpese ? L"CapSpese" : L"CapEntrate", L"ID")
{
}

void CSetCapitoli::OpenOrderedById()
{
    CString sql;
    sql.Format(L"SELECT * FROM %s ORDER BY ID", static_cast<LPCTSTR>(GetTableName()));
    Open(sql, adOpenStatic, adLockReadOnly, adCmdText);
}

void CSetCapitoli::LoadCapitoliMap(CADOConnection& connection, int nKind, CCapitoliMap& map)
{
    map.RemoveAll();
    CSetCapitoli set(connection, nKind);
    set.Open(nullptr, adOpenStatic, adLockReadOnly, adCmdTableDirect);
    for (; !set.IsEOF(); set.MoveNext())
        map.SetAt(set.m_rec.m_ID.GetValue(), set.m_rec);
}
