// The size selector: the cells under a point and the grid grown past its edge as tables, its cells painted into a
// memory DC, and a menu of the test frame driven by the mouse: the grid grows while the button is held, never
// beyond its largest size, and the release chooses the selection.
#include "FrameTestSupport.h"
#include "PixelCanvas.h"
#include "PropExchangeStores.h"
#include "platform/GeometryPrinters.h"

#include "ui/commandbars/XTPCommandBars.h"
#include "ui/commandbars/XTPControlSelector.h"
#include "ui/commandbars/XTPPopupBar.h"
#include "ui/themes/BarPainter.h"

#include <gtest/gtest.h>

namespace
{
const int nSelectorId = 4713;

// Marks the centre of every cell in the text colour it is given.
class CMarkingSelector : public CXTPControlSelector
{
protected:
    void DrawItem(CDC* pDC, CRect rcItem, COLORREF clrText) override
    {
        CPoint pt = rcItem.CenterPoint();
        pDC->FillSolidRect(pt.x - 1, pt.y - 1, 3, 3, clrText);
    }
};

class ControlSelectorTest : public ::testing::Test
{
protected:
    CTestFrame* m_pFrame = nullptr;
    CXTPPopupBar* m_pPopup = nullptr;
    CXTPControlSelector* m_pSelector = nullptr;

    void SetUp() override
    {
        m_pFrame = CreateTestFrame();
        ASSERT_NE(nullptr, m_pFrame);
        m_pFrame->GetCommandBars()->GetCommandBarsOptions()->nAnimationType = 5;
        m_pPopup = CXTPPopupBar::CreatePopupBar(m_pFrame->GetCommandBars());
        m_pSelector = static_cast<CXTPControlSelector*>(
            m_pPopup->GetControls()->AddControl(new CMarkingSelector, nSelectorId));
    }
    void TearDown() override
    {
        if (m_pPopup)
            m_pPopup->InternalRelease();
        if (m_pFrame)
            m_pFrame->DestroyWindow();
        PumpFrame(nullptr);
    }
    // The centre of a cell on the screen, from where the selector lies now.
    CPoint CellOnScreen(int nColumn, int nRow) const
    {
        CSize szItem = m_pSelector->GetItemSize();
        CPoint pt = m_pSelector->GetRect().TopLeft() +
                    CSize(nColumn * szItem.cx + szItem.cx / 2, nRow * szItem.cy + szItem.cy / 2);
        m_pPopup->ClientToScreen(&pt);
        return pt;
    }
    int Notifications(UINT nCode) const
    {
        int n = 0;
        for (const CTestFrame::EVENT& e : m_pFrame->m_events)
            n += e.message == XTPM_CONTROLNOTIFY && e.nId == nSelectorId && e.nCode == nCode;
        return n;
    }
};

void SendButton(DWORD dwFlags)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = dwFlags;
    ::SendInput(1, &input, sizeof(INPUT));
}
}

TEST_F(ControlSelectorTest, CellsUnderAPointAndTheGridGrownTowardsIt)
{
    m_pSelector->SetRect(CRect(CPoint(10, 20), CSize(5 * 28, 4 * 28)));
    ASSERT_EQ(CSize(5, 4), m_pSelector->GetShownGrid());
    struct Case
    {
        CPoint pt;
        CSize szCells;
        CSize szGrown;
    } cases[] = {
        {{10, 20}, {0, 0}, {5, 4}},                      // on the corner: no cell begins before it
        {{11, 21}, {1, 1}, {5, 4}},
        {{10 + 28, 20 + 28}, {1, 1}, {5, 4}},            // on the edge of the second cell
        {{10 + 29, 20 + 57}, {2, 3}, {5, 4}},
        {{5, 15}, {0, 0}, {5, 4}},                       // above and left of the grid: no cell, no growth
        {{10 + 5 * 28 + 3, 30}, {5, 1}, {6, 4}},         // just past the right edge
        {{30, 20 + 4 * 28}, {1, 4}, {5, 5}},             // on the bottom edge
        {{10 + 7 * 28 + 1, 20 + 9 * 28 + 1}, {5, 4}, {8, 10}},
        {{10 + 30 * 28, 20 + 30 * 28}, {5, 4}, {12, 12}},  // never beyond the largest grid
        {{10 + 30 * 28, 0}, {5, 0}, {12, 4}},            // right of the grid, above it: only the columns grow
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.pt.x << ", " << c.pt.y);
        EXPECT_EQ(c.szCells, m_pSelector->HitTestCells(c.pt));
        EXPECT_EQ(c.szGrown, m_pSelector->CalcGrownGrid(c.pt));
    }
    m_pSelector->SetItemsMax(CSize(6, 5));
    EXPECT_EQ(CSize(6, 5), m_pSelector->CalcGrownGrid(CPoint(10 + 30 * 28, 20 + 30 * 28)));
}

TEST_F(ControlSelectorTest, SelectedCellsArePaintedInTheHighlight)
{
    m_pSelector->SetItemsCount(CSize(3, 2));
    m_pPopup->CalcDynamicLayout(0, 0);
    ASSERT_EQ(CSize(3 * 28, 2 * 28), m_pSelector->GetSize(nullptr));
    m_pSelector->SetRect(CRect(CPoint(0, 0), CSize(3 * 28, 2 * 28)));
    m_pSelector->SetSelection(CSize(2, 1));
    CXTPBarPainter* pPainter = m_pPopup->GetPaintManager();
    const COLORREF clrBack = RGB(1, 2, 3);
    CPixelCanvas canvas(3 * 28, 2 * 28, clrBack);
    m_pSelector->Draw(&canvas);
    struct Case
    {
        int nColumn, nRow;
        BOOL bSelected;
    } cases[] = {{0, 0, TRUE}, {1, 0, TRUE}, {2, 0, FALSE}, {0, 1, FALSE}, {2, 1, FALSE}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.nColumn << ", " << c.nRow);
        int x = c.nColumn * 28, y = c.nRow * 28;
        EXPECT_EQ(pPainter->GetColor(c.bSelected ? COLOR_HIGHLIGHT : COLOR_WINDOW), canvas.At(x + 5, y + 5));
        EXPECT_EQ(pPainter->GetColor(c.bSelected ? COLOR_HIGHLIGHTTEXT : 46), canvas.At(x + 14, y + 14));
        // The frame one pixel inside the cell, the ground between the cells.
        EXPECT_EQ(pPainter->GetColor(43), canvas.At(x + 1, y + 5));
        EXPECT_EQ(pPainter->GetColor(43), canvas.At(x + 26, y + 5));
        EXPECT_EQ(clrBack, canvas.At(x, y + 5));
    }
}

TEST_F(ControlSelectorTest, DraggingPastTheGridGrowsItAndTheReleaseChoosesTheSelection)
{
    struct Step
    {
        const char* pszWhat;
        std::function<void()> input;
        CSize szShown;
        CSize szSelection;
    };
    std::vector<Step> steps = {
        {"over a cell", [&] { SendMouseMove(CellOnScreen(1, 1)); }, {5, 4}, {2, 2}},
        {"pressed", [&] { SendButton(MOUSEEVENTF_LEFTDOWN); }, {5, 4}, {2, 2}},
        {"dragged past the grid", [&] { SendMouseMove(CellOnScreen(6, 5)); }, {7, 6}, {7, 6}},
        {"moved inside the grown grid", [&] { SendMouseMove(CellOnScreen(6, 5) + CSize(2, 2)); }, {7, 6}, {7, 6}},
        {"dragged far away", [&] { SendMouseMove(CellOnScreen(20, 16)); }, {12, 12}, {12, 12}},
        {"back inside", [&] { SendMouseMove(CellOnScreen(2, 2)); }, {12, 12}, {3, 3}},
    };
    std::vector<CSize> shown, selections;
    std::function<void(size_t)> run = [&](size_t nStep) {
        if (nStep > 0) {
            shown.push_back(m_pSelector->GetShownGrid());
            selections.push_back(m_pSelector->GetSelection());
        }
        if (nStep == steps.size()) {
            SendButton(MOUSEEVENTF_LEFTUP);
            return;
        }
        steps[nStep].input();
        RunLater([&run, nStep] { run(nStep + 1); }, 250);
    };
    RunLater([&] { run(0); });
    m_pFrame->m_events.clear();
    CXTPCommandBars::TrackPopup(m_pPopup, 0, 100, 60, m_pFrame);
    ASSERT_EQ(steps.size(), shown.size());
    for (size_t i = 0; i < steps.size(); i++) {
        SCOPED_TRACE(steps[i].pszWhat);
        EXPECT_EQ(steps[i].szShown, shown[i]);
        EXPECT_EQ(steps[i].szSelection, selections[i]);
    }
    EXPECT_FALSE(m_pPopup->IsTrackingMode());
    EXPECT_EQ(CSize(3, 3), m_pSelector->GetChosen());
    PumpFrame(m_pFrame->m_hWnd);
    EXPECT_EQ(1, Notifications(XTP_CN_EXECUTE));
    EXPECT_GT(Notifications(XTP_SN_SELECTORCHANGE), 0);

    // Opened again it starts from its first grid with nothing selected; a release on no cell chooses nothing.
    m_pPopup->CalcDynamicLayout(0, 0);
    EXPECT_EQ(CSize(5, 4), m_pSelector->GetShownGrid());
    EXPECT_EQ(CSize(0, 0), m_pSelector->GetSelection());
    m_pFrame->m_events.clear();
    m_pSelector->OnLButtonUp(m_pSelector->GetRect().TopLeft());
    EXPECT_EQ(0, Notifications(XTP_CN_EXECUTE));
    EXPECT_EQ(CSize(3, 3), m_pSelector->GetChosen());
}

TEST_F(ControlSelectorTest, GridSizesGoWithCopiesAndTheSavedFormByName)
{
    m_pSelector->SetItemsCount(CSize(3, 2));
    m_pSelector->SetItemsMax(CSize(8, 6));
    m_pSelector->SetItemSize(CSize(20, 18));
    auto* pClone = dynamic_cast<CXTPControlSelector*>(m_pSelector->Clone(TRUE));
    ASSERT_NE(nullptr, pClone);
    EXPECT_EQ(CSize(3, 2), pClone->GetItemsCount());
    EXPECT_EQ(CSize(8, 6), pClone->GetItemsMax());
    EXPECT_EQ(CSize(20, 18), pClone->GetItemSize());
    pClone->InternalRelease();

    CXmlBacking backing(FALSE);
    backing.Save([&](CXTPPropExchange* pPX) { m_pSelector->DoPropExchange(pPX); });
    for (const char* pszKey : {"ItemsCount", "ItemsMax", "ItemSize"})
        EXPECT_NE(-1, backing.m_strXml.Find(CString(pszKey))) << pszKey;
    auto* pLoaded = new CXTPControlSelector;
    backing.Load([&](CXTPPropExchange* pPX) { pLoaded->DoPropExchange(pPX); });
    EXPECT_EQ(CSize(3, 2), pLoaded->GetItemsCount());
    EXPECT_EQ(CSize(8, 6), pLoaded->GetItemsMax());
    EXPECT_EQ(CSize(20, 18), pLoaded->GetItemSize());
    EXPECT_EQ(nSelectorId, pLoaded->GetID());
    pLoaded->InternalRelease();
}
