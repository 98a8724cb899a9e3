// Start-up of the program to its painted main frame, and the switch between two views, measured inside one process
// so that Wine's own start is left out: from the entry point through InitInstance to the first idle moment (no
// message left, the frame painted), then ten switches between the start page and the revenue form. Runs from the
// program folder; scripts/bench-startup runs it five times and prints the medians.
#include "app/EmptyView.h"
#include "app/MainFrm.h"
#include "app/TheApp.h"
#include "forms/RecordID.h"
#include "views/ViewInputFormVariants.h"
#include "platform/mfc/afxmsgbox.h"

#include "BenchSupport.h"

#include <algorithm>
#include <cstdio>
#include <vector>

CTheApp theApp;

namespace {

// Nobody answers during a measurement: every question gets No, and its text is printed.
int AnswerNo(const AFX_MSGBOX_REQUEST& request)
{
    std::fwprintf(stderr, L"message: %ls\n", request.text.GetString());
    return IDNO;
}

void PumpUntilIdle()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (!theApp.PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int)
{
    double start = BenchNow();
    AfxSetMessageBoxHandler(AnswerNo);
    theApp.m_hInstance = hInstance;
    theApp.m_nCmdShow = SW_SHOWMAXIMIZED;
    if (!theApp.InitInstance()) {
        std::fprintf(stderr, "the program did not start\n");
        return 1;
    }
    PumpUntilIdle();
    theApp.m_pMainWnd->UpdateWindow();
    double started = BenchNow();

    auto* pFrame = static_cast<CMainFrame*>(theApp.m_pMainWnd);
    CTextID form(L"Entrate1.vts");
    std::vector<double> switches;
    for (int i = 0; i < 10; ++i) {
        double t0 = BenchNow();
        pFrame->SwitchView(RUNTIME_CLASS(CViewInputFormTot), &form);
        pFrame->SwitchView(nullptr, nullptr);
        PumpUntilIdle();
        pFrame->UpdateWindow();
        switches.push_back((BenchNow() - t0) / 2);
    }
    std::sort(switches.begin(), switches.end());
    std::printf("start-up to the painted frame: %.1f ms\n", started - start);
    std::printf("view switch (median of 10): %.1f ms\n", switches[switches.size() / 2]);

    pFrame->DestroyWindow();
    theApp.ExitInstance();
    return 0;
}
