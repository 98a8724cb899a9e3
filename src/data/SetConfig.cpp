#include "SetConfig.h"

CString CSetConfig::GetConfig(CADOConnection& connection, LPCTSTR pszName)
{
    return CSetConfig(connection).ReadValue(pszName);
}

void CSetConfig::SetConfig(CADOConnection& connection, LPCTSTR pszName, LPCTSTR pszValue)
{
    CSetConfig(connection).WriteValue(pszName, pszValue);
}

int CSetConfig::GetConfigAnno(CADOConnection& connection)
{
    return CSetConfig(connection).ReadNumber(L"anno");
}

int CSetConfig::GetConfigVersione(CADOConnection& connection)
{
    return CSetConfig(connection).ReadNumber(L"versione");
}

CString CSetConfig::GetConfigNomeDB(CADOConnection& connection)
{
    return GetConfig(connection, L"nomeDB");
}
