// The tabbed MDI client on an MDI test frame: tabs follow the documents, the workspace commands move them between
// groups that share the client by their weights, and the frame's menus list the commands the client allows.
#include "FrameTestSupport.h"
#include "PixelCanvas.h"

#include "ui/commandbars/XTPCommandBars.h"
#include "ui/commandbars/XTPControlLists.h"
#include "ui/commandbars/XTPControls.h"
#include "ui/commandbars/XTPPopupBar.h"
#include "ui/docking/TabClientWnd.h"
#include "ui/persist/ImageManager.h"
#include "ui/themes/BarPainter.h"
#include "ui/themes/TabPainter.h"
#include "ui/uires.h"

#include "platform/mfc/afxmdi.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
// A document that may give its tab a caption of its own.
class CTestDocument : public CMDIChildWnd
{
public:
    CString m_strTabCaption;
    int m_nPaints = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_PAINT)
            m_nPaints++;
        if (message == WM_XTP_GETWINDOWTEXT && !m_strTabCaption.IsEmpty()) {
            lstrcpynW(reinterpret_cast<LPWSTR>(lParam), m_strTabCaption, static_cast<int>(wParam));
            return 1;
        }
        return CMDIChildWnd::WindowProc(message, wParam, lParam);
    }
};

// Counts the tabs made for documents; notes the presses on the empty workspace and answers them as told.
class CTestMDIFrame : public CMDIFrameWnd
{
public:
    int m_nNewTabs = 0;
    int m_nLayoutsOfAnEmptiedClient = 0;
    std::vector<std::pair<UINT, CPoint>> m_presses;
    LRESULT m_lPressAnswer = 0;

    // Counts the layouts that find the MDI client shrunk to nothing, as a layout of the groups leaves it first.
    void RecalcLayout(BOOL bNotify = TRUE) override
    {
        CRect rc;
        if (m_hWndMDIClient && ::GetWindowRect(m_hWndMDIClient, &rc) && rc.IsRectEmpty())
            m_nLayoutsOfAnEmptiedClient++;
        CMDIFrameWnd::RecalcLayout(bNotify);
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_XTP_NEWTABITEM)
            m_nNewTabs++;
        if (message == WM_XTP_PRETRANSLATEMOUSEMSG) {
            m_presses.push_back({static_cast<UINT>(wParam), CPoint(LOWORD(lParam), HIWORD(lParam))});
            return m_lPressAnswer;
        }
        return CMDIFrameWnd::WindowProc(message, wParam, lParam);
    }
};

typedef CXTPTabClientWnd::CWorkspace CWorkspace;

class TabClientWndTest : public ::testing::Test
{
protected:
    CTestMDIFrame* m_pFrame = new CTestMDIFrame;
    CXTPTabClientWnd m_client;

    void SetUp() override
    {
        // Away from where other test programs on the same display put their windows.
        ASSERT_TRUE(m_pFrame->Create(nullptr, L"Prova schede", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                     CRect(420, 300, 920, 700)));
    }
    void TearDown() override
    {
        m_client.Detach();
        m_pFrame->DestroyWindow();
    }
    CTestDocument* AddDocument(LPCTSTR lpszTitle)
    {
        auto* pDocument = new CTestDocument;
        EXPECT_TRUE(pDocument->Create(nullptr, lpszTitle, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                                      CFrameWnd::rectDefault, m_pFrame));
        return pDocument;
    }
    std::vector<CString> Captions(int nGroup)
    {
        std::vector<CString> captions;
        CWorkspace* pWorkspace = m_client.GetWorkspace(nGroup);
        for (int i = 0; pWorkspace && i < pWorkspace->GetItemCount(); i++)
            captions.push_back(pWorkspace->GetItem(i)->GetCaption());
        return captions;
    }
    std::vector<int> Counts()
    {
        std::vector<int> counts;
        for (int i = 0; i < m_client.GetWorkspaceCount(); i++)
            counts.push_back(m_client.GetWorkspace(i)->GetItemCount());
        return counts;
    }
    std::vector<double> Weights()
    {
        std::vector<double> weights;
        for (int i = 0; i < m_client.GetWorkspaceCount(); i++)
            weights.push_back(m_client.GetWorkspace(i)->GetWeight());
        return weights;
    }
    // The enabled state of 9420 to 9423.
    std::vector<BOOL> Enabled()
    {
        std::vector<BOOL> states;
        for (UINT nID = XTP_ID_WORKSPACE_MOVEPREVIOUS; nID <= XTP_ID_WORKSPACE_NEWVERTICAL; nID++)
            states.push_back(m_client.IsWorkspaceCommandEnabled(nID));
        return states;
    }
    CRect ClientRect()
    {
        CRect rc;
        m_client.GetClientRect(&rc);
        return rc;
    }
    // How far the MDI client's client area lies inside its window on each side.
    CRect FrameWidths()
    {
        HWND hClient = m_pFrame->m_hWndMDIClient;
        CRect rcWindow, rcClient;
        ::GetWindowRect(hClient, &rcWindow);
        ::GetClientRect(hClient, &rcClient);
        ::MapWindowPoints(hClient, nullptr, reinterpret_cast<LPPOINT>(&rcClient), 2);
        return CRect(rcClient.left - rcWindow.left, rcClient.top - rcWindow.top, rcWindow.right - rcClient.right,
                     rcWindow.bottom - rcClient.bottom);
    }
    // The MDI client's own frame without its scroll bars, which the workspace mode takes away.
    static CRect ClientEdge()
    {
        int cx = ::GetSystemMetrics(SM_CXEDGE), cy = ::GetSystemMetrics(SM_CYEDGE);
        return CRect(cx, cy, cx, cy);
    }
    // A pixel of the MDI client's window (its frame included) as it shows after pending paints.
    COLORREF WindowPixel(int x, int y)
    {
        ::UpdateWindow(m_pFrame->m_hWndMDIClient);
        CWindowDC dc(CWnd::FromHandle(m_pFrame->m_hWndMDIClient));
        return dc.GetPixel(x, y);
    }
    void Activate(CMDIChildWnd* pDocument) { pDocument->MDIActivate(); }
    // The frame receives the command, as from its menu or toolbar.
    void Command(UINT nID) { m_pFrame->SendMessage(WM_COMMAND, nID); }
};
}

TEST_F(TabClientWndTest, AttachNeedsAnMdiFrameWithItsClient)
{
    CXTPTabClientWnd client;
    CFrameWnd* pPlain = new CFrameWnd;
    ASSERT_TRUE(pPlain->Create(nullptr, L"Semplice", WS_OVERLAPPEDWINDOW, CRect(0, 0, 200, 100)));
    EXPECT_FALSE(client.Attach(nullptr));
    EXPECT_FALSE(client.Attach(pPlain));
    pPlain->DestroyWindow();
    ASSERT_TRUE(m_client.Attach(m_pFrame, TRUE));
    EXPECT_EQ(m_pFrame->m_hWndMDIClient, m_client.m_hWnd);
    EXPECT_EQ(m_pFrame, m_client.GetFrame());
    // One client per MDI client window.
    EXPECT_FALSE(client.Attach(m_pFrame));
}

TEST_F(TabClientWndTest, TheNewGroupCommandsHaveTheirIconsInTheProcessWideStore)
{
    // The fixture's client has put them there; menus of any manager find them.
    const COLORREF clrBack = RGB(1, 2, 3);
    std::vector<std::vector<COLORREF>> drawings;
    for (UINT nID : {XTP_ID_WORKSPACE_NEWHORIZONTAL, XTP_ID_WORKSPACE_NEWVERTICAL}) {
        SCOPED_TRACE(nID);
        CXTPImageManagerIcon* pIcon = XTPImageManager()->GetImage(nID, 16);
        ASSERT_NE(nullptr, pIcon);
        CPixelCanvas canvas(16, 16, clrBack);
        pIcon->Draw(&canvas, CPoint(0, 0), CSize(16, 16));
        std::vector<COLORREF> pixels;
        for (int y = 0; y < 16; y++)
            for (int x = 0; x < 16; x++)
                pixels.push_back(canvas.At(x, y));
        EXPECT_NE(pixels.end(), std::find_if(pixels.begin(), pixels.end(), [&](COLORREF clr) { return clr != clrBack; }));
        drawings.push_back(pixels);
    }
    EXPECT_NE(drawings[0], drawings[1]);
}

TEST_F(TabClientWndTest, TabsFollowTheVisibleDocuments)
{
    AddDocument(L"Entrate");
    ASSERT_TRUE(m_client.Attach(m_pFrame, TRUE));
    CTestDocument* pSpese = AddDocument(L"Spese");
    CTestDocument* pRiepilogo = AddDocument(L"Riepilogo");
    pRiepilogo->m_strTabCaption = L"Riepilogo 2009";
    pRiepilogo->SetWindowText(L"Riepilogo (modificato)");
    m_client.SyncTabs();
    EXPECT_EQ((std::vector<CString>{L"Entrate", L"Spese", L"Riepilogo 2009"}), Captions(0));
    EXPECT_EQ(3, m_pFrame->m_nNewTabs);
    EXPECT_EQ(pRiepilogo->m_hWnd, m_client.GetWorkspace(0)->GetSelectedItem()->GetHandle());
    EXPECT_EQ(m_client.GetWorkspace(0), m_client.GetActiveWorkspace());
    // Documents in a group have no frame of their own.
    EXPECT_EQ(0, static_cast<int>(pSpese->GetStyle() & (WS_CAPTION | WS_THICKFRAME)));

    // A hidden document loses its tab, shown again it comes back at the end; a destroyed one loses it too.
    pSpese->ShowWindow(SW_HIDE);
    m_client.SyncTabs();
    EXPECT_EQ((std::vector<CString>{L"Entrate", L"Riepilogo 2009"}), Captions(0));
    pSpese->ShowWindow(SW_SHOW);
    m_client.SyncTabs();
    EXPECT_EQ((std::vector<CString>{L"Entrate", L"Riepilogo 2009", L"Spese"}), Captions(0));
    pRiepilogo->DestroyWindow();
    EXPECT_EQ((std::vector<CString>{L"Entrate", L"Spese"}), Captions(0));

    // Clicking a tab activates its document.
    m_client.GetWorkspace(0)->GetItem(0)->Select();
    EXPECT_EQ(m_client.GetWorkspace(0)->GetItem(0)->GetHandle(), m_pFrame->MDIGetActive());
}

TEST_F(TabClientWndTest, WorkspaceCommandsMoveTheActiveTabAndShareTheClientByWeight)
{
    ASSERT_TRUE(m_client.Attach(m_pFrame, TRUE));
    CTestDocument* pEntrate = AddDocument(L"Entrate");
    AddDocument(L"Spese");
    CTestDocument* pRiepilogo = AddDocument(L"Riepilogo");
    double dHeight = ClientRect().Height(), dWidth = ClientRect().Width();
    const BOOL F = FALSE, T = TRUE;

    struct Step
    {
        const char* pszWhat;
        std::function<void()> action;
        std::vector<int> counts;
        std::vector<double> weights;
        std::vector<BOOL> enabled;   // 9420 to 9423 afterwards
    } steps[] = {
        {"start", [] {}, {3}, {100.0}, {F, F, T, T}},
        {"new horizontal group", [&] { Command(XTP_ID_WORKSPACE_NEWHORIZONTAL); }, {2, 1},
         {(dHeight - 5) / 2, (dHeight - 5) / 2}, {T, F, F, F}},
        {"next group: none after the last", [&] { Command(XTP_ID_WORKSPACE_MOVENEXT); }, {2, 1},
         {(dHeight - 5) / 2, (dHeight - 5) / 2}, {T, F, F, F}},
        {"back to the group before: the emptied one gives it its share", [&] {
             Command(XTP_ID_WORKSPACE_MOVEPREVIOUS);
         }, {3}, {dHeight}, {F, F, T, T}},
        {"new vertical group", [&] { Command(XTP_ID_WORKSPACE_NEWVERTICAL); }, {2, 1},
         {(dWidth - 5) / 2, (dWidth - 5) / 2}, {T, F, F, F}},
        {"another tab of the first group to the next", [&] {
             Activate(pEntrate);
             Command(XTP_ID_WORKSPACE_MOVENEXT);
         }, {1, 2}, {(dWidth - 5) / 2, (dWidth - 5) / 2}, {T, F, F, T}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.pszWhat);
        step.action();
        EXPECT_EQ(step.counts, Counts());
        EXPECT_EQ(step.weights, Weights());
        EXPECT_EQ(step.enabled, Enabled());
    }
    EXPECT_FALSE(m_client.IsHorizSplitting());
    EXPECT_EQ(pRiepilogo->m_hWnd, m_client.GetWorkspace(1)->GetItem(0)->GetHandle());
    EXPECT_EQ(pEntrate->m_hWnd, m_pFrame->MDIGetActive());
    EXPECT_EQ(m_client.GetWorkspace(1), m_client.GetActiveWorkspace());

    // The groups lie side by side, the splitter between them; each document fills its group's page.
    CRect rcClient = ClientRect();
    CRect rcFirst = m_client.GetWorkspaceRect(0), rcSecond = m_client.GetWorkspaceRect(1);
    int nAvailable = rcClient.Width() - 5;
    EXPECT_EQ(CRect(0, 0, nAvailable / 2, rcClient.bottom), rcFirst);
    EXPECT_EQ(CRect(nAvailable / 2 + 5, 0, rcClient.right, rcClient.bottom), rcSecond);
    EXPECT_EQ(CRect(rcFirst.right, 0, rcFirst.right + 5, rcClient.bottom), m_client.GetWorkspace(0)->GetSplitterRect());
    CRect rcDocument;
    pEntrate->GetWindowRect(&rcDocument);
    m_client.ScreenToClient(&rcDocument);
    EXPECT_EQ(m_client.GetWorkspace(1)->GetClientRect(), rcDocument);
    EXPECT_TRUE(rcSecond.PtInRect(rcDocument.TopLeft()) && rcDocument.top >= rcSecond.top + 10);
}

TEST_F(TabClientWndTest, CommandsNeedTheWorkspaceModeAndAnActiveDocument)
{
    ASSERT_TRUE(m_client.Attach(m_pFrame, FALSE));
    AddDocument(L"Entrate");
    AddDocument(L"Spese");
    EXPECT_EQ((std::vector<BOOL>{FALSE, FALSE, FALSE, FALSE}), Enabled());
    Command(XTP_ID_WORKSPACE_NEWHORIZONTAL);
    EXPECT_EQ((std::vector<int>{2}), Counts());

    // The update handler of the client's message map answers the same.
    CXTPTabClientWnd workspaces;
    m_client.Detach();
    ASSERT_TRUE(workspaces.Attach(m_pFrame, TRUE));
    for (UINT nID = XTP_ID_WORKSPACE_MOVEPREVIOUS; nID <= XTP_ID_WORKSPACE_NEWVERTICAL; nID++) {
        CCmdUI state;
        state.m_nID = nID;
        BOOL bEnabled = -1;
        struct CRecordingCmdUI : CCmdUI
        {
            BOOL* pbEnabled;
            void Enable(BOOL bOn) override { *pbEnabled = bOn; }
        } recorder;
        recorder.m_nID = nID;
        recorder.pbEnabled = &bEnabled;
        EXPECT_TRUE(workspaces.OnCmdMsg(nID, CN_UPDATE_COMMAND_UI, &recorder, nullptr));
        EXPECT_EQ(nID >= XTP_ID_WORKSPACE_NEWHORIZONTAL, bEnabled) << nID;
    }
    workspaces.Detach();
}

TEST_F(TabClientWndTest, EmptiedGroupsHandTheirShareOnlyToAGroupThatIsThere)
{
    ASSERT_TRUE(m_client.Attach(m_pFrame, TRUE));
    CTestDocument* pEntrate = AddDocument(L"Entrate");
    CTestDocument* pSpese = AddDocument(L"Spese");
    Command(XTP_ID_WORKSPACE_NEWHORIZONTAL);
    std::vector<double> weights = Weights();
    ASSERT_EQ(2u, weights.size());

    // The first group emptied: its share and the splitter go to the group after it.
    pEntrate->DestroyWindow();
    EXPECT_EQ((std::vector<double>{weights[0] + weights[1] + 5}), Weights());
    EXPECT_EQ((std::vector<CString>{L"Spese"}), Captions(0));

    // The only group emptied: it goes, with no neighbour to take its share; a new document opens a new one.
    pSpese->DestroyWindow();
    EXPECT_EQ(0, m_client.GetWorkspaceCount());
    EXPECT_EQ(nullptr, m_client.GetActiveWorkspace());
    AddDocument(L"Note");
    EXPECT_EQ((std::vector<double>{100.0}), Weights());
    EXPECT_EQ((std::vector<CString>{L"Note"}), Captions(0));
}

TEST_F(TabClientWndTest, TheSimpleModeShowsOneStripAboveTheDocuments)
{
    ASSERT_TRUE(m_client.Attach(m_pFrame, FALSE));
    CTestDocument* pEntrate = AddDocument(L"Entrate");
    AddDocument(L"Spese");
    ASSERT_EQ(1, m_client.GetWorkspaceCount());
    HWND hWndStrip = m_client.GetWorkspace(0)->GetHostWindow();
    ASSERT_NE(m_client.m_hWnd, hWndStrip);
    EXPECT_TRUE(::IsWindowVisible(hWndStrip));
    // The documents keep their frames; the strip sits right above the MDI area.
    EXPECT_NE(0, static_cast<int>(pEntrate->GetStyle() & WS_CAPTION));
    CRect rcStrip, rcClient;
    ::GetWindowRect(hWndStrip, &rcStrip);
    m_client.GetWindowRect(&rcClient);
    EXPECT_EQ(rcStrip.bottom, rcClient.top);
    EXPECT_EQ(rcStrip.left, rcClient.left);
    EXPECT_GT(rcStrip.Height(), 10);
    EXPECT_EQ((std::vector<CString>{L"Entrate", L"Spese"}), Captions(0));

    // Detached, the MDI area takes the strip's place again.
    m_client.Detach();
    CRect rcAfter;
    ::GetWindowRect(m_pFrame->m_hWndMDIClient, &rcAfter);
    EXPECT_EQ(rcStrip.top, rcAfter.top);
    EXPECT_FALSE(::IsWindow(hWndStrip));
}

// An update with layout gives the groups of the workspace mode their place anew; the strip of the simple mode and
// its documents keep theirs.
TEST_F(TabClientWndTest, AnUpdateWithLayoutEmptiesTheClientOnlyInTheWorkspaceMode)
{
    for (BOOL bWorkspace : {FALSE, TRUE}) {
        SCOPED_TRACE(bWorkspace);
        ASSERT_TRUE(m_client.Attach(m_pFrame, bWorkspace));
        AddDocument(L"Entrate");
        m_pFrame->m_nLayoutsOfAnEmptiedClient = 0;
        m_client.UpdateWorkspaces(TRUE);
        EXPECT_EQ(bWorkspace ? 1 : 0, m_pFrame->m_nLayoutsOfAnEmptiedClient);
        m_client.Detach();
    }
}

TEST_F(TabClientWndTest, TheWindowListNumbersTheGroupsTabsAndChecksTheSelectedOne)
{
    ASSERT_TRUE(m_client.Attach(m_pFrame, TRUE));
    AddDocument(L"Soci & fornitori");
    CTestDocument* pSpese = AddDocument(L"Spese");
    AddDocument(L"Riepilogo");
    Activate(pSpese);
    CXTPPopupBar* pPopup = CXTPPopupBar::CreatePopupBar(nullptr);
    m_client.FillWindowList(m_client.GetWorkspace(0), pPopup);
    struct Expected { LPCTSTR lpszCaption; int nId; BOOL bChecked; } expected[] = {
        {L"&1 Soci && fornitori", 1, FALSE}, {L"&2 Spese", 2, TRUE}, {L"&3 Riepilogo", 3, FALSE}};
    ASSERT_EQ(3, pPopup->GetControls()->GetCount());
    for (int i = 0; i < 3; i++) {
        CXTPControl* pControl = pPopup->GetControls()->GetAt(i);
        EXPECT_EQ(CString(expected[i].lpszCaption), pControl->GetCaption());
        EXPECT_EQ(expected[i].nId, pControl->GetID());
        EXPECT_EQ(expected[i].bChecked, pControl->GetChecked()) << i;
    }
    pPopup->InternalRelease();

    // With the flag the groups show the window-list button.
    typedef CXTPTabManagerNavigateButton CButton;
    EXPECT_EQ(CButton::modeHide, m_client.GetWorkspace(0)->FindNavigateButton(CXTPTabClientWnd::idWindowList)->GetMode());
    m_client.SetFlags(CXTPTabClientWnd::flagShowWindowList | CXTPTabClientWnd::flagHideClose);
    EXPECT_EQ(CButton::modeShow, m_client.GetWorkspace(0)->FindNavigateButton(CXTPTabClientWnd::idWindowList)->GetMode());
    EXPECT_EQ(CButton::modeHide, m_client.GetWorkspace(0)->FindNavigateButton(CButton::idClose)->GetMode());
    EXPECT_FALSE(m_client.GetWorkspace(0)->FindNavigateButton(CXTPTabClientWnd::idWindowList)->GetRect().IsRectEmpty());
}

TEST_F(TabClientWndTest, TheWorkspaceActionsListOffersTheEnabledCommands)
{
    auto* pCommandBars = new CXTPCommandBars;
    pCommandBars->SetSite(m_pFrame);
    CXTPPopupBar* pPopup = CXTPPopupBar::CreatePopupBar(pCommandBars);
    pPopup->SetSite(m_pFrame);
    CXTPControl* pPlaceholder = pPopup->GetControls()->Add(xtpControlButton, XTP_ID_WORKSPACE_ACTIONS);
    pPlaceholder->SetBeginGroup(TRUE);
    ASSERT_TRUE(pPlaceholder->IsKindOf(RUNTIME_CLASS(CXTPControlWorkspaceActions)));
    auto items = [&] {
        pPopup->CalcDynamicLayout(0, 0);
        std::vector<std::pair<CString, int>> list;
        for (int i = 0; i < pPopup->GetControls()->GetCount(); i++) {
            CXTPControl* pControl = pPopup->GetControls()->GetAt(i);
            if (pControl->IsTemporary())
                list.push_back({pControl->GetCaption(), pControl->GetID()});
        }
        return list;
    };
    // Without the tabbed client the placeholder stays and lists nothing.
    EXPECT_TRUE(items().empty());
    EXPECT_TRUE(pPlaceholder->IsVisible());

    ASSERT_TRUE(m_client.Attach(m_pFrame, TRUE));
    AddDocument(L"Entrate");
    AddDocument(L"Spese");
    typedef std::vector<std::pair<CString, int>> List;
    EXPECT_EQ((List{{L"Nuovo gruppo di schede orizzontali", 9422}, {L"Nuovo gruppo di schede verticali", 9423}}),
              items());
    EXPECT_FALSE(pPlaceholder->IsVisible());
    EXPECT_TRUE(pPopup->GetControls()->GetAt(1)->GetBeginGroup());
    Command(XTP_ID_WORKSPACE_NEWVERTICAL);
    EXPECT_EQ((List{{L"Passa al gruppo di schede precedente", 9420}}), items());
    pPopup->InternalRelease();
    pCommandBars->InternalRelease();
}

TEST_F(TabClientWndTest, DataDraggedOverATabActivatesItsDocument)
{
    ASSERT_TRUE(m_client.Attach(m_pFrame, TRUE));
    CTestDocument* pEntrate = AddDocument(L"Entrate");
    AddDocument(L"Spese");
    ASSERT_TRUE(m_client.GetDropTarget()->IsRegistered());
    CPoint pt = m_client.GetWorkspace(0)->GetItem(0)->GetRect().CenterPoint();
    m_client.ClientToScreen(&pt);
    DWORD dwEffect = DROPEFFECT_COPY;
    EXPECT_EQ(S_OK, m_client.GetDropTarget()->GetDropTarget()->DragEnter(nullptr, MK_LBUTTON, POINTL{pt.x, pt.y},
                                                                         &dwEffect));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), dwEffect);
    EXPECT_EQ(pEntrate->m_hWnd, m_pFrame->MDIGetActive());
    m_client.GetDropTarget()->GetDropTarget()->DragLeave();
}

TEST_F(TabClientWndTest, ATabDraggedOntoAnotherGroupMovesThereAndEscapeLeavesItInPlace)
{
    ASSERT_TRUE(m_client.Attach(m_pFrame, TRUE));
    AddDocument(L"Entrate");
    AddDocument(L"Spese");
    CTestDocument* pRiepilogo = AddDocument(L"Riepilogo");
    Command(XTP_ID_WORKSPACE_NEWVERTICAL);
    ASSERT_EQ((std::vector<int>{2, 1}), Counts());
    CPoint ptTab = m_client.GetWorkspace(0)->GetItem(0)->GetRect().CenterPoint();
    CPoint ptOther = m_client.GetWorkspaceRect(1).CenterPoint();

    struct Case { const char* pszWhat; UINT nEnd; WPARAM wEndKey; std::vector<int> counts; } cases[] = {
        {"Escape", WM_KEYDOWN, VK_ESCAPE, {2, 1}},
        {"right button", WM_RBUTTONDOWN, 0, {2, 1}},
        {"the mode cancelled", WM_CANCELMODE, 0, {2, 1}},
        {"released over the other group", WM_LBUTTONUP, 0, {1, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        // The loop reads the client's own queue: the moves and the end are waiting there.
        m_client.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(ptOther.x, ptOther.y));
        m_client.PostMessage(c.nEnd, c.wEndKey, MAKELPARAM(ptOther.x, ptOther.y));
        m_client.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptTab.x, ptTab.y));
        EXPECT_EQ(c.counts, Counts());
        EXPECT_EQ(nullptr, ::GetCapture());
    }
    EXPECT_EQ((std::vector<CString>{L"Riepilogo", L"Entrate"}), Captions(1));
    EXPECT_EQ(pRiepilogo->m_hWnd, m_client.GetWorkspace(1)->GetItem(0)->GetHandle());
    EXPECT_EQ(L"Entrate", m_client.GetWorkspace(1)->GetSelectedItem()->GetCaption());
}

TEST_F(TabClientWndTest, ATabDraggedOverAnotherOfItsGroupSwapsPlacesWithIt)
{
    ASSERT_TRUE(m_client.Attach(m_pFrame, TRUE));
    AddDocument(L"Entrate");
    AddDocument(L"Spese");
    AddDocument(L"Riepilogo");
    ASSERT_EQ((std::vector<CString>{L"Entrate", L"Spese", L"Riepilogo"}), Captions(0));
    CWorkspace* pWorkspace = m_client.GetWorkspace(0);
    CPoint ptFirst = pWorkspace->GetItem(0)->GetRect().CenterPoint();
    CPoint ptLast = pWorkspace->GetItem(2)->GetRect().CenterPoint();
    m_client.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(ptLast.x, ptLast.y));
    m_client.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(ptLast.x, ptLast.y));
    m_client.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptFirst.x, ptFirst.y));
    EXPECT_EQ((std::vector<CString>{L"Riepilogo", L"Spese", L"Entrate"}), Captions(0));
    EXPECT_EQ(nullptr, ::GetCapture());
}

TEST_F(TabClientWndTest, ATabDroppedOnItsOwnGroupOffersTheWorkspaceActionsAndCancel)
{
    ASSERT_TRUE(m_client.Attach(m_pFrame, TRUE));
    AddDocument(L"Entrate");
    AddDocument(L"Spese");
    struct Case
    {
        const char* pszWhat;
        UINT nChosen;
        std::vector<int> counts;
    } cases[] = {
        {"Annulla", XTP_ID_WORKSPACE_CANCEL, {2}},
        {"new vertical group", XTP_ID_WORKSPACE_NEWVERTICAL, {1, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        std::vector<std::pair<int, CString>> entries;
        // The drop opens the menu in a loop of its own: the step chooses from there once it shows.
        RunWhen([] { return GetOpenPopup() != nullptr; }, [&] {
            CXTPPopupBar* pMenu = GetOpenPopup();
            if (!pMenu)
                return;
            for (int i = 0; i < pMenu->GetControls()->GetCount(); i++) {
                CXTPControl* pControl = pMenu->GetControls()->GetAt(i);
                if (pControl->IsVisible())
                    entries.push_back({pControl->GetID(), pControl->GetCaption()});
            }
            if (CXTPControl* pChosen = pMenu->GetControls()->FindControl(static_cast<int>(c.nChosen)))
                pChosen->OnExecute();
        });
        CPoint ptTab = m_client.GetWorkspace(0)->GetItem(0)->GetRect().CenterPoint();
        CPoint ptPage = m_client.GetWorkspace(0)->GetClientRect().CenterPoint();
        m_client.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(ptPage.x, ptPage.y));
        m_client.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(ptPage.x, ptPage.y));
        m_client.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptTab.x, ptTab.y));
        // One group of two tabs: only the new groups can be made.
        std::vector<std::pair<int, CString>> expected = {
            {XTP_ID_WORKSPACE_NEWHORIZONTAL, L"Nuovo gruppo di schede orizzontali"},
            {XTP_ID_WORKSPACE_NEWVERTICAL, L"Nuovo gruppo di schede verticali"},
            {XTP_ID_WORKSPACE_CANCEL, L"Annulla"}};
        EXPECT_EQ(expected, entries);
        EXPECT_EQ(c.counts, Counts());
    }
    EXPECT_FALSE(m_client.IsHorizSplitting());
}

TEST_F(TabClientWndTest, NavigateButtonFlagsSetTheButtonsOfEveryGroup)
{
    typedef CXTPTabManagerNavigateButton CButton;
    ASSERT_TRUE(m_client.Attach(m_pFrame, TRUE));
    AddDocument(L"Entrate");
    AddDocument(L"Spese");
    struct Case
    {
        DWORD dwFlags;
        int nArrows, nClose, nWindowList;
    } cases[] = {
        {0, CButton::modeShow, CButton::modeAuto, CButton::modeHide},
        {CXTPTabClientWnd::flagArrowsAuto, CButton::modeAuto, CButton::modeAuto, CButton::modeHide},
        {CXTPTabClientWnd::flagHideArrows, CButton::modeShow, CButton::modeAuto, CButton::modeHide},
        {CXTPTabClientWnd::flagArrowsAuto | CXTPTabClientWnd::flagHideArrows, CButton::modeHide, CButton::modeAuto,
         CButton::modeHide},
        {CXTPTabClientWnd::flagHideClose | CXTPTabClientWnd::flagShowWindowList, CButton::modeShow, CButton::modeHide,
         CButton::modeShow},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dwFlags);
        m_client.SetFlags(c.dwFlags);
        // A group made afterwards takes them too.
        Command(XTP_ID_WORKSPACE_NEWHORIZONTAL);
        ASSERT_EQ(2, m_client.GetWorkspaceCount());
        for (int i = 0; i < 2; i++) {
            CWorkspace* pWorkspace = m_client.GetWorkspace(i);
            EXPECT_EQ(c.nArrows, pWorkspace->FindNavigateButton(CButton::idBack)->GetMode()) << i;
            EXPECT_EQ(c.nArrows, pWorkspace->FindNavigateButton(CButton::idForward)->GetMode()) << i;
            EXPECT_EQ(c.nClose, pWorkspace->FindNavigateButton(CButton::idClose)->GetMode()) << i;
            EXPECT_EQ(c.nWindowList, pWorkspace->FindNavigateButton(CXTPTabClientWnd::idWindowList)->GetMode()) << i;
        }
        Command(XTP_ID_WORKSPACE_MOVEPREVIOUS);
        ASSERT_EQ(1, m_client.GetWorkspaceCount());
    }
}

TEST_F(TabClientWndTest, DraggingTheSplitterSetsTheWeightsToTheNewLengths)
{
    ASSERT_TRUE(m_client.Attach(m_pFrame, TRUE));
    AddDocument(L"Entrate");
    AddDocument(L"Spese");
    Command(XTP_ID_WORKSPACE_NEWHORIZONTAL);
    CRect rcSplitter = m_client.GetWorkspace(0)->GetSplitterRect();
    ASSERT_FALSE(rcSplitter.IsRectEmpty());
    int nHeight = ClientRect().Height();
    CPoint pt = rcSplitter.CenterPoint();
    m_client.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(pt.x, pt.y - 40));
    m_client.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y - 40));
    m_client.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    std::vector<double> weights = Weights();
    ASSERT_EQ(2u, weights.size());
    EXPECT_EQ(m_client.GetWorkspaceRect(0).Height(), weights[0]);
    EXPECT_EQ(m_client.GetWorkspaceRect(1).Height(), weights[1]);
    EXPECT_EQ(nHeight - 5, weights[0] + weights[1]);
    EXPECT_EQ(rcSplitter.top - 40, m_client.GetWorkspaceRect(0).bottom);
    EXPECT_EQ(nullptr, ::GetCapture());
}

// The band between two groups is a part of the client frame: the header's face of the painter's colour set,
// edged in the frame colour on both sides when the painter draws the static frame (which the groups themselves
// leave to the workspace's frame).
TEST_F(TabClientWndTest, TheBandBetweenGroupsTakesTheHeadersFace)
{
    ASSERT_TRUE(m_client.Attach(m_pFrame, TRUE));
    AddDocument(L"Entrate");
    AddDocument(L"Spese");
    Command(XTP_ID_WORKSPACE_NEWHORIZONTAL);
    const COLORREF clrHeader = RGB(10, 120, 250), clrFrame = RGB(200, 30, 60);
    for (BOOL bStatic : {FALSE, TRUE}) {
        SCOPED_TRACE(bStatic);
        CXTPTabPainter* pPainter = m_client.GetPaintManager();
        pPainter->m_bStaticFrame = bStatic;
        pPainter->GetColorsObject()->m_clrHeaderFace.SetColors(clrHeader, clrHeader);
        pPainter->GetColorsObject()->m_clrFrameBorder.SetValue(clrFrame);
        m_client.Reposition();
        CRect rcSplitter = m_client.GetWorkspace(0)->GetSplitterRect();
        ASSERT_FALSE(rcSplitter.IsRectEmpty());
        m_client.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        CClientDC dc(&m_client);
        EXPECT_EQ(clrHeader, dc.GetPixel(rcSplitter.CenterPoint()));
        EXPECT_EQ(bStatic ? clrFrame : clrHeader, dc.GetPixel(rcSplitter.left + 1, rcSplitter.top));
        EXPECT_EQ(bStatic ? clrFrame : clrHeader, dc.GetPixel(rcSplitter.left + 1, rcSplitter.bottom - 1));
    }
}

// In the workspace mode the painter's style reserves a frame round the MDI area in place of the client edge and
// paints it: two pixels of the header's face, or one of the frame colour with the static frame. The simple mode
// keeps the MDI client's own frame.
TEST_F(TabClientWndTest, TheWorkspaceFrameIsReservedAndPaintedByTheStyle)
{
    const COLORREF clrHeader = RGB(10, 120, 250), clrFrame = RGB(200, 30, 60);
    const CRect rcOwn = ClientEdge();
    AddDocument(L"Entrate");
    struct Case
    {
        const char* pszWhat;
        BOOL bWorkspace, bStatic;
        CRect rcWidths;
        COLORREF clrOuter, clrSecond;   // CLR_INVALID: neither of the painter's colours
    } cases[] = {
        {"workspace", TRUE, FALSE, CRect(2, 2, 2, 2), clrHeader, clrHeader},
        {"workspace with the static frame", TRUE, TRUE, CRect(1, 1, 1, 1), clrFrame, CLR_INVALID},
        {"simple", FALSE, TRUE, rcOwn, CLR_INVALID, CLR_INVALID},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        m_client.Detach();
        CXTPTabPainter* pPainter = m_client.GetPaintManager();
        pPainter->m_bStaticFrame = c.bStatic;
        ASSERT_TRUE(m_client.Attach(m_pFrame, c.bWorkspace));
        pPainter->GetColorsObject()->m_clrHeaderFace.SetColors(clrHeader, clrHeader);
        pPainter->GetColorsObject()->m_clrFrameBorder.SetValue(clrFrame);
        m_client.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
        EXPECT_EQ(c.rcWidths, FrameWidths());
        CRect rcWindow;
        m_client.GetWindowRect(&rcWindow);
        CPoint ptLast(rcWindow.Width() - 1, rcWindow.Height() - 1);
        const CPoint outer[] = {{0, 0}, {0, ptLast.y / 2}, {ptLast.x / 2, 0}, ptLast, {ptLast.x, ptLast.y / 2}};
        for (CPoint pt : outer) {
            COLORREF clr = WindowPixel(pt.x, pt.y);
            if (c.clrOuter == CLR_INVALID)
                EXPECT_TRUE(clr != clrHeader && clr != clrFrame) << pt.x << ", " << pt.y;
            else
                EXPECT_EQ(c.clrOuter, clr) << pt.x << ", " << pt.y;
        }
        COLORREF clrSecond = WindowPixel(1, ptLast.y / 2);
        if (c.clrSecond == CLR_INVALID)
            EXPECT_TRUE(clrSecond != clrHeader && clrSecond != clrFrame);
        else
            EXPECT_EQ(c.clrSecond, clrSecond);
    }
}

// The frame follows the mode and the painter: a painter turned to the static frame narrows it, the client given
// back has its own frame again, and a theme change repaints it without a layout of the frame.
TEST_F(TabClientWndTest, TheWorkspaceFrameFollowsTheModeThePainterAndTheTheme)
{
    const CRect rcOwn = ClientEdge();
    AddDocument(L"Entrate");
    ASSERT_TRUE(m_client.Attach(m_pFrame, TRUE));
    EXPECT_EQ(CRect(2, 2, 2, 2), FrameWidths());
    CXTPTabPainter* pPainter = m_client.GetPaintManager();
    pPainter->m_bStaticFrame = TRUE;
    pPainter->SetStyle(pPainter->GetStyle());
    EXPECT_EQ(CRect(1, 1, 1, 1), FrameWidths());
    m_client.Detach();
    EXPECT_EQ(rcOwn, FrameWidths());
    ASSERT_TRUE(m_client.Attach(m_pFrame, FALSE));
    EXPECT_EQ(rcOwn, FrameWidths());
    m_client.Detach();

    pPainter->m_bStaticFrame = FALSE;
    ASSERT_TRUE(m_client.Attach(m_pFrame, TRUE));
    const COLORREF clrHeader = RGB(10, 120, 250);
    pPainter->GetColorsObject()->m_clrHeaderFace.SetColors(clrHeader, clrHeader);
    m_client.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    ASSERT_EQ(clrHeader, WindowPixel(0, 40));
    BOOL bInstalled = CXTPBarPainter::IsInstalled();
    int nTheme = bInstalled ? CXTPBarPainter::GetInstalled()->GetThemeId() : 0;
    CXTPBarPainter::SetTheme(nTheme == CXTPBarPainter::themeGradientVariant ? CXTPBarPainter::themeShadowed
                                                                            : CXTPBarPainter::themeGradientVariant);
    m_client.UpdateWorkspaces(FALSE);
    COLORREF clrThemed = pPainter->GetColorsObject()->m_clrHeaderFace.m_clrStart;
    EXPECT_NE(clrHeader, clrThemed);
    EXPECT_EQ(clrThemed, WindowPixel(0, 40));
    if (bInstalled)
        CXTPBarPainter::SetTheme(nTheme);
    else
        CXTPBarPainter::ReleasePainter();
}

TEST_F(TabClientWndTest, TabsOfTheGroupsAnswerTheTipContext)
{
    ASSERT_TRUE(m_client.Attach(m_pFrame, TRUE));
    AddDocument(L"Entrate");
    AddDocument(L"Spese");
    m_client.GetPaintManager()->m_nToolTipMode = 1;
    CPoint pt = m_client.GetWorkspace(0)->GetItem(1)->GetRect().CenterPoint();
    TTTOOLINFOW info = {};
    info.cbSize = TTTOOLINFOW_V1_SIZE;
    EXPECT_EQ(1, m_client.OnToolHitTest(pt, &info));
    EXPECT_EQ(m_client.m_hWnd, info.hwnd);
    EXPECT_STREQ(L"Spese", info.lpszText);
    ::free(info.lpszText);
    // Below the strips lie the documents' pages: no tool.
    EXPECT_EQ(-1, m_client.OnToolHitTest(m_client.GetWorkspace(0)->GetClientRect().CenterPoint(), nullptr));
}

namespace
{
// A document that answers the tab's icon or colour questions as told.
class CAnsweringDocument : public CMDIChildWnd
{
public:
    HICON m_hTabIcon = nullptr;
    COLORREF m_clrTab = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_XTP_GETTABICON)
            return reinterpret_cast<LRESULT>(m_hTabIcon);
        if (message == WM_XTP_GETTABCOLOR)
            return static_cast<LRESULT>(m_clrTab);
        return CMDIChildWnd::WindowProc(message, wParam, lParam);
    }
};
}

TEST_F(TabClientWndTest, ATabsIconAndColourAreAskedFromItsDocument)
{
    ASSERT_TRUE(m_client.Attach(m_pFrame, TRUE));
    HICON hTabIcon = ::LoadIconW(nullptr, IDI_WARNING), hSmall = ::LoadIconW(nullptr, IDI_ERROR),
          hBig = ::LoadIconW(nullptr, IDI_INFORMATION);
    auto* pDocument = new CAnsweringDocument;
    ASSERT_TRUE(pDocument->Create(nullptr, L"Entrate", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                                  CFrameWnd::rectDefault, m_pFrame));
    CWorkspace* pWorkspace = m_client.GetWorkspace(0);
    CXTPTabManagerItem* pItem = pWorkspace->GetItem(0);
    // The document's answer first, then its small and big window icons, then the system's.
    struct Case { HICON hAnswer, hSmallIcon, hBigIcon, hExpected; } cases[] = {
        {hTabIcon, hSmall, hBig, hTabIcon},
        {nullptr, hSmall, hBig, hSmall},
        {nullptr, nullptr, hBig, hBig},
        {nullptr, nullptr, nullptr, ::LoadIconW(nullptr, IDI_WINLOGO)},
    };
    for (const Case& c : cases) {
        pDocument->m_hTabIcon = c.hAnswer;
        pDocument->SetIcon(c.hSmallIcon, FALSE);
        pDocument->SetIcon(c.hBigIcon, TRUE);
        EXPECT_EQ(c.hExpected, pWorkspace->GetItemIcon(pItem));
    }
    // A colour answered by the document becomes the tab's; none keeps the one it had.
    COLORREF clrBefore = pItem->GetColor();
    EXPECT_EQ(clrBefore, pWorkspace->GetItemColor(pItem));
    pDocument->m_clrTab = RGB(10, 120, 200);
    EXPECT_EQ(RGB(10, 120, 200), pItem->GetColor());
    EXPECT_EQ(RGB(10, 120, 200), pItem->GetOwnColor());
}

TEST(TabClientTheme, TheTabStyleFollowsTheBarsThemeUntilAPainterIsSet)
{
    BOOL bInstalled = CXTPBarPainter::IsInstalled();
    int nTheme = bInstalled ? CXTPBarPainter::GetInstalled()->GetThemeId() : 0;
    struct Case { int nTheme, nStyle, nColors; BOOL bHotTracking; int nClientFrame; } cases[] = {
        {CXTPBarPainter::themeShadowed, 5, 2, FALSE, CXTPTabPainter::frameBorder},
        {CXTPBarPainter::themeGradient, 3, 4, TRUE, CXTPTabPainter::frameNone},
        {CXTPBarPainter::themeVisualStyles, 0, 8, TRUE, CXTPTabPainter::frameNone},
        {CXTPBarPainter::themeGradientVariant, 3, 16, FALSE, CXTPTabPainter::frameBorder},
    };
    for (const Case& c : cases) {
        CXTPBarPainter::SetTheme(c.nTheme);
        CXTPTabClientWnd client;
        client.UpdateWorkspaces();
        CXTPTabPainter* pPainter = client.GetPaintManager();
        EXPECT_EQ(c.nStyle, pPainter->GetStyle()) << c.nTheme;
        EXPECT_EQ(c.nColors, pPainter->GetColors()) << c.nTheme;
        EXPECT_EQ(c.bHotTracking, pPainter->m_bHotTracking) << c.nTheme;
        EXPECT_EQ(c.nClientFrame, pPainter->m_nClientFrame) << c.nTheme;

        // A painter of the program's own stays whatever the theme.
        client.SetPaintManager(new CXTPTabPainter);
        client.GetPaintManager()->SetStyle(7);
        CXTPBarPainter::SetTheme(c.nTheme == 1 ? 2 : 1);
        client.UpdateWorkspaces();
        EXPECT_EQ(7, client.GetPaintManager()->GetStyle()) << c.nTheme;
    }
    if (bInstalled)
        CXTPBarPainter::SetTheme(nTheme);
    else
        CXTPBarPainter::ReleasePainter();
}

TEST_F(TabClientWndTest, ChoosingFromTheWindowListActivatesThatDocument)
{
    ASSERT_TRUE(m_client.Attach(m_pFrame, TRUE));
    CTestDocument* pEntrate = AddDocument(L"Entrate");
    AddDocument(L"Spese");
    CTestDocument* pRiepilogo = AddDocument(L"Riepilogo");
    m_client.SetFlags(CXTPTabClientWnd::flagShowWindowList);
    ASSERT_EQ(pRiepilogo->m_hWnd, m_pFrame->MDIGetActive());
    m_pFrame->SetForegroundWindow();
    CPoint pt = m_client.GetWorkspace(0)->FindNavigateButton(CXTPTabClientWnd::idWindowList)->GetRect().CenterPoint();
    // The button's press loop ends on the release waiting in the queue; the list then tracks until a key
    // chooses its first entry, typed once it shows.
    RunWhen([] { return GetOpenPopup() != nullptr; }, [] { SendKeys({VK_DOWN}), SendKeys({VK_RETURN}); });
    m_client.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    m_client.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    EXPECT_EQ(pEntrate->m_hWnd, m_pFrame->MDIGetActive());
    EXPECT_EQ(nullptr, ::GetCapture());
}

TEST_F(TabClientWndTest, PressesOnTheEmptyWorkspaceAreOfferedToTheFrame)
{
    ASSERT_TRUE(m_client.Attach(m_pFrame, TRUE));
    const UINT presses[] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN, WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK};
    for (UINT message : presses)
        m_client.SendMessage(message, 0, MAKELPARAM(30, 40));
    ASSERT_EQ(5u, m_pFrame->m_presses.size());
    for (size_t i = 0; i < 5; i++) {
        EXPECT_EQ(presses[i], m_pFrame->m_presses[i].first);
        EXPECT_EQ(CPoint(30, 40), m_pFrame->m_presses[i].second);
    }
    // Where a group lies the press is the group's.
    m_client.SendMessage(WM_IDLEUPDATECMDUI);
    AddDocument(L"Entrate");
    m_client.SendMessage(WM_RBUTTONDOWN, 0, MAKELPARAM(30, 40));
    m_client.SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(30, 40));
    EXPECT_EQ(5u, m_pFrame->m_presses.size());
}

// After a press in the workspace mode the tabs wait for the next idle update; a new size brings them up to date.
TEST_F(TabClientWndTest, TabsWaitForTheIdleUpdateAfterAPressAndFollowANewSize)
{
    ASSERT_TRUE(m_client.Attach(m_pFrame, TRUE));
    m_client.SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(30, 40));
    CTestDocument* pDocument = AddDocument(L"Entrate");
    EXPECT_EQ(std::vector<int>{}, Counts());
    m_client.SendMessage(WM_IDLEUPDATECMDUI);
    EXPECT_EQ(std::vector<CString>{L"Entrate"}, Captions(0));

    pDocument->SetWindowText(L"Uscite");
    CRect rc = ClientRect();
    m_client.SetWindowPos(nullptr, 0, 0, rc.Width() - 20, rc.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(std::vector<CString>{L"Uscite"}, Captions(0));
}

// The simple mode repaints the client and its documents at once when another document becomes active.
TEST_F(TabClientWndTest, TheSimpleModeRepaintsAtOnceOnActivation)
{
    ASSERT_TRUE(m_client.Attach(m_pFrame, FALSE));
    CTestDocument* pEntrate = AddDocument(L"Entrate");
    CTestDocument* pSpese = AddDocument(L"Spese");
    m_pFrame->UpdateWindow();
    pEntrate->m_nPaints = pSpese->m_nPaints = 0;
    Activate(pEntrate);
    EXPECT_GT(pEntrate->m_nPaints, 0);
    EXPECT_GT(pSpese->m_nPaints, 0);
}

TEST_F(TabClientWndTest, TheBarsLayoutBringsTheTabsInLineWithTheDocuments)
{
    CTestDocument* pDocument = AddDocument(L"Entrate");
    ASSERT_TRUE(m_client.Attach(m_pFrame, TRUE));
    m_client.SyncTabs();
    pDocument->SetWindowText(L"Entrate 2009");
    CXTPCommandBars bars;
    bars.SetSite(m_pFrame);
    bars.RecalcLayoutAll();
    EXPECT_EQ(std::vector<CString>{L"Entrate 2009"}, Captions(0));
}
