// The splash window: shown only when the command line allows it, centred and topmost with the bitmap's size, and
// closed by a key or mouse press (which goes no further), by its timer, or before a message box.
#include "app/SplashWnd.h"

#include "support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

namespace {

class SplashWndTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        CSplashWnd::HideSplashScreen();
        CSplashWnd::EnableSplashScreen(FALSE);
    }

    static HWND Show()
    {
        CSplashWnd::EnableSplashScreen(TRUE);
        CSplashWnd::ShowSplashScreen(nullptr);
        return CSplashWnd::GetSplashWnd() ? CSplashWnd::GetSplashWnd()->GetSafeHwnd() : nullptr;
    }

    static MSG Message(UINT nMessage)
    {
        MSG msg = {};
        msg.message = nMessage;
        return msg;
    }
};

TEST_F(SplashWndTest, ShownOnlyWhenTheCommandLineAllowsIt)
{
    const struct { const wchar_t* flag; bool shown; } cases[] = {
        { L"", true }, { L"Embedding", false }, { L"Automation", false },
    };
    for (const auto& c : cases) {
        CCommandLineInfo info;
        if (*c.flag)
            info.ParseParam(c.flag, TRUE, TRUE);
        CSplashWnd::EnableSplashScreen(info.m_bShowSplash);
        CSplashWnd::ShowSplashScreen(nullptr);
        EXPECT_EQ(c.shown, CSplashWnd::GetSplashWnd() != nullptr) << c.flag;
        CSplashWnd::HideSplashScreen();
        EXPECT_EQ(nullptr, CSplashWnd::GetSplashWnd());
    }
}

TEST_F(SplashWndTest, CentredTopmostWithTheBitmapsSize)
{
    HWND hWnd = Show();
    ASSERT_NE(nullptr, hWnd);
    RECT rc = {};
    ::GetWindowRect(hWnd, &rc);
    EXPECT_EQ(420, rc.right - rc.left);
    EXPECT_EQ(260, rc.bottom - rc.top);
    RECT work = {};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_NEAR((work.left + work.right) / 2, (rc.left + rc.right) / 2, 1);
    EXPECT_NEAR((work.top + work.bottom) / 2, (rc.top + rc.bottom) / 2, 1);
    EXPECT_TRUE(::GetWindowLongPtrW(hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST);

    // The bitmap is painted: the frame's corner is white, the middle of the top edge deep blue.
    HDC hdc = ::GetDC(hWnd);
    ::UpdateWindow(hWnd);
    COLORREF corner = ::GetPixel(hdc, 0, 0);
    COLORREF top = ::GetPixel(hdc, 210, 5);
    ::ReleaseDC(hWnd, hdc);
    EXPECT_EQ(RGB(255, 255, 255), corner);
    EXPECT_LT(GetRValue(top), 64);
    EXPECT_GT(GetBValue(top), 96);
}

TEST_F(SplashWndTest, APressClosesTheSplashAndIsSwallowed)
{
    const struct { UINT message; BOOL swallowed; } cases[] = {
        { WM_KEYDOWN, TRUE }, { WM_SYSKEYDOWN, TRUE }, { WM_LBUTTONDOWN, TRUE }, { WM_RBUTTONDOWN, TRUE },
        { WM_MBUTTONDOWN, TRUE }, { WM_NCLBUTTONDOWN, TRUE }, { WM_NCRBUTTONDOWN, TRUE }, { WM_NCMBUTTONDOWN, TRUE },
        { WM_MOUSEMOVE, FALSE }, { WM_KEYUP, FALSE }, { WM_CHAR, FALSE },
    };
    for (const auto& c : cases) {
        ASSERT_NE(nullptr, Show());
        MSG msg = Message(c.message);
        EXPECT_EQ(c.swallowed, CSplashWnd::PreTranslateAppMessage(&msg)) << c.message;
        EXPECT_EQ(!c.swallowed, CSplashWnd::GetSplashWnd() != nullptr) << c.message;
        CSplashWnd::HideSplashScreen();
    }
    MSG key = Message(WM_KEYDOWN);
    EXPECT_FALSE(CSplashWnd::PreTranslateAppMessage(&key));   // no splash: the key goes on
}

TEST_F(SplashWndTest, TheTimerClosesIt)
{
    HWND hWnd = Show();
    ASSERT_NE(nullptr, hWnd);
    ::SendMessageW(hWnd, WM_TIMER, CSplashWnd::SPLASH_TIMER, 0);
    EXPECT_EQ(nullptr, CSplashWnd::GetSplashWnd());
    EXPECT_FALSE(::IsWindow(hWnd));
}

TEST_F(SplashWndTest, MessageBoxesOfTheStartUpCloseItFirst)
{
    CMessageBoxRecorder recorder;
    HWND hWnd = Show();
    ASSERT_NE(nullptr, hWnd);
    {
        CSplashWnd::CHideBeforeMessageBoxes hide;
        AfxMessageBox(L"Impossibile aprire l'archivio", MB_ICONERROR);
        EXPECT_EQ(nullptr, CSplashWnd::GetSplashWnd());
    }
    ASSERT_EQ(1u, recorder.Count());
    EXPECT_EQ(CString(L"Impossibile aprire l'archivio"), recorder.Last().text);
    EXPECT_NE(hWnd, recorder.Last().owner);

    // Once the guard is gone, boxes leave a splash alone.
    ASSERT_NE(nullptr, Show());
    AfxMessageBox(L"dopo", MB_OK);
    EXPECT_NE(nullptr, CSplashWnd::GetSplashWnd());
    EXPECT_EQ(2u, recorder.Count());
}

// The start-up tasks keep their own guard and may run inside a modal loop of the start-up, under its guard.
TEST_F(SplashWndTest, AGuardInsideAnotherClosesTheSplashAndShowsTheBoxOnce)
{
    CMessageBoxRecorder recorder;
    ASSERT_NE(nullptr, Show());
    {
        CSplashWnd::CHideBeforeMessageBoxes outer;
        {
            CSplashWnd::CHideBeforeMessageBoxes inner;
            AfxMessageBox(L"prima", MB_OK);
            EXPECT_EQ(nullptr, CSplashWnd::GetSplashWnd());
            AfxMessageBox(L"senza splash", MB_OK);
        }
        AfxMessageBox(L"fuori", MB_OK);
    }
    EXPECT_EQ(3u, recorder.Count());
}

} // namespace
