// The themed tree in a shown window: search, multiple selection driven by the click tracker (messages posted to
// the tree before the tracker reads them), collapsing, and the label colours painted into a memory DC.
#include "PixelCanvas.h"

#include "ui/themes/ColorTable.h"
#include "ui/themes/ThemedList.h"
#include "ui/themes/ThemedTree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

namespace
{
const UINT kTreeID = 1201;

// The tree's parent: vetoes selection of a chosen item and counts what it is told.
class CTreeOwnerWnd : public CWnd
{
public:
    HTREEITEM m_hVeto = nullptr;
    std::map<int, int> m_notes;   // notification code → count
    CPoint m_ptDrag;
    std::vector<std::pair<UINT, LPARAM>> m_sysCommands;   // recorded, not carried out

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_SYSCOMMAND) {
            m_sysCommands.emplace_back(static_cast<UINT>(wParam & 0xFFF0), lParam);
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        auto* pNM = reinterpret_cast<NMTREEVIEW*>(lParam);
        if (wParam == kTreeID) {
            m_notes[static_cast<int>(pNM->hdr.code)]++;
            if (pNM->hdr.code == static_cast<UINT>(TVN_SELCHANGING) && pNM->itemNew.hItem == m_hVeto && m_hVeto) {
                *pResult = 1;
                return TRUE;
            }
            if (pNM->hdr.code == static_cast<UINT>(TVN_BEGINDRAG))
                m_ptDrag = pNM->ptDrag;
        }
        return CWnd::OnNotify(wParam, lParam, pResult);
    }
};

class ThemedTreeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_owner.CreateEx(0, AfxRegisterWndClass(0), L"tree", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                     300, 300, nullptr, nullptr));
        ASSERT_TRUE(m_tree.Create(WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                                      TVS_SHOWSELALWAYS,
                                  CRect(0, 0, 280, 260), &m_owner, kTreeID));
        // Bilancio
        //   Entrate correnti
        //   spese_correnti
        //   Entrate-conto capitale
        //     Conti
        // Riepilogo
        m_hRoot = m_tree.InsertItem(L"Bilancio");
        m_hEntrate = m_tree.InsertItem(L"Entrate correnti", m_hRoot);
        m_hSpese = m_tree.InsertItem(L"spese_correnti", m_hRoot);
        m_hConto = m_tree.InsertItem(L"Entrate-conto capitale", m_hRoot);
        m_hConti = m_tree.InsertItem(L"Conti", m_hConto);
        m_hRiepilogo = m_tree.InsertItem(L"Riepilogo");
        m_tree.Expand(m_hRoot, TVE_EXPAND);
        m_tree.Expand(m_hConto, TVE_EXPAND);
    }
    void TearDown() override
    {
        if (::IsWindow(m_owner.m_hWnd))
            m_owner.DestroyWindow();
    }

    std::vector<HTREEITEM> Selected()
    {
        std::vector<HTREEITEM> items;
        for (HTREEITEM h = m_tree.GetFirstSelectedItem(); h; h = m_tree.GetNextSelectedItem(h))
            items.push_back(h);
        return items;
    }
    CPoint LabelCentre(HTREEITEM hItem)
    {
        CRect rc;
        m_tree.CTreeCtrl::GetItemRect(hItem, &rc, TRUE);
        return rc.CenterPoint();
    }
    void Post(UINT message, WPARAM wParam, CPoint pt)
    {
        ::PostMessageW(m_tree.m_hWnd, message, wParam, MAKELPARAM(pt.x, pt.y));
    }

public:
    CTreeOwnerWnd m_owner;
    CXTTreeCtrl m_tree;
    HTREEITEM m_hRoot = nullptr, m_hEntrate = nullptr, m_hSpese = nullptr, m_hConto = nullptr, m_hConti = nullptr,
              m_hRiepilogo = nullptr;
};
}

TEST_F(ThemedTreeTest, FindItemSearchesWholeWordsAndWrapsOnce)
{
    struct Case
    {
        const wchar_t* text;
        BOOL bMatchCase;
        BOOL bDown;
        BOOL bWholeWord;
        HTREEITEM ThemedTreeTest::*start;
        HTREEITEM ThemedTreeTest::*expected;   // null member: nothing found
    } cases[] = {
        {L"entrate", FALSE, TRUE, TRUE, &ThemedTreeTest::m_hRoot, &ThemedTreeTest::m_hEntrate},
        {L"Entrate", TRUE, TRUE, FALSE, &ThemedTreeTest::m_hEntrate, &ThemedTreeTest::m_hConto},
        {L"entrate", TRUE, TRUE, FALSE, &ThemedTreeTest::m_hRoot, nullptr},
        // an underscore after the text is part of the word; a hyphen is not
        {L"spese", FALSE, TRUE, TRUE, &ThemedTreeTest::m_hRoot, nullptr},
        {L"spese", FALSE, TRUE, FALSE, &ThemedTreeTest::m_hRoot, &ThemedTreeTest::m_hSpese},
        {L"conto", FALSE, TRUE, TRUE, &ThemedTreeTest::m_hRoot, &ThemedTreeTest::m_hConto},
        {L"cont", FALSE, TRUE, TRUE, &ThemedTreeTest::m_hRoot, nullptr},
        {L"cont", FALSE, TRUE, FALSE, &ThemedTreeTest::m_hConto, &ThemedTreeTest::m_hConti},
        // wrapping: downward past the end to the first root, backward past the start to the last item
        {L"bilancio", FALSE, TRUE, FALSE, &ThemedTreeTest::m_hRiepilogo, &ThemedTreeTest::m_hRoot},
        {L"riepilogo", FALSE, FALSE, FALSE, &ThemedTreeTest::m_hRoot, &ThemedTreeTest::m_hRiepilogo},
        {L"correnti", FALSE, FALSE, FALSE, &ThemedTreeTest::m_hConto, &ThemedTreeTest::m_hSpese},
        // the start itself is the last item tried
        {L"Conti", TRUE, TRUE, TRUE, &ThemedTreeTest::m_hConti, &ThemedTreeTest::m_hConti},
        {L"", FALSE, TRUE, FALSE, &ThemedTreeTest::m_hRoot, nullptr},
    };
    for (const Case& c : cases) {
        HTREEITEM hExpected = c.expected ? this->*c.expected : nullptr;
        EXPECT_EQ(hExpected, m_tree.FindItem(c.text, c.bMatchCase, c.bDown, c.bWholeWord, this->*c.start))
            << CString(c.text).ToMultiByte(CP_UTF8) << " case " << c.bMatchCase << " down " << c.bDown;
    }
    EXPECT_EQ(m_hConti, m_tree.FindItemInBranch(L"conti", FALSE, TRUE, m_hRoot));
    EXPECT_EQ(nullptr, m_tree.FindItemInBranch(L"riepilogo", FALSE, FALSE, m_hRoot));
}

TEST_F(ThemedTreeTest, ClicksSelectSeveralItemsAndTheParentMayVeto)
{
    m_tree.SetMultiSelect(TRUE);
    m_tree.SelectItem(m_hEntrate);

    // Ctrl click on another item adds it; Ctrl click on a selected item removes only it.
    Post(WM_LBUTTONUP, MK_CONTROL, LabelCentre(m_hConto));
    m_tree.SelectByClick(m_hConto, TRUE, MK_CONTROL);
    m_tree.TrackClick(m_hConto, TRUE, MK_CONTROL, LabelCentre(m_hConto));
    EXPECT_EQ((std::vector<HTREEITEM>{m_hEntrate, m_hConto}), Selected());
    EXPECT_TRUE(m_tree.GetItemState(m_hConto, CXTTreeBase::stateCaret));

    Post(WM_LBUTTONUP, MK_CONTROL, LabelCentre(m_hEntrate));
    m_tree.SelectByClick(m_hEntrate, TRUE, MK_CONTROL);
    m_tree.TrackClick(m_hEntrate, TRUE, MK_CONTROL, LabelCentre(m_hEntrate));
    EXPECT_EQ((std::vector<HTREEITEM>{m_hConto}), Selected());

    // Shift selects from the anchor (the caret when none) over every visible item to the clicked one.
    m_tree.SelectByClick(m_hConti, TRUE, MK_SHIFT);
    EXPECT_EQ((std::vector<HTREEITEM>{m_hEntrate, m_hSpese, m_hConto, m_hConti}), Selected());
    EXPECT_EQ(m_hEntrate, m_tree.GetAnchor());
    m_tree.SelectByClick(m_hRoot, TRUE, MK_SHIFT);
    EXPECT_EQ((std::vector<HTREEITEM>{m_hRoot, m_hEntrate}), Selected());

    // A plain click keeps only the clicked item.
    Post(WM_LBUTTONUP, 0, LabelCentre(m_hSpese));
    m_tree.SelectByClick(m_hSpese, TRUE, 0);
    m_tree.TrackClick(m_hSpese, TRUE, 0, LabelCentre(m_hSpese));
    EXPECT_EQ((std::vector<HTREEITEM>{m_hSpese}), Selected());
    EXPECT_GE(m_owner.m_notes[NM_CLICK], 3);

    // The parent refuses the selection of one item: it stays unselected.
    m_owner.m_hVeto = m_hRiepilogo;
    EXPECT_FALSE(m_tree.SetItemState(m_hRiepilogo, TVIS_SELECTED, TVIS_SELECTED));
    EXPECT_EQ((std::vector<HTREEITEM>{m_hSpese}), Selected());

    // Turning multi-select off keeps only the caret.
    m_tree.SelectByClick(m_hConti, TRUE, MK_SHIFT);
    EXPECT_GT(Selected().size(), 1u);
    m_tree.SetMultiSelect(FALSE);
    EXPECT_EQ(m_tree.CTreeCtrl::GetSelectedItem(), m_hConti);
    EXPECT_EQ((std::vector<HTREEITEM>{m_hConti}), Selected());
}

TEST_F(ThemedTreeTest, DragBeyondTheThresholdSendsOneBeginDrag)
{
    m_tree.SetMultiSelect(TRUE);
    const CPoint pt = LabelCentre(m_hSpese);
    Post(WM_MOUSEMOVE, MK_LBUTTON, pt + CPoint(1, 1));   // inside the threshold: still a click
    Post(WM_MOUSEMOVE, MK_LBUTTON, pt + CPoint(30, 30));
    Post(WM_MOUSEMOVE, MK_LBUTTON, pt + CPoint(40, 40));
    m_tree.TrackClick(m_hSpese, TRUE, 0, pt);
    MSG msg;
    while (::PeekMessageW(&msg, m_tree.m_hWnd, 0, 0, PM_REMOVE))
        ;
    EXPECT_EQ(1, m_owner.m_notes[TVN_BEGINDRAGW]);
    EXPECT_EQ(0, m_owner.m_notes[NM_CLICK]);
    EXPECT_EQ(pt, m_owner.m_ptDrag);
    EXPECT_TRUE(m_tree.GetItemState(m_hSpese, TVIS_SELECTED));
    EXPECT_NE(m_tree.m_hWnd, ::GetCapture());
}

TEST_F(ThemedTreeTest, CollapsingMovesAHiddenCaretToTheNode)
{
    m_tree.SetMultiSelect(TRUE);
    m_tree.SelectItem(m_hConti);
    m_tree.Expand(m_hConto, TVE_COLLAPSE);
    EXPECT_TRUE(m_tree.GetItemState(m_hConto, CXTTreeBase::stateCaret));
    EXPECT_FALSE(m_tree.GetItemState(m_hConti, TVIS_SELECTED));
}

TEST_F(ThemedTreeTest, ItemAttributesGoWithTheItem)
{
    LOGFONT logfont = {};
    EXPECT_FALSE(m_tree.GetItemFont(m_hSpese, &logfont));
    EXPECT_EQ(XTP_COLOR_NONE, m_tree.GetItemColor(m_hSpese));
    m_tree.SetItemColor(m_hSpese, RGB(1, 2, 3));
    // A colour alone stores no font.
    EXPECT_FALSE(m_tree.GetItemFont(m_hSpese, &logfont));
    wcscpy(logfont.lfFaceName, L"Tahoma");
    logfont.lfHeight = -11;
    m_tree.SetItemFont(m_hSpese, logfont);
    EXPECT_EQ(RGB(1, 2, 3), m_tree.GetItemColor(m_hSpese));
    LOGFONT stored = {};
    ASSERT_TRUE(m_tree.GetItemFont(m_hSpese, &stored));
    EXPECT_STREQ(L"Tahoma", stored.lfFaceName);

    m_tree.DeleteItem(m_hSpese);
    EXPECT_EQ(XTP_COLOR_NONE, m_tree.GetItemColor(m_hSpese));
    EXPECT_FALSE(m_tree.GetItemFont(m_hSpese, &stored));
}

TEST_F(ThemedTreeTest, LabelsArePaintedInTheirStateColours)
{
    const COLORREF clrItem = RGB(200, 0, 0);
    m_tree.SetItemColor(m_hEntrate, clrItem);
    m_tree.SetItemColor(m_hSpese, clrItem);
    m_tree.SelectItem(m_hSpese);
    ::SetFocus(nullptr);

    struct Case
    {
        const char* what;
        HTREEITEM ThemedTreeTest::*item;
        BOOL bEnabled;
        BOOL bFocused;
        COLORREF clrBack;
        COLORREF clrText;
    } cases[] = {
        {"own colour, unselected", &ThemedTreeTest::m_hEntrate, TRUE, FALSE, ::GetSysColor(COLOR_WINDOW), clrItem},
        {"plain item", &ThemedTreeTest::m_hConto, TRUE, FALSE, ::GetSysColor(COLOR_WINDOW),
         ::GetSysColor(COLOR_WINDOWTEXT)},
        {"selected, tree without focus", &ThemedTreeTest::m_hSpese, TRUE, FALSE, ::GetSysColor(COLOR_3DFACE),
         ::GetSysColor(COLOR_WINDOWTEXT)},
        {"selected, tree focused", &ThemedTreeTest::m_hSpese, TRUE, TRUE, ::GetSysColor(COLOR_HIGHLIGHT),
         ::GetSysColor(COLOR_HIGHLIGHTTEXT)},
        {"own colour in a disabled tree", &ThemedTreeTest::m_hEntrate, FALSE, FALSE, ::GetSysColor(COLOR_3DFACE),
         ::GetSysColor(COLOR_GRAYTEXT)},
        {"selected in a disabled tree", &ThemedTreeTest::m_hSpese, FALSE, FALSE, ::GetSysColor(COLOR_GRAYTEXT),
         ::GetSysColor(COLOR_3DFACE)},
    };
    for (const Case& c : cases) {
        m_tree.EnableWindow(c.bEnabled);
        if (c.bFocused) {
            m_owner.SetForegroundWindow();
            m_tree.SetFocus();
            ASSERT_EQ(m_tree.m_hWnd, ::GetFocus()) << c.what;
        } else {
            ::SetFocus(nullptr);
        }
        CRect rcClient;
        m_tree.GetClientRect(&rcClient);
        CPixelCanvas canvas(rcClient.Width(), rcClient.Height(), RGB(0, 255, 0));
        m_tree.DoPaint(&canvas);

        CRect rcLabel;
        m_tree.CTreeCtrl::GetItemRect(this->*c.item, &rcLabel, TRUE);
        int nText = 0, nOther = 0;
        for (int y = rcLabel.top + 1; y < rcLabel.bottom - 1; y++) {
            for (int x = rcLabel.left + 1; x < rcLabel.right - 1; x++) {
                const COLORREF clr = canvas.At(x, y);
                nText += clr == c.clrText;
                nOther += clr != c.clrText && clr != c.clrBack;
            }
        }
        EXPECT_EQ(c.clrBack, canvas.At(rcLabel.left + 1, rcLabel.top + 1)) << c.what;
        EXPECT_GT(nText, 5) << c.what;
        // Anti-aliased edges only: the label holds no third colour in quantity.
        EXPECT_LT(nOther, nText) << c.what;
    }
    m_tree.EnableWindow(TRUE);
}

TEST_F(ThemedTreeTest, TheRubberBandSelectsTheLabelsItMeets)
{
    m_tree.SetMultiSelect(TRUE);
    CRect rcEntrate, rcSpese;
    m_tree.CTreeCtrl::GetItemRect(m_hEntrate, &rcEntrate, TRUE);
    m_tree.CTreeCtrl::GetItemRect(m_hSpese, &rcSpese, TRUE);
    const CPoint ptStart(rcSpese.right + 40, rcEntrate.top + 2);
    const CPoint ptEnd(rcSpese.left + 2, rcSpese.bottom - 2);
    struct Case
    {
        const char* what;
        std::vector<HTREEITEM ThemedTreeTest::*> before;
        UINT nFlags;
        BOOL bEscape;
        std::vector<HTREEITEM ThemedTreeTest::*> after;
    } cases[] = {
        {"plain band", {&ThemedTreeTest::m_hRiepilogo}, 0, FALSE, {&ThemedTreeTest::m_hEntrate, &ThemedTreeTest::m_hSpese}},
        // with Ctrl a remembered item inside the band is deselected, one outside stays
        {"ctrl band", {&ThemedTreeTest::m_hEntrate, &ThemedTreeTest::m_hRiepilogo}, MK_CONTROL, FALSE,
         {&ThemedTreeTest::m_hSpese, &ThemedTreeTest::m_hRiepilogo}},
        {"escape", {&ThemedTreeTest::m_hConto}, 0, TRUE, {}},
    };
    for (const Case& c : cases) {
        m_tree.SelectAllExcept(FALSE, nullptr);
        for (auto item : c.before)
            m_tree.SetItemState(this->*item, TVIS_SELECTED, TVIS_SELECTED);
        Post(WM_MOUSEMOVE, MK_LBUTTON, ptEnd);
        if (c.bEscape)
            ::PostMessageW(m_tree.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
        Post(WM_LBUTTONUP, 0, ptEnd);
        m_tree.TrackSelectionRect(c.nFlags, ptStart);
        MSG msg;
        while (::PeekMessageW(&msg, m_tree.m_hWnd, WM_KEYFIRST, WM_MOUSELAST, PM_REMOVE))
            ;
        std::vector<HTREEITEM> expected;
        for (auto item : c.after)
            expected.push_back(this->*item);
        EXPECT_EQ(expected, Selected()) << c.what;
        EXPECT_NE(m_tree.m_hWnd, ::GetCapture()) << c.what;
    }
}

TEST(ThemedViewsTest, TheViewsAreSystemTreeAndListWindows)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), L"viste", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                                nullptr));
    // Views live on the heap and delete themselves with their window.
    auto* pTree = new CXTTreeView;
    auto* pList = new CXTListView;
    ASSERT_TRUE(pTree->Create(nullptr, nullptr, 0, CRect(0, 0, 140, 180), &parent, 1));
    ASSERT_TRUE(pList->Create(nullptr, nullptr, LVS_REPORT, CRect(150, 0, 290, 180), &parent, 2));
    struct Case
    {
        CWnd* pView;
        const wchar_t* className;
    } cases[] = {{pTree, WC_TREEVIEWW}, {pList, WC_LISTVIEWW}};
    for (const Case& c : cases) {
        wchar_t szClass[64] = {};
        ::GetClassNameW(c.pView->m_hWnd, szClass, _countof(szClass));
        EXPECT_STREQ(c.className, szClass);
        EXPECT_NE(0u, c.pView->GetStyle() & WS_VISIBLE);
        EXPECT_NE(0u, c.pView->GetExStyle() & WS_EX_CLIENTEDGE);
    }
    // The shared behaviour works on the view's own window.
    TVINSERTSTRUCTW tvis = {};
    tvis.hParent = TVI_ROOT;
    tvis.item.mask = TVIF_TEXT;
    tvis.item.pszText = const_cast<LPWSTR>(L"Riepilogo");
    HTREEITEM hItem = TreeView_InsertItem(pTree->m_hWnd, &tvis);
    EXPECT_EQ(hItem, pTree->FindItem(L"riepilogo"));
    EXPECT_EQ(0, pList->AddColumn(L"Anno", 60));
    EXPECT_EQ(1, pList->GetColumnCount());
    parent.DestroyWindow();
}

TEST_F(ThemedTreeTest, TrackSelectUnderlinesTheHotItemUntilTheCursorLeaves)
{
    m_tree.ModifyStyle(0, TVS_TRACKSELECT);
    CRect rcLabel;
    m_tree.CTreeCtrl::GetItemRect(m_hConto, &rcLabel, TRUE);
    CPoint ptScreen = rcLabel.CenterPoint();
    m_tree.ClientToScreen(&ptScreen);
    ::SetCursorPos(ptScreen.x, ptScreen.y);
    m_tree.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(rcLabel.CenterPoint().x, rcLabel.CenterPoint().y));
    EXPECT_TRUE(m_tree.GetItemState(m_hConto, CXTTreeBase::stateHot));

    CRect rcClient;
    m_tree.GetClientRect(&rcClient);
    CPixelCanvas canvas(rcClient.Width(), rcClient.Height(), RGB(0, 255, 0));
    m_tree.DoPaint(&canvas);
    const COLORREF clrHot = ::GetSysColor(COLOR_HOTLIGHT);
    // The underline: one row of the label in the hot colour over most of the text's width.
    int nLongest = 0;
    for (int y = rcLabel.top; y < rcLabel.bottom; y++) {
        int nRun = 0;
        for (int x = rcLabel.left; x < rcLabel.right; x++)
            nRun += canvas.At(x, y) == clrHot;
        nLongest = std::max(nLongest, nRun);
    }
    EXPECT_GT(nLongest, rcLabel.Width() * 2 / 3);

    ::SetCursorPos(0, 0);
    m_tree.SendMessage(WM_TIMER, CXTTreeBase::hotTimerID);
    EXPECT_FALSE(m_tree.GetItemState(m_hConto, CXTTreeBase::stateHot));
}

// Keys the tree does not use reach the top-level window as from any other child: Alt+F4 closes it, F10 and a
// lone Alt give it the keyboard menu.
TEST_F(ThemedTreeTest, SystemKeysReachTheTopLevelWindow)
{
    struct Key
    {
        UINT message;
        WPARAM nKey;
        LPARAM lParam;
    };
    const LPARAM ALT = LPARAM(KF_ALTDOWN) << 16, UP = LPARAM(KF_UP | KF_REPEAT) << 16;
    struct Case
    {
        const char* pszName;
        std::vector<Key> keys;
        std::vector<std::pair<UINT, LPARAM>> expected;
    } cases[] = {
        {"Alt+F4", {{WM_SYSKEYDOWN, VK_MENU, ALT | 1}, {WM_SYSKEYDOWN, VK_F4, ALT | 1}}, {{SC_CLOSE, 0}}},
        {"F10", {{WM_SYSKEYDOWN, VK_F10, 1}, {WM_SYSKEYUP, VK_F10, UP | 1}}, {{SC_KEYMENU, 0}}},
        {"Alt", {{WM_SYSKEYDOWN, VK_MENU, ALT | 1}, {WM_SYSKEYUP, VK_MENU, UP | 1}}, {{SC_KEYMENU, 0}}},
        {"F4 alone", {{WM_KEYDOWN, VK_F4, 1}, {WM_KEYUP, VK_F4, UP | 1}}, {}},
    };
    m_tree.SetFocus();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        m_owner.m_sysCommands.clear();
        for (const Key& key : c.keys)
            m_tree.SendMessage(key.message, key.nKey, key.lParam);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&msg);
        EXPECT_EQ(c.expected, m_owner.m_sysCommands);
    }
}
