#include "afxdialog.h"

#include "afxthread.h"

#include <commctrl.h>

IMPLEMENT_DYNAMIC(CDialog, CWnd)

namespace
{
AFX_MODAL_HANDLER& ModalHandler()
{
    static AFX_MODAL_HANDLER handler;
    return handler;
}

// The dialog manager's procedure; the framework's window procedure handles the messages before it.
INT_PTR CALLBACK AfxDlgProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

// The window that owns a modal dialog: the given parent's top-level window, else the main window.
HWND GetModalOwner(CWnd* pParentWnd)
{
    HWND hWnd = pParentWnd ? pParentWnd->m_hWnd : nullptr;
    if (!hWnd) {
        CWnd* pMainWnd = AfxGetMainWnd();
        hWnd = pMainWnd ? pMainWnd->m_hWnd : ::GetActiveWindow();
    }
    return hWnd ? ::GetAncestor(hWnd, GA_ROOT) : nullptr;
}
} // namespace

AFX_MODAL_HANDLER AfxSetModalHandler(AFX_MODAL_HANDLER handler)
{
    AFX_MODAL_HANDLER previous = ModalHandler();
    ModalHandler() = std::move(handler);
    return previous;
}

const AFX_MODAL_HANDLER& AfxGetModalHandler() { return ModalHandler(); }

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_MESSAGE(WM_INITDIALOG, &CDialog::HandleInitDialog)
    ON_COMMAND(IDOK, &CDialog::OnOK)
    ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_lpszTemplateName(MAKEINTRESOURCEW(nIDTemplate)), m_pParentWnd(pParentWnd), m_nIDHelp(nIDTemplate)
{
}

CDialog::CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
    : m_lpszTemplateName(lpszTemplateName), m_pParentWnd(pParentWnd)
{
}

BOOL CDialog::InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd)
{
    m_lpDialogTemplate = lpDialogTemplate;
    m_pParentWnd = pParentWnd;
    return lpDialogTemplate != nullptr;
}

LPCDLGTEMPLATE AfxLoadDialogTemplate(LPCTSTR lpszTemplateName)
{
    if (!lpszTemplateName)
        return nullptr;
    HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC hResource = ::FindResourceW(hInst, lpszTemplateName, MAKEINTRESOURCEW(5) /* RT_DIALOG */);
    HGLOBAL hTemplate = hResource ? ::LoadResource(hInst, hResource) : nullptr;
    return hTemplate ? static_cast<LPCDLGTEMPLATE>(::LockResource(hTemplate)) : nullptr;
}

LPCDLGTEMPLATE CDialog::LoadTemplate() const
{
    return m_lpDialogTemplate ? m_lpDialogTemplate : AfxLoadDialogTemplate(m_lpszTemplateName);
}

BOOL CWnd::CreateDlgIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd)
{
    // Templates may hold common controls (date pickers, lists, trees): their classes must exist first.
    static const BOOL bCommonControls = [] {
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_STANDARD_CLASSES};
        return ::InitCommonControlsEx(&icc);
    }();
    (void)bCommonControls;

    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateDialogIndirectParamW(AfxGetResourceHandle(), lpDialogTemplate,
                                             pParentWnd ? pParentWnd->m_hWnd : nullptr, AfxDlgProc, 0);
    // As for CreateEx: a window that failed before the hook saw it ends the object here.
    if (!AfxUnhookWindowCreate())
        PostNcDestroy();
    return hWnd != nullptr;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) { return Create(MAKEINTRESOURCEW(nIDTemplate), pParentWnd); }

BOOL CDialog::Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
{
    m_lpszTemplateName = lpszTemplateName;
    if (IS_INTRESOURCE(lpszTemplateName) && m_nIDHelp == 0)
        m_nIDHelp = static_cast<UINT>(reinterpret_cast<UINT_PTR>(lpszTemplateName));
    LPCDLGTEMPLATE lpTemplate = LoadTemplate();
    return lpTemplate ? CreateIndirect(lpTemplate, pParentWnd) : FALSE;
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd)
{
    if (!pParentWnd)
        pParentWnd = AfxGetMainWnd();
    m_pParentWnd = pParentWnd;
    return CreateDlgIndirect(lpDialogTemplate, pParentWnd);
}

INT_PTR CDialog::DoModal()
{
    LPCDLGTEMPLATE lpTemplate = LoadTemplate();
    if (!lpTemplate)
        return -1;
    HWND hWndOwner = GetModalOwner(m_pParentWnd);
    m_nModalResult = -1;
    m_nFlags |= WF_CONTINUEMODAL;   // OnInitDialog may already end the dialog

    if (const AFX_MODAL_HANDLER& handler = AfxGetModalHandler()) {
        if (!CreateDlgIndirect(lpTemplate, CWnd::FromHandle(hWndOwner)))
            return -1;
        struct CDestroyOnExit
        {
            CDialog* pDialog;
            ~CDestroyOnExit() { pDialog->DestroyWindow(); }
        } destroy = {this};
        if (ContinueModal()) {
            INT_PTR nAnswer = handler(*this);
            if (ContinueModal()) {   // the handler left it open: its answer ends it
                m_nFlags &= ~WF_CONTINUEMODAL;
                m_nModalResult = static_cast<int>(nAnswer);
            }
        }
        return m_nModalResult;
    }

    // The owner is disabled while the dialog runs, as for the system's own modal dialogs.
    BOOL bEnableOwner = hWndOwner && ::IsWindowEnabled(hWndOwner);
    if (bEnableOwner)
        ::EnableWindow(hWndOwner, FALSE);
    if (CreateDlgIndirect(lpTemplate, CWnd::FromHandle(hWndOwner)) && ContinueModal()) {
        ShowWindow(SW_SHOWNORMAL);
        RunModalLoop();
    }
    if (m_hWnd)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    if (bEnableOwner)
        ::EnableWindow(hWndOwner, TRUE);
    if (hWndOwner && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(hWndOwner);
    DestroyWindow();
    return m_nModalResult;
}

void CDialog::EndDialog(int nResult)
{
    if (m_nFlags & (WF_MODALLOOP | WF_CONTINUEMODAL))
        EndModalLoop(nResult);
    ::EndDialog(m_hWnd, nResult);
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM) { return OnInitDialog(); }

BOOL CDialog::OnInitDialog()
{
    if (!UpdateData(FALSE)) {
        EndDialog(-1);
        return FALSE;
    }
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;   // the user has been told; the dialog stays open
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    if (CWnd::PreTranslateMessage(pMsg))
        return TRUE;
    return PreTranslateInput(pMsg);
}
