#include "ImportTestArchive.h"

#include "data/DatabaseSchema.h"
#include "engine/RecalcSaldi.h"
#include "import/ImportRel.h"
#include "import/ImportTarget.h"
#include "resource.h"
#include "support/MessageBoxRecorder.h"
#include "util/MessageText.h"
#include "util/PathUtil.h"

namespace {

BOOL ExistsForTest(LPCTSTR pszPath)
{
    for (LPCTSTR pszExisting : {L"C:\\Program Files\\Tessivar\\unins000.exe", L"C:\\Program Files"})
        if (CString(pszPath).CompareNoCase(pszExisting) == 0)
            return TRUE;
    return FALSE;
}

TEST(UninstallPathTest, QuotedPathsAndPathsWithBlanks)
{
    const struct { LPCTSTR pszCommand; LPCTSTR pszExpected; } cases[] = {
        {L"C:\\Prog\\Setup.exe /u", L"C:\\Prog\\Setup.exe"},
        {L"\"C:\\Program Files\\Tessivar\\unins000.exe\" /SILENT", L"C:\\Program Files\\Tessivar\\unins000.exe"},
        {L"  \"C:\\Tessivar \"quoted\"", L"C:\\Tessivar "},
        {L"\"C:\\No end", L"C:\\No end"},
        {L"C:\\Program Files\\Tessivar\\unins000.exe /u /x", L"C:\\Program Files\\Tessivar\\unins000.exe"},
        {L"C:\\Program Files\\Tessivar\\unins000.exe", L"C:\\Program Files\\Tessivar\\unins000.exe"},
        {L"C:\\Program Files\\Other\\x.exe /u", L"C:\\Program"},   // nothing exists: cut at the first blank
        {L"C:\\Uninstall.exe", L"C:\\Uninstall.exe"},
        {L"", L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CString(c.pszExpected), GetUninstallProgramPath(c.pszCommand, ExistsForTest))
            << CString(c.pszCommand).ToMultiByte(CP_UTF8);
}

// The uninstall entry of the planning product names its program inside a folder with blanks, as a path or
// through an environment variable, in a value of either string type.
TEST(UninstallPathTest, FindDatabaseFollowsTheUninstallEntry)
{
    const LPCTSTR pszKey = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tessivar 2008/10";
    CTempFolder folder;
    CString strProgramDir = folder.File(L"Tessivar 2008");
    ASSERT_TRUE(::CreateDirectoryW(strProgramDir, nullptr));
    ASSERT_TRUE(::CreateDirectoryW(strProgramDir + L"\\Dati 2008", nullptr));
    folder.Write(L"Tessivar 2008\\unins000.exe", "MZ");
    ASSERT_TRUE(::SetEnvironmentVariableW(L"QUARZEL_PROVA_PROGRAMMI", folder.Path()));
    const struct { DWORD dwType; CString strCommand; } entries[] = {
        {REG_SZ, strProgramDir + L"\\unins000.exe /SILENT"},
        {REG_EXPAND_SZ, L"%QUARZEL_PROVA_PROGRAMMI%\\Tessivar 2008\\unins000.exe /SILENT"},
        {REG_SZ, L"\"%QUARZEL_PROVA_PROGRAMMI%\\Tessivar 2008\\unins000.exe\" /SILENT"},
    };
    CString strDatabase = folder.File(L"Tessivar 2008\\Dati 2008\\DB2008.mdb");
    for (const auto& entry : entries) {
        SCOPED_TRACE(entry.strCommand.ToMultiByte(CP_UTF8));
        ::DeleteFileW(strDatabase);
        HKEY hKey = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, pszKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                                   &hKey, nullptr));
        ::RegSetValueExW(hKey, L"UninstallString", 0, entry.dwType,
                         reinterpret_cast<const BYTE*>(entry.strCommand.GetString()),
                         static_cast<DWORD>((entry.strCommand.GetLength() + 1) * sizeof(WCHAR)));
        ::RegCloseKey(hKey);

        EXPECT_TRUE(CImportRel::FindDatabase().IsEmpty()) << "no database yet";
        folder.Write(L"Tessivar 2008\\Dati 2008\\DB2008.mdb", "x");
        EXPECT_EQ(strDatabase, CImportRel::FindDatabase());
        ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, pszKey);
        EXPECT_TRUE(CImportRel::FindDatabase().IsEmpty());
    }
    ::SetEnvironmentVariableW(L"QUARZEL_PROVA_PROGRAMMI", nullptr);
}

const LPCTSTR kSpending[] = {L"T1_TOT_A1", L"T1_TOT_A2", L"T1_TOT_A3", L"T2_TOT_A1", L"T2_TOT_A2",
                             L"T2_TOT_A3", L"T2_CONC_A1", L"T2_CONC_A2", L"T2_CONC_A3"};

class ImportRelTest : public CImportTestArchive
{
protected:
    // A planning database in the program's own format: Entrate rows 101..406 but 405, one null field, and the
    // spending totals in Uscite row 0. A field that the source lacks is left out; a text field (another version
    // of the product) holds the same figures as texts.
    CString MakeSource(bool bWithUscite = true, LPCTSTR pszMissingField = nullptr, LPCTSTR pszTextField = nullptr)
    {
        CString path = m_folder.File(L"DB2008.mdb");
        ::DeleteFileW(path);
        CreateDataArchive(path, Password);
        CADOConnection source;
        OpenConnection(source, path, TRUE);
        auto run = [&](const CString& sql) { source.Execute(sql, nullptr, adCmdText | adExecuteNoRecords); };
        auto type = [&](LPCTSTR pszField) {
            return pszTextField && CString(pszField) == pszTextField ? L" TEXT(50)" : L" CURRENCY";
        };
        if (pszTextField) {
            run(L"DROP TABLE Entrate");
            CString strColumns;
            for (LPCTSTR pszField : {L"Anno1", L"Anno4", L"Anno5", L"Anno6"})
                strColumns += CString(L", ") + pszField + type(pszField);
            run(L"CREATE TABLE Entrate (ID INTEGER NOT NULL" + strColumns + L")");
            run(L"CREATE UNIQUE INDEX PK_ENTRATE ON Entrate (ID) WITH PRIMARY");
        }
        for (long nRow : {101L, 102L, 103L, 201L, 202L, 203L, 204L, 205L, 301L, 302L, 303L, 304L, 305L, 401L, 402L,
                          403L, 404L, 406L}) {
            CString sql;
            sql.Format(L"INSERT INTO Entrate (ID, Anno1, Anno4, Anno5, Anno6) VALUES (%d, %d, %d, %d, %d)",
                       static_cast<int>(nRow), static_cast<int>(nRow), static_cast<int>(nRow) * 10,
                       static_cast<int>(nRow) * 100, static_cast<int>(nRow) * 1000);
            run(sql);
        }
        run(L"UPDATE Entrate SET Anno5 = NULL WHERE ID = 102");
        run(L"DROP TABLE Uscite");
        if (bWithUscite) {
            // Row 0 holds 1..9 in the nine fields.
            CString strColumns, strNames, strValues;
            for (int i = 0; i < 9; ++i) {
                if (pszMissingField && CString(kSpending[i]) == pszMissingField)
                    continue;
                CString strValue;
                strValue.Format(L", %d", i + 1);
                strColumns += CString(L", ") + kSpending[i] + type(kSpending[i]);
                strNames += CString(L", ") + kSpending[i];
                strValues += strValue;
            }
            run(L"CREATE TABLE Uscite (ID INTEGER NOT NULL" + strColumns + L")");
            run(L"CREATE UNIQUE INDEX PK_USCITE ON Uscite (ID) WITH PRIMARY");
            run(L"INSERT INTO Uscite (ID" + strNames + L") VALUES (0" + strValues + L")");
        }
        source.Close();
        return path;
    }

    void Seed()
    {
        Execute(L"DELETE FROM Entrate");
        Execute(L"DELETE FROM SaldoFinProg");
        Put(L"Entrate", 2101, {{L"Anno3", 5}});
        Put(L"Entrate", 2405, {{L"Anno3", 8}});
        Put(L"Entrate", 2502, {{L"Anno3", 9}});      // not supplied by the source
        Put(L"Entrate", 3101, {{L"Anno3", 4}});      // cash
        Put(L"SaldoFinProg", 2102, {{L"Anno5Com", 6}});
        Put(L"SaldoFinProg", 203, {{L"Anno4Com", 3}});
    }
};

TEST_F(ImportRelTest, OptionsOnTheRevenuesOf2005AndTheForecast)
{
    const CString source = MakeSource();
    const double N = Null;
    const struct { LPCTSTR pszTable; long nID; LPCTSTR pszField; double expected[3]; } fields[] = {
        {L"Entrate", 2101, L"Anno3", {101, 101, 5}},
        {L"Entrate", 2406, L"Anno3", {406, 406, 406}},
        {L"Entrate", 2405, L"Anno3", {N, 8, 8}},           // the source lacks row 405
        {L"Entrate", 2502, L"Anno3", {N, 9, 9}},
        {L"Entrate", 3101, L"Anno3", {4, 4, 4}},           // cash rows are never cleared
        {L"SaldoFinProg", 2101, L"Anno6Com", {101000, 101000, 101000}},
        {L"SaldoFinProg", 2102, L"Anno5Com", {N, 6, 6}},   // a null source field is not written
        {L"SaldoFinProg", 201, L"Anno4Com", {1, 1, 1}},
        {L"SaldoFinProg", 202, L"Anno6Com", {6, 6, 6}},
        {L"SaldoFinProg", 203, L"Anno4Com", {7, 7, 3}},
        {L"SaldoFinProg", 203, L"Anno6Com", {9, 9, 9}},
    };
    for (int nOption = 0; nOption <= 2; ++nOption) {
        Seed();
        CMessageBoxRecorder boxes;
        ASSERT_TRUE(CImportRel(m_data, nOption).ImportFrom(source, Password)) << nOption;
        EXPECT_EQ(LoadResString(IDP_IMPORT_DONE), boxes.Last().text);
        for (const auto& f : fields) {
            double expected = f.expected[nOption];
            if (std::isnan(expected))
                EXPECT_TRUE(IsNull(f.pszTable, f.nID, f.pszField)) << f.nID << " option " << nOption;
            else
                EXPECT_EQ(expected, Get(f.pszTable, f.nID, f.pszField)) << f.nID << " option " << nOption;
        }
        std::string imported = DumpBalances();
        ASSERT_TRUE(RecalcSaldi(m_data));
        EXPECT_EQ(imported, DumpBalances()) << nOption;
    }
}

// A source without one of the named fields imports the others and leaves that field's target as it was.
TEST_F(ImportRelTest, FieldMissingFromTheSourceLeavesItsTarget)
{
    const CString source = MakeSource(true, L"T2_CONC_A2");
    Seed();
    Put(L"SaldoFinProg", 203, {{L"Anno4Com", 3}, {L"Anno5Com", 4}});
    CMessageBoxRecorder boxes;
    ASSERT_TRUE(CImportRel(m_data, 1).ImportFrom(source, Password));
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_EQ(LoadResString(IDP_IMPORT_DONE), boxes.Last().text);
    EXPECT_EQ(7, Get(L"SaldoFinProg", 203, L"Anno4Com"));
    EXPECT_EQ(4, Get(L"SaldoFinProg", 203, L"Anno5Com"));
    EXPECT_EQ(9, Get(L"SaldoFinProg", 203, L"Anno6Com"));
    EXPECT_EQ(5, Get(L"SaldoFinProg", 202, L"Anno5Com"));
    EXPECT_EQ(101000, Get(L"SaldoFinProg", 2101, L"Anno6Com"));
}

// A source whose amount field is a text column (another version of the product) imports the texts that are
// amounts; one that is not refuses the whole import, naming its table, row and field: even with option 0 the
// archive keeps every byte.
TEST_F(ImportRelTest, ASourceValueThatIsNoAmountRefusesTheImport)
{
    const struct { LPCTSTR pszTable; long nRow; LPCTSTR pszField; } cases[] = {
        {L"Entrate", 203, L"Anno4"},
        {L"Entrate", 101, L"Anno1"},
        {L"Uscite", 0, L"T2_CONC_A3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(CString(c.pszField).ToMultiByte());
        const CString source = MakeSource(true, nullptr, c.pszField);
        Seed();
        {
            CMessageBoxRecorder boxes;
            ASSERT_TRUE(CImportRel(m_data, importSourceFields).ImportFrom(source, Password));
            EXPECT_EQ(LoadResString(IDP_IMPORT_DONE), boxes.Last().text);
        }
        EXPECT_EQ(2030, Get(L"SaldoFinProg", 2203, L"Anno4Com"));
        EXPECT_EQ(101, Get(L"Entrate", 2101, L"Anno3"));
        EXPECT_EQ(9, Get(L"SaldoFinProg", 203, L"Anno6Com"));

        {
            CADOConnection connection;
            OpenConnection(connection, source, TRUE);
            CString sql;
            sql.Format(L"UPDATE %s SET %s = 'mille euro' WHERE ID = %ld", c.pszTable, c.pszField, c.nRow);
            connection.Execute(sql, nullptr, adCmdText | adExecuteNoRecords);
            connection.Close();
        }
        Seed();
        const std::string before = ArchiveBytes();
        CMessageBoxRecorder boxes;
        EXPECT_FALSE(CImportRel(m_data, importEraseAll).ImportFrom(source, Password));
        ASSERT_EQ(1u, boxes.Count());
        EXPECT_EQ(static_cast<UINT>(MB_ICONWARNING), boxes.LastIcon());
        EXPECT_EQ(FormatResMessage(IDP_IMPREL_BAD_AMOUNT, c.pszTable, c.nRow, c.pszField, L"mille euro"),
                  boxes.Last().text);
        EXPECT_TRUE(before == ArchiveBytes());
    }
}

TEST_F(ImportRelTest, UnreadableSourceLeavesTheArchiveAsItWas)
{
    Seed();
    const struct { const char* name; CString path; } cases[] = {
        {"no spending table", MakeSource(false)},
        {"missing database", m_folder.File(L"none.mdb")},
    };
    for (const auto& c : cases) {
        const std::string before = ArchiveBytes();
        CMessageBoxRecorder boxes;
        EXPECT_FALSE(CImportRel(m_data, 0).ImportFrom(c.path, Password)) << c.name;
        ASSERT_EQ(1u, boxes.Count()) << c.name;
        EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes.LastIcon()) << c.name;
        EXPECT_TRUE(before == ArchiveBytes()) << c.name;
    }
    EXPECT_FALSE(FileExists(m_folder.File(L"none.mdb")));
}

} // namespace
