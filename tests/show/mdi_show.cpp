// Shows the tabbed MDI client on an MDI frame, to look at with scripts/screenshot (build/<folder>/tests/mdi_show.exe):
// five documents in two tab groups, the second split off below the first by the new-horizontal-group command;
// with "vertical" the groups lie side by side, with "static" the painter draws its static frame round the groups.
#include "ui/docking/TabClientWnd.h"
#include "ui/themes/TabPainter.h"
#include "ui/uires.h"

#include "platform/mfc/afxmdi.h"

namespace
{
// A document: its title in a white edit field.
class CShowDocument : public CMDIChildWnd
{
protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_CREATE) {
            LRESULT lResult = CMDIChildWnd::WindowProc(message, wParam, lParam);
            ::CreateWindowExW(0, L"EDIT", m_strTitle, WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, 0, 0, 0, m_hWnd,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(AFX_IDW_PANE_FIRST)), nullptr, nullptr);
            return lResult;
        }
        if (message == WM_SIZE) {
            CRect rc;
            GetClientRect(&rc);
            ::MoveWindow(::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST), 0, 0, rc.Width(), rc.Height(), TRUE);
        }
        return CMDIChildWnd::WindowProc(message, wParam, lParam);
    }
};

// Ends the program with its window.
class CShowFrame : public CMDIFrameWnd
{
protected:
    void PostNcDestroy() override
    {
        ::PostQuitMessage(0);
        CMDIFrameWnd::PostNcDestroy();
    }
};
} // namespace

int main(int argc, char** argv)
{
    BOOL bVertical = FALSE, bStatic = FALSE;
    for (int i = 1; i < argc; i++) {
        bVertical |= lstrcmpiA(argv[i], "vertical") == 0;
        bStatic |= lstrcmpiA(argv[i], "static") == 0;
    }
    auto* pFrame = new CShowFrame;
    if (!pFrame->Create(nullptr, L"Verifica Vorsa 2008 - gruppi di schede", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                        CRect(20, 20, 780, 560)))
        return 1;
    CXTPTabClientWnd client;
    client.GetPaintManager()->m_bStaticFrame = bStatic;
    if (!client.Attach(pFrame, TRUE))
        return 1;
    LPCTSTR documents[] = {L"Entrate correnti", L"Spese correnti", L"Riepilogo generale", L"Residui attivi",
                           L"Note al bilancio"};
    for (LPCTSTR lpszTitle : documents) {
        auto* pDocument = new CShowDocument;
        pDocument->Create(nullptr, lpszTitle, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault,
                          pFrame);
    }
    client.OnWorkspaceCommand(bVertical ? XTP_ID_WORKSPACE_NEWVERTICAL : XTP_ID_WORKSPACE_NEWHORIZONTAL);
    // One more document joins the second group, the active one.
    auto* pLast = new CShowDocument;
    pLast->Create(nullptr, L"Indicatori", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault, pFrame);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    client.Detach();
    return 0;
}
