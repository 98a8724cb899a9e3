// The menu bar on an MDI frame: it shows the menu of the active document window's type and keeps each type's
// customised controls, keeps the frame without a Windows menu, shows a maximised window's system menu and window
// buttons, and shows or hides controls tied to document types.
#include "FrameTestSupport.h"
#include "MenuBarMdiTestRes.h"
#include "PropExchangeStores.h"
#include "support/MessageBoxRecorder.h"

#include "platform/mfc/afxdoc.h"
#include "platform/mfc/afxdoctempl.h"
#include "platform/mfc/afxmdi.h"
#include "platform/mfc/afxview.h"
#include "ui/commandbars/XTPMenuBar.h"
#include "ui/commandbars/XTPPopupShadows.h"
#include "ui/themes/BarThemeShadowed.h"
#include "ui/persist/PropExchangeRegistry.h"
#include "ui/persist/ResourceLoader.h"
#include "ui/uires.h"

#include <gtest/gtest.h>

#include <functional>

// A view that draws nothing, for a document window with a document.
class CMdiTestView : public CView
{
    DECLARE_DYNCREATE(CMdiTestView)
protected:
    void OnDraw(CDC* /*pDC*/) override {}
};
IMPLEMENT_DYNCREATE(CMdiTestView, CView)

namespace
{
class CMdiBarsFrame : public CXTPCommandBarsSiteBase<CMDIFrameWnd>
{
public:
    // The frame has a customise command: each document type then keeps controls of its own.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override
    {
        if (nID == XTP_ID_CUSTOMIZE && nCode == static_cast<int>(CN_COMMAND))
            return TRUE;
        return CXTPCommandBarsSiteBase<CMDIFrameWnd>::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }
};

// A document window of a type (its template id) with no document.
class CDocWindow : public CMDIChildWnd
{
public:
    explicit CDocWindow(UINT nTemplate) { m_nIDHelp = nTemplate; }
    // The icon the window gives for the system-menu control's first question.
    HICON m_hAnswerIcon = nullptr;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == 0x483 && m_hAnswerIcon)
            return reinterpret_cast<LRESULT>(m_hAnswerIcon);
        return CMDIChildWnd::WindowProc(message, wParam, lParam);
    }
};

const DWORD kDocStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW;

class MenuBarMdiTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_menuSheet.LoadMenu(IDR_MDITEST_SHEET));
        ASSERT_TRUE(m_menuText.LoadMenu(IDR_MDITEST_TEXT));
        MakeFrame();
    }
    void TearDown() override { CloseFrame(); }

    void MakeFrame()
    {
        m_pFrame = new CMdiBarsFrame;
        ASSERT_TRUE(m_pFrame->Create(nullptr, L"Prova MDI", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(40, 40, 600, 420),
                                     nullptr, MAKEINTRESOURCEW(IDR_MDITEST_FRAME)));
        m_hWndFrame = m_pFrame->m_hWnd;
        ASSERT_TRUE(m_pFrame->InitCommandBars());
        m_pCommandBars = m_pFrame->GetCommandBars();
        m_pMenuBar = m_pCommandBars->SetMenu(L"Menu Bar", IDR_MDITEST_FRAME);
        ASSERT_NE(nullptr, m_pMenuBar);
        m_pFrame->RecalcLayout();
        for (int i = 0; i < 20 && ::GetForegroundWindow() != m_hWndFrame; i++) {
            ::SetForegroundWindow(m_hWndFrame);
            PumpFrame(m_hWndFrame, 20);
        }
        PumpFrame(m_hWndFrame);
    }
    void CloseFrame()
    {
        CMouseManager::GetThreadManager()->UntrackAll();
        if (::IsWindow(m_hWndFrame))
            m_pFrame->DestroyWindow();
        PumpFrame(nullptr);
    }

    CDocWindow* OpenDocument(UINT nTemplate, DWORD dwStyle = kDocStyle)
    {
        auto* pWindow = new CDocWindow(nTemplate);
        pWindow->m_hMenuShared = (nTemplate == IDR_MDITEST_SHEET ? m_menuSheet : m_menuText).GetSafeHmenu();
        if (!pWindow->Create(nullptr, L"Documento", dwStyle, CRect(0, 0, 240, 150), m_pFrame))
            return nullptr;
        PumpFrame(m_hWndFrame);
        return pWindow;
    }
    // A document window that becomes active gives the frame the menu of its type.
    void Activate(CDocWindow* pWindow)
    {
        pWindow->MDIActivate();
        PumpFrame(m_hWndFrame);
    }
    // The captions of the menu bar's own controls (without the window's temporary ones).
    std::vector<CString> Captions() const
    {
        std::vector<CString> captions;
        CXTPControls* pControls = m_pMenuBar->GetControls();
        for (int i = 0; i < pControls->GetCount(); i++)
            if (!pControls->GetAt(i)->IsTemporary())
                captions.push_back(pControls->GetAt(i)->GetCaption());
        return captions;
    }
    std::vector<int> TemporaryIds() const
    {
        std::vector<int> ids;
        CXTPControls* pControls = m_pMenuBar->GetControls();
        for (int i = 0; i < pControls->GetCount(); i++)
            if (pControls->GetAt(i)->IsTemporary())
                ids.push_back(pControls->GetAt(i)->GetID());
        return ids;
    }

    CMdiBarsFrame* m_pFrame = nullptr;
    HWND m_hWndFrame = nullptr;
    CXTPCommandBars* m_pCommandBars = nullptr;
    CXTPMenuBar* m_pMenuBar = nullptr;
    CMenu m_menuSheet, m_menuText;
};

const std::vector<CString> kFrameMenu = {L"&File", L"&Visualizza", L"F&inestra"};
const std::vector<CString> kSheetMenu = {L"&File", L"&Tabella", L"F&inestra"};
const std::vector<CString> kTextMenu = {L"&File", L"Te&sto", L"F&inestra"};
}

TEST_F(MenuBarMdiTest, EachDocumentTypeShowsItsMenuAndKeepsTheUsersChangesToIt)
{
    EXPECT_EQ(kFrameMenu, Captions());
    EXPECT_EQ(nullptr, ::GetMenu(m_hWndFrame));

    CDocWindow* pSheet = OpenDocument(IDR_MDITEST_SHEET);
    ASSERT_NE(nullptr, pSheet);
    EXPECT_EQ(IDR_MDITEST_SHEET, m_pCommandBars->GetActiveDocTemplate());
    EXPECT_EQ(kSheetMenu, Captions());
    EXPECT_EQ(nullptr, ::GetMenu(m_hWndFrame)) << "the frame's Windows menu stays away";
    // The user takes "Tabella" off the sheet's menu.
    m_pMenuBar->GetControls()->Remove(1);

    CDocWindow* pText = OpenDocument(IDR_MDITEST_TEXT);
    ASSERT_NE(nullptr, pText);
    EXPECT_EQ(IDR_MDITEST_TEXT, m_pCommandBars->GetActiveDocTemplate());
    EXPECT_EQ(kTextMenu, Captions());

    Activate(pSheet);
    EXPECT_EQ((std::vector<CString>{L"&File", L"F&inestra"}), Captions()) << "the sheet keeps the user's menu";
    EXPECT_TRUE(m_pMenuBar->GetControls()->IsChanged());

    // A stored menu that lost its original copy gets the document type's menu as its original, not the user's.
    Activate(pText);
    m_pMenuBar->GetDocMenus().at(IDR_MDITEST_SHEET)->SetOriginalControls(nullptr);
    Activate(pSheet);
    CXTPControls* pOriginal = m_pMenuBar->GetControls()->GetOriginalControls();
    ASSERT_NE(nullptr, pOriginal);
    ASSERT_EQ(3, pOriginal->GetCount());
    EXPECT_EQ(L"&Tabella", pOriginal->GetAt(1)->GetCaption());

    // No menu given: the frame's own.
    ::SendMessageW(m_pFrame->m_hWndMDIClient, WM_MDISETMENU, 0, 0);
    PumpFrame(m_hWndFrame);
    EXPECT_EQ(kFrameMenu, Captions());
    EXPECT_EQ(static_cast<UINT>(IDR_MDITEST_FRAME), m_pMenuBar->GetCurrentMenuResource());
    EXPECT_EQ(nullptr, ::GetMenu(m_hWndFrame));

    // A hidden menu bar gives the frame no Windows menu either.
    m_pMenuBar->SetVisible(FALSE);
    Activate(pText);
    EXPECT_EQ(nullptr, ::GetMenu(m_hWndFrame));
    EXPECT_EQ(kFrameMenu, Captions());
}

TEST_F(MenuBarMdiTest, ResetAsksAndGivesTheActiveDocumentTypeItsMenuBack)
{
    CDocWindow* pSheet = OpenDocument(IDR_MDITEST_SHEET);
    ASSERT_NE(nullptr, pSheet);
    ASSERT_EQ(kSheetMenu, Captions());
    m_pMenuBar->GetControls()->Remove(1);
    // Another window of the program is active: the question still belongs to the frame.
    CWnd other;
    ASSERT_TRUE(other.CreateEx(0, AfxRegisterWndClass(0), L"Altra", WS_POPUP | WS_VISIBLE, CRect(0, 0, 50, 50),
                               nullptr, 0));
    other.SetActiveWindow();
    ASSERT_EQ(other.m_hWnd, ::GetActiveWindow());
    const std::vector<CString> changed = {L"&File", L"F&inestra"};
    struct Case
    {
        int nAnswer;
        std::vector<CString> expected;
    } cases[] = {{IDCANCEL, changed}, {IDOK, kSheetMenu}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nAnswer);
        CMessageBoxRecorder recorder(c.nAnswer);
        m_pMenuBar->Reset();
        ASSERT_EQ(1u, recorder.Count());
        EXPECT_EQ(CString(L"Annullare le modifiche apportate a 'Menu Bar' alla barra degli strumenti?"),
                  recorder.Last().text);
        EXPECT_EQ(static_cast<UINT>(MB_OKCANCEL | MB_ICONWARNING), recorder.Last().type);
        EXPECT_EQ(m_hWndFrame, recorder.Last().owner);
        EXPECT_EQ(c.expected, Captions());
    }
    other.DestroyWindow();
    // The other type's menu and the frame's own are as they were.
    CDocWindow* pText = OpenDocument(IDR_MDITEST_TEXT);
    ASSERT_NE(nullptr, pText);
    EXPECT_EQ(kTextMenu, Captions());
    Activate(pSheet);
    EXPECT_EQ(kSheetMenu, Captions());
}

TEST_F(MenuBarMdiTest, TheActiveTemplateIsTheDocumentsOrElseTheWindowsOwn)
{
    EXPECT_EQ(IDR_MDITEST_FRAME, m_pCommandBars->GetActiveDocTemplate()) << "no document window";
    ASSERT_NE(nullptr, OpenDocument(IDR_MDITEST_SHEET));
    EXPECT_EQ(IDR_MDITEST_SHEET, m_pCommandBars->GetActiveDocTemplate()) << "a window without a document";

    // A window of the sheet's kind showing a document of the text template.
    CSingleDocTemplate textTemplate(IDR_MDITEST_TEXT, RUNTIME_CLASS(CDocument), RUNTIME_CLASS(CMDIChildWnd),
                                    RUNTIME_CLASS(CMdiTestView));
    auto* pDocument = new CDocument;
    textTemplate.AddDocument(pDocument);
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(CMdiTestView);
    context.m_pCurrentDoc = pDocument;
    auto* pWindow = new CDocWindow(IDR_MDITEST_SHEET);
    ASSERT_TRUE(pWindow->Create(nullptr, L"Testo", kDocStyle, CRect(0, 0, 240, 150), m_pFrame, &context));
    auto* pView = dynamic_cast<CView*>(pWindow->GetDlgItem(AFX_IDW_PANE_FIRST));
    ASSERT_NE(nullptr, pView);
    pWindow->SetActiveView(pView);
    pWindow->MDIActivate();
    EXPECT_EQ(IDR_MDITEST_TEXT, m_pCommandBars->GetActiveDocTemplate());
    // The window goes while its template is still there.
    pWindow->MDIDestroy();
    PumpFrame(m_hWndFrame);
}

TEST_F(MenuBarMdiTest, AfterLoadingTheBarShowsItsOwnMenuAndForgetsDocumentMenusLeftAsTheyWere)
{
    m_pMenuBar->RestoreMDIMenus();
    EXPECT_FALSE(m_pMenuBar->IsMDIMenusRestored()) << "no document menus stored";

    CDocWindow* pSheet = OpenDocument(IDR_MDITEST_SHEET);
    ASSERT_NE(nullptr, pSheet);
    m_pMenuBar->GetControls()->Remove(1);
    ASSERT_NE(nullptr, OpenDocument(IDR_MDITEST_TEXT));

    m_pMenuBar->RestoreMDIMenus();
    EXPECT_TRUE(m_pMenuBar->IsMDIMenusRestored());
    EXPECT_EQ(static_cast<UINT>(IDR_MDITEST_FRAME), m_pMenuBar->GetCurrentMenuResource());
    EXPECT_EQ(kFrameMenu, Captions());
    std::vector<UINT> stored;
    for (const auto& entry : m_pMenuBar->GetDocMenus())
        stored.push_back(entry.first);
    EXPECT_EQ(std::vector<UINT>{IDR_MDITEST_SHEET}, stored) << "only the customised sheet menu stays";

    Activate(pSheet);
    EXPECT_EQ((std::vector<CString>{L"&File", L"F&inestra"}), Captions());
}

TEST_F(MenuBarMdiTest, LoadedStateKeepsOnlyTheDocumentMenusTheUserChanged)
{
    ASSERT_NE(nullptr, OpenDocument(IDR_MDITEST_SHEET));
    m_pMenuBar->GetControls()->Remove(1);
    ASSERT_NE(nullptr, OpenDocument(IDR_MDITEST_TEXT));
    CArchiveBacking backing;
    CXTPCommandBarsExchangeParam param;
    param.bSerializeControls = TRUE;
    backing.Save([&](CXTPPropExchange* pPX) { m_pCommandBars->DoPropExchange(pPX, &param); });
    CloseFrame();

    // Loaded while a text document shows its menu.
    MakeFrame();
    CDocWindow* pText = OpenDocument(IDR_MDITEST_TEXT);
    ASSERT_NE(nullptr, pText);
    backing.Load([&](CXTPPropExchange* pPX) { m_pCommandBars->DoPropExchange(pPX, &param); });
    EXPECT_TRUE(m_pMenuBar->IsMDIMenusRestored());
    EXPECT_EQ(kFrameMenu, Captions());
    std::vector<UINT> stored;
    for (const auto& entry : m_pMenuBar->GetDocMenus())
        stored.push_back(entry.first);
    EXPECT_EQ(std::vector<UINT>{IDR_MDITEST_SHEET}, stored) << "the text menu was as the program made it";
    ASSERT_NE(nullptr, OpenDocument(IDR_MDITEST_SHEET));
    EXPECT_EQ((std::vector<CString>{L"&File", L"F&inestra"}), Captions());
    Activate(pText);
    EXPECT_EQ(kTextMenu, Captions());
}

TEST_F(MenuBarMdiTest, SavingTheBarsLeavesTheDocumentsMenuShowing)
{
    const LPCTSTR kCompany = L"QuarzelTestsMenuBarMdi";
    CWinApp app(L"ProvaMenuMdi");
    app.SetRegistryKey(kCompany);
    ASSERT_NE(nullptr, OpenDocument(IDR_MDITEST_SHEET));
    m_pMenuBar->GetControls()->Remove(1);
    ASSERT_NE(nullptr, OpenDocument(IDR_MDITEST_TEXT));
    // The saved bars carry the menu bar's own menu; the document's menu is the one shown afterwards.
    const std::vector<std::function<void()>> saves = {
        [&] { m_pCommandBars->SaveBarState(L"CommandBars"); },
        [&] {
            CArchiveBacking backing;
            CXTPCommandBarsExchangeParam param;
            param.bSerializeControls = TRUE;
            backing.Save([&](CXTPPropExchange* pPX) { m_pCommandBars->DoPropExchange(pPX, &param); });
        }};
    for (size_t i = 0; i < saves.size(); i++) {
        saves[i]();
        PumpFrame(m_hWndFrame);
        EXPECT_EQ(kTextMenu, Captions()) << "save " << i;
        EXPECT_EQ(static_cast<UINT>(IDR_MDITEST_TEXT), m_pMenuBar->GetCurrentMenuResource()) << "save " << i;
        EXPECT_EQ(nullptr, ::GetMenu(m_hWndFrame)) << "save " << i;
    }
    AfxDelRegTreeHelper(HKEY_CURRENT_USER, CString(L"Software\\") + kCompany);
}

TEST_F(MenuBarMdiTest, AfterPrintPreviewTheMenuBarShowsTheActiveDocumentsMenu)
{
    ASSERT_NE(nullptr, OpenDocument(IDR_MDITEST_SHEET));
    CDocWindow* pText = OpenDocument(IDR_MDITEST_TEXT);
    ASSERT_NE(nullptr, pText);
    CDocWindow* pSheet = OpenDocument(IDR_MDITEST_SHEET);
    ASSERT_NE(nullptr, pSheet);
    m_pCommandBars->OnSetPreviewMode(TRUE);
    EXPECT_FALSE(m_pMenuBar->IsVisible());
    // Another document comes to the front while the preview hides the menu bar.
    Activate(pText);
    m_pCommandBars->OnSetPreviewMode(FALSE);
    PumpFrame(m_hWndFrame);
    EXPECT_TRUE(m_pMenuBar->IsVisible());
    EXPECT_EQ(kTextMenu, Captions());
    EXPECT_EQ(nullptr, ::GetMenu(m_hWndFrame));
}

TEST(MenuBarDocTemplateTest, TheTemplateBitFollowsTheTypesAControlIsShownOrHiddenFor)
{
    const DWORD kTemplate = xtpHideDocTemplate, kWrap = xtpHideWrap;
    struct CASE
    {
        DWORD dwHideFlags;
        std::set<UINT> assigned, excluded;
        UINT nTemplate;
        DWORD dwExpected;
    } cases[] = {
        {0, {}, {}, 7, 0},                              // tied to no type
        {kTemplate, {}, {}, 7, kTemplate},              // nothing to decide: the bit stays
        {0, {7, 8}, {}, 8, 0},                          // shown for the active type
        {kWrap, {7}, {}, 8, kWrap | kTemplate},         // assigned elsewhere; other reasons stay
        {kTemplate | kWrap, {8}, {}, 8, kWrap},
        {0, {}, {8}, 8, kTemplate},                     // hidden for the active type
        {kTemplate, {}, {7}, 8, 0},
        {0, {8}, {8}, 8, kTemplate},                    // excluded wins over assigned
    };
    for (const CASE& c : cases)
        EXPECT_EQ(c.dwExpected, GetDocTemplateHideFlags(c.dwHideFlags, c.assigned, c.excluded, c.nTemplate))
            << "flags " << c.dwHideFlags << ", template " << c.nTemplate;
}

TEST_F(MenuBarMdiTest, ControlsTiedToADocumentTypeShowWithItsWindow)
{
    CXTPToolBar* pToolBar = m_pCommandBars->Add(L"Standard", xtpBarTop);
    ASSERT_NE(nullptr, pToolBar);
    CXTPControls* pControls = pToolBar->GetControls();
    CXTPControl* pSort = pControls->Add(xtpControlButton, ID_MT_SORT);
    CXTPControl* pFont = pControls->Add(xtpControlButton, ID_MT_FONT);
    CXTPControl* pNew = pControls->Add(xtpControlButton, ID_MT_NEW);
    pSort->GetDocTemplatesAssigned().insert(IDR_MDITEST_SHEET);
    pFont->GetDocTemplatesExcluded().insert(IDR_MDITEST_SHEET);
    m_pFrame->RecalcLayout();
    PumpFrame(m_hWndFrame);

    struct STEP
    {
        UINT nTemplate;
        BOOL bSortShown, bFontShown;
    } steps[] = {{IDR_MDITEST_SHEET, TRUE, FALSE}, {IDR_MDITEST_TEXT, FALSE, TRUE}, {IDR_MDITEST_SHEET, TRUE, FALSE}};
    CDocWindow* windows[2] = {};
    int nFirstLeft = -1;
    for (const STEP& step : steps) {
        CDocWindow*& pWindow = windows[step.nTemplate == IDR_MDITEST_SHEET ? 0 : 1];
        if (!pWindow)
            pWindow = OpenDocument(step.nTemplate);
        else
            Activate(pWindow);
        ASSERT_NE(nullptr, pWindow);
        pToolBar->OnUpdateCmdUI(TRUE);
        EXPECT_EQ(step.bSortShown, pSort->IsVisible()) << step.nTemplate;
        EXPECT_EQ(step.bFontShown, pFont->IsVisible()) << step.nTemplate;
        EXPECT_TRUE(pNew->IsVisible());
        // The bar laid itself out again: the first control shown takes the first place.
        int nLeft = (step.bSortShown ? pSort : pFont)->GetRect().left;
        if (nFirstLeft < 0)
            nFirstLeft = nLeft;
        EXPECT_EQ(nFirstLeft, nLeft) << step.nTemplate;
    }
}

TEST_F(MenuBarMdiTest, AMaximisedWindowShowsItsSystemMenuAndWindowButtonsInTheBar)
{
    struct CASE
    {
        DWORD dwStyle, dwBarFlags;
        std::vector<int> expected;
    } cases[] = {
        {kDocStyle, xtpFlagAddMDISysPopup,
         {XTP_ID_MENUBAR_SYSMENU, XTP_ID_MENUBAR_MINIMIZE, XTP_ID_MENUBAR_RESTORE, XTP_ID_MENUBAR_CLOSE}},
        {kDocStyle & ~WS_MINIMIZEBOX, 0, {XTP_ID_MENUBAR_RESTORE, XTP_ID_MENUBAR_CLOSE}},
        {kDocStyle, xtpFlagHideClose | xtpFlagHideMaximizeBox, {XTP_ID_MENUBAR_MINIMIZE}},
    };
    const DWORD dwAll = xtpFlagAddMDISysPopup | xtpFlagHideClose | xtpFlagHideMaximizeBox;
    for (const CASE& c : cases) {
        m_pMenuBar->ModifyFlags(c.dwBarFlags, dwAll & ~c.dwBarFlags);
        CDocWindow* pWindow = OpenDocument(IDR_MDITEST_SHEET, c.dwStyle);
        ASSERT_NE(nullptr, pWindow);
        HWND hWnd = pWindow->m_hWnd;
        EXPECT_TRUE(TemporaryIds().empty());

        ::SendMessageW(m_pFrame->m_hWndMDIClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(hWnd), 0);
        PumpFrame(m_hWndFrame);
        EXPECT_EQ(c.expected, TemporaryIds()) << "style " << c.dwStyle << ", flags " << c.dwBarFlags;
        EXPECT_EQ(nullptr, ::GetMenu(m_hWndFrame));

        ::SendMessageW(m_pFrame->m_hWndMDIClient, WM_MDIRESTORE, reinterpret_cast<WPARAM>(hWnd), 0);
        PumpFrame(m_hWndFrame);
        EXPECT_TRUE(TemporaryIds().empty()) << "restored: the controls went";
        pWindow->MDIDestroy();
        PumpFrame(m_hWndFrame);
    }
}

TEST_F(MenuBarMdiTest, TheSystemMenuControlCarriesTheWindowsIconAndCommands)
{
    m_pMenuBar->ModifyFlags(xtpFlagAddMDISysPopup, 0);
    CDocWindow* pWindow = OpenDocument(IDR_MDITEST_SHEET);
    ASSERT_NE(nullptr, pWindow);
    ::SendMessageW(m_pFrame->m_hWndMDIClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(pWindow->m_hWnd), 0);
    PumpFrame(m_hWndFrame);
    auto* pSysMenu = dynamic_cast<CXTPMenuBarSysMenuControl*>(m_pMenuBar->GetControls()->GetAt(0));
    ASSERT_NE(nullptr, pSysMenu);
    HMENU hSysMenu = ::GetSystemMenu(pWindow->m_hWnd, FALSE);
    EXPECT_EQ(hSysMenu, pSysMenu->GetMDISysMenu());
    EXPECT_EQ(CSize(16, 16), pSysMenu->GetRect().Size());
    ASSERT_NE(nullptr, pSysMenu->GetIcon());

    // Every command of the system menu, with its state, default and prompt.
    CXTPControls* pItems = pSysMenu->GetCommandBar()->GetControls();
    int nItems = 0;
    for (int i = 0; i < ::GetMenuItemCount(hSysMenu); i++) {
        UINT nId = ::GetMenuItemID(hSysMenu, i);
        if (nId == 0)
            continue;
        CXTPControl* pItem = pItems->GetAt(nItems++);
        ASSERT_NE(nullptr, pItem);
        EXPECT_EQ(static_cast<int>(nId), pItem->GetID());
        BOOL bGrey = (::GetMenuState(hSysMenu, static_cast<UINT>(i), MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED)) != 0;
        EXPECT_EQ(!bGrey, pItem->GetEnabled()) << nId;
        EXPECT_EQ(static_cast<int>(::GetMenuDefaultItem(hSysMenu, TRUE, GMDI_USEDISABLED)) == i,
                  pItem->IsDefaultItem())
            << nId;
        CString strPrompt;
        XTPGetResourceLoader()->LoadString(&strPrompt, (nId - 0xF000) / 16 + 0xEF00);
        EXPECT_EQ(strPrompt, pItem->GetDescription()) << nId;
    }
    EXPECT_EQ(nItems, pItems->GetCount());
    CXTPControl* pClose = pItems->FindControl(SC_CLOSE);
    ASSERT_NE(nullptr, pClose);
    EXPECT_EQ(L"Chiude la finestra attiva e chiede di salvare i documenti", pClose->GetDescription());
}

TEST_F(MenuBarMdiTest, TheSystemMenusIconCastsNoShadowBesideItsPopup)
{
    auto pfnOld = CXTPPopupShadows::SetDropShadowSource([]() -> BOOL { return TRUE; });
    m_pCommandBars->SetPaintManager(new CXTPBarThemeShadowed);
    m_pMenuBar->ModifyFlags(xtpFlagAddMDISysPopup, 0);
    CDocWindow* pWindow = OpenDocument(IDR_MDITEST_SHEET);
    ASSERT_NE(nullptr, pWindow);
    ::SendMessageW(m_pFrame->m_hWndMDIClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(pWindow->m_hWnd), 0);
    PumpFrame(m_hWndFrame);
    ASSERT_EQ(XTP_ID_MENUBAR_SYSMENU, m_pMenuBar->GetControls()->GetAt(0)->GetID());

    // The strips of each open popup: its own two, and two more for a menu title beside it.
    const size_t expected[] = {2, 4};
    for (int nIndex : {0, 1}) {
        m_pMenuBar->SetTrackingMode(1, FALSE, TRUE);
        m_pMenuBar->SetPopuped(nIndex, TRUE);
        CXTPCommandBar* pPopup = m_pMenuBar->GetControls()->GetAt(nIndex)->GetCommandBar();
        ASSERT_TRUE(pPopup && pPopup->IsTrackingMode()) << nIndex;
        size_t nStrips = 0;
        for (CPopupShadowWnd* pStrip : CXTPPopupShadows::GetInstance()->GetStrips())
            nStrips += pStrip->GetOwnerBar() == pPopup ? 1 : 0;
        EXPECT_EQ(expected[nIndex], nStrips) << nIndex;
        m_pMenuBar->SetTrackingMode(0, TRUE, FALSE);
        PumpFrame(m_hWndFrame);
    }
    CXTPPopupShadows::SetDropShadowSource(pfnOld);
}

TEST(MenuBarMdiIconTest, TheChildsIconIsTheFirstItGives)
{
    auto* pFrame = new CMDIFrameWnd;
    ASSERT_TRUE(pFrame->Create(nullptr, L"Icone", WS_OVERLAPPEDWINDOW, CRect(40, 40, 400, 300)));
    HICON hAnswer = ::LoadIconW(nullptr, IDI_QUESTION), hSmall = ::LoadIconW(nullptr, IDI_WARNING),
          hBig = ::LoadIconW(nullptr, IDI_ERROR);
    struct CASE
    {
        HICON hAnswer, hSmall, hBig, hExpected;
    } cases[] = {
        {hAnswer, hSmall, hBig, hAnswer},
        {nullptr, hSmall, hBig, hSmall},
        {nullptr, nullptr, hBig, hBig},
        {nullptr, nullptr, nullptr, ::LoadIconW(nullptr, IDI_WINLOGO)},
    };
    for (const CASE& c : cases) {
        auto* pWindow = new CDocWindow(IDR_MDITEST_SHEET);
        ASSERT_TRUE(pWindow->Create(nullptr, L"Documento", kDocStyle, CRect(0, 0, 200, 100), pFrame));
        pWindow->m_hAnswerIcon = c.hAnswer;
        pWindow->SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(c.hSmall));
        pWindow->SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(c.hBig));
        EXPECT_EQ(c.hExpected, GetMDIChildIcon(pWindow->m_hWnd));
        pWindow->MDIDestroy();
    }
    pFrame->DestroyWindow();
    PumpFrame(nullptr);
}

TEST_F(MenuBarMdiTest, TheCloseButtonOfAMaximisedWindowClosesItByMouse)
{
    CDocWindow* pWindow = OpenDocument(IDR_MDITEST_SHEET);
    ASSERT_NE(nullptr, pWindow);
    HWND hWnd = pWindow->m_hWnd;
    ::SendMessageW(m_pFrame->m_hWndMDIClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(hWnd), 0);
    PumpFrame(m_hWndFrame);
    CXTPControl* pClose = m_pMenuBar->GetControls()->FindControl(XTP_ID_MENUBAR_CLOSE);
    ASSERT_NE(nullptr, pClose);
    CPoint pt = pClose->GetRect().CenterPoint();
    m_pMenuBar->ClientToScreen(&pt);
    ASSERT_EQ(m_pMenuBar->m_hWnd, ::WindowFromPoint(pt));

    SendClick(pt);
    EXPECT_TRUE(PumpUntil(m_hWndFrame, [&] { return !::IsWindow(hWnd); })) << "the window closed";
    PumpFrame(m_hWndFrame);
    EXPECT_TRUE(TemporaryIds().empty()) << "no maximised window: no window buttons";
}
