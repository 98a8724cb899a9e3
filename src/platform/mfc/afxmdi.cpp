#include "afxmdi.h"

#include "afxres.h"

IMPLEMENT_DYNCREATE(CMDIFrameWnd, CFrameWnd)

BOOL CMDIFrameWnd::CreateClient(LPCREATESTRUCT lpCreateStruct, CMenu* pWindowMenu)
{
    CLIENTCREATESTRUCT ccs = {pWindowMenu ? pWindowMenu->GetSafeHmenu() : nullptr, AFX_IDM_FIRST_MDICHILD};
    m_hWndMDIClient = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
                                        WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_VSCROLL |
                                            WS_HSCROLL | MDIS_ALLCHILDSTYLES,
                                        0, 0, 0, 0, m_hWnd, reinterpret_cast<HMENU>(AFX_IDW_PANE_FIRST),
                                        lpCreateStruct ? lpCreateStruct->hInstance : ::GetModuleHandleW(nullptr), &ccs);
    return m_hWndMDIClient != nullptr;
}

HWND CMDIFrameWnd::MDIGetActive(BOOL* pbMaximized) const
{
    BOOL bMaximized = FALSE;
    HWND hWnd = m_hWndMDIClient ? reinterpret_cast<HWND>(::SendMessageW(m_hWndMDIClient, WM_MDIGETACTIVE, 0,
                                                                         reinterpret_cast<LPARAM>(&bMaximized)))
                                : nullptr;
    if (pbMaximized)
        *pbMaximized = hWnd && bMaximized;
    return hWnd;
}

void CMDIFrameWnd::OnUpdateFrameMenu(HMENU hMenuAlt)
{
    HMENU hMenu = hMenuAlt;
    if (!hMenu) {
        auto* pChild = dynamic_cast<CMDIChildWnd*>(CWnd::FromHandlePermanent(MDIGetActive()));
        hMenu = pChild ? pChild->m_hMenuShared : nullptr;
    }
    ShowClientMenu(hMenu);
}

void CMDIFrameWnd::ShowClientMenu(HMENU hMenu)
{
    if (!hMenu)
        hMenu = m_hMenuDefault;
    // Even without a menu: a menu bar of the frame's own takes the null menu for the frame's.
    if (m_hWndMDIClient) {
        ::SendMessageW(m_hWndMDIClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(hMenu), 0);
        ::DrawMenuBar(m_hWnd);
    }
}

BOOL CMDIFrameWnd::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* /*pContext*/)
{
    return CreateClient(lpcs, nullptr);
}

LRESULT CMDIFrameWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefFrameProcW(m_hWnd, m_hWndMDIClient, message, wParam, lParam);
}

// Document windows

IMPLEMENT_DYNCREATE(CMDIChildWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIChildWnd, CFrameWnd)
    ON_WM_CREATE()
    ON_MESSAGE(WM_MDIACTIVATE, &CMDIChildWnd::OnMDIActivate)
END_MESSAGE_MAP()

BOOL CMDIChildWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                          CMDIFrameWnd* pParentWnd, CCreateContext* pContext)
{
    if (!pParentWnd || !::IsWindow(pParentWnd->m_hWndMDIClient))
        return FALSE;
    if (!lpszClassName)
        lpszClassName = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW),
                                            reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    m_pMDIFrame = pParentWnd;
    m_strTitle = lpszWindowName;
    BOOL bDefault = rect.left == rectDefault.left && rect.top == rectDefault.top &&
                    rect.right == rectDefault.right && rect.bottom == rectDefault.bottom;
    MDICREATESTRUCTW mcs = {lpszClassName,
                            lpszWindowName,
                            ::GetModuleHandleW(nullptr),
                            bDefault ? CW_USEDEFAULT : rect.left,
                            bDefault ? CW_USEDEFAULT : rect.top,
                            bDefault ? CW_USEDEFAULT : rect.right - rect.left,
                            bDefault ? CW_USEDEFAULT : rect.bottom - rect.top,
                            dwStyle,
                            reinterpret_cast<LPARAM>(pContext)};
    AfxHookWindowCreate(this);
    HWND hWnd = reinterpret_cast<HWND>(
        ::SendMessageW(pParentWnd->m_hWndMDIClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
    if (!AfxUnhookWindowCreate()) {
        // The window never came: the object goes as a destroyed frame does (one that refused its creation
        // has gone with its window).
        PostNcDestroy();
        return FALSE;
    }
    return hWnd != nullptr;
}

int CMDIChildWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    const auto* pMDICreate = static_cast<const MDICREATESTRUCTW*>(lpCreateStruct->lpCreateParams);
    CREATESTRUCT cs = *lpCreateStruct;
    cs.lpCreateParams = pMDICreate ? reinterpret_cast<LPVOID>(pMDICreate->lParam) : nullptr;
    return CFrameWnd::OnCreate(&cs);
}

LRESULT CMDIChildWnd::OnMDIActivate(WPARAM /*wParam*/, LPARAM lParam)
{
    LRESULT lResult = Default();
    // The frame shows the menu of the active document window, and its own once no window is left active.
    HWND hWndActivated = reinterpret_cast<HWND>(lParam);
    if (m_pMDIFrame && (hWndActivated == m_hWnd || !hWndActivated))
        m_pMDIFrame->ShowClientMenu(hWndActivated ? m_hMenuShared : nullptr);
    return lResult;
}

void CMDIChildWnd::MDIActivate()
{
    if (m_pMDIFrame)
        ::SendMessageW(m_pMDIFrame->m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CMDIChildWnd::MDIDestroy()
{
    DestroyWindow();
}

BOOL CMDIChildWnd::DestroyWindow()
{
    if (!::IsWindow(m_hWnd))
        return FALSE;
    HWND hWndClient = ::GetParent(m_hWnd);
    ::SendMessageW(hWndClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(m_hWnd), 0);
    return TRUE;
}

LRESULT CMDIChildWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefMDIChildProcW(m_hWnd, message, wParam, lParam);
}
