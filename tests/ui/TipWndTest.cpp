// The framework's own tip windows with an injected clock and cursor: the tool list, the show delays, a clicked
// tool held back, sizes, placement and the plain and gradient faces.
#include "PixelCanvas.h"

#include "ui/themes/ColorTable.h"
#include "ui/themes/DrawHelpers.h"
#include "ui/themes/InputSource.h"
#include "ui/themes/TipContext.h"
#include "ui/themes/TipWnd.h"
#include "ui/themes/VisualStyleHandle.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace
{
CPoint g_ptCursor;
DWORD g_dwNow = 100000;
BOOL FakeCursorPos(LPPOINT lpPoint)
{
    *lpPoint = g_ptCursor;
    return TRUE;
}
DWORD FakeTickCount()
{
    return g_dwNow;
}

int ChannelDifference(COLORREF a, COLORREF b)
{
    return std::max({std::abs(GetRValue(a) - GetRValue(b)), std::abs(GetGValue(a) - GetGValue(b)),
                     std::abs(GetBValue(a) - GetBValue(b))});
}

// The drawing steps of the tips, reachable for the pixel tests.
template <class TTip>
class CDrawableTip : public TTip
{
public:
    using TTip::TTip;
    using TTip::DrawBackground;
    using TTip::DrawContent;
};

// The tools' window: answers the tip's question for a callback tool's text, in the buffer or by pointer.
class CTipOwnerWnd : public CWnd
{
public:
    CString m_strNeeded;
    BOOL m_bByPointer = FALSE;

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        NMTTDISPINFOW* pInfo = reinterpret_cast<NMTTDISPINFOW*>(lParam);
        if (pInfo->hdr.code != TTN_NEEDTEXTW)
            return CWnd::OnNotify(wParam, lParam, pResult);
        if (m_bByPointer)
            pInfo->lpszText = const_cast<LPWSTR>(static_cast<LPCWSTR>(m_strNeeded));
        else
            lstrcpynW(pInfo->szText, m_strNeeded, static_cast<int>(std::size(pInfo->szText)));
        return TRUE;
    }
};

class TipWndTest : public ::testing::Test
{
protected:
    CTipOwnerWnd m_owner;
    CTipContext m_context;
    CTipWnd* m_pTip = nullptr;
    CXTPInputSource::PFN_CURSORPOS m_pfnCursor = nullptr;
    CXTPInputSource::PFN_TICKCOUNT m_pfnTick = nullptr;

    void SetUp() override
    {
        m_pfnCursor = CXTPInputSource::SetCursorPosSource(FakeCursorPos);
        m_pfnTick = CXTPInputSource::SetTickCountSource(FakeTickCount);
        // Topmost and away from where other test programs on the same display put their windows.
        ASSERT_TRUE(m_owner.CreateEx(WS_EX_TOPMOST, AfxRegisterWndClass(0), L"Suggerimenti", WS_POPUP | WS_VISIBLE,
                                     560, 360, 200, 100, nullptr, nullptr));
        m_context.SetTipKind(CTipContext::kindPlain);
        m_pTip = static_cast<CTipWnd*>(m_context.CreateTipWindow(&m_owner));
        ASSERT_NE(nullptr, m_pTip);
        AddTool(1, CRect(0, 0, 100, 100), L"Entrate");
        AddTool(2, CRect(100, 0, 200, 100), L"Spese");
        m_pTip->SendMessage(TTM_ACTIVATE, TRUE);
    }
    void TearDown() override
    {
        m_context.ReleaseTipWindow();
        m_owner.DestroyWindow();
        CXTPInputSource::SetCursorPosSource(m_pfnCursor);
        CXTPInputSource::SetTickCountSource(m_pfnTick);
    }

    TTTOOLINFOW Info(UINT_PTR nID, CRect rc = CRect(), LPCWSTR lpszText = nullptr)
    {
        TTTOOLINFOW info = {};
        info.cbSize = sizeof(info);
        info.hwnd = m_owner.m_hWnd;
        info.uId = nID;
        info.rect = rc;
        info.lpszText = const_cast<LPWSTR>(lpszText);
        return info;
    }
    LRESULT AddTool(UINT_PTR nID, CRect rc, LPCWSTR lpszText)
    {
        TTTOOLINFOW info = Info(nID, rc, lpszText);
        return m_pTip->SendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    }
    void DelTool(UINT_PTR nID)
    {
        TTTOOLINFOW info = Info(nID);
        m_pTip->SendMessage(TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    }
    // The cursor at a client point of the owner (or anywhere on the screen), then a mouse move relayed.
    void MoveTo(CPoint pt, UINT message = WM_MOUSEMOVE, BOOL bScreen = FALSE)
    {
        g_ptCursor = pt;
        if (!bScreen)
            m_owner.ClientToScreen(&g_ptCursor);
        MSG msg = {m_owner.m_hWnd, message, 0, MAKELPARAM(pt.x, pt.y), 0, g_ptCursor};
        m_pTip->SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
    }
    void FireTimer() { m_pTip->SendMessage(WM_TIMER, CTipWnd::showTimerID); }
    UINT_PTR Shown() { return m_pTip->IsWindowVisible() ? m_pTip->GetShownTool().nID : 0; }
};
}

TEST_F(TipWndTest, ToolListAddsDeletesAndUpdatesByWindowAndId)
{
    EXPECT_FALSE(m_pTip->SendMessage(TTM_ADDTOOLW, 0, 0));
    EXPECT_EQ(2, m_pTip->GetToolCount());
    // The same window and id twice: listed twice, and one deletion takes the first.
    EXPECT_TRUE(AddTool(1, CRect(0, 0, 5, 5), L"Doppio"));
    EXPECT_EQ(3, m_pTip->GetToolCount());
    DelTool(1);
    ASSERT_EQ(2, m_pTip->GetToolCount());
    EXPECT_EQ(L"Doppio", m_pTip->GetTool(1).strText);
    DelTool(7);
    EXPECT_EQ(2, m_pTip->GetToolCount());

    AddTool(3, CRect(), LPSTR_TEXTCALLBACKW);
    EXPECT_TRUE(m_pTip->GetTool(2).bCallback);
    EXPECT_TRUE(m_pTip->GetTool(2).strText.IsEmpty());
    TTTOOLINFOW info = Info(3, CRect(), L"Riepilogo");
    m_pTip->SendMessage(TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_FALSE(m_pTip->GetTool(2).bCallback);
    EXPECT_EQ(L"Riepilogo", m_pTip->GetTool(2).strText);
    info.uId = 9;
    m_pTip->SendMessage(TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(L"Riepilogo", m_pTip->GetTool(2).strText);
}

TEST_F(TipWndTest, FirstTipAfterTheInitialDelayNextOnesAtOnceWithinTheReshowTime)
{
    MoveTo(CPoint(50, 50));
    EXPECT_EQ(0u, Shown());
    EXPECT_EQ(1u, m_pTip->GetPendingTool().nID);
    FireTimer();
    EXPECT_EQ(1u, Shown());
    CRect rc;
    m_pTip->GetWindowRect(&rc);
    EXPECT_EQ(g_ptCursor.y + 21, rc.top);
    EXPECT_EQ(g_ptCursor.x, rc.left);

    // Off every tool: hidden; another tool within 200 ms: at once.
    MoveTo(CPoint(-100, -100));
    EXPECT_EQ(0u, Shown());
    g_dwNow += 150;
    MoveTo(CPoint(150, 50));
    EXPECT_EQ(2u, Shown());

    // After a longer pause the delay applies again, and a timer for a tool the cursor left shows nothing.
    MoveTo(CPoint(-100, -100));
    g_dwNow += 250;
    MoveTo(CPoint(50, 50));
    EXPECT_EQ(0u, Shown());
    g_ptCursor = CPoint(0, 0);
    FireTimer();
    EXPECT_EQ(0u, Shown());
}

TEST_F(TipWndTest, AClickedToolIsHeldBackUntilAnotherToolsTipShows)
{
    MoveTo(CPoint(50, 50));
    FireTimer();
    ASSERT_EQ(1u, Shown());
    MoveTo(CPoint(50, 50), WM_LBUTTONDOWN);
    EXPECT_EQ(0u, Shown());
    EXPECT_EQ(1u, m_pTip->GetClickedTool().nID);
    MoveTo(CPoint(51, 50));
    FireTimer();
    EXPECT_EQ(0u, Shown());
    MoveTo(CPoint(150, 50));
    EXPECT_EQ(2u, Shown());
    MoveTo(CPoint(50, 50));
    EXPECT_EQ(1u, Shown());

    // Deleting the clicked tool clears the slot: added again, it is no longer held back.
    MoveTo(CPoint(50, 50), WM_LBUTTONDOWN);
    DelTool(1);
    EXPECT_TRUE(m_pTip->GetClickedTool().IsEmpty());
    AddTool(1, CRect(0, 0, 100, 100), L"Entrate");
    MoveTo(CPoint(50, 50));
    FireTimer();
    EXPECT_EQ(1u, Shown());
    // Deleting the shown tool hides the tip.
    DelTool(1);
    EXPECT_EQ(0u, Shown());
}

TEST_F(TipWndTest, AnEmptyTextShowsNoTip)
{
    DelTool(1);
    AddTool(1, CRect(0, 0, 100, 100), L"");
    MoveTo(CPoint(50, 50));
    FireTimer();
    EXPECT_FALSE(m_pTip->IsWindowVisible());
}

TEST_F(TipWndTest, SizeIsTheTextPlusMarginsAndTheTitle)
{
    m_context.SetMargin(CRect(2, 3, 4, 5));
    m_pTip = static_cast<CTipWnd*>(m_context.CreateTipWindow(&m_owner));
    AddTool(1, CRect(0, 0, 100, 100), L"Entrate correnti");
    m_pTip->SendMessage(TTM_ACTIVATE, TRUE);
    MoveTo(CPoint(50, 50));
    FireTimer();
    ASSERT_EQ(1u, Shown());

    NONCLIENTMETRICS ncm = {};
    ASSERT_TRUE(GetNonClientMetrics(&ncm));
    CFont font;
    font.CreateFontIndirect(&ncm.lfStatusFont);
    CPixelCanvas canvas(1, 1);
    HGDIOBJ hOld = canvas.SelectObject(font.GetSafeHandle());
    CRect rcText(0, 0, m_context.GetMaxTipWidth(), 0), rcTitle;
    canvas.DrawText(L"Entrate correnti", &rcText, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    canvas.DrawText(L"Bilancio di previsione 2009", &rcTitle, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(CSize(rcText.Width() + 2 + 4 + 6, rcText.Height() + 3 + 5 + 6), m_pTip->CalcSize(&canvas));
    m_pTip->SendMessage(TTM_SETTITLEW, 0, reinterpret_cast<LPARAM>(L"Bilancio di previsione 2009"));
    EXPECT_EQ(CSize(std::max(rcText.Width(), rcTitle.Width()) + 12, rcText.Height() + rcTitle.Height() + 8 + 14),
              m_pTip->CalcSize(&canvas));
    canvas.SelectObject(hOld);
}

TEST_F(TipWndTest, ACallbackToolsTextIsAskedFromTheOwnerAndPrefixesFollowTheStyle)
{
    auto widthOf = [&](LPCWSTR lpszText, LPCWSTR lpszNeeded, BOOL bByPointer) {
        m_owner.m_strNeeded = lpszNeeded;
        m_owner.m_bByPointer = bByPointer;
        DelTool(1);
        AddTool(1, CRect(0, 0, 100, 100), lpszText);
        MoveTo(CPoint(-100, -100));
        g_dwNow += 1000;
        MoveTo(CPoint(50, 50));
        FireTimer();
        CPixelCanvas canvas(1, 1);
        return m_pTip->CalcSize(&canvas).cx;
    };
    int nPlain = widthOf(L"Entrate", L"", FALSE);
    ASSERT_GT(nPlain, 6);
    struct Case { BOOL bNoPrefix; LPCWSTR lpszText, lpszNeeded; BOOL bByPointer; BOOL bWider; } cases[] = {
        {TRUE, LPSTR_TEXTCALLBACKW, L"Entrate", FALSE, FALSE},
        {TRUE, LPSTR_TEXTCALLBACKW, L"Entrate", TRUE, FALSE},
        {TRUE, L"&Entrate", L"", FALSE, TRUE},     // the ampersand is shown and measured
        {FALSE, L"&Entrate", L"", FALSE, FALSE},   // a mnemonic prefix: taken out
        {FALSE, LPSTR_TEXTCALLBACKW, L"&Entrate", FALSE, FALSE},
    };
    for (const Case& c : cases) {
        m_context.ModifyStyle(c.bNoPrefix ? 0 : TTS_NOPREFIX, c.bNoPrefix ? TTS_NOPREFIX : 0);
        m_pTip = static_cast<CTipWnd*>(m_context.CreateTipWindow(&m_owner));
        ASSERT_NE(nullptr, m_pTip);
        m_pTip->SendMessage(TTM_ACTIVATE, TRUE);
        int nWidth = widthOf(c.lpszText, c.lpszNeeded, c.bByPointer);
        EXPECT_EQ(c.bWider, nWidth > nPlain) << c.bNoPrefix << " " << c.lpszNeeded << " " << c.bByPointer;
        if (!c.bWider) {
            EXPECT_EQ(nPlain, nWidth) << c.bNoPrefix << " " << c.lpszNeeded << " " << c.bByPointer;
        }
    }
}

TEST_F(TipWndTest, ATitleIsUnderlinedAcrossTheTipAndTheTextStartsBelowIt)
{
    CDrawableTip<CTipWnd> tip(&m_context);
    ASSERT_TRUE(tip.Create(&m_owner, TTS_NOPREFIX));
    m_pTip = &tip;
    AddTool(5, CRect(0, 0, 100, 100), L"Entrate correnti");
    m_pTip->SendMessage(TTM_ACTIVATE, TRUE);
    m_pTip->SendMessage(TTM_SETTITLEW, 0, reinterpret_cast<LPARAM>(L"Bilancio"));
    MoveTo(CPoint(50, 50));
    FireTimer();
    ASSERT_EQ(5u, Shown());
    CPixelCanvas measure(1, 1);
    CSize size = tip.CalcSize(&measure);
    const COLORREF clrBack = RGB(255, 255, 200);
    CPixelCanvas canvas(size.cx, size.cy, clrBack);
    tip.DrawContent(&canvas, CRect(CPoint(0, 0), size));
    // The title's own height, then the line 4 px below it, across the content rect (3 px in on each side).
    NONCLIENTMETRICS ncm = {};
    ASSERT_TRUE(GetNonClientMetrics(&ncm));
    CFont font;
    font.CreateFontIndirect(&ncm.lfStatusFont);
    HGDIOBJ hOld = measure.SelectObject(font.GetSafeHandle());
    CRect rcTitle;
    measure.DrawText(L"Bilancio", &rcTitle, DT_CALCRECT | DT_SINGLELINE);
    measure.SelectObject(hOld);
    int yLine = 3 + rcTitle.Height() + 4;
    for (int x = 3; x < size.cx - 3; x++)
        ASSERT_EQ(RGB(0, 0, 0), canvas.At(x, yLine)) << x;
    EXPECT_EQ(clrBack, canvas.At(2, yLine));
    EXPECT_EQ(clrBack, canvas.At(size.cx - 3, yLine));
    // Nothing is drawn between the line and the text 8 px below the title.
    for (int y = yLine + 1; y < 3 + rcTitle.Height() + 8; y++)
        for (int x = 0; x < size.cx; x++)
            ASSERT_EQ(clrBack, canvas.At(x, y)) << x << ", " << y;
    m_pTip = nullptr;
}

TEST_F(TipWndTest, ATipNearTheScreensEdgeStaysOnTheWorkArea)
{
    CRect rcWork;
    GetWorkArea(&rcWork, CRect(0, 0, 1, 1));
    DelTool(1);
    TTTOOLINFOW info = Info(1, CRect(), L"Entrate");
    info.uFlags = TTF_IDISHWND;
    info.uId = reinterpret_cast<UINT_PTR>(::GetDesktopWindow());
    m_pTip->SendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    MoveTo(CPoint(rcWork.right - 3, rcWork.bottom - 3), WM_MOUSEMOVE, TRUE);
    FireTimer();
    ASSERT_TRUE(m_pTip->IsWindowVisible());
    CRect rc;
    m_pTip->GetWindowRect(&rc);
    EXPECT_TRUE(rcWork.PtInRect(rc.TopLeft()) && rc.right <= rcWork.right && rc.bottom <= rcWork.bottom)
        << rc.left << ", " << rc.top << ", " << rc.right << ", " << rc.bottom;
}

TEST(TipContext, BalloonTipsNeedCommonControls580)
{
    CXTPVisualStyleLibrary& library = CXTPVisualStyleLibrary::GetInstance();
    DWORD dwVersion = library.GetComCtlVersion();
    struct Case { DWORD dwVersion; int nKind; } cases[] = {{MAKELONG(72, 5), CTipContext::kindSystem},
                                                           {MAKELONG(80, 5), CTipContext::kindBalloon},
                                                           {MAKELONG(0, 6), CTipContext::kindBalloon}};
    for (const Case& c : cases) {
        library.SetComCtlVersion(c.dwVersion);
        CTipContext context;
        context.SetTipKind(CTipContext::kindBalloon);
        EXPECT_EQ(c.nKind, context.GetTipKind()) << HIWORD(c.dwVersion) << "." << LOWORD(c.dwVersion);
    }
    library.SetComCtlVersion(dwVersion);
}

namespace
{
// A child that names a window under the point itself, as a tab strip inside a pane does.
class CPointAnsweringWnd : public CWnd
{
protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == TTM_WINDOWFROMPOINT)
            return reinterpret_cast<LRESULT>(m_hWnd);
        return CWnd::WindowProc(message, wParam, lParam);
    }
};
}

TEST(TipContext, TheSystemTooltipIsConfiguredAndNamesTheParentOfAnAnsweringChild)
{
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(WS_EX_TOPMOST, AfxRegisterWndClass(0), L"Suggerimenti", WS_POPUP | WS_VISIBLE, 560, 360,
                               200, 100, nullptr, nullptr));
    CPointAnsweringWnd answering;
    ASSERT_TRUE(answering.CreateEx(0, AfxRegisterWndClass(0), L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 100),
                                   &owner, 1));
    HWND hPlain = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_NOTIFY, 100, 0, 100, 100,
                                    owner.m_hWnd, nullptr, nullptr, nullptr);
    CTipContext context(&owner);
    context.SetMaxTipWidth(240);
    context.SetBackColor(RGB(255, 255, 200));
    context.SetDelayTime(TTDT_INITIAL, 700);
    CWnd* pTip = context.CreateTipWindow(&owner);
    ASSERT_NE(nullptr, pTip);
    EXPECT_EQ(240, pTip->SendMessage(TTM_GETMAXTIPWIDTH));
    EXPECT_EQ(static_cast<LRESULT>(RGB(255, 255, 200)), pTip->SendMessage(TTM_GETTIPBKCOLOR));
    EXPECT_EQ(700, pTip->SendMessage(TTM_GETDELAYTIME, TTDT_INITIAL));
    EXPECT_EQ(static_cast<DWORD>(TTS_NOPREFIX | TTS_ALWAYSTIP),
              pTip->GetStyle() & (TTS_NOPREFIX | TTS_ALWAYSTIP | TTS_BALLOON));

    struct Case { CPoint ptClient; HWND hExpected; } cases[] = {
        {CPoint(50, 50), owner.m_hWnd},   // the answering child stands for its parent
        {CPoint(150, 50), hPlain},
    };
    for (const Case& c : cases) {
        CPoint pt = c.ptClient;
        owner.ClientToScreen(&pt);
        ASSERT_NE(nullptr, ::WindowFromPoint(pt));
        EXPECT_EQ(c.hExpected, reinterpret_cast<HWND>(pTip->SendMessage(TTM_WINDOWFROMPOINT, 0,
                                                                         reinterpret_cast<LPARAM>(&pt))))
            << c.ptClient.x;
    }
    context.ReleaseTipWindow();
    owner.DestroyWindow();
}

TEST(TipContext, OwnTipKindsSetTheirBorderAndShadowBitsAndChangesDropTheWindow)
{
    CTipContext context;
    context.SetTipKind(CTipContext::kindGradient);
    EXPECT_EQ(static_cast<DWORD>(TTS_NOPREFIX | 0x3000), context.GetStyle());
    EXPECT_NE(nullptr, context.CreateTipWindow(nullptr));
    context.SetBackColor(RGB(1, 2, 3));
    EXPECT_EQ(nullptr, context.GetTipWindow());
    EXPECT_EQ(RGB(1, 2, 3), context.GetBackColor());
    context.SetTipKind(CTipContext::kindPlain);
    EXPECT_EQ(static_cast<DWORD>(TTS_NOPREFIX), context.GetStyle());
    context.SetBackColor(0xFFFFFFFF);
    EXPECT_EQ(GetColorTable()->GetColor(COLOR_INFOBK), context.GetBackColor());
}

TEST(TipContext, PlainAndGradientFaces)
{
    CTipContext context;
    context.SetBackColor(RGB(255, 255, 200));
    CRect rc(0, 0, 60, 30);
    {
        CDrawableTip<CTipWnd> tip(&context);
        CPixelCanvas canvas(60, 30);
        tip.DrawBackground(&canvas, rc);
        EXPECT_EQ(RGB(255, 255, 200), canvas.At(30, 15));
        EXPECT_EQ(RGB(0, 0, 0), canvas.At(0, 0));
        EXPECT_EQ(RGB(0, 0, 0), canvas.At(59, 29));
    }
    struct Case { int nScheme; COLORREF clrTop, clrBottom, clrFrame; } cases[] = {
        {CColorTable::schemeNone, RGB(255, 255, 200), RGB(255, 255, 255), 0},
        {CColorTable::schemeBlue, 0x97D4FF, 0xC8F2FF, 0x800000},
        {CColorTable::schemeSilver, 0x97D4FF, 0xC8F2FF, 0x6F4B4B},
    };
    for (const Case& c : cases) {
        GetColorTable()->SetScheme(c.nScheme);
        CDrawableTip<CGradientTipWnd> tip(&context);
        CPixelCanvas canvas(60, 30);
        tip.DrawBackground(&canvas, rc);
        EXPECT_EQ(c.clrFrame, canvas.At(0, 10)) << c.nScheme;
        EXPECT_LE(ChannelDifference(c.clrTop, canvas.At(30, 1)), 6) << c.nScheme;
        EXPECT_LE(ChannelDifference(c.clrBottom, canvas.At(30, 28)), 6) << c.nScheme;
    }
    GetColorTable()->SetScheme(CColorTable::schemeAuto);
}

TEST_F(TipWndTest, RichTipsMeasureTheirTextAndLeaveRoomForAlignedParagraphs)
{
    m_context.SetTipKind(CTipContext::kindRichText);
    m_context.SetMargin(CRect(1, 2, 3, 4));
    m_pTip = static_cast<CTipWnd*>(m_context.CreateTipWindow(&m_owner));
    ASSERT_NE(nullptr, dynamic_cast<CRichTipWnd*>(m_pTip));
    ASSERT_NE(nullptr, m_pTip->GetDlgItem(CRichTipWnd::richEditID));
    m_pTip->SendMessage(TTM_ACTIVATE, TRUE);
    auto sizeOf = [&](LPCWSTR lpszText) {
        DelTool(1);
        AddTool(1, CRect(0, 0, 100, 100), lpszText);
        MoveTo(CPoint(50, 50));
        FireTimer();
        CPixelCanvas canvas(1, 1);
        return m_pTip->CalcSize(&canvas);
    };
    CSize szLeft = sizeOf(L"{\\rtf1\\ansi \\ql Residui attivi\\par}");
    EXPECT_GT(szLeft.cx, 1 + 3 + 4 + 2);
    EXPECT_GT(szLeft.cy, 2 + 4 + 2 + 2);
    struct Case { LPCWSTR lpszText; int nExtra; } cases[] = {
        {L"{\\rtf1\\ansi \\qc Residui attivi\\par}", 5},
        {L"{\\rtf1\\ansi \\qr Residui attivi\\par}", 5},
        {L"{\\rtf1\\ansi \\qj Residui attivi\\par}", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CSize(szLeft.cx + c.nExtra, szLeft.cy), sizeOf(c.lpszText)) << c.lpszText;

    // A longer line needs more width; text that is no RTF comes in as plain text.
    EXPECT_GT(sizeOf(L"{\\rtf1\\ansi \\ql Residui attivi e passivi\\par}").cx, szLeft.cx);
    EXPECT_EQ(szLeft, sizeOf(L"Residui attivi"));
    EXPECT_EQ(CSize(0, 0), sizeOf(L""));
}
