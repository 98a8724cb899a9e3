#include "afxformview.h"

#include "afxdialog.h"
#include "afxframe.h"

IMPLEMENT_DYNAMIC(CFormView, CView)

BEGIN_MESSAGE_MAP(CFormView, CView)
    ON_WM_CREATE()
    ON_WM_SETFOCUS()
END_MESSAGE_MAP()

BOOL CFormView::Create(LPCTSTR, LPCTSTR, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                       CCreateContext* pContext)
{
    CREATESTRUCT cs = {};
    cs.style = static_cast<LONG>(dwStyle | WS_CHILD);
    LPCDLGTEMPLATE lpTemplate = AfxLoadDialogTemplate(m_lpszTemplateName);
    if (!lpTemplate || !PreCreateWindow(cs)) {
        PostNcDestroy();   // like a window whose creation failed: the view ends here
        return FALSE;
    }
    m_pCreateContext = pContext;
    BOOL bCreated = CreateDlgIndirect(lpTemplate, pParentWnd);
    if (!bCreated)
        return FALSE;   // the view has ended with its window
    m_pCreateContext = nullptr;

    // The template's style, with the border the frame asked for.
    ModifyStyle(WS_BORDER | WS_CAPTION, static_cast<DWORD>(cs.style) & (WS_BORDER | WS_CAPTION));
    ModifyStyleEx(WS_EX_CLIENTEDGE, cs.dwExStyle & WS_EX_CLIENTEDGE, SWP_FRAMECHANGED);
    SetDlgCtrlID(static_cast<int>(nID));
    SetWindowPos(nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (dwStyle & WS_VISIBLE)
        ShowWindow(SW_SHOWNORMAL);
    return TRUE;
}

int CFormView::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    CREATESTRUCT cs = *lpCreateStruct;
    cs.lpCreateParams = m_pCreateContext;
    return CView::OnCreate(&cs);
}

void CFormView::OnInitialUpdate()
{
    UpdateData(FALSE);
    CView::OnInitialUpdate();
}

BOOL CFormView::PreTranslateMessage(MSG* pMsg)
{
    if (CView::PreTranslateMessage(pMsg))
        return TRUE;
    // The dialog manager would eat the frames' accelerators: the frames see the message first.
    for (CFrameWnd* pFrame = GetParentFrame(); pFrame; pFrame = pFrame->GetParentFrame()) {
        if (pFrame->PreTranslateMessage(pMsg))
            return TRUE;
    }
    if (!::GetWindow(m_hWnd, GW_CHILD))
        return FALSE;
    return PreTranslateInput(pMsg);
}

void CFormView::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView)
{
    if (!bActivate) {
        HWND hWndFocus = ::GetFocus();
        if (hWndFocus && ::IsChild(m_hWnd, hWndFocus))
            m_hWndFocus = hWndFocus;
    }
    CView::OnActivateView(bActivate, pActivateView, pDeactiveView);
}

void CFormView::OnSetFocus(CWnd*)
{
    // The focus goes back to the control that had it, or to the first control.
    if (!m_hWndFocus || !::IsChild(m_hWnd, m_hWndFocus))
        m_hWndFocus = ::GetNextDlgTabItem(m_hWnd, nullptr, FALSE);
    if (m_hWndFocus)
        ::SetFocus(m_hWndFocus);
}
