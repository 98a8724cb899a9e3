// The toolbar without a window: its buttons from a list of ids, and its docked and floating layouts with the
// expand and close buttons, over a painter of fixed sizes.
#include "BarTestSupport.h"
#include "FrameTestRes.h"
#include "PixelCanvas.h"
#include "support/MessageBoxRecorder.h"

#include "ui/commandbars/XTPCommandBars.h"
#include "ui/commandbars/XTPMenuBar.h"
#include "ui/persist/ImageManager.h"

#include <gtest/gtest.h>

namespace
{
// Buttons of 23 by 22, borders of 2, a docked gripper 6 wide, a floating caption 15 high, and an expand button
// across the last 17 pixels of the size a layout makes.
class CLayoutPainter : public CFakePainter
{
public:
    CSize DrawCommandBarGripper(CDC*, CXTPCommandBar* pBar, BOOL) override
    {
        return pBar->GetPosition() == xtpBarFloating ? CSize(0, 15) : CSize(6, 0);
    }
    CSize DrawGlyph(CDC*, CXTPCommandBar* pBar, int nGlyph, CXTPControl* pControl, BOOL bDraw,
                    const CSize* pszBar) override
    {
        if (bDraw || nGlyph != glyphExpand || !pszBar)
            return CSize(0, 0);
        CSize sz = *pszBar;
        pControl->SetRect(pBar->GetPosition() == xtpBarLeft ? CRect(0, sz.cy - 17, sz.cx, sz.cy)
                                                            : CRect(sz.cx - 17, 0, sz.cx, sz.cy));
        return pControl->GetRect().Size();
    }
};

class ToolBarTest : public ::testing::Test
{
protected:
    CXTPCommandBars* m_pCommandBars = new CXTPCommandBars;

    void TearDown() override { m_pCommandBars->InternalRelease(); }
    // A bar of the class with three buttons, bound to the manager (or to none), on the layout painter.
    CXTPToolBar* MakeBar(CRuntimeClass* pClass, BOOL bManager)
    {
        auto* pBar = static_cast<CXTPToolBar*>(pClass->CreateObject());
        if (bManager)
            pBar->SetCommandBars(m_pCommandBars);
        pBar->SetPaintManager(new CLayoutPainter);
        UINT ids[] = {101, 102, 103};
        pBar->SetButtons(ids, 3);
        return pBar;
    }
    static CXTPControl* Own(CXTPToolBar* pBar, int nId) { return pBar->GetControls()->FindControl(nId); }
};
}

TEST_F(ToolBarTest, SeparatorsBeginTheNextButtonsGroupOnce)
{
    CXTPToolBar* pBar = MakeBar(RUNTIME_CLASS(CXTPToolBar), TRUE);
    UINT ids[] = {0, 101, 0, 0, 102, 103, 0};
    pBar->SetButtons(ids, static_cast<int>(std::size(ids)));
    CXTPControls* pControls = pBar->GetControls();
    ASSERT_EQ(3, pControls->GetCount());
    EXPECT_TRUE(pControls->GetAt(0)->GetBeginGroup());
    EXPECT_TRUE(pControls->GetAt(1)->GetBeginGroup());
    EXPECT_FALSE(pControls->GetAt(2)->GetBeginGroup());
    pBar->InternalRelease();
}

TEST_F(ToolBarTest, DockedLayoutReservesRoomForTheExpandButtonAsTheOptionsSay)
{
    const DWORD dwCommit = LM_HORZ | LM_HORZDOCK | LM_COMMIT | xtpLayoutHideWrap;
    struct Case
    {
        const char* pszName;
        BOOL bExpandAlways;
        int nLength;
        DWORD dwMode;
        CSize szExpected;
        BOOL bExpandShown;
        int nShownButtons;
    } cases[] = {
        // Three buttons of 23 between a left margin of 2 + 6 and a right margin of 2.
        {"always: room kept", TRUE, 500, dwCommit, {90, 26}, TRUE, 3},
        {"all fit", FALSE, 500, dwCommit, {79, 26}, FALSE, 3},
        // Short of room the bar takes the whole length; two buttons fit beside the expand button.
        {"too narrow: room for the button", FALSE, 70, dwCommit, {70, 26}, TRUE, 2},
        {"vertical, always", TRUE, 500, LM_VERTDOCK | LM_COMMIT | xtpLayoutHideWrap, {0, 0}, TRUE, 3},
    };
    for (const Case& c : cases) {
        m_pCommandBars->GetCommandBarsOptions()->bShowExpandButtonAlways = c.bExpandAlways;
        CXTPToolBar* pBar = MakeBar(RUNTIME_CLASS(CXTPToolBar), TRUE);
        pBar->CXTPCommandBar::SetPosition(c.dwMode & LM_VERTDOCK ? xtpBarLeft : xtpBarTop);
        CSize sz = pBar->CalcDockingLayout(c.nLength, c.dwMode);
        if (c.szExpected.cx) {
            EXPECT_EQ(c.szExpected, sz) << c.pszName;
        }
        CXTPControl* pExpand = Own(pBar, XTP_ID_TOOLBAR_EXPAND);
        ASSERT_NE(nullptr, pExpand) << c.pszName;
        EXPECT_EQ(c.bExpandShown, pExpand->IsVisible()) << c.pszName;
        if (c.bExpandShown) {
            // Where the painter puts it for the size found.
            CRect rcExpected = c.dwMode & LM_HORZDOCK ? CRect(sz.cx - 17, 0, sz.cx, sz.cy)
                                                      : CRect(0, sz.cy - 17, sz.cx, sz.cy);
            EXPECT_EQ(rcExpected, pExpand->GetRect()) << c.pszName;
        }
        int nShown = 0;
        for (int nId : {101, 102, 103})
            nShown += Own(pBar, nId)->IsVisible() ? 1 : 0;
        EXPECT_EQ(c.nShownButtons, nShown) << c.pszName;
        EXPECT_EQ(nullptr, Own(pBar, XTP_ID_TOOLBAR_HIDE)) << c.pszName;
        pBar->InternalRelease();
    }
}

TEST_F(ToolBarTest, DockedLayoutWithoutAManagerHasNoExpandButton)
{
    CXTPToolBar* pBar = MakeBar(RUNTIME_CLASS(CXTPToolBar), FALSE);
    pBar->CXTPCommandBar::SetPosition(xtpBarTop);
    EXPECT_EQ(CSize(79, 26), pBar->CalcDockingLayout(500, LM_HORZ | LM_HORZDOCK | LM_COMMIT));
    EXPECT_EQ(nullptr, Own(pBar, XTP_ID_TOOLBAR_EXPAND));
    pBar->InternalRelease();
}

TEST_F(ToolBarTest, ACloneBelongsToTheSameManagerAndMayBeChangedOnlyWhereTheBarMay)
{
    CXTPToolBar* pBar = MakeBar(RUNTIME_CLASS(CXTPToolBar), TRUE);
    pBar->SetCustomizable(FALSE);
    CXTPCommandBar* pClone = pBar->Clone(TRUE);
    EXPECT_EQ(m_pCommandBars, pClone->GetCommandBars());
    EXPECT_FALSE(pClone->IsCustomizable());
    pClone->InternalRelease();
    pBar->InternalRelease();
}

TEST_F(ToolBarTest, FloatingLayoutPutsCloseAndExpandButtonsInTheCaption)
{
    struct Case
    {
        const char* pszName;
        CRuntimeClass* pClass;
        BOOL bCloseable;
        BOOL bExpandAlways;
        BOOL bClose, bExpand;
    } cases[] = {
        {"toolbar", RUNTIME_CLASS(CXTPToolBar), TRUE, TRUE, TRUE, TRUE},
        {"not closeable", RUNTIME_CLASS(CXTPToolBar), FALSE, TRUE, FALSE, TRUE},
        {"expand not always", RUNTIME_CLASS(CXTPToolBar), TRUE, FALSE, TRUE, FALSE},
        {"menu bar", RUNTIME_CLASS(CXTPMenuBar), TRUE, TRUE, FALSE, FALSE},
    };
    for (const Case& c : cases) {
        m_pCommandBars->GetCommandBarsOptions()->bShowExpandButtonAlways = c.bExpandAlways;
        CXTPToolBar* pBar = MakeBar(c.pClass, TRUE);
        pBar->SetCloseable(c.bCloseable);
        pBar->CXTPCommandBar::SetPosition(xtpBarFloating);
        // One row: margins 3 and 3 across, the caption of 15 plus 4 above, 3 below.
        CSize sz = pBar->CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH | LM_COMMIT);
        EXPECT_EQ(CSize(75, 44), sz) << c.pszName;
        CXTPControl* pClose = Own(pBar, XTP_ID_TOOLBAR_HIDE);
        CXTPControl* pExpand = Own(pBar, XTP_ID_TOOLBAR_EXPAND);
        EXPECT_EQ(c.bClose, pClose && pClose->IsVisible()) << c.pszName;
        EXPECT_EQ(c.bExpand, pExpand && pExpand->IsVisible()) << c.pszName;
        int nRight = 72;
        if (c.bClose) {
            EXPECT_EQ(CRect(57, 3, 72, 18), pClose->GetRect()) << c.pszName;
            nRight = 57;
        }
        if (c.bExpand) {
            EXPECT_EQ(CRect(nRight - 15, 3, nRight, 18), pExpand->GetRect()) << c.pszName;
        }
        pBar->InternalRelease();
    }
}

TEST(MenuBarMdi, ButtonsOfAMaximisedChildFollowItsStyleAndTheBarsFlags)
{
    const DWORD dwBoxes = WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    struct Case
    {
        const char* pszName;
        BOOL bMaximized;
        DWORD dwStyle, dwFlags;
        BOOL bHasSysMenu;
        XTP_MDI_BUTTONS expected;   // system menu, minimise, restore, close
    } cases[] = {
        {"not maximised", FALSE, dwBoxes, xtpFlagAddMDISysPopup, TRUE, {FALSE, FALSE, FALSE, FALSE}},
        {"maximised", TRUE, dwBoxes, 0, TRUE, {FALSE, TRUE, TRUE, TRUE}},
        {"with the system menu", TRUE, dwBoxes, xtpFlagAddMDISysPopup, TRUE, {TRUE, TRUE, TRUE, TRUE}},
        {"no system menu to show", TRUE, dwBoxes, xtpFlagAddMDISysPopup, FALSE, {FALSE, TRUE, TRUE, TRUE}},
        {"no minimise box", TRUE, WS_MAXIMIZEBOX, 0, TRUE, {FALSE, FALSE, TRUE, TRUE}},
        {"flags leave buttons out", TRUE, dwBoxes, xtpFlagHideMinimizeBox | xtpFlagHideMaximizeBox | xtpFlagHideClose,
         TRUE, {FALSE, FALSE, FALSE, FALSE}},
    };
    for (const Case& c : cases) {
        XTP_MDI_BUTTONS buttons = GetWantedMdiButtons(c.bMaximized, c.dwStyle, c.dwFlags, c.bHasSysMenu);
        EXPECT_EQ(c.expected.bSysMenu, buttons.bSysMenu) << c.pszName;
        EXPECT_EQ(c.expected.bMinimize, buttons.bMinimize) << c.pszName;
        EXPECT_EQ(c.expected.bRestore, buttons.bRestore) << c.pszName;
        EXPECT_EQ(c.expected.bClose, buttons.bClose) << c.pszName;
    }
}

namespace
{
// Text in magenta for a hot control, in green otherwise (colours come back from the painter as they are).
class CStateColourPainter : public CFakePainter
{
public:
    int GetControlTextColorIndex(BOOL, int nSelected, int, BOOL, BOOL, int) override
    {
        return static_cast<int>(nSelected ? RGB(255, 0, 255) : RGB(0, 128, 0));
    }
};
} // namespace

TEST(MenuBarMdi, AWindowButtonDrawsItsGlyphInThePaintersTextColourForItsState)
{
    auto* pBar = new CXTPMenuBar;
    pBar->SetPaintManager(new CStateColourPainter);
    CXTPControl* pClose = pBar->GetControls()->AddControl(new CXTPMenuBarMDIButton, XTP_ID_MENUBAR_CLOSE);
    pClose->SetCaption(L"r");
    pClose->SetRect(CRect(0, 0, 16, 16));
    struct Case
    {
        int nSelected;
        COLORREF clrGlyph, clrOther;
    } cases[] = {{0, RGB(0, 128, 0), RGB(255, 0, 255)}, {1, RGB(255, 0, 255), RGB(0, 128, 0)}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nSelected);
        pClose->SetSelected(c.nSelected);
        CPixelCanvas canvas(16, 16);
        pClose->Draw(&canvas);
        int nGlyph = 0, nOther = 0;
        for (int y = 0; y < 16; y++)
            for (int x = 0; x < 16; x++) {
                nGlyph += canvas.At(x, y) == c.clrGlyph;
                nOther += canvas.At(x, y) == c.clrOther;
            }
        EXPECT_GT(nGlyph, 10);
        EXPECT_EQ(0, nOther);
    }
    pBar->InternalRelease();
}

TEST_F(ToolBarTest, OnlyAResourceOfIconsOtherThan16WideGivesTheBarItsIconSize)
{
    struct Case
    {
        UINT nId;
        int nButtons;
        CSize szExpected;
    } cases[] = {{IDR_FRAMETEST, 3, {16, 16}}, {IDR_FRAMETEST_LARGE, 2, {24, 24}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nId);
        CXTPToolBar* pBar = MakeBar(RUNTIME_CLASS(CXTPToolBar), FALSE);
        auto* pImages = new CXTPImageManager;
        pImages->SetMaskColor(0xC0C0C0);
        pBar->SetImageManager(pImages);
        ASSERT_TRUE(pBar->LoadToolBar(c.nId, TRUE));
        EXPECT_EQ(c.nButtons, pBar->GetControls()->GetCount());
        EXPECT_EQ(c.szExpected, pBar->GetIconSize());
        EXPECT_NE(nullptr, pImages->GetImage(ID_FT_OPEN, c.szExpected.cx));
        pBar->InternalRelease();
    }
}

TEST_F(ToolBarTest, ResetAsksAndPutsTheResourcesButtonsBack)
{
    CXTPToolBar* pBar = MakeBar(RUNTIME_CLASS(CXTPToolBar), TRUE);
    pBar->SetTitle(L"Standard");
    ASSERT_TRUE(pBar->LoadToolBar(IDR_FRAMETEST, FALSE));
    pBar->GetControls()->Remove(0);
    ASSERT_EQ(2, pBar->GetControls()->GetCount());
    struct Case
    {
        int nAnswer;
        int nCount;
    } cases[] = {{IDCANCEL, 2}, {IDOK, 3}};
    for (const Case& c : cases) {
        CMessageBoxRecorder recorder(c.nAnswer);
        pBar->Reset();
        ASSERT_EQ(1u, recorder.Count());
        EXPECT_EQ(CString(L"Annullare le modifiche apportate a 'Standard' alla barra degli strumenti?"),
                  recorder.Last().text);
        EXPECT_EQ(static_cast<UINT>(MB_ICONWARNING), recorder.LastIcon());
        EXPECT_EQ(static_cast<UINT>(MB_OKCANCEL), recorder.LastButtons());
        EXPECT_EQ(c.nCount, pBar->GetControls()->GetCount()) << c.nAnswer;
    }
    EXPECT_EQ(ID_FT_NEW, pBar->GetControls()->GetAt(0)->GetID());
    // A bar the user made is not reset.
    pBar->SetBuiltIn(FALSE);
    CMessageBoxRecorder recorder;
    pBar->Reset();
    EXPECT_EQ(0u, recorder.Count());
    pBar->InternalRelease();
}
