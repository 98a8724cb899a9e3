// The common-control wrappers over the real controls: texts of any length, item data, tree navigation,
// image lists, the date picker's time and the rich edit's text ranges.
#include "platform/mfc/afxcmn.h"

#include <gtest/gtest.h>

namespace
{
class CommonControlsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateEx(0, nullptr, L"controlli", WS_POPUP, CRect(0, 0, 400, 300), nullptr, 0));
    }
    void TearDown() override { m_parent.DestroyWindow(); }

    CWnd m_parent;
    const CRect m_rect{0, 0, 300, 200};
};
} // namespace

TEST_F(CommonControlsTest, ListControlTextsAndData)
{
    CListCtrl list;
    ASSERT_TRUE(list.Create(WS_CHILD | LVS_REPORT, m_rect, &m_parent, 1));
    EXPECT_EQ(0, list.InsertColumn(0, L"Capitolo", LVCFMT_LEFT, 80));
    EXPECT_EQ(1, list.InsertColumn(1, L"Descrizione", LVCFMT_LEFT, 200));
    CString strLong(L'x', 700);   // longer than the first buffer tried
    EXPECT_EQ(0, list.InsertItem(0, L"1010"));
    EXPECT_EQ(1, list.InsertItem(1, L"2020"));
    EXPECT_TRUE(list.SetItemText(1, 1, strLong));
    EXPECT_TRUE(list.SetItemData(1, static_cast<DWORD_PTR>(0xABCDEF)));
    EXPECT_EQ(strLong, list.GetItemText(1, 1));
    EXPECT_EQ(CString(L"2020"), list.GetItemText(1, 0));
    EXPECT_EQ(static_cast<DWORD_PTR>(0xABCDEF), list.GetItemData(1));
    EXPECT_TRUE(list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED));
    EXPECT_EQ(1, list.GetNextItem(-1, LVNI_SELECTED));
    ASSERT_NE(nullptr, list.GetHeaderCtrl());
    EXPECT_EQ(2, list.GetHeaderCtrl()->GetItemCount());
}

TEST_F(CommonControlsTest, TreeControlItemsAndNavigation)
{
    CTreeCtrl tree;
    ASSERT_TRUE(tree.Create(WS_CHILD | TVS_HASLINES, m_rect, &m_parent, 2));
    HTREEITEM hRoot = tree.InsertItem(L"Entrate");
    HTREEITEM hFirst = tree.InsertItem(L"Titolo 1", 1, 2, hRoot);
    HTREEITEM hSecond = tree.InsertItem(L"Titolo 2", hRoot);
    ASSERT_TRUE(hRoot && hFirst && hSecond);
    EXPECT_EQ(hRoot, tree.GetRootItem());
    EXPECT_EQ(hFirst, tree.GetChildItem(hRoot));
    EXPECT_EQ(hSecond, tree.GetNextSiblingItem(hFirst));
    EXPECT_EQ(hRoot, tree.GetParentItem(hSecond));
    EXPECT_TRUE(tree.ItemHasChildren(hRoot));
    EXPECT_EQ(CString(L"Titolo 1"), tree.GetItemText(hFirst));
    tree.SetItemData(hSecond, 40016);
    EXPECT_EQ(static_cast<DWORD_PTR>(40016), tree.GetItemData(hSecond));
    int nImage = -1, nSelected = -1;
    EXPECT_TRUE(tree.GetItemImage(hFirst, nImage, nSelected));
    EXPECT_EQ(1, nImage);
    EXPECT_EQ(2, nSelected);
    tree.Expand(hRoot, TVE_EXPAND);
    CRect rectItem;
    EXPECT_TRUE(tree.GetItemRect(hSecond, &rectItem, TRUE));
    EXPECT_EQ(hSecond, tree.HitTest(rectItem.CenterPoint()));
    EXPECT_EQ(3u, tree.GetCount());
}

TEST_F(CommonControlsTest, ImageListsAndTheirTemporaryWrappers)
{
    CImageList images;
    ASSERT_TRUE(images.Create(16, 16, ILC_COLOR24 | ILC_MASK, 2, 2));
    HICON hIcon = ::LoadIconW(nullptr, IDI_INFORMATION);
    EXPECT_EQ(0, images.Add(hIcon));
    EXPECT_EQ(1, images.Add(hIcon));
    EXPECT_EQ(2, images.GetImageCount());

    CTabCtrl tabs;
    ASSERT_TRUE(tabs.Create(WS_CHILD, m_rect, &m_parent, 3));
    tabs.SetImageList(&images);
    EXPECT_EQ(&images, tabs.GetImageList());   // the permanent wrapper, not a temporary one
    EXPECT_EQ(0, tabs.InsertItem(0, L"Competenza", 0));
    EXPECT_EQ(1, tabs.InsertItem(1, L"Cassa"));
    tabs.SetCurSel(1);
    EXPECT_EQ(1, tabs.GetCurSel());
    tabs.SetImageList(nullptr);
}

TEST_F(CommonControlsTest, DatePickerKeepsTheTimeOfDay)
{
    CDateTimeCtrl picker;
    ASSERT_TRUE(picker.Create(WS_CHILD | DTS_TIMEFORMAT, m_rect, &m_parent, 4));
    picker.SetFormat(L"HH:mm");
    COleDateTime time(2008, 3, 31, 17, 45, 0);
    EXPECT_TRUE(picker.SetTime(time));
    COleDateTime read;
    ASSERT_TRUE(picker.GetTime(read));
    EXPECT_EQ(17, read.GetHour());
    EXPECT_EQ(45, read.GetMinute());
    EXPECT_EQ(2008, read.GetYear());
}

TEST_F(CommonControlsTest, RichEditTextRanges)
{
    CRichEditCtrl edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | ES_MULTILINE, m_rect, &m_parent, 5));
    edit.SetWindowText(L"Verifica Vorsa 2008");
    EXPECT_EQ(19, edit.GetTextLength());
    EXPECT_EQ(CString(L"Vorsa"), edit.GetTextRange(9, 14));
    edit.SetSel(0, 8);
    edit.ReplaceSel(L"Controllo");
    CString strText;
    edit.GetWindowText(strText);
    EXPECT_EQ(CString(L"Controllo Vorsa 2008"), strText);
}
