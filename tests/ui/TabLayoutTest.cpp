// Layout of the tab painter through a window-less manager: row heights from the font, header thickness,
// compression, multiple rows, scrolling and the navigate buttons.
#include "TabTestManager.h"

#include <gtest/gtest.h>

#include <functional>
#include <typeinfo>
#include <vector>

namespace
{
typedef CXTPTabManagerNavigateButton CNavButton;

int TextHeight(const LOGFONT& lf)
{
    CFont font;
    font.CreateFontIndirect(&lf);
    CPixelCanvas canvas(1, 1);
    HGDIOBJ hOld = canvas.SelectObject(font.GetSafeHandle());
    int nHeight = canvas.GetTextExtent(L" ", 1).cy;
    canvas.SelectObject(hOld);
    return nHeight;
}

std::vector<int> Lengths(const CXTPTabManager& manager)
{
    std::vector<int> lengths;
    for (int i = 0; i < manager.GetItemCount(); i++)
        lengths.push_back(manager.GetItem(i)->GetLength());
    return lengths;
}

// Equal captions, so that every tab measures the same.
void AddEqualTabs(CTestTabManager& manager, int nCount)
{
    for (int i = 0; i < nCount; i++)
        manager.InsertItem(-1)->SetCaption(L"Foglio");
}
}

TEST(TabLayout, RowHeightFollowsTheTextHeightOfTheFont)
{
    // A positive height asks for that cell height: text heights 13 and 16 exactly.
    struct Case { int nFontHeight; int nTextHeight; int nRowHeight; } cases[] = {{13, 13, 18}, {16, 16, 19}};
    for (const Case& c : cases) {
        CTestTabManager manager;
        LOGFONT lf = PinnedTabFont(c.nFontHeight);
        ASSERT_EQ(c.nTextHeight, TextHeight(lf));
        manager.m_pPainter->SetFontIndirect(&lf);
        manager.m_pPainter->m_bShowIcons = FALSE;
        EXPECT_EQ(c.nRowHeight, manager.m_pPainter->GetStyleObject()->GetRowHeight(&manager)) << c.nFontHeight;
        // Shown 16 x 16 icons ask for at least 16 + 4.
        manager.m_pPainter->m_bShowIcons = TRUE;
        EXPECT_EQ(std::max(c.nRowHeight, 20), manager.m_pPainter->GetStyleObject()->GetRowHeight(&manager));
        // The top and bottom item insets add to both.
        manager.m_pPainter->m_rcItemInset = CRect(0, 1, 0, 2);
        EXPECT_EQ(std::max(c.nRowHeight, 20) + 3, manager.m_pPainter->GetStyleObject()->GetRowHeight(&manager));
        manager.m_pPainter->m_bShowIcons = FALSE;
        EXPECT_EQ(c.nRowHeight + 3, manager.m_pPainter->GetStyleObject()->GetRowHeight(&manager));
    }
}

TEST(TabLayout, TwoRowHeadersStackRowsWithTheStylesSpacing)
{
    struct Case { int nStyle; int nSpacing; int nMargins; } cases[] = {{4, 0, 2 + 2}, {1, -2, 3 + 0}, {5, -2, 2 + 0}};
    for (const Case& c : cases) {
        CTestTabManager manager(CRect(0, 0, 150, 200));
        manager.SetStyle(c.nStyle);
        manager.SetLayout(CXTPTabPainter::layoutMultiRow);
        AddEqualTabs(manager, 4);
        ASSERT_EQ(2, manager.GetRowIndexer()->GetRowCount()) << c.nStyle;
        int R = manager.m_pPainter->GetStyleObject()->GetRowHeight(&manager);
        EXPECT_EQ(2 * R + c.nSpacing + c.nMargins, manager.GetHeaderRect().Height()) << c.nStyle;
    }
}

TEST(TabLayout, RotatedTabsMakeTheHeaderAsThickAsTheLongestTab)
{
    CTestTabManager manager;
    manager.SetLayout(CXTPTabPainter::layoutRotated);
    manager.AddTabs({L"A", L"Una didascalia assai lunga"});
    int nLongest = manager.GetItem(1)->GetContentLength();
    CRect rcMargins = manager.m_pPainter->GetStyleObject()->GetMargins();
    EXPECT_EQ(nLongest + rcMargins.top + rcMargins.bottom, manager.GetHeaderRect().Height());
    // Each tab one row thick along the strip, standing on the client side of the header.
    int R = manager.m_pPainter->GetStyleObject()->GetRowHeight(&manager);
    EXPECT_EQ(R, manager.GetItem(0)->GetRect().Width());
    EXPECT_EQ(manager.GetItem(0)->GetRect().bottom, manager.GetItem(1)->GetRect().bottom);
    EXPECT_EQ(2 * R, manager.GetItemsLength());
}

TEST(TabLayout, RotatedTabsStandOnTheClientSideOfEveryHeader)
{
    struct Case { int nPosition; BOOL bVerticalFont; } cases[] = {
        {CXTPTabPainter::positionTop, TRUE}, {CXTPTabPainter::positionBottom, TRUE},
        {CXTPTabPainter::positionLeft, FALSE}, {CXTPTabPainter::positionRight, FALSE},
    };
    for (const Case& c : cases) {
        CTestTabManager manager(CRect(0, 0, 300, 300));
        manager.SetPosition(c.nPosition);
        manager.SetLayout(CXTPTabPainter::layoutRotated);
        manager.AddTabs({L"A", L"Una didascalia assai lunga"});
        CRect rcHeader = manager.GetHeaderRect();
        CRect rcMargins = manager.m_pPainter->GetStyleObject()->GetMargins();
        int R = manager.m_pPainter->GetStyleObject()->GetRowHeight(&manager);
        CRect rcShort = manager.GetItem(0)->GetRect(), rcLong = manager.GetItem(1)->GetRect();
        SCOPED_TRACE(testing::Message() << "position " << c.nPosition);
        // One row thick along the strip, the caption's length across it, flush with the header's client side.
        switch (c.nPosition) {
        case CXTPTabPainter::positionTop:
            EXPECT_EQ(R, rcShort.Width());
            EXPECT_EQ(rcHeader.bottom - rcMargins.bottom, rcShort.bottom);
            EXPECT_EQ(rcShort.bottom, rcLong.bottom);
            break;
        case CXTPTabPainter::positionBottom:
            EXPECT_EQ(R, rcShort.Width());
            EXPECT_EQ(rcHeader.top + rcMargins.bottom, rcShort.top);
            EXPECT_EQ(rcShort.top, rcLong.top);
            break;
        case CXTPTabPainter::positionLeft:
            EXPECT_EQ(R, rcShort.Height());
            EXPECT_EQ(rcHeader.right - rcMargins.bottom, rcShort.right);
            EXPECT_EQ(rcShort.right, rcLong.right);
            break;
        default:
            EXPECT_EQ(R, rcShort.Height());
            EXPECT_EQ(rcHeader.left + rcMargins.bottom, rcShort.left);
            EXPECT_EQ(rcShort.left, rcLong.left);
            break;
        }
        BOOL bHorizontal = c.nPosition == CXTPTabPainter::positionTop || c.nPosition == CXTPTabPainter::positionBottom;
        EXPECT_EQ(manager.GetItem(1)->GetContentLength(), bHorizontal ? rcLong.Height() : rcLong.Width());
        // The caption turns against the header: vertical on top and bottom headers, level on the sides.
        LOGFONT lf = {};
        manager.m_pPainter->GetItemFont(manager.GetItem(1))->GetLogFont(&lf);
        EXPECT_EQ(c.bVerticalFont ? 2700 : 0, lf.lfEscapement);
    }
}

TEST(TabLayout, CompressTabsLowersTheWidestFirst)
{
    struct Case { std::vector<int> lengths; int nWidth; std::vector<int> expected; } cases[] = {
        {{100, 60, 60}, 180, {60, 60, 60}},   // lowering the widest to 60 costs exactly the excess
        {{100, 60, 60}, 170, {56, 56, 56}},   // all equal, then each gets 170 / 3
        {{60, 100, 60}, 180, {60, 60, 60}},
        {{300}, 120, {120}},
        {{50, 40}, 100, {50, 40}},            // fits: unchanged
        {{100, 60, 60}, 0, {0, 0, 0}},
        {{100, 60, 60}, -50, {0, 0, 0}},      // never negative
        {{120, 80, 40}, 150, {55, 55, 40}},
    };
    for (const Case& c : cases) {
        CTestTabManager manager;
        for (size_t i = 0; i < c.lengths.size(); i++)
            manager.InsertItem(-1);
        for (size_t i = 0; i < c.lengths.size(); i++)
            manager.GetItem(static_cast<int>(i))->SetLength(c.lengths[i]);
        manager.m_pPainter->CompressTabs(&manager, c.nWidth);
        EXPECT_EQ(c.expected, Lengths(manager)) << "into " << c.nWidth;
    }
}

TEST(TabLayout, CompressedLayoutFitsTheTabsIntoTheHeader)
{
    CTestTabManager manager(CRect(0, 0, 200, 100));
    manager.SetLayout(CXTPTabPainter::layoutCompressed);
    AddEqualTabs(manager, 8);
    CRect rcMargins = manager.m_pPainter->GetStyleObject()->GetMargins();
    EXPECT_LE(manager.GetItem(7)->GetRect().right, 200 - rcMargins.right);
    EXPECT_EQ(manager.GetItem(0)->GetRect().Width(), manager.GetItem(7)->GetRect().Width());
    // No arrows in the compressed layout.
    EXPECT_TRUE(manager.FindNavigateButton(CNavButton::idForward)->GetRect().IsRectEmpty());
}

TEST(TabLayout, MultiRowMovesTheSelectedRowNextToTheClientUnlessOrderIsKept)
{
    for (BOOL bKeepOrder : {FALSE, TRUE}) {
        CTestTabManager manager(CRect(0, 0, 100, 200));
        manager.m_pPainter->m_bKeepRowOrder = bKeepOrder;
        manager.SetLayout(CXTPTabPainter::layoutMultiRow);
        AddEqualTabs(manager, 6);
        ASSERT_EQ(3, manager.GetRowIndexer()->GetRowCount());
        manager.SetCurSel(5);
        CXTPTabManagerItem* pSelected = manager.GetItem(5);
        EXPECT_EQ(bKeepOrder ? 2 : 0, pSelected->GetRow());
        // Row 0 lies on the header's client side; the others are stacked above it.
        int nBottom = manager.GetHeaderRect().bottom - manager.m_pPainter->GetStyleObject()->GetMargins().bottom;
        EXPECT_EQ(bKeepOrder ? FALSE : TRUE, pSelected->GetRect().bottom == nBottom);
        EXPECT_EQ(nBottom, manager.GetItem(bKeepOrder ? 0 : 4)->GetRect().bottom);
    }
}

TEST(TabLayout, HiddenTabsStartNoRow)
{
    // A tab longer than the strip fills its row alone; a hidden tab after it takes no place and no row.
    CTestTabManager manager(CRect(0, 0, 100, 200));
    manager.SetLayout(CXTPTabPainter::layoutMultiRow);
    manager.AddTabs({L"Risultato di amministrazione", L"Note", L"Allegati"});
    manager.GetItem(2)->SetVisible(FALSE);
    manager.GetItem(1)->SetVisible(FALSE);
    ASSERT_GT(manager.GetItem(0)->GetLength(), 100);
    EXPECT_EQ(1, manager.GetRowIndexer()->GetRowCount());
    int R = manager.m_pPainter->GetStyleObject()->GetRowHeight(&manager);
    CRect rcMargins = manager.m_pPainter->GetStyleObject()->GetMargins();
    EXPECT_EQ(R + rcMargins.top + rcMargins.bottom, manager.GetHeaderRect().Height());
    // Shown again, each starts a row of its own.
    manager.GetItem(1)->SetVisible(TRUE);
    EXPECT_EQ(2, manager.GetRowIndexer()->GetRowCount());
}

TEST(TabLayout, BalancedRowsAreStretchedToTheFullWidth)
{
    CTestTabManager manager(CRect(0, 0, 160, 200));
    manager.SetLayout(CXTPTabPainter::layoutMultiRow);
    manager.AddTabs({L"Entrate", L"Spese", L"Riepilogo generale", L"Note", L"Allegati"});
    int nRows = manager.GetRowIndexer()->GetRowCount();
    ASSERT_GT(nRows, 1);
    CRect rcMargins = manager.m_pPainter->GetStyleObject()->GetMargins();
    int nWidth = 160 - rcMargins.left - rcMargins.right;
    for (int r = 0; r < nRows; r++) {
        int nLength = 0, nRight = 0;
        for (int i = 0; i < manager.GetItemCount(); i++) {
            if (manager.GetItem(i)->GetRow() == r) {
                nLength += manager.GetItem(i)->GetLength();
                nRight = std::max(nRight, static_cast<int>(manager.GetItem(i)->GetRect().right));
            }
        }
        EXPECT_EQ(nWidth, nLength) << "row " << r;
        EXPECT_EQ(160 - rcMargins.right, nRight) << "row " << r;
    }
    // Without balancing the rows keep their natural lengths.
    manager.m_pPainter->m_bBalanceRows = FALSE;
    manager.Reposition();
    EXPECT_EQ(manager.GetItem(0)->GetContentLength(), manager.GetItem(0)->GetLength());
}

TEST(TabLayout, SelectionScrollsTheTabIntoViewAndTheOffsetIsClamped)
{
    CTestTabManager manager(CRect(0, 0, 200, 100));
    AddEqualTabs(manager, 10);
    CRect rcMargins = manager.m_pPainter->GetStyleObject()->GetMargins();
    manager.SetCurSel(9);
    EXPECT_LT(manager.GetHeaderOffset(), 0);
    EXPECT_EQ(manager.GetHeaderRect().right, manager.GetItem(9)->GetRect().right);
    manager.SetCurSel(0);
    EXPECT_EQ(manager.GetHeaderRect().left + rcMargins.left, manager.GetItem(0)->GetRect().left);
    EXPECT_EQ(0, manager.GetHeaderOffset());
    // Scrolled far beyond the end, the layout pulls the last tab back to the end of the tabs area, before the
    // two arrows.
    manager.SetHeaderOffset(-100000);
    int nVisible = 200 - rcMargins.left - rcMargins.right - 2 * 14;
    EXPECT_EQ(nVisible - manager.GetItemsLength(), manager.GetHeaderOffset());
    EXPECT_EQ(manager.GetHeaderRect().right, manager.GetItem(9)->GetRect().right);
    manager.SetHeaderOffset(15);
    EXPECT_EQ(0, manager.GetHeaderOffset());
}

// A tab or a header without extent (a hidden tab, a strip not laid out yet) gives no place to scroll to.
TEST(TabLayout, EmptyTabOrHeaderLeavesTheScrollingAsItIs)
{
    const struct
    {
        const char* pszName;
        std::function<CXTPTabManagerItem*(CTestTabManager&)> empty;
    } cases[] = {
        {"hidden tab",
         [](CTestTabManager& manager) {
             CXTPTabManagerItem* pItem = manager.GetItem(0);
             pItem->SetVisible(FALSE);
             return pItem;
         }},
        {"empty header",
         [](CTestTabManager& manager) {
             manager.SetHeaderRect(CRect());
             return manager.GetItem(9);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszName);
        // The strip away from the origin, where a hidden tab's empty rectangle lies.
        CTestTabManager manager(CRect(40, 0, 240, 100));
        AddEqualTabs(manager, 10);
        manager.SetCurSel(5);
        CXTPTabManagerItem* pItem = c.empty(manager);
        int nOffset = manager.GetHeaderOffset();
        ASSERT_LT(nOffset, 0);
        manager.m_pPainter->EnsureVisible(&manager, pItem);
        EXPECT_EQ(nOffset, manager.GetHeaderOffset());
    }
}

TEST(TabLayout, ArrowsShowWhenTheTabsOverflowAndEnableByOffset)
{
    CTestTabManager manager(CRect(0, 0, 200, 100));
    AddEqualTabs(manager, 2);
    CNavButton* pBack = manager.FindNavigateButton(CNavButton::idBack);
    CNavButton* pForward = manager.FindNavigateButton(CNavButton::idForward);
    CNavButton* pClose = manager.FindNavigateButton(CNavButton::idClose);
    EXPECT_TRUE(pBack->GetRect().IsRectEmpty());
    EXPECT_TRUE(pForward->GetRect().IsRectEmpty());

    AddEqualTabs(manager, 8);
    CRect rcHeader = manager.m_pPainter->GetStyleObject()->GetHeaderRect(manager.m_rcLayout, &manager);
    int nEnd = 200 - manager.m_pPainter->GetStyleObject()->GetMargins().right;
    int nCentre = (rcHeader.top + rcHeader.bottom) / 2;
    EXPECT_EQ(CRect(nEnd - 14, nCentre - 8, nEnd, nCentre + 7), pForward->GetRect());
    EXPECT_EQ(CRect(nEnd - 28, nCentre - 8, nEnd - 14, nCentre + 7), pBack->GetRect());
    EXPECT_EQ(nEnd - 28, manager.GetHeaderRect().right);
    EXPECT_FALSE(pBack->IsEnabled());
    EXPECT_TRUE(pForward->IsEnabled());

    manager.SetCurSel(9);
    EXPECT_TRUE(pBack->IsEnabled());
    EXPECT_FALSE(pForward->IsEnabled());

    // The close button: shown in automatic mode only for a closable selection, always in mode 2.
    EXPECT_TRUE(pClose->GetRect().IsRectEmpty());
    pClose->SetMode(CNavButton::modeAuto);
    manager.Reposition();
    EXPECT_EQ(nEnd, pClose->GetRect().right);
    EXPECT_EQ(nEnd - 14, pForward->GetRect().right);
    manager.GetItem(9)->SetClosable(FALSE);
    manager.Reposition();
    EXPECT_TRUE(pClose->GetRect().IsRectEmpty());
    manager.GetItem(9)->SetClosable(TRUE);
    manager.Reposition();
    ASSERT_FALSE(pClose->GetRect().IsRectEmpty());
    manager.SetSelectedItem(nullptr);
    EXPECT_TRUE(pClose->GetRect().IsRectEmpty());
    manager.SetCurSel(9);
    pClose->SetMode(CNavButton::modeShow);
    manager.Reposition();
    EXPECT_FALSE(pClose->GetRect().IsRectEmpty());

    // In multi-row and compressed layouts the arrows never show.
    for (int nLayout : {CXTPTabPainter::layoutMultiRow, CXTPTabPainter::layoutCompressed}) {
        manager.SetLayout(nLayout);
        EXPECT_TRUE(pForward->GetRect().IsRectEmpty()) << nLayout;
    }
}

TEST(TabLayout, ArrowsOfASideHeaderStackAtItsBottom)
{
    CTestTabManager manager(CRect(0, 0, 100, 200));
    manager.SetPosition(CXTPTabPainter::positionLeft);
    AddEqualTabs(manager, 10);
    CNavButton* pForward = manager.FindNavigateButton(CNavButton::idForward);
    CRect rcHeader = manager.m_pPainter->GetStyleObject()->GetHeaderRect(manager.m_rcLayout, &manager);
    int nEnd = 200 - manager.m_pPainter->GetStyleObject()->GetMargins().right;
    int nCentre = (rcHeader.left + rcHeader.right) / 2;
    EXPECT_EQ(CRect(nCentre - 7, nEnd - 15, nCentre + 7, nEnd), pForward->GetRect());
    EXPECT_EQ(nEnd - 30, manager.GetHeaderRect().bottom);
}

TEST(TabLayout, ArrowsByPositionModeAndLayout)
{
    struct Case
    {
        int nPosition, nTabs, nMode, nLayout;
        BOOL bShown, bForwardEnabled;
    } cases[] = {
        {CXTPTabPainter::positionBottom, 10, CNavButton::modeAuto, CXTPTabPainter::layoutAutoSize, TRUE, TRUE},
        {CXTPTabPainter::positionRight, 10, CNavButton::modeAuto, CXTPTabPainter::layoutAutoSize, TRUE, TRUE},
        {CXTPTabPainter::positionTop, 2, CNavButton::modeAuto, CXTPTabPainter::layoutAutoSize, FALSE, FALSE},
        {CXTPTabPainter::positionTop, 2, CNavButton::modeShow, CXTPTabPainter::layoutAutoSize, TRUE, FALSE},
        {CXTPTabPainter::positionTop, 10, CNavButton::modeHide, CXTPTabPainter::layoutAutoSize, FALSE, FALSE},
        {CXTPTabPainter::positionTop, 10, CNavButton::modeShow, CXTPTabPainter::layoutCompressed, TRUE, FALSE},
        {CXTPTabPainter::positionLeft, 10, CNavButton::modeShow, CXTPTabPainter::layoutMultiRow, FALSE, FALSE},
    };
    for (const Case& c : cases) {
        CTestTabManager manager(CRect(0, 0, 200, 200));
        manager.SetPosition(c.nPosition);
        manager.SetLayout(c.nLayout);
        CNavButton* pBack = manager.FindNavigateButton(CNavButton::idBack);
        CNavButton* pForward = manager.FindNavigateButton(CNavButton::idForward);
        pBack->SetMode(c.nMode);
        pForward->SetMode(c.nMode);
        AddEqualTabs(manager, c.nTabs);
        SCOPED_TRACE(testing::Message() << "position " << c.nPosition << ", " << c.nTabs << " tabs, mode " << c.nMode
                                        << ", layout " << c.nLayout);
        CXTPTabStyle* pStyle = manager.m_pPainter->GetStyleObject();
        CRect rcHeader = pStyle->GetHeaderRect(manager.m_rcLayout, &manager);
        BOOL bHorizontal = c.nPosition == CXTPTabPainter::positionTop || c.nPosition == CXTPTabPainter::positionBottom;
        int nEnd = 200 - pStyle->GetMargins().right;
        ASSERT_EQ(c.bShown, !pForward->GetRect().IsRectEmpty());
        EXPECT_EQ(c.bShown, !pBack->GetRect().IsRectEmpty());
        // Shown, the arrows stand at the end of the header, centred across it, and shorten it by both widths.
        if (bHorizontal) {
            int nCentre = (rcHeader.top + rcHeader.bottom) / 2;
            if (c.bShown) {
                EXPECT_EQ(CRect(nEnd - 14, nCentre - 8, nEnd, nCentre + 7), pForward->GetRect());
            }
            if (c.nLayout != CXTPTabPainter::layoutMultiRow) {
                EXPECT_EQ(c.bShown ? nEnd - 28 : nEnd, manager.GetHeaderRect().right);
            }
        } else if (c.bShown) {
            int nCentre = (rcHeader.left + rcHeader.right) / 2;
            EXPECT_EQ(CRect(nCentre - 7, nEnd - 15, nCentre + 7, nEnd), pForward->GetRect());
            EXPECT_EQ(nEnd - 30, manager.GetHeaderRect().bottom);
        }
        if (c.bShown) {
            EXPECT_EQ(c.bForwardEnabled, pForward->IsEnabled());
            EXPECT_FALSE(pBack->IsEnabled());
        }
        // Compressed behind shown arrows, the tabs end before the arrows, short of them by what the equal shares
        // leave over.
        if (c.nLayout == CXTPTabPainter::layoutCompressed) {
            int nRight = manager.GetItem(c.nTabs - 1)->GetRect().right;
            EXPECT_LE(nRight, nEnd - 28);
            EXPECT_GT(nRight, nEnd - 28 - c.nTabs);
        }
    }
}

TEST(TabLayout, EveryPositionPutsTheRowOnItsSideOfTheControl)
{
    struct Case { int nPosition; CRect rcFirstTab; } cases[] = {
        {CXTPTabPainter::positionTop, CRect(2, 3, 0, 23)},
        {CXTPTabPainter::positionBottom, CRect(2, 77, 0, 97)},
        {CXTPTabPainter::positionLeft, CRect(3, 2, 23, 0)},
        {CXTPTabPainter::positionRight, CRect(277, 2, 297, 0)},
    };
    for (const Case& c : cases) {
        CTestTabManager manager(CRect(0, 0, 300, 100));
        manager.SetPosition(c.nPosition);
        manager.AddTabs({L"Entrate"});
        CRect rc = manager.GetItem(0)->GetRect();
        int nLength = manager.GetItem(0)->GetLength();
        CRect rcExpected = c.rcFirstTab;
        (c.nPosition % 2 == 0 ? rcExpected.right : rcExpected.bottom) = 2 + nLength;
        EXPECT_EQ(rcExpected, rc) << c.nPosition;
    }
}

TEST(TabLayout, AnIconTakesItsCellInTheTabLength)
{
    CTestTabManager manager;
    manager.AddTabs({L"Entrate", L"Entrate"});
    manager.m_iconItems = {1};
    manager.Reposition();
    EXPECT_EQ(manager.GetItem(0)->GetLength() + 16 + 2, manager.GetItem(1)->GetLength());
    manager.m_pPainter->m_bShowIcons = FALSE;
    manager.Reposition();
    EXPECT_EQ(manager.GetItem(0)->GetLength(), manager.GetItem(1)->GetLength());
}

TEST(TabLayout, PainterOptionsChangeTheTabLengths)
{
    // Tab 0 "Entrate" is selected, tab 1 "Spese" not; lengths against the plain layout.
    enum { plain, insets, minimum, maximum, sizeToFit, boldSelected, boldInactive, mnemonic };
    struct Case { int nOption; int nDelta0; int nDelta1; } cases[] = {
        {insets, 3 + 4, 3 + 4},
        {minimum, 0, 0},            // checked below: both raised to 100
        {maximum, 0, 0},            // both cut to 30
        {sizeToFit, 0, -1},         // -1: the caption's text taken away
        {boldSelected, 1, 0},       // 1: longer
        {boldInactive, 0, 0},       // bold only while the strip is active
        {mnemonic, 0, 0},           // "&Entrate" measures as "Entrate"
    };
    CTestTabManager reference;
    reference.AddTabs({L"Entrate", L"Spese"});
    int nPlain[2] = {reference.GetItem(0)->GetLength(), reference.GetItem(1)->GetLength()};
    for (const Case& c : cases) {
        CTestTabManager manager;
        CXTPTabPainter* pPainter = manager.m_pPainter;
        switch (c.nOption) {
        case insets: pPainter->m_rcItemInset = CRect(3, 0, 4, 0); break;
        case minimum: manager.SetItemMetrics(CSize(70, 18), CSize(100, 0), CSize(0, 0)); break;
        case maximum: manager.SetItemMetrics(CSize(70, 18), CSize(0, 0), CSize(30, 0)); break;
        case sizeToFit: manager.SetLayout(CXTPTabPainter::layoutSizeToFit); break;
        case boldSelected: pPainter->m_bBoldSelected = TRUE; break;
        case boldInactive: pPainter->m_bBoldSelected = TRUE; manager.SetActive(FALSE); break;
        case mnemonic: pPainter->m_bNoPrefix = FALSE; break;
        }
        manager.AddTabs({c.nOption == mnemonic ? L"&Entrate" : L"Entrate", L"Spese"});
        manager.SetCurSel(0);
        manager.Reposition();
        int nLength[2] = {manager.GetItem(0)->GetLength(), manager.GetItem(1)->GetLength()};
        SCOPED_TRACE(testing::Message() << "option " << c.nOption);
        if (c.nOption == minimum || c.nOption == maximum) {
            int nExpected = c.nOption == minimum ? 100 : 30;
            EXPECT_EQ(nExpected, nLength[0]);
            EXPECT_EQ(nExpected, nLength[1]);
            continue;
        }
        for (int i = 0; i < 2; i++) {
            int nDelta = i == 0 ? c.nDelta0 : c.nDelta1;
            if (nDelta == 1)
                EXPECT_GT(nLength[i], nPlain[i]) << i;
            else if (nDelta == -1)
                EXPECT_EQ(6 + 2, nLength[i]) << i;
            else
                EXPECT_EQ(nPlain[i] + nDelta, nLength[i]) << i;
        }
    }
}

TEST(TabLayout, ClientFrameAndClientInsetShapeThePage)
{
    struct Case { int nFrame; CRect rcInset; CRect rcLess; } cases[] = {
        {CXTPTabPainter::frameBorder, CRect(), CRect(2, 2, 2, 2)},
        {CXTPTabPainter::frameSingleLine, CRect(), CRect(0, 2, 0, 0)},
        {CXTPTabPainter::frameNone, CRect(), CRect(0, 0, 0, 0)},
        {CXTPTabPainter::frameNone, CRect(5, 6, 7, 8), CRect(5, 6, 7, 8)},
    };
    for (const Case& c : cases) {
        CTestTabManager manager;
        manager.AddTabs({L"Entrate"});
        manager.m_pPainter->m_nClientFrame = c.nFrame;
        manager.m_pPainter->m_rcClientMargin = c.rcInset;
        CRect rcHeader = manager.m_pPainter->GetStyleObject()->GetHeaderRect(CRect(0, 0, 300, 100), &manager);
        // The page overlaps the header by its last row, less the frame and the insets.
        CRect rcExpected(0, rcHeader.Height() - 1, 300, 100);
        rcExpected.DeflateRect(c.rcLess.left, c.rcLess.top, c.rcLess.right, c.rcLess.bottom);
        CRect rc(0, 0, 300, 100);
        manager.m_pPainter->AdjustClientRect(&manager, rc);
        EXPECT_EQ(rcExpected, rc) << c.nFrame;
    }
}

TEST(TabLayout, ItemColoursPaintTheTabFacesWhenShown)
{
    CTestTabManager manager;
    manager.AddTabs({L"Entrate", L"Spese"});
    manager.SetCurSel(1);
    CXTPTabColors* pColors = manager.m_pPainter->GetColorsObject();
    CPixelCanvas canvas(10, 10);
    EXPECT_EQ(static_cast<COLORREF>(pColors->m_clrNormalFace), pColors->FillIndexed(&canvas, CRect(0, 0, 10, 10),
                                                                                 manager.GetItem(0)));
    manager.m_pPainter->SetShowItemColors(TRUE);
    for (int i = 0; i < 2; i++) {
        COLORREF clr = pColors->FillIndexed(&canvas, CRect(0, 0, 10, 10), manager.GetItem(i));
        EXPECT_EQ(CXTPTabPainter::GetPredefinedTabColor(XTP_TABCOLOR_PREDEFINED + i), clr) << i;
        EXPECT_EQ(clr, canvas.At(5, 5)) << i;
    }
}

TEST(TabLayout, SetStyleSelectsTheStylesDefaultColourSet)
{
    struct Case { int nStyle; int nColors; } cases[] = {{0, 1}, {1, 1}, {2, 1}, {3, 4}, {4, 2}, {5, 2}, {6, 2},
                                                        {7, 2}, {8, 1}, {9, 4}, {42, 1}};
    CTestTabManager manager;
    for (const Case& c : cases) {
        manager.SetStyle(c.nStyle);
        EXPECT_EQ(c.nStyle, manager.m_pPainter->GetStyle());
        EXPECT_EQ(c.nColors, manager.m_pPainter->GetColors()) << c.nStyle;
    }
    // An unknown id is the default style.
    manager.SetStyle(42);
    EXPECT_EQ(typeid(CXTPTabStyleDefault), typeid(*manager.m_pPainter->GetStyleObject()));
}

TEST(TabLayout, VerticalFontsAreAtLeastElevenPixelsHigh)
{
    struct Case { int nHeight; int nVertical; } cases[] = {{-8, -11}, {-1, -11}, {-10, -11}, {-12, -12}, {13, 13}};
    for (const Case& c : cases) {
        CTestTabManager manager;
        LOGFONT lf = PinnedTabFont(c.nHeight);
        manager.m_pPainter->SetFontIndirect(&lf);
        LOGFONT normal = {}, vertical = {};
        manager.m_pPainter->GetFont(FALSE, FALSE)->GetLogFont(&normal);
        manager.m_pPainter->GetFont(TRUE, TRUE)->GetLogFont(&vertical);
        EXPECT_EQ(c.nHeight, normal.lfHeight);
        EXPECT_EQ(c.nVertical, vertical.lfHeight) << c.nHeight;
        EXPECT_EQ(2700, vertical.lfEscapement);
        EXPECT_EQ(FW_BOLD, vertical.lfWeight);
    }
}

TEST(TabLayout, PredefinedColoursByIndex)
{
    EXPECT_EQ(0xE4A88Au, CXTPTabPainter::GetPredefinedTabColor(0x1000000));
    EXPECT_EQ(0xC0ABD8u, CXTPTabPainter::GetPredefinedTabColor(0x1000007));
    EXPECT_EQ(0x1000008u, CXTPTabPainter::GetPredefinedTabColor(0x1000008));
    EXPECT_EQ(0x123456u, CXTPTabPainter::GetPredefinedTabColor(0x123456));
}
