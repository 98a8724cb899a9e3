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

BOOL CMDIFrameWnd::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* /*pContext*/)
{
    return CreateClient(lpcs, nullptr);
}

LRESULT CMDIFrameWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefFrameProcW(m_hWnd, m_hWndMDIClient, message, wParam, lParam);
}
