// Shows the themed and the program's own controls side by side, to look at with scripts/screenshot
// (build/<folder>/tests/controls_show.exe): a tree with a selected, a coloured and a bold item, a sorted report
// list with its sort icon, push buttons in the classic, flat and semi-flat faces, a link and a caption bar.
#include "controls/MyButton.h"
#include "controls/MyListCtrl.h"
#include "controls/MyStaticBar.h"
#include "ui/themes/HyperLink.h"
#include "ui/themes/ThemedTree.h"

namespace
{
// A framework window, so that the controls hear their reflected notifications.
class CShowFrame : public CWnd
{
protected:
    void PostNcDestroy() override { ::PostQuitMessage(0); }
};
} // namespace

int main()
{
    CShowFrame frame;
    if (!frame.CreateEx(0, AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW), ::GetSysColorBrush(COLOR_BTNFACE)),
                        L"Controlli", WS_POPUP | WS_VISIBLE, 40, 40, 720, 360, nullptr, nullptr))
        return 1;
    CFont* pFont = CFont::FromHandle(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));

    CMyStaticBar bar;
    bar.Create(L"modulistica di controllo", WS_CHILD | WS_VISIBLE, CRect(8, 8, 712, 32), &frame, 1);
    bar.SetCapitalise(TRUE);

    CXTTreeCtrl tree;
    tree.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS,
                CRect(8, 40, 248, 300), &frame, 2);
    tree.SetFont(pFont);
    HTREEITEM hRoot = tree.InsertItem(L"Bilancio 2008");
    HTREEITEM hEntrate = tree.InsertItem(L"Entrate correnti", hRoot);
    tree.InsertItem(L"Spese correnti", hRoot);
    HTREEITEM hSaldo = tree.InsertItem(L"Saldo finanziario", hRoot);
    tree.InsertItem(L"Monitoraggio trimestrale");
    tree.Expand(hRoot, TVE_EXPAND);
    tree.SetItemColor(hEntrate, RGB(0, 0, 160));
    tree.SetItemBold(hRoot, TRUE);
    tree.SelectItem(hSaldo);

    CMyListCtrl list;
    list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(256, 40, 712, 220), &frame, 3);
    list.SetFont(pFont);
    list.InsertColumn(0, L"Voce", LVCFMT_LEFT, 160);
    list.InsertColumn(1, L"Anno", LVCFMT_RIGHT, 80, -1, CompareInteger);
    list.InsertColumn(2, L"Importo", LVCFMT_RIGHT, 120, -1, CompareCurrency);
    list.AddItem({L"Entrate tributarie", L"2008", L"1.234.567,00"});
    list.AddItem({L"Trasferimenti", L"2009", L"98.000,50"});
    list.AddItem({L"Entrate extratributarie", L"2010", L"12.500,00"});
    list.SortColumn(2, FALSE);

    CXTButton classic, flat, semiFlat;
    classic.Create(L"&Classico", WS_CHILD | WS_VISIBLE, CRect(256, 232, 356, 258), &frame, 4);
    flat.Create(L"&Piatto", WS_CHILD | WS_VISIBLE, CRect(364, 232, 464, 258), &frame, 5);
    semiFlat.Create(L"&Semipiatto", WS_CHILD | WS_VISIBLE, CRect(472, 232, 572, 258), &frame, 6);
    for (CXTButton* pButton : {&classic, &flat, &semiFlat})
        pButton->SetFont(pFont);
    classic.SetDrawStyle(0);
    semiFlat.SetDrawStyle(CXTButton::styleSemiFlat);
    CMyButton tooltipButton;
    tooltipButton.Create(L"Chiudi", WS_CHILD | WS_VISIBLE, CRect(580, 232, 680, 258), &frame, 7);
    tooltipButton.SetFont(pFont);

    CXTHyperLink link;
    link.Create(L"www.vorsa.it", WS_CHILD | WS_VISIBLE, CRect(256, 272, 456, 292), &frame, 8);

    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (!CWnd::WalkPreTranslateTree(frame.m_hWnd, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    return 0;
}
