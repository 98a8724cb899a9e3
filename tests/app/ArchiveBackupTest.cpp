#include "ProgramFolder.h"

#include "app/ArchiveBackup.h"
#include "data/SetConfig.h"
#include "platform/mfc/afxfiledlg.h"
#include "resource.h"
#include "support/FileAliases.h"
#include "support/MessageBoxRecorder.h"
#include "support/ModalDialogDriver.h"
#include "support/ZipBuilder.h"
#include "util/MessageText.h"
#include "util/PathUtil.h"
#include "util/ZipReader.h"

#include <algorithm>
#include <map>
#include <vector>

namespace {

class ArchiveBackup : public CProgramFolderTest
{
protected:
    void SetUp() override
    {
        CProgramFolderTest::SetUp();
        MakeProgramDatabase(L"Dati/Archivio.mdb");
        MakeArchive(200);
        EnsureFolder(m_folder.File(L"Backup"));
    }

    static CString Value(CADOConnection& connection)
    {
        return static_cast<LPCWSTR>(
            _bstr_t(Scalar(connection, L"SELECT [value] FROM [DatiEnte] WHERE [ID] = 'origine'")));
    }

    static std::string Extract(LPCTSTR pszZip, int index)
    {
        ZipHandle hz = OpenZip(pszZip, 0, ZIP_FILENAME);
        std::string data, buffer(65536, '\0');
        ZipEntry entry = {};
        GetZipItem(hz, index, &entry);
        while (UnzipItem(hz, index, &buffer[0], buffer.size(), ZIP_MEMORY) == ZR_MORE)
            data += buffer.substr(0, std::min<size_t>(buffer.size(), static_cast<size_t>(entry.unc_size) - data.size()));
        CloseUnzip(hz);
        return data;
    }

    // Marks the open archive with the row 'origine' = 'salvataggio' and backs it up, silently, into the backup
    // folder; answers the zip's path.
    static CString BackUpMarkedArchive(CTheApp& app)
    {
        Execute(app.GetDataConnection(), L"INSERT INTO [DatiEnte] ([ID], [value]) VALUES ('origine', 'salvataggio')");
        CString strZip = CombinePath(app.GetBackupDir(), L"2008.03.27.zip");
        CMessageBoxRecorder messages;
        EXPECT_TRUE(app.WriteBackup(strZip));
        EXPECT_EQ(0u, messages.Count());
        return strZip;
    }

    static std::vector<ZipEntry> Items(LPCTSTR pszZip)
    {
        std::vector<ZipEntry> items;
        ZipHandle hz = OpenZip(pszZip, 0, ZIP_FILENAME);
        EXPECT_NE(nullptr, hz);
        ZipEntry entry = {};
        GetZipItem(hz, -1, &entry);
        for (int i = 0, n = entry.index; i < n; ++i) {
            EXPECT_EQ(ZR_OK, GetZipItem(hz, i, &entry));
            items.push_back(entry);
        }
        CloseUnzip(hz);
        return items;
    }
};

// Backed up, changed, restored: the rows are those of the backup, and the program runs on with them.
TEST_F(ArchiveBackup, BackupThenRestoreGivesBackTheRows)
{
    CTheApp& app = StartApp();
    ASSERT_TRUE(app.OpenDatabase());
    CString strZip = BackUpMarkedArchive(app);
    ASSERT_TRUE(app.GetDataConnection().IsOpen());
    Execute(app.GetDataConnection(), L"UPDATE [DatiEnte] SET [value] = 'dopo' WHERE [ID] = 'origine'");
    Execute(app.GetDataConnection(), L"DELETE FROM [Responsabili] WHERE [responsabile] = 'Rossi'");

    std::vector<ZipEntry> items = Items(strZip);
    ASSERT_EQ(2u, items.size());
    EXPECT_STREQ(L"Dati/", items[0].name);
    EXPECT_TRUE(items[0].attr & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_STREQ(L"Dati/Archivio.mdb", items[1].name);
    std::string archiveBytes = Extract(strZip, 1);
    EXPECT_EQ(static_cast<LONGLONG>(archiveBytes.size()), items[1].unc_size);
    EXPECT_EQ("SQLite format 3", archiveBytes.substr(0, 15));
    // The archive file compresses about as well as zlib compresses it at the same level.
    size_t nZlib = ZlibDeflate(archiveBytes, 8).size();
    EXPECT_LE(static_cast<size_t>(items[1].comp_size), nZlib + nZlib / 50);

    CMessageBoxRecorder messages;
    EXPECT_TRUE(app.RestoreArchiveFrom(strZip));
    EXPECT_EQ(0u, messages.Count());
    ASSERT_TRUE(app.GetDataConnection().IsOpen());
    EXPECT_EQ(CString(L"salvataggio"), Value(app.GetDataConnection()));
    EXPECT_EQ(1L, ScalarLong(app.GetDataConnection(),
                             L"SELECT COUNT(*) FROM [Responsabili] WHERE [responsabile] = 'Rossi'"));
}

// An archive named with ".." in "nomeDB": the backup stores it under its real place below the program folder, or
// under its file name when it lies outside; either way the backup reported done restores.
TEST_F(ArchiveBackup, ArchiveNamedWithParentFoldersIsRestorable)
{
    CTempFolder outside;
    const struct { CString nomeDB; LPCTSTR item; } cases[] = {
        { L"Dati/../Dati2/Archivio.mdb", L"Dati2/Archivio.mdb" },
        { L"../" + GetPathFileName(outside.Path()) + L"/Archivio.mdb", L"Archivio.mdb" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.item);
        MakeProgramDatabase(c.nomeDB);
        MakeArchive(200);
        CTheApp& app = StartApp();
        ASSERT_TRUE(app.OpenDatabase());
        CString strZip = BackUpMarkedArchive(app);
        std::vector<ZipEntry> items = Items(strZip);
        ASSERT_FALSE(items.empty());
        EXPECT_STREQ(c.item, items.back().name);
        Execute(app.GetDataConnection(), L"UPDATE [DatiEnte] SET [value] = 'dopo' WHERE [ID] = 'origine'");

        CMessageBoxRecorder messages;
        EXPECT_TRUE(app.RestoreArchiveFrom(strZip));
        EXPECT_EQ(0u, messages.Count());
        ASSERT_TRUE(app.GetDataConnection().IsOpen());
        EXPECT_EQ(CString(L"salvataggio"), Value(app.GetDataConnection()));
        app.CloseDatabase();
        ::DeleteFileW(strZip);
    }
}

TEST(BackupName, IsTheDateWithDots)
{
    EXPECT_EQ(CString(L"2008.03.27.zip"), GetDefaultBackupName(COleDateTime(2008, 3, 27, 15, 4, 0)));
}

TEST(BackupTarget, DatabaseFilesArchiveFolderAndUserDocumentsAreRefused)
{
    const LPCTSTR pszDati = L"C:\\Prog\\Dati\\Archivio.mdb";
    const LPCTSTR pszInProgram = L"C:\\Prog\\Archivio.mdb";
    const LPCTSTR pszOutside = L"D:\\Enti\\Vorsa08.mdb";
    const LPCTSTR pszAbove = L"C:\\Vorsa08.mdb";
    const struct { LPCTSTR target; LPCTSTR archive; bool refused; } cases[] = {
        { L"C:\\Prog\\Backup\\2008.03.27.zip", pszDati, false },
        { L"C:\\Prog\\Dati\\2008.03.27.zip", pszDati, true },
        { L"C:\\Prog\\dati\\sub\\x.zip", pszDati, true },
        { L"C:\\Prog\\Backup\\..\\Dati\\x.zip", pszDati, true },
        { L"C:\\Altro\\Dati\\x.zip", pszDati, false },        // the old substring test refused it
        { L"C:\\Prog\\DatiVecchi\\x.zip", pszDati, false },
        { L"C:\\Prog\\DocUt\\x.zip", pszDati, true },
        { L"C:\\Prog\\docut\\a\\x.zip", pszDati, true },
        { L"D:\\MyDocUt\\x.zip", pszDati, false },
        { L"C:\\Prog\\x.zip", pszDati, false },
        { L"C:\\Prog\\Prog03.mdb", pszDati, true },
        { L"C:\\Prog\\Backup\\..\\PROG03.MDB", pszDati, true },
        // The archive in the program folder itself: its folder is refused, its "Backup" folder is not.
        { L"C:\\Prog\\Backup\\2008.03.27.zip", pszInProgram, false },
        { L"C:\\Prog\\x.zip", pszInProgram, true },
        { L"C:\\PROG\\x.zip", pszInProgram, true },
        { L"D:\\Salvataggi\\x.zip", pszInProgram, false },
        { L"C:\\Prog\\DocUt\\x.zip", pszInProgram, true },
        // The archive outside the program folder: the archive itself, its folder and below, and the program
        // database are refused wherever they are.
        { L"D:\\Enti\\Vorsa08.mdb", pszOutside, true },
        { L"d:\\enti\\x.zip", pszOutside, true },
        { L"D:\\Enti\\2008\\x.zip", pszOutside, true },
        { L"D:\\Salvataggi\\x.zip", pszOutside, false },
        { L"C:\\Prog\\Backup\\2008.03.27.zip", pszOutside, false },
        { L"C:\\Prog\\Prog03.mdb", pszOutside, true },
        // The archive in a folder that holds the program folder: that folder itself only.
        { L"C:\\Vorsa08.mdb", pszAbove, true },
        { L"C:\\x.zip", pszAbove, true },
        { L"C:\\Prog\\Backup\\2008.03.27.zip", pszAbove, false },
        { L"C:\\Salvataggi\\x.zip", pszAbove, false },
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.refused, IsBackupTargetRefused(c.target, L"C:\\Prog", c.archive, L"C:\\Prog\\Prog03.mdb"))
            << c.target << " / " << c.archive;
}

// Files and folders that exist are known by every name that reaches them: the database files, the archive's folder
// and below, the users' documents folder; the program's backup folder stays allowed by each of its names.
TEST_F(ArchiveBackup, OtherNamesOfRefusedPlacesAreRefused)
{
    CTempFolder outside;
    const LPCTSTR layouts[] = { L"Dati\\Archivio.mdb", L"Archivio.mdb", nullptr };
    EnsureFolder(m_folder.File(L"DocUt"));
    for (LPCTSTR pszLayout : layouts) {
        CString strArchive = pszLayout ? m_folder.File(pszLayout) : outside.File(L"Archivio.mdb");
        SCOPED_TRACE(strArchive.ToMultiByte(CP_UTF8));
        ::CopyFileW(m_archivePath, strArchive, FALSE);
        CString strProgDatabase = m_folder.File(L"Prog03.mdb");
        CString strArchiveFolder = GetPathDir(strArchive);
        std::map<CString, bool> targets;   // whether refused
        for (const CString& name : OtherNamesOf(strArchive))
            targets[name] = true;
        for (const CString& name : OtherNamesOf(strProgDatabase))
            targets[name] = true;
        for (const CString& name : OtherNamesOf(strArchiveFolder)) {
            targets[name + L"\\x.zip"] = true;
            // Below the archive's folder, unless the program folder is that folder.
            targets[name + L"\\sub\\x.zip"] = strArchiveFolder != m_folder.Path();
        }
        for (const CString& name : OtherNamesOf(m_folder.File(L"DocUt")))
            targets[name + L"\\a\\x.zip"] = true;
        for (const CString& name : OtherNamesOf(m_folder.File(L"Backup")))
            targets[name + L"\\x.zip"] = false;
        for (const auto& [target, bRefused] : targets)
            EXPECT_EQ(bRefused, IsBackupTargetRefused(target, m_folder.Path(), strArchive, strProgDatabase))
                << target.GetString();
    }
}

// A refused target opens the dialog again; the second choice is written.
TEST_F(ArchiveBackup, RefusedTargetAsksAgain)
{
    CTheApp& app = StartApp();
    ASSERT_TRUE(app.OpenDatabase());
    CString strRefused = m_folder.File(L"Dati\\copia.zip");
    CString strChosen = m_folder.File(L"Backup\\copia.zip");
    std::vector<CString> proposed;
    CModalDialogDriver driver([&](CDialog& dialog) -> INT_PTR {
        auto& fileDialog = static_cast<CFileDialog&>(dialog);
        EXPECT_FALSE(fileDialog.IsOpenFileDialog());
        EXPECT_EQ(app.GetBackupDir(), CString(fileDialog.m_ofn.lpstrInitialDir));
        EXPECT_EQ(CString(L"zip"), CString(fileDialog.m_ofn.lpstrDefExt));
        EXPECT_EQ(CString(L"Archivio (*.zip)"), CString(fileDialog.m_ofn.lpstrFilter));
        proposed.push_back(fileDialog.GetFileName());
        lstrcpynW(fileDialog.m_ofn.lpstrFile, proposed.size() == 1 ? strRefused : strChosen, MAX_PATH);
        return IDOK;
    });
    CMessageBoxRecorder messages;
    EXPECT_TRUE(app.BackupArchive());
    EXPECT_EQ(2, driver.Shown());
    ASSERT_EQ(1u, messages.Count());
    EXPECT_EQ(CString(L"Impossibile salvare nella cartella specificata.\nSceglierne una diversa."),
              messages.Last().text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), messages.LastIcon());
    EXPECT_EQ(GetDefaultBackupName(COleDateTime::GetCurrentTime()), proposed[0]);
    EXPECT_FALSE(FileExists(strRefused));
    EXPECT_EQ(2u, Items(strChosen).size());
    EXPECT_TRUE(app.GetDataConnection().IsOpen());
}

// Neither database file can be chosen as the backup, by any of its names, wherever the archive lies: each is refused
// and the dialog asks again; both databases still open with their rows.
TEST_F(ArchiveBackup, DatabaseFilesAreRefusedAsTargets)
{
    CTempFolder outside;
    const CString layouts[] = { L"Dati/Archivio.mdb", L"../" + GetPathFileName(outside.Path()) + L"/Archivio.mdb" };
    for (const CString& nomeDB : layouts) {
        SCOPED_TRACE(nomeDB.ToMultiByte(CP_UTF8));
        MakeProgramDatabase(nomeDB);
        ::DeleteFileW(m_archivePath);
        MakeArchive(200);
        CTheApp& app = StartApp();
        ASSERT_TRUE(app.OpenDatabase());
        std::vector<CString> choices = { app.GetArchivePath(), m_folder.File(L"Prog03.mdb") };
        for (const CString& path : { app.GetArchivePath(), m_folder.File(L"Prog03.mdb") }) {
            std::vector<CString> names = OtherNamesOf(path);
            choices.insert(choices.end(), names.begin(), names.end());
        }
        choices.push_back(m_folder.File(L"Backup\\copia.zip"));
        size_t nChoice = 0;
        CModalDialogDriver driver([&](CDialog& dialog) -> INT_PTR {
            auto& fileDialog = static_cast<CFileDialog&>(dialog);
            lstrcpynW(fileDialog.m_ofn.lpstrFile, choices[std::min(nChoice++, choices.size() - 1)], MAX_PATH);
            return IDOK;
        });
        CMessageBoxRecorder messages;
        EXPECT_TRUE(app.BackupArchive());
        EXPECT_EQ(static_cast<int>(choices.size()), driver.Shown());
        ASSERT_EQ(choices.size() - 1, messages.Count());
        EXPECT_EQ(LoadResString(IDP_BACKUP_FOLDER_REFUSED), messages.Last().text);
        ASSERT_TRUE(app.GetDataConnection().IsOpen());
        EXPECT_EQ(123.0, ReadAmount(app.GetDataConnection(), L"Entrate", 2104, L"Anno1"));
        EXPECT_EQ(CString(L"2008"), CSetConfig::GetConfig(app.GetProgConnection(), L"anno"));
        app.CloseDatabase();
        EXPECT_TRUE(::DeleteFileW(choices.back()));
    }
}

TEST_F(ArchiveBackup, CancelWritesNothing)
{
    CTheApp& app = StartApp();
    ASSERT_TRUE(app.OpenDatabase());
    CModalDialogDriver driver([](CDialog&) -> INT_PTR { return IDCANCEL; });
    EXPECT_FALSE(app.BackupArchive());
    EXPECT_EQ(1, driver.Shown());
    EXPECT_TRUE(app.GetDataConnection().IsOpen());
}

// A backup that fails leaves the file it was pointed at as it was, whatever names it (even the archive itself, by
// another of its names, held by another program), and nothing of its own in the folder; the user reads why.
TEST_F(ArchiveBackup, FailedBackupLeavesTheTargetAsItWas)
{
    CString strFormer = m_folder.Write(L"Backup\\copia.zip", "il salvataggio di ieri");
    const CString strCouldNotCreate = FormatResMessage(IDP_ZIP_CREATE_FAILED, L"Couldn't create/open file");
    const CString strCouldNotAdd = FormatResMessage(IDP_ZIP_ADD_FAILED, m_archivePath, L"Couldn't create/open file");
    const struct
    {
        const char* what;
        CString target;
        CString held;            // opened by another handle without sharing while the backup runs
        CString message;
        UINT nIcon;
    } cases[] = {
        { "archive held, over a former backup", strFormer, m_archivePath, strCouldNotAdd, MB_ICONWARNING },
        { "archive held, new file", m_folder.File(L"Backup\\nuovo.zip"), m_archivePath, strCouldNotAdd,
          MB_ICONWARNING },
        { "former backup held", strFormer, strFormer, strCouldNotCreate, MB_ICONERROR },
        { "the archive by another name, held", OtherNamesOf(m_archivePath).front(), m_archivePath,
          strCouldNotCreate, MB_ICONERROR },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string archive = ReadFileBytes(m_archivePath);
        std::string former = ReadFileBytes(strFormer);
        HANDLE hLock = ::CreateFileW(c.held, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, hLock);
        CMessageBoxRecorder messages;
        EXPECT_FALSE(WriteArchiveZip(c.target, m_archivePath, L"Dati\\Archivio.mdb"));
        ::CloseHandle(hLock);
        ASSERT_EQ(1u, messages.Count());
        EXPECT_EQ(c.message, messages.Last().text);
        EXPECT_EQ(c.nIcon, messages.LastIcon());
        EXPECT_TRUE(archive == ReadFileBytes(m_archivePath));
        EXPECT_EQ(former, ReadFileBytes(strFormer));
        EXPECT_FALSE(FileExists(m_folder.File(L"Backup\\nuovo.zip")));
        for (LPCTSTR pszFolder : { L"Backup\\*", L"Dati\\*" }) {
            WIN32_FIND_DATAW found = {};
            HANDLE hFind = ::FindFirstFileW(m_folder.File(pszFolder), &found);
            int nFiles = 0;
            for (BOOL bMore = hFind != INVALID_HANDLE_VALUE; bMore; bMore = ::FindNextFileW(hFind, &found))
                nFiles += (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : 1;
            ::FindClose(hFind);
            EXPECT_EQ(1, nFiles) << pszFolder;
        }
    }
}

TEST_F(ArchiveBackup, ZipThatCannotBeCreatedIsReported)
{
    CTheApp& app = StartApp();
    ASSERT_TRUE(app.OpenDatabase());
    CMessageBoxRecorder messages;
    EXPECT_FALSE(app.WriteBackup(m_folder.File(L"manca\\copia.zip")));
    ASSERT_EQ(1u, messages.Count());
    EXPECT_EQ(FormatResMessage(IDP_ZIP_CREATE_FAILED, L"Couldn't create/open file"), messages.Last().text);
    EXPECT_TRUE(app.GetDataConnection().IsOpen());
}

TEST_F(ArchiveBackup, RestoreAsksFirst)
{
    CTheApp& app = StartApp();
    ASSERT_TRUE(app.OpenDatabase());
    {
        CMessageBoxRecorder messages(IDNO);
        CModalDialogDriver driver([](CDialog&) -> INT_PTR { return IDOK; });
        EXPECT_FALSE(app.RestoreArchive());
        EXPECT_EQ(0, driver.Shown());
        ASSERT_EQ(1u, messages.Count());
        EXPECT_EQ(LoadResString(IDP_RESTORE_CONFIRM), messages.Last().text);
        EXPECT_EQ(static_cast<UINT>(MB_YESNO), messages.LastButtons());
        EXPECT_EQ(static_cast<UINT>(MB_ICONWARNING), messages.LastIcon());
    }
    CMessageBoxRecorder messages(IDYES);
    CModalDialogDriver driver([&app](CDialog& dialog) -> INT_PTR {
        auto& fileDialog = static_cast<CFileDialog&>(dialog);
        EXPECT_TRUE(fileDialog.IsOpenFileDialog());
        EXPECT_TRUE(fileDialog.m_ofn.Flags & OFN_FILEMUSTEXIST);
        EXPECT_EQ(app.GetBackupDir(), CString(fileDialog.m_ofn.lpstrInitialDir));
        return IDCANCEL;
    });
    EXPECT_FALSE(app.RestoreArchive());
    EXPECT_EQ(1, driver.Shown());
    EXPECT_EQ(1u, messages.Count());
    EXPECT_TRUE(app.GetDataConnection().IsOpen());
}

} // namespace
