// The customise sheet's context menu on a test frame: its entries from menu 9336, its commands reaching the
// drag control through the sheet, the icon commands with the clipboard and the sheet's own icons, the Commands
// page, and the sheet's hooks under real input.
#include "FrameTestFixture.h"
#include "IconPixels.h"
#include "PixelCanvas.h"
#include "support/ModalDialogDriver.h"

#include "platform/mfc/afxarchive.h"
#include "platform/mfc/afxmemfile.h"
#include "ui/commandbars/XTPControlEdit.h"
#include "ui/commandbars/XTPCustomizeCommandsPage.h"
#include "ui/commandbars/XTPCustomizeDropSource.h"
#include "ui/commandbars/XTPCustomizeSheet.h"
#include "ui/commandbars/XTPImageEditorDlg.h"
#include "ui/commandbars/XTPPopupBar.h"
#include "ui/commandbars/XTPToolBar.h"
#include "ui/themes/BarPainter.h"
#include "ui/uires.h"

#include <gtest/gtest.h>

namespace
{
const COLORREF kGround = RGB(0, 255, 0);

// Sees the messages of the sheet's window.
class CMessageTap : public CXTPHookHandler
{
public:
    int OnHookMessage(HWND, UINT nMessage, WPARAM&, LPARAM&, LRESULT&) override
    {
        m_messages.push_back(nMessage);
        return xtpHookContinue;
    }
    std::vector<UINT> m_messages;
};

// A bitmap of the screen's format, as another program puts on the clipboard.
HBITMAP MakeScreenBitmap(int cx, int cy, const std::function<COLORREF(int, int)>& pixel)
{
    HDC hScreen = ::GetDC(nullptr);
    HBITMAP hBitmap = ::CreateCompatibleBitmap(hScreen, cx, cy);
    HDC hDC = ::CreateCompatibleDC(hScreen);
    ::ReleaseDC(nullptr, hScreen);
    HGDIOBJ hOld = ::SelectObject(hDC, hBitmap);
    for (int y = 0; y < cy; y++)
        for (int x = 0; x < cx; x++)
            ::SetPixel(hDC, x, y, pixel(x, y));
    ::SelectObject(hDC, hOld);
    ::DeleteDC(hDC);
    return hBitmap;
}

class CustomizeContextMenuTest : public CStillFrameTestFixture
{
protected:
    CXTPCustomizeSheet* m_pSheet = nullptr;
    std::function<void(CXTPCustomizeSheet&)> m_onSheet;
    // A dialog opened from the sheet.
    std::function<INT_PTR(CDialog&)> m_onOther;
    CModalDialogDriver m_driver{[this](CDialog& dialog) -> INT_PTR {
        CXTPCustomizeSheet* pSheet = CXTPCustomizeSheet::GetRunning();
        if (pSheet && dynamic_cast<CPropertyPage*>(&dialog) && dialog.GetParent() == pSheet) {
            if (m_onSheet)
                m_onSheet(*pSheet);
        } else if (m_onOther) {
            return m_onOther(dialog);
        }
        return IDCANCEL;
    }};

    void SetUp() override
    {
        CStillFrameTestFixture::SetUp();
        if (HasFatalFailure())
            return;
        m_pSheet = new CXTPCustomizeSheet(Bars());
    }
    void TearDown() override
    {
        CMouseManager::GetThreadManager()->UntrackAll();
        delete m_pSheet;
        CStillFrameTestFixture::TearDown();
    }
    CXTPCommandBars* Bars() const { return m_pFrame->GetCommandBars(); }
    CXTPControl* Button(int nIndex) const { return m_pFrame->GetToolBar()->GetControls()->GetAt(nIndex); }
    CXTPControl* MenuEntry(UINT nID) const { return m_pSheet->GetContextMenu()->GetControls()->FindControl(static_cast<int>(nID)); }
    void Run(std::function<void(CXTPCustomizeSheet&)> onSheet)
    {
        m_onSheet = std::move(onSheet);
        m_pSheet->DoModal();
    }
    // The icon a control shows, drawn on green.
    std::vector<COLORREF> IconPixels(CXTPControl* pControl)
    {
        CPixelCanvas canvas(16, 16, kGround);
        CXTPImageManagerIcon* pIcon = Bars()->GetImageManager()->GetImage(static_cast<UINT>(pControl->GetIconId()), 16);
        if (pIcon)
            pIcon->Draw(&canvas, CPoint(0, 0), CSize(16, 16));
        std::vector<COLORREF> pixels;
        for (int y = 0; y < 16; y++)
            for (int x = 0; x < 16; x++)
                pixels.push_back(canvas.At(x, y));
        return pixels;
    }
    // The open sheet beside the frame, in front, as the user works with it before real input.
    void ShowBesideTheFrame(CXTPCustomizeSheet& sheet)
    {
        CRect rcFrame;
        m_pFrame->GetWindowRect(&rcFrame);
        sheet.SetWindowPos(nullptr, rcFrame.right + 10, rcFrame.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
        for (int i = 0; i < 20 && ::GetForegroundWindow() != sheet.m_hWnd; i++) {
            ::SetForegroundWindow(sheet.m_hWnd);
            PumpFrame(m_pFrame->m_hWnd, 20);
        }
    }
    void SetClipboard(UINT nFormat, HANDLE hData, BOOL bEmpty = TRUE)
    {
        ASSERT_TRUE(::OpenClipboard(m_pFrame->m_hWnd));
        if (bEmpty)
            ::EmptyClipboard();
        ::SetClipboardData(nFormat, hData);
        ::CloseClipboard();
    }
};
}

TEST_F(CustomizeContextMenuTest, TheMenuHoldsTheCustomiseEntriesWithTheirKindsAndGroups)
{
    CXTPPopupBar* pMenu = m_pSheet->GetContextMenu();
    ASSERT_NE(nullptr, pMenu);
    const struct
    {
        UINT nID;
        LPCTSTR caption;
        int nType;
        BOOL bBeginGroup;
    } entries[] = {
        {XTP_ID_CUSTOMIZE_RESET, L"Reimposta", xtpControlButton, FALSE},
        {XTP_ID_CUSTOMIZE_DELETE, L"Elimina", xtpControlButton, FALSE},
        {XTP_ID_CUSTOMIZE_NAME, L"Nome:", xtpControlEdit, FALSE},
        {XTP_ID_CUSTOMIZE_COPYBUTTONIMAGE, L"Copia icona pulsante", xtpControlButton, TRUE},
        {XTP_ID_CUSTOMIZE_PASTEBUTTONIMAGE, L"Incolla icona pulsante", xtpControlButton, FALSE},
        {XTP_ID_CUSTOMIZE_RESETBUTTONIMAGE, L"Reimposta icona pulsante", xtpControlButton, FALSE},
        {XTP_ID_CUSTOMIZE_EDITBUTTONIMAGE, L"Modifica icona pulsante...", xtpControlButton, FALSE},
        {XTP_ID_CUSTOMIZE_CHANGEBUTTONIMAGE, L"Cambia icona pulsante", xtpControlPopup, FALSE},
        {XTP_ID_CUSTOMIZE_DEFAULTSTYLE, L"Stile predefinito", xtpControlButton, TRUE},
        {XTP_ID_CUSTOMIZE_TEXTONLY, L"Solo testo", xtpControlButton, FALSE},
        {XTP_ID_CUSTOMIZE_IMAGEANDTEXT, L"Icona e testo", xtpControlButton, FALSE},
        {XTP_ID_CUSTOMIZE_BEGINAGROUP, L"Inizia un gruppo", xtpControlButton, TRUE},
    };
    ASSERT_EQ(static_cast<int>(std::size(entries)), pMenu->GetControls()->GetCount());
    for (int i = 0; i < static_cast<int>(std::size(entries)); i++) {
        CXTPControl* pControl = pMenu->GetControls()->GetAt(i);
        EXPECT_EQ(static_cast<int>(entries[i].nID), pControl->GetID()) << i;
        EXPECT_EQ(CString(entries[i].caption), pControl->GetCaption()) << i;
        EXPECT_EQ(entries[i].nType, pControl->GetType()) << i;
        EXPECT_EQ(entries[i].bBeginGroup, pControl->GetBeginGroup()) << i;
    }
    CXTPCommandBar* pIcons = MenuEntry(XTP_ID_CUSTOMIZE_CHANGEBUTTONIMAGE)->GetCommandBar();
    ASSERT_NE(nullptr, pIcons);
    EXPECT_EQ(static_cast<UINT>(XTP_ID_CUSTOMIZE_CHANGEBUTTONIMAGE), pIcons->GetBarID());
    EXPECT_EQ(0, pIcons->GetControls()->GetCount()) << "filled when it first shows";
}

TEST_F(CustomizeContextMenuTest, EntriesChosenInTheMenuChangeTheDragControlThroughTheSheet)
{
    Run([&](CXTPCustomizeSheet& sheet) {
        CXTPControl* pButton = Button(1);
        Bars()->SetDragControl(pButton);
        const BOOL bGroup = pButton->GetBeginGroup();
        const struct
        {
            UINT nID;
            int nCustomStyle;
            BOOL bGroupToggled;
        } cases[] = {
            {XTP_ID_CUSTOMIZE_IMAGEANDTEXT, xtpButtonIconAndCaption, FALSE},
            {XTP_ID_CUSTOMIZE_TEXTONLY, xtpButtonCaption, FALSE},
            {XTP_ID_CUSTOMIZE_BEGINAGROUP, xtpButtonCaption, TRUE},
            {XTP_ID_CUSTOMIZE_DEFAULTSTYLE, xtpButtonAutomatic, TRUE},
        };
        for (const auto& test : cases) {
            MenuEntry(test.nID)->OnExecute();
            EXPECT_EQ(test.nCustomStyle, pButton->GetCustomStyle()) << test.nID;
            EXPECT_EQ(test.bGroupToggled ? !bGroup : bGroup, pButton->GetBeginGroup()) << test.nID;
        }
        auto* pName = static_cast<CXTPControlEdit*>(MenuEntry(XTP_ID_CUSTOMIZE_NAME));
        pName->SetEditText(L"Nuovo nome");
        pName->NotifySite(XTP_CN_EXECUTE);
        EXPECT_EQ(CString(L"Nuovo nome"), pButton->GetCaption());
        EXPECT_TRUE(m_pFrame->m_events.empty()) << "the customise commands stay with the sheet";

        // Commands of the frame reach the frame.
        EXPECT_TRUE(sheet.OnCmdMsg(ID_FT_CUT, CN_COMMAND, nullptr, nullptr));
        ASSERT_EQ(1u, m_pFrame->m_events.size());
        EXPECT_EQ(static_cast<UINT>(ID_FT_CUT), m_pFrame->m_events[0].nId);
    });
}

TEST_F(CustomizeContextMenuTest, OtherControlsNotificationsGoOnToTheFrameAndBecomeItsCommandWhenItLeavesThem)
{
    Run([&](CXTPCustomizeSheet& sheet) {
        const struct
        {
            UINT nHandledByFrame;
            std::vector<CTestFrame::EVENT> events;
        } cases[] = {
            {0, {{XTPM_CONTROLNOTIFY, ID_FT_CUT, XTP_CN_EXECUTE}, {WM_COMMAND, ID_FT_CUT, 0}}},
            {ID_FT_CUT, {{XTPM_CONTROLNOTIFY, ID_FT_CUT, XTP_CN_EXECUTE}}},
        };
        for (const auto& test : cases) {
            m_pFrame->m_events.clear();
            m_pFrame->m_nHandledNotify = test.nHandledByFrame;
            XTP_CONTROL_NOTIFY notify = {nullptr, ID_FT_CUT, XTP_CN_EXECUTE, nullptr};
            EXPECT_EQ(1, sheet.SendMessage(XTPM_CONTROLNOTIFY, ID_FT_CUT, reinterpret_cast<LPARAM>(&notify)));
            EXPECT_EQ(test.events, m_pFrame->m_events) << test.nHandledByFrame;
        }
    });
}

TEST_F(CustomizeContextMenuTest, TheNameBoxShowsTheDragControlsCaptionInItsFieldBesideItsLabel)
{
    Run([&](CXTPCustomizeSheet& sheet) {
        auto* pName = static_cast<CXTPControlEdit*>(MenuEntry(XTP_ID_CUSTOMIZE_NAME));
        auto update = [&] {
            CXTPCommandBar::CCommandBarCmdUI state;
            state.m_pControl = pName;
            state.m_nID = XTP_ID_CUSTOMIZE_NAME;
            sheet.OnCmdMsg(XTP_ID_CUSTOMIZE_NAME, static_cast<int>(CN_UPDATE_COMMAND_UI), &state, nullptr);
        };
        const struct
        {
            CXTPControl* pDragControl;
            LPCTSTR shown;
        } cases[] = {{Button(1), L"Apri"}, {nullptr, L""}, {Button(0), L"Nuovo"}};
        for (const auto& test : cases) {
            Bars()->SetDragControl(test.pDragControl);
            update();
            EXPECT_EQ(CString(test.shown), pName->GetEditText());
            EXPECT_EQ(CString(L"Nome:"), pName->GetCaption()) << "the label stays";
        }
    });
}

TEST_F(CustomizeContextMenuTest, WhatTheUserTypesInTheOpenMenusNameBoxStaysThroughItsUpdates)
{
    CString strShown, strWhileTyping;
    BOOL bFocused = FALSE;
    Run([&](CXTPCustomizeSheet& sheet) {
        Bars()->SetDragControl(Button(1));
        auto* pName = static_cast<CXTPControlEdit*>(MenuEntry(XTP_ID_CUSTOMIZE_NAME));
        // From the menu's loop, once the menu shows with its name box made.
        RunWhen([&] { return GetOpenPopup() == sheet.GetContextMenu() && pName->IsEditCreated(); }, [&] {
            CXTPPopupBar* pMenu = sheet.GetContextMenu();
            pMenu->OnUpdateCmdUI(TRUE);
            strShown = pName->GetEditText();
            if (pName->IsEditCreated()) {
                pName->GetEditCtrl()->SetFocus();
                bFocused = pName->IsFocused();
                pName->GetEditCtrl()->SetWindowText(L"Apri tutto");
                pMenu->OnUpdateCmdUI(TRUE);
                strWhileTyping = pName->GetEditText();
            }
            Bars()->ClosePopups();
        });
        CPoint pt = Button(1)->GetRect().CenterPoint();
        m_pFrame->GetToolBar()->ClientToScreen(&pt);
        sheet.ContextMenu(pt);
    });
    EXPECT_EQ(CString(L"Apri"), strShown);
    EXPECT_TRUE(bFocused);
    EXPECT_EQ(CString(L"Apri tutto"), strWhileTyping);
    EXPECT_EQ(CString(L"Apri"), Button(1)->GetCaption()) << "nothing renamed without Enter";
}

TEST_F(CustomizeContextMenuTest, TheDragControlChangingIsToldToTheOpenSheet)
{
    CMessageTap tap;
    Run([&](CXTPCustomizeSheet& sheet) {
        CWindowHookManager::GetInstance()->SetHook(sheet.m_hWnd, &tap);
        Bars()->SetDragControl(Button(0));
        CWindowHookManager::GetInstance()->RemoveHook(sheet.m_hWnd, &tap);
    });
    EXPECT_EQ(1, std::count(tap.m_messages.begin(), tap.m_messages.end(), static_cast<UINT>(XTPM_DRAGCONTROL)));
}

TEST_F(CustomizeContextMenuTest, EditingAnIconOpensTheImageEditorOwnedByTheSheet)
{
    Run([&](CXTPCustomizeSheet& sheet) {
        CXTPControl* pButton = Button(0);
        Bars()->SetDragControl(pButton);
        CXTPControl* pEntry = MenuEntry(XTP_ID_CUSTOMIZE_EDITBUTTONIMAGE);
        CXTPCommandBar::CCommandBarCmdUI state;
        state.m_pControl = pEntry;
        state.m_nID = XTP_ID_CUSTOMIZE_EDITBUTTONIMAGE;
        pEntry->SetEnabled(FALSE);
        sheet.OnCmdMsg(XTP_ID_CUSTOMIZE_EDITBUTTONIMAGE, static_cast<int>(CN_UPDATE_COMMAND_UI), &state, nullptr);
        EXPECT_TRUE(pEntry->GetEnabled());

        HWND hWndOwner = nullptr;
        m_onOther = [&](CDialog& dialog) -> INT_PTR {
            EXPECT_NE(nullptr, dynamic_cast<CXTPImageEditorDlg*>(&dialog));
            hWndOwner = ::GetWindow(dialog.m_hWnd, GW_OWNER);
            return IDOK;   // the picture as it was
        };
        const std::vector<COLORREF> before = IconPixels(pButton);
        sheet.SendMessage(WM_COMMAND, XTP_ID_CUSTOMIZE_EDITBUTTONIMAGE);
        EXPECT_EQ(sheet.m_hWnd, hWndOwner);
        EXPECT_GT(pButton->GetCustomIconId(), 0);
        EXPECT_EQ(before, IconPixels(pButton));
    });
}

TEST_F(CustomizeContextMenuTest, TheIconPopupOffersTheSheetsIconsAndGivesTheChosenOneAsACustomIcon)
{
    Run([&](CXTPCustomizeSheet& sheet) {
        auto* pIcons = static_cast<CXTPPopupBar*>(MenuEntry(XTP_ID_CUSTOMIZE_CHANGEBUTTONIMAGE)->GetCommandBar());
        sheet.SendMessage(XTPM_POPUPSHOWING, 0, reinterpret_cast<LPARAM>(pIcons));
        ASSERT_EQ(42, pIcons->GetControls()->GetCount());
        EXPECT_EQ(144, pIcons->GetMRUWidth());
        sheet.SendMessage(XTPM_POPUPSHOWING, 0, reinterpret_cast<LPARAM>(pIcons));
        EXPECT_EQ(42, pIcons->GetControls()->GetCount()) << "filled once";

        CXTPControl* pButton = Button(2);
        Bars()->SetDragControl(pButton);
        // The first picture is a dark red square on transparent ground.
        pIcons->GetControls()->GetAt(0)->NotifySite(XTP_CN_EXECUTE);
        ASSERT_GT(pButton->GetCustomIconId(), 0);
        std::vector<COLORREF> pixels = IconPixels(pButton);
        EXPECT_EQ(RGB(192, 0, 0), pixels[8 * 16 + 8]);
        EXPECT_EQ(kGround, pixels[0]);

        // A picture the sheet has no icon for changes nothing.
        pButton->SetCustomIconId(0);
        CXTPControl* pStray = pIcons->GetControls()->GetAt(1);
        pStray->SetIconId(999);
        UINT nCounter = Bars()->GetImageManager()->GetCustomIconCounter();
        pStray->NotifySite(XTP_CN_EXECUTE);
        EXPECT_EQ(0, pButton->GetCustomIconId());
        EXPECT_EQ(nCounter, Bars()->GetImageManager()->GetCustomIconCounter());
    });
}

TEST_F(CustomizeContextMenuTest, ACopiedIconPastedOnAnotherButtonLooksTheSame)
{
    Run([&](CXTPCustomizeSheet& sheet) {
        Bars()->SetDragControl(Button(0));
        sheet.SendMessage(WM_COMMAND, XTP_ID_CUSTOMIZE_COPYBUTTONIMAGE);
        EXPECT_TRUE(::IsClipboardFormatAvailable(CF_BITMAP));
        Bars()->SetDragControl(Button(1));
        ASSERT_NE(IconPixels(Button(0)), IconPixels(Button(1)));
        sheet.SendMessage(WM_COMMAND, XTP_ID_CUSTOMIZE_PASTEBUTTONIMAGE);
        EXPECT_GT(Button(1)->GetCustomIconId(), 0);
        EXPECT_EQ(IconPixels(Button(0)), IconPixels(Button(1)));
    });
}

TEST_F(CustomizeContextMenuTest, APlainBitmapPastedLosesItsButtonFaceAndDamagedDataChangesNothing)
{
    Run([&](CXTPCustomizeSheet& sheet) {
        CXTPControl* pButton = Button(1);
        Bars()->SetDragControl(pButton);
        // A bitmap of another program: a blue square on the button face.
        HBITMAP hBitmap = MakeScreenBitmap(16, 16, [](int x, int y) {
            return x >= 4 && x < 12 && y >= 4 && y < 12 ? RGB(0, 0, 255) : ::GetSysColor(COLOR_BTNFACE);
        });
        SetClipboard(CF_BITMAP, hBitmap);
        sheet.SendMessage(WM_COMMAND, XTP_ID_CUSTOMIZE_PASTEBUTTONIMAGE);
        ASSERT_GT(pButton->GetCustomIconId(), 0);
        std::vector<COLORREF> pixels = IconPixels(pButton);
        EXPECT_EQ(RGB(0, 0, 255), pixels[8 * 16 + 8]);
        EXPECT_EQ(kGround, pixels[1 * 16 + 1]);

        // Toolbar-image data that does not read: the button keeps its icon.
        int nBefore = pButton->GetCustomIconId();
        UINT nCounter = Bars()->GetImageManager()->GetCustomIconCounter();
        HGLOBAL hDamaged = ::GlobalAlloc(GMEM_MOVEABLE, 8);
        memset(::GlobalLock(hDamaged), 0x7F, 8);
        ::GlobalUnlock(hDamaged);
        SetClipboard(CXTPImageManager::GetClipboardFormat(), hDamaged);
        sheet.SendMessage(WM_COMMAND, XTP_ID_CUSTOMIZE_PASTEBUTTONIMAGE);
        EXPECT_EQ(nBefore, pButton->GetCustomIconId());
        EXPECT_EQ(nCounter, Bars()->GetImageManager()->GetCustomIconCounter());
    });
}

TEST_F(CustomizeContextMenuTest, CommandsPageListsCategoriesAndACommandDraggedOntoABarIsCopied)
{
    CXTPCustomizeCommandsPage* pPage = m_pSheet->GetCommandsPage();
    ASSERT_TRUE(pPage->AddCategory(L"File", IDR_FRAMETEST));
    EXPECT_FALSE(pPage->AddCategory(L"Nessuna", 12345));
    pPage->InsertAllCommandsCategory(XTP_IDS_ALLCOMMANDS);
    pPage->InsertNewMenuCategory(XTP_IDS_NEWMENU);
    Run([&](CXTPCustomizeSheet& sheet) {
        sheet.SetActivePage(1);
        CListBox& categories = pPage->GetCategoryList();
        ASSERT_EQ(3, categories.GetCount());
        const LPCTSTR names[] = {L"File", L"Tutti i comandi", L"Nuovo menu"};
        for (int i = 0; i < 3; i++)
            EXPECT_EQ(CString(names[i]), pPage->GetCategoryName(i));
        CXTPCustomizeCommandsListBox& commands = pPage->GetCommandList();
        EXPECT_EQ(3, commands.GetCount());
        categories.SetCurSel(2);
        pPage->SendMessage(WM_COMMAND, MAKEWPARAM(XTP_IDC_LIST_CATEGORIES, LBN_SELCHANGE),
                           reinterpret_cast<LPARAM>(categories.m_hWnd));
        ASSERT_EQ(1, commands.GetCount());
        EXPECT_EQ(xtpControlPopup, commands.GetControl(0)->GetType());
        EXPECT_EQ(CString(L"Nuovo menu"), commands.GetControl(0)->GetCaption());

        // The new menu pressed in the list and released after the toolbar's last button.
        CXTPToolBar* pToolBar = m_pFrame->GetToolBar();
        int nBefore = pToolBar->GetControls()->GetCount();
        CRect rcLast = Button(2)->GetRect();
        CPoint pt(rcLast.right - 2, rcLast.CenterPoint().y);
        pToolBar->ClientToScreen(&pt);
        sheet.ScreenToClient(&pt);
        sheet.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        sheet.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
        CRect rcItem;
        commands.GetItemRect(0, &rcItem);
        commands.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rcItem.left + 4, rcItem.top + 4));
        ASSERT_EQ(nBefore + 1, pToolBar->GetControls()->GetCount());
        EXPECT_EQ(CString(L"Nuovo menu"), Button(3)->GetCaption());
        EXPECT_EQ(1, commands.GetCount()) << "the page keeps its command";
    });
}

TEST_F(CustomizeContextMenuTest, TheCommandListShowsItsEntriesAsTheBarsPainterDrawsThemWithTheFramesIcons)
{
    CXTPCustomizeCommandsPage* pPage = m_pSheet->GetCommandsPage();
    ASSERT_TRUE(pPage->AddCategory(L"File", IDR_FRAMETEST));
    const std::vector<COLORREF> newIcon = IconPixels(Button(0));
    Run([&](CXTPCustomizeSheet& sheet) {
        sheet.SetActivePage(1);
        CXTPCustomizeCommandsListBox& commands = pPage->GetCommandList();
        ASSERT_EQ(3, commands.GetCount());
        CXTPBarPainter* pPainter = Bars()->GetPaintManager();
        const CSize szEntry = pPainter->DrawListBoxControl(nullptr, nullptr, CRect(), FALSE, FALSE, Bars());
        EXPECT_EQ(szEntry.cy, commands.GetItemHeight(0));

        CRect rc;
        commands.GetClientRect(&rc);
        CPixelCanvas canvas(rc.Width(), rc.Height(), kGround);
        commands.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.m_hDC));
        commands.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.m_hDC), PRF_CLIENT);
        const int h = szEntry.cy, c = szEntry.cx;
        EXPECT_EQ(newIcon[8 * 16 + 8], canvas.At(c / 2, h / 2)) << "the frame's icon of the first command";
        EXPECT_EQ(pPainter->GetColor(COLOR_3DFACE), canvas.At(rc.Width() - 3, h / 2)) << "the entry's face";
        EXPECT_EQ(pPainter->GetColor(COLOR_3DFACE), canvas.At(rc.Width() / 2, rc.Height() - 3)) << "the list's ground";
    });
}

TEST_F(CustomizeContextMenuTest, CategoriesGatherCopiesOfTheControlsByTheirCategoryNames)
{
    CXTPCustomizeCommandsPage* pPage = m_pSheet->GetCommandsPage();
    ASSERT_TRUE(pPage->AddCategory(L"File", IDR_FRAMETEST));
    CXTPControls* pSource = m_pFrame->GetMenuBar()->GetControls();
    const LPCTSTR categories[] = {L"Modifica", L"", L"File"};
    for (int i = 0; i < 3; i++)
        pSource->GetAt(i)->SetCategory(categories[i]);
    pPage->AddCategories(pSource);
    pPage->InsertAllCommandsCategory(XTP_IDS_ALLCOMMANDS, 0);

    const struct
    {
        LPCTSTR name;
        std::vector<int> ids;
    } expected[] = {
        {L"Tutti i comandi", {ID_FT_NEW, ID_FT_OPEN, ID_FT_PRINT, pSource->GetAt(2)->GetID(), pSource->GetAt(0)->GetID()}},
        {L"File", {ID_FT_NEW, ID_FT_OPEN, ID_FT_PRINT, pSource->GetAt(2)->GetID()}},
        {L"Modifica", {pSource->GetAt(0)->GetID()}},
    };
    ASSERT_EQ(static_cast<int>(std::size(expected)), pPage->GetCategoryCount());
    for (int i = 0; i < pPage->GetCategoryCount(); i++) {
        SCOPED_TRACE(i);
        EXPECT_EQ(CString(expected[i].name), pPage->GetCategoryName(i));
        CXTPControls* pControls = pPage->GetControls(expected[i].name);
        ASSERT_NE(nullptr, pControls);
        std::vector<int> ids;
        for (int j = 0; j < pControls->GetCount(); j++) {
            ids.push_back(pControls->GetAt(j)->GetID());
            EXPECT_EQ(nullptr, pControls->GetAt(j)->GetParent()) << "a copy, not the bar's control";
        }
        EXPECT_EQ(expected[i].ids, ids);
    }
    EXPECT_EQ(nullptr, pPage->GetControls(L"Lungo"));
    EXPECT_EQ(3, pSource->GetCount()) << "the menu bar keeps its controls";
}

TEST_F(CustomizeContextMenuTest, WithTheSheetOpenClicksOnTheClientAreaAreSwallowedAndOnTheBarsAndMenusNot)
{
    CPressCounter<CWnd> view;
    CRect rcClient;
    m_pFrame->GetClientRect(&rcClient);
    CRect rcView(rcClient.left + 10, rcClient.bottom - 80, rcClient.right - 10, rcClient.bottom - 10);
    ASSERT_TRUE(view.CreateEx(0, nullptr, L"", WS_CHILD | WS_VISIBLE, rcView, m_pFrame, 1));
    CPoint ptView = rcView.CenterPoint();
    m_pFrame->ClientToScreen(&ptView);
    SendClick(ptView);
    PumpFrame(m_pFrame->m_hWnd);
    ASSERT_EQ(1, view.m_nPresses) << "without the sheet the view takes clicks";

    int nPresses = -1;
    CXTPControl* pDragged = nullptr;
    BOOL bMenuOpen = FALSE, bFileOpen = FALSE;
    CXTPControl* pMenuDragged = nullptr;
    Run([&](CXTPCustomizeSheet& sheet) {
        ShowBesideTheFrame(sheet);
        SendClick(ptView);
        PumpFrame(m_pFrame->m_hWnd);
        nPresses = view.m_nPresses;

        CPoint ptButton = Button(1)->GetRect().CenterPoint();
        m_pFrame->GetToolBar()->ClientToScreen(&ptButton);
        SendClick(ptButton);
        PumpFrame(m_pFrame->m_hWnd);
        pDragged = Bars()->GetDragControl();

        // The context menu runs a loop of its own: the step looks from there once it shows, and closes it.
        BOOL bLooked = FALSE;
        RunWhen([&] { return GetOpenPopup() == sheet.GetContextMenu(); }, [&] {
            bLooked = TRUE;
            bMenuOpen = sheet.GetContextMenu()->IsTrackingMode();
            Bars()->ClosePopups();
        });
        SendClick(ptButton, TRUE);
        EXPECT_TRUE(PumpUntil(m_pFrame->m_hWnd, [&] { return bLooked; }));
        PumpFrame(m_pFrame->m_hWnd);

        // The menu bar still opens its menus, for their entries to be rearranged.
        CXTPControl* pFile = m_pFrame->GetMenuBar()->GetControls()->GetAt(0);
        CPoint ptFile = pFile->GetRect().CenterPoint();
        m_pFrame->GetMenuBar()->ClientToScreen(&ptFile);
        SendClick(ptFile);
        PumpFrame(m_pFrame->m_hWnd);
        pMenuDragged = Bars()->GetDragControl();
        bFileOpen = pFile->GetCommandBar()->IsTrackingMode();
        Bars()->ClosePopups();
    });
    EXPECT_EQ(m_pFrame->GetMenuBar()->GetControls()->GetAt(0), pMenuDragged);
    EXPECT_TRUE(bFileOpen) << "the menu bar's click opened its menu";
    EXPECT_EQ(1, nPresses) << "the click on the client area was swallowed";
    EXPECT_EQ(Button(1), pDragged) << "the press on the toolbar reached it";
    EXPECT_TRUE(bMenuOpen) << "the right click opened the context menu";
    view.DestroyWindow();
}

TEST_F(CustomizeContextMenuTest, WithTheSheetOpenAMenusEntryIsDraggedOntoTheMenuBar)
{
    std::vector<int> titleIds, menuIds;
    BOOL bOpened = FALSE;
    Run([&](CXTPCustomizeSheet& sheet) {
        ShowBesideTheFrame(sheet);
        CXTPMenuBar* pMenuBar = m_pFrame->GetMenuBar();
        CXTPControl* pFile = pMenuBar->GetControls()->GetAt(0);
        CPoint ptFile = pFile->GetRect().CenterPoint();
        pMenuBar->ClientToScreen(&ptFile);
        SendClick(ptFile);
        PumpFrame(m_pFrame->m_hWnd);
        CXTPCommandBar* pMenu = pFile->GetCommandBar();
        bOpened = pMenu->IsTrackingMode();
        if (!bOpened)
            return;

        // "Apri" pressed in the open menu and released on the menu bar after its last title.
        CXTPControl* pOpen = pMenu->GetControls()->FindControl(ID_FT_OPEN);
        ASSERT_NE(nullptr, pOpen);
        CPoint ptFrom = pOpen->GetRect().CenterPoint();
        pMenu->ClientToScreen(&ptFrom);
        CXTPControls* pTitles = pMenuBar->GetControls();
        CRect rcLast = pTitles->GetAt(pTitles->GetCount() - 1)->GetRect();
        CPoint ptTo(rcLast.right - 2, rcLast.CenterPoint().y);
        pMenuBar->ClientToScreen(&ptTo);
        SendMouseButton(ptFrom, MOUSEEVENTF_LEFTDOWN);
        SendMouseMove(CPoint(ptFrom.x + 20, ptFrom.y));
        SendMouseMove(ptTo);
        SendMouseButton(ptTo, MOUSEEVENTF_LEFTUP);
        PumpFrame(m_pFrame->m_hWnd);
        for (int i = 0; i < pTitles->GetCount(); i++)
            titleIds.push_back(pTitles->GetAt(i)->GetID());
        for (int i = 0; i < pMenu->GetControls()->GetCount(); i++)
            menuIds.push_back(pMenu->GetControls()->GetAt(i)->GetID());
        Bars()->ClosePopups();
    });
    ASSERT_TRUE(bOpened) << "the menu opened in customise mode";
    ASSERT_FALSE(titleIds.empty());
    EXPECT_EQ(ID_FT_OPEN, titleIds.back()) << "placed after the last title";
    EXPECT_EQ(menuIds.end(), std::find(menuIds.begin(), menuIds.end(), ID_FT_OPEN)) << "moved out of the menu";
}
