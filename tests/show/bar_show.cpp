// Shows one toolbar in each bar theme (0, 1, 2, and 2 in the blue colour scheme), its buttons in every state, for a
// look at the painters (scripts/screenshot build/<folder>/tests/bar_show.exe).
#include "ui/commandbars/XTPCommandBar.h"
#include "ui/persist/ImageManager.h"
#include "ui/themes/BarPainter.h"

#include "DiscIcon.h"

namespace
{
// A docked bar laid out in one row after its gripper.
class CShowBar : public CXTPCommandBar
{
public:
    void OnRecalcLayout() override
    {
        CRect rc;
        GetClientRect(&rc);
        CClientDC dc(this);
        CRect rcBorders;
        GetPaintManager()->GetBarBorders(&rcBorders, this);
        rcBorders.left += GetPaintManager()->DrawCommandBarGripper(&dc, this, FALSE).cx;
        m_dwState &= ~stateLayout;
        m_pControls->CalcDynamicSize(&dc, rc.Width(), LM_HORZDOCK | LM_COMMIT, rcBorders);
    }
};

struct BUTTON
{
    int nType;
    LPCTSTR lpszCaption;
    int nSelected, nPressed;
    BOOL bEnabled, bChecked, bWhole;
};

// Idle, hot, pressed, checked, checked and hot, disabled, disabled and checked, sub-menus.
const BUTTON g_buttons[] = {
    {xtpControlButton, L"", 0, 0, TRUE, FALSE, FALSE},
    {xtpControlButton, L"", 1, 0, TRUE, FALSE, FALSE},
    {xtpControlButton, L"", 1, 1, TRUE, FALSE, FALSE},
    {xtpControlButton, L"", 0, 0, TRUE, TRUE, FALSE},
    {xtpControlButton, L"", 1, 0, TRUE, TRUE, FALSE},
    {xtpControlButton, L"", 0, 0, FALSE, FALSE, FALSE},
    {xtpControlButton, L"", 0, 0, FALSE, TRUE, FALSE},
    {xtpControlSplitButtonPopup, L"", 1, 0, TRUE, FALSE, FALSE},
    {xtpControlPopup, L"&Moduli", 0, 0, TRUE, FALSE, TRUE},
    {xtpControlButton, L"&Stampa", 1, 0, TRUE, FALSE, FALSE},
};

LPCTSTR g_titles[] = {L"Tema 0", L"Tema 1", L"Tema 2", L"Tema 2, blu"};

LRESULT CALLBACK FrameProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    if (nMsg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC hDC = ::BeginPaint(hWnd, &ps);
        RECT rc;
        ::GetClientRect(hWnd, &rc);
        ::FillRect(hDC, &rc, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        ::SelectObject(hDC, ::GetStockObject(DEFAULT_GUI_FONT));
        for (int i = 0; i < 4; i++)
            ::TextOutW(hDC, 10, 22 + i * 40, g_titles[i], lstrlenW(g_titles[i]));
        ::EndPaint(hWnd, &ps);
        return 0;
    }
    if (nMsg == WM_DESTROY)
        ::PostQuitMessage(0);
    return ::DefWindowProcW(hWnd, nMsg, wParam, lParam);
}
}

int main()
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = FrameProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"QuarzelBarShow";
    ::RegisterClassW(&wc);
    HWND hFrame = ::CreateWindowExW(0, wc.lpszClassName, L"Barre", WS_POPUP | WS_VISIBLE, 40, 40, 640, 180, nullptr,
                                    nullptr, wc.hInstance, nullptr);

    const COLORREF colors[] = {RGB(200, 30, 30), RGB(30, 140, 30), RGB(30, 60, 200), RGB(220, 160, 0),
                               RGB(150, 40, 160), RGB(0, 150, 160), RGB(120, 80, 40), RGB(220, 90, 20)};
    CXTPImageManager* pImages = XTPImageManager();
    for (UINT i = 0; i < 8; i++) {
        HICON hIcon = CreateDiscIcon(colors[i]);
        pImages->SetIcon(CXTPImageManagerIconHandle(hIcon), 100 + i, CSize(16, 16));
        ::DestroyIcon(hIcon);
    }

    std::vector<CShowBar*> bars;
    for (int nRow = 0; nRow < 4; nRow++) {
        CXTPBarPainter* pPainter = CXTPBarPainter::CreateTheme(nRow == 3 ? 2 : nRow);
        if (nRow == 3)
            pPainter->SetScheme(1);
        CShowBar* pBar = new CShowBar;
        pBar->SetPaintManager(pPainter);
        pBar->SetPosition(xtpBarTop);
        pBar->SetBarStyle(0x400000);
        pBar->CreateEx(0, nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(90, 10 + nRow * 40, 630, 10 + nRow * 40 + 34),
                       CWnd::FromHandle(hFrame), 100 + nRow);
        for (int i = 0; i < static_cast<int>(std::size(g_buttons)); i++) {
            const BUTTON& b = g_buttons[i];
            CXTPControl* pControl = pBar->GetControls()->Add(b.nType, 100 + i % 8);
            pControl->SetCaption(CString(b.lpszCaption));
            pControl->SetBeginGroup(i == 7 || i == 9);
            if (b.bWhole)
                static_cast<CXTPControlPopup*>(pControl)->SetWholeFace(TRUE);
            pControl->SetStyle(*b.lpszCaption ? xtpButtonIconAndCaption : xtpButtonAutomatic);
            pControl->SetEnabled(b.bEnabled);
            pControl->SetChecked(b.bChecked);
            pControl->SetSelected(b.nSelected);
            pControl->SetPressed(b.nPressed);
        }
        // A caption alone keeps the icon's place free.
        CXTPControl* pCaption = pBar->GetControls()->Add(xtpControlButton, 200);
        pCaption->SetCaption(L"&Chiudi");
        pCaption->SetStyle(xtpButtonCaption);
        pBar->OnRecalcLayout();
        bars.push_back(pBar);
    }

    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    for (CShowBar* pBar : bars)
        pBar->InternalRelease();
    return 0;
}
