// Table Config of the program database: the year, the data archive's file name and the version.
#pragma once

#include "data/SetNameValue.h"

class CRecConfig : public CRecNameValue
{
};

class CSetConfig : public CSetNameValue
{
public:
    // On the program-database connection.
    explicit CSetConfig(CADOConnection& connection) : CSetNameValue(connection) {}

    CString GetTableName() const override { return L"Config"; }
    CADORecord* GetRecord() override { return &m_rec; }

    static CString GetConfig(CADOConnection& connection, LPCTSTR pszName);
    static void SetConfig(CADOConnection& connection, LPCTSTR pszName, LPCTSTR pszValue);
    static int GetConfigAnno(CADOConnection& connection);
    static int GetConfigVersione(CADOConnection& connection);
    // The data archive's file name, relative to the program folder.
    static CString GetConfigNomeDB(CADOConnection& connection);

    CRecConfig m_rec;
};
