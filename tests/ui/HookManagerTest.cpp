#include "BarTestSupport.h"

#include "ui/commandbars/MenuSoundPlayer.h"
#include "ui/commandbars/XTPHookManager.h"

#include <gtest/gtest.h>

#include <functional>

namespace
{
const UINT WM_PROBE = WM_APP + 7;

// A hook that answers as told and writes down the probe messages it is offered.
class CProbeHook : public CXTPHookHandler
{
public:
    explicit CProbeHook(std::vector<std::string>* pLog, const char* pszName) : m_pLog(pLog), m_pszName(pszName) {}
    int OnHookMessage(HWND, UINT nMessage, WPARAM&, LPARAM&, LRESULT& lResult) override
    {
        if (nMessage != WM_PROBE)
            return xtpHookContinue;
        m_pLog->push_back(m_pszName);
        if (m_onMessage)
            m_onMessage();
        lResult = m_lResult;
        return m_nAnswer;
    }

    int m_nAnswer = xtpHookContinue;
    LRESULT m_lResult = 0;
    std::function<void()> m_onMessage;

private:
    std::vector<std::string>* m_pLog;
    const char* m_pszName;
};

// A hidden window whose own procedure writes down the probe messages that reach it.
class CProbeWnd : public CWnd
{
public:
    explicit CProbeWnd(std::vector<std::string>* pLog) : m_pLog(pLog) {}
    BOOL Create() { return CreateEx(0, nullptr, L"probe", WS_POPUP, CRect(0, 0, 50, 50), nullptr, 0); }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_PROBE) {
            m_pLog->push_back("window");
            return 5;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }

private:
    std::vector<std::string>* m_pLog;
};

// A tracked bar of the test's: its window, its hit-test answer, and whether stopping takes it off the list.
class CFakeTrackedBar : public CXTPTrackedBar
{
public:
    CFakeTrackedBar(HWND hWnd, int nHit, BOOL bLeaves = TRUE) : m_hWnd(hWnd), m_nHit(nHit), m_bLeaves(bLeaves) {}
    HWND GetTrackedWindow() const override { return m_hWnd; }
    int OnMouseHitTest(CPoint) override { return m_nHit; }
    void OnTrackedMouseMove(CPoint) override { m_nMoves++; }
    void StopTracking() override
    {
        m_nStops++;
        if (m_bLeaves)
            CMouseManager::GetThreadManager()->RemoveTrackedBar(this);
    }
    int& GetInputLock() override { return m_nLock; }

    HWND m_hWnd;
    int m_nHit;
    BOOL m_bLeaves;
    int m_nStops = 0, m_nMoves = 0, m_nLock = 0;
};
}

TEST(WindowHookManager, HooksAreAskedNewestFirstAndTheWindowAfterThem)
{
    std::vector<std::string> log;
    CProbeWnd wnd(&log);
    ASSERT_TRUE(wnd.Create());
    CWindowHookManager* pManager = CWindowHookManager::GetInstance();
    LONG_PTR pfnOriginal = ::GetWindowLongPtrW(wnd, GWLP_WNDPROC);
    CProbeHook first(&log, "first"), second(&log, "second");
    pManager->SetHook(wnd, &first);
    pManager->SetHook(wnd, &second);
    pManager->SetHook(wnd, &first);

    struct Case { int nFirst, nSecond; const char* expected; LRESULT lResult; } cases[] = {
        {xtpHookContinue, xtpHookContinue, "second first window", 5},
        {xtpHookContinue, xtpHookHandled, "second", 77},
        {xtpHookContinue, xtpHookStop, "second window", 5},
        {xtpHookHandled, xtpHookContinue, "second first", 77},
    };
    for (const Case& c : cases) {
        log.clear();
        first.m_nAnswer = c.nFirst;
        second.m_nAnswer = c.nSecond;
        first.m_lResult = second.m_lResult = 77;
        EXPECT_EQ(c.lResult, wnd.SendMessage(WM_PROBE));
        std::string joined;
        for (const std::string& s : log)
            joined += (joined.empty() ? "" : " ") + s;
        EXPECT_EQ(c.expected, joined);
    }
    pManager->RemoveHook(wnd, &second);
    EXPECT_TRUE(pManager->IsHooked(wnd));
    pManager->RemoveHook(wnd, &first);
    EXPECT_FALSE(pManager->IsHooked(wnd));
    EXPECT_EQ(pfnOriginal, ::GetWindowLongPtrW(wnd, GWLP_WNDPROC));
    wnd.DestroyWindow();
}

TEST(WindowHookManager, HooksThatRemoveHooksOrDestroyTheWindowMeanwhile)
{
    std::vector<std::string> log;
    CWindowHookManager* pManager = CWindowHookManager::GetInstance();
    {
        // The newest hook takes both hooks off: the older one is not asked, the window still is.
        CProbeWnd wnd(&log);
        ASSERT_TRUE(wnd.Create());
        CProbeHook first(&log, "first"), second(&log, "second");
        pManager->SetHook(wnd, &first);
        pManager->SetHook(wnd, &second);
        second.m_onMessage = [&] { pManager->RemoveHookFromAll(&first); pManager->RemoveHookFromAll(&second); };
        EXPECT_EQ(5, wnd.SendMessage(WM_PROBE));
        EXPECT_EQ((std::vector<std::string>{"second", "window"}), log);
        EXPECT_FALSE(pManager->IsHooked(wnd));
        wnd.DestroyWindow();
    }
    {
        // A hook destroys the window while it is asked.
        log.clear();
        CProbeWnd wnd(&log);
        ASSERT_TRUE(wnd.Create());
        HWND hWnd = wnd;
        CProbeHook first(&log, "first"), second(&log, "second");
        pManager->SetHook(hWnd, &first);
        pManager->SetHook(hWnd, &second);
        second.m_onMessage = [&] { wnd.DestroyWindow(); };
        ::SendMessageW(hWnd, WM_PROBE, 0, 0);
        EXPECT_FALSE(::IsWindow(hWnd));
        EXPECT_FALSE(pManager->IsHooked(hWnd));
        EXPECT_EQ((std::vector<std::string>{"second"}), log);
    }
}

TEST(MouseManager, WhatAClickOutsideTheTrackedBarsDoes)
{
    struct Case { UINT nMessage; int nCaptureLoops, nAction; } cases[] = {
        {WM_MOUSEMOVE, 0, xtpMouseMove},       {WM_NCMOUSEMOVE, 0, xtpMouseMove},
        {WM_LBUTTONDOWN, 0, xtpMouseUntrack},  {WM_RBUTTONDOWN, 1, xtpMouseUntrack},
        {WM_MBUTTONDOWN, 0, xtpMouseUntrack},  {WM_NCLBUTTONDOWN, 0, xtpMouseUntrack},
        {WM_NCRBUTTONDOWN, 0, xtpMouseUntrack}, {WM_NCMBUTTONDOWN, 0, xtpMouseUntrack},
        {WM_LBUTTONUP, 0, xtpMouseUntrack},    {WM_NCLBUTTONUP, 0, xtpMouseUntrack},
        {WM_LBUTTONUP, 1, xtpMouseNothing},    {WM_RBUTTONUP, 0, xtpMouseNothing},
        {WM_LBUTTONDBLCLK, 0, xtpMouseNothing}, {WM_MOUSEWHEEL, 0, xtpMouseNothing},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.nAction, GetOutsideMouseAction(c.nMessage, c.nCaptureLoops)) << c.nMessage;
}

TEST(KeyboardManager, WhatTheKeyboardHookDoesWithAKey)
{
    const LPARAM alt = 0x20000000, repeat = 0x40000000, release = 0x80000000;
    struct Case { WPARAM nKey; LPARAM lData; int nCaptureLoops, nAction; } cases[] = {
        {VK_MENU, alt, 0, xtpKeyUntrack},     {VK_MENU, alt | repeat, 0, xtpKeyPass},
        {VK_MENU, alt, 1, xtpKeyOffer},       {VK_MENU, alt | release, 0, xtpKeyPass},
        {'F', alt, 0, xtpKeyOffer},           {VK_DOWN, 0, 0, xtpKeyOffer},
        {VK_DOWN, release, 0, xtpKeyPass},    {VK_MENU, 0, 0, xtpKeyOffer},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.nAction, GetKeyboardHookAction(c.nKey, c.lData, c.nCaptureLoops)) << c.nKey << " " << c.lData;
}

TEST(KeyboardManager, HandlersAreAskedNewestFirst)
{
    std::vector<std::string> log;
    CProbeHook a(&log, "a"), b(&log, "b"), c(&log, "c");
    // The keyboard offers keys as WM_KEYDOWN; the probe listens for its own message, so stand in for it.
    struct CKeyHook : public CXTPHookHandler
    {
        CKeyHook(std::vector<std::string>* pLog, const char* pszName, int nAnswer)
            : m_pLog(pLog), m_pszName(pszName), m_nAnswer(nAnswer) {}
        int OnHookMessage(HWND, UINT nMessage, WPARAM&, LPARAM&, LRESULT&) override
        {
            EXPECT_EQ(static_cast<UINT>(WM_KEYDOWN), nMessage);
            m_pLog->push_back(m_pszName);
            return m_nAnswer;
        }
        std::vector<std::string>* m_pLog;
        const char* m_pszName;
        int m_nAnswer;
    };
    struct Case { int nA, nB, nC; BOOL bConsumed; std::vector<std::string> asked; } cases[] = {
        {0, 0, 0, TRUE, {"c", "b", "a"}},
        {0, 2, 0, FALSE, {"c", "b"}},
        {2, 1, 0, TRUE, {"c", "b"}},
    };
    CKeyboardManager* pManager = CKeyboardManager::GetThreadManager();
    for (const Case& k : cases) {
        log.clear();
        CKeyHook ha(&log, "a", k.nA), hb(&log, "b", k.nB), hc(&log, "c", k.nC);
        pManager->AddHandler(&ha);
        pManager->AddHandler(&hb);
        pManager->AddHandler(&hc);
        pManager->AddHandler(&ha);
        EXPECT_TRUE(pManager->IsHooked());
        EXPECT_EQ(k.bConsumed, pManager->ProcessKey(VK_DOWN, 0));
        EXPECT_EQ(k.asked, log);
        pManager->RemoveHandler(&ha);
        pManager->RemoveHandler(&hb);
        pManager->RemoveHandler(&hc);
        EXPECT_FALSE(pManager->IsHooked());
    }
}

TEST(MouseManager, ClickTestOverTrackedBars)
{
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"bar", WS_POPUP, CRect(100, 100, 200, 130), nullptr, 0));
    CMouseManager* pManager = CMouseManager::GetThreadManager();
    const CPoint ptFar(600, 500);

    // A click away from every bar ends the tracking of all; a move outside reaches each unlocked bar.
    CFakeTrackedBar first(wnd, 0), second(wnd, 0);
    pManager->AddTrackedBar(&first);
    pManager->AddTrackedBar(&second);
    pManager->OnHookMouseMessage(WM_MOUSEMOVE, ptFar);
    EXPECT_EQ(1, first.m_nMoves);
    EXPECT_EQ(1, second.m_nMoves);
    pManager->OnHookMouseMessage(WM_NCLBUTTONDOWN, ptFar);
    EXPECT_EQ(1, first.m_nStops);
    EXPECT_EQ(1, second.m_nStops);
    EXPECT_FALSE(pManager->IsTracking());

    // A click on a bar (hit test 1) changes nothing; -2 skips the bar.
    CFakeTrackedBar onBar(wnd, 1), skipped(wnd, -2);
    pManager->AddTrackedBar(&onBar);
    pManager->OnHookMouseMessage(WM_LBUTTONDOWN, ptFar);
    EXPECT_EQ(0, onBar.m_nStops);
    pManager->AddTrackedBar(&skipped);
    onBar.m_nHit = -2;
    pManager->OnHookMouseMessage(WM_LBUTTONDOWN, ptFar);
    EXPECT_EQ(1, onBar.m_nStops);
    EXPECT_FALSE(pManager->IsTracking());

    // A click on a locked bar below a nested popup closes only the unlocked ones.
    CFakeTrackedBar locked(wnd, 1), nested(wnd, 0);
    locked.m_nLock = 1;
    pManager->AddTrackedBar(&locked);
    pManager->AddTrackedBar(&nested);
    pManager->OnHookMouseMessage(WM_LBUTTONDOWN, ptFar);
    EXPECT_EQ(0, locked.m_nStops);
    EXPECT_EQ(1, nested.m_nStops);
    EXPECT_TRUE(pManager->IsTracked(&locked));
    locked.m_nLock = 0;

    // Inside a trusted window nothing closes; a release during a capture loop neither.
    pManager->AddTrustedWindow(wnd);
    wnd.ShowWindow(SW_SHOWNA);
    locked.m_nHit = 0;
    pManager->OnHookMouseMessage(WM_LBUTTONDOWN, CPoint(150, 110));
    EXPECT_EQ(0, locked.m_nStops);
    pManager->RemoveTrustedWindow(wnd);
    pManager->m_nCaptureLoops = 1;
    pManager->OnHookMouseMessage(WM_LBUTTONUP, ptFar);
    EXPECT_EQ(0, locked.m_nStops);
    pManager->m_nCaptureLoops = 0;

    // A bar that does not leave the list when stopped does not hold the loop.
    CFakeTrackedBar stuck(wnd, 0, FALSE);
    pManager->AddTrackedBar(&stuck);
    pManager->UntrackAll();
    EXPECT_EQ(1, stuck.m_nStops);
    EXPECT_FALSE(pManager->IsTracking());
    wnd.DestroyWindow();
}

TEST(MouseManager, SwallowedReleaseAndStillMoves)
{
    CMouseManager* pManager = CMouseManager::GetThreadManager();
    CFakeTrackedBar bar(nullptr, 0);
    pManager->AddTrackedBar(&bar);
    pManager->m_bSwallowRelease = TRUE;
    EXPECT_TRUE(pManager->OnMouseHookAction(WM_LBUTTONUP, CPoint(5, 5)));
    EXPECT_FALSE(pManager->m_bSwallowRelease);
    EXPECT_TRUE(pManager->IsTracking());
    // A move to where the mouse already was is dropped while tracking.
    EXPECT_FALSE(pManager->OnMouseHookAction(WM_MOUSEMOVE, CPoint(7, 7)));
    EXPECT_TRUE(pManager->OnMouseHookAction(WM_MOUSEMOVE, CPoint(7, 7)));
    // A press forgets a pending swallow.
    pManager->m_bSwallowRelease = TRUE;
    pManager->OnMouseHookAction(WM_LBUTTONDOWN, CPoint(7, 7));
    EXPECT_FALSE(pManager->m_bSwallowRelease);
    pManager->UntrackAll();
    EXPECT_EQ(1, bar.m_nStops);
}
