#include "ui/commandbars/CommandBarsDefs.h"
#include "ui/commandbars/XTPDockBarLayout.h"
#include "ui/commandbars/XTPDockBarSlots.h"
#include "ui/commandbars/XTPDockDecisions.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace
{
// Bars of a fixed width and height; a shrinkable one (mode 0x80) gives up length down to its minimum, a stretched
// one (LM_STRETCH) takes the length it is offered.
struct TestBar
{
    int nWidth, nMinWidth, nHeight;
};

CXTPDockBarLayout::MEASURE MeasureOf(const std::map<int, TestBar>& bars)
{
    return [bars](int nBar, int nLength, DWORD dwMode, int nThickness) {
        const TestBar& bar = bars.at(nBar);
        int cx = bar.nWidth;
        if (dwMode & LM_STRETCH)
            cx = nLength;
        else if (dwMode & xtpLayoutHideWrap)
            cx = std::max(bar.nMinWidth, std::min(nLength, bar.nWidth));
        return CSize(cx, std::max(bar.nHeight, nThickness));
    };
}

std::string Describe(const std::vector<CXTPDockBarLayout::PLACED>& arrPlaced)
{
    std::string str;
    for (const CXTPDockBarLayout::PLACED& placed : arrPlaced)
        str += std::string(1, static_cast<char>('A' + placed.nBar)) + "(" + std::to_string(placed.rc.left) + "," +
               std::to_string(placed.rc.top) + "," + std::to_string(placed.rc.right) + "," +
               std::to_string(placed.rc.bottom) + ")";
    return str;
}
}

TEST(DockBarLayoutTest, RowsPushSettleShrinkAndWrap)
{
    const DWORD horz = LM_HORZ | LM_HORZDOCK, shrink = horz | xtpLayoutHideWrap;
    std::map<int, TestBar> bars = {{0, {50, 50, 22}},  {1, {50, 50, 22}},   {2, {120, 120, 22}},
                                   {3, {200, 50, 22}}, {4, {200, 50, 22}},  {5, {200, 200, 24}},
                                   {6, {120, 120, 22}}, {7, {120, 120, 22}}};
    struct Case
    {
        const char* pszName;
        std::vector<CXTPDockBarLayout::ROWBAR> row;   // bar, start along the row, mode, shares the gaps
        int nLength;
        int nThickness;
        std::string strPlaced;
    } cases[] = {
        {"a later bar is pushed after the one before", {{0, 0, horz, FALSE}, {1, 20, horz, FALSE}}, 300, 22,
         "A(0,0,50,22)B(50,0,100,22)"},
        {"two bars dropped at the same place", {{0, 10, horz, FALSE}, {1, 10, horz, FALSE}}, 300, 22,
         "A(10,0,60,22)B(60,0,110,22)"},
        {"nothing passes the row's end", {{0, 280, horz, FALSE}}, 300, 22, "A(250,0,300,22)"},
        {"an earlier bar overlapped by a later one settles after it", {{0, 100, horz, FALSE}, {2, 0, horz, FALSE}},
         300, 22, "C(0,0,120,22)A(120,0,170,22)"},
        {"shrinkable bars give up length from the right", {{3, 0, shrink, FALSE}, {4, 150, shrink, FALSE}}, 300, 22,
         "D(0,0,150,22)E(150,0,300,22)"},
        {"a bar that shares the gaps reaches its neighbour", {{0, 0, horz, TRUE}, {1, 200, horz, FALSE}}, 300, 22,
         "A(0,0,200,22)B(200,0,250,22)"},
        {"the row is as thick as its thickest bar", {{0, 0, horz, FALSE}, {5, 60, horz, FALSE}}, 300, 24,
         "A(0,0,50,24)F(60,0,260,24)"},
        {"a bar alone never fails", {{5, 0, horz, FALSE}}, 100, 24, "F(0,0,200,24)"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.pszName);
        std::vector<CXTPDockBarLayout::PLACED> arrPlaced;
        int nFail = -2;
        EXPECT_EQ(c.nThickness, CXTPDockBarLayout::CalcRowLayout(c.row, c.nLength, MeasureOf(bars), arrPlaced, nFail));
        EXPECT_EQ(-1, nFail);
        EXPECT_EQ(c.strPlaced, Describe(arrPlaced));
    }

    // Bars that cannot shrink and do not fit: the last one along the row must leave it.
    std::vector<CXTPDockBarLayout::PLACED> arrPlaced;
    int nFail = -1;
    EXPECT_EQ(-1, CXTPDockBarLayout::CalcRowLayout({{2, 0, horz, FALSE}, {6, 200, horz, FALSE}, {7, 100, horz, FALSE}},
                                                   300, MeasureOf(bars), arrPlaced, nFail));
    EXPECT_EQ(6, nFail);

    // Wrapped, it opens a row below the others.
    EXPECT_EQ(44, CXTPDockBarLayout::WrapRow({{2, 0, horz, FALSE}, {6, 200, horz, FALSE}, {7, 100, horz, FALSE}}, 300,
                                             MeasureOf(bars), arrPlaced));
    EXPECT_EQ("C(0,0,120,22)H(120,0,240,22)G(180,22,300,44)", Describe(arrPlaced));
    EXPECT_EQ(66, CXTPDockBarLayout::WrapRow({{2, 0, horz, FALSE}, {6, 0, horz, FALSE}, {7, 0, horz, FALSE}}, 130,
                                             MeasureOf(bars), arrPlaced));
    EXPECT_EQ(0, CXTPDockBarLayout::WrapRow({}, 300, MeasureOf(bars), arrPlaced));
}

namespace
{
// Slots written as letters, a null as '|'.
CXTPToolBar* Bar(char ch)
{
    return reinterpret_cast<CXTPToolBar*>(static_cast<INT_PTR>(ch));
}

std::string Describe(const CXTPDockBarSlots& slots)
{
    std::string str;
    for (CXTPToolBar* pBar : slots.GetSlots())
        str += pBar ? static_cast<char>(reinterpret_cast<INT_PTR>(pBar)) : '|';
    return str;
}

CXTPDockBarSlots Slots(const std::string& str)
{
    CXTPDockBarSlots slots;
    for (size_t i = 1; i < str.size(); ++i)
        slots.InsertAt(static_cast<int>(i), str[i] == '|' ? nullptr : Bar(str[i]));
    return slots;
}
}

TEST(DockBarLayoutTest, BarsFindTheirRowsAndEmptiedRowsGo)
{
    // Rows reach across: A's row to 22, B's to 44.
    auto farEdge = [](CXTPToolBar* pBar) { return pBar == Bar('A') ? 22 : 44; };
    struct InsertCase
    {
        int nCentre;
        std::string strSlots;
        int nSlot;
    } inserts[] = {
        {10, "|XA|B|", 1},   // inside the first row: first in it
        {30, "|A|XB|", 3},   // inside the second
        {22, "|A|X|B|", 3},  // on the border of two rows: a row between them
        {0, "|X|A|B|", 1},   // on the top edge: a new first row
        {-5, "|X|A|B|", 1},  // above the dock bar
        {50, "|A|B|X|", 5},  // beyond the rows: a new last row
    };
    for (const InsertCase& c : inserts)
    {
        SCOPED_TRACE(c.nCentre);
        CXTPDockBarSlots slots = Slots("|A|B|");
        EXPECT_EQ(c.nSlot, slots.Insert(Bar('X'), c.nCentre, farEdge));
        EXPECT_EQ(c.strSlots, Describe(slots));
    }
    CXTPDockBarSlots empty;
    EXPECT_EQ(1, empty.Insert(Bar('X'), 5, farEdge));
    EXPECT_EQ("|X|", Describe(empty));
    EXPECT_EQ(3, empty.Append(Bar('Y')));
    EXPECT_EQ("|X|Y|", Describe(empty));

    struct RemoveCase
    {
        std::string strBefore;
        char chBar;
        int nSkip;
        std::string strAfter;
    } removes[] = {
        {"|A|B|", 'A', -1, "|B|"},  // the row goes with its only bar
        {"|AB|", 'A', -1, "|B|"},
        {"|A|B|", 'B', -1, "|A|"},
        {"|XA|X|", 'X', 1, "|XA|"},  // re-docked: the old slot goes, the new one stays
    };
    for (const RemoveCase& c : removes)
    {
        SCOPED_TRACE(c.strBefore);
        CXTPDockBarSlots slots = Slots(c.strBefore);
        EXPECT_TRUE(slots.Remove(Bar(c.chBar), c.nSkip));
        EXPECT_EQ(c.strAfter, Describe(slots));
        EXPECT_FALSE(slots.Remove(Bar('Z')));
    }

    struct OwnRowCase
    {
        std::string strBefore, strAfter;
    } ownRows[] = {{"|AXB|", "|A|X|B|"}, {"|XA|", "|X|A|"}, {"|AX|", "|A|X|"}, {"|X|A|", "|X|A|"}};
    for (const OwnRowCase& c : ownRows)
    {
        SCOPED_TRACE(c.strBefore);
        CXTPDockBarSlots slots = Slots(c.strBefore);
        slots.ApplyOwnRow([](CXTPToolBar* pBar) { return pBar == Bar('X'); });
        EXPECT_EQ(c.strAfter, Describe(slots));
    }

    CXTPDockBarSlots loaded;
    for (const char* psz : {"|", "A", "|", "|", "B", "|"})
        loaded.InsertAt(loaded.GetSize() - 1, *psz == '|' ? nullptr : Bar(*psz));
    loaded.Normalize();
    EXPECT_EQ("|A|B|", Describe(loaded));
    EXPECT_EQ(2, loaded.GetCount());
    EXPECT_EQ(2u, loaded.GetRows().size());
    EXPECT_EQ(2, loaded.GetRowStart(3));
}

TEST(DockBarLayoutTest, DockBarsCatchTheCursorWithinTwentyPixels)
{
    // A frame's client 0,0-640,400: an empty top dock bar, a bottom one with a row, empty sides.
    const CRect rcDockBars[4] = {CRect(0, 0, 640, 0), CRect(0, 374, 640, 400), CRect(0, 0, 0, 374),
                                 CRect(640, 0, 640, 374)};
    struct Case
    {
        CPoint pt;
        int nPreferred;
        int nSide;
    } cases[] = {
        {{300, 19}, -1, 0},  {{300, 20}, -1, -1}, {{300, -20}, -1, 0}, {{300, 355}, -1, 1},
        {{300, 353}, -1, -1}, {{15, 200}, -1, 2},  {{625, 200}, -1, 3}, {{300, 200}, -1, -1},
        {{10, 10}, -1, 0},    {{10, 10}, 2, 2},    // in a corner the bar's own dock bar comes first
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.pt.x << "," << c.pt.y << " preferred " << c.nPreferred);
        EXPECT_EQ(c.nSide, CXTPDockDecisions::FindDockBarAt(c.pt, rcDockBars, c.nPreferred));
    }
    EXPECT_TRUE(CXTPDockDecisions::IsSideAllowed(0x01, 0));
    EXPECT_FALSE(CXTPDockDecisions::IsSideAllowed(0x01, 1));
    EXPECT_FALSE(CXTPDockDecisions::IsSideAllowed(0x1F, -1));
}

TEST(DockBarLayoutTest, DoubleClickTogglesDockingByItsFlagsAndTheLastFloatingPlace)
{
    using D = CXTPDockDecisions;
    struct Case
    {
        BOOL bFloating;
        DWORD dwFlags;
        BOOL bDblClickFloat;
        D::ToggleAction action;
    } cases[] = {
        {FALSE, 0x1F, TRUE, D::toggleFloat}, {FALSE, 0x1F, FALSE, D::toggleNone}, {FALSE, 0x0F, TRUE, D::toggleNone},
        {TRUE, 0x1F, FALSE, D::toggleDock},  {TRUE, 0x01, FALSE, D::toggleDock},  {TRUE, 0x10, TRUE, D::toggleNone},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.bFloating << " " << c.dwFlags << " " << c.bDblClickFloat);
        EXPECT_EQ(c.action, D::GetToggleAction(c.bFloating, c.dwFlags, c.bDblClickFloat));
    }
    // A bar that floated at x = 0, or left of the primary monitor, goes back there; one that never floated floats
    // where it is docked.
    const CPoint ptDocked(120, 30);
    EXPECT_EQ(CPoint(0, 200), D::GetFloatPoint(TRUE, CPoint(0, 200), ptDocked));
    EXPECT_EQ(CPoint(-900, 50), D::GetFloatPoint(TRUE, CPoint(-900, 50), ptDocked));
    EXPECT_EQ(ptDocked, D::GetFloatPoint(FALSE, CPoint(0, 0), ptDocked));

    struct AdjustCase
    {
        CPoint pt;
        CRect rcAfter;
    } adjusts[] = {{{50, 10}, {40, 0, 140, 30}}, {{20, 10}, {20, 0, 120, 30}}, {{200, 40}, {101, 11, 201, 41}}};
    for (const AdjustCase& c : adjusts)
    {
        CRect rc(40, 0, 140, 30);
        D::AdjustRectWithPoint(rc, c.pt);
        EXPECT_EQ(c.rcAfter, rc);
    }
}
