// Time to restore a saved layout of 20 panes (docked, tabbed, floating, auto-hidden) from the registry onto a
// shown frame: read it, apply it and lay the frame out, the frame giving each shown pane its window. Prints
// milliseconds beside the target (50), the parts of the median run, and the same layout with its three floating
// panes docked instead (top-level windows are what Wine makes slowly).
#include "BenchSupport.h"

#include "platform/mfc/afxapp.h"
#include "platform/mfc/afxframe.h"
#include "ui/docking/DockingPane.h"
#include "ui/docking/DockingPaneManager.h"
#include "ui/persist/PropExchangeRegistry.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <vector>

namespace
{
const LPCTSTR kCompany = L"QuarzelBenchDocking";
const int kRuns = 15;

// Answers "a pane needs its window" with one static control per pane id, made once.
class CBenchFrame : public CFrameWnd
{
public:
    CXTPDockingPaneManager m_paneManager;
    std::map<UINT, CWnd*> m_windows;

    ~CBenchFrame() override
    {
        for (auto& [nID, pWnd] : m_windows)
            delete pWnd;
    }

protected:
    afx_msg LRESULT OnDockingPaneNotify(WPARAM wParam, LPARAM lParam)
    {
        if (wParam != XTP_DPN_SHOWWINDOW)
            return 0;
        CXTPDockingPane* pPane = reinterpret_cast<CXTPDockingPane*>(lParam);
        if (pPane->IsValid())
            return 0;
        CWnd*& pWnd = m_windows[pPane->GetID()];
        if (!pWnd) {
            pWnd = new CWnd;
            pWnd->CreateEx(0, L"STATIC", pPane->GetTitle(), WS_CHILD, CRect(0, 0, 0, 0), this, 0);
        }
        pPane->Attach(pWnd);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBenchFrame, CFrameWnd)
    ON_MESSAGE(WM_DOCKINGPANE_NOTIFY, &CBenchFrame::OnDockingPaneNotify)
END_MESSAGE_MAP()

void Pump()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        ::DispatchMessageW(&msg);
}

// 8 docked at the four sides, 6 as tabs in two containers, 3 floating (or docked), 3 auto-hidden.
void BuildLayout(CXTPDockingPaneManager* pManager, BOOL bFloating)
{
    const int directions[] = {xtpPaneDockLeft, xtpPaneDockRight, xtpPaneDockTop, xtpPaneDockBottom};
    UINT nID = 5000;
    for (int i = 0; i < 8; i++, nID++)
        pManager->CreatePane(nID, CRect(0, 0, 160, 100), directions[i % 4], i >= 4 ? pManager->FindPane(nID - 4) : nullptr);
    for (int i = 0; i < 6; i++, nID++) {
        CXTPDockingPane* pPane = pManager->CreatePane(nID, CRect(0, 0, 160, 100), xtpPaneDockLeft);
        pManager->AttachPane(pPane, pManager->FindPane(5000 + (i % 2)));
    }
    for (int i = 0; i < 3; i++, nID++) {
        CXTPDockingPane* pPane = pManager->CreatePane(nID, CRect(0, 0, 160, 100), xtpPaneDockRight);
        if (bFloating)
            pManager->FloatPane(pPane, CRect(700 + i * 30, 100 + i * 30, 900 + i * 30, 250 + i * 30));
    }
    for (int i = 0; i < 3; i++, nID++) {
        CXTPDockingPane* pPane = pManager->CreatePane(nID, CRect(0, 0, 160, 100), directions[i]);
        pManager->HidePane(pPane);
    }
}

// Read, apply, lay out, paint: the times of each run.
typedef std::array<double, 5> CRun;

BOOL Restore(CBenchFrame* pFrame, CRun* pRun)
{
    CXTPDockingPaneManager* pManager = &pFrame->m_paneManager;
    double t0 = BenchNow();
    CXTPDockingPaneLayout* pLayout = pManager->CreateLayout();
    BOOL bLoaded = pLayout->Load(L"NormalLayout");
    double t1 = BenchNow();
    if (bLoaded)
        pManager->SetLayout(pLayout);
    pLayout->InternalRelease();
    double t2 = BenchNow();
    pFrame->RecalcLayout();
    double t3 = BenchNow();
    pFrame->UpdateWindow();
    double t4 = BenchNow();
    *pRun = {t4 - t0, t1 - t0, t2 - t1, t3 - t2, t4 - t3};
    return bLoaded && pManager->GetPaneList()->size() == 20;
}

BOOL Measure(CBenchFrame* pFrame, BOOL bFloating)
{
    CXTPDockingPaneManager* pManager = &pFrame->m_paneManager;
    pManager->ResetLayout();
    BuildLayout(pManager, bFloating);
    pFrame->RecalcLayout();
    Pump();
    CXTPDockingPaneLayout* pSaved = pManager->CreateLayout();
    pManager->GetLayout(pSaved);
    pSaved->Save(L"NormalLayout");
    pSaved->InternalRelease();
    pManager->ResetLayout();
    pFrame->RecalcLayout();
    Pump();

    std::vector<CRun> runs;
    for (int i = 0; i < kRuns; i++) {
        CRun run;
        if (!Restore(pFrame, &run)) {
            std::printf("the layout did not load\n");
            return FALSE;
        }
        runs.push_back(run);
        Pump();
    }
    std::sort(runs.begin(), runs.end());
    const CRun& median = runs[runs.size() / 2];
    std::printf("restore 20 panes, %-20s min %7.2f ms   median %7.2f ms   max %7.2f ms   (target 50 ms)\n",
                bFloating ? "3 floating:" : "none floating:", runs.front()[0], median[0], runs.back()[0]);
    std::printf("   median run: read %.1f ms, apply %.1f ms, lay out %.1f ms, paint %.1f ms\n", median[1], median[2],
                median[3], median[4]);
    return TRUE;
}
}

int main()
{
    CWinApp app(L"BenchDocking");
    app.SetRegistryKey(kCompany);
    CBenchFrame* pFrame = new CBenchFrame;
    if (!pFrame->Create(nullptr, L"docking", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CRect(0, 0, 1000, 700)) ||
        !pFrame->m_paneManager.InstallDockingPanes(pFrame)) {
        std::printf("no frame\n");
        return 1;
    }
    pFrame->m_paneManager.SetTheme(2);
    pFrame->ShowWindow(SW_SHOW);
    BOOL bResult = Measure(pFrame, TRUE) && Measure(pFrame, FALSE);
    pFrame->DestroyWindow();
    AfxDelRegTreeHelper(HKEY_CURRENT_USER, CString(L"Software\\") + kCompany);
    return bResult ? 0 : 1;
}
