// The test frame with its menu bar and toolbar in the gradient theme and a menu open: "File" with its hidden command
// behind the expand button and the "Recenti" sub-menu, or with the argument "modifica" the edit menu with a ticked
// and a greyed item and a shortcut text from the accelerators ("barre": no menu open; "mobile": no menu open, the
// toolbar floating beside the frame with an edit field showing its hint; "campi0", "campi1", "campi2": no menu open,
// the toolbar holding an edit field with its hint, a drop-down combo with its list open and a list combo, in theme
// 0, 1 or 2; "personalizza": the customise sheet beside the frame on its Toolbars page with a user's toolbar, the
// toolbar's second button framed as the drag control; "personalizza1": the sheet on its Commands page and the
// context menu of that button open; "suggerimento": no menu open, the mouse resting on the toolbar's first
// button and its tip shown; "pulsanti": a site that offers the customise command, the toolbar's expand popup open
// with its "Aggiungi o rimuovi pulsanti" list of the toolbar's buttons). A root-window screenshot shows popups
// black under Wine, so the program also copies the frame and lets its open popups draw themselves (WM_PRINT) into
// the BMP file named by its second argument.
#include "ui/FrameTestSupport.h"

#include "ui/commandbars/XTPControlComboBox.h"
#include "ui/commandbars/XTPControlEdit.h"
#include "ui/commandbars/XTPCustomizeCommandsPage.h"
#include "ui/commandbars/XTPCustomizeSheet.h"
#include "ui/commandbars/XTPPopupBar.h"
#include "ui/commandbars/XTPToolBar.h"
#include "ui/themes/BarPainter.h"
#include "ui/themes/TipContext.h"
#include "ui/uires.h"

#include "ShowPicture.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <vector>

namespace
{
std::vector<HWND> g_popups;

BOOL CALLBACK CollectPopup(HWND hWnd, LPARAM lParam)
{
    if (::IsWindowVisible(hWnd) && ::GetWindow(hWnd, GW_OWNER) == reinterpret_cast<HWND>(lParam))
        g_popups.push_back(hWnd);
    return TRUE;
}

// The frame, then its open popups from the bottom of the z-order up, each drawn by itself where it is on screen;
// a dialog is copied from its own surface, as the frame is, since it may not draw its children when asked.
BOOL SaveCapture(HWND hWndFrame, const char* pszPath)
{
    g_popups.clear();
    ::EnumThreadWindows(::GetCurrentThreadId(), CollectPopup, reinterpret_cast<LPARAM>(hWndFrame));
    CRect rcAll;
    ::GetWindowRect(hWndFrame, &rcAll);
    for (HWND hWnd : g_popups) {
        CRect rc;
        ::GetWindowRect(hWnd, &rc);
        rcAll.UnionRect(rcAll, rc);
    }
    CShowPicture picture(rcAll);
    if (!picture.IsValid())
        return FALSE;
    HDC hDC = picture.GetDC();
    // The frame as the screen shows it (its own window is captured right; only popups come out black).
    picture.CopyWindow(hWndFrame);
    for (auto it = g_popups.rbegin(); it != g_popups.rend(); ++it) {
        CRect rc;
        ::GetWindowRect(*it, &rc);
        wchar_t szClass[16] = {};
        ::GetClassNameW(*it, szClass, 16);
        if (std::wcscmp(szClass, L"#32770") == 0) {
            picture.CopyWindow(*it);
            continue;
        }
        ::SetViewportOrgEx(hDC, rc.left - rcAll.left, rc.top - rcAll.top, nullptr);
        ::SendMessageW(*it, WM_PRINT, reinterpret_cast<WPARAM>(hDC), PRF_CLIENT | PRF_NONCLIENT | PRF_CHILDREN);
        // Windows placed in a popup (an edit field) are asked one by one: the popup's print leaves them out.
        for (HWND hChild = ::GetWindow(*it, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
            CRect rcChild;
            if (!::IsWindowVisible(hChild) || !::GetWindowRect(hChild, &rcChild))
                continue;
            ::SetViewportOrgEx(hDC, rcChild.left - rcAll.left, rcChild.top - rcAll.top, nullptr);
            ::SendMessageW(hChild, WM_PRINT, reinterpret_cast<WPARAM>(hDC), PRF_CLIENT | PRF_NONCLIENT | PRF_ERASEBKGND);
        }
        ::SetViewportOrgEx(hDC, 0, 0, nullptr);
    }
    return picture.Save(pszPath);
}

// A site that handles the customise command, so that the expand popup lists a toolbar's buttons to add or remove.
class CCustomizableFrame : public CTestFrame
{
public:
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override
    {
        if (nID == XTP_ID_CUSTOMIZE && nCode == CN_COMMAND)
            return TRUE;
        return CTestFrame::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }
};

// The toolbar's expand popup, its Add-or-remove entry and the list of the toolbar's buttons, opened as by keys.
void OpenAddOrRemoveList(CTestFrame* pFrame)
{
    CXTPToolBar* pToolBar = pFrame->GetToolBar();
    CXTPControl* pExpand = pToolBar->GetControls()->FindControl(XTP_ID_TOOLBAR_EXPAND);
    if (!pExpand)
        return;
    pToolBar->SetTrackingMode(1, FALSE, TRUE);
    pToolBar->SetSelected(pExpand->GetIndex(), TRUE);
    pToolBar->SetPopuped(pExpand->GetIndex(), TRUE);
    CXTPCommandBar* pPopup = pExpand->GetCommandBar();
    CXTPControl* pAddRemove = pPopup ? pPopup->GetControls()->FindControl(xtpControlPopup, 0, TRUE, FALSE) : nullptr;
    if (!pAddRemove)
        return;
    pPopup->SetPopuped(pAddRemove->GetIndex(), TRUE);
    CXTPCommandBar* pBars = pAddRemove->GetCommandBar();
    if (pBars && pBars->GetControls()->GetCount() > 0)
        pBars->SetPopuped(0, TRUE);
}

// The frame stays as it is until the root-window screenshot has been taken.
void Linger(HWND hWndFrame)
{
    DWORD dwEnd = ::GetTickCount() + 6000;
    while (::GetTickCount() < dwEnd && ::IsWindow(hWndFrame))
        PumpFrame(hWndFrame, 100);
}

// The customise sheet runs through the modal seam: the pictures are taken while it is up, then it closes.
int ShowCustomizeSheet(CTestFrame* pFrame, BOOL bCommands, const char* pszPath)
{
    CXTPCommandBars* pCommandBars = pFrame->GetCommandBars();
    if (CXTPToolBar* pOwn = pCommandBars->CreateTearOffBar(L"Mia barra", 0xE800, FALSE))
        pOwn->GetControls()->Add(xtpControlButton, ID_FT_CUT)->SetCaption(L"Taglia");
    pFrame->RecalcLayout();
    CXTPCustomizeSheet sheet(pCommandBars);
    CXTPCustomizeCommandsPage* pCommands = sheet.GetCommandsPage();
    pCommands->AddCategory(L"File", IDR_FRAMETEST);
    pCommands->InsertAllCommandsCategory(XTP_IDS_ALLCOMMANDS);
    pCommands->InsertNewMenuCategory(XTP_IDS_NEWMENU);
    BOOL bSaved = pszPath == nullptr;
    AfxSetModalHandler([&](CDialog&) -> INT_PTR {
        CRect rcFrame;
        pFrame->GetWindowRect(&rcFrame);
        sheet.SetWindowPos(nullptr, rcFrame.right + 8, rcFrame.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        sheet.ShowWindow(SW_SHOW);
        if (bCommands)
            sheet.SetActivePage(1);
        CXTPControl* pButton = pFrame->GetToolBar()->GetControls()->GetAt(1);
        pCommandBars->SetDragControl(pButton);
        PumpFrame(pFrame->m_hWnd, 200);
        auto capture = [&] {
            if (pszPath)
                bSaved = SaveCapture(pFrame->m_hWnd, pszPath);
            Linger(pFrame->m_hWnd);
        };
        if (!bCommands) {
            capture();
            return IDCANCEL;
        }
        // The context menu tracks in a loop of its own: the pictures are taken from inside it.
        RunLater([&] {
            PumpFrame(pFrame->m_hWnd, 200);
            capture();
            pCommandBars->ClosePopups();
        }, 300);
        CPoint pt = pButton->GetRect().CenterPoint();
        pFrame->GetToolBar()->ClientToScreen(&pt);
        sheet.ContextMenu(pt);
        return IDCANCEL;
    });
    sheet.DoModal();
    AfxSetModalHandler(nullptr);
    return bSaved ? 0 : 1;
}
}

int main(int argc, char** argv)
{
    BOOL bFields = argc > 1 && std::strncmp(argv[1], "campi", 5) == 0;
    CXTPBarPainter::SetTheme(bFields ? std::atoi(argv[1] + 5) : CXTPBarPainter::themeGradient);
    BOOL bEdit = argc > 1 && std::strcmp(argv[1], "modifica") == 0;
    BOOL bFloating = argc > 1 && std::strcmp(argv[1], "mobile") == 0;
    BOOL bCustomize = argc > 1 && std::strncmp(argv[1], "personalizza", 12) == 0;
    BOOL bTip = argc > 1 && std::strcmp(argv[1], "suggerimento") == 0;
    BOOL bAddRemove = argc > 1 && std::strcmp(argv[1], "pulsanti") == 0;
    BOOL bNoMenu = bFloating || bFields || bTip || bAddRemove || (argc > 1 && std::strcmp(argv[1], "barre") == 0);
    CTestFrame* pFrame = bAddRemove ? new CCustomizableFrame : new CTestFrame;
    if (!pFrame->LoadFrame(IDR_FRAMETEST, WS_OVERLAPPEDWINDOW))
        return 1;
    CXTPCommandBars* pCommandBars = pFrame->GetCommandBars();
    pCommandBars->GetCommandBarsOptions()->nAnimationType = 5;
    pCommandBars->GetCommandBarsOptions()->bAlwaysShowFullMenus = FALSE;
    UINT hidden[] = {ID_FT_PRINT};
    pCommandBars->HideCommands(hidden, 1);
    pFrame->SetWindowPos(nullptr, 0, 0, 520, 360, SWP_SHOWWINDOW | SWP_NOZORDER);
    pFrame->RecalcLayout();
    PumpFrame(pFrame->m_hWnd, 200);
    pFrame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
    if (bCustomize)
        return ShowCustomizeSheet(pFrame, argv[1][12] == '1', argc > 2 ? argv[2] : nullptr);

    if (bFloating) {
        CXTPToolBar* pToolBar = pFrame->GetToolBar();
        auto* pEdit = static_cast<CXTPControlEdit*>(pToolBar->GetControls()->Add(xtpControlEdit, ID_FT_RECENT1));
        pEdit->SetCaption(L"Trova");
        pEdit->SetWidth(150);
        pEdit->SetEditHint(L"Cerca");
        pCommandBars->FloatCommandBar(pToolBar);
        pToolBar->SetWindowPos(nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        pFrame->RecalcLayout();
        PumpFrame(pFrame->m_hWnd, 200);
    }
    if (bFields) {
        CXTPToolBar* pToolBar = pFrame->GetToolBar();
        CXTPControls* pControls = pToolBar->GetControls();
        auto* pEdit = static_cast<CXTPControlEdit*>(pControls->Add(xtpControlEdit, ID_FT_RECENT1));
        pEdit->SetCaption(L"Trova");
        pEdit->SetEditHint(L"Cerca");
        auto* pCity = static_cast<CXTPControlComboBox*>(pControls->Add(xtpControlComboBox, ID_FT_RECENT2));
        pCity->SetDropDown(TRUE);
        pCity->SetWidth(110);
        for (LPCTSTR psz : {L"Roma", L"Milano", L"Napoli", L"Torino"})
            pCity->AddString(psz);
        pCity->SetEditText(L"Roma");
        auto* pYear = static_cast<CXTPControlComboBox*>(pControls->Add(xtpControlComboBox, ID_FT_GRID));
        pYear->SetWidth(70);
        for (LPCTSTR psz : {L"2007", L"2008"})
            pYear->AddString(psz);
        pYear->SetCurSel(1);
        pYear->SetEditText(L"2008");
        pFrame->SetWindowPos(nullptr, 0, 0, 620, 360, SWP_NOMOVE | SWP_NOZORDER);
        pFrame->RecalcLayout();
        PumpFrame(pFrame->m_hWnd, 200);
        pToolBar->SetPopuped(pCity->GetIndex());
    }
    if (bTip) {
        HWND hFrame = pFrame->m_hWnd;
        PumpUntil(hFrame, [hFrame] {
            ::SetForegroundWindow(hFrame);
            return ::GetForegroundWindow() == hFrame;
        }, 2000);
        CXTPControl* pNew = pFrame->GetToolBar()->GetControls()->FindControl(ID_FT_NEW);
        CPoint pt = pNew->GetRect().CenterPoint();
        pFrame->GetToolBar()->ClientToScreen(&pt);
        SendMouseMove(pt);
        if (!PumpUntil(hFrame, [pCommandBars] {
                CWnd* pTip = pCommandBars->GetToolTipContext()->GetTipWindow();
                return pTip && ::IsWindow(pTip->m_hWnd) && pTip->IsWindowVisible();
            }, 3000))
            std::printf("no tip showed\n");
    }
    if (bAddRemove)
        OpenAddOrRemoveList(pFrame);
    CXTPMenuBar* pMenuBar = pFrame->GetMenuBar();
    if (!bNoMenu)
        pMenuBar->SetTrackingMode(1, FALSE, TRUE);
    if (!bNoMenu) {
        pMenuBar->SetSelected(bEdit ? 1 : 0, TRUE);
        pMenuBar->SetPopuped(bEdit ? 1 : 0, TRUE);
    }
    if (!bEdit && !bNoMenu) {
        auto* pFile = static_cast<CXTPPopupBar*>(pMenuBar->GetControls()->GetAt(0)->GetCommandBar());
        CXTPControl* pRecent = pFile->GetControls()->FindControl(xtpControlPopup, -1, TRUE, FALSE);
        if (pRecent)
            pFile->SetPopuped(pRecent->GetIndex(), TRUE);
    }
    PumpFrame(pFrame->m_hWnd, 300);
    if (argc > 2 && !SaveCapture(pFrame->m_hWnd, argv[2]))
        std::printf("the picture could not be saved\n");
    Linger(pFrame->m_hWnd);
    return 0;
}
