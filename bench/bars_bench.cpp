// Time to open a popup menu of 30 items until it is painted (closing it is not counted), and to lay out the frame's
// command bars from scratch. Prints milliseconds beside the targets (16 each).
#include "BenchSupport.h"

#include "ui/commandbars/XTPFrameWnd.h"
#include "ui/commandbars/XTPMenuBar.h"
#include "ui/commandbars/XTPToolBar.h"
#include "ui/themes/BarPainter.h"

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
    pFrame->DestroyWindow();
    CXTPBarPainter::ReleasePainter();
    return 0;
}
