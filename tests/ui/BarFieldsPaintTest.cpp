// Combo boxes, edit fields and list entries as the bar themes draw them, read back from memory DCs on a pinned
// palette; and theme 1's band behind the rarely used commands of an expanded popup.
#include "BarTestSupport.h"
#include "PixelCanvas.h"

#include "ui/commandbars/XTPCommandBars.h"
#include "ui/commandbars/XTPCommandBarsOptions.h"
#include "ui/commandbars/XTPControlComboBox.h"
#include "ui/commandbars/XTPControlEdit.h"
#include "ui/themes/BarThemeGradient.h"
#include "ui/themes/DrawHelpers.h"

#include <gtest/gtest.h>

namespace
{
const COLORREF clrCanvas = RGB(1, 2, 3);
const int nNone = -1;   // the canvas shows through

// The shadowed theme with an edit font of a chosen average character width.
class CFieldProbe : public CXTPBarThemeShadowed
{
public:
    void SetEditFontWidth(int nAverage)
    {
        LOGFONT lf = {};
        lf.lfHeight = -11;
        lf.lfWidth = nAverage;
        ::lstrcpyW(lf.lfFaceName, L"Tahoma");
        m_fontIconTitle.Replace(lf);
        m_fontIconTitle.m_bRecreate = FALSE;
    }
};

// A toolbar or popup window on a hidden site, holding one control of a kind.
class BarFieldsPaintTest : public ::testing::Test
{
protected:
    CPinnedPalette m_palette;
    CRecordingSite m_site;
    CTestBar* m_pBar = nullptr;

    void SetUp() override
    {
        ASSERT_TRUE(m_site.Create());
        m_pBar = new CTestBar;
        ASSERT_TRUE(m_pBar->Create(&m_site, CRect(0, 0, 200, 30)));
        m_pBar->SetPosition(xtpBarTop);
    }
    void TearDown() override
    {
        CMouseManager::GetThreadManager()->UntrackAll();
        m_pBar->InternalRelease();
        m_site.DestroyWindow();
    }
    // The bar's own painter, which the bar releases.
    template <class TTheme>
    TTheme* UsePainter()
    {
        auto* pPainter = new TTheme;
        m_pBar->SetPaintManager(pPainter);
        return pPainter;
    }
    // Measures the control with the painter and places it at (2, 2).
    CRect Place(CXTPBarPainter& painter, CXTPControl* pControl)
    {
        CPixelCanvas measure(4, 4);
        CSize sz = painter.DrawControl(&measure, pControl, FALSE);
        CRect rc(CPoint(2, 2), sz);
        pControl->SetRect(rc);
        return rc;
    }
    static COLORREF ColorOf(CXTPBarPainter& painter, int nIndex)
    {
        return nIndex == nNone ? clrCanvas : painter.GetColor(nIndex);
    }
    static int SpaceHeight(CDC* pDC, CFont* pFont)
    {
        CFont* pOld = pDC->SelectObject(pFont);
        int cy = pDC->GetTextExtent(L" ", 1).cy;
        pDC->SelectObject(pOld);
        return cy;
    }
    static BOOL HasColor(const CPixelCanvas& canvas, CRect rc, COLORREF clr)
    {
        for (int y = rc.top; y < rc.bottom; y++)
            for (int x = rc.left; x < rc.right; x++)
                if (canvas.At(x, y) == clr)
                    return TRUE;
        return FALSE;
    }
};
}

TEST_F(BarFieldsPaintTest, ShadowedComboMeasuresItsDropButtonByTheEditFont)
{
    auto* pCombo = static_cast<CXTPControlComboBox*>(m_pBar->GetControls()->Add(xtpControlComboBox, 501));
    struct Case
    {
        int nAverage;
        int nThumb;
    } cases[] = {{4, 15}, {5, 15}, {7, 18}};
    for (const Case& c : cases) {
        CFieldProbe painter;
        painter.SetEditFontWidth(c.nAverage);
        CPixelCanvas canvas(4, 4);
        CSize sz = painter.DrawComboBoxControl(&canvas, pCombo, FALSE);
        EXPECT_EQ(c.nThumb, pCombo->GetThumbWidth()) << c.nAverage;
        int nSpace = std::max(SpaceHeight(&canvas, painter.GetIconTitleFont()), SpaceHeight(&canvas, painter.GetRegularFont()));
        EXPECT_EQ(CSize(100, nSpace + 8), sz) << c.nAverage;
    }
    // A label on a toolbar comes with style 1 and stays inside the width; a changed width flags the layout.
    pCombo->SetCaption(L"Cerca");
    pCombo->SetComboStyle(1);
    CXTPBarThemeShadowed painter;
    CPixelCanvas canvas(4, 4);
    painter.DrawComboBoxControl(&canvas, pCombo, FALSE);
    EXPECT_GT(pCombo->GetLabelWidth(), 5);
    EXPECT_TRUE(pCombo->IsLayoutChanged());
    EXPECT_EQ(100, painter.DrawComboBoxControl(&canvas, pCombo, FALSE).cx);
}

TEST_F(BarFieldsPaintTest, ShadowedComboAndEditFieldByState)
{
    auto* pCombo = static_cast<CXTPControlComboBox*>(m_pBar->GetControls()->Add(xtpControlComboBox, 501));
    pCombo->AddString(L"uno");
    auto* pEdit = static_cast<CXTPControlEdit*>(m_pBar->GetControls()->Add(xtpControlEdit, 502));
    pEdit->ShowLabel(FALSE);
    // Colour indices at the field's top edge, inside the field (a selected combo without edit window shows its
    // text on the highlight) and inside the drop button; the arrow's colour; inside the edit field.
    struct Case
    {
        const char* pszName;
        BOOL bEnabled;
        int nSelected;
        BOOL bDropped;
        int nEdge, nField, nButton, nArrow, nEditField;
    } cases[] = {
        {"enabled", TRUE, 0, FALSE, nNone, 5, nNone, 46, 5},
        {"selected", TRUE, 1, FALSE, 32, COLOR_HIGHLIGHT, 31, 45, 5},
        {"selected and dropped", TRUE, 1, TRUE, 32, COLOR_HIGHLIGHT, 33, 47, 5},
        {"disabled", FALSE, 0, FALSE, 40, 15, 15, 40, 15},
        {"disabled while pressed", FALSE, 2, FALSE, 32, 15, 15, 40, 15},
    };
    CXTPBarThemeShadowed& painter = *UsePainter<CXTPBarThemeShadowed>();
    CRect rcCombo = Place(painter, pCombo);
    CRect rcEdit = Place(painter, pEdit);
    int nThumb = pCombo->GetThumbWidth();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        pCombo->SetEnabled(c.bEnabled);
        pCombo->SetSelected(c.nSelected);
        if (c.bDropped)
            m_pBar->SetPopuped(pCombo->GetIndex());
        ASSERT_EQ(c.bDropped, pCombo->IsDroppedDown());
        CPixelCanvas canvas(200, 40, clrCanvas);
        painter.DrawControl(&canvas, pCombo, TRUE);
        int yMid = rcCombo.CenterPoint().y;
        EXPECT_EQ(ColorOf(painter, c.nEdge), canvas.At(rcCombo.left + 5, rcCombo.top));
        EXPECT_EQ(ColorOf(painter, c.nField), canvas.At(rcCombo.left + 5, yMid));
        EXPECT_EQ(ColorOf(painter, c.nButton), canvas.At(rcCombo.right - 3, rcCombo.top + 3));
        CRect rcButton(rcCombo.right - nThumb, rcCombo.top, rcCombo.right, rcCombo.bottom);
        EXPECT_TRUE(HasColor(canvas, rcButton, painter.GetColor(c.nArrow)));
        m_pBar->SetPopuped(-1);
        pCombo->SetSelected(0);

        // The edit field follows the same rules without the drop button.
        pEdit->SetEnabled(c.bEnabled);
        pEdit->SetSelected(c.nSelected);
        CPixelCanvas edit(200, 40, clrCanvas);
        painter.DrawControl(&edit, pEdit, TRUE);
        EXPECT_EQ(ColorOf(painter, c.nEdge), edit.At(rcEdit.left + 5, rcEdit.top));
        EXPECT_EQ(ColorOf(painter, c.nEditField), edit.At(rcEdit.left + 5, rcEdit.CenterPoint().y));
        EXPECT_EQ(ColorOf(painter, c.nEditField), edit.At(rcEdit.right - 3, rcEdit.top + 3));
        pEdit->SetSelected(0);
    }
}

TEST_F(BarFieldsPaintTest, DefaultThemeRaisesTheDropButtonAndSinksItWhenDropped)
{
    auto* pCombo = static_cast<CXTPControlComboBox*>(m_pBar->GetControls()->Add(xtpControlComboBox, 501));
    pCombo->AddString(L"uno");
    CXTPBarThemeDefault& painter = *UsePainter<CXTPBarThemeDefault>();
    CRect rc = Place(painter, pCombo);
    EXPECT_GE(pCombo->GetThumbWidth(), 15);
    for (BOOL bDropped : {FALSE, TRUE}) {
        SCOPED_TRACE(bDropped ? "dropped" : "closed");
        pCombo->SetSelected(1);
        if (bDropped)
            m_pBar->SetPopuped(pCombo->GetIndex());
        CPixelCanvas canvas(200, 40, clrCanvas);
        painter.DrawControl(&canvas, pCombo, TRUE);
        // The button less (1, 2, 2, 2): its top-left edge light when raised, dark when sunken.
        CRect rcButton(rc.right - pCombo->GetThumbWidth() + 1, rc.top + 2, rc.right - 2, rc.bottom - 2);
        COLORREF clrLight = painter.GetColor(COLOR_3DHILIGHT), clrDark = painter.GetColor(COLOR_3DSHADOW);
        EXPECT_EQ(bDropped ? clrDark : clrLight, canvas.At(rcButton.left, rcButton.top + 3));
        EXPECT_EQ(bDropped ? clrLight : clrDark, canvas.At(rcButton.right - 1, rcButton.top + 3));
        // Without an edit window the selected combo shows its text on the highlight.
        EXPECT_EQ(painter.GetColor(COLOR_HIGHLIGHT), canvas.At(rc.left + 5, rc.CenterPoint().y));
        m_pBar->SetPopuped(-1);
        pCombo->SetSelected(0);
    }
}

TEST_F(BarFieldsPaintTest, ListEntriesOfTheShadowedThemes)
{
    CXTPControl* pButton = m_pBar->GetControls()->Add(xtpControlButton, 601);
    pButton->SetCaption(L"Apri");
    CXTPControl* pCombo = m_pBar->GetControls()->Add(xtpControlComboBox, 602);
    pCombo->SetCaption(L"Trova");
    CXTPBarThemeShadowed painter;
    CPixelCanvas canvas(4, 4);
    CSize sz = painter.DrawListBoxControl(&canvas, pButton, CRect(0, 0, 0, 0), FALSE, FALSE, nullptr);
    int c = std::max(20, painter.GetTextHeight() + 4);
    EXPECT_EQ(CSize(c, std::max(22, painter.GetTextHeight())), sz);
    EXPECT_EQ(CSize(0, 0), painter.DrawListBoxControl(&canvas, nullptr, CRect(0, 0, 150, 22), FALSE, TRUE, nullptr));

    struct Case
    {
        CXTPControl* pControl;
        BOOL bSelected;
        int nColumn, nBody, nField;   // the icon column, the entry's right part, the combo's field
    } cases[] = {
        {pButton, FALSE, 30, 41, nNone},
        {pButton, TRUE, 31, 31, nNone},
        {pCombo, FALSE, 30, 41, 5},
        {pCombo, TRUE, 31, 31, 5},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << k.pControl->GetID() << (k.bSelected ? " selected" : ""));
        CPixelCanvas entry(150, 22, clrCanvas);
        CRect rc(0, 0, 150, 22);
        painter.DrawListBoxControl(&entry, k.pControl, rc, k.bSelected, TRUE, nullptr);
        EXPECT_EQ(painter.GetColor(k.nColumn), entry.At(3, 11));
        if (k.nField == nNone) {
            EXPECT_EQ(painter.GetColor(k.nBody), entry.At(145, 3));
        } else {
            // The field box ends at the right edge, framed in 32 when selected, else in 15, filled with 5.
            EXPECT_EQ(painter.GetColor(k.bSelected ? 32 : COLOR_3DFACE), entry.At(149, 11));
            EXPECT_EQ(painter.GetColor(k.nField), entry.At(110, 11));
        }
    }
}

TEST_F(BarFieldsPaintTest, RarelyUsedCommandsOfAnExpandedPopupStandOnTheirBand)
{
    auto* pCommandBars = new CXTPCommandBars;
    pCommandBars->GetCommandBarsOptions()->bAlwaysShowFullMenus = FALSE;
    UINT hidden[] = {702};
    pCommandBars->HideCommands(hidden, 1);
    CXTPPopupBar* pPopup = CXTPPopupBar::CreatePopupBar(pCommandBars);
    for (int nId : {701, 702})
        pPopup->GetControls()->Add(xtpControlButton, nId)->SetCaption(L"Voce");
    pPopup->UpdateExpandingState();
    pPopup->ExpandBar();
    pPopup->UpdateExpandingState();
    ASSERT_TRUE(pPopup->IsExpanded());

    CXTPBarThemeShadowed shadowed;
    CXTPBarThemeGradient gradient;
    struct Case
    {
        CXTPBarThemeShadowed* pPainter;
        int nId;
        BOOL bBand;
    } cases[] = {{&shadowed, 701, FALSE}, {&shadowed, 702, TRUE}, {&gradient, 701, FALSE}, {&gradient, 702, TRUE}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.pPainter->GetThemeId() << " " << c.nId);
        CXTPControl* pControl = pPopup->GetControls()->FindControl(c.nId);
        pControl->SetRect(CRect(2, 0, 150, 24));
        CPixelCanvas canvas(160, 24, clrCanvas);
        c.pPainter->DrawPopupBarControl(&canvas, pControl, TRUE);
        // The band: theme 1 in colour 42, theme 2 a gradient of its band colours (from x = 1).
        int nColumn = std::max(20, c.pPainter->GetTextHeight() + 4);
        CPixelCanvas band(160, 24, clrCanvas);
        c.pPainter->FillBarBand(&band, 1, 0, nColumn + 1, 24, TRUE);
        ASSERT_NE(clrCanvas, band.At(2, 12));
        for (int x : {2, nColumn})
            EXPECT_EQ(c.bBand ? band.At(x, 12) : clrCanvas, canvas.At(x, 12)) << x;
    }
    CPixelCanvas band(10, 10, clrCanvas);
    shadowed.FillBarBand(&band, 0, 0, 10, 10, TRUE);
    EXPECT_EQ(shadowed.GetColor(42), band.At(5, 5));
    pPopup->InternalRelease();
    pCommandBars->InternalRelease();
}

TEST_F(BarFieldsPaintTest, AnEditIconWidensTheComboAndStandsLeftOfItsText)
{
    CTestImages images;
    images.m_icons[77];
    m_pBar->SetImageManager(&images);
    auto* pCombo = static_cast<CXTPControlComboBox*>(m_pBar->GetControls()->Add(xtpControlComboBox, 501));
    pCombo->SetEditText(L"Roma");
    CXTPBarThemeShadowed& painter = *UsePainter<CXTPBarThemeShadowed>();
    CPixelCanvas measure(4, 4);
    CSize szPlain = pCombo->GetSize(&measure);
    pCombo->SetEditIconId(77);
    CSize szIcon = pCombo->GetSize(&measure);
    EXPECT_EQ(szPlain.cx + 16 + 2, szIcon.cx);
    EXPECT_EQ(szPlain.cy, szIcon.cy);

    CRect rc(CPoint(2, 2), szIcon);
    pCombo->SetRect(rc);
    CPixelCanvas canvas(200, 40, clrCanvas);
    painter.DrawControl(&canvas, pCombo, TRUE);
    // The icon (a red square) at the field's left, centred in its height; the text after it.
    COLORREF clrIcon = CTestIcon::ImageColor(CXTPBarIcon::imageNormal);
    int yIcon = rc.top + 1 + (rc.Height() - 2 - 16) / 2;
    EXPECT_EQ(clrIcon, canvas.At(rc.left + 3, yIcon));
    EXPECT_EQ(clrIcon, canvas.At(rc.left + 3 + 15, yIcon + 15));
    EXPECT_NE(clrIcon, canvas.At(rc.left + 3 + 16, yIcon + 8));
    m_pBar->SetImageManager(nullptr);
}

// A slide grows every visible control from its top, one step of the duration at a time.
TEST_F(BarFieldsPaintTest, TheSlideGrowsEachVisibleControlFromItsTop)
{
    CXTPControl* pShown = m_pBar->GetControls()->Add(xtpControlButton, 9601);
    CXTPControl* pHidden = m_pBar->GetControls()->Add(xtpControlButton, 9602);
    pShown->SetRect(CRect(10, 4, 30, 20));
    pHidden->SetRect(CRect(40, 4, 60, 20));
    pHidden->SetHideFlags(1);
    CPixelCanvas source(80, 30, RGB(200, 0, 0));
    CPixelCanvas dest(80, 30, clrCanvas);
    // Each pause notes how many rows of the shown control the slide has painted so far.
    struct CSlideProbe : CXTPBarThemeDefault
    {
        CPixelCanvas* m_pDest = nullptr;
        std::vector<std::pair<DWORD, int>> m_steps;
        void AnimationPause(DWORD dwMilliseconds) override
        {
            int nRows = 0;
            for (int y = 0; y < 30; y++)
                nRows += m_pDest->At(20, y) == RGB(200, 0, 0);
            m_steps.emplace_back(dwMilliseconds, nRows);
        }
    } painter;
    painter.m_pDest = &dest;
    painter.SetAnimation(4, 100);
    EXPECT_EQ(4, painter.AnimateSlide(m_pBar, &dest, &source, TRUE));
    const std::vector<std::pair<DWORD, int>> expected = {{25, 4}, {25, 8}, {25, 12}, {25, 16}};
    EXPECT_EQ(expected, painter.m_steps);
    EXPECT_EQ(RGB(200, 0, 0), dest.At(10, 4));
    EXPECT_EQ(clrCanvas, dest.At(9, 4));
    EXPECT_EQ(clrCanvas, dest.At(50, 10)) << "the hidden control stays";
    painter.SetAnimation(0, 100);
    EXPECT_EQ(0, painter.AnimateSlide(m_pBar, &dest, &source, TRUE));
}
