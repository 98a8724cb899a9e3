// Fixture of the application's database tests: a program folder in a temporary folder with its "Prog03.mdb" and a
// data archive, made by the test in the layout of the version it needs, and an application object on it.
#pragma once

#include "app/TheApp.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

class CMainFrame;

// Table SaldoFinProg as version 1.01 made it, without the columns of the mixed basis (Jet SQL script).
extern const LPCTSTR FORECAST_TABLE_101;

// The program folder as the build assembles it, beside the tests' folder.
CString ShippedProgramFolder();

// The main frame as the program's template makes it, on a new document, the application's main window; its
// clock replaced when one is given. Null when it could not be made.
CMainFrame* CreateMainFrame(CTheApp& app, const std::function<COleDateTime()>& clock);

// A responsible centre that no longer exists.
const long DELETED_CENTRE = 99;

class CProgramFolderTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // "Prog03.mdb" whose Config "nomeDB" holds the name.
    void MakeProgramDatabase(LPCTSTR pszNomeDB);
    // A data archive as the given version left it: 0 (1.00) without what 1.01 brought, 101 without what 1.02
    // brought, 150 and later complete; below 200 SaldoFinProg as 1.01 made it and SaldoFinCalc without the key to
    // its centre, holding a row of DELETED_CENTRE. Revenue items 2101..2103 of 2003 hold 100, 20 and 3; one
    // responsible centre "Rossi" besides the totals, with a SaldoFinCalc row.
    void MakeArchive(int nVersion);
    // A fresh application object on the folder, as at a new start of the program.
    CTheApp& StartApp();

    // A connection of the test's own on the archive (the application's ones closed).
    void OpenArchive(CADOConnection& connection);
    static void Execute(CADOConnection& connection, LPCTSTR pszSQL);
    // Runs the statements on the archive through a connection of the test's own, in one transaction.
    void ChangeArchive(LPCTSTR pszScript);
    static _variant_t Scalar(CADOConnection& connection, LPCTSTR pszSQL);
    static long ScalarLong(CADOConnection& connection, LPCTSTR pszSQL);
    // Amount of one row of a balance table as a double; 0 when the row is missing.
    static double ReadAmount(CADOConnection& connection, LPCTSTR pszTable, long nID, LPCTSTR pszField);
    static void WriteAmount(CADOConnection& connection, LPCTSTR pszTable, long nID, LPCTSTR pszField, double value);

    static std::string ReadFileBytes(LPCTSTR pszPath);

    CTempFolder m_folder;
    CString m_archivePath;
    std::unique_ptr<CTheApp> m_pApp;
};
