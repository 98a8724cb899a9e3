// The update dialog: reads the maker's update descriptor, decides whether the running version may take the
// published update, downloads its setup into the update folder and starts it; without a connection the user
// prepares a fax instead (the dialog then ends with IDC_UPD_PREPARA_FAX).
#pragma once

#include "ProgressDlg.h"
#include "UpdateServer.h"
#include "controls/ColorCtrl.h"
#include "ui/themes/ThemedList.h"
#include "util/UpdateInfo.h"

#include <memory>

class CDlgUpdate : public CProgressDlg
{
    DECLARE_DYNAMIC(CDlgUpdate)
public:
    enum LogKind { logInfo = 0, logWarning = 1, logError = 2 };

    // lpszLocalFolder: the update folder that receives the setup.
    CDlgUpdate(CWnd* pParentWnd, LPCTSTR lpszAppName, LPCTSTR lpszProductCode, LPCTSTR lpszRemoteFolder, int nMajor,
               int nMinor, LPCTSTR lpszLocalFolder, std::unique_ptr<CUpdateServer> pServer);

    void AddLogLine(int nKind, LPCTSTR lpszText);
    // TRUE when the update's setup was started.
    BOOL RunUpdate();
    // TRUE when the file was downloaded whole; otherwise nothing of it is left on disk.
    BOOL DownloadFile(LPCTSTR lpszRemoteFile, LPCTSTR lpszLocalPath);

    // "%d sec" below a minute, "%d min %02d sec" from there.
    static CString FormatElapsed(DWORD dwSeconds);
    // count x 100 / total in 64 bits, kept within 0..100.
    static int DownloadPercent(ULONGLONG nCount, ULONGLONG nTotal);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    afx_msg void OnPreparaFax();
    DECLARE_MESSAGE_MAP()

private:
    BOOL RunUpdateSteps();
    BOOL ReadUpdateInfo();
    BOOL StartSetup(const CString& strLocalPath);
    void ShowError(const CString& strText);
    void ShowInfo(const CString& strText);

    CString m_strAppName;
    CString m_strProductCode;
    CString m_strRemoteFolder;
    int m_nMajor;
    int m_nMinor;
    CString m_strLocalFolder;
    std::unique_ptr<CUpdateServer> m_pServer;
    CUpdateInfo m_info;
    BOOL m_bBusy = FALSE;

    CFont m_fontBold;
    CImageList m_imageList;
    CXTListCtrl m_wndLog;
    CColorCtrl<CStatic> m_wndNotice;
};
