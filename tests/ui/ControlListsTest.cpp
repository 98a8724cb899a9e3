// Generated list entries: captions, the toolbars list on a frame (chosen through a real click), the recent
// files of the application, the window list, the placeholders in customise drags; and the size selector: the cells
// under a point and the grid grown past its edge as tables, its cells painted into a memory DC, and a menu driven
// by the mouse, the grid growing while the button is held (never beyond its largest size) and the release
// choosing the selection.
#include "FrameTestSupport.h"
#include "PixelCanvas.h"
#include "PropExchangeStores.h"
#include "platform/GeometryPrinters.h"

#include "ui/commandbars/XTPCommandBars.h"
#include "ui/commandbars/XTPControlLists.h"
#include "ui/commandbars/XTPControlSelector.h"
#include "ui/commandbars/XTPPopupBar.h"
#include "ui/commandbars/XTPToolBar.h"
#include "ui/themes/BarPainter.h"

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
    // Clicked from the menu's loop once it shows.
    RunWhen([&] { return GetOpenPopup() == m_pPopup; }, [&] {
        CXTPControl* pItem = m_pPopup->GetControls()->GetAt(3);
        if (!pItem || pItem->GetTag() != nHidden) {
            m_pPopup->SetTrackingMode(0);   // failing, not waiting in the menu for ever
            return;
        }
        CPoint pt = pItem->GetRect().CenterPoint();
        m_pPopup->ClientToScreen(&pt);
        SendClick(pt);
        bClicked = TRUE;
    });
    CXTPCommandBars::TrackPopup(m_pPopup, 0, 100, 60, m_pFrame);
    EXPECT_TRUE(bClicked);
    EXPECT_TRUE(pHidden->IsVisible());
    EXPECT_FALSE(m_pPopup->IsTrackingMode());
    // The manager toggles a bar by the same index; an index past the bars changes nothing.
    Bars()->ToggleVisible(nHidden);
    EXPECT_FALSE(pHidden->IsVisible());
    Bars()->ToggleVisible(Bars()->GetCount());
    Bars()->ToggleVisible(nHidden);
    EXPECT_TRUE(pHidden->IsVisible());

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

TEST_F(ControlListsFrameTest, AnImportedMenuGetsTheOleVerbsPlaceholderWhichHidesItselfAndListsNothing)
{
    // Only the first verb's id with the placeholder's caption stands for the verbs.
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, ID_OLE_VERB_FIRST, L"<<OLE VERBS GO HERE>>");
    menu.AppendMenu(MF_STRING, ID_OLE_VERB_FIRST, L"&Modifica oggetto");
    menu.AppendMenu(MF_STRING, ID_APP_EXIT, L"&Esci");
    ASSERT_TRUE(m_pPopup->LoadMenu(&menu));
    CXTPControls* pControls = m_pPopup->GetControls();
    ASSERT_EQ(3, pControls->GetCount());
    CXTPControl* pPlaceholder = pControls->GetAt(0);
    EXPECT_EQ(RUNTIME_CLASS(CXTPControlOleItems), pPlaceholder->GetRuntimeClass());
    EXPECT_EQ(RUNTIME_CLASS(CXTPControlButton), pControls->GetAt(1)->GetRuntimeClass());

    // A verbs entry left from an earlier layout goes; the entries after it stay.
    pControls->Add(xtpControlPopup, 0, L"OLEMENUPOPUP", 1, TRUE);
    m_pPopup->CalcDynamicLayout(0, 0);
    ASSERT_EQ(3, pControls->GetCount());
    EXPECT_EQ(ID_APP_EXIT, pControls->GetAt(2)->GetID());
    EXPECT_TRUE(GeneratedItems(m_pPopup).empty());
    EXPECT_FALSE(pPlaceholder->IsVisible());
    Bars()->SetCustomizeMode(TRUE);
    m_pPopup->CalcDynamicLayout(0, 0);
    Bars()->SetCustomizeMode(FALSE);
    EXPECT_TRUE(pPlaceholder->IsVisible());
}

namespace
{
const int nSelectorId = 4713;

// Marks the centre of every cell in the text colour it is given.
class CMarkingSelector : public CXTPControlSelector
{
protected:
    void DrawItem(CDC* pDC, CRect rcItem, COLORREF clrText) override
    {
        CPoint pt = rcItem.CenterPoint();
        pDC->FillSolidRect(pt.x - 1, pt.y - 1, 3, 3, clrText);
    }
};

class ControlSelectorTest : public ControlListsFrameTest
{
protected:
    CXTPControlSelector* m_pSelector = nullptr;

    void SetUp() override
    {
        ControlListsFrameTest::SetUp();
        m_pSelector = static_cast<CXTPControlSelector*>(
            m_pPopup->GetControls()->AddControl(new CMarkingSelector, nSelectorId));
    }
    // The centre of a cell on the screen, from where the selector lies now.
    CPoint CellOnScreen(int nColumn, int nRow) const
    {
        CSize szItem = m_pSelector->GetItemSize();
        CPoint pt = m_pSelector->GetRect().TopLeft() +
                    CSize(nColumn * szItem.cx + szItem.cx / 2, nRow * szItem.cy + szItem.cy / 2);
        m_pPopup->ClientToScreen(&pt);
        return pt;
    }
    int Notifications(UINT nCode) const
    {
        int n = 0;
        for (const CTestFrame::EVENT& e : m_pFrame->m_events)
            n += e.message == XTPM_CONTROLNOTIFY && e.nId == nSelectorId && e.nCode == nCode;
        return n;
    }
};

void SendButton(DWORD dwFlags)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = dwFlags;
    ::SendInput(1, &input, sizeof(INPUT));
}
}

TEST_F(ControlSelectorTest, CellsUnderAPointAndTheGridGrownTowardsIt)
{
    m_pSelector->SetRect(CRect(CPoint(10, 20), CSize(5 * 28, 4 * 28)));
    ASSERT_EQ(CSize(5, 4), m_pSelector->GetShownGrid());
    struct Case
    {
        CPoint pt;
        CSize szCells;
        CSize szGrown;
    } cases[] = {
        {{10, 20}, {0, 0}, {5, 4}},                      // on the corner: no cell begins before it
        {{11, 21}, {1, 1}, {5, 4}},
        {{10 + 28, 20 + 28}, {1, 1}, {5, 4}},            // on the edge of the second cell
        {{10 + 29, 20 + 57}, {2, 3}, {5, 4}},
        {{5, 15}, {0, 0}, {5, 4}},                       // above and left of the grid: no cell, no growth
        {{10 + 5 * 28 + 3, 30}, {5, 1}, {6, 4}},         // just past the right edge
        {{30, 20 + 4 * 28}, {1, 4}, {5, 5}},             // on the bottom edge
        {{10 + 7 * 28 + 1, 20 + 9 * 28 + 1}, {5, 4}, {8, 10}},
        {{10 + 30 * 28, 20 + 30 * 28}, {5, 4}, {12, 12}},  // never beyond the largest grid
        {{10 + 30 * 28, 0}, {5, 0}, {12, 4}},            // right of the grid, above it: only the columns grow
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.pt.x << ", " << c.pt.y);
        EXPECT_EQ(c.szCells, m_pSelector->HitTestCells(c.pt));
        EXPECT_EQ(c.szGrown, m_pSelector->CalcGrownGrid(c.pt));
    }
    m_pSelector->SetItemsMax(CSize(6, 5));
    EXPECT_EQ(CSize(6, 5), m_pSelector->CalcGrownGrid(CPoint(10 + 30 * 28, 20 + 30 * 28)));
}

TEST_F(ControlSelectorTest, SelectedCellsArePaintedInTheHighlight)
{
    m_pSelector->SetItemsCount(CSize(3, 2));
    m_pPopup->CalcDynamicLayout(0, 0);
    ASSERT_EQ(CSize(3 * 28, 2 * 28), m_pSelector->GetSize(nullptr));
    m_pSelector->SetRect(CRect(CPoint(0, 0), CSize(3 * 28, 2 * 28)));
    m_pSelector->SetSelection(CSize(2, 1));
    CXTPBarPainter* pPainter = m_pPopup->GetPaintManager();
    const COLORREF clrBack = RGB(1, 2, 3);
    CPixelCanvas canvas(3 * 28, 2 * 28, clrBack);
    m_pSelector->Draw(&canvas);
    struct Case
    {
        int nColumn, nRow;
        BOOL bSelected;
    } cases[] = {{0, 0, TRUE}, {1, 0, TRUE}, {2, 0, FALSE}, {0, 1, FALSE}, {2, 1, FALSE}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.nColumn << ", " << c.nRow);
        int x = c.nColumn * 28, y = c.nRow * 28;
        EXPECT_EQ(pPainter->GetColor(c.bSelected ? COLOR_HIGHLIGHT : COLOR_WINDOW), canvas.At(x + 5, y + 5));
        EXPECT_EQ(pPainter->GetColor(c.bSelected ? COLOR_HIGHLIGHTTEXT : 46), canvas.At(x + 14, y + 14));
        // The frame one pixel inside the cell, the ground between the cells.
        EXPECT_EQ(pPainter->GetColor(43), canvas.At(x + 1, y + 5));
        EXPECT_EQ(pPainter->GetColor(43), canvas.At(x + 26, y + 5));
        EXPECT_EQ(clrBack, canvas.At(x, y + 5));
    }
}

TEST_F(ControlSelectorTest, DraggingPastTheGridGrowsItAndTheReleaseChoosesTheSelection)
{
    struct Step
    {
        const char* pszWhat;
        std::function<void()> input;
        CSize szShown;
        CSize szSelection;
    };
    CPoint ptSent;
    BOOL bHeld = FALSE;
    auto moveTo = [&](CPoint pt) {
        ptSent = pt;
        SendMouseMove(pt);
    };
    auto press = [&] {
        bHeld = TRUE;
        SendButton(MOUSEEVENTF_LEFTDOWN);
    };
    std::vector<Step> steps = {
        {"over a cell", [&] { moveTo(CellOnScreen(1, 1)); }, {5, 4}, {2, 2}},
        {"pressed", press, {5, 4}, {2, 2}},
        {"dragged past the grid", [&] { moveTo(CellOnScreen(6, 5)); }, {7, 6}, {7, 6}},
        {"moved inside the grown grid", [&] { moveTo(CellOnScreen(6, 5) + CSize(2, 2)); }, {7, 6}, {7, 6}},
        {"dragged far away", [&] { moveTo(CellOnScreen(20, 16)); }, {12, 12}, {12, 12}},
        {"back inside", [&] { moveTo(CellOnScreen(2, 2)); }, {12, 12}, {3, 3}},
    };
    // A step's input has been taken once the cursor and the button are as it left them, no mouse or posted message
    // waits, and a cursor off the popup has been found gone: the popup looks every 50 ms and posts itself the
    // leave on which the grid grows (a move over another program's window never reaches this thread).
    const auto taken = [&] {
        CPoint pt;
        CRect rcPopup;
        m_pPopup->GetWindowRect(&rcPopup);
        return ::GetCursorPos(&pt) && pt == ptSent && (::GetKeyState(VK_LBUTTON) < 0) == bHeld &&
               !(HIWORD(::GetQueueStatus(QS_MOUSE | QS_POSTMESSAGE)) & (QS_MOUSE | QS_POSTMESSAGE)) &&
               (rcPopup.PtInRect(pt) || CMouseManager::GetThreadManager()->GetWatchedWindow() != m_pPopup->m_hWnd);
    };
    std::vector<CSize> shown, selections;
    std::function<void(size_t)> run = [&](size_t nStep) {
        if (nStep > 0) {
            shown.push_back(m_pSelector->GetShownGrid());
            selections.push_back(m_pSelector->GetSelection());
        }
        if (nStep == steps.size()) {
            SendButton(MOUSEEVENTF_LEFTUP);
            return;
        }
        steps[nStep].input();
        RunWhen(taken, [&run, nStep] { run(nStep + 1); });
    };
    RunWhen([&] { return GetOpenPopup() == m_pPopup; }, [&] { run(0); });
    m_pFrame->m_events.clear();
    CXTPCommandBars::TrackPopup(m_pPopup, 0, 100, 60, m_pFrame);
    ASSERT_EQ(steps.size(), shown.size());
    for (size_t i = 0; i < steps.size(); i++) {
        SCOPED_TRACE(steps[i].pszWhat);
        EXPECT_EQ(steps[i].szShown, shown[i]);
        EXPECT_EQ(steps[i].szSelection, selections[i]);
    }
    EXPECT_FALSE(m_pPopup->IsTrackingMode());
    EXPECT_EQ(CSize(3, 3), m_pSelector->GetChosen());
    PumpFrame(m_pFrame->m_hWnd);
    EXPECT_EQ(1, Notifications(XTP_CN_EXECUTE));
    EXPECT_GT(Notifications(XTP_SN_SELECTORCHANGE), 0);

    // Opened again it starts from its first grid with nothing selected; a release on no cell chooses nothing.
    m_pPopup->CalcDynamicLayout(0, 0);
    EXPECT_EQ(CSize(5, 4), m_pSelector->GetShownGrid());
    EXPECT_EQ(CSize(0, 0), m_pSelector->GetSelection());
    m_pFrame->m_events.clear();
    m_pSelector->OnLButtonUp(m_pSelector->GetRect().TopLeft());
    EXPECT_EQ(0, Notifications(XTP_CN_EXECUTE));
    EXPECT_EQ(CSize(3, 3), m_pSelector->GetChosen());
}

TEST_F(ControlSelectorTest, GridSizesGoWithCopiesAndTheSavedFormByName)
{
    m_pSelector->SetItemsCount(CSize(3, 2));
    m_pSelector->SetItemsMax(CSize(8, 6));
    m_pSelector->SetItemSize(CSize(20, 18));
    auto* pClone = dynamic_cast<CXTPControlSelector*>(m_pSelector->Clone(TRUE));
    ASSERT_NE(nullptr, pClone);
    EXPECT_EQ(CSize(3, 2), pClone->GetItemsCount());
    EXPECT_EQ(CSize(8, 6), pClone->GetItemsMax());
    EXPECT_EQ(CSize(20, 18), pClone->GetItemSize());
    pClone->InternalRelease();

    CXmlBacking backing(FALSE);
    backing.Save([&](CXTPPropExchange* pPX) { m_pSelector->DoPropExchange(pPX); });
    for (const char* pszKey : {"ItemsCount", "ItemsMax", "ItemSize"})
        EXPECT_NE(-1, backing.m_strXml.Find(CString(pszKey))) << pszKey;
    auto* pLoaded = new CXTPControlSelector;
    backing.Load([&](CXTPPropExchange* pPX) { pLoaded->DoPropExchange(pPX); });
    EXPECT_EQ(CSize(3, 2), pLoaded->GetItemsCount());
    EXPECT_EQ(CSize(8, 6), pLoaded->GetItemsMax());
    EXPECT_EQ(CSize(20, 18), pLoaded->GetItemSize());
    EXPECT_EQ(nSelectorId, pLoaded->GetID());
    pLoaded->InternalRelease();
}
