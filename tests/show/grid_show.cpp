// Shows a sample form workbook of two sheet pairs in the grid window, one tab per data sheet, for a look at
// the grid (scripts/screenshot build/<folder>/tests/grid_show.exe). With a path it shows that workbook instead.
#include "platform/grid/F1Book.h"

#include <commctrl.h>

namespace
{
const UINT kTabID = 1005;
const UINT kGridID = 1006;

CGridCellFormat Format(LPCTSTR pszNumberFormat, bool bBold = false, COLORREF crFill = kGridColorAuto)
{
    CGridCellFormat fmt;
    fmt.m_strNumberFormat = pszNumberFormat;
    fmt.m_strFontName = L"Tahoma";
    fmt.m_bBold = bBold;
    fmt.m_crFill = crFill;
    return fmt;
}

// A data sheet with its title rows, amounts, a total, a signed balance and a Yes/No pair; its description after it.
void AddPair(CGridBook& book, int nSheet, LPCTSTR pszName, LPCTSTR pszTitle, double dBase)
{
    CGridSheet& data = nSheet == 1 ? *book.GetSheet(1) : *book.InsertSheet(nSheet, pszName);
    if (nSheet == 1)
        book.RenameSheet(1, pszName);
    data.SetMaxRow(11);
    data.SetMaxCol(4);
    data.SetTitleRows(2);
    data.SetColWidth(1, 4200);
    data.SetColWidth(2, 1700);
    data.SetColWidth(3, 1700);
    data.SetColWidth(4, 1200);
    CGridCellFormat title = Format(L"General", true, RGB(255, 242, 204));
    title.m_nFontSize = 240;
    data.SetCellFormat(CGridRange(1, 1, 1, 4), title);
    data.SetText(1, 1, pszTitle);
    CGridCellFormat head = Format(L"General", true, RGB(221, 235, 247));
    head.m_nHAlign = gridHAlignCenter;
    head.m_borders[gridSideBottom].m_nStyle = gridBorderMedium;
    data.SetCellFormat(CGridRange(2, 1, 2, 4), head);
    LPCTSTR heads[] = {L"Voce", L"Anno 2008", L"Anno 2009", L"Sì / No"};
    for (int c = 1; c <= 4; ++c)
        data.SetText(2, c, heads[c - 1]);
    LPCTSTR items[] = {L"Tributi propri", L"Trasferimenti dello Stato", L"Entrate extratributarie",
                       L"Alienazioni e capitali", L"Accensione di prestiti"};
    CGridCellFormat amount = Format(L"#,##0.00");
    CGridCellFormat input = amount;
    input.m_bLocked = false;
    input.m_crFill = RGB(255, 255, 230);
    for (int i = 0; i < 5; ++i) {
        data.SetText(3 + i, 1, items[i]);
        data.SetCellFormat(CGridRange(3 + i, 2, 3 + i, 3), input);
        data.SetNumber(3 + i, 2, dBase * (i + 1) + 1234.56);
        data.SetNumber(3 + i, 3, dBase * (i + 2) - 98.4);
    }
    CGridCellFormat total = Format(L"#,##0.00", true);
    total.m_borders[gridSideTop].m_nStyle = gridBorderThin;
    data.SetCellFormat(CGridRange(8, 1, 8, 3), total);
    data.SetText(8, 1, L"Totale");
    data.SetFormula(8, 2, L"=SUM(B3:B7)");
    data.SetFormula(8, 3, L"=SUM(C3:C7)");
    CGridCellFormat sign = Format(L"+#,##0.00;-#,##0.00;#,##0.00", true);
    sign.m_crText = RGB(255, 0, 0);
    data.SetCellFormat(CGridRange(9, 3, 9, 3), sign);
    data.SetText(9, 1, L"Differenza sul 2008");
    data.SetFormula(9, 3, L"=C8-B8-" + CString(nSheet == 1 ? L"200000" : L"0"));
    CGridCellFormat box = Format(L"General");
    box.m_strFontName = GRID_BOX_FONT;
    box.m_nHAlign = gridHAlignCenter;
    data.SetCellFormat(CGridRange(10, 4, 11, 4), box);
    data.SetText(10, 1, L"Dati approvati dal consiglio: sì");
    data.SetText(10, 4, CString(kGridBoxTicked));
    data.SetText(11, 1, L"Dati approvati dal consiglio: no");
    data.SetText(11, 4, CString(kGridBoxEmpty));

    CGridSheet& desc = *book.InsertSheet(nSheet + 1, CString(pszName) + L" (descrizione)");
    desc.SetText(1, 1, L"1:3,2;F:2,0;T:Entrate");
    for (int i = 0; i < 5; ++i) {
        CString strRow;
        strRow.Format(L"I:+V;R:%d;F:Anno1", 2101 + i);
        desc.SetText(3 + i, 2, strRow);
    }
    desc.SetText(10, 4, L"I:B.Y;B.N:11,4;R:3001;F:Approvato");
    desc.SetText(11, 4, L"I:B.N;B.Y:10,4;R:3001;F:Approvato");
    desc.SetText(12, 6, L"[EOF]");
}

CF1Book g_grid;
HWND g_hTab = nullptr;

LRESULT CALLBACK FrameProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    switch (nMsg) {
    case WM_SIZE:
        if (g_hTab) {
            ::MoveWindow(g_hTab, 0, 0, LOWORD(lParam), 24, TRUE);
            g_grid.MoveWindow(0, 24, LOWORD(lParam), HIWORD(lParam) - 24);
        }
        return 0;
    case WM_NOTIFY:
        if (reinterpret_cast<NMHDR*>(lParam)->code == TCN_SELCHANGE)
            g_grid.SetProperty106(2 * static_cast<long>(TabCtrl_GetCurSel(g_hTab)) + 1);
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(hWnd, nMsg, wParam, lParam);
}
} // namespace

int main(int argc, char** argv)
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_TAB_CLASSES};
    ::InitCommonControlsEx(&icc);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = FrameProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"GridShowFrame";
    ::RegisterClassW(&wc);
    HWND hFrame = ::CreateWindowExW(0, wc.lpszClassName, L"Griglia", WS_POPUP | WS_VISIBLE, 40, 40, 760, 330,
                                    nullptr, nullptr, wc.hInstance, nullptr);
    if (!g_grid.Create(L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, CRect(0, 24, 760, 330), CWnd::FromHandle(hFrame),
                       kGridID))
        return 1;
    if (argc > 1) {
        try {
            g_grid.InvokeMethod1375(CString(argv[1]));
        } catch (CException* e) {
            e->ReportError();
            e->Delete();
            return 1;
        }
    } else {
        AddPair(g_grid.GetBook(), 1, L"Entrate", L"Previsione delle entrate", 150000);
        AddPair(g_grid.GetBook(), 3, L"Spese", L"Previsione delle spese", 120000);
    }
    g_hTab = ::CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 760, 24, hFrame,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTabID)), wc.hInstance, nullptr);
    ::SendMessageW(g_hTab, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    for (long i = 0; 2 * i + 1 < g_grid.GetProperty105(); ++i) {
        CString strName = g_grid.InvokeGet286(2 * i + 1);
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = strName.GetBuffer();
        TabCtrl_InsertItem(g_hTab, i, &item);
    }
    g_grid.SetProperty106(1);
    g_grid.SetProperty13(2);
    g_grid.InvokeMethod211(4, 2);
    g_grid.SetFocus();
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}
