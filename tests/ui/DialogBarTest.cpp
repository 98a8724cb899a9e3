// The dialog bar on the test frame: its caption, the hosted window's place, the sizing edges as a table, resizing
// that keeps a minimum, the caption menu, the close button, and the client sizes kept with the bars' layout.
#include "FrameTestFixture.h"
#include "PixelCanvas.h"

#include "ui/commandbars/XTPDialogBar.h"
#include "ui/commandbars/XTPPopupBar.h"
#include "ui/persist/PropExchangeRegistry.h"
#include "ui/themes/BarPainter.h"

#include <set>

#include <gtest/gtest.h>

namespace
{
class DialogBarTest : public CFrameTestFixture
{
protected:
    CXTPDialogBar* m_pBar = nullptr;
    CWnd m_list;

    void SetUp() override
    {
        CFrameTestFixture::SetUp();
        if (HasFatalFailure())
            return;
        m_pBar = static_cast<CXTPDialogBar*>(
            m_pFrame->GetCommandBars()->Add(L"Proprieta", xtpBarTop, RUNTIME_CLASS(CXTPDialogBar)));
        ASSERT_NE(nullptr, m_pBar);
        ASSERT_TRUE(m_list.CreateEx(0, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | LBS_NOINTEGRALHEIGHT,
                                    CRect(0, 0, 10, 10), m_pBar, 100));
        m_pBar->SetSize(CSize(180, 90));
        m_pBar->SetChild(&m_list);
        Layout();
    }
    CRect ChildRect() const
    {
        CRect rc;
        m_list.GetWindowRect(&rc);
        m_pBar->ScreenToClient(&rc);
        return rc;
    }
    CXTPControl* Control(int nId) const { return m_pBar->GetControls()->FindControl(nId); }
    int TextHeight() const { return m_pBar->GetCaptionHeight() - 3; }
};
} // namespace

TEST_F(DialogBarTest, TheWindowFillsTheClientAreaUnderTheCaption)
{
    EXPECT_FALSE(m_pBar->IsCustomizable());
    ASSERT_GT(TextHeight(), 0);
    CRect rcBar;
    m_pBar->GetClientRect(&rcBar);
    EXPECT_EQ(90 + 6 + TextHeight(), rcBar.Height());
    EXPECT_EQ(CRect(3, 3 + TextHeight(), rcBar.right - 3, rcBar.bottom - 3), ChildRect());

    // The caption: the title across, the close button at the right edge.
    CXTPControl* pCaption = Control(XTP_ID_DIALOGBAR_CAPTION);
    CXTPControl* pClose = Control(XTP_ID_DIALOGBAR_CLOSE);
    ASSERT_NE(nullptr, pCaption);
    ASSERT_NE(nullptr, pClose);
    EXPECT_EQ(CString(L"Proprieta"), pCaption->GetCaption());
    const int nTop = 3 + TextHeight() / 2 - 8;
    EXPECT_EQ(CRect(rcBar.right - 16, nTop, rcBar.right, nTop + 16), pClose->GetRect());
    EXPECT_EQ(CRect(3, nTop, rcBar.right - 16, nTop + 16), pCaption->GetRect());
    m_pBar->SetCaption(L"Dettagli");
    EXPECT_EQ(CString(L"Dettagli"), pCaption->GetCaption());

    // Without the caption the window moves up to the border.
    m_pBar->SetCaptionVisible(FALSE);
    Layout();
    m_pBar->GetClientRect(&rcBar);
    EXPECT_EQ(96, rcBar.Height());
    EXPECT_EQ(CRect(3, 3, rcBar.right - 3, rcBar.bottom - 3), ChildRect());
    EXPECT_FALSE(pCaption->IsVisible());
    EXPECT_FALSE(pClose->IsVisible());
}

TEST(DialogBarSizing, EdgesThatSizeByPosition)
{
    const CRect rc(100, 100, 300, 200);
    const struct
    {
        int nPosition;
        BOOL bStretched;
        CPoint pt;
        UINT nExpected;
    } cases[] = {
        {xtpBarFloating, FALSE, {101, 101}, HTTOPLEFT},
        {xtpBarFloating, FALSE, {298, 101}, HTTOPRIGHT},
        {xtpBarFloating, FALSE, {101, 198}, HTBOTTOMLEFT},
        {xtpBarFloating, FALSE, {298, 198}, HTBOTTOMRIGHT},
        {xtpBarFloating, FALSE, {200, 101}, HTTOP},
        {xtpBarFloating, FALSE, {200, 198}, HTBOTTOM},
        {xtpBarFloating, FALSE, {101, 150}, HTLEFT},
        {xtpBarFloating, FALSE, {298, 150}, HTRIGHT},
        {xtpBarFloating, FALSE, {200, 150}, HTNOWHERE},   // inside
        {xtpBarFloating, FALSE, {400, 150}, HTNOWHERE},   // outside
        {xtpBarTop, FALSE, {200, 198}, HTBOTTOM},
        {xtpBarTop, FALSE, {298, 150}, HTRIGHT},
        {xtpBarTop, TRUE, {298, 150}, HTNOWHERE},
        {xtpBarTop, FALSE, {200, 101}, HTNOWHERE},
        {xtpBarBottom, FALSE, {200, 101}, HTTOP},
        {xtpBarBottom, FALSE, {200, 198}, HTNOWHERE},
        {xtpBarLeft, FALSE, {200, 198}, HTBOTTOM},
        {xtpBarLeft, TRUE, {200, 198}, HTNOWHERE},
        {xtpBarLeft, TRUE, {298, 150}, HTRIGHT},
        {xtpBarRight, FALSE, {101, 150}, HTLEFT},
        {xtpBarRight, FALSE, {298, 150}, HTNOWHERE},
        {xtpBarRight, TRUE, {200, 198}, HTNOWHERE},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.nExpected, CXTPDialogBar::SizingHitTest(rc, c.pt, c.nPosition, c.bStretched))
            << c.nPosition << " " << c.bStretched << " " << c.pt.x << "," << c.pt.y;
}

TEST_F(DialogBarTest, ResizingKeepsTheLastSizeBelowTheMinimum)
{
    CRect rcWindow;
    m_pBar->GetWindowRect(&rcWindow);
    const int nFrame = 6 + TextHeight();
    const struct
    {
        UINT nHitTest;
        CSize szWindow;
        BOOL bResized;
        CSize szDocking;   // after the step
    } steps[] = {
        {HTRIGHT, {260 + 6, 90 + nFrame}, TRUE, {260, 90}},
        {HTBOTTOM, {260 + 6, 120 + nFrame}, TRUE, {260, 120}},
        {HTRIGHT, {49 + 6, 120 + nFrame}, FALSE, {260, 120}},
        {HTBOTTOM, {260 + 6, 49 + nFrame}, FALSE, {260, 120}},
        {HTBOTTOM, {260 + 6, 50 + nFrame}, TRUE, {260, 50}},
    };
    for (const auto& s : steps) {
        EXPECT_EQ(s.bResized, m_pBar->ResizeTo(CRect(rcWindow.TopLeft(), s.szWindow), s.nHitTest));
        EXPECT_EQ(s.szDocking, m_pBar->GetDockingClientSize());
    }
    EXPECT_EQ(CSize(180, 90), m_pBar->GetFloatingClientSize());
    PumpFrame(m_pFrame->m_hWnd);
    CRect rcClient;
    m_pBar->GetClientRect(&rcClient);
    EXPECT_EQ(50 + nFrame, rcClient.Height());
}

TEST_F(DialogBarTest, TheTitleOpensTheCaptionMenuOnlyWhenItHasItems)
{
    auto* pCaption = static_cast<CXTPDialogBarCaptionPopup*>(Control(XTP_ID_DIALOGBAR_CAPTION));
    ASSERT_NE(nullptr, pCaption);
    EXPECT_FALSE(pCaption->HasArrow());
    EXPECT_FALSE(pCaption->SetPopup(TRUE));
    EXPECT_FALSE(m_pBar->GetCaptionPopupBar()->IsVisible());

    ASSERT_TRUE(m_pBar->SetPopupMenu(IDR_FRAMETEST));
    Layout();
    EXPECT_TRUE(pCaption->HasArrow());
    EXPECT_GT(m_pBar->GetCaptionPopupBar()->GetControls()->GetCount(), 0);
    m_pBar->EnableCaptionMenu(FALSE);
    Layout();
    EXPECT_FALSE(pCaption->HasArrow());
    EXPECT_FALSE(pCaption->SetPopup(TRUE));

    // The mouse manager's test: the caption strip is the bar's, the client area is not.
    CRect rcWindow;
    m_pBar->GetWindowRect(&rcWindow);
    EXPECT_EQ(1, m_pBar->OnMouseHitTest(CPoint(rcWindow.left + 10, rcWindow.top + 2)));
    EXPECT_EQ(-2, m_pBar->OnMouseHitTest(CPoint(rcWindow.left + 10, rcWindow.bottom - 5)));
}

// A click on the title of a bar without a caption menu does nothing: the bar does not take the keys, so that Tab
// and Enter typed next reach the window with the focus.
TEST_F(DialogBarTest, AClickOnATitleWithoutACaptionMenuLeavesTheKeysToTheFocusedWindow)
{
    CWnd edit;
    ASSERT_TRUE(edit.CreateEx(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_WANTRETURN, CRect(0, 0, 10, 10),
                              m_pBar, 101));
    m_list.ShowWindow(SW_HIDE);
    m_pBar->SetChild(&edit);
    Layout();
    edit.SetFocus();
    ASSERT_EQ(edit.m_hWnd, ::GetFocus());
    CRect rcCaption = Control(XTP_ID_DIALOGBAR_CAPTION)->GetRect();
    m_pBar->ClientToScreen(&rcCaption);
    SendClick(rcCaption.CenterPoint());
    SendKeys({VK_TAB});
    SendKeys({VK_RETURN});
    SendKeys({'A'});
    CString strText;
    PumpUntil(m_pFrame->m_hWnd, [&] {
        edit.GetWindowText(strText);
        return strText.Find(L'a') >= 0;
    }, 5000);
    EXPECT_EQ(CString(L"\t\r\na"), strText);
    EXPECT_FALSE(m_pBar->IsTrackingMode());
    EXPECT_EQ(edit.m_hWnd, ::GetFocus());
    edit.DestroyWindow();
}

TEST_F(DialogBarTest, WithTheCaptionMenuOpenAClickOnTheTitleKeepsItAndOneInTheClientAreaClosesIt)
{
    ASSERT_TRUE(m_pBar->SetPopupMenu(IDR_FRAMETEST));
    Layout();
    CRect rcCaption = Control(XTP_ID_DIALOGBAR_CAPTION)->GetRect();
    m_pBar->ClientToScreen(&rcCaption);
    CXTPPopupBar* pMenu = m_pBar->GetCaptionPopupBar();
    for (int nClick = 0; nClick < 2; nClick++) {
        SendClick(rcCaption.CenterPoint());
        PumpFrame(m_pFrame->m_hWnd);
        ASSERT_TRUE(pMenu->IsTrackingMode()) << nClick;
    }
    // A point of the hosted window that the menu does not cover.
    CRect rcMenu, rcList;
    pMenu->GetWindowRect(&rcMenu);
    m_list.GetWindowRect(&rcList);
    CPoint ptClient(rcList.right - 4, rcList.bottom - 4);
    ASSERT_FALSE(rcMenu.PtInRect(ptClient));
    SendClick(ptClient);
    PumpFrame(m_pFrame->m_hWnd);
    EXPECT_FALSE(pMenu->IsTrackingMode());
}

TEST_F(DialogBarTest, TheCloseButtonHidesTheBar)
{
    CXTPControl* pClose = Control(XTP_ID_DIALOGBAR_CLOSE);
    ASSERT_NE(nullptr, pClose);
    EXPECT_EQ(CString(L"Chiudi"), pClose->GetTooltip());
    pClose->OnExecute();
    PumpFrame(m_pFrame->m_hWnd);
    EXPECT_FALSE(m_pBar->IsVisible());

    // A bar that cannot be closed has no close button: the title runs to the edge.
    m_pBar->SetVisible(TRUE);
    m_pBar->SetCloseable(FALSE);
    Layout();
    EXPECT_FALSE(pClose->IsVisible());
    CRect rcBar;
    m_pBar->GetClientRect(&rcBar);
    EXPECT_EQ(rcBar.right, Control(XTP_ID_DIALOGBAR_CAPTION)->GetRect().right);
}

TEST_F(DialogBarTest, TheCloseGlyphTakesThePaintersTextColourForTheButtonsState)
{
    CXTPControl* pClose = Control(XTP_ID_DIALOGBAR_CLOSE);
    ASSERT_NE(nullptr, pClose);
    const int nShadowed = CXTPBarPainter::themeShadowed, nDefault = CXTPBarPainter::themeDefault;
    struct CASE
    {
        int nTheme;
        BOOL bEnabled;
        int nSelected, nPressed, nIndex;
    } cases[] = {{nShadowed, TRUE, 0, 0, 46}, {nShadowed, TRUE, 1, 0, 45}, {nShadowed, TRUE, 1, 1, 47},
                 {nShadowed, FALSE, 0, 0, 40}, {nDefault, TRUE, 1, 1, COLOR_BTNTEXT},
                 {nDefault, FALSE, 0, 0, COLOR_GRAYTEXT}};
    const COLORREF clrCanvas = RGB(1, 2, 3);
    for (const CASE& c : cases) {
        CXTPBarPainter* pPainter = CXTPBarPainter::CreateTheme(c.nTheme);
        m_pFrame->GetCommandBars()->SetPaintManager(pPainter);
        // Each text colour a theme may choose made unmistakable.
        const int indices[] = {COLOR_GRAYTEXT, COLOR_BTNTEXT, 40, 45, 46, 47};
        for (int i = 0; i < 6; i++)
            pPainter->SetColor(indices[i], RGB(30 + 40 * i, 200 - 30 * i, 11 * i));
        pClose->SetEnabled(c.bEnabled);
        pClose->CXTPControl::SetSelected(c.nSelected);
        pClose->SetPressed(c.nPressed);
        CRect rc = pClose->GetRect();
        CPixelCanvas canvas(rc.right, rc.bottom, clrCanvas);
        pClose->Draw(&canvas);
        // The glyph's solid pixels carry the colour (its edges are smoothed into the background).
        std::set<COLORREF> colours;
        for (int x = rc.left; x < rc.right; x++)
            for (int y = rc.top; y < rc.bottom; y++)
                colours.insert(canvas.At(x, y));
        EXPECT_EQ(1u, colours.count(pPainter->GetColor(c.nIndex))) << "theme " << c.nTheme << ", colour " << c.nIndex;
    }
}

TEST(DialogBarStateTest, ClientSizesComeBackWithTheBarsLayout)
{
    const LPCTSTR kCompany = L"QuarzelTestsDialogBar";
    CWinApp app(L"ProvaBarraDialogo");
    app.SetRegistryKey(kCompany);
    auto open = [](CTestFrame*& pFrame) -> CXTPDialogBar* {
        pFrame = CreateTestFrame();
        if (!pFrame)
            return nullptr;
        auto* pBar = static_cast<CXTPDialogBar*>(
            pFrame->GetCommandBars()->Add(L"Proprieta", xtpBarTop, RUNTIME_CLASS(CXTPDialogBar)));
        if (pBar)
            pBar->SetBarID(400);   // bars are matched by id
        return pBar;
    };
    CTestFrame* pFrame = nullptr;
    CXTPDialogBar* pBar = open(pFrame);
    ASSERT_NE(nullptr, pBar);
    pBar->SetClientSizes(CSize(240, 70), CSize(150, 160));
    pFrame->GetCommandBars()->SaveBarState(L"CommandBars");
    EXPECT_EQ(1u, app.GetProfileInt(L"CommandBars-Bar2", L"DialogBar", 0));
    EXPECT_EQ(240u, app.GetProfileInt(L"CommandBars-Bar2", L"DialogBarDockingClientCx", 0));
    pFrame->DestroyWindow();
    PumpFrame(nullptr);

    pBar = open(pFrame);
    ASSERT_NE(nullptr, pBar);
    EXPECT_EQ(CSize(200, 200), pBar->GetDockingClientSize());
    pFrame->GetCommandBars()->LoadBarState(L"CommandBars");
    EXPECT_EQ(CSize(240, 70), pBar->GetDockingClientSize());
    EXPECT_EQ(CSize(150, 160), pBar->GetFloatingClientSize());
    pFrame->DestroyWindow();
    PumpFrame(nullptr);
    AfxDelRegTreeHelper(HKEY_CURRENT_USER, CString(L"Software\\") + kCompany);
}

TEST_F(DialogBarTest, AQuitRequestDuringAnEdgeDragEndsItAndStaysForTheProgramsLoop)
{
    CRect rcBar;
    m_pBar->GetWindowRect(&rcBar);
    // Posted from inside the drag's loop, once it holds the mouse.
    RunWhen([this] { return ::GetCapture() == m_pBar->m_hWnd; }, [] { ::PostQuitMessage(7); });
    m_pBar->SendMessage(WM_NCLBUTTONDOWN, HTRIGHT, MAKELPARAM(rcBar.right - 1, rcBar.CenterPoint().y));
    EXPECT_NE(m_pBar->m_hWnd, ::GetCapture());
    MSG msg;
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(7, static_cast<int>(msg.wParam));
}
