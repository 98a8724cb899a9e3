#include "ProgramFolder.h"

#include "app/ArchiveRestore.h"
#include "data/DatabasePassword.h"
#include "resource.h"
#include "support/MessageBoxRecorder.h"
#include "support/ZipBuilder.h"
#include "util/MessageText.h"
#include "util/PathUtil.h"

#include <functional>
#include <map>

namespace {

const char ITEM_NAME[] = "Dati/Archivio.mdb";
const LPCTSTR OUTSIDE_NAME = L"quarzel_evil_x";

class ArchiveRestore : public CProgramFolderTest
{
protected:
    void SetUp() override
    {
        CProgramFolderTest::SetUp();
        MakeProgramDatabase(L"Dati/Archivio.mdb");
        MakeArchive(200);
        CADOConnection connection;
        OpenArchive(connection);
        Execute(connection, L"INSERT INTO [DatiEnte] ([ID], [value]) VALUES ('origine', 'salvataggio')");
        connection.Close();
        m_backup = ReadFileBytes(m_archivePath);
        OpenArchive(connection);
        Execute(connection, L"UPDATE [DatiEnte] SET [value] = 'attuale' WHERE [ID] = 'origine'");
        connection.Close();
    }

    CString Origin()
    {
        CADOConnection connection;
        OpenArchive(connection);
        CString strValue = static_cast<LPCWSTR>(
            _bstr_t(Scalar(connection, L"SELECT [value] FROM [DatiEnte] WHERE [ID] = 'origine'")));
        connection.Close();
        return strValue;
    }

    CString WriteZip(const std::string& bytes) { return m_folder.Write(L"backup.zip", bytes); }

    CArchiveRestore MakeRestore(PFN_REPLACE_FILE pfnReplace = ReplaceFileAtomically)
    {
        return CArchiveRestore(m_archivePath, L"Dati\\Archivio.mdb", CTheApp::ARCHIVE_VERSION, pfnReplace);
    }

    // A copy of the backup's archive changed by the statement.
    std::string ChangedBackup(LPCTSTR pszSQL)
    {
        CString strCopy = m_folder.Write(L"copia.mdb", m_backup);
        CADOConnection connection;
        EXPECT_HRESULT_SUCCEEDED(connection.CreateConnection());
        connection.Open(CADOConnection::FormatConnectionString(strCopy, GetArchivePassword()), TRUE);
        Execute(connection, pszSQL);
        connection.Close();
        std::string bytes = ReadFileBytes(strCopy);
        ::DeleteFileW(strCopy);
        return bytes;
    }

    // Every file below a folder with its content, to see that a refused restore changed nothing and left nothing.
    static void ListFiles(const CString& strFolder, std::map<CString, std::string>& files)
    {
        WIN32_FIND_DATAW found = {};
        HANDLE hFind = ::FindFirstFileW(strFolder + L"\\*", &found);
        if (hFind == INVALID_HANDLE_VALUE)
            return;
        do {
            CString strName = found.cFileName;
            if (strName == L"." || strName == L"..")
                continue;
            CString strPath = strFolder + L"\\" + strName;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                ListFiles(strPath, files);
            else
                files[strPath] = ReadFileBytes(strPath);
        } while (::FindNextFileW(hFind, &found));
        ::FindClose(hFind);
    }

    std::string m_backup;
};

TEST_F(ArchiveRestore, RestoresTheArchiveItemAndReopens)
{
    CTheApp& app = StartApp();
    ASSERT_TRUE(app.OpenDatabase());
    EXPECT_EQ(CString(L"Dati\\Archivio.mdb"), app.GetArchiveRelativePath());
    CString strZip = WriteZip(BuildZip({ { "Dati/", "", false, 0, 0x0B17, 0x41C00010 },
                                         { ITEM_NAME, m_backup, true, 0, 0x0314, 0x81240000 } }));
    CMessageBoxRecorder messages;
    EXPECT_TRUE(app.RestoreArchiveFrom(strZip));
    EXPECT_EQ(0u, messages.Count());
    ASSERT_TRUE(app.GetDataConnection().IsOpen());
    EXPECT_EQ(CString(L"salvataggio"),
              CString(static_cast<LPCWSTR>(_bstr_t(Scalar(app.GetDataConnection(),
                                                          L"SELECT [value] FROM [DatiEnte] WHERE [ID] = 'origine'")))));
    EXPECT_EQ(123.0, ReadAmount(app.GetDataConnection(), L"Entrate", 2104, L"Anno1"));
    // An item without the owner's write permission still gives a writable archive.
    EXPECT_FALSE(IsReadOnly(m_archivePath));
    // The copy of the former archive goes once the new one has opened.
    std::map<CString, std::string> files;
    ListFiles(m_folder.File(L"Dati"), files);
    EXPECT_EQ(1u, files.size());
}

struct HostileCase
{
    const char* what;
    std::function<std::string(const std::string& backup)> zip;
    UINT nMessage;
    LPCTSTR insert;
};

ZipTestItem Archive(const std::string& data)
{
    return ZipTestItem(ITEM_NAME, data, true);
}

ZipTestItem WithCrc(ZipTestItem item, DWORD crc) { item.crc = crc; return item; }
ZipTestItem WithSize(ZipTestItem item, ULONGLONG size) { item.size = size; return item; }
ZipTestItem WithStream(ZipTestItem item, std::string stream) { item.stream = std::move(stream); return item; }

// The copy of the former archive says what it holds and from when, should a crash between the replacing and the
// reopening leave it there; once the new archive has opened it goes, as before.
TEST_F(ArchiveRestore, FormerArchiveIsKeptUnderANameThatSaysWhatItIs)
{
    CString strZip = WriteZip(BuildZip({ Archive(m_backup) }));
    std::string current = ReadFileBytes(m_archivePath);
    auto keptName = [this](const COleDateTime& when) {
        return m_folder.File(L"Dati\\Archivio prima del ripristino ") + when.Format(L"%Y-%m-%d %H.%M") + L".mdb";
    };
    {
        CArchiveRestore restore = MakeRestore();
        CString strBefore = keptName(COleDateTime::GetCurrentTime());
        CMessageBoxRecorder messages;
        ASSERT_TRUE(restore.Run(strZip));
        CString strAfter = keptName(COleDateTime::GetCurrentTime());
        EXPECT_EQ(0u, messages.Count());
        std::map<CString, std::string> files;
        ListFiles(m_folder.File(L"Dati"), files);
        ASSERT_EQ(2u, files.size());
        EXPECT_EQ(1u, files.count(m_archivePath));
        auto kept = files.find(strBefore) != files.end() ? files.find(strBefore) : files.find(strAfter);
        ASSERT_NE(files.end(), kept) << strBefore.GetString();
        EXPECT_TRUE(current == kept->second);
    }
    std::map<CString, std::string> files;
    ListFiles(m_folder.File(L"Dati"), files);
    EXPECT_EQ(1u, files.size());
    EXPECT_EQ(CString(L"salvataggio"), Origin());
}

// Named after the archive, with the time in characters a file name may hold; a name taken by an earlier copy is
// counted past, before the extension.
TEST(FormerArchiveName, SaysWhatAndWhen)
{
    const COleDateTime when(2026, 12, 11, 15, 4, 37);
    const struct { LPCTSTR archive; LPCTSTR kept; } cases[] = {
        { L"C:\\Enti\\Dati\\Vorsa08.mdb", L"C:\\Enti\\Dati\\Vorsa08 prima del ripristino 2026-12-11 15.04.mdb" },
        { L"C:\\Enti\\Vorsa.2008.mdb", L"C:\\Enti\\Vorsa.2008 prima del ripristino 2026-12-11 15.04.mdb" },
        { L"C:\\Enti\\Vorsa08", L"C:\\Enti\\Vorsa08 prima del ripristino 2026-12-11 15.04" },
        { L"D:\\Vorsa08.mdb", L"D:\\Vorsa08 prima del ripristino 2026-12-11 15.04.mdb" },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CString(c.kept), GetFormerArchiveName(c.archive, when)) << c.archive;
        EXPECT_TRUE(IsValidFileName(GetPathFileName(c.kept))) << c.kept;
    }
    CTempFolder folder;
    CString strArchive = folder.File(L"Vorsa08.mdb");
    for (LPCTSTR pszKept : { L"Vorsa08 prima del ripristino 2026-12-11 15.04.mdb",
                             L"Vorsa08 prima del ripristino 2026-12-11 15.04 (2).mdb",
                             L"Vorsa08 prima del ripristino 2026-12-11 15.04 (3).mdb" }) {
        EXPECT_EQ(folder.File(pszKept), GetFormerArchiveName(strArchive, when));
        folder.Write(pszKept, "copia");
    }
}

// Each zip is refused with the message that names its cause; the program folder is as it was, nothing appears
// outside it, and the archive still opens.
TEST_F(ArchiveRestore, HostileZipsAreRefusedAndChangeNothing)
{
    std::string newer = ChangedBackup(L"UPDATE [Settings] SET [value] = '300' WHERE [name] = 'VersioneDB'");
    const HostileCase cases[] = {
        { "parent folder", [](auto& b) { return BuildZip({ Archive(b), { "../quarzel_evil_x", "x" } }); },
          IDP_RESTORE_UNSAFE_NAME, L"../quarzel_evil_x" },
        { "parent folder, backslash", [](auto& b) { return BuildZip({ { "..\\quarzel_evil_x", "x" }, Archive(b) }); },
          IDP_RESTORE_UNSAFE_NAME, L"..\\quarzel_evil_x" },
        { "drive", [](auto& b) { return BuildZip({ Archive(b), { "C:\\quarzel_evil_x", "x" } }); },
          IDP_RESTORE_UNSAFE_NAME, L"C:\\quarzel_evil_x" },
        { "root", [](auto& b) { return BuildZip({ Archive(b), { "/quarzel_evil_x", "x" } }); },
          IDP_RESTORE_UNSAFE_NAME, L"/quarzel_evil_x" },
        { "folder leading out", [](auto& b) { return BuildZip({ { "../quarzel_evil_x/", "", false, 0, 20, 0x10 },
                                                                Archive(b) }); },
          IDP_RESTORE_UNSAFE_NAME, L"../quarzel_evil_x/" },
        { "program database", [](auto& b) { return BuildZip({ Archive(b), { "Prog03.mdb", "x" } }); },
          IDP_RESTORE_UNEXPECTED_FILE, L"Prog03.mdb" },
        { "program file", [](auto& b) { return BuildZip({ { "Quarzel08.exe", "MZ" }, Archive(b) }); },
          IDP_RESTORE_UNEXPECTED_FILE, L"Quarzel08.exe" },
        { "truncated zip", [](auto& b) { std::string z = BuildZip({ Archive(b) }); return z.substr(0, z.size() / 2); },
          IDP_ZIP_OPEN_FAILED, L"Zipfile is corrupt or not a zipfile" },
        { "not a zip", [](auto&) { return std::string("Questo non è un archivio zip."); },
          IDP_ZIP_OPEN_FAILED, L"Zipfile is corrupt or not a zipfile" },
        { "bad CRC", [](auto& b) { return BuildZip({ WithCrc(Archive(b), ZlibCrc32(b) ^ 0x100) }); },
          IDP_RESTORE_BAD_CRC, L"Dati/Archivio.mdb" },
        { "stream ends early", [](auto& b) {
              return BuildZip({ WithStream(Archive(b), ZlibDeflate(b.substr(0, b.size() - 4096))) }); },
          IDP_RESTORE_BAD_SIZE, L"Dati/Archivio.mdb" },
        { "larger than the free space", [](auto& b) { return BuildZip({ WithSize(Archive(b), 1ULL << 50) }); },
          IDP_RESTORE_NO_SPACE, L"Dati/Archivio.mdb" },
        { "only folders", [](auto&) { return BuildZip({ { "Dati/", "", false, 0, 20, 0x10 } }); },
          IDP_RESTORE_NO_ARCHIVE, L"Dati/Archivio.mdb" },
        { "empty archive item", [](auto&) { return BuildZip({ Archive("") }); },
          IDP_RESTORE_NO_ARCHIVE, L"Dati/Archivio.mdb" },
        { "archive item flagged as folder", [](auto& b) {
              return BuildZip({ ZipTestItem(ITEM_NAME, b, true, 0, 20, 0x10) }); },
          IDP_RESTORE_NO_ARCHIVE, L"Dati/Archivio.mdb" },
        { "size 0 in the central directory", [](auto& b) { return BuildZip({ WithSize(Archive(b), 0) }); },
          IDP_RESTORE_NO_ARCHIVE, L"Dati/Archivio.mdb" },
        { "empty zip", [](auto&) { return BuildZip({}); }, IDP_RESTORE_NO_ARCHIVE, L"Dati/Archivio.mdb" },
        { "encrypted", [](auto& b) { return BuildZip({ ZipTestItem(ITEM_NAME, b, false, ZIP_FLAG_ENCRYPTED) }); },
          IDP_RESTORE_ENCRYPTED, L"Dati/Archivio.mdb" },
        { "not an archive", [](auto&) { return BuildZip({ Archive(std::string(70000, 'q')) }); },
          IDP_RESTORE_NOT_AN_ARCHIVE, L"Dati/Archivio.mdb" },
        { "archive of a newer version", [&newer](auto&) { return BuildZip({ Archive(newer) }); },
          IDP_RESTORE_NOT_AN_ARCHIVE, L"Dati/Archivio.mdb" },
    };
    for (const HostileCase& c : cases) {
        SCOPED_TRACE(c.what);
        CString strZip = WriteZip(c.zip(m_backup));
        std::map<CString, std::string> before, after;
        ListFiles(m_folder.Path(), before);

        CMessageBoxRecorder messages;
        EXPECT_FALSE(MakeRestore().Run(strZip));
        ASSERT_EQ(1u, messages.Count());
        EXPECT_EQ(FormatResMessage(c.nMessage, c.insert), messages.Last().text);

        ListFiles(m_folder.Path(), after);
        EXPECT_TRUE(before == after);
        EXPECT_FALSE(FileExists(m_folder.File(L"..\\") + OUTSIDE_NAME));
        EXPECT_FALSE(FileExists(CString(L"C:\\") + OUTSIDE_NAME));
        EXPECT_EQ(CString(L"attuale"), Origin());
    }
}

TEST_F(ArchiveRestore, NameThatDoesNotFitIsRefused)
{
    CString strZip = WriteZip(BuildZip({ { std::string(300, 'n'), "x" }, Archive(m_backup) }));
    std::string before = ReadFileBytes(m_archivePath);
    CMessageBoxRecorder messages;
    EXPECT_FALSE(MakeRestore().Run(strZip));
    ASSERT_EQ(1u, messages.Count());
    EXPECT_EQ(FormatResMessage(IDP_RESTORE_BAD_ITEM, 1, L"Zipfile is corrupt or not a zipfile"), messages.Last().text);
    EXPECT_EQ(before, ReadFileBytes(m_archivePath));
}

BOOL FailToReplace(LPCTSTR, LPCTSTR)
{
    ::SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

// The last step fails: the checked copy goes, the archive stays and the databases open again.
TEST_F(ArchiveRestore, FailedReplaceKeepsTheArchive)
{
    CTheApp& app = StartApp();
    ASSERT_TRUE(app.OpenDatabase());
    CString strZip = WriteZip(BuildZip({ Archive(m_backup) }));
    CMessageBoxRecorder messages;
    EXPECT_FALSE(app.RestoreArchiveFrom(strZip, FailToReplace));
    ASSERT_EQ(1u, messages.Count());
    EXPECT_EQ(FormatResMessage(IDP_UNZIP_FAILED, L"Dati/Archivio.mdb", GetSystemErrorText(ERROR_ACCESS_DENIED)),
              messages.Last().text);
    EXPECT_TRUE(app.GetDataConnection().IsOpen());
    app.CloseDatabase();
    EXPECT_EQ(CString(L"attuale"), Origin());
    std::map<CString, std::string> files;
    ListFiles(m_folder.File(L"Dati"), files);
    EXPECT_EQ(1u, files.size());
}

BOOL ReplaceWithDamage(LPCTSTR pszExisting, LPCTSTR pszReplacement)
{
    if (!ReplaceFileAtomically(pszExisting, pszReplacement))
        return FALSE;
    HANDLE h = ::CreateFileW(pszExisting, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, 0, nullptr);
    DWORD written = 0;
    ::WriteFile(h, "rovinato", 8, &written, nullptr);
    ::CloseHandle(h);
    return TRUE;
}

// The checked copy does not open where it now lies: the former archive takes its place again, nothing of the
// restore is left behind, and the program runs on with it.
TEST_F(ArchiveRestore, ARestoredArchiveThatDoesNotOpenGivesWayToTheFormerOne)
{
    CTheApp& app = StartApp();
    ASSERT_TRUE(app.OpenDatabase());
    CString strZip = WriteZip(BuildZip({ Archive(m_backup) }));
    MSG msg = {};
    while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    CMessageBoxRecorder messages;
    EXPECT_FALSE(app.RestoreArchiveFrom(strZip, ReplaceWithDamage));
    ASSERT_EQ(2u, messages.Count());
    EXPECT_EQ(LoadResString(IDP_RESTORE_FORMER_BACK), messages.Last().text);
    ASSERT_TRUE(app.GetDataConnection().IsOpen());
    EXPECT_EQ(CString(L"attuale"),
              CString(static_cast<LPCWSTR>(_bstr_t(Scalar(app.GetDataConnection(),
                                                          L"SELECT [value] FROM [DatiEnte] WHERE [ID] = 'origine'")))));
    EXPECT_FALSE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    app.CloseDatabase();
    std::map<CString, std::string> files;
    ListFiles(m_folder.File(L"Dati"), files);
    EXPECT_EQ(1u, files.size());
}

} // namespace
