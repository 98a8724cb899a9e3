// A dialog with a progress bar, a status line and a cancel flag, that keeps the interface alive during a long
// task on the interface thread by pumping waiting messages between its steps.
#pragma once

#include "platform/mfc/afxcmn.h"
#include "platform/mfc/afxdialog.h"

class CProgressDlg : public CDialog
{
    DECLARE_DYNAMIC(CProgressDlg)
public:
    explicit CProgressDlg(UINT nIDTemplate, CWnd* pParentWnd = nullptr) : CDialog(nIDTemplate, pParentWnd) {}

    void SetStatus(LPCTSTR lpszText);
    void SetRange(int nLower, int nUpper);
    void SetPos(int nPos);
    void SetStep(int nStep);
    void OffsetPos(int nPos);
    void StepIt();
    // Dispatches every waiting message of the thread, dialog messages of this dialog as such. A WM_QUIT is
    // posted again for the message loop it was meant for.
    void PumpMessages();
    // Pumps, then answers the cancel flag and clears it.
    BOOL CheckCancel();

protected:
    BOOL OnInitDialog() override;
    // Enter does not close the dialog.
    void OnOK() override {}
    void OnCancel() override { m_bCancel = TRUE; }

    CProgressCtrl m_wndProgress;

private:
    BOOL m_bCancel = FALSE;
};
