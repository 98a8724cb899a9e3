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
#include "util/VersionInfo.h"

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

// The benchmark's own profile, as the tests keep theirs: this version's About box and the regulations count as
// seen, so that no start-up window waits for an answer that nobody gives here.
const LPCTSTR kBenchProfile = L"Quarzel08 Misura Avvio";

void SeedProfile()
{
    const DWORD dwVersion = GetFileVersionNumber();
    theApp.SetUltimaVersione(static_cast<int>((dwVersion >> 24) * 100 + ((dwVersion >> 16) & 0xFF)));
    theApp.SetInfoNormativa(TRUE);
}

void DeleteProfile()
{
    CString strKey;
    strKey.Format(L"Software\\%s\\%s", theApp.m_pszRegistryKey, theApp.m_pszProfileName);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, strKey);
}

} // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int)
{
    double start = BenchNow();
    AfxSetMessageBoxHandler(AnswerNo);
    theApp.m_hInstance = hInstance;
    theApp.m_nCmdShow = SW_SHOWMAXIMIZED;
    theApp.m_pszAppName = kBenchProfile;
    if (!theApp.InitInstance()) {
        std::fprintf(stderr, "the program did not start\n");
        return 1;
    }
    // The start-up questions come once the frame is idle: the profile is ready before then.
    SeedProfile();
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
    DeleteProfile();
    return 0;
}
