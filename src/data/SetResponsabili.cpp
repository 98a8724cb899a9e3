#include "SetResponsabili.h"

#include "util/MessageText.h"
#include "resource.h"

ADO_BINDING_ENTRY* CRecResponsabile::GetADOBindingEntries()
{
    static ADO_BINDING_ENTRY entries[] = {
        Bind(1, m_ID, FALSE),
        Bind(2, m_responsabile, TRUE),
        Bind(3, m_centroServ, TRUE),
        Bind(4, m_tipoResp, TRUE),
        EndOfBindings(),
    };
    return entries;
}

CString CRecResponsabile::GetTipologiaText() const
{
    return TypeText(IDS_TIPO_AREA);
}

CString CRecResponsabile::GetCaricaText() const
{
    return TypeText(IDS_CARICA_CAPOAREA);
}

// The three texts of each kind have consecutive ids in the order of the types.
CString CRecResponsabile::TypeText(UINT nFirstID) const
{
    if (m_tipoResp.IsNull())
        return CString();
    long nTipo = m_tipoResp.GetValue();
    return nTipo >= tipoArea && nTipo <= tipoServizi ? LoadResString(nFirstID + static_cast<UINT>(nTipo)) : CString();
}

void CSetResponsabili::OpenByCentroServ()
{
    OpenOrderedBy(L"centroServ");
}

void CSetResponsabili::OpenByResponsabile()
{
    OpenOrderedBy(L"responsabile");
}

void CSetResponsabili::OpenOrderedBy(LPCTSTR pszColumn)
{
    CString sql;
    sql.Format(L"SELECT * FROM %s WHERE ID > 0 ORDER BY %s", static_cast<LPCTSTR>(GetTableName()), pszColumn);
    Open(sql, adOpenStatic, adLockReadOnly, adCmdText);
}
