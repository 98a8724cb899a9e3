// Document windows of an MDI frame: made through the MDI client, run by the default MDI child procedure, destroyed
// through the client with their objects; the frame shows the active window's menu.
#include "PlatformTestRes.h"

#include "platform/mfc/afxdoctempl.h"
#include "platform/mfc/afxmdi.h"

#include <gtest/gtest.h>

namespace
{
// Notes its creation context and its end.
class CNotingChild : public CMDIChildWnd
{
public:
    static int s_nDestroyed;
    CCreateContext* m_pContextSeen = nullptr;

protected:
    BOOL OnCreateClient(LPCREATESTRUCT /*lpcs*/, CCreateContext* pContext) override
    {
        m_pContextSeen = pContext;
        return TRUE;
    }
    void PostNcDestroy() override
    {
        s_nDestroyed++;
        CMDIChildWnd::PostNcDestroy();
    }
};
int CNotingChild::s_nDestroyed = 0;

class MdiChildTest : public ::testing::Test
{
protected:
    CMDIFrameWnd* m_pFrame = new CMDIFrameWnd;

    void SetUp() override
    {
        ASSERT_TRUE(m_pFrame->Create(nullptr, L"Prova MDI", WS_OVERLAPPEDWINDOW, CRect(0, 0, 500, 400)));
        CNotingChild::s_nDestroyed = 0;
    }
    void TearDown() override { m_pFrame->DestroyWindow(); }
};
}

TEST_F(MdiChildTest, ADocumentWindowLivesInTheMdiClient)
{
    CCreateContext context;
    auto* pFirst = new CNotingChild;
    ASSERT_TRUE(pFirst->Create(nullptr, L"Entrate", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                               CRect(10, 20, 210, 170), m_pFrame, &context));
    EXPECT_EQ(&context, pFirst->m_pContextSeen);
    EXPECT_EQ(m_pFrame->m_hWndMDIClient, ::GetParent(pFirst->m_hWnd));
    EXPECT_NE(0, static_cast<int>(pFirst->GetExStyle() & WS_EX_MDICHILD));
    EXPECT_EQ(m_pFrame, pFirst->GetMDIFrame());
    CRect rc;
    pFirst->GetWindowRect(&rc);
    ::MapWindowPoints(nullptr, m_pFrame->m_hWndMDIClient, reinterpret_cast<LPPOINT>(&rc), 2);
    EXPECT_EQ(CRect(10, 20, 210, 170), rc);

    auto* pSecond = new CNotingChild;
    ASSERT_TRUE(pSecond->Create(nullptr, L"Spese", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                                CFrameWnd::rectDefault, m_pFrame));
    EXPECT_EQ(pSecond->m_hWnd, m_pFrame->MDIGetActive());
    pFirst->MDIActivate();
    EXPECT_EQ(pFirst->m_hWnd, m_pFrame->MDIGetActive());
    // The default MDI child procedure maximises within the client.
    pFirst->ShowWindow(SW_MAXIMIZE);
    BOOL bMaximized = FALSE;
    EXPECT_EQ(pFirst->m_hWnd, m_pFrame->MDIGetActive(&bMaximized));
    EXPECT_TRUE(bMaximized);

    // Closing goes through the client: the next document becomes active and the object is gone.
    HWND hSecond = pSecond->m_hWnd;
    pFirst->SendMessage(WM_CLOSE);
    EXPECT_EQ(1, CNotingChild::s_nDestroyed);
    EXPECT_EQ(hSecond, m_pFrame->MDIGetActive());
    pSecond->MDIDestroy();
    EXPECT_EQ(2, CNotingChild::s_nDestroyed);
    EXPECT_EQ(nullptr, m_pFrame->MDIGetActive());
}

TEST_F(MdiChildTest, WithoutAnMdiFrameNoWindowIsMade)
{
    CFrameWnd* pPlain = new CFrameWnd;
    ASSERT_TRUE(pPlain->Create(nullptr, L"Semplice", WS_OVERLAPPEDWINDOW, CRect(0, 0, 200, 100)));
    CNotingChild child;
    EXPECT_FALSE(child.Create(nullptr, L"Entrate", WS_CHILD | WS_VISIBLE, CFrameWnd::rectDefault, nullptr));
    EXPECT_EQ(nullptr, child.m_hWnd);
    EXPECT_EQ(0, CNotingChild::s_nDestroyed);
    pPlain->DestroyWindow();
}

TEST(MdiFrameMenuTest, TheFrameShowsTheGivenMenuElseTheActiveWindowsElseItsOwn)
{
    auto* pFrame = new CMDIFrameWnd;
    ASSERT_TRUE(pFrame->Create(nullptr, L"Menu MDI", WS_OVERLAPPEDWINDOW, CRect(0, 0, 500, 400), nullptr,
                               MAKEINTRESOURCEW(IDR_TESTFRAME)));
    HMENU hOwn = ::GetMenu(pFrame->m_hWnd);
    ASSERT_NE(nullptr, hOwn);
    HMENU hDocument = ::CreateMenu(), hOther = ::CreateMenu();
    ::AppendMenuW(hDocument, MF_STRING, 1, L"Documento");
    ::AppendMenuW(hOther, MF_STRING, 2, L"Altro");
    auto* pChild = new CMDIChildWnd;
    pChild->m_hMenuShared = hDocument;
    struct STEP
    {
        BOOL bChild;
        HMENU hMenuAlt, hExpected;
    } steps[] = {{FALSE, nullptr, hOwn}, {TRUE, nullptr, hDocument}, {TRUE, hOther, hOther}, {TRUE, nullptr, hDocument}};
    for (const STEP& step : steps) {
        if (step.bChild && !pChild->GetSafeHwnd()) {
            ASSERT_TRUE(pChild->Create(nullptr, L"Documento", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                                       CRect(10, 10, 200, 150), pFrame));
        }
        pFrame->OnUpdateFrameMenu(step.hMenuAlt);
        EXPECT_EQ(step.hExpected, ::GetMenu(pFrame->m_hWnd)) << step.bChild << " " << step.hMenuAlt;
    }
    pChild->MDIDestroy();
    pFrame->OnUpdateFrameMenu(nullptr);
    EXPECT_EQ(hOwn, ::GetMenu(pFrame->m_hWnd)) << "the last window gone";
    pFrame->DestroyWindow();
    ::DestroyMenu(hDocument);
    ::DestroyMenu(hOther);
}

TEST(MdiFrameMenuTest, TheFrameShowsTheMenuOfEachDocumentWindowAsItBecomesActive)
{
    auto* pFrame = new CMDIFrameWnd;
    ASSERT_TRUE(pFrame->Create(nullptr, L"Menu MDI", WS_OVERLAPPEDWINDOW, CRect(0, 0, 500, 400), nullptr,
                               MAKEINTRESOURCEW(IDR_TESTFRAME)));
    HMENU hOwn = ::GetMenu(pFrame->m_hWnd);
    HMENU hFirst = ::CreateMenu(), hSecond = ::CreateMenu();
    ::AppendMenuW(hFirst, MF_STRING, 1, L"Primo");
    ::AppendMenuW(hSecond, MF_STRING, 2, L"Secondo");
    auto open = [&](HMENU hMenu) {
        auto* pChild = new CMDIChildWnd;
        pChild->m_hMenuShared = hMenu;
        EXPECT_TRUE(pChild->Create(nullptr, L"Documento", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                                   CRect(10, 10, 200, 150), pFrame));
        return pChild;
    };
    CMDIChildWnd* pFirst = open(hFirst);
    EXPECT_EQ(hFirst, ::GetMenu(pFrame->m_hWnd));
    CMDIChildWnd* pSecond = open(hSecond);
    EXPECT_EQ(hSecond, ::GetMenu(pFrame->m_hWnd));
    pFirst->MDIActivate();
    EXPECT_EQ(hFirst, ::GetMenu(pFrame->m_hWnd));
    pFirst->MDIDestroy();
    EXPECT_EQ(hSecond, ::GetMenu(pFrame->m_hWnd)) << "the next window became active";
    pSecond->MDIDestroy();
    EXPECT_EQ(hOwn, ::GetMenu(pFrame->m_hWnd)) << "the last window gone";
    pFrame->DestroyWindow();
    ::DestroyMenu(hFirst);
    ::DestroyMenu(hSecond);
}
