// The program's list, header and button on a shown parent: typed sorting by heading clicks (the list's column
// click sent as the system sends it), row keys after deletions, search and selection, the header's sort icons
// painted into a memory DC, and the icon button's tooltip.
#include "ui/PixelCanvas.h"

#include "controls/MyButton.h"
#include "controls/MyListCtrl.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace
{
const UINT kListID = 1601;

class MyListCtrlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateEx(0, AfxRegisterWndClass(0), L"lista", WS_POPUP | WS_VISIBLE, 40, 40, 460, 300,
                                      nullptr, nullptr));
        ASSERT_TRUE(m_list.Create(WS_CHILD | WS_VISIBLE | LVS_SMALLICON, CRect(0, 0, 440, 280), &m_parent, kListID));
        m_list.InsertColumn(0, L"Voce", LVCFMT_LEFT, 120);
        m_list.InsertColumn(1, L"Numero", LVCFMT_RIGHT, 60, -1, CompareInteger);
        m_list.InsertColumn(2, L"Data", LVCFMT_LEFT, 90, -1, CompareDateTime);
        m_list.InsertColumn(3, L"Importo", LVCFMT_RIGHT, 90, -1, CompareCurrency);
    }
    void TearDown() override
    {
        if (::IsWindow(m_parent.m_hWnd))
            m_parent.DestroyWindow();
    }
    void ClickHeading(int nColumn)
    {
        NMLISTVIEW nm = {};
        nm.hdr.hwndFrom = m_list.m_hWnd;
        nm.hdr.idFrom = kListID;
        nm.hdr.code = LVN_COLUMNCLICK;
        nm.iItem = -1;
        nm.iSubItem = nColumn;
        m_parent.SendMessage(WM_NOTIFY, kListID, reinterpret_cast<LPARAM>(&nm));
    }
    std::vector<CString> Column(int nColumn)
    {
        std::vector<CString> texts;
        for (int i = 0; i < m_list.GetItemCount(); i++)
            texts.push_back(m_list.GetItemText(i, nColumn));
        return texts;
    }
    void AddRows()
    {
        m_list.AddItem({L"Entrate", L"10", L"15/03/2008", L"1.234,50"});
        m_list.AddItem({L"spese", L"9", L"", L"999,99"});
        m_list.AddItem({L"Cassa", L"100", L"01/02/2008", L"-5,00"});
        m_list.AddItem({L"residui", L"9", L"", L"20.000,00"});
    }

    CWnd m_parent;
    CMyListCtrl m_list;
};
}

TEST_F(MyListCtrlTest, CreationMakesAReportListWithTheProgramsHeader)
{
    EXPECT_EQ(static_cast<DWORD>(LVS_REPORT), m_list.GetStyle() & LVS_TYPEMASK);
    EXPECT_NE(0u, m_list.GetStyle() & WS_CLIPCHILDREN);
    EXPECT_EQ(m_list.GetHeaderCtrl()->GetSafeHwnd(), m_list.GetMyHeader().GetSafeHwnd());
    EXPECT_EQ(4, m_list.GetColumnCount());
    // The header has its theme's height: the font's plus 10.
    CClientDC dc(&m_list.GetMyHeader());
    CFont* pOld = dc.SelectObject(m_list.GetMyHeader().GetFont());
    TEXTMETRIC tm = {};
    dc.GetTextMetrics(&tm);
    dc.SelectObject(pOld);
    CRect rcHeader;
    m_list.GetMyHeader().GetWindowRect(&rcHeader);
    EXPECT_EQ(tm.tmHeight + 10, rcHeader.Height());
}

TEST_F(MyListCtrlTest, HeadingClicksSortByTheColumnsType)
{
    AddRows();
    struct Case
    {
        int nColumn;
        std::vector<CString> expected;   // column 0 after the click
    } cases[] = {
        // text, ignoring case
        {0, {L"Cassa", L"Entrate", L"residui", L"spese"}},
        {0, {L"spese", L"residui", L"Entrate", L"Cassa"}},
        // integers: 9 before 10 (as texts "10" would come first)
        {1, {L"spese", L"residui", L"Entrate", L"Cassa"}},
        {1, {L"Cassa", L"Entrate", L"spese", L"residui"}},
        // dates: the empty cells first when ascending, last when descending
        {2, {L"spese", L"residui", L"Cassa", L"Entrate"}},
        {2, {L"Entrate", L"Cassa", L"spese", L"residui"}},
        // Italian amounts
        {3, {L"Cassa", L"spese", L"Entrate", L"residui"}},
    };
    for (const Case& c : cases) {
        ClickHeading(c.nColumn);
        EXPECT_EQ(c.expected, Column(0)) << c.nColumn;
    }
    BOOL bAscending = FALSE;
    EXPECT_EQ(3, m_list.GetSortColumn(&bAscending));
    EXPECT_TRUE(bAscending);
}

// Columns inserted before or deleted from among the typed ones: each column keeps its own definition, its
// comparison and, when sorted, its sort arrow.
TEST_F(MyListCtrlTest, ColumnsKeepTheirComparisonWhenOthersAreInsertedOrDeleted)
{
    m_list.SortColumn(2, TRUE);   // by date
    m_list.InsertColumn(1, L"Nota", LVCFMT_LEFT, 40);
    EXPECT_EQ(3, m_list.GetSortColumn());
    m_list.InsertColumn(3, L"Altro", LVCFMT_LEFT, 40);
    EXPECT_EQ(4, m_list.GetSortColumn());
    EXPECT_EQ(4, m_list.GetMyHeader().GetSortColumn());
    m_list.DeleteColumn(3);
    EXPECT_EQ(3, m_list.GetSortColumn());
    EXPECT_EQ(3, m_list.GetMyHeader().GetSortColumn());
    m_list.InsertColumn(5, L"Altro", LVCFMT_LEFT, 40);
    m_list.SortColumn(5, TRUE);
    m_list.DeleteColumn(5);   // the sorted column itself
    EXPECT_EQ(-1, m_list.GetSortColumn());
    EXPECT_EQ(-1, m_list.GetMyHeader().GetSortColumn());

    const LPCTSTR headings[] = {L"Voce", L"Nota", L"Numero", L"Data", L"Importo"};
    ASSERT_EQ(static_cast<int>(_countof(headings)), m_list.GetColumnCount());
    for (int i = 0; i < m_list.GetColumnCount(); i++) {
        wchar_t szText[32] = {};
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT;
        column.pszText = szText;
        column.cchTextMax = _countof(szText);
        m_list.GetColumn(i, &column);
        EXPECT_STREQ(headings[i], szText);
        EXPECT_EQ(CString(headings[i]), m_list.GetColumnDef(i).strHeading);
    }
    m_list.AddItem({L"Entrate", L"", L"10", L"15/03/2008", L"1.234,50"});
    m_list.AddItem({L"spese", L"", L"9", L"", L"999,99"});
    m_list.AddItem({L"Cassa", L"", L"100", L"01/02/2008", L"-5,00"});
    m_list.AddItem({L"residui", L"", L"9", L"", L"20.000,00"});
    struct Case
    {
        int nColumn;
        std::vector<CString> expected;   // "Voce" after the click
    } cases[] = {
        {2, {L"spese", L"residui", L"Entrate", L"Cassa"}},   // 9 before 10
        {3, {L"spese", L"residui", L"Cassa", L"Entrate"}},   // dates, the empty ones first
        {4, {L"Cassa", L"spese", L"Entrate", L"residui"}},   // amounts
    };
    for (const Case& c : cases) {
        ClickHeading(c.nColumn);
        EXPECT_EQ(c.expected, Column(0)) << c.nColumn;
    }
}

TEST_F(MyListCtrlTest, RowKeysStayUniqueAfterDeletions)
{
    m_list.AddItem({L"b"});
    m_list.AddItem({L"c"});
    m_list.AddItem({L"d"});
    m_list.DeleteItem(0);
    m_list.AddItem({L"a"});
    std::set<DWORD_PTR> keys;
    for (int i = 0; i < m_list.GetItemCount(); i++)
        keys.insert(m_list.GetItemData(i));
    EXPECT_EQ(3u, keys.size());
    m_list.SortColumn(0, TRUE);
    EXPECT_EQ((std::vector<CString>{L"a", L"c", L"d"}), Column(0));

    // Rows added by hand without a key, or with a key another row holds, get one of their own when sorted.
    const int nRow = m_list.InsertItem(m_list.GetItemCount(), L"b");
    m_list.SetItemData(nRow, m_list.GetItemData(0));
    m_list.SortColumn(0, FALSE);
    EXPECT_EQ((std::vector<CString>{L"d", L"c", L"b", L"a"}), Column(0));
}

TEST_F(MyListCtrlTest, SeveralKeysBreakTiesInOrder)
{
    AddRows();
    m_list.SortColumns({{1, TRUE}, {0, FALSE}});
    EXPECT_EQ((std::vector<CString>{L"spese", L"residui", L"Entrate", L"Cassa"}), Column(0));
    m_list.SortColumns({{1, TRUE}, {0, TRUE}});
    EXPECT_EQ((std::vector<CString>{L"residui", L"spese", L"Entrate", L"Cassa"}), Column(0));
}

TEST_F(MyListCtrlTest, AnUnreadableTextIsMarked)
{
    m_list.AddItem({L"Voce", nullptr, L"01/01/2008"});
    EXPECT_EQ(CString(L"*** INVALID ***"), m_list.GetItemText(0, 1));
    EXPECT_EQ(CString(L"01/01/2008"), m_list.GetItemText(0, 2));
}

TEST_F(MyListCtrlTest, FindAndSelectByPrefix)
{
    AddRows();
    struct Case
    {
        const wchar_t* text;
        int nStart, nColumn;
        BOOL bForward, bWhole, bMatchCase;
        int nExpected;
    } cases[] = {
        {L"spese", -1, -1, TRUE, TRUE, FALSE, 1},
        {L"SPESE", -1, -1, TRUE, TRUE, TRUE, -1},
        {L"9", -1, 1, TRUE, TRUE, FALSE, 1},
        {L"9", 1, 1, TRUE, TRUE, FALSE, 3},
        {L"9", 3, 1, TRUE, TRUE, FALSE, -1},
        {L"9", -1, 1, FALSE, TRUE, FALSE, 3},
        {L"ESID", -1, 0, TRUE, FALSE, FALSE, 3},
        {L"ESID", -1, 0, TRUE, FALSE, TRUE, -1},
        {L"2008", -1, 0, TRUE, FALSE, FALSE, -1},
        {L"2008", -1, -1, TRUE, FALSE, FALSE, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.nExpected, m_list.FindItem(c.text, c.nStart, c.nColumn, c.bForward, c.bWhole, c.bMatchCase))
            << CString(c.text).ToMultiByte(CP_UTF8) << " from " << c.nStart;

    m_list.SortColumn(0, TRUE);   // Cassa, Entrate, residui, spese
    m_list.SelectByPrefix(L"r");
    EXPECT_EQ(1u, m_list.GetSelectedCount());
    EXPECT_EQ(LVIS_SELECTED, m_list.GetItemState(2, LVIS_SELECTED));
    m_list.SelectByPrefix(L"zz");
    EXPECT_EQ(LVIS_SELECTED, m_list.GetItemState(3, LVIS_SELECTED));
    EXPECT_EQ(1u, m_list.GetSelectedCount());
}

TEST_F(MyListCtrlTest, TheHeaderShowsTheSortIconOfTheDirection)
{
    AddRows();
    CMyHeaderCtrl& header = m_list.GetMyHeader();
    CMyTheme* pTheme = header.GetMyTheme();
    ASSERT_NE(nullptr, pTheme);
    ASSERT_EQ(6, pTheme->GetArrowImages().GetImageCount());
    CRect rcClient, rcItem;
    header.GetClientRect(&rcClient);
    header.GetItemRect(0, &rcItem);
    // The icon's box: right of the caption, centred.
    const int x = rcItem.right - pTheme->GetTextMargin() - 2 * pTheme->GetArrowMargin() - pTheme->GetArrowWidth() +
                  pTheme->GetArrowMargin();
    const int y = rcItem.top + (rcItem.Height() - 16) / 2;
    const COLORREF dark = RGB(0x40, 0x40, 0x40);
    auto darkInRow = [&](CPixelCanvas& canvas, int nRow) {
        int n = 0;
        for (int i = 0; i < 16; i++)
            n += canvas.At(x + i, y + nRow) == dark;
        return n;
    };
    for (BOOL bAscending : {TRUE, FALSE}) {
        m_list.SortColumn(0, bAscending);
        CPixelCanvas canvas(rcClient.Width(), rcClient.Height(), RGB(1, 2, 3));
        pTheme->DrawHeader(&canvas, &header);
        // The wide row of the triangle: at the bottom pointing up, at the top pointing down.
        EXPECT_EQ(bAscending ? 12 : 2, darkInRow(canvas, 8)) << bAscending;
        EXPECT_EQ(bAscending ? 2 : 12, darkInRow(canvas, 3)) << bAscending;
    }
    // Another column sorted: no icon in this item.
    m_list.SortColumn(1, TRUE);
    CPixelCanvas canvas(rcClient.Width(), rcClient.Height(), RGB(1, 2, 3));
    pTheme->DrawHeader(&canvas, &header);
    EXPECT_EQ(0, darkInRow(canvas, 8));
    EXPECT_EQ(0, darkInRow(canvas, 3));
}

TEST(MyButtonTest, AnIconButtonShowsItsCaptionAsATooltip)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), L"pulsanti", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                nullptr));
    CMyButton iconButton, textButton;
    ASSERT_TRUE(iconButton.Create(L"Stampa", WS_CHILD | WS_VISIBLE | BS_ICON, CRect(5, 5, 40, 40), &parent, 1));
    ASSERT_TRUE(textButton.Create(L"Chiudi", WS_CHILD | WS_VISIBLE, CRect(50, 5, 120, 30), &parent, 2));

    EXPECT_EQ(CString(), AfxGetWindowText(iconButton.m_hWnd));
    ASSERT_NE(nullptr, iconButton.GetToolTip().GetSafeHwnd());
    wchar_t szTip[64] = {};
    TTTOOLINFOW ti = {};
    ti.cbSize = sizeof(ti);
    ti.hwnd = parent.m_hWnd;
    ti.uFlags = TTF_IDISHWND;
    ti.uId = reinterpret_cast<UINT_PTR>(iconButton.m_hWnd);
    ti.lpszText = szTip;
    iconButton.GetToolTip().SendMessage(TTM_GETTEXTW, _countof(szTip), reinterpret_cast<LPARAM>(&ti));
    EXPECT_STREQ(L"Stampa", szTip);

    EXPECT_EQ(CString(L"Chiudi"), AfxGetWindowText(textButton.m_hWnd));
    EXPECT_EQ(nullptr, textButton.GetToolTip().GetSafeHwnd());
    EXPECT_EQ(static_cast<DWORD>(CXTButton::styleSemiFlat | CXTButton::styleVisualStyles), textButton.GetDrawStyle());
    parent.DestroyWindow();
}

namespace
{
const UINT ID_LIST_DELETE = 33001, ID_LIST_MARK = 33002;

// A list's owner that disables one command and checks another.
class CListOwnerWnd : public CWnd
{
protected:
    void OnUpdateDelete(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    void OnUpdateMark(CCmdUI* pCmdUI) { pCmdUI->SetCheck(1); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CListOwnerWnd, CWnd)
    ON_UPDATE_COMMAND_UI(ID_LIST_DELETE, &CListOwnerWnd::OnUpdateDelete)
    ON_UPDATE_COMMAND_UI(ID_LIST_MARK, &CListOwnerWnd::OnUpdateMark)
END_MESSAGE_MAP()
}

TEST(MyListCtrlMenuTest, APopupOfTheListTakesItsStatesFromTheOwner)
{
    CListOwnerWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), L"menu", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                               nullptr));
    CMyListCtrl list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 280, 180), &owner, 1));
    CMenu popup;
    ASSERT_TRUE(popup.CreatePopupMenu());
    popup.AppendMenu(MF_STRING, ID_LIST_DELETE, L"Elimina");
    popup.AppendMenu(MF_STRING, ID_LIST_MARK, L"Segna");
    list.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup.m_hMenu), 0);
    EXPECT_NE(0u, popup.GetMenuState(ID_LIST_DELETE, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_NE(0u, popup.GetMenuState(ID_LIST_MARK, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_EQ(0u, popup.GetMenuState(ID_LIST_MARK, MF_BYCOMMAND) & MF_GRAYED);
    owner.DestroyWindow();
}
