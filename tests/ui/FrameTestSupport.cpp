#include "FrameTestSupport.h"

#include "ui/commandbars/XTPHookManager.h"

IMPLEMENT_DYNCREATE(CTestFrame, CXTPFrameWnd)

BEGIN_MESSAGE_MAP(CTestFrame, CXTPFrameWnd)
    ON_WM_CREATE()
    ON_COMMAND_RANGE(ID_FT_NEW, ID_FT_PRINT, &CTestFrame::OnCommandRange)
    ON_COMMAND_RANGE(ID_FT_RECENT1, ID_FT_RECENT2, &CTestFrame::OnCommandRange)
    ON_COMMAND_RANGE(ID_FT_CUT, ID_FT_GRID, &CTestFrame::OnCommandRange)
    ON_COMMAND_RANGE(ID_FT_LONG, ID_FT_LONG + 29, &CTestFrame::OnCommandRange)
    ON_UPDATE_COMMAND_UI(ID_FT_GRID, &CTestFrame::OnUpdateGrid)
    ON_UPDATE_COMMAND_UI(ID_FT_COPY, &CTestFrame::OnUpdateCopy)
    ON_MESSAGE(WM_SETMESSAGESTRING, &CTestFrame::OnSetMessageString)
END_MESSAGE_MAP()

void PumpFrame(HWND hWndFrame, DWORD dwQuietMs)
{
    DWORD dwStart = ::GetTickCount(), dwLast = dwStart;
    while (::GetTickCount() - dwLast < dwQuietMs && ::GetTickCount() - dwStart < 5000) {
        MSG msg;
        if (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!::IsWindow(hWndFrame) || !CWnd::WalkPreTranslateTree(hWndFrame, &msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
            // The bars watch the mouse with a short timer while it rests on them: that is no activity.
            if (msg.message != WM_TIMER)
                dwLast = ::GetTickCount();
        } else {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
    }
    // A loaded machine may have kept the thread from running past the quiet time with messages waiting.
    PumpQueued(hWndFrame);
}

namespace
{
std::function<void()> g_later;
void CALLBACK LaterProc(HWND, UINT, UINT_PTR nID, DWORD)
{
    ::KillTimer(nullptr, nID);
    std::function<void()> action;
    action.swap(g_later);
    if (action)
        action();
}
}

CTestFrame* CreateTestFrame()
{
    auto* pFrame = new CTestFrame;
    if (!pFrame->LoadFrame(IDR_FRAMETEST, WS_OVERLAPPEDWINDOW))
        return nullptr;   // the frame has deleted itself
    pFrame->SetWindowPos(&CWnd::wndTopMost, 40, 40, 480, 320, SWP_SHOWWINDOW);
    for (int i = 0; i < 20 && ::GetForegroundWindow() != pFrame->m_hWnd; i++) {
        ::SetForegroundWindow(pFrame->m_hWnd);
        PumpFrame(pFrame->m_hWnd, 20);
    }
    pFrame->RecalcLayout();
    PumpFrame(pFrame->m_hWnd);
    return pFrame;
}

CXTPPopupBar* GetOpenPopup()
{
    auto* pPopup = dynamic_cast<CXTPPopupBar*>(
        dynamic_cast<CXTPCommandBar*>(CMouseManager::GetThreadManager()->GetTopTrackedBar()));
    return pPopup && pPopup->IsTrackingMode() && pPopup->IsVisible() ? pPopup : nullptr;
}

void RunLater(std::function<void()> action, UINT nDelay)
{
    g_later = std::move(action);
    ::SetTimer(nullptr, 0, nDelay, LaterProc);
}
