// What a user makes of the bars survives closing and opening the frame: a toolbar made with "Nuovo..." in the
// customise sheet, a button whose icon was pasted there, a combo box, a label, the window list and a changed menu
// bar all come back as they were.
#include "FrameTestSupport.h"
#include "IconPixels.h"
#include "support/MessageBoxRecorder.h"
#include "support/ModalDialogDriver.h"

#include "ui/commandbars/XTPControlComboBox.h"
#include "ui/commandbars/XTPControlLists.h"
#include "ui/commandbars/XTPCustomizeSheet.h"
#include "ui/commandbars/XTPCustomizeToolbarsPage.h"
#include "ui/commandbars/XTPNewToolbarDlg.h"
#include "ui/commandbars/XTPToolBar.h"
#include "ui/persist/PropExchangeRegistry.h"
#include "ui/uires.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
const LPCTSTR kCompany = L"QuarzelTestsBarRestart";
const LPCTSTR kProfile = L"CommandBars";
const COLORREF kPasted = RGB(0, 120, 40);

// A 16 × 15 picture of one colour on the clipboard, as a paint program leaves it.
void PutPictureOnClipboard()
{
    HDC hScreen = ::GetDC(nullptr);
    HBITMAP hBitmap = ::CreateCompatibleBitmap(hScreen, 16, 15);
    HDC hDC = ::CreateCompatibleDC(hScreen);
    HGDIOBJ hOld = ::SelectObject(hDC, hBitmap);
    RECT rc = {0, 0, 16, 15};
    HBRUSH hBrush = ::CreateSolidBrush(kPasted);
    ::FillRect(hDC, &rc, hBrush);
    ::DeleteObject(hBrush);
    ::SelectObject(hDC, hOld);
    ::DeleteDC(hDC);
    ::ReleaseDC(nullptr, hScreen);
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    ::SetClipboardData(CF_BITMAP, hBitmap);
    ::CloseClipboard();
}

CXTPControl* FindInMenu(CXTPControls* pControls, int nId)
{
    for (int i = 0; i < pControls->GetCount(); ++i)
        if (pControls->GetAt(i)->GetID() == nId)
            return pControls->GetAt(i);
    return nullptr;
}

class BarUserStateRestartTest : public ::testing::Test
{
protected:
    BarUserStateRestartTest() { m_app.SetRegistryKey(kCompany); }
    ~BarUserStateRestartTest() override { AfxDelRegTreeHelper(HKEY_CURRENT_USER, CString(L"Software\\") + kCompany); }

    CWinApp m_app {L"ProvaRiavvio"};
    std::function<void(CXTPCustomizeSheet&)> m_onSheet;
    CModalDialogDriver m_driver {[this](CDialog& dialog) -> INT_PTR {
        if (auto* pName = dynamic_cast<CXTPNewToolbarDlg*>(&dialog)) {
            pName->SetDlgItemText(XTP_IDC_TOOLBAR_NAME, L"Mia barra");
            pName->SendMessage(WM_COMMAND, IDOK);
            return IDCANCEL;
        }
        if (CXTPCustomizeSheet* pSheet = CXTPCustomizeSheet::GetRunning(); pSheet && m_onSheet)
            m_onSheet(*pSheet);
        return IDCANCEL;
    }};
};
}

TEST_F(BarUserStateRestartTest, WhatTheUserMadeComesBackAfterARestart)
{
    int nCustomIcon = 0;
    CTestFrame* pFrame = CreateTestFrame();
    ASSERT_NE(nullptr, pFrame);
    CXTPCommandBars* pBars = pFrame->GetCommandBars();
    m_onSheet = [&](CXTPCustomizeSheet& sheet) {
        CXTPCustomizeToolbarsPage* pPage = sheet.GetToolbarsPage();
        pPage->SendMessage(WM_COMMAND, MAKEWPARAM(XTP_IDC_BUTTON_NEW, BN_CLICKED),
                           reinterpret_cast<LPARAM>(pPage->GetDlgItem(XTP_IDC_BUTTON_NEW)->GetSafeHwnd()));
        CXTPControl* pButton = pFrame->GetToolBar()->GetControls()->GetAt(0);
        pBars->SetDragControl(pButton);
        PutPictureOnClipboard();
        sheet.PasteIcon();
        nCustomIcon = pButton->GetCustomIconId();
    };
    CXTPCustomizeSheet sheet(pBars);
    sheet.DoModal();
    ASSERT_GT(nCustomIcon, 0);
    ASSERT_EQ(3, pBars->GetCount());
    CXTPToolBar* pMine = pBars->GetAt(2);
    const UINT nMineId = pMine->GetBarID();
    pMine->GetControls()->Add(xtpControlButton, ID_FT_PRINT);
    pMine->GetControls()->Add(xtpControlButton, ID_FT_CUT);

    CXTPControls* pControls = pFrame->GetToolBar()->GetControls();
    auto* pCombo = static_cast<CXTPControlComboBox*>(pControls->Add(xtpControlComboBox, ID_FT_LONG));
    pCombo->AddString(L"Entrate");
    pCombo->AddString(L"Uscite");
    pCombo->SetWidth(140);
    pControls->Add(xtpControlLabel, ID_FT_LONG + 1)->SetCaption(L"Esercizio 2008");
    auto* pWindows = static_cast<CXTPControlPopup*>(pControls->Add(xtpControlPopup, ID_FT_LONG + 2));
    pWindows->SetID(ID_FT_LONG + 2);
    pWindows->SetCaption(L"Finestre");
    pWindows->GetCommandBar()->GetControls()->Add(xtpControlButton, 35000);   // the window list

    CXTPControls* pMenu = pFrame->GetMenuBar()->GetControls();
    const int nMenuCount = OwnCount(pMenu);
    pMenu->GetAt(1)->SetCustomCaption(L"&Cambia");
    CXTPControls* pFileMenu = pMenu->GetAt(0)->GetCommandBar()->GetControls();
    pFileMenu->Remove(FindInMenu(pFileMenu, ID_FT_PRINT));
    const int nFileCount = OwnCount(pFileMenu);
    pFrame->RecalcLayout();
    pBars->SaveBarState(kProfile);
    pFrame->DestroyWindow();
    PumpFrame(nullptr);

    pFrame = CreateTestFrame();
    ASSERT_NE(nullptr, pFrame);
    pBars = pFrame->GetCommandBars();
    pBars->LoadBarState(kProfile);
    pFrame->RecalcLayout();
    PumpFrame(pFrame->m_hWnd);

    ASSERT_EQ(3, pBars->GetCount());
    pMine = pBars->FindBarById(nMineId);
    ASSERT_NE(nullptr, pMine);
    EXPECT_EQ(CString(L"Mia barra"), pMine->GetTitle());
    EXPECT_FALSE(pMine->IsBuiltIn());
    EXPECT_TRUE(pMine->IsVisible());
    EXPECT_EQ(xtpBarTop, pMine->GetPosition());
    ASSERT_EQ(2, OwnCount(pMine->GetControls()));
    EXPECT_EQ(ID_FT_CUT, pMine->GetControls()->GetAt(1)->GetID());

    pControls = pFrame->GetToolBar()->GetControls();
    CXTPControl* pButton = pControls->GetAt(0);
    EXPECT_EQ(nCustomIcon, pButton->GetCustomIconId());
    auto* pIcon = dynamic_cast<CXTPImageManagerIcon*>(pButton->GetImage(16));
    ASSERT_NE(nullptr, pIcon);
    EXPECT_EQ(kPasted, PixelColor(ImagePixel(pIcon->GetIcon(), 5, 5)));

    pCombo = dynamic_cast<CXTPControlComboBox*>(pControls->FindControl(ID_FT_LONG));
    ASSERT_NE(nullptr, pCombo);
    ASSERT_EQ(2, pCombo->GetCount());
    pCombo->SetCurSel(1);
    EXPECT_EQ(L"Uscite", std::wstring(pCombo->GetListBoxText()));
    EXPECT_EQ(140, pCombo->GetWidth());
    CXTPControl* pLabel = pControls->FindControl(ID_FT_LONG + 1);
    ASSERT_NE(nullptr, pLabel);
    EXPECT_TRUE(pLabel->IsKindOf(RUNTIME_CLASS(CXTPControlLabel)));
    EXPECT_EQ(CString(L"Esercizio 2008"), pLabel->GetCaption());
    CXTPControl* pWindowsPopup = pControls->FindControl(ID_FT_LONG + 2);
    ASSERT_NE(nullptr, pWindowsPopup);
    ASSERT_NE(nullptr, pWindowsPopup->GetCommandBar());
    EXPECT_TRUE(pWindowsPopup->GetCommandBar()->GetControls()->GetAt(0)->IsKindOf(RUNTIME_CLASS(CXTPControlWindowList)));

    pMenu = pFrame->GetMenuBar()->GetControls();
    EXPECT_EQ(pFrame->GetMenuBar(), pBars->GetAt(0));
    EXPECT_EQ(nMenuCount, OwnCount(pMenu));
    EXPECT_EQ(CString(L"&Cambia"), pMenu->GetAt(1)->GetCaption());
    pFileMenu = pMenu->GetAt(0)->GetCommandBar()->GetControls();
    EXPECT_EQ(nFileCount, OwnCount(pFileMenu));
    EXPECT_EQ(nullptr, FindInMenu(pFileMenu, ID_FT_PRINT));
    pFrame->DestroyWindow();
    PumpFrame(nullptr);
}
