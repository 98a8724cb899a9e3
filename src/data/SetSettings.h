// Table Settings of the data archive: the accounting mode and the archive's version.
#pragma once

#include "data/SetNameValue.h"

class CSetSettings : public CSetNameValue
{
public:
    class Record : public CRecNameValue
    {
    public:
        CADORecord* Clone() const override { return new Record(*this); }
    };

    // On the data-archive connection.
    explicit CSetSettings(CADOConnection& connection) : CSetNameValue(connection) {}

    CString GetTableName() const override { return L"Settings"; }
    CADORecord* GetRecord() override { return &m_rec; }

    static CString GetSetting(CADOConnection& connection, LPCTSTR pszName);
    static void SetSetting(CADOConnection& connection, LPCTSTR pszName, LPCTSTR pszValue);
    // 1: the forecast is broken down by budget chapter; 0 otherwise, whatever else the archive holds.
    static int GetSettingImpExtraCont2(CADOConnection& connection);
    static void SetSettingImpExtraCont2(CADOConnection& connection, int nValue);
    // major * 100 + minor; 0 when the row is missing.
    static int GetSettingVersioneDB(CADOConnection& connection);
    static void SetSettingVersioneDB(CADOConnection& connection, int nValue);

    Record m_rec;
};
