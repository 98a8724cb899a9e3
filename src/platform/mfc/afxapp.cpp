#include "afxapp.h"

#include "afxdoctempl.h"
#include "afxfiledlg.h"
#include "afxmodule.h"
#include "afxprintdlg.h"
#include "afxres.h"
#include "afxstate.h"

#include <shlwapi.h>

#include <memory>

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

namespace
{
CWinApp* g_pApp = nullptr;

// Registry value of a section, or false when the key or the value is missing.
bool QueryValue(CWinApp* pApp, LPCTSTR lpszSection, LPCTSTR lpszEntry, DWORD& dwType, std::unique_ptr<BYTE[]>& data,
                DWORD& dwSize)
{
    HKEY hSecKey = pApp->GetSectionKey(lpszSection, KEY_READ);
    if (!hSecKey)
        return false;
    dwSize = 0;
    LONG lResult = ::RegQueryValueExW(hSecKey, lpszEntry, nullptr, &dwType, nullptr, &dwSize);
    if (lResult == ERROR_SUCCESS) {
        data.reset(new BYTE[dwSize + sizeof(WCHAR)]());   // room for a terminator the value may lack
        lResult = ::RegQueryValueExW(hSecKey, lpszEntry, nullptr, &dwType, data.get(), &dwSize);
    }
    ::RegCloseKey(hSecKey);
    return lResult == ERROR_SUCCESS;
}

BOOL SetValue(CWinApp* pApp, LPCTSTR lpszSection, LPCTSTR lpszEntry, DWORD dwType, const void* pData, DWORD dwSize)
{
    HKEY hSecKey = pApp->GetSectionKey(lpszSection);
    if (!hSecKey)
        return FALSE;
    LONG lResult = ::RegSetValueExW(hSecKey, lpszEntry, 0, dwType, static_cast<const BYTE*>(pData), dwSize);
    ::RegCloseKey(hSecKey);
    return lResult == ERROR_SUCCESS;
}
} // namespace

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
END_MESSAGE_MAP()

CWinApp* AfxGetApp() { return g_pApp; }

HINSTANCE AfxGetInstanceHandle()
{
    // The module state's when set (the framework's resource switch lends its own), else the program's.
    if (HINSTANCE hInstance = AfxGetModuleState()->m_hCurrentInstanceHandle)
        return hInstance;
    return g_pApp && g_pApp->m_hInstance ? g_pApp->m_hInstance : ::GetModuleHandleW(nullptr);
}

LPCTSTR AfxGetAppName() { return g_pApp ? g_pApp->m_pszAppName : nullptr; }

CWinApp::CWinApp(LPCTSTR lpszAppName) : m_strAppName(lpszAppName ? CString(lpszAppName) : AfxGetAppTitle())
{
    ASSERT(g_pApp == nullptr);   // one application object per process
    g_pApp = this;
    AfxGetThreadState()->m_pCurrentWinThread = this;
    m_hInstance = ::GetModuleHandleW(nullptr);
    m_pszAppName = m_strAppName;
    m_pszProfileName = m_strAppName;
}

CWinApp::~CWinApp()
{
    for (CDocTemplate* pTemplate : m_templates)
        delete pTemplate;
    delete m_pRecentFileList;
    SelectPrinter(nullptr, nullptr);
    if (g_pApp == this)
        g_pApp = nullptr;
}

BOOL CWinApp::InitApplication() { return TRUE; }

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::Run()
{
    if (!m_pMainWnd)
        ::PostQuitMessage(0);   // nothing to run: end at once
    return CWinThread::Run();
}

BOOL CWinApp::OnIdle(LONG lCount)
{
    // First the command-UI updates (the user sees them), then the clean-up of temporary wrappers.
    if (lCount <= 0) {
        CWinThread::OnIdle(lCount);
        return TRUE;
    }
    if (lCount == 1)
        return CWinThread::OnIdle(lCount);
    return FALSE;
}

int CWinApp::ExitInstance() { return CWinThread::ExitInstance(); }

void CWinApp::SetRegistryKey(LPCTSTR lpszRegistryKey)
{
    m_strRegistryKey = lpszRegistryKey;
    m_pszRegistryKey = m_strRegistryKey;
    m_pszProfileName = m_pszAppName;
    AfxSetRegistryKey(m_pszRegistryKey, m_pszProfileName);
}

void CWinApp::SetRegistryKey(UINT nIDRegistryKey)
{
    CString strKey;
    strKey.LoadString(nIDRegistryKey);
    SetRegistryKey(strKey);
}

HKEY CWinApp::GetAppRegistryKey(REGSAM samDesired)
{
    if (!m_pszRegistryKey || !*m_pszRegistryKey)
        return nullptr;
    CString strPath;
    strPath.Format(L"Software\\%s\\%s", m_pszRegistryKey, m_pszProfileName);
    HKEY hAppKey = nullptr;
    DWORD dwDisposition = 0;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, strPath, 0, nullptr, REG_OPTION_NON_VOLATILE, samDesired, nullptr,
                          &hAppKey, &dwDisposition) != ERROR_SUCCESS)
        return nullptr;
    return hAppKey;
}

HKEY CWinApp::GetSectionKey(LPCTSTR lpszSection, REGSAM samDesired)
{
    HKEY hAppKey = GetAppRegistryKey(samDesired);
    if (!hAppKey)
        return nullptr;
    HKEY hSectionKey = nullptr;
    DWORD dwDisposition = 0;
    ::RegCreateKeyExW(hAppKey, lpszSection, 0, nullptr, REG_OPTION_NON_VOLATILE, samDesired, nullptr, &hSectionKey,
                      &dwDisposition);
    ::RegCloseKey(hAppKey);
    return hSectionKey;
}

UINT CWinApp::GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault)
{
    DWORD dwType = 0, dwSize = 0;
    std::unique_ptr<BYTE[]> data;
    if (!QueryValue(this, lpszSection, lpszEntry, dwType, data, dwSize) || dwType != REG_DWORD || dwSize != sizeof(DWORD))
        return static_cast<UINT>(nDefault);
    return *reinterpret_cast<const DWORD*>(data.get());
}

BOOL CWinApp::WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue)
{
    DWORD dwValue = static_cast<DWORD>(nValue);
    return SetValue(this, lpszSection, lpszEntry, REG_DWORD, &dwValue, sizeof(dwValue));
}

CString CWinApp::GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault)
{
    DWORD dwType = 0, dwSize = 0;
    std::unique_ptr<BYTE[]> data;
    if (!QueryValue(this, lpszSection, lpszEntry, dwType, data, dwSize) || (dwType != REG_SZ && dwType != REG_EXPAND_SZ))
        return CString(lpszDefault);
    return CString(reinterpret_cast<LPCWSTR>(data.get()));
}

BOOL CWinApp::WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue)
{
    if (!lpszEntry) {
        // The whole section, with any sub-keys it has.
        HKEY hAppKey = GetAppRegistryKey();
        if (!hAppKey)
            return FALSE;
        DWORD dwResult = ::SHDeleteKeyW(hAppKey, lpszSection);
        ::RegCloseKey(hAppKey);
        return dwResult == ERROR_SUCCESS || dwResult == ERROR_FILE_NOT_FOUND;
    }
    if (!lpszValue) {
        HKEY hSecKey = GetSectionKey(lpszSection);
        if (!hSecKey)
            return FALSE;
        LONG lResult = ::RegDeleteValueW(hSecKey, lpszEntry);
        ::RegCloseKey(hSecKey);
        return lResult == ERROR_SUCCESS || lResult == ERROR_FILE_NOT_FOUND;
    }
    DWORD dwSize = static_cast<DWORD>((wcslen(lpszValue) + 1) * sizeof(WCHAR));
    return SetValue(this, lpszSection, lpszEntry, REG_SZ, lpszValue, dwSize);
}

BOOL CWinApp::GetProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE* ppData, UINT* pBytes)
{
    *ppData = nullptr;
    *pBytes = 0;
    DWORD dwType = 0, dwSize = 0;
    std::unique_ptr<BYTE[]> data;
    if (!QueryValue(this, lpszSection, lpszEntry, dwType, data, dwSize) || dwType != REG_BINARY)
        return FALSE;
    *ppData = new BYTE[dwSize ? dwSize : 1];
    memcpy(*ppData, data.get(), dwSize);
    *pBytes = dwSize;
    return TRUE;
}

BOOL CWinApp::WriteProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE pData, UINT nBytes)
{
    return SetValue(this, lpszSection, lpszEntry, REG_BINARY, pData, nBytes);
}

void CWinApp::LoadStdProfileSettings(UINT /*nMaxMRU: no recent-file list*/)
{
    m_nNumPreviewPages = GetProfileInt(L"Settings", L"PreviewPages", 0);
}

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate) { m_templates.push_back(pTemplate); }

POSITION CWinApp::GetFirstDocTemplatePosition() const
{
    return m_templates.empty() ? nullptr : reinterpret_cast<POSITION>(static_cast<INT_PTR>(1));
}

CDocTemplate* CWinApp::GetNextDocTemplate(POSITION& pos) const
{
    // The position is the index of the template plus one.
    size_t nIndex = static_cast<size_t>(reinterpret_cast<INT_PTR>(pos)) - 1;
    pos = nIndex + 1 < m_templates.size() ? reinterpret_cast<POSITION>(static_cast<INT_PTR>(nIndex + 2)) : nullptr;
    return m_templates[nIndex];
}

CDocument* CWinApp::OpenDocumentFile(LPCTSTR lpszFileName)
{
    return m_templates.empty() ? nullptr : m_templates.front()->OpenDocumentFile(lpszFileName);
}

BOOL CWinApp::SaveAllModified()
{
    for (CDocTemplate* pTemplate : m_templates) {
        if (!pTemplate->SaveAllModified())
            return FALSE;
    }
    return TRUE;
}

void CWinApp::CloseAllDocuments(BOOL bEndSession)
{
    for (CDocTemplate* pTemplate : m_templates)
        pTemplate->CloseAllDocuments(bEndSession);
}

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo)
{
    int nArgs = 0;
    LPWSTR* ppArgs = ::CommandLineToArgvW(::GetCommandLineW(), &nArgs);
    for (int i = 1; i < nArgs; ++i) {
        LPCTSTR pszParam = ppArgs[i];
        BOOL bFlag = pszParam[0] == L'-' || pszParam[0] == L'/';
        rCmdInfo.ParseParam(bFlag ? pszParam + 1 : pszParam, bFlag, i == nArgs - 1);
    }
    ::LocalFree(ppArgs);
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo)
{
    switch (rCmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        if (!OnCmdMsg(ID_FILE_NEW, CN_COMMAND, nullptr, nullptr))
            OnFileNew();
        return m_pMainWnd != nullptr;
    case CCommandLineInfo::FileOpen:
        return OpenDocumentFile(rCmdInfo.m_strFileName) != nullptr && m_pMainWnd != nullptr;
    case CCommandLineInfo::FileNothing:
        return TRUE;
    default:
        return FALSE;
    }
}

HCURSOR CWinApp::LoadCursor(UINT nIDResource) const
{
    return ::LoadCursorW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nIDResource));
}

HICON CWinApp::LoadIcon(UINT nIDResource) const
{
    return ::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nIDResource));
}

void CWinApp::DoWaitCursor(int nCode)
{
    if (nCode > 0)
        AfxBeginWaitCursor();
    else if (nCode < 0)
        AfxEndWaitCursor();
    else
        AfxRestoreWaitCursor();
}

void CWinApp::OnFileNew()
{
    if (!m_templates.empty())
        m_templates.front()->OpenDocumentFile(nullptr);
}

void CWinApp::OnFileOpen()
{
    CString strFilter;
    for (CDocTemplate* pTemplate : m_templates)
        strFilter += pTemplate->GetFileFilter();
    CString strAllFiles, strCaption;
    strAllFiles.LoadString(AFX_IDS_ALLFILTER);
    strCaption.LoadString(AFX_IDS_OPENFILE);
    strFilter += strAllFiles + L"|*.*||";
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, strFilter);
    dialog.m_ofn.lpstrTitle = strCaption;
    if (dialog.DoModal() == IDOK)
        OpenDocumentFile(dialog.GetPathName());
}

void CWinApp::SelectPrinter(HGLOBAL hDevNames, HGLOBAL hDevMode, BOOL bFreeOld)
{
    if (bFreeOld) {
        if (m_hDevNames && m_hDevNames != hDevNames)
            ::GlobalFree(m_hDevNames);
        if (m_hDevMode && m_hDevMode != hDevMode)
            ::GlobalFree(m_hDevMode);
    }
    m_hDevNames = hDevNames;
    m_hDevMode = hDevMode;
}

void CWinApp::UpdatePrinterSelection(BOOL bForceDefaults)
{
    if (m_hDevNames && !bForceDefaults)
        return;
    CPrintDialog dialog(TRUE);
    if (dialog.GetDefaults())
        SelectPrinter(dialog.m_pd.hDevNames, dialog.m_pd.hDevMode);   // now the application's: the dialog keeps them
}

BOOL CWinApp::GetPrinterDeviceDefaults(PRINTDLGW* pPrintDlg)
{
    UpdatePrinterSelection(FALSE);
    if (!m_hDevNames)
        return FALSE;
    pPrintDlg->hDevNames = m_hDevNames;
    pPrintDlg->hDevMode = m_hDevMode;
    return TRUE;
}

INT_PTR CWinApp::DoPrintDialog(CPrintDialog* pPD)
{
    UpdatePrinterSelection(FALSE);
    pPD->m_pd.hDevNames = m_hDevNames;
    pPD->m_pd.hDevMode = m_hDevMode;
    return pPD->DoModal();   // hands the printer chosen back to the application
}

void CWinApp::OnFilePrintSetup()
{
    CPrintDialog dialog(TRUE);
    DoPrintDialog(&dialog);
}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd)
        m_pMainWnd->SendMessage(WM_CLOSE);
}

int AfxWinMain(HINSTANCE hInstance, HINSTANCE, LPTSTR lpCmdLine, int nCmdShow)
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return -1;
    pApp->m_hInstance = hInstance;
    pApp->m_lpCmdLine = lpCmdLine;
    pApp->m_nCmdShow = nCmdShow;
    BOOL bStarted = FALSE;
    try {
        if (!pApp->InitApplication())
            return -1;
        bStarted = pApp->InitInstance();
    } catch (...) {
        // Nothing runs the start-up: the user is told here, and the program ends as after a failed start.
        MSG msg = {};
        AfxProcessCurrentException(&msg);
    }
    if (!bStarted) {
        if (pApp->m_pMainWnd)
            pApp->m_pMainWnd->DestroyWindow();
        return pApp->ExitInstance();
    }
    return pApp->Run();
}

void CCmdTarget::BeginWaitCursor() { AfxGetApp() ? AfxGetApp()->DoWaitCursor(1) : AfxBeginWaitCursor(); }

void CCmdTarget::EndWaitCursor() { AfxGetApp() ? AfxGetApp()->DoWaitCursor(-1) : AfxEndWaitCursor(); }

void CCmdTarget::RestoreWaitCursor() { AfxGetApp() ? AfxGetApp()->DoWaitCursor(0) : AfxRestoreWaitCursor(); }
