// Time to open a popup menu of 30 items until it is painted (closing it is not counted), and to lay out the frame's
// command bars from scratch (targets 16 ms each); by real input, the time from the mouse reaching a toolbar button
// to its tip showing (target: the system's hover time plus 50 ms) and from the mouse reaching another menu title
// with a menu open to that menu open and painted (16 ms). Prints milliseconds beside the targets.
#include "BenchSupport.h"
#include "support/RealInput.h"

#include "ui/commandbars/XTPFrameWnd.h"
#include "ui/commandbars/XTPMenuBar.h"
#include "ui/commandbars/XTPPopupBar.h"
#include "ui/commandbars/XTPToolBar.h"
#include "ui/themes/BarPainter.h"
#include "ui/themes/TipContext.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace
{
const int kRuns = 25;
const int kItems = 30;

template <class F>
std::vector<double> Time(F f)
{
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        double dStart = BenchNow();
        f();
        times.push_back(BenchNow() - dStart);
    }
    std::sort(times.begin(), times.end());
    return times;
}

void Report(const char* pszWhat, const std::vector<double>& times, double dTarget)
{
    std::printf("%-46s min %7.2f ms   median %7.2f ms   max %7.2f ms   (target %.0f ms)\n", pszWhat, times.front(),
                times[times.size() / 2], times.back(), dTarget);
}

void Pump()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

// A frame with a menu bar of three menus (the last of kItems items) and a toolbar of ten buttons.
class CBenchFrame : public CXTPFrameWnd
{
public:
    CXTPPopupBar* GetLongPopup() const
    {
        return static_cast<CXTPPopupBar*>(m_pCommandBars->GetMenuBar()->GetControls()->GetAt(2)->GetCommandBar());
    }

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct)
    {
        if (CXTPFrameWnd::OnCreate(lpCreateStruct) == -1 || !InitCommandBars())
            return -1;
        CMenu menu, file, edit, items;
        menu.CreateMenu();
        file.CreatePopupMenu();
        file.AppendMenu(MF_STRING, 100, L"&Nuovo\tCtrl+N");
        file.AppendMenu(MF_STRING, 101, L"&Apri");
        edit.CreatePopupMenu();
        edit.AppendMenu(MF_STRING, 110, L"&Copia");
        items.CreatePopupMenu();
        for (int i = 0; i < kItems; i++) {
            CString strItem;
            strItem.Format(L"Voce numero %d", i + 1);
            items.AppendMenu(MF_STRING | (i % 7 == 6 ? MF_GRAYED : 0), static_cast<UINT_PTR>(200 + i), strItem);
        }
        menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(file.Detach()), L"&File");
        menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(edit.Detach()), L"&Modifica");
        menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(items.Detach()), L"&Voci");
        CXTPMenuBar* pMenuBar = m_pCommandBars->SetMenu(L"Menu Bar", 0);
        if (!pMenuBar || !pMenuBar->LoadMenu(&menu))
            return -1;
        CXTPToolBar* pToolBar = m_pCommandBars->Add(L"Standard", xtpBarTop);
        UINT buttons[] = {100, 101, 0, 110, 200, 201, 0, 202, 203, 204, 205, 206};
        if (!pToolBar || !pToolBar->SetButtons(buttons, static_cast<int>(std::size(buttons))))
            return -1;
        m_pCommandBars->GetCommandBarsOptions()->nAnimationType = 5;
        return 0;
    }
    void OnCommandRange(UINT /*nId*/) {}
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBenchFrame, CXTPFrameWnd)
    ON_WM_CREATE()
    ON_COMMAND_RANGE(100, 299, &CBenchFrame::OnCommandRange)
END_MESSAGE_MAP()

CPoint ScreenCentre(CXTPControl* pControl)
{
    CPoint pt = pControl->GetRect().CenterPoint();
    pControl->GetParent()->ClientToScreen(&pt);
    return pt;
}

BOOL IsOpen(CXTPControl* pControl)
{
    return pControl->GetCommandBar() && pControl->GetCommandBar()->IsTrackingMode();
}

// The tip of a toolbar button and the switch between two open menus, by real input to the frame in front.
void MeasureByMouse(CBenchFrame* pFrame)
{
    HWND hFrame = pFrame->m_hWnd;
    PumpUntil(hFrame, [hFrame] {
        ::SetForegroundWindow(hFrame);
        return ::GetForegroundWindow() == hFrame;
    }, 2000);
    CXTPCommandBars* pCommandBars = pFrame->GetCommandBars();
    CXTPControl* pButton = pCommandBars->GetAt(1)->GetControls()->FindControl(100);
    pButton->SetPrompt(L"Crea un documento\nNuovo");
    CRect rcClient;
    pFrame->GetClientRect(&rcClient);
    CPoint ptAway = rcClient.CenterPoint();
    pFrame->ClientToScreen(&ptAway);
    auto tipShown = [pCommandBars] {
        CWnd* pTip = pCommandBars->GetToolTipContext()->GetTipWindow();
        return pTip && ::IsWindow(pTip->m_hWnd) && pTip->IsWindowVisible();
    };
    std::vector<double> tips;
    for (int i = 0; i < 8; ++i) {
        SendMouseMove(ptAway);
        PumpUntil(hFrame, [&] { return !tipShown(); }, 2000);
        PumpUntil(hFrame, [] { return FALSE; }, 300);
        double dStart = BenchNow();
        SendMouseMove(ScreenCentre(pButton));
        if (PumpUntil(hFrame, tipShown, 3000))
            tips.push_back(BenchNow() - dStart);
    }
    UINT nHoverTime = 400;
    ::SystemParametersInfoW(SPI_GETMOUSEHOVERTIME, 0, &nHoverTime, 0);
    if (tips.empty()) {
        std::printf("no tip showed\n");
    } else {
        std::sort(tips.begin(), tips.end());
        Report("tip of a toolbar button shown", tips, nHoverTime + 50);
    }

    SendMouseMove(ptAway);
    CXTPControls* pTitles = pCommandBars->GetMenuBar()->GetControls();
    SendClick(ScreenCentre(pTitles->GetAt(0)));
    PumpUntil(hFrame, [&] { return IsOpen(pTitles->GetAt(0)); }, 2000);
    std::vector<double> switches;
    for (int i = 0; i < kRuns; ++i) {
        CXTPControl* pNext = pTitles->GetAt((i + 1) % 2);
        double dStart = BenchNow();
        SendMouseMove(ScreenCentre(pNext));
        if (PumpUntil(hFrame, [&] { return IsOpen(pNext); }, 2000)) {
            pNext->GetCommandBar()->UpdateWindow();
            switches.push_back(BenchNow() - dStart);
        }
    }
    pCommandBars->ClosePopups();
    if (switches.empty()) {
        std::printf("no menu followed the mouse\n");
    } else {
        std::sort(switches.begin(), switches.end());
        Report("open menu switched by the mouse, painted", switches, 16);
    }
}
}

int main()
{
    CXTPBarPainter::SetTheme(CXTPBarPainter::themeGradient);
    auto* pFrame = new CBenchFrame;
    LPCTSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW),
                                            reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1));
    if (!pFrame->Create(lpszClass, L"Barre", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(20, 20, 820, 620))) {
        std::printf("the frame could not be made\n");
        return 1;
    }
    Pump();
    CXTPPopupBar* pPopup = pFrame->GetLongPopup();
    // Only the opening counts: the popup is closed again outside the clock.
    std::vector<double> opened;
    for (int i = 0; i < kRuns; ++i) {
        double dStart = BenchNow();
        pPopup->PopupAt(200, 100);
        pPopup->UpdateWindow();
        opened.push_back(BenchNow() - dStart);
        pPopup->SetTrackingMode(0);
        Pump();
    }
    std::sort(opened.begin(), opened.end());
    Report("popup of 30 items opened and painted", opened, 16);
    CXTPCommandBars* pCommandBars = pFrame->GetCommandBars();
    Report("full re-layout of the frame's bars", Time([pFrame, pCommandBars] {
               pCommandBars->RecalcLayoutAll();
               pFrame->RecalcLayout();
               pFrame->UpdateWindow();
           }),
           16);
    MeasureByMouse(pFrame);
    pFrame->DestroyWindow();
    CXTPBarPainter::ReleasePainter();
    return 0;
}
