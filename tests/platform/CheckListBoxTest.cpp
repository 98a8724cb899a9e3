// The check list box: clicks on the box change it and tell the parent, clicks on the text do not; the
// item data stays the user's; three-state boxes cycle; drawing shows the box.
#include "platform/mfc/afxwin.h"

#include <gtest/gtest.h>

namespace
{
const UINT IDC_LIST = 300;

class CListParent : public CWnd
{
public:
    int m_nChanges = 0;

protected:
    void OnCheckChange() { ++m_nChanges; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CListParent, CWnd)
    ON_CONTROL(CLBN_CHKCHANGE, IDC_LIST, &CListParent::OnCheckChange)
END_MESSAGE_MAP()

class CheckListBoxTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateEx(0, nullptr, L"", WS_POPUP, CRect(0, 0, 300, 200), nullptr, 0));
        ASSERT_TRUE(m_list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(0, 0, 200, 150), &m_parent, IDC_LIST));
        for (LPCTSTR item : {L"Menu Bar", L"Standard", L"Stato"})
            m_list.AddString(item);
    }
    void TearDown() override { m_parent.DestroyWindow(); }

    void Click(int nIndex, bool bOnBox)
    {
        CRect rect;
        m_list.GetItemRect(nIndex, &rect);
        int x = bOnBox ? rect.left + 2 : rect.right - 5;
        m_list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, rect.top + rect.Height() / 2));
        m_list.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, rect.top + rect.Height() / 2));
    }

    CListParent m_parent;
    CCheckListBox m_list;
};
} // namespace

TEST_F(CheckListBoxTest, ClicksOnTheBoxChangeItAndTellTheParent)
{
    Click(1, true);
    EXPECT_EQ(BST_CHECKED, m_list.GetCheck(1));
    EXPECT_EQ(1, m_list.GetCurSel());
    EXPECT_EQ(1, m_parent.m_nChanges);
    Click(1, true);
    EXPECT_EQ(BST_UNCHECKED, m_list.GetCheck(1));
    Click(2, false);   // the text selects without changing the box
    EXPECT_EQ(BST_UNCHECKED, m_list.GetCheck(2));
    EXPECT_EQ(2, m_list.GetCurSel());
    EXPECT_EQ(2, m_parent.m_nChanges);

    m_list.Enable(0, FALSE);   // a disabled item keeps its box
    Click(0, true);
    EXPECT_EQ(BST_UNCHECKED, m_list.GetCheck(0));
    EXPECT_EQ(2, m_parent.m_nChanges);

    m_list.SetCheckStyle(BS_AUTO3STATE);
    for (int nExpected : {BST_CHECKED, BST_INDETERMINATE, BST_UNCHECKED}) {
        Click(2, true);
        EXPECT_EQ(nExpected, m_list.GetCheck(2));
    }
}

TEST_F(CheckListBoxTest, ItemDataStaysTheUsersAlsoThroughTheListBoxMessages)
{
    m_list.SetCheck(0, BST_CHECKED);
    EXPECT_EQ(0, m_list.SetItemData(0, 35001));
    m_list.SendMessage(LB_SETITEMDATA, 2, 7);
    EXPECT_EQ(static_cast<DWORD_PTR>(35001), m_list.GetItemData(0));
    EXPECT_EQ(7, m_list.SendMessage(LB_GETITEMDATA, 2));
    EXPECT_EQ(BST_CHECKED, m_list.GetCheck(0));   // the state survives the data

    m_list.InsertString(0, L"Nuova");
    EXPECT_EQ(BST_UNCHECKED, m_list.GetCheck(0));
    EXPECT_EQ(BST_CHECKED, m_list.GetCheck(1));
    m_list.DeleteString(0);
    EXPECT_EQ(BST_CHECKED, m_list.GetCheck(0));
    EXPECT_EQ(static_cast<DWORD_PTR>(35001), m_list.GetItemData(0));
}

TEST_F(CheckListBoxTest, DrawsTheBoxBeforeTheText)
{
    m_list.SetCheck(0, BST_CHECKED);
    CRect rect;
    m_list.GetItemRect(0, &rect);
    CClientDC screen(&m_list);
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(&screen));
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&screen, rect.Width(), rect.Height()));
    CBitmap* pOld = dc.SelectObject(&bitmap);
    DRAWITEMSTRUCT dis = {ODT_LISTBOX, IDC_LIST, 0, ODA_DRAWENTIRE, 0, m_list.m_hWnd, dc.m_hDC,
                          CRect(0, 0, rect.Width(), rect.Height()), 0};
    m_list.DrawItem(&dis);
    // The box's frame is drawn in its first pixels; the text area starts with the window colour.
    int nDark = 0;
    for (int y = 0; y < rect.Height(); ++y)
        for (int x = 0; x < rect.Height(); ++x)
            if (GetRValue(dc.GetPixel(x, y)) < 128)
                ++nDark;
    EXPECT_GT(nDark, 4);
    EXPECT_EQ(::GetSysColor(COLOR_WINDOW), dc.GetPixel(rect.Width() - 2, 1));
    dc.SelectObject(pOld);
}
