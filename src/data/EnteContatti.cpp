#include "EnteContatti.h"

#include "data/SetDati.h"

CEnteContatti ReadEnteContatti(CADOConnection& connection)
{
    CEnteContatti ente;
    const struct
    {
        LPCTSTR pszKey;
        CString CEnteContatti::*pValue;
    } rows[] = {
        { L"ENTE", &CEnteContatti::strEnte }, { L"PROV", &CEnteContatti::strProvincia },
        { L"TEL", &CEnteContatti::strTelefono }, { L"FAX", &CEnteContatti::strFax },
        { L"MAIL", &CEnteContatti::strMail },
    };
    CSetDati set(L"DatiEnte", connection);
    for (const auto& row : rows) {
        if (!set.FindByTextKey(row.pszKey, TRUE))
            continue;
        CString strValue = set.GetFieldString(L"value");
        if (!strValue.IsEmpty())
            ente.*row.pValue = strValue;
    }
    return ente;
}
