#include "SetSettings.h"

CString CSetSettings::GetSetting(CADOConnection& connection, LPCTSTR pszName)
{
    return CSetSettings(connection).ReadValue(pszName);
}

void CSetSettings::SetSetting(CADOConnection& connection, LPCTSTR pszName, LPCTSTR pszValue)
{
    CSetSettings(connection).WriteValue(pszName, pszValue);
}

int CSetSettings::GetSettingImpExtraCont2(CADOConnection& connection)
{
    // Only 1 means the chapters: a damaged value reads as the mode without them everywhere, in the recomputation
    // as in the forms, so that no save mixes the two.
    return CSetSettings(connection).ReadNumber(L"imp_extra_cont2") == 1 ? 1 : 0;
}

void CSetSettings::SetSettingImpExtraCont2(CADOConnection& connection, int nValue)
{
    CSetSettings(connection).WriteNumber(L"imp_extra_cont2", nValue);
}

int CSetSettings::GetSettingVersioneDB(CADOConnection& connection)
{
    return CSetSettings(connection).ReadNumber(L"VersioneDB");
}

void CSetSettings::SetSettingVersioneDB(CADOConnection& connection, int nValue)
{
    CSetSettings(connection).WriteNumber(L"VersioneDB", nValue);
}
