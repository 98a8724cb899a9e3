#include "ImageManagerTestRes.h"
#include "PixelCanvas.h"
#include "StatusBarTestRes.h"
#include "ui/commandbars/XTPCommandBars.h"
#include "ui/commandbars/XTPStatusBar.h"
#include "ui/commandbars/XTPStatusBarPaneWnd.h"
#include "ui/persist/ImageManager.h"
#include "ui/themes/BarThemeDefault.h"
#include "ui/themes/ColorTable.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace
{
// A status bar that counts the texts it hands to the control.
class CCountingStatusBar : public CXTPStatusBar
{
public:
    int m_nSetTexts = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == SB_SETTEXTW)
            ++m_nSetTexts;
        return CXTPStatusBar::WindowProc(message, wParam, lParam);
    }
};

// A frame whose update handler writes the text pane.
class CStatusFrame : public CFrameWnd
{
public:
    CString m_strPaneText = L"Esercizio 2009";

protected:
    afx_msg void OnUpdateText(CCmdUI* pCmdUI) { pCmdUI->SetText(m_strPaneText); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CStatusFrame, CFrameWnd)
    ON_UPDATE_COMMAND_UI(IDS_STATUSTEST_TEXT, &CStatusFrame::OnUpdateText)
END_MESSAGE_MAP()

const UINT kIndicators[] = {0, IDS_STATUSTEST_TEXT, ID_INDICATOR_CAPS, ID_INDICATOR_NUM};

class StatusBarTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_pFrame = new CStatusFrame();
        ASSERT_TRUE(m_pFrame->Create(nullptr, L"Stato", WS_OVERLAPPEDWINDOW, CRect(0, 0, 640, 200)));
        ASSERT_TRUE(m_bar.Create(m_pFrame));
        ASSERT_TRUE(m_bar.SetIndicators(kIndicators, 4));
        m_pFrame->RecalcLayout();
    }
    void TearDown() override
    {
        m_bar.DestroyWindow();
        if (m_pFrame && m_pFrame->m_hWnd)
            m_pFrame->DestroyWindow();
    }

    // The text the control holds for a part.
    std::wstring PartText(int nPart)
    {
        WCHAR szText[128] = {};
        if (LOWORD(m_bar.SendMessage(SB_GETTEXTLENGTHW, nPart)) >= 128)
            return L"?";
        m_bar.SendMessage(SB_GETTEXTW, nPart, reinterpret_cast<LPARAM>(szText));
        return szText;
    }
    int PartCount() { return static_cast<int>(m_bar.SendMessage(SB_GETPARTS, 0, 0)); }

    CStatusFrame* m_pFrame = nullptr;
    CCountingStatusBar m_bar;
};
}

TEST_F(StatusBarTest, PanesTakeTheirTextsAndTheMessagePaneStretches)
{
    ASSERT_EQ(4, m_bar.GetPaneCount());
    EXPECT_EQ(L"Esercizio 2008", std::wstring(m_bar.GetPaneText(1)));
    EXPECT_EQ(L"MAIUSC", std::wstring(m_bar.GetPaneText(2)));
    EXPECT_TRUE(m_bar.GetPaneStyle(0) & CXTPStatusBarPane::styleStretch);
    EXPECT_EQ(4, PartCount());
    EXPECT_EQ(L"Esercizio 2008", PartText(1));
    EXPECT_EQ(2, m_bar.CommandToIndex(ID_INDICATOR_CAPS));
    EXPECT_EQ(-1, m_bar.CommandToIndex(12345));
    EXPECT_EQ(nullptr, m_bar.GetPane(4));

    // The bar sits along the frame's bottom, and the message pane takes what the fixed panes leave.
    CRect rcClient, rcBar, rcMessage, rcNum;
    m_pFrame->GetClientRect(&rcClient);
    m_bar.GetWindowRect(&rcBar);
    m_pFrame->ScreenToClient(&rcBar);
    EXPECT_EQ(rcClient.bottom, rcBar.bottom);
    EXPECT_GE(rcBar.Height(), 20);
    m_bar.GetItemRect(0, &rcMessage);
    m_bar.GetItemRect(3, &rcNum);
    EXPECT_GT(rcMessage.Width(), rcClient.Width() / 2);
    EXPECT_EQ(rcNum.left + 3 * ::GetSystemMetrics(SM_CXEDGE) + m_bar.GetPane(3)->GetWidth(), rcNum.right);
}

TEST_F(StatusBarTest, WindowTextMessagesWorkOnTheMessagePaneAsWin32Does)
{
    EXPECT_EQ(TRUE, m_bar.SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Pronto")));
    EXPECT_EQ(L"Pronto", std::wstring(m_bar.GetPaneText(0)));
    EXPECT_EQ(L"Pronto", PartText(0));
    EXPECT_EQ(6, m_bar.SendMessage(WM_GETTEXTLENGTH, 0, 0));

    struct Case
    {
        WPARAM nMaxCount;
        LRESULT nResult;
        std::wstring strText;
    } cases[] = {{32, 6, L"Pronto"}, {6, 5, L"Pront"}, {1, 0, L""}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.nMaxCount);
        WCHAR szText[40];
        std::fill(std::begin(szText), std::end(szText), L'#');
        EXPECT_EQ(c.nResult, m_bar.SendMessage(WM_GETTEXT, c.nMaxCount, reinterpret_cast<LPARAM>(szText)));
        EXPECT_EQ(c.strText, std::wstring(szText));
        EXPECT_EQ(L'#', szText[c.nMaxCount]);
    }
    // GetWindowText goes through the same answers.
    WCHAR szWindow[16] = {};
    EXPECT_EQ(6, ::GetWindowTextW(m_bar.m_hWnd, szWindow, 16));
    EXPECT_EQ(std::wstring(L"Pronto"), szWindow);

    // Without a message pane there is no text to set or read.
    const UINT noMessage[] = {IDS_STATUSTEST_TEXT};
    ASSERT_TRUE(m_bar.SetIndicators(noMessage, 1));
    EXPECT_EQ(FALSE, m_bar.SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Pronto")));
    WCHAR szEmpty[8] = {L'#'};
    EXPECT_EQ(0, m_bar.SendMessage(WM_GETTEXT, 8, reinterpret_cast<LPARAM>(szEmpty)));
    EXPECT_EQ(L'\0', szEmpty[0]);
    EXPECT_EQ(0, m_bar.SendMessage(WM_GETTEXTLENGTH, 0, 0));
}

TEST_F(StatusBarTest, TextsReachTheControlOnlyWhenTheyChangeAndNotForDisabledPanes)
{
    m_bar.m_nSetTexts = 0;
    EXPECT_TRUE(m_bar.SetPaneText(1, L"Esercizio 2010"));
    EXPECT_TRUE(m_bar.SetPaneText(1, L"Esercizio 2010"));
    EXPECT_EQ(1, m_bar.m_nSetTexts);

    m_bar.SetPaneStyle(1, m_bar.GetPaneStyle(1) | CXTPStatusBarPane::styleDisabled);
    EXPECT_EQ(L"", PartText(1));
    EXPECT_EQ(L"Esercizio 2010", std::wstring(m_bar.GetPaneText(1)));
    m_bar.SetPaneStyle(1, m_bar.GetPaneStyle(1) & ~CXTPStatusBarPane::styleDisabled);
    EXPECT_EQ(L"Esercizio 2010", PartText(1));

    // Without update the text waits for the next pass.
    EXPECT_TRUE(m_bar.SetPaneText(1, L"Rinviato", FALSE));
    EXPECT_EQ(L"Esercizio 2010", PartText(1));
    m_bar.UpdateAllPanes(FALSE, TRUE);
    EXPECT_EQ(L"Rinviato", PartText(1));
}

TEST_F(StatusBarTest, HidingOrRemovingAPaneRenumbersThePartsAndTheirTexts)
{
    m_bar.GetPane(1)->SetVisible(FALSE);
    EXPECT_EQ(3, PartCount());
    EXPECT_EQ(L"MAIUSC", PartText(1));
    EXPECT_EQ(L"NUM", PartText(2));
    EXPECT_FALSE(m_bar.SetPaneText(1, L"Nascosto"));

    m_bar.GetPane(1)->SetVisible(TRUE);
    EXPECT_EQ(L"Nascosto", PartText(1));

    EXPECT_TRUE(m_bar.RemoveIndicator(ID_INDICATOR_CAPS));
    EXPECT_FALSE(m_bar.RemoveIndicator(ID_INDICATOR_CAPS));
    EXPECT_EQ(3, PartCount());
    EXPECT_EQ(L"NUM", PartText(2));
    EXPECT_EQ(2, m_bar.GetPane(2)->GetIndex());

    EXPECT_EQ(nullptr, m_bar.AddIndicator(ID_INDICATOR_NUM, 0));   // already there
    EXPECT_EQ(nullptr, m_bar.AddIndicator(ID_INDICATOR_CAPS, 9));  // no such place
    EXPECT_EQ(nullptr, m_bar.AddIndicator(IDS_STATUSTEST_MISSING, 1));  // no string
    EXPECT_EQ(3, PartCount());
    ASSERT_NE(nullptr, m_bar.AddIndicator(ID_INDICATOR_CAPS, 2));
    EXPECT_EQ(L"MAIUSC", PartText(2));
    EXPECT_EQ(L"NUM", PartText(3));
}

TEST_F(StatusBarTest, AMissingStringStopsTheIndicatorsButKeepsThePanesMade)
{
    const UINT ids[] = {0, IDS_STATUSTEST_MISSING, ID_INDICATOR_NUM};
    EXPECT_FALSE(m_bar.SetIndicators(ids, 3));
    EXPECT_EQ(2, m_bar.GetPaneCount());
    EXPECT_EQ(UINT(IDS_STATUSTEST_MISSING), m_bar.GetItemID(1));
}

TEST_F(StatusBarTest, IdleUpdateWritesPanesAndFollowsTheLockKeys)
{
    BYTE keys[256] = {};
    ASSERT_TRUE(::GetKeyboardState(keys));
    const BYTE saved[2] = {keys[VK_CAPITAL], keys[VK_NUMLOCK]};
    struct Case
    {
        BOOL bCaps, bNum;
    } cases[] = {{TRUE, FALSE}, {FALSE, TRUE}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.bCaps);
        keys[VK_CAPITAL] = c.bCaps ? 1 : 0;
        keys[VK_NUMLOCK] = c.bNum ? 1 : 0;
        ::SetKeyboardState(keys);
        m_bar.SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
        EXPECT_EQ(c.bCaps ? L"MAIUSC" : L"", PartText(2));
        EXPECT_EQ(c.bNum ? L"NUM" : L"", PartText(3));
    }
    keys[VK_CAPITAL] = saved[0];
    keys[VK_NUMLOCK] = saved[1];
    ::SetKeyboardState(keys);
    EXPECT_EQ(L"Esercizio 2009", PartText(1));
    // The message pane has no handler and stays enabled.
    EXPECT_FALSE(m_bar.GetPaneStyle(0) & CXTPStatusBarPane::styleDisabled);
}

TEST_F(StatusBarTest, AChildWindowSitsInsideItsPane)
{
    CWnd* pChild = new CWnd();
    ASSERT_TRUE(pChild->CreateEx(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 1, 1), &m_bar, 1));
    EXPECT_FALSE(m_bar.SetPaneControl(pChild->m_hWnd, 4242, TRUE));
    ASSERT_TRUE(m_bar.SetPaneControl(pChild->m_hWnd, IDS_STATUSTEST_TEXT, TRUE));
    CRect rcPane, rcChild;
    m_bar.GetItemRect(1, &rcPane);
    pChild->GetWindowRect(&rcChild);
    m_bar.ScreenToClient(&rcChild);
    const int cxEdge = ::GetSystemMetrics(SM_CXEDGE);
    rcPane.DeflateRect(cxEdge, cxEdge);
    EXPECT_EQ(rcPane, rcChild);
    // The pane takes the window and its object with it.
    HWND hChild = pChild->m_hWnd;
    EXPECT_TRUE(m_bar.RemoveIndicator(IDS_STATUSTEST_TEXT));
    EXPECT_FALSE(::IsWindow(hChild));
}

namespace
{
class CCountedChild : public CWnd
{
public:
    explicit CCountedChild(bool* pbGone) : m_pbGone(pbGone) {}
    ~CCountedChild() override { *m_pbGone = true; }

private:
    bool* m_pbGone;
};
} // namespace

TEST_F(StatusBarTest, APaneDeletesTheObjectOfAChildWindowThatWentFirst)
{
    // As the frame closes, its child windows go before the bar's panes.
    bool bGone = false;
    auto* pChild = new CCountedChild(&bGone);
    ASSERT_TRUE(pChild->CreateEx(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 1, 1), &m_bar, 1));
    ASSERT_TRUE(m_bar.SetPaneControl(pChild->m_hWnd, IDS_STATUSTEST_TEXT, TRUE));
    pChild->DestroyWindow();
    EXPECT_FALSE(bGone);
    EXPECT_TRUE(m_bar.RemoveIndicator(IDS_STATUSTEST_TEXT));
    EXPECT_TRUE(bGone);
}

TEST_F(StatusBarTest, AChildGivenInPlaceOfAnOwnedOneFreesTheFormer)
{
    bool bFirstGone = false, bSecondGone = false;
    auto* pFirst = new CCountedChild(&bFirstGone);
    auto* pSecond = new CCountedChild(&bSecondGone);
    for (CWnd* pChild : {static_cast<CWnd*>(pFirst), static_cast<CWnd*>(pSecond)})
        ASSERT_TRUE(pChild->CreateEx(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 1, 1), &m_bar, 1));
    HWND hFirst = pFirst->m_hWnd;
    ASSERT_TRUE(m_bar.SetPaneControl(hFirst, IDS_STATUSTEST_TEXT, TRUE));
    ASSERT_TRUE(m_bar.SetPaneControl(hFirst, IDS_STATUSTEST_TEXT, TRUE));
    EXPECT_FALSE(bFirstGone) << "the same child again stays";
    ASSERT_TRUE(m_bar.SetPaneControl(pSecond->m_hWnd, IDS_STATUSTEST_TEXT, TRUE));
    EXPECT_TRUE(bFirstGone);
    EXPECT_FALSE(::IsWindow(hFirst));
    EXPECT_FALSE(bSecondGone);
    EXPECT_TRUE(m_bar.RemoveIndicator(IDS_STATUSTEST_TEXT));
    EXPECT_TRUE(bSecondGone);
}

TEST_F(StatusBarTest, AButtonInAPaneFollowsTheFramesUpdateHandlers)
{
    auto* pButton = new CWnd();
    ASSERT_TRUE(pButton->CreateEx(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(0, 0, 1, 1), &m_bar,
                                  4243));
    ASSERT_TRUE(m_bar.SetPaneControl(pButton->m_hWnd, IDS_STATUSTEST_TEXT, TRUE));
    ASSERT_TRUE(pButton->IsWindowEnabled());
    // No handler of the frame takes the button's command.
    m_bar.SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
    EXPECT_FALSE(pButton->IsWindowEnabled());
}

namespace
{
// A painter that counts the panes it draws.
class CCountingPanePainter : public CXTPBarThemeDefault
{
public:
    int m_nPanes = 0;
    void DrawStatusBarPane(CDC* pDC, CRect rc, CXTPStatusBarPane* pPane) override
    {
        ++m_nPanes;
        CXTPBarThemeDefault::DrawStatusBarPane(pDC, rc, pPane);
    }
};
} // namespace

TEST_F(StatusBarTest, AManagerGivenToTheBarLendsItItsOwnPainterAndIcons)
{
    const UINT nIconId = 4711;
    auto* pCommandBars = new CXTPCommandBars;
    auto* pPainter = new CCountingPanePainter;
    pCommandBars->SetPaintManager(pPainter);
    auto* pImages = new CXTPImageManager;
    HICON hIcon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_IMAGETEST_EQUALIDS));
    ASSERT_NE(nullptr, hIcon);
    ASSERT_TRUE(pImages->SetIcon(CXTPImageManagerIconHandle(hIcon), nIconId));
    pCommandBars->SetImageManager(pImages);
    CXTPStatusBarPane* pPane = m_bar.GetPane(1);
    pPane->SetIconId(static_cast<int>(nIconId));
    EXPECT_EQ(nullptr, pPane->GetImage()) << "the process's icons have none of that id";

    m_bar.SetCommandBars(pCommandBars);
    EXPECT_NE(nullptr, pPane->GetImage());
    m_bar.Invalidate();
    m_bar.SendMessage(WM_PAINT);
    EXPECT_EQ(m_bar.GetVisiblePaneCount(), pPainter->m_nPanes);
    m_bar.SetCommandBars(nullptr);
    pCommandBars->InternalRelease();
}

namespace
{
// The pane windows' content drawn where a test can read it.
template <class TBase>
class CDrawnPaneWnd : public TBase
{
public:
    using TBase::DrawContent;
};
} // namespace

TEST_F(StatusBarTest, ATextPaneWindowCentresItsTextInABoldFontAndMeasuresIt)
{
    auto* pText = new CDrawnPaneWnd<CXTPStatusBarTextPaneWnd>;
    ASSERT_TRUE(pText->Create(L"BLOCCATO", &m_bar));
    EXPECT_EQ(static_cast<ULONG_PTR>(CS_DBLCLKS | CS_BYTEALIGNCLIENT), ::GetClassLongPtrW(pText->m_hWnd, GCL_STYLE));
    EXPECT_EQ(L"BLOCCATO", pText->GetText());
    LOGFONT lf = {};
    pText->GetTextFont()->GetLogFont(&lf);
    EXPECT_EQ(FW_BOLD, lf.lfWeight);
    auto measure = [pText] {
        CWindowDC dc(nullptr);
        CFont* pOld = dc.SelectObject(pText->GetTextFont());
        CSize sz = dc.GetTextExtent(CString(L"BLOCCATO"));
        dc.SelectObject(pOld);
        return sz;
    };
    EXPECT_EQ(measure(), pText->GetTextExtent());
    CSize szBold = pText->GetTextExtent();
    pText->SetFont(L"Tahoma", -30, FW_NORMAL);
    EXPECT_EQ(measure(), pText->GetTextExtent());
    EXPECT_GT(pText->GetTextExtent().cy, szBold.cy);

    // Drawn in the shadow colour in the middle, nothing at the edges.
    const COLORREF clrBack = RGB(1, 2, 3);
    const int cx = pText->GetTextExtent().cx + 40, cy = pText->GetTextExtent().cy + 10;
    CPixelCanvas canvas(cx, cy, clrBack);
    pText->DrawContent(&canvas, CRect(0, 0, cx, cy));
    const COLORREF clrText = GetColorTable()->GetColor(COLOR_3DSHADOW);
    int nTextPixels = 0, nEdgePixels = 0;
    for (int y = 0; y < cy; y++)
        for (int x = 0; x < cx; x++) {
            bool bText = canvas.At(x, y) == clrText;
            nTextPixels += bText;
            nEdgePixels += bText && (x < 20 - 1 || x > cx - 20 || y < 5 - 1 || y > cy - 5);
        }
    EXPECT_GT(nTextPixels, 0);
    EXPECT_EQ(0, nEdgePixels);
    pText->DestroyWindow();
    delete pText;
}

TEST_F(StatusBarTest, AnIconPaneWindowLoadsASmallIconAndGreysItWhileDisabled)
{
    auto* pIcon = new CDrawnPaneWnd<CXTPStatusBarIconPaneWnd>;
    ASSERT_TRUE(pIcon->Create(L"", &m_bar));
    EXPECT_FALSE(pIcon->SetIcon(4242));
    EXPECT_EQ(nullptr, pIcon->GetIcon());
    ASSERT_TRUE(pIcon->SetIcon(IDI_IMAGETEST_EQUALIDS));
    ICONINFO info = {};
    ASSERT_TRUE(::GetIconInfo(pIcon->GetIcon(), &info));
    BITMAP bm = {};
    ::GetObjectW(info.hbmMask, sizeof(bm), &bm);
    EXPECT_EQ(::GetSystemMetrics(SM_CXSMICON), bm.bmWidth);
    ::DeleteObject(info.hbmMask);
    if (info.hbmColor)
        ::DeleteObject(info.hbmColor);

    const COLORREF clrBack = RGB(1, 2, 3);
    const int cxIcon = ::GetSystemMetrics(SM_CXSMICON), cyIcon = ::GetSystemMetrics(SM_CYSMICON);
    auto colours = [&] {
        CPixelCanvas canvas(cxIcon + 20, cyIcon + 20, clrBack);
        pIcon->DrawContent(&canvas, CRect(0, 0, cxIcon + 20, cyIcon + 20));
        std::set<COLORREF> drawn;
        for (int y = 0; y < cyIcon + 20; y++)
            for (int x = 0; x < cxIcon + 20; x++)
                if (canvas.At(x, y) != clrBack) {
                    drawn.insert(canvas.At(x, y));
                    EXPECT_TRUE(x >= 10 && x < 10 + cxIcon && y >= 10 && y < 10 + cyIcon) << x << "," << y;
                }
        return drawn;
    };
    EXPECT_FALSE(colours().empty());
    pIcon->EnableWindow(FALSE);
    EXPECT_EQ(std::set<COLORREF>{GetColorTable()->GetColor(COLOR_3DSHADOW)}, colours());
    pIcon->DestroyWindow();
    delete pIcon;
}
