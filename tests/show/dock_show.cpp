// Shows docking panes under theme 2 and saves a picture of the program's windows taken inside the process (the
// root-window capture shows popups black): build/<folder>/tests/dock_show.exe MODE OUT.bmp, MODE one of "docked",
// "floating", "autohidden", "slidout", "markers" (a translucent drag over the notes with its markers, the left
// arrow under the cursor). scripts/screenshot can show the frame too, but not the floating frame.
#include "platform/mfc/afxframe.h"
#include "ui/docking/DockingPane.h"
#include "ui/docking/DockingPaneAutoHidePanel.h"
#include "ui/docking/DockingPaneAutoHideWnd.h"
#include "ui/docking/DockingPaneContext.h"
#include "ui/docking/DockingPaneLayout.h"
#include "ui/docking/DockingPaneManager.h"
#include "ui/docking/DockingPaneTabbedContainer.h"

#include "ShowPicture.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace
{
class CShowFrame : public CFrameWnd
{
public:
    CXTPDockingPaneManager m_paneManager;

protected:
    // Each pane gets a list box the first time it shows.
    afx_msg LRESULT OnDockingPaneNotify(WPARAM wParam, LPARAM lParam)
    {
        if (wParam != XTP_DPN_SHOWWINDOW)
            return 0;
        CXTPDockingPane* pPane = reinterpret_cast<CXTPDockingPane*>(lParam);
        if (pPane->IsValid())
            return 0;
        HWND hList = ::CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | LBS_NOINTEGRALHEIGHT, 0, 0, 10, 10, m_hWnd,
                                       nullptr, nullptr, nullptr);
        for (LPCWSTR psz : {L"Bilancio di previsione", L"Entrate", L"Spese", L"Riepiloghi", L"Consuntivo"})
            ::SendMessageW(hList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(psz));
        ::SendMessageW(hList, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), TRUE);
        pPane->Attach(CWnd::FromHandle(hList));
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CShowFrame, CFrameWnd)
    ON_MESSAGE(WM_DOCKINGPANE_NOTIFY, &CShowFrame::OnDockingPaneNotify)
END_MESSAGE_MAP()

void PumpPaint()
{
    MSG msg;
    for (int i = 0; i < 20; i++) {
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_TIMER)
                continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::Sleep(20);
    }
}

BOOL CALLBACK CollectWindow(HWND hWnd, LPARAM lParam)
{
    DWORD dwProcess = 0;
    ::GetWindowThreadProcessId(hWnd, &dwProcess);
    if (dwProcess == ::GetCurrentProcessId() && ::IsWindowVisible(hWnd))
        reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hWnd);
    return TRUE;
}

// The visible top-level windows of the process copied from their own surfaces, bottom of the z-order first.
BOOL SavePicture(const CRect& rcArea, const char* pszPath)
{
    std::vector<HWND> windows;
    ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
    CShowPicture picture(rcArea);
    HDC hDC = picture.GetDC();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        CRect rc;
        ::GetWindowRect(*it, &rc);
        rc = picture.ToPicture(rc);
        HDC hWindowDC = ::GetWindowDC(*it);
        // A shaped window copies its shape only; a layered one is blended with its alpha, as a compositor would.
        HRGN hShape = ::CreateRectRgn(0, 0, 0, 0);
        if (::GetWindowRgn(*it, hShape) != ERROR) {
            ::OffsetRgn(hShape, rc.left, rc.top);
            ::SelectClipRgn(hDC, hShape);
        }
        BYTE nAlpha = 255;
        DWORD dwFlags = 0;
        if ((::GetWindowLongPtrW(*it, GWL_EXSTYLE) & WS_EX_LAYERED) &&
            ::GetLayeredWindowAttributes(*it, nullptr, &nAlpha, &dwFlags) && (dwFlags & LWA_ALPHA)) {
            BLENDFUNCTION blend = {AC_SRC_OVER, 0, nAlpha, 0};
            ::AlphaBlend(hDC, rc.left, rc.top, rc.Width(), rc.Height(), hWindowDC, 0, 0, rc.Width(), rc.Height(), blend);
        } else {
            ::BitBlt(hDC, rc.left, rc.top, rc.Width(), rc.Height(), hWindowDC, 0, 0, SRCCOPY);
        }
        ::SelectClipRgn(hDC, nullptr);
        ::DeleteObject(hShape);
        ::ReleaseDC(*it, hWindowDC);
    }
    return picture.Save(pszPath);
}
} // namespace

int main(int argc, char** argv)
{
    const char* pszMode = argc > 1 ? argv[1] : "docked";
    const char* pszOut = argc > 2 ? argv[2] : "dock_show.bmp";
    CShowFrame* pFrame = new CShowFrame;
    if (!pFrame->Create(nullptr, L"Verifica Vorsa 2008", WS_OVERLAPPEDWINDOW, CRect(20, 20, 700, 500)))
        return 1;
    CXTPDockingPaneManager& manager = pFrame->m_paneManager;
    manager.InstallDockingPanes(pFrame);
    manager.SetTheme(2);
    manager.SetFloatingFrameOption(TRUE);
    CXTPDockingPane* pTree = manager.CreatePane(101, CRect(0, 0, 200, 120), xtpPaneDockLeft);
    pTree->SetTitle(L"Navigazione");
    CXTPDockingPane* pProps = manager.CreatePane(102, CRect(0, 0, 200, 140), xtpPaneDockBottom);
    pProps->SetTitle(L"Propriet\u00e0");
    CXTPDockingPane* pNotes = manager.CreatePane(103, CRect(0, 0, 200, 140), xtpPaneDockBottom);
    pNotes->SetTitle(L"Note");
    manager.AttachPane(pNotes, pProps);
    pFrame->ShowWindow(SW_SHOW);
    pFrame->RecalcLayout();
    PumpPaint();

    CRect rcArea(0, 0, 760, 560);
    if (std::strcmp(pszMode, "floating") == 0) {
        manager.FloatPane(pProps->GetTabbedContainer(), CRect(380, 240, 640, 470));
        pFrame->RecalcLayout();
    } else if (std::strcmp(pszMode, "autohidden") == 0 || std::strcmp(pszMode, "slidout") == 0) {
        manager.HidePane(pTree);
        pFrame->RecalcLayout();
        if (std::strcmp(pszMode, "slidout") == 0) {
            CXTPDockingPaneAutoHidePanel* pPanel = manager.GetCurrentLayout()->GetAutoHidePanel(xtpPaneDockLeft);
            pPanel->ShowPane(pTree, FALSE);
            if (CXTPDockingPaneAutoHideWnd* pWnd = pPanel->GetSlideOutWindow()) {
                for (int i = 0; i < 8; i++)
                    pWnd->SendMessage(WM_TIMER, XTP_DOCKINGPANE_TIMER_SLIDEOUT);
            }
        }
    }
    CXTPDockingPaneContext* pContext = manager.GetDockingContext();
    if (std::strcmp(pszMode, "markers") == 0) {
        manager.m_bShowContentsWhileDragging = TRUE;
        manager.m_bShowDockingContextStickers = TRUE;
        CRect rcTree = pTree->GetTabbedContainer()->GetScreenRect();
        CRect rcNotes = pNotes->GetTabbedContainer()->GetScreenRect();
        pContext->BeginDrag(pTree->GetTabbedContainer(), CPoint(rcTree.left + 30, rcTree.top + 5));
        pContext->InitLoop();
        pContext->Move(rcNotes.CenterPoint());
        // The left arrow of the centre marker: 15, 46 inside it.
        CRect rcCentre;
        pContext->GetMarkers().front()->GetWindowRect(rcCentre);
        pContext->Move(rcCentre.TopLeft() + CPoint(15, 46));
    }
    PumpPaint();
    BOOL bSaved = SavePicture(rcArea, pszOut);
    pContext->EndDrag();
    pFrame->DestroyWindow();
    return bSaved ? 0 : 1;
}
