// A single-document template making document, frame and view; commands routed view -> document -> frame ->
// application; command states on the idle update and in menus; the frame's layout through WM_SIZEPARENT.
#include "GeometryPrinters.h"
#include "PlatformTestRes.h"
#include "platform/mfc/afxdlgs.h"
#include "support/MessageBoxRecorder.h"
#include "support/ModalDialogDriver.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <vector>

namespace
{
std::vector<CString> g_log;
bool g_bDocumentDeleted = false;

void Log(LPCTSTR lpszWho) { g_log.push_back(lpszWho); }

class CTestDoc : public CDocument
{
    DECLARE_DYNCREATE(CTestDoc)
public:
    ~CTestDoc() override { g_bDocumentDeleted = true; }
    BOOL m_bChecked = TRUE;
    CString m_strContent;

    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring())
            ar << m_strContent;
        else
            ar >> m_strContent;
    }
    void DeleteContents() override { m_strContent.Empty(); }

protected:
    void OnDocCommand() { Log(L"doc"); }
    void OnUpdateDocCommand(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_bChecked); }
    // The frame also handles the view command: the view must come first.
    void OnViewCommand() { Log(L"doc had the view's command"); }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CTestDoc, CDocument)
BEGIN_MESSAGE_MAP(CTestDoc, CDocument)
    ON_COMMAND(ID_TEST_DOCCMD, &CTestDoc::OnDocCommand)
    ON_UPDATE_COMMAND_UI(ID_TEST_DOCCMD, &CTestDoc::OnUpdateDocCommand)
    ON_COMMAND(ID_TEST_VIEWCMD, &CTestDoc::OnViewCommand)
END_MESSAGE_MAP()

class CTestView : public CView
{
    DECLARE_DYNCREATE(CTestView)
public:
    int m_nInitialUpdates = 0;
    BOOL m_bCommandEnabled = TRUE;
    void OnDraw(CDC*) override {}
    void OnInitialUpdate() override { ++m_nInitialUpdates; }

protected:
    void OnViewCommand() { Log(L"view"); }
    void OnUpdateViewCommand(CCmdUI* pCmdUI) { pCmdUI->Enable(m_bCommandEnabled); }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CTestView, CView)
BEGIN_MESSAGE_MAP(CTestView, CView)
    ON_COMMAND(ID_TEST_VIEWCMD, &CTestView::OnViewCommand)
    ON_UPDATE_COMMAND_UI(ID_TEST_VIEWCMD, &CTestView::OnUpdateViewCommand)
END_MESSAGE_MAP()

// A bar at the top of the frame: it takes 20 pixels while visible and keeps one button per command
// up to date on the idle update, like the frame's tool bars.
class CTestBar : public CWnd
{
public:
    int m_nSizeParent = 0;
    CButton m_buttons[4];

    BOOL Create(CWnd* pParent)
    {
        if (!CWnd::Create(nullptr, L"", WS_CHILD, CRect(0, 0, 10, 10), pParent, AFX_IDW_CONTROLBAR_FIRST + 1))
            return FALSE;
        const UINT ids[] = {ID_TEST_FRAMECMD, ID_TEST_VIEWCMD, ID_TEST_DOCCMD, ID_TEST_NOHANDLER};
        for (int i = 0; i < 4; ++i) {
            DWORD dwStyle = WS_CHILD | WS_VISIBLE | (ids[i] == ID_TEST_DOCCMD ? BS_CHECKBOX : BS_PUSHBUTTON);
            if (!m_buttons[i].Create(L"", dwStyle, CRect(i * 30, 0, i * 30 + 28, 18), this, ids[i]))
                return FALSE;
        }
        return TRUE;
    }

protected:
    LRESULT OnSizeParent(WPARAM, LPARAM lParam)
    {
        ++m_nSizeParent;
        auto pLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
        if (!(GetStyle() & WS_VISIBLE))   // its own flag: the frame itself may still be hidden
            return 0;
        CRect rect(pLayout->rect.left, pLayout->rect.top, pLayout->rect.right, pLayout->rect.top + 20);
        pLayout->rect.top += 20;
        AfxRepositionWindow(pLayout, m_hWnd, &rect);
        return 0;
    }
    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM)
    {
        UpdateDialogControls(GetParentFrame(), static_cast<BOOL>(wParam));
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTestBar, CWnd)
    ON_MESSAGE(WM_SIZEPARENT, &CTestBar::OnSizeParent)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, &CTestBar::OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

class CTestFrame : public CFrameWnd
{
    DECLARE_DYNCREATE(CTestFrame)
public:
    CTestBar m_bar;

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct)
    {
        if (CFrameWnd::OnCreate(lpCreateStruct) == -1 || !m_bar.Create(this))
            return -1;
        return 0;
    }
    void OnFrameCommand() { Log(L"frame"); }
    void OnViewCommand() { Log(L"frame had the view's command"); }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CTestFrame, CFrameWnd)
BEGIN_MESSAGE_MAP(CTestFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_COMMAND(ID_TEST_FRAMECMD, &CTestFrame::OnFrameCommand)
    ON_COMMAND(ID_TEST_VIEWCMD, &CTestFrame::OnViewCommand)
END_MESSAGE_MAP()

// A frame of its own beside the main window (a floating frame): it counts its idle updates.
class CFloatingFrame : public CFrameWnd
{
public:
    int m_nIdleUpdates = 0;

protected:
    LRESULT OnIdleUpdate(WPARAM wParam, LPARAM lParam)
    {
        ++m_nIdleUpdates;
        return OnIdleUpdateCmdUI(wParam, lParam);
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CFloatingFrame, CFrameWnd)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, &CFloatingFrame::OnIdleUpdate)
END_MESSAGE_MAP()

class CTestApp : public CWinApp
{
public:
    CTestApp() : CWinApp(L"Prova") {}

protected:
    void OnAppCommand() { Log(L"app"); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
    ON_COMMAND(ID_FILE_NEW, &CWinApp::OnFileNew)
    ON_COMMAND(ID_FILE_OPEN, &CWinApp::OnFileOpen)
    ON_COMMAND(ID_TEST_APPCMD, &CTestApp::OnAppCommand)
END_MESSAGE_MAP()

class DocViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_log.clear();
        g_bDocumentDeleted = false;
        // Shown frames cost seconds under Wine without a window manager: only the idle test shows its own.
        m_app.m_nCmdShow = SW_HIDE;
        m_app.AddDocTemplate(new CSingleDocTemplate(IDR_TESTFRAME, RUNTIME_CLASS(CTestDoc), RUNTIME_CLASS(CTestFrame),
                                                    RUNTIME_CLASS(CTestView)));
        CCommandLineInfo cmdInfo;
        ASSERT_TRUE(m_app.ProcessShellCommand(cmdInfo));
        ASSERT_TRUE(m_app.m_pMainWnd && m_app.m_pMainWnd->IsKindOf(RUNTIME_CLASS(CTestFrame)));
        m_pFrame = static_cast<CTestFrame*>(m_app.m_pMainWnd);
        ASSERT_TRUE(m_pFrame->GetActiveView() && m_pFrame->GetActiveView()->IsKindOf(RUNTIME_CLASS(CTestView)));
        m_pView = static_cast<CTestView*>(m_pFrame->GetActiveView());
        ASSERT_TRUE(m_pView->GetDocument() && m_pView->GetDocument()->IsKindOf(RUNTIME_CLASS(CTestDoc)));
        m_pDoc = static_cast<CTestDoc*>(m_pView->GetDocument());
    }
    void TearDown() override
    {
        if (m_app.m_pMainWnd)
            m_app.m_pMainWnd->DestroyWindow();
        MSG msg;
        ::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);   // the main window's end posts it
    }

    CTestApp m_app;
    CTestFrame* m_pFrame = nullptr;
    CTestView* m_pView = nullptr;
    CTestDoc* m_pDoc = nullptr;
};
} // namespace

TEST_F(DocViewTest, TheTemplateMakesDocumentFrameAndView)
{
    EXPECT_EQ(1, m_pView->m_nInitialUpdates);
    EXPECT_EQ(AFX_IDW_PANE_FIRST, m_pView->GetDlgCtrlID());
    EXPECT_EQ(-1, m_app.m_nCmdShow);   // the start-up show state is used once, by the main window
    CString strUntitled;
    ASSERT_TRUE(strUntitled.LoadString(AFX_IDS_UNTITLED));
    EXPECT_EQ(strUntitled, m_pDoc->GetTitle());
    CString strTitle;
    m_pFrame->GetWindowText(strTitle);
    EXPECT_EQ(strUntitled + L" - Prova", strTitle);

    // A second "new" re-uses the one document and its frame.
    m_app.OnFileNew();
    EXPECT_EQ(m_pFrame, m_app.m_pMainWnd);
    EXPECT_EQ(m_pDoc, m_pFrame->GetActiveDocument());
}

TEST_F(DocViewTest, CommandsRouteThroughViewDocumentFrameAndApplication)
{
    const UINT ids[] = {ID_TEST_VIEWCMD, ID_TEST_DOCCMD, ID_TEST_FRAMECMD, ID_TEST_APPCMD};
    for (UINT nID : ids)
        m_pFrame->SendMessage(WM_COMMAND, nID);
    std::vector<CString> expected = {L"view", L"doc", L"frame", L"app"};
    EXPECT_EQ(expected, g_log);
}

TEST_F(DocViewTest, IdleUpdateSetsTheCommandStatesOfTheFrame)
{
    CButton* buttons = m_pFrame->m_bar.m_buttons;   // frame, view, document, no handler
    m_pView->m_bCommandEnabled = FALSE;
    m_app.OnIdle(0);
    EXPECT_TRUE(buttons[1].IsWindowEnabled());   // hidden frames are not updated

    m_pFrame->ShowWindow(SW_SHOWNOACTIVATE);
    m_app.OnIdle(0);
    EXPECT_TRUE(buttons[0].IsWindowEnabled());
    EXPECT_FALSE(buttons[1].IsWindowEnabled());   // the view's update handler
    EXPECT_EQ(BST_CHECKED, buttons[2].GetCheck());
    EXPECT_FALSE(buttons[3].IsWindowEnabled());   // nobody handles it

    m_pDoc->m_bChecked = FALSE;
    m_app.OnIdle(0);
    EXPECT_EQ(BST_UNCHECKED, buttons[2].GetCheck());

    // Every visible frame of the thread gets the update, not only the main window and its children.
    auto pFloating = new CFloatingFrame;
    ASSERT_TRUE(pFloating->Create(nullptr, L"mobile", WS_POPUP | WS_CAPTION, CRect(0, 0, 100, 80), m_pFrame));
    m_app.OnIdle(0);
    EXPECT_EQ(0, pFloating->m_nIdleUpdates);
    pFloating->ShowWindow(SW_SHOWNOACTIVATE);
    m_app.OnIdle(0);
    EXPECT_EQ(1, pFloating->m_nIdleUpdates);
    pFloating->DestroyWindow();
}

TEST_F(DocViewTest, OpeningAMenuUpdatesItsItems)
{
    m_pView->m_bCommandEnabled = FALSE;
    CMenu* pFileMenu = m_pFrame->GetMenu()->GetSubMenu(0);
    ASSERT_NE(nullptr, pFileMenu);
    m_pFrame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(pFileMenu->m_hMenu), 0);
    auto state = [&](UINT nID) { return pFileMenu->GetMenuState(nID, MF_BYCOMMAND); };
    EXPECT_EQ(0u, state(ID_TEST_FRAMECMD) & MF_GRAYED);
    EXPECT_NE(0u, state(ID_TEST_VIEWCMD) & MF_GRAYED);
    EXPECT_NE(0u, state(ID_TEST_DOCCMD) & MF_CHECKED);
    EXPECT_NE(0u, state(ID_TEST_NOHANDLER) & MF_GRAYED);
    EXPECT_EQ(0u, state(ID_FILE_NEW) & MF_GRAYED);

    // A disabled command chosen anyway (an accelerator still on its way) does not run.
    m_pFrame->SendMessage(WM_COMMAND, ID_TEST_VIEWCMD);
    g_log.clear();
    m_pView->SendMessage(WM_COMMAND, ID_TEST_VIEWCMD);
    EXPECT_TRUE(g_log.empty());
}

TEST_F(DocViewTest, LayoutAsksHiddenBarsAndGivesTheRestToTheView)
{
    CRect rectClient;
    m_pFrame->GetClientRect(&rectClient);
    int nAsked = m_pFrame->m_bar.m_nSizeParent;
    m_pFrame->RecalcLayout();
    EXPECT_EQ(nAsked + 1, m_pFrame->m_bar.m_nSizeParent);   // asked while hidden
    CRect rectView;
    m_pView->GetWindowRect(&rectView);
    m_pFrame->ScreenToClient(&rectView);
    EXPECT_EQ(rectClient, rectView);

    // Shown bars take their part on the frame's next idle update, when a delayed layout was asked for.
    m_pFrame->m_bar.ShowWindow(SW_SHOWNOACTIVATE);
    m_pFrame->DelayRecalcLayout();
    EXPECT_EQ(static_cast<UINT>(CFrameWnd::idleLayout | CFrameWnd::idleNotify), m_pFrame->m_nIdleFlags);
    m_pFrame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_EQ(0u, m_pFrame->m_nIdleFlags);
    m_pView->GetWindowRect(&rectView);
    m_pFrame->ScreenToClient(&rectView);
    EXPECT_EQ(CRect(0, 20, rectClient.right, rectClient.bottom), rectView);
}

TEST_F(DocViewTest, ClosingTheMainFrameEndsDocumentAndProgram)
{
    m_pFrame->SendMessage(WM_CLOSE);
    EXPECT_EQ(nullptr, m_app.m_pMainWnd);
    EXPECT_TRUE(g_bDocumentDeleted);
    MSG msg;
    EXPECT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(DocViewTest, OpeningAFileReplacesTheDocumentOnlyWhenItLoads)
{
    CTempFolder folder;
    CString strGood = folder.File(L"Bilancio.tst");
    m_pDoc->m_strContent = L"dal file";
    ASSERT_TRUE(m_pDoc->OnSaveDocument(strGood));
    m_pDoc->m_strContent.Empty();
    CString strBroken = folder.Write(L"Rotto.tst", "");   // ends before its content
    CString strMissing = folder.File(L"Nessuno.tst");

    // The command asks for the file through the open dialog: every kind of file may be chosen.
    CString strChosen;
    CModalDialogDriver driver([&](CDialog& dialog) {
        auto& fileDialog = static_cast<CFileDialog&>(dialog);
        EXPECT_TRUE(fileDialog.IsOpenFileDialog());
        EXPECT_STREQ(L"*.*", fileDialog.m_ofn.lpstrFilter + wcslen(fileDialog.m_ofn.lpstrFilter) + 1);
        wcscpy(fileDialog.m_ofn.lpstrFile, strChosen);
        return IDOK;
    });
    strChosen = strGood;
    m_pFrame->SendMessage(WM_COMMAND, ID_FILE_OPEN);
    EXPECT_EQ(CString(L"dal file"), m_pDoc->m_strContent);
    EXPECT_EQ(CString(L"Bilancio.tst"), m_pDoc->GetTitle());
    EXPECT_FALSE(m_pDoc->IsModified());

    // A file that cannot be opened leaves the document as it was.
    CMessageBoxRecorder boxes;
    strChosen = strMissing;
    m_pFrame->SendMessage(WM_COMMAND, ID_FILE_OPEN);
    EXPECT_EQ(1u, boxes.Count());
    EXPECT_EQ(CString(L"dal file"), m_pDoc->m_strContent);
    EXPECT_EQ(strGood.Right(12), m_pDoc->GetPathName().Right(12));

    // A file that fails half way has emptied the document: it becomes a new one, so that a save cannot
    // write the empty document over the file it came from.
    strChosen = strBroken;
    m_pFrame->SendMessage(WM_COMMAND, ID_FILE_OPEN);
    EXPECT_EQ(2u, boxes.Count());
    EXPECT_TRUE(m_pDoc->GetPathName().IsEmpty());
    CString strUntitled;
    strUntitled.LoadString(AFX_IDS_UNTITLED);
    EXPECT_EQ(strUntitled, m_pDoc->GetTitle());
    EXPECT_FALSE(m_pDoc->IsModified());
    EXPECT_EQ(m_pDoc, m_pFrame->GetActiveDocument());
}
