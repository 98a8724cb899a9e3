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

INT_PTR CALLBACK AfxDlgProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

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

INT_PTR CWnd::DoModalWindow(CWnd* pParentWnd, const std::function<BOOL(HWND)>& create,
                            const std::function<CDialog*()>& pickDialog, BOOL bDisableOwner)
{
    HWND hWndOwner = GetModalOwner(pParentWnd);
    m_nFlags |= WF_CONTINUEMODAL;   // the window may end itself while it is made (OnInitDialog)
    // However the window ends, an exception included, the owner is enabled and active again before the
    // window goes.
    struct CEndOnExit
    {
        CWnd* pWnd;
        HWND hWndOwner;
        BOOL bEnableOwner;
        ~CEndOnExit()
        {
            pWnd->m_nFlags &= ~WF_CONTINUEMODAL;
            if (pWnd->m_hWnd)
                ::SetWindowPos(pWnd->m_hWnd, nullptr, 0, 0, 0, 0,
                               SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
            if (bEnableOwner)
                ::EnableWindow(hWndOwner, TRUE);
            if (hWndOwner && pWnd->m_hWnd && ::GetActiveWindow() == pWnd->m_hWnd)
                ::SetActiveWindow(hWndOwner);
            pWnd->DestroyWindow();
        }
    } end = {this, hWndOwner, FALSE};

    if (const AFX_MODAL_HANDLER& handler = AfxGetModalHandler()) {
        if (!create(hWndOwner))
            return -1;
        if (ContinueModal()) {
            INT_PTR nAnswer = handler(*pickDialog());
            if (ContinueModal())   // the handler left it open: its answer ends it
                m_nModalResult = static_cast<int>(nAnswer);
        }
        return m_nModalResult;
    }

    // The owner is disabled while the window runs, as for the system's own modal dialogs.
    end.bEnableOwner = bDisableOwner && hWndOwner && ::IsWindowEnabled(hWndOwner);
    if (end.bEnableOwner)
        ::EnableWindow(hWndOwner, FALSE);
    if (!create(hWndOwner))
        return -1;
    if (ContinueModal())
        RunModalLoop(MLF_SHOWONIDLE | ((GetStyle() & DS_NOIDLEMSG) ? MLF_NOIDLEMSG : 0));
    return m_nModalResult;
}

INT_PTR CDialog::DoModal()
{
    LPCDLGTEMPLATE lpTemplate = LoadTemplate();
    if (!lpTemplate)
        return -1;
    m_nModalResult = -1;
    return DoModalWindow(
        m_pParentWnd, [&](HWND hWndOwner) { return CreateDlgIndirect(lpTemplate, CWnd::FromHandle(hWndOwner)); },
        [this] { return this; });
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
