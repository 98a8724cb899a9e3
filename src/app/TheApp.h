// The application object: the two database connections (the program database and the data archive), the program
// folder with its working folders, and the opening, version check, upgrade and maintenance of the databases.
#pragma once

#include "app/ArchiveOpening.h"
#include "app/CompactDatabase.h"
#include "data/ADOConnection.h"
#include "views/FormHost.h"
#include "platform/mfc/afxwin.h"
#include "reports/ReportHost.h"
#include "util/MakerInfo.h"

class CTheApp : public CWinApp, public CFormHost, public CReportHost
{
public:
    enum { ARCHIVE_VERSION = CURRENT_ARCHIVE_VERSION };

    CTheApp();

    BOOL InitInstance() override;
    int ExitInstance() override;
    // The splash window sees key and mouse presses first.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // The program folder and the working folders below it, fixed once at start-up.
    void InitFolders(LPCTSTR pszAppDir);
    CString GetAppDir() const { return m_strAppDir; }
    CString GetFormDir() const override { return m_strFormDir; }
    CString GetDocDir() const override { return m_strDocDir; }
    CString GetDocUtDir() const override { return m_strDocUtDir; }
    CString GetWebUpdDir() const { return m_strWebUpdDir; }
    // The program's product code, eight digits: the About box shows it, the fax form and the updater pass it on.
    CString GetProductCode() const override { return MakerInfo::kProductCode; }
    CString GetBackupDir() const;

    // Profile "Settings": the regulations text has been shown once.
    BOOL GetInfoNormativa();
    void SetInfoNormativa(BOOL bShown);
    // Profile "Settings": the last program version (major * 100 + minor) whose About box has been shown.
    int GetUltimaVersione();
    void SetUltimaVersione(int nVersion);

    afx_msg void OnAppAbout();

    CADOConnection& GetProgConnection() { return m_progConnection; }
    CADOConnection& GetDataConnection() override { return m_dataConnection; }
    // Full path of the data archive, known once the program database has been read.
    CString GetArchivePath() const { return m_strArchivePath; }

    // Opens both databases, brings the archive to the current version and recomputes the balances. A failure
    // has been shown to the user when this answers false.
    bool OpenDatabase();
    // Compacts the archive and opens the databases again, also after a failed compaction; when they cannot be
    // opened the program ends, as after a backup or a restore.
    bool MaintainArchives();
    void CloseDatabase();

    // Backup of the archive into a zip the user chooses (the folder "Backup", today's date as the name); a target
    // in the archive's folder or in "DocUt" is refused and the choice offered again. False on cancel or failure.
    bool BackupArchive();
    // Writes the backup zip with the databases closed, then opens them again.
    bool WriteBackup(LPCTSTR pszZipPath);
    // Restore after the user's confirmation, from a zip the user chooses. False on refusal, cancel or failure.
    bool RestoreArchive();

    // The archive's path below the program folder (its file name when it lies elsewhere), as a backup stores it.
    CString GetArchiveRelativePath() const;
    // Restores the archive from a backup zip with the databases closed, then opens them again. False when
    // nothing was restored (the cause has been shown; a restored archive that does not open gives way to the former
    // one) or the databases could not be opened again.
    bool RestoreArchiveFrom(LPCTSTR pszZipPath, PFN_REPLACE_FILE pfnReplace = ReplaceFileAtomically);
    // Opens the databases after a backup, a restore or a maintenance. The program cannot run on without them: a failure is
    // shown and the program is asked to end.
    bool ReopenDatabase();

protected:
    DECLARE_MESSAGE_MAP()

private:
    CADOConnection m_progConnection;
    CADOConnection m_dataConnection;
    CString m_strArchivePath;
    CString m_strAppDir;
    CString m_strFormDir;
    CString m_strDocDir;
    CString m_strDocUtDir;
    CString m_strWebUpdDir;
};
