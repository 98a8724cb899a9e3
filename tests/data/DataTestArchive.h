// Fixture of the data-layer tests: a new data archive and a new program database made from the schemas in a
// temporary folder, each open on its own connection.
#pragma once

#include "data/ADOConnection.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

class CDataTestArchive : public ::testing::Test
{
protected:
    static const LPCTSTR Password;

    void SetUp() override;
    void TearDown() override;

    // Seek allowed unless a test asks for the query road.
    void OpenDatabases(BOOL bSeekAllowed);
    static void OpenConnection(CADOConnection& connection, const CString& path, BOOL bSeekAllowed);
    void Execute(LPCTSTR pszSQL) { m_data.Execute(pszSQL, nullptr, adCmdText | adExecuteNoRecords); }
    // The first column of the first row of a query on the archive.
    _variant_t Scalar(LPCTSTR pszSQL);
    long ScalarLong(LPCTSTR pszSQL) { return static_cast<long>(Scalar(pszSQL)); }

    CTempFolder m_folder;
    CString m_dataPath;
    CString m_progPath;
    CADOConnection m_data;
    CADOConnection m_prog;
};
