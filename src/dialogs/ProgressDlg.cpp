#include "ProgressDlg.h"

#include "resource.h"

IMPLEMENT_DYNAMIC(CProgressDlg, CDialog)

BOOL CProgressDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_wndProgress.SubclassDlgItem(IDC_PROGRESS_BAR, this);
    return TRUE;
}

void CProgressDlg::SetStatus(LPCTSTR lpszText)
{
    SetDlgItemText(IDC_PROGRESS_STATUS, lpszText);
}

void CProgressDlg::SetRange(int nLower, int nUpper)
{
    m_wndProgress.SetRange32(nLower, nUpper);
}

void CProgressDlg::SetPos(int nPos)
{
    PumpMessages();
    m_wndProgress.SetPos(nPos);
}

void CProgressDlg::SetStep(int nStep)
{
    m_wndProgress.SetStep(nStep);
}

void CProgressDlg::OffsetPos(int nPos)
{
    PumpMessages();
    m_wndProgress.OffsetPos(nPos);
}

void CProgressDlg::StepIt()
{
    PumpMessages();
    m_wndProgress.StepIt();
}

void CProgressDlg::PumpMessages()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (m_hWnd && ::IsDialogMessageW(m_hWnd, &msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

BOOL CProgressDlg::CheckCancel()
{
    PumpMessages();
    BOOL bCancel = m_bCancel;
    m_bCancel = FALSE;
    return bCancel;
}
