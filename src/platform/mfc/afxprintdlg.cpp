#include "afxprintdlg.h"

#include "afxapp.h"

IMPLEMENT_DYNAMIC(CPrintDialog, CDialog)

CPrintDialog::CPrintDialog(BOOL bPrintSetupOnly, DWORD dwFlags, CWnd* pParentWnd)
{
    m_pParentWnd = pParentWnd;
    m_pd.lStructSize = sizeof(m_pd);
    m_pd.Flags = (dwFlags & ~PD_RETURNIC) | (bPrintSetupOnly ? PD_PRINTSETUP : PD_RETURNDC);
    m_pd.nCopies = 1;
}

CPrintDialog::~CPrintDialog()
{
    if (m_pd.hDC)
        ::DeleteDC(m_pd.hDC);
    CWinApp* pApp = AfxGetApp();
    if (m_pd.hDevMode && (!pApp || m_pd.hDevMode != pApp->m_hDevMode))
        ::GlobalFree(m_pd.hDevMode);
    if (m_pd.hDevNames && (!pApp || m_pd.hDevNames != pApp->m_hDevNames))
        ::GlobalFree(m_pd.hDevNames);
}

INT_PTR CPrintDialog::RunDialog()
{
    if (const AFX_MODAL_HANDLER& handler = AfxGetModalHandler())
        return handler(*this);
    return ::PrintDlgW(&m_pd) ? IDOK : IDCANCEL;
}

INT_PTR CPrintDialog::DoModal()
{
    if (!m_pd.hwndOwner) {
        CWnd* pOwner = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
        m_pd.hwndOwner = pOwner ? pOwner->m_hWnd : nullptr;
    }
    CWinApp* pApp = AfxGetApp();
    bool bAppPrinter = pApp && m_pd.hDevNames && m_pd.hDevNames == pApp->m_hDevNames;
    INT_PTR nResult = RunDialog();
    // The system frees the handles it replaces: the application must not keep the old ones.
    if (bAppPrinter)
        pApp->SelectPrinter(m_pd.hDevNames, m_pd.hDevMode, FALSE);
    return nResult;
}

BOOL CPrintDialog::GetDefaults()
{
    m_pd.Flags |= PD_RETURNDEFAULT;
    BOOL bFound = RunDialog() == IDOK && m_pd.hDevNames;
    m_pd.Flags &= ~PD_RETURNDEFAULT;
    return bFound;
}

HDC CPrintDialog::GetPrinterDC()
{
    HDC hDC = m_pd.hDC;
    m_pd.hDC = nullptr;
    return hDC;
}

int CPrintDialog::GetCopies() const
{
    if (m_pd.Flags & PD_USEDEVMODECOPIES) {
        if (LPDEVMODEW pDevMode = GetDevMode()) {
            int nCopies = pDevMode->dmCopies;
            ::GlobalUnlock(m_pd.hDevMode);
            return nCopies;
        }
    }
    return m_pd.nCopies;
}

LPDEVMODEW CPrintDialog::GetDevMode() const
{
    return m_pd.hDevMode ? static_cast<LPDEVMODEW>(::GlobalLock(m_pd.hDevMode)) : nullptr;
}

CString CPrintDialog::GetDevNamesString(WORD DEVNAMES::*pOffset) const
{
    auto pDevNames = m_pd.hDevNames ? static_cast<const DEVNAMES*>(::GlobalLock(m_pd.hDevNames)) : nullptr;
    if (!pDevNames)
        return CString();
    // The offsets count characters from the start of the block.
    CString strName(reinterpret_cast<LPCWSTR>(pDevNames) + pDevNames->*pOffset);
    ::GlobalUnlock(m_pd.hDevNames);
    return strName;
}

CString CPrintDialog::GetDriverName() const { return GetDevNamesString(&DEVNAMES::wDriverOffset); }

CString CPrintDialog::GetDeviceName() const { return GetDevNamesString(&DEVNAMES::wDeviceOffset); }

CString CPrintDialog::GetPortName() const { return GetDevNamesString(&DEVNAMES::wOutputOffset); }
