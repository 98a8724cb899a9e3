// Shows the framework's tab control, to look at with scripts/screenshot (build/<folder>/tests/tab_show.exe):
// without arguments an input form's strip (style 5, colour set 4) with a dozen sheets and its scroll arrows;
// with "styles" one strip of each of the ten styles in its default colour set; with "static" the same strips with
// the painter's static border round their pages instead of the styles' own frames.
#include "ui/docking/TabCtrl.h"
#include "ui/themes/TabPainter.h"

#include <memory>
#include <vector>

namespace
{
const UINT kTabID = 1005;

LPCTSTR g_sheets[] = {L"Entrate correnti", L"Entrate in conto capitale", L"Spese correnti",
                      L"Spese in conto capitale", L"Rimborso prestiti", L"Servizi per conto terzi",
                      L"Riepilogo generale", L"Quadro riassuntivo", L"Risultato di amministrazione", L"Indicatori",
                      L"Parametri di deficit", L"Note"};

// A page: the sheet's name on a white ground.
HWND CreatePage(HWND hParent, LPCTSTR lpszName)
{
    return ::CreateWindowExW(WS_EX_CLIENTEDGE, L"STATIC", lpszName, WS_CHILD | SS_CENTER, 0, 0, 10, 10, hParent,
                             nullptr, nullptr, nullptr);
}

LRESULT CALLBACK FrameProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    if (nMsg == WM_DESTROY) {
        ::PostQuitMessage(0);
        return 0;
    }
    if (nMsg == WM_CTLCOLORSTATIC)
        return reinterpret_cast<LRESULT>(::GetStockObject(WHITE_BRUSH));
    return ::DefWindowProcW(hWnd, nMsg, wParam, lParam);
}
} // namespace

int main(int argc, char** argv)
{
    BOOL bStatic = argc > 1 && lstrcmpiA(argv[1], "static") == 0;
    BOOL bStyles = bStatic || (argc > 1 && lstrcmpiA(argv[1], "styles") == 0);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = FrameProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"TabShowFrame";
    ::RegisterClassW(&wc);
    CSize size = bStyles ? CSize(760, 640) : CSize(760, 240);
    HWND hFrame = ::CreateWindowExW(0, wc.lpszClassName, L"Schede", WS_POPUP | WS_VISIBLE, 40, 40, size.cx, size.cy,
                                    nullptr, nullptr, wc.hInstance, nullptr);
    CWnd* pFrame = CWnd::FromHandle(hFrame);
    std::vector<std::unique_ptr<CXTPTabCtrl>> strips;
    if (!bStyles) {
        auto pTab = std::make_unique<CXTPTabCtrl>();
        if (!pTab->Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP, CRect(0, 0, size.cx, size.cy), pFrame, kTabID))
            return 1;
        pTab->SetStyle(5);
        pTab->SetColors(4);
        for (int i = 0; i < static_cast<int>(std::size(g_sheets)); i++)
            pTab->InsertItem(i, g_sheets[i], CreatePage(hFrame, g_sheets[i]));
        pTab->SetCurSel(2);
        strips.push_back(std::move(pTab));
    } else {
        for (int nStyle = 0; nStyle < 10; nStyle++) {
            CRect rc(CPoint((nStyle % 2) * 380 + 4, (nStyle / 2) * 127 + 4), CSize(372, 119));
            auto pTab = std::make_unique<CXTPTabCtrl>();
            if (!pTab->Create(WS_CHILD | WS_VISIBLE, rc, pFrame, kTabID + nStyle))
                return 1;
            pTab->SetStyle(nStyle);
            if (bStatic) {
                pTab->GetPaintManager()->m_nClientFrame = CXTPTabPainter::frameNone;
                pTab->GetPaintManager()->m_bStaticFrame = TRUE;
            }
            LPCTSTR captions[] = {L"Entrate", L"Spese", L"Riepilogo", L"Note"};
            for (int i = 0; i < 4; i++) {
                CString strPage;
                strPage.Format(L"Stile %d, insieme di colori %d", nStyle, pTab->GetPaintManager()->GetColors());
                pTab->InsertItem(i, captions[i], CreatePage(hFrame, strPage));
            }
            pTab->SetCurSel(1);
            strips.push_back(std::move(pTab));
        }
    }
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}
