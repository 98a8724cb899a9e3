// The test frame with a dialog bar docked under its toolbar: a caption with its menu arrow and close button over a
// list, for a look at the caption's drawing (scripts/screenshot build/<folder>/tests/dialogbar_show.exe).
#include "ui/FrameTestSupport.h"

#include "ui/commandbars/XTPDialogBar.h"

int main()
{
    CTestFrame* pFrame = CreateTestFrame();
    if (!pFrame)
        return 1;
    auto* pBar = static_cast<CXTPDialogBar*>(
        pFrame->GetCommandBars()->Add(L"Propriet\u00e0", xtpBarTop, RUNTIME_CLASS(CXTPDialogBar)));
    CWnd list;
    list.CreateEx(WS_EX_CLIENTEDGE, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | LBS_NOINTEGRALHEIGHT, CRect(0, 0, 10, 10),
                  pBar, 100);
    for (LPCWSTR psz : {L"Bilancio di previsione", L"Entrate", L"Spese", L"Riepiloghi"})
        list.SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(psz));
    list.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), TRUE);
    pBar->SetSize(CSize(260, 110));
    pBar->SetChild(&list);
    pBar->SetPopupMenu(IDR_FRAMETEST);
    pFrame->RecalcLayout();
    MSG msg;
    DWORD dwEnd = ::GetTickCount() + 6000;
    while (::GetTickCount() < dwEnd) {
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::Sleep(20);
    }
    pFrame->DestroyWindow();
    return 0;
}
