#include "DlgUpdate.h"

#include "platform/mfc/afxmsgbox.h"
#include "platform/mfc/afxshell.h"
#include "resource.h"
#include "util/MessageText.h"
#include "util/NumberFormat.h"
#include "util/PathUtil.h"

#include <shlwapi.h>

#include <string>

namespace {

const UINT kBlockSize = 16384;
const COLORREF kLogText[] = { RGB(0, 0, 0x80), RGB(0, 0, 0), RGB(0xFF, 0, 0) };
const COLORREF kLogBack[] = { RGB(0xFF, 0xFF, 0xFF), RGB(0xFF, 0xFF, 0), RGB(0xFF, 0xFF, 0xFF) };

CString LastErrorText()
{
    DWORD dwError = ::GetLastError();
    return GetSystemErrorText(dwError ? dwError : ERROR_GEN_FAILURE);
}

} // namespace

IMPLEMENT_DYNAMIC(CDlgUpdate, CProgressDlg)

BEGIN_MESSAGE_MAP(CDlgUpdate, CProgressDlg)
    ON_BN_CLICKED(IDC_UPD_PREPARA_FAX, &CDlgUpdate::OnPreparaFax)
END_MESSAGE_MAP()

CDlgUpdate::CDlgUpdate(CWnd* pParentWnd, LPCTSTR lpszAppName, LPCTSTR lpszProductCode, LPCTSTR lpszRemoteFolder,
                       int nMajor, int nMinor, LPCTSTR lpszLocalFolder, std::unique_ptr<CUpdateServer> pServer)
    : CProgressDlg(IDD_UPDATE, pParentWnd), m_strAppName(lpszAppName), m_strProductCode(lpszProductCode),
      m_strRemoteFolder(lpszRemoteFolder), m_nMajor(nMajor), m_nMinor(nMinor), m_strLocalFolder(lpszLocalFolder),
      m_pServer(std::move(pServer))
{
}

BOOL CDlgUpdate::OnInitDialog()
{
    CProgressDlg::OnInitDialog();
    m_fontBold.CreateFont(-11, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Tahoma");
    for (int nID : { IDC_UPD_NO_INTERNET, IDC_UPD_INTERNET, IDC_UPD_NOTICE })
        GetDlgItem(nID)->SetFont(&m_fontBold);
    m_wndNotice.SubclassDlgItem(IDC_UPD_NOTICE, this);
    m_wndNotice.SetTextColor(RGB(0xFF, 0, 0));
    CheckRadioButton(IDC_UPD_NO_INTERNET, IDC_UPD_INTERNET, IDC_UPD_INTERNET);

    m_imageList.Create(16, 16, ILC_COLOR32 | ILC_MASK, 3, 0);
    for (UINT nIcon : { IDI_UPD_INFO, IDI_UPD_WARNING, IDI_UPD_ERROR }) {
        HICON hIcon = static_cast<HICON>(
            ::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nIcon), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
        m_imageList.Add(hIcon);
        ::DestroyIcon(hIcon);
    }
    m_wndLog.SubclassDlgItem(IDC_UPD_LOG, this);
    m_wndLog.SetImageList(&m_imageList, LVSIL_SMALL);
    m_wndLog.EnableRowColors(TRUE);
    CRect rcLog;
    m_wndLog.GetClientRect(&rcLog);
    m_wndLog.InsertColumn(0, L"", LVCFMT_LEFT, rcLog.Width());
    return TRUE;
}

void CDlgUpdate::OnOK()
{
    GetDlgItem(IDOK)->EnableWindow(FALSE);
    GetDlgItem(IDC_UPD_PREPARA_FAX)->EnableWindow(FALSE);
    m_bBusy = TRUE;
    BOOL bStarted = RunUpdate();
    m_bBusy = FALSE;
    GetDlgItem(IDOK)->EnableWindow(TRUE);
    GetDlgItem(IDC_UPD_PREPARA_FAX)->EnableWindow(TRUE);
    if (bStarted)
        EndDialog(IDOK);
}

void CDlgUpdate::OnCancel()
{
    if (m_bBusy)
        CProgressDlg::OnCancel();
    else
        EndDialog(IDCANCEL);
}

void CDlgUpdate::OnPreparaFax()
{
    EndDialog(IDC_UPD_PREPARA_FAX);
}

void CDlgUpdate::AddLogLine(int nKind, LPCTSTR lpszText)
{
    if (nKind < logInfo || nKind > logError)
        nKind = logError;
    CString strText(lpszText);
    strText.Replace(L'\r', L' ');
    strText.Replace(L'\n', L' ');
    strText.Replace(L'\t', L' ');
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    CString strLine = FormatString(L"%02d:%02d:%02d - %s", now.wHour, now.wMinute, now.wSecond, strText.GetString());
    int nRow = m_wndLog.InsertItem(m_wndLog.GetItemCount(), strLine, nKind);
    m_wndLog.SetRowColor(nRow, kLogText[nKind], kLogBack[nKind]);
    m_wndLog.EnsureVisible(nRow, FALSE);
}

void CDlgUpdate::ShowError(const CString& strText)
{
    AfxMessageBox(strText, MB_ICONERROR);
    AddLogLine(logError, strText);
}

void CDlgUpdate::ShowInfo(const CString& strText)
{
    AfxMessageBox(strText, MB_ICONINFORMATION);
    AddLogLine(logInfo, strText);
}

CString CDlgUpdate::FormatElapsed(DWORD dwSeconds)
{
    if (dwSeconds < 60)
        return FormatString(LoadResString(IDS_UPD_SECONDS), static_cast<int>(dwSeconds));
    return FormatString(LoadResString(IDS_UPD_MINUTES), static_cast<int>(dwSeconds / 60),
                        static_cast<int>(dwSeconds % 60));
}

int CDlgUpdate::DownloadPercent(ULONGLONG nCount, ULONGLONG nTotal)
{
    if (nTotal == 0)
        return 100;
    ULONGLONG nPercent = nCount >= nTotal ? 100 : nCount * 100 / nTotal;
    return static_cast<int>(nPercent);
}

BOOL CDlgUpdate::RunUpdate()
{
    try {
        return RunUpdateSteps();
    } catch (CException* e) {
        ShowError(GetExceptionText(e));
    }
    return FALSE;
}

BOOL CDlgUpdate::ReadUpdateInfo()
{
    m_pServer->Connect();
    if (!m_pServer->SetCurrentDirectory(m_strRemoteFolder)) {
        // WinInet's codes (with the server's answer) have their text in WinInet, not in the system.
        CInternetException error(::GetLastError());
        ShowError(GetExceptionText(&error, FALSE));
        return FALSE;
    }
    AddLogLine(logInfo, LoadResString(IDS_UPD_CONNECTED));
    AddLogLine(logInfo, LoadResString(IDS_UPD_READING_INFO));
    std::string text;
    {
        std::unique_ptr<CUpdateServerFile> pFile = m_pServer->OpenFile(L"info.txt", FALSE);
        char buffer[4096];
        while (UINT nRead = pFile->Read(buffer, sizeof(buffer)))
            text.append(buffer, nRead);
    }
    m_info.Parse(text);
    AddLogLine(logInfo, LoadResString(IDS_UPD_INFO_READ));
    return TRUE;
}

BOOL CDlgUpdate::RunUpdateSteps()
{
    SetPos(0);
    SetStatus(L"");
    AddLogLine(logInfo, LoadResString(IDS_UPD_CONNECTING));
    if (!ReadUpdateInfo())
        return FALSE;

    const DWORD dwVersion = CUpdateInfo::PackVersion(m_nMajor, m_nMinor);
    const DWORD dwRelease = m_info.GetReleaseVersion();
    if (dwVersion == dwRelease) {
        ShowInfo(LoadResString(IDP_UPD_ALREADY_CURRENT));
        return FALSE;
    }
    if (m_info.IsInfoVersion(dwVersion)) {
        ShowError(m_info.GetInfoMessage());
        return FALSE;
    }
    if (!m_info.IsUpdateVersion(dwVersion)) {
        ShowError(FormatResMessage(IDP_UPD_NOT_COMPATIBLE, m_nMajor, m_nMinor));
        return FALSE;
    }
    if (!m_info.GetUpdateMessage().IsEmpty())
        ShowInfo(m_info.GetUpdateMessage());

    CString strAvailable =
        FormatResMessage(IDP_UPD_AVAILABLE, m_nMajor, m_nMinor, static_cast<int>(dwRelease >> 16),
                         static_cast<int>(dwRelease & 0xFFFF), FormatNumber(m_info.GetReleaseSize(), 0));
    AddLogLine(logInfo, strAvailable);
    if (AfxMessageBox(strAvailable + L"\n\n" + LoadResString(IDP_UPD_PROCEED), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return FALSE;

    const CString strFileName = ::PathFindFileNameW(m_info.GetReleaseFile());
    const CString strLocalPath = CombinePath(m_strLocalFolder, strFileName);
    BOOL bDownload = TRUE;
    if (::GetFileAttributesW(strLocalPath) != INVALID_FILE_ATTRIBUTES) {
        CString strExists = FormatResMessage(IDP_UPD_COPY_EXISTS, m_strLocalFolder, strFileName);
        AddLogLine(logWarning, strExists);
        bDownload = AfxMessageBox(strExists + L"\n\n" + LoadResString(IDP_UPD_DOWNLOAD_AGAIN),
                                  MB_YESNO | MB_ICONQUESTION) == IDYES;
    }
    if (bDownload && !DownloadFile(m_info.GetReleaseFile(), strLocalPath))
        return FALSE;

    SetRange(0, 100);
    SetPos(100);
    CString strClose = LoadResString(IDP_UPD_CLOSE_PROGRAM);
    if (bDownload)
        strClose = LoadResString(IDS_UPD_DOWNLOADED) + L"\n\n" + strClose;
    if (AfxMessageBox(strClose, MB_OKCANCEL | MB_ICONINFORMATION) != IDOK)
        return FALSE;
    return StartSetup(strLocalPath);
}

BOOL CDlgUpdate::StartSetup(const CString& strLocalPath)
{
    if (AfxShellOpen(m_hWnd, strLocalPath, SW_SHOWDEFAULT) > 32)
        return TRUE;
    ShowError(LastErrorText());
    return FALSE;
}

BOOL CDlgUpdate::DownloadFile(LPCTSTR lpszRemoteFile, LPCTSTR lpszLocalPath)
{
    AddLogLine(logInfo, LoadResString(IDS_UPD_DOWNLOADING));
    if (!EnsureFolder(GetPathDir(lpszLocalPath))) {
        ShowError(LastErrorText());
        return FALSE;
    }
    CFile file;
    CFileException fileError;
    if (!file.Open(lpszLocalPath, CFile::modeCreate | CFile::modeWrite, &fileError)) {
        ShowError(GetExceptionText(&fileError, FALSE));
        return FALSE;
    }
    const DWORD dwStart = ::GetTickCount();
    // The descriptor's kilobytes are an estimate for the progress, rounded either way; whether the whole file came
    // is measured against the size the server itself reports for it. From a server that tells none only a broken
    // transfer (a read that fails) is known to be short.
    const ULONGLONG nTotal = static_cast<ULONGLONG>(m_info.GetReleaseSize()) * 1024;
    ULONGLONG nServerSize = 0;
    const BOOL bServerSize = m_pServer->GetFileSize(lpszRemoteFile, nServerSize);
    BOOL bDone = FALSE;
    try {
        std::unique_ptr<CUpdateServerFile> pRemote = m_pServer->OpenFile(lpszRemoteFile, TRUE);
        SetRange(0, 100);
        SetPos(0);
        SetStatus(L"");
        std::unique_ptr<BYTE[]> buffer(new BYTE[kBlockSize]);
        ULONGLONG nCount = 0;
        for (;;) {
            UINT nRead = pRemote->Read(buffer.get(), kBlockSize);
            if (nRead == 0) {
                if (bServerSize && nCount != nServerSize) {
                    ShowError(FormatResMessage(IDP_UPD_SIZE_MISMATCH, lpszRemoteFile,
                                               FormatNumber(static_cast<double>(nCount), 0),
                                               FormatNumber(static_cast<double>(nServerSize), 0)));
                    break;
                }
                file.Close();
                AddLogLine(logInfo, LoadResString(IDS_UPD_DOWNLOADED));
                bDone = TRUE;
                break;
            }
            if (CheckCancel() &&
                AfxMessageBox(LoadResString(IDP_UPD_CANCEL_DOWNLOAD), MB_YESNO | MB_ICONQUESTION) == IDYES) {
                AddLogLine(logWarning, LoadResString(IDS_UPD_CANCELLED));
                break;
            }
            file.Write(buffer.get(), nRead);
            nCount += nRead;
            const int nPercent = DownloadPercent(nCount, nTotal);
            SetPos(nPercent);
            SetStatus(FormatResMessage(IDS_UPD_PROGRESS, FormatNumber(static_cast<double>(nCount), 0),
                                       FormatNumber(static_cast<double>(nTotal), 0), nPercent,
                                       FormatElapsed((::GetTickCount() - dwStart) / 1000)));
        }
    } catch (CException* e) {
        ShowError(GetExceptionText(e));
    }
    if (!bDone) {
        // Nothing half-written stays behind for a later run to offer.
        file.Abort();
        ::DeleteFileW(lpszLocalPath);
    }
    return bDone;
}
