// Generated list entries: captions, the toolbars list on a frame (chosen through a real click), the recent
// files of the application.
#include "FrameTestSupport.h"

#include "ui/commandbars/XTPCommandBars.h"
#include "ui/commandbars/XTPControlLists.h"
#include "ui/commandbars/XTPPopupBar.h"
#include "ui/commandbars/XTPToolBar.h"

#include "platform/mfc/afxmdi.h"
#include <afxres.h>
#include <gtest/gtest.h>

namespace
{
struct ITEM
{
    CString strCaption;
    int nId;
    BOOL bChecked;
    BOOL bBeginGroup;
    bool operator==(const ITEM& other) const
    {
        return strCaption == other.strCaption && nId == other.nId && bChecked == other.bChecked &&
               bBeginGroup == other.bBeginGroup;
    }
};

void PrintTo(const ITEM& item, std::ostream* os)
{
    PrintTo(item.strCaption, os);
    *os << " id " << item.nId << " checked " << item.bChecked << " group "
        << item.bBeginGroup;
}

// The temporary controls of the bar, in order.
std::vector<ITEM> GeneratedItems(CXTPCommandBar* pBar)
{
    std::vector<ITEM> items;
    for (int i = 0; i < pBar->GetControls()->GetCount(); i++) {
        CXTPControl* pControl = pBar->GetControls()->GetAt(i);
        if (pControl->IsTemporary())
            items.push_back({pControl->GetCaption(), pControl->GetID(), pControl->GetChecked(),
                             pControl->GetBeginGroup()});
    }
    return items;
}
}

TEST(ControlLists, ListItemCaptionsEscapeAmpersandsAndNumberTheFirstTen)
{
    struct Case
    {
        LPCTSTR pszText;
        int nNumber;
        LPCTSTR pszExpected;
    } cases[] = {
        {L"Bilancio.qvz", 0, L"Bilancio.qvz"},
        {L"Soci & fornitori", 0, L"Soci && fornitori"},
        {L"Bilancio.qvz", 1, L"&1 Bilancio.qvz"},
        {L"A&B", 9, L"&9 A&&B"},
        {L"Bilancio.qvz", 10, L"1&0 Bilancio.qvz"},
        {L"&&", 11, L"11 &&&&"},
        {L"", 3, L"&3 "},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(c.pszExpected, FormatListItemCaption(c.pszText, c.nNumber)) << c.pszText << " " << c.nNumber;
}

TEST(ControlLists, AddMakesThePlaceholderOfTheListIdAndTheMenuImportTheFirstFileCommand)
{
    struct Case
    {
        int nId;
        BOOL bFromMenu;
        CRuntimeClass* pClass;
    } cases[] = {
        {35003, FALSE, RUNTIME_CLASS(CXTPControlRecentFileList)},
        {ID_FILE_MRU_FILE1, TRUE, RUNTIME_CLASS(CXTPControlRecentFileList)},
        {ID_FILE_MRU_FILE1, FALSE, RUNTIME_CLASS(CXTPControlButton)},
        {35003, TRUE, RUNTIME_CLASS(CXTPControlButton)},
        {35000, FALSE, RUNTIME_CLASS(CXTPControlWindowList)},
        {0xE800, FALSE, RUNTIME_CLASS(CXTPControlToolbars)},
        {0xE800, TRUE, RUNTIME_CLASS(CXTPControlToolbars)},
        {101, FALSE, RUNTIME_CLASS(CXTPControlButton)},
    };
    for (const Case& c : cases) {
        CXTPControl* pControl = CreateListPlaceholder(c.nId, c.bFromMenu);
        EXPECT_EQ(c.pClass, pControl->GetRuntimeClass()) << c.nId << " " << c.bFromMenu;
        pControl->InternalRelease();
    }
    CXTPControls controls;
    EXPECT_TRUE(controls.Add(xtpControlButton, 35003)->IsKindOf(RUNTIME_CLASS(CXTPControlRecentFileList)));
    CXTPControl* pLabel = controls.Add(xtpControlLabel, 0);
    EXPECT_EQ(0, pLabel->GetSelected());
    EXPECT_FALSE(pLabel->SetSelected(1));
}

namespace
{
class ControlListsFrameTest : public ::testing::Test
{
protected:
    CTestFrame* m_pFrame = nullptr;
    CXTPPopupBar* m_pPopup = nullptr;

    void SetUp() override
    {
        m_pFrame = CreateTestFrame();
        ASSERT_NE(nullptr, m_pFrame);
        m_pFrame->GetCommandBars()->GetCommandBarsOptions()->nAnimationType = 5;
        m_pPopup = CXTPPopupBar::CreatePopupBar(m_pFrame->GetCommandBars());
    }
    void TearDown() override
    {
        if (m_pPopup)
            m_pPopup->InternalRelease();
        if (m_pFrame)
            m_pFrame->DestroyWindow();
        PumpFrame(nullptr);
    }
    CXTPCommandBars* Bars() const { return m_pFrame->GetCommandBars(); }
};
}

TEST_F(ControlListsFrameTest, ToolbarsListChecksShownBarsSkipsOthersAndAClickShowsAHiddenOne)
{
    CXTPToolBar* pHidden = Bars()->Add(L"Formato", xtpBarTop);
    CXTPToolBar* pNoMenu = Bars()->Add(L"Nascosta", xtpBarTop);
    CXTPToolBar* pFixed = Bars()->Add(L"Fissa", xtpBarTop);
    ASSERT_TRUE(pHidden && pNoMenu && pFixed);
    pNoMenu->SetContextMenuPresent(FALSE);
    pFixed->SetCloseable(FALSE);
    pHidden->SetVisible(FALSE);
    const int nHidden = 2;
    ASSERT_EQ(pHidden, Bars()->GetAt(nHidden));

    m_pPopup->GetControls()->Add(xtpControlButton, 101);
    CXTPControl* pPlaceholder = m_pPopup->GetControls()->Add(xtpControlButton, 0xE800);
    m_pPopup->GetControls()->Add(xtpControlButton, 102);
    std::vector<ITEM> expected = {{L"Standard", 0, TRUE, FALSE}, {L"Formato", 0, FALSE, FALSE}};
    // A second layout replaces the items instead of adding more.
    for (int nLayout = 0; nLayout < 2; nLayout++) {
        m_pPopup->CalcDynamicLayout(0, 0);
        EXPECT_EQ(expected, GeneratedItems(m_pPopup));
        EXPECT_FALSE(pPlaceholder->IsVisible());
        EXPECT_EQ(102, m_pPopup->GetControls()->GetAt(4)->GetID());
    }

    // Choosing the hidden bar's entry closes the menu and shows the bar.
    BOOL bClicked = FALSE;
    RunLater([&] {
        CXTPControl* pItem = m_pPopup->GetControls()->GetAt(3);
        if (!pItem || pItem->GetTag() != nHidden)
            return;
        CPoint pt = pItem->GetRect().CenterPoint();
        m_pPopup->ClientToScreen(&pt);
        SendClick(pt);
        bClicked = TRUE;
    });
    CXTPCommandBars::TrackPopup(m_pPopup, 0, 100, 60, m_pFrame);
    EXPECT_TRUE(bClicked);
    EXPECT_TRUE(pHidden->IsVisible());
    EXPECT_FALSE(m_pPopup->IsTrackingMode());

    // In customise mode the placeholder shows itself and lists nothing.
    Bars()->SetCustomizeMode(TRUE);
    m_pPopup->CalcDynamicLayout(0, 0);
    Bars()->SetCustomizeMode(FALSE);
    EXPECT_TRUE(GeneratedItems(m_pPopup).empty());
    EXPECT_TRUE(pPlaceholder->IsVisible());
}

namespace
{
class RecentFileListTest : public ControlListsFrameTest
{
protected:
    CWinApp m_app {L"ProvaRecenti"};
    CString m_strDir;
    WCHAR m_szOldDir[MAX_PATH] = {};

    void SetUp() override
    {
        ControlListsFrameTest::SetUp();
        ::GetCurrentDirectoryW(MAX_PATH, m_szOldDir);
        WCHAR szTemp[MAX_PATH];
        ::GetTempPathW(MAX_PATH, szTemp);
        m_strDir = szTemp;
        ::SetCurrentDirectoryW(m_strDir);
        if (m_strDir.Right(1) != L"\\")
            m_strDir += L'\\';
    }
    void TearDown() override
    {
        ::SetCurrentDirectoryW(m_szOldDir);
        ControlListsFrameTest::TearDown();
    }
};
}

TEST_F(RecentFileListTest, RecentFilesAreListedAfterThePlaceholderAndSendTheFileCommands)
{
    struct Case
    {
        std::vector<CString> arrFiles;   // newest last, as they were opened
        int nPlaceholderId;
        BOOL bFirst;                     // the placeholder is the first control of its bar
        std::vector<ITEM> expected;
        BOOL bEnabled;
    } cases[] = {
        {{}, 35003, FALSE, {}, FALSE},
        // Made by its own id: the files send the file commands, which the frame handles.
        {{L"D:\\Archivio\\Vecchio.qvz", L"%DIR%Soci & fornitori.qvz"},
         35003,
         FALSE,
         {{L"&1 Soci && fornitori.qvz", ID_FILE_MRU_FILE1, FALSE, TRUE},
          {L"&2 D:\\Archivio\\Vecchio.qvz", ID_FILE_MRU_FILE1 + 1, FALSE, FALSE}},
         TRUE},
        {{L"%DIR%Uno.qvz"}, ID_FILE_MRU_FILE1, TRUE, {{L"&1 Uno.qvz", ID_FILE_MRU_FILE1, FALSE, FALSE}}, TRUE},
    };
    for (const Case& c : cases) {
        delete m_app.m_pRecentFileList;
        m_app.m_pRecentFileList = new CRecentFileList(ID_FILE_MRU_FILE1, L"Recent File List", L"File%d", 4);
        for (CString strFile : c.arrFiles) {
            strFile.Replace(L"%DIR%", m_strDir);
            m_app.m_pRecentFileList->Add(strFile);
        }
        m_pPopup->GetControls()->RemoveAll();
        if (!c.bFirst)
            m_pPopup->GetControls()->Add(xtpControlButton, ID_FILE_OPEN);
        CXTPControl* pPlaceholder =
            m_pPopup->GetControls()->AddControl(CreateListPlaceholder(c.nPlaceholderId, c.nPlaceholderId != 35003),
                                                c.nPlaceholderId);
        m_pPopup->GetControls()->Add(xtpControlButton, ID_APP_EXIT);
        for (int nLayout = 0; nLayout < 2; nLayout++)
            m_pPopup->CalcDynamicLayout(0, 0);
        EXPECT_EQ(c.expected, GeneratedItems(m_pPopup)) << c.arrFiles.size();
        EXPECT_EQ(c.expected.empty(), pPlaceholder->IsVisible());
        EXPECT_EQ(c.bEnabled, pPlaceholder->GetEnabled());

        Bars()->SetCustomizeMode(TRUE);
        m_pPopup->CalcDynamicLayout(0, 0);
        Bars()->SetCustomizeMode(FALSE);
        EXPECT_TRUE(GeneratedItems(m_pPopup).empty());
        EXPECT_TRUE(pPlaceholder->IsVisible() && pPlaceholder->GetEnabled());
    }
}

namespace
{
LRESULT CALLBACK ChildProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefMDIChildProcW(hWnd, message, wParam, lParam);
}

// An MDI frame with documents of the titles given; the last one made is active.
class WindowListTest : public ::testing::Test
{
protected:
    CMDIFrameWnd* m_pFrame = new CMDIFrameWnd;
    CXTPCommandBars* m_pCommandBars = new CXTPCommandBars;
    CXTPPopupBar* m_pPopup = nullptr;

    void SetUp() override
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = ChildProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"QuarzelProvaDocumento";
        ::RegisterClassW(&wc);
        ASSERT_TRUE(m_pFrame->Create(nullptr, L"Prova MDI", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(40, 40, 640, 480)));
        m_pCommandBars->SetSite(m_pFrame);
        m_pPopup = CXTPPopupBar::CreatePopupBar(m_pCommandBars);
        m_pPopup->SetSite(m_pFrame);
    }
    void TearDown() override
    {
        m_pPopup->InternalRelease();
        m_pCommandBars->InternalRelease();
        m_pFrame->DestroyWindow();
    }
    HWND AddDocument(LPCTSTR lpszTitle)
    {
        MDICREATESTRUCTW mcs = {L"QuarzelProvaDocumento", lpszTitle, ::GetModuleHandleW(nullptr),
                                CW_USEDEFAULT, CW_USEDEFAULT, 200, 150, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0};
        return reinterpret_cast<HWND>(
            ::SendMessageW(m_pFrame->m_hWndMDIClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
    }
};
}

TEST_F(WindowListTest, NineVisibleDocumentsAreListedTheActiveOneChecked)
{
    CXTPControl* pPlaceholder = m_pPopup->GetControls()->Add(xtpControlButton, 35000);
    m_pPopup->GetControls()->Add(xtpControlButton, ID_APP_EXIT);
    ASSERT_TRUE(pPlaceholder->IsKindOf(RUNTIME_CLASS(CXTPControlWindowList)));
    HWND hWndHidden = nullptr;
    for (int i = 1; i <= 12; i++) {
        CString strTitle;
        strTitle.Format(i == 1 ? L"Soci & fornitori" : L"Documento %d", i);
        HWND hWnd = AddDocument(strTitle);
        ASSERT_NE(nullptr, hWnd);
        if (i == 2)
            hWndHidden = hWnd;
    }
    ::ShowWindow(hWndHidden, SW_HIDE);
    HWND hWndActive = AddDocument(L"Attivo");
    ASSERT_EQ(hWndActive, m_pFrame->MDIGetActive());

    std::vector<ITEM> expected = {{L"&1 Soci && fornitori", AFX_IDM_FIRST_MDICHILD, FALSE, TRUE}};
    for (int i = 3; i <= 10; i++) {
        CString strCaption;
        strCaption.Format(L"&%d Documento %d", i - 1, i);
        expected.push_back({strCaption, AFX_IDM_FIRST_MDICHILD + i - 1, FALSE, FALSE});
    }
    for (int nLayout = 0; nLayout < 2; nLayout++) {
        m_pPopup->CalcDynamicLayout(0, 0);
        EXPECT_EQ(expected, GeneratedItems(m_pPopup));
        EXPECT_FALSE(pPlaceholder->IsVisible());
        EXPECT_EQ(ID_APP_EXIT, m_pPopup->GetControls()->GetAt(10)->GetID());
    }

    // The active document is checked once it is among the first nine.
    HWND hWndFourth = ::GetDlgItem(m_pFrame->m_hWndMDIClient, AFX_IDM_FIRST_MDICHILD + 3);
    ::SendMessageW(m_pFrame->m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(hWndFourth), 0);
    m_pPopup->CalcDynamicLayout(0, 0);
    std::vector<ITEM> items = GeneratedItems(m_pPopup);
    ASSERT_EQ(9u, items.size());
    for (size_t i = 0; i < items.size(); i++)
        EXPECT_EQ(i == 2, items[i].bChecked) << i;
}

TEST_F(ControlListsFrameTest, WithoutAnMdiClientTheWindowListStaysShownAndListsNothing)
{
    m_pPopup->SetSite(m_pFrame);
    CXTPControl* pPlaceholder = m_pPopup->GetControls()->Add(xtpControlButton, 35000);
    m_pPopup->CalcDynamicLayout(0, 0);
    EXPECT_TRUE(pPlaceholder->IsVisible());
    EXPECT_TRUE(GeneratedItems(m_pPopup).empty());
}

TEST_F(ControlListsFrameTest, PlaceholdersMayBeDroppedOnMenusOnly)
{
    CXTPControl* pButton = m_pPopup->GetControls()->Add(xtpControlButton, 101);
    const struct
    {
        int nId;
        const char* pszWhat;
    } placeholders[] = {{35000, "window list"}, {35002, "workspace actions"}, {35003, "recent files"},
                        {0xE800, "toolbars"}};
    CXTPToolBar* pToolBar = m_pFrame->GetToolBar();
    CRect rcToolBar;
    pToolBar->GetClientRect(&rcToolBar);
    Bars()->SetCustomizeMode(TRUE);
    for (const auto& p : placeholders) {
        SCOPED_TRACE(p.pszWhat);
        CXTPControl* pPlaceholder = CreateListPlaceholder(p.nId, FALSE);
        DROPEFFECT nEffect = DROPEFFECT_COPY;
        EXPECT_TRUE(pPlaceholder->IsCustomizeDragOverAvail(m_pPopup, CPoint(5, 5), nEffect));
        EXPECT_EQ(static_cast<DROPEFFECT>(DROPEFFECT_COPY), nEffect);
        EXPECT_FALSE(pPlaceholder->IsCustomizeDragOverAvail(pToolBar, CPoint(5, 5), nEffect));
        EXPECT_EQ(static_cast<DROPEFFECT>(DROPEFFECT_NONE), nEffect);
        // The toolbar is no target for it, while it is one for a plain button.
        EXPECT_EQ(static_cast<DROPEFFECT>(DROPEFFECT_NONE),
                  pToolBar->OnCustomizeDragEnter(pPlaceholder, rcToolBar.CenterPoint()));
        pToolBar->OnCustomizeDragLeave();
        pPlaceholder->InternalRelease();
    }
    EXPECT_NE(static_cast<DROPEFFECT>(DROPEFFECT_NONE), pToolBar->OnCustomizeDragEnter(pButton, rcToolBar.CenterPoint()));
    pToolBar->OnCustomizeDragLeave();
    Bars()->SetCustomizeMode(FALSE);
}

TEST_F(ControlListsFrameTest, TheOleVerbsPlaceholderHidesItselfAndListsNothing)
{
    CXTPControl* pPlaceholder = m_pPopup->GetControls()->AddControl(new CXTPControlOleItems);
    // A verbs entry left from an earlier layout goes; the entry after it stays.
    m_pPopup->GetControls()->Add(xtpControlPopup, 0, L"OLEMENUPOPUP", -1, TRUE);
    m_pPopup->GetControls()->Add(xtpControlButton, ID_APP_EXIT);
    m_pPopup->CalcDynamicLayout(0, 0);
    ASSERT_EQ(2, m_pPopup->GetControls()->GetCount());
    EXPECT_EQ(ID_APP_EXIT, m_pPopup->GetControls()->GetAt(1)->GetID());
    EXPECT_FALSE(pPlaceholder->IsVisible());
    Bars()->SetCustomizeMode(TRUE);
    m_pPopup->CalcDynamicLayout(0, 0);
    Bars()->SetCustomizeMode(FALSE);
    EXPECT_TRUE(pPlaceholder->IsVisible());
}
