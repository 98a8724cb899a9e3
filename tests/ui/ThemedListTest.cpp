// The themed header and list on a shown parent: header faces and sort arrows painted into a memory DC, locked
// and minimum widths, the right-click menu (its popup recorded instead of shown), header-driven sorting, row
// colours, row moves, and the column widths kept in the program's profile under a throw-away company key.
#include "PixelCanvas.h"

#include "platform/mfc/afxapp.h"
#include "ui/persist/PropExchangeRegistry.h"
#include "ui/persist/RegistryManager.h"
#include "ui/themes/ThemedList.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
const UINT kListID = 1501;
const LPCTSTR kCompany = L"QuarzelTestsThemedList";

// Records the popups it would show: the command ids with their check state.
class CRecordingHeader : public CXTHeaderCtrl
{
public:
    std::vector<std::vector<std::pair<UINT, BOOL>>> m_popups;

protected:
    void TrackPopup(CMenu* pPopup, CPoint /*ptScreen*/, CWnd* /*pOwner*/) override
    {
        std::vector<std::pair<UINT, BOOL>> items;
        for (UINT i = 0; i < pPopup->GetMenuItemCount(); i++) {
            const UINT nID = pPopup->GetMenuItemID(static_cast<int>(i));
            if (nID != 0 && nID != static_cast<UINT>(-1))
                items.emplace_back(nID, (pPopup->GetMenuState(nID, MF_BYCOMMAND) & MF_CHECKED) != 0);
        }
        m_popups.push_back(items);
    }
};

// Records the sorts the header asks for.
class CSortRecordingList : public CXTListCtrl
{
public:
    std::vector<std::pair<int, BOOL>> m_sorts;
    BOOL SortList(int nCol, BOOL bAscending) override
    {
        m_sorts.emplace_back(nCol, bAscending);
        return TRUE;
    }
};

class ThemedListTest : public ::testing::Test
{
protected:
    ThemedListTest() { m_app.SetRegistryKey(kCompany); }
    ~ThemedListTest() override { AfxDelRegTreeHelper(HKEY_CURRENT_USER, CString(L"Software\\") + kCompany); }

    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateEx(0, AfxRegisterWndClass(0), L"list", WS_POPUP | WS_VISIBLE, 30, 30, 420, 300,
                                      nullptr, nullptr));
        CreateList(LVS_REPORT);
    }
    void TearDown() override
    {
        if (::IsWindow(m_parent.m_hWnd))
            m_parent.DestroyWindow();
    }
    void CreateList(DWORD dwView)
    {
        ASSERT_TRUE(m_list.Create(WS_CHILD | WS_VISIBLE | dwView | LVS_SHOWSELALWAYS, CRect(0, 0, 400, 280), &m_parent,
                                  kListID));
        const int widths[] = {80, 120, 45};
        const LPCTSTR texts[] = {L"Codice", L"Descrizione", L"Anno"};
        m_list.BuildColumns(3, widths, texts);
        const LPCTSTR rows[][3] = {{L"1", L"Entrate", L"2008"}, {L"2", L"Spese", L"2009"}, {L"3", L"Saldo", L"2010"},
                                   {L"4", L"Residui", L""}, {L"5", L"Cassa", L"2008"}};
        for (int i = 0; i < 5; i++) {
            m_list.InsertItem(i, rows[i][0]);
            m_list.SetItemText(i, 1, rows[i][1]);
            m_list.SetItemText(i, 2, rows[i][2]);
        }
    }
    void ClickHeader(int nItem, int nButton = 0)
    {
        NMHEADERW nm = {};
        nm.hdr.hwndFrom = m_list.GetHeaderCtrl()->GetSafeHwnd();
        nm.hdr.idFrom = 0;
        nm.hdr.code = HDN_ITEMCLICKW;
        nm.iItem = nItem;
        nm.iButton = nButton;
        m_list.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
    }
    std::vector<CString> Column(int nCol)
    {
        std::vector<CString> texts;
        for (int i = 0; i < m_list.GetItemCount(); i++)
            texts.push_back(m_list.GetItemText(i, nCol));
        return texts;
    }

    CWinApp m_app {L"ProvaListe"};
    CWnd m_parent;
    CSortRecordingList m_list;
};

// A bare themed header on the parent, three items of 100 pixels.
class ThemedHeaderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateEx(0, AfxRegisterWndClass(0), L"header", WS_POPUP | WS_VISIBLE, 30, 30, 420, 100,
                                      nullptr, nullptr));
        ASSERT_TRUE(m_header.Create(WS_CHILD | WS_VISIBLE | HDS_BUTTONS, CRect(0, 0, 400, 24), &m_parent, 1));
    }
    void TearDown() override
    {
        if (::IsWindow(m_parent.m_hWnd))
            m_parent.DestroyWindow();
    }
    void AddItems()
    {
        for (int i = 0; i < 3; i++) {
            HDITEM hdi = {};
            hdi.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
            hdi.cxy = 100;
            hdi.fmt = HDF_LEFT;
            hdi.pszText = const_cast<LPTSTR>(L"Voce");
            m_header.InsertItem(i, &hdi);
        }
    }
    // The arrow box of an item: where the theme places the arrow right of the caption.
    CRect ArrowBox(int nItem)
    {
        CRect rcItem;
        m_header.GetItemRect(nItem, &rcItem);
        CXTHeaderCtrlTheme* pTheme = m_header.GetHeaderTheme();
        const int x = rcItem.right - pTheme->GetTextMargin() - 2 * pTheme->GetArrowMargin() - pTheme->GetArrowWidth() +
                      pTheme->GetArrowMargin();
        const int y = rcItem.top + (rcItem.Height() - 7) / 2 - 1;
        return CRect(x, y, x + pTheme->GetArrowWidth() + 1, y + 8);
    }
    int Count(CPixelCanvas& canvas, const CRect& rc, COLORREF clr)
    {
        int n = 0;
        for (int y = rc.top; y < rc.bottom; y++)
            for (int x = rc.left; x < rc.right; x++)
                n += canvas.At(x, y) == clr;
        return n;
    }

    CWnd m_parent;
    CRecordingHeader m_header;
};
}

TEST_F(ThemedHeaderTest, SortArrowsPointTheirWayAndGoWithTheSortColumn)
{
    AddItems();
    CXTHeaderCtrlTheme* pTheme = m_header.GetHeaderTheme();
    ASSERT_NE(nullptr, pTheme);
    const COLORREF hilite = pTheme->GetHighlightColor(), shadow = pTheme->GetShadowColor();
    CRect rcClient;
    m_header.GetClientRect(&rcClient);
    const CRect rcBox = ArrowBox(1);

    struct Case
    {
        int nSortColumn;
        BOOL bAscending;
        int nBaseRow;         // row of the arrow's base inside the box, -1 for no arrow
        COLORREF clrBase;
    } cases[] = {
        {1, TRUE, 7, hilite},
        {1, FALSE, 0, shadow},
        {-1, TRUE, -1, 0},
        {0, TRUE, -1, 0},   // on another column: nothing in this item's box
    };
    for (const Case& c : cases) {
        m_header.SetSortColumn(c.nSortColumn, c.bAscending);
        CPixelCanvas canvas(rcClient.Width(), rcClient.Height(), RGB(1, 2, 3));
        pTheme->DrawHeader(&canvas, &m_header);
        const int nArrow = Count(canvas, rcBox, hilite) + Count(canvas, rcBox, shadow);
        if (c.nBaseRow < 0) {
            EXPECT_EQ(0, nArrow) << c.nSortColumn;
            continue;
        }
        const CRect rcBase(rcBox.left + 1, rcBox.top + c.nBaseRow, rcBox.right - 1, rcBox.top + c.nBaseRow + 1);
        EXPECT_GE(Count(canvas, rcBase, c.clrBase), 6) << c.bAscending;
        // The slanted sides: both colours appear.
        EXPECT_GT(Count(canvas, rcBox, hilite), 3) << c.bAscending;
        EXPECT_GT(Count(canvas, rcBox, shadow), 3) << c.bAscending;
    }
}

TEST_F(ThemedHeaderTest, AnEmptyHeaderPaintsOnlyItsBackground)
{
    CXTHeaderCtrlTheme* pTheme = m_header.GetHeaderTheme();
    CRect rcClient;
    m_header.GetClientRect(&rcClient);
    CPixelCanvas canvas(rcClient.Width(), rcClient.Height(), RGB(1, 2, 3));
    pTheme->DrawHeader(&canvas, &m_header);
    EXPECT_EQ(pTheme->GetHighlightColor(), canvas.At(0, 0));
    EXPECT_EQ(pTheme->GetShadowColor(), canvas.At(rcClient.Width() / 2, rcClient.bottom - 2));
    for (int x = 2; x < rcClient.right - 2; x++)
        ASSERT_EQ(pTheme->GetFaceColor(), canvas.At(x, rcClient.Height() / 2)) << x;
}

TEST_F(ThemedHeaderTest, TheOffice2003ThemeMakesTheHeaderTallerThanTheFont)
{
    m_header.SetTheme(new CXTHeaderCtrlThemeOffice2003);
    CRect rc(0, 0, 300, 200);
    WINDOWPOS wp = {};
    HDLAYOUT layout = {&rc, &wp};
    ASSERT_TRUE(m_header.Layout(&layout));
    CClientDC dc(&m_header);
    TEXTMETRIC tm = {};
    CFont* pOld = dc.SelectObject(CFont::FromHandle(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT))));
    dc.GetTextMetrics(&tm);
    dc.SelectObject(pOld);
    EXPECT_EQ(tm.tmHeight + 10, wp.cy);
    EXPECT_EQ(300, wp.cx);
    EXPECT_EQ(wp.cy, rc.top);
}

// The list moves the window that the layout names to the place it gives: every theme names its own header and sets
// every field the list reads, whatever the caller's record held before; a hidden header takes no room.
TEST_F(ThemedHeaderTest, EveryThemesLayoutNamesTheHeaderAndFillsThePlaceTheListMovesItTo)
{
    struct Case
    {
        const char* pszTheme;
        CXTHeaderCtrlTheme* (*pfnCreate)();
    } cases[] = {
        {"classic", [] { return new CXTHeaderCtrlTheme; }},
        {"flat", []() -> CXTHeaderCtrlTheme* { return new CXTHeaderCtrlThemeFlat; }},
        {"Office 2003", []() -> CXTHeaderCtrlTheme* { return new CXTHeaderCtrlThemeOffice2003; }},
    };
    for (const Case& c : cases) {
        for (BOOL bHidden : {FALSE, TRUE}) {
            SCOPED_TRACE(c.pszTheme);
            SCOPED_TRACE(bHidden ? "hidden" : "shown");
            m_header.SetTheme(c.pfnCreate());
            m_header.ModifyStyle(bHidden ? 0 : HDS_HIDDEN, bHidden ? HDS_HIDDEN : 0);
            const CRect rcGiven(5, 7, 305, 200);
            CRect rc = rcGiven;
            WINDOWPOS wp;
            wp.hwnd = m_parent.m_hWnd;
            wp.hwndInsertAfter = HWND_TOPMOST;
            wp.x = wp.y = wp.cx = wp.cy = 0x5A5A5A;
            wp.flags = SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE;
            HDLAYOUT layout = {&rc, &wp};
            ASSERT_TRUE(m_header.Layout(&layout));
            EXPECT_EQ(m_header.m_hWnd, wp.hwnd);
            EXPECT_TRUE(wp.hwndInsertAfter == HWND_TOP || (wp.flags & SWP_NOZORDER));
            EXPECT_EQ(rcGiven.left, wp.x);
            EXPECT_EQ(rcGiven.top, wp.y);
            EXPECT_EQ(rcGiven.Width(), wp.cx);
            if (bHidden)
                EXPECT_EQ(0, wp.cy);
            else
                EXPECT_GT(wp.cy, 0);
            EXPECT_EQ(rcGiven.top + wp.cy, rc.top);
            EXPECT_EQ(0u, wp.flags & (SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE));
        }
    }
}

TEST_F(ThemedListTest, ResizeColumnsSparesLockedOnesAndLockedWidthsStay)
{
    CRecordingHeader header;
    ASSERT_TRUE(header.SubclassWindow(m_list.GetHeaderCtrl()->GetSafeHwnd()));
    m_list.DeleteColumn(2);
    header.LockColumn(0);
    header.ResizeColumns(300);
    EXPECT_EQ(80, m_list.GetColumnWidth(0));
    EXPECT_EQ(300, m_list.GetColumnWidth(1));

    // A width change of a locked column is refused; the minimum holds for the others.
    EXPECT_FALSE(m_list.SetColumnWidth(0, 150) && m_list.GetColumnWidth(0) == 150);
    EXPECT_EQ(80, m_list.GetColumnWidth(0));
    header.SetMinWidth(50);
    m_list.SetColumnWidth(1, 20);
    EXPECT_EQ(300, m_list.GetColumnWidth(1));
    m_list.SetColumnWidth(1, 60);
    EXPECT_EQ(60, m_list.GetColumnWidth(1));
    header.UnsubclassWindow();
}

TEST_F(ThemedListTest, TheHeaderMenuOffersSortingOnItemsOnlyAndAppliesItsChoice)
{
    CRecordingHeader header;
    ASSERT_TRUE(header.SubclassWindow(m_list.GetHeaderCtrl()->GetSafeHwnd()));
    CRect rcItem;
    header.GetItemRect(1, &rcItem);
    header.SetSortColumn(1, TRUE);

    header.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(390, 5));   // beside every item
    EXPECT_TRUE(header.m_popups.empty());

    header.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(rcItem.CenterPoint().x, 5));
    ASSERT_EQ(1u, header.m_popups.size());
    const std::vector<std::pair<UINT, BOOL>> expected = {{XT_IDC_SORTASC, TRUE}, {XT_IDC_SORTDSC, FALSE}};
    EXPECT_EQ(expected, header.m_popups[0]);

    // The menu's descending sort marks the item; the list hears of it as a header click.
    header.SendMessage(WM_COMMAND, XT_IDC_SORTDSC);
    BOOL bAscending = TRUE;
    EXPECT_EQ(1, header.GetSortColumn(&bAscending));
    EXPECT_FALSE(bAscending);

    // Right alignment of the column under the click.
    header.SendMessage(WM_COMMAND, XT_IDC_ALIGNRIGHT);
    LVCOLUMN column = {};
    column.mask = LVCF_FMT;
    m_list.GetColumn(1, &column);
    EXPECT_EQ(LVCFMT_RIGHT, column.fmt & LVCFMT_JUSTIFYMASK);
    header.UnsubclassWindow();
}

TEST_F(ThemedListTest, HeaderClicksSortAndToggleTheDirection)
{
    ASSERT_TRUE(m_list.SubclassHeader());
    ClickHeader(1);
    ClickHeader(1);
    ClickHeader(2);
    ClickHeader(2, 1);   // from the header's menu: the header's own direction
    const std::vector<std::pair<int, BOOL>> expected = {{1, TRUE}, {1, FALSE}, {2, TRUE}, {2, TRUE}};
    EXPECT_EQ(expected, m_list.m_sorts);
    BOOL bAscending = FALSE;
    EXPECT_EQ(2, m_list.GetFlatHeader().GetSortColumn(&bAscending));
    EXPECT_TRUE(bAscending);

    // Locked columns refuse dragging and divider double clicks.
    m_list.SetColumnsLocked(TRUE);
    NMHEADERW nm = {};
    nm.hdr.hwndFrom = m_list.GetHeaderCtrl()->GetSafeHwnd();
    nm.hdr.code = HDN_BEGINTRACKW;
    EXPECT_EQ(1, m_list.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm)));
    nm.hdr.code = HDN_DIVIDERDBLCLICKW;
    EXPECT_EQ(1, m_list.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm)));
}

TEST_F(ThemedListTest, DraggingBelowTheMinimumStopsAtIt)
{
    m_list.SetMinimumColWidth(40);
    HDITEM hdi = {};
    hdi.mask = HDI_WIDTH;
    hdi.cxy = 10;
    NMHEADERW nm = {};
    nm.hdr.hwndFrom = m_list.GetHeaderCtrl()->GetSafeHwnd();
    nm.hdr.code = HDN_ITEMCHANGINGW;
    nm.iItem = 1;
    nm.pitem = &hdi;
    m_list.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
    EXPECT_EQ(40, hdi.cxy);
}

TEST_F(ThemedListTest, MoveRowCopiesEveryCellBeforeTheTarget)
{
    EXPECT_FALSE(m_list.MoveRow(2, 2));
    EXPECT_FALSE(m_list.MoveRow(-1, 2));
    EXPECT_TRUE(m_list.MoveRow(3, 1));
    EXPECT_EQ((std::vector<CString>{L"1", L"4", L"2", L"3", L"5"}), Column(0));
    EXPECT_EQ((std::vector<CString>{L"Entrate", L"Residui", L"Spese", L"Saldo", L"Cassa"}), Column(1));
    EXPECT_TRUE(m_list.MoveRow(0, 4));
    EXPECT_EQ((std::vector<CString>{L"4", L"2", L"3", L"1", L"5"}), Column(0));
    EXPECT_EQ((std::vector<CString>{L"", L"2009", L"2010", L"2008", L"2008"}), Column(2));
}

// A row's item data moves with it: the owner, who frees the data of deleted rows, frees none of it.
TEST_F(ThemedListTest, MoveRowHandsTheItemDataToTheMovedRow)
{
    struct CDeleteRecorder : CWnd
    {
        std::vector<LPARAM> m_deleted;
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
        {
            auto* pNM = reinterpret_cast<NMLISTVIEW*>(lParam);
            if (message == WM_NOTIFY && pNM->hdr.code == LVN_DELETEITEM)
                m_deleted.push_back(pNM->lParam);
            return CWnd::WindowProc(message, wParam, lParam);
        }
    } owner;
    ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), L"owner", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr));
    CXTListCtrl list;
    ASSERT_TRUE(list.Create(WS_CHILD | LVS_REPORT, CRect(0, 0, 100, 100), &owner, kListID));
    list.InsertColumn(0, L"Codice");
    for (int i = 0; i < 4; i++)
        list.SetItemData(list.InsertItem(i, L"voce"), static_cast<DWORD_PTR>(100 + i));
    ASSERT_TRUE(list.MoveRow(3, 1));
    EXPECT_EQ(103u, list.GetItemData(1));
    EXPECT_EQ(std::vector<LPARAM>{0}, owner.m_deleted);
    owner.DestroyWindow();
}

// The menu's sort reaches the list and the windows beside it under the same parent.
TEST_F(ThemedHeaderTest, TheMenuSortIsHeardByTheParentsChildren)
{
    struct CClickRecorder : CWnd
    {
        std::vector<int> m_clicks;
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
        {
            auto* pNM = reinterpret_cast<NMHEADERW*>(lParam);
            if (message == WM_NOTIFY && pNM->hdr.code == HDN_ITEMCLICKA)
                m_clicks.push_back(pNM->iItem);
            return CWnd::WindowProc(message, wParam, lParam);
        }
    } sibling;
    ASSERT_TRUE(sibling.Create(AfxRegisterWndClass(0), L"", WS_CHILD, CRect(0, 40, 50, 60), &m_parent, 2));
    AddItems();
    CRect rcItem;
    m_header.GetItemRect(2, &rcItem);
    m_header.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(rcItem.CenterPoint().x, 5));
    m_header.SendMessage(WM_COMMAND, XT_IDC_SORTASC);
    EXPECT_EQ(std::vector<int>{2}, sibling.m_clicks);
}

TEST_F(ThemedListTest, ColumnWidthsAreKeptInTheProfile)
{
    m_list.LoadColumnWidths();
    m_list.SetColumnWidth(0, 70);
    m_list.SetColumnWidth(2, 55);
    m_list.DestroyWindow();
    CXTPRegistryManager registry;
    EXPECT_EQ(CString(L"70,120,55,"), registry.GetProfileString(L"Settings", L"Column Info", L""));

    CreateList(LVS_REPORT);
    m_list.LoadColumnWidths();
    EXPECT_EQ(70, m_list.GetColumnWidth(0));
    EXPECT_EQ(120, m_list.GetColumnWidth(1));
    EXPECT_EQ(55, m_list.GetColumnWidth(2));

    // A saved list shorter than the columns leaves the rest as they are.
    registry.WriteProfileString(L"Settings", L"Column Info", L"90,");
    m_list.LoadColumnWidths();
    EXPECT_EQ(90, m_list.GetColumnWidth(0));
    EXPECT_EQ(120, m_list.GetColumnWidth(1));
    m_list.DestroyWindow();

    // A list that is not in report view saves nothing and has no column count.
    registry.WriteProfileString(L"Settings", L"Column Info", nullptr);
    CreateList(LVS_ICON);
    EXPECT_EQ(-1, m_list.GetColumnCount());
    m_list.LoadColumnWidths();
    m_list.DestroyWindow();
    EXPECT_EQ(CString(L"assente"), registry.GetProfileString(L"Settings", L"Column Info", L"assente"));
}

TEST_F(ThemedListTest, RowsAndTheSortColumnArePaintedInTheirColours)
{
    const COLORREF clrRowBack = RGB(255, 230, 200), clrRowText = RGB(120, 0, 0);
    m_list.EnableRowColors(TRUE);
    m_list.SetRowColor(1, clrRowText, clrRowBack);
    m_list.ShadeSortColumn(TRUE);
    m_list.SetSortInfo(2, TRUE);

    CRect rcClient;
    m_list.GetClientRect(&rcClient);
    CPixelCanvas canvas(rcClient.Width(), rcClient.Height(), RGB(1, 2, 3));
    m_list.DoPaint(&canvas);

    auto cellPixel = [&](int nRow, int nCol) {
        CRect rc;
        m_list.GetSubItemRect(nRow, nCol, LVIR_LABEL, rc);
        return canvas.At(rc.right - 3, rc.top + 1);
    };
    const COLORREF clrWindow = ::GetSysColor(COLOR_WINDOW);
    EXPECT_EQ(clrRowBack, cellPixel(1, 1));
    EXPECT_EQ(m_list.GetSortBackColor(), cellPixel(0, 2));
    EXPECT_EQ(BlendColors(clrRowBack, m_list.GetSortBackColor(), 50), cellPixel(1, 2));
    EXPECT_EQ(clrWindow, cellPixel(0, 1));
    EXPECT_NE(clrWindow, m_list.GetSortBackColor());
    // Below the last row the sort column's strip stays shaded.
    CRect rcLast;
    m_list.GetSubItemRect(4, 2, LVIR_LABEL, rcLast);
    EXPECT_EQ(m_list.GetSortBackColor(), canvas.At(rcLast.right - 3, rcLast.bottom + 20));
}

namespace
{
// A stand-in for UxTheme: an open handle, active styles, and each background drawn as part × 10 + state.
struct CFakeHeaderStyles
{
    static std::vector<int> drawn;
    static HTHEME WINAPI OpenThemeData(HWND, LPCWSTR) { return reinterpret_cast<HTHEME>(9); }
    static HRESULT WINAPI CloseThemeData(HTHEME) { return S_OK; }
    static BOOL WINAPI IsThemeActive() { return TRUE; }
    static HRESULT WINAPI DrawThemeBackground(HTHEME, HDC, int iPartId, int iStateId, const RECT*, const RECT*)
    {
        drawn.push_back(iPartId * 10 + iStateId);
        return S_OK;
    }
};
std::vector<int> CFakeHeaderStyles::drawn;

FARPROC HeaderEntry(void (*pfn)()) { return reinterpret_cast<FARPROC>(pfn); }
#define FAKE_HEADER_ENTRY(name) {#name, HeaderEntry(reinterpret_cast<void (*)()>(&CFakeHeaderStyles::name))}
const XTP_VISUALSTYLE_ENTRY g_fakeHeaderStyles[] = {
    FAKE_HEADER_ENTRY(OpenThemeData), FAKE_HEADER_ENTRY(CloseThemeData), FAKE_HEADER_ENTRY(IsThemeActive),
    FAKE_HEADER_ENTRY(DrawThemeBackground), {nullptr, nullptr},
};
}

TEST_F(ThemedHeaderTest, VisualStylesDrawTheHeaderPartsFromVersionSixOnly)
{
    AddItems();
    CXTPVisualStyleLibrary& library = CXTPVisualStyleLibrary::GetInstance();
    library.SetEntryTable(g_fakeHeaderStyles);
    // A theme of the header's own, so that the stand-in handle goes with it before the library comes back.
    m_header.SetTheme(new CXTHeaderCtrlTheme);
    CXTHeaderCtrlTheme* pTheme = m_header.GetHeaderTheme();
    CRect rcClient, rcItem;
    m_header.GetClientRect(&rcClient);
    m_header.GetItemRect(1, &rcItem);
    CPoint ptHot = rcItem.CenterPoint();
    m_header.ClientToScreen(&ptHot);
    ::SetCursorPos(ptHot.x, ptHot.y);

    struct Case
    {
        DWORD dwComCtlVersion;
        std::vector<int> expected;
    } cases[] = {
        // the whole header, then each item: the one under the cursor hot
        {0x00060000, {1, 11, 12, 11}},
        {0x00050051, {}},
    };
    for (const Case& c : cases) {
        library.SetComCtlVersion(c.dwComCtlVersion);
        pTheme->SetDrawStyle(CXTHeaderCtrlTheme::optionVisualStyles | CXTHeaderCtrlTheme::optionThemedItems |
                                 CXTHeaderCtrlTheme::optionSortArrow,
                             &m_header);
        CFakeHeaderStyles::drawn.clear();
        CPixelCanvas canvas(rcClient.Width(), rcClient.Height(), RGB(1, 2, 3));
        pTheme->DrawHeader(&canvas, &m_header);
        EXPECT_EQ(c.expected, CFakeHeaderStyles::drawn) << std::hex << c.dwComCtlVersion;
        // Classic faces only where the styles did not draw.
        EXPECT_EQ(c.expected.empty(), canvas.At(rcItem.right - 20, rcItem.CenterPoint().y) == pTheme->GetFaceColor());
    }
    m_header.SetTheme(static_cast<CXTThemeManagerStyle*>(nullptr));
    library.Load();
}
