// CDialog: a dialog box from a resource template or from a template in memory, modal (DoModal) or modeless
// (Create). Data moves between the controls and the members through DoDataExchange: loaded before
// OnInitDialog returns, saved and checked by OnOK.
//
// Every modal dialog goes through one seam: with a modal handler installed (tests), DoModal makes the dialog
// without showing it and without a modal loop, hands it to the handler, which works it as a user would
// (control values, commands such as IDOK), and answers the result to use if it left the dialog open.
#pragma once

#include "afxwnd.h"

#include <functional>

class CDialog : public CWnd
{
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog() = default;
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    explicit CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);

    // Modal from a template in memory (it must stay valid while the dialog runs).
    BOOL InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = nullptr);
    virtual INT_PTR DoModal();
    // Modeless
    BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    BOOL Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
    BOOL CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = nullptr);

    // Ends a modal dialog with nResult (DoModal's answer).
    void EndDialog(int nResult);
    virtual BOOL OnInitDialog();   // loads the controls (UpdateData(FALSE)); TRUE: default focus
    virtual void OnOK();           // saves and checks the controls, then ends with IDOK
    virtual void OnCancel();       // ends with IDCANCEL

    BOOL PreTranslateMessage(MSG* pMsg) override;
    void NextDlgCtrl() const { SendMessage(WM_NEXTDLGCTL, 0, 0); }
    void PrevDlgCtrl() const { SendMessage(WM_NEXTDLGCTL, 1, 0); }
    void GotoDlgCtrl(CWnd* pWndCtrl) { SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(pWndCtrl->m_hWnd), 1); }
    void SetDefID(UINT nID) { SendMessage(DM_SETDEFID, nID); }
    DWORD GetDefID() const { return static_cast<DWORD>(SendMessage(DM_GETDEFID)); }
    void MapDialogRect(LPRECT lpRect) const { ::MapDialogRect(m_hWnd, lpRect); }

protected:
    LPCDLGTEMPLATE LoadTemplate() const;   // the resource or memory template; null when missing

    afx_msg LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    LPCTSTR m_lpszTemplateName = nullptr;
    LPCDLGTEMPLATE m_lpDialogTemplate = nullptr;
    CWnd* m_pParentWnd = nullptr;
    UINT m_nIDHelp = 0;
};

// The dialog procedure of the framework's dialogs: their window procedure handles the messages before it.
INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// A dialog template of the resources (RT_DIALOG), or null.
LPCDLGTEMPLATE AfxLoadDialogTemplate(LPCTSTR lpszTemplateName);

// The seam of modal dialogs. A common dialog (file dialog) reaches the handler without a window: the
// handler fills in its answer (m_ofn) instead.
typedef std::function<INT_PTR(CDialog& dialog)> AFX_MODAL_HANDLER;
// Installs a handler (an empty one restores the real modal loop); answers the previous one.
AFX_MODAL_HANDLER AfxSetModalHandler(AFX_MODAL_HANDLER handler);
// The installed handler, or an empty one.
const AFX_MODAL_HANDLER& AfxGetModalHandler();
