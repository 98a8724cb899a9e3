#include "ProgramFolder.h"

#include "app/CompactDatabase.h"
#include "data/DatabasePassword.h"
#include "resource.h"
#include "support/MessageBoxRecorder.h"
#include "util/MessageText.h"
#include "util/PathUtil.h"

#include <vector>

namespace {

class Compaction : public CProgramFolderTest
{
protected:
    void SetUp() override
    {
        CProgramFolderTest::SetUp();
        MakeArchive(200);
        CADOConnection connection;
        OpenArchive(connection);
        CADOTransaction transaction(connection);
        // Many rows, most of them deleted again: their pages stay in the file until it is compacted.
        CString strFiller(L'x', 250);   // the width of the column
        for (int i = 0; i < 2000; ++i)
            Execute(connection, FormatString(L"INSERT INTO [DatiEnte] ([ID], [value]) VALUES ('k%04d', '%s')", i,
                                             strFiller.GetString()));
        Execute(connection, L"DELETE FROM [DatiEnte] WHERE [ID] NOT LIKE 'k%00'");
        transaction.Commit();
        m_rows = ReadRows(connection);
        connection.Close();
        ASSERT_EQ(20u, m_rows.size());
    }

    static std::vector<CString> ReadRows(CADOConnection& connection)
    {
        std::vector<CString> rows;
        _RecordsetPtr rs =
            connection.Execute(L"SELECT [ID], [value] FROM [DatiEnte] ORDER BY [ID]", nullptr, adCmdText);
        for (; !rs->GetEOF(); rs->MoveNext())
            rows.push_back(CString(static_cast<LPCWSTR>(_bstr_t(rs->GetCollect(_variant_t(0L))))) + L"=" +
                           static_cast<LPCWSTR>(_bstr_t(rs->GetCollect(_variant_t(1L)))));
        return rows;
    }

    static LONGLONG FileSize(LPCTSTR pszPath)
    {
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        if (!::GetFileAttributesExW(pszPath, GetFileExInfoStandard, &data))
            return -1;
        return (static_cast<LONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    }

    CString TempPath() const { return m_archivePath + L".TEMP"; }

    std::vector<CString> m_rows;
};

TEST_F(Compaction, MaintenanceShrinksTheArchiveKeepsEveryRowAndReopens)
{
    CTheApp& app = StartApp();
    ASSERT_TRUE(app.OpenDatabase());
    LONGLONG nBefore = FileSize(m_archivePath);

    CMessageBoxRecorder messages;
    EXPECT_TRUE(app.MaintainArchives());
    ASSERT_EQ(1u, messages.Count());
    EXPECT_EQ(CString(L"Manutenzione archivi completata con successo."), messages.Last().text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION), messages.LastIcon());

    EXPECT_TRUE(app.GetProgConnection().IsOpen());
    ASSERT_TRUE(app.GetDataConnection().IsOpen());
    EXPECT_EQ(m_rows, ReadRows(app.GetDataConnection()));
    EXPECT_EQ(123.0, ReadAmount(app.GetDataConnection(), L"Entrate", 2104, L"Anno1"));
    app.CloseDatabase();
    EXPECT_LT(FileSize(m_archivePath), nBefore / 2);
    EXPECT_FALSE(FileExists(TempPath()));
}

TEST_F(Compaction, MaintenanceThatFailsStillReopensTheDatabases)
{
    CTheApp& app = StartApp();
    ASSERT_TRUE(app.OpenDatabase());
    // A folder where the copy goes cannot be removed: the compaction fails before it starts.
    ASSERT_TRUE(::CreateDirectoryW(TempPath(), nullptr));
    CMessageBoxRecorder messages;
    EXPECT_TRUE(app.MaintainArchives());
    ASSERT_EQ(1u, messages.Count());
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), messages.LastIcon());
    ASSERT_TRUE(app.GetDataConnection().IsOpen());
    EXPECT_EQ(m_rows, ReadRows(app.GetDataConnection()));
    EXPECT_TRUE(::RemoveDirectoryW(TempPath()));
}

// The program cannot run on with closed databases: as after a backup or a restore, it is told to end.
TEST_F(Compaction, DatabasesThatDoNotOpenAgainEndTheProgram)
{
    CTheApp& app = StartApp();
    ASSERT_TRUE(app.OpenDatabase());
    app.CloseDatabase();
    HANDLE h = ::CreateFileW(m_archivePath, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    DWORD written = 0;
    ::WriteFile(h, "rovinato", 8, &written, nullptr);
    ::CloseHandle(h);
    MSG msg = {};
    while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }

    CMessageBoxRecorder messages;
    EXPECT_FALSE(app.MaintainArchives());
    ASSERT_LE(2u, messages.Count());
    EXPECT_EQ(LoadResString(IDP_DATABASES_LOST), messages.Last().text);
    EXPECT_FALSE(app.GetDataConnection().IsOpen());
    EXPECT_FALSE(app.GetProgConnection().IsOpen());
    EXPECT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(Compaction, ReplacesACopyLeftByAnInterruptedCompaction)
{
    // The copy holds an older state of the archive: it must not come back.
    ASSERT_TRUE(::CopyFileW(m_archivePath, TempPath(), FALSE));
    {
        CADOConnection connection;
        OpenArchive(connection);
        Execute(connection, L"DELETE FROM [DatiEnte] WHERE [ID] = 'k0000'");
        m_rows = ReadRows(connection);
        connection.Close();
    }
    EXPECT_TRUE(CompactDatabase(m_archivePath, GetArchivePassword()));
    EXPECT_FALSE(FileExists(TempPath()));
    CADOConnection connection;
    OpenArchive(connection);
    EXPECT_EQ(m_rows, ReadRows(connection));
    connection.Close();
}

TEST_F(Compaction, AFailedSwapLeavesTheArchiveInPlaceAndUsable)
{
    std::string before = ReadFileBytes(m_archivePath);
    CMessageBoxRecorder messages;
    auto failingSwap = [](LPCTSTR, LPCTSTR) -> BOOL {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    };
    EXPECT_FALSE(CompactDatabase(m_archivePath, GetArchivePassword(), failingSwap));
    ASSERT_EQ(1u, messages.Count());
    EXPECT_EQ(GetSystemErrorText(ERROR_ACCESS_DENIED), messages.Last().text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), messages.LastIcon());
    EXPECT_TRUE(before == ReadFileBytes(m_archivePath)) << "the archive changed";
    EXPECT_FALSE(FileExists(TempPath()));

    CTheApp& app = StartApp();
    ASSERT_TRUE(app.OpenDatabase());
    EXPECT_EQ(m_rows, ReadRows(app.GetDataConnection()));
}

TEST_F(Compaction, AWrongPasswordCompactsNothing)
{
    std::string before = ReadFileBytes(m_archivePath);
    CMessageBoxRecorder messages;
    EXPECT_FALSE(CompactDatabase(m_archivePath, GetProgDatabasePassword()));
    ASSERT_EQ(1u, messages.Count());
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), messages.LastIcon());
    EXPECT_TRUE(before == ReadFileBytes(m_archivePath)) << "the archive changed";
    EXPECT_FALSE(FileExists(TempPath()));
}

} // namespace
