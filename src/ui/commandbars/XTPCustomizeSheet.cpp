#include "ui/commandbars/XTPCustomizeSheet.h"

#include "platform/mfc/afxthread.h"
#include "ui/commandbars/XTPCommandBars.h"
#include "ui/commandbars/XTPControlEdit.h"
#include "ui/commandbars/XTPCustomizeCommandsPage.h"
#include "ui/commandbars/XTPCustomizeDropSource.h"
#include "ui/commandbars/XTPCustomizeToolbarsPage.h"
#include "ui/persist/ImageManager.h"
#include "ui/persist/ResourceLoader.h"
#include "ui/uires.h"

#include <cmath>
#include <cwchar>
#include <cwctype>

IMPLEMENT_DYNAMIC(CXTPCustomizeSheet, CPropertySheet)

namespace
{
// The running sheet and its thread hooks; set only while a sheet's modal loop runs.
struct CUSTOMIZE_HOOKS
{
    HHOOK hMouseHook;
    HHOOK hKeyboardHook;
    CXTPCustomizeSheet* pSheet;
};
CUSTOMIZE_HOOKS* g_pHooks = nullptr;

// The customise commands of the context menu: the sheet carries them out.
BOOL IsCustomizeCommand(UINT nID)
{
    return nID >= XTP_ID_CUSTOMIZE_RESET && nID <= XTP_ID_CUSTOMIZE_BEGINAGROUP;
}

// The command bar that is the window or holds it, or null.
CXTPCommandBar* FindCommandBar(HWND hWnd)
{
    for (; hWnd; hWnd = ::GetParent(hWnd)) {
        CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
        if (pWnd && pWnd->IsKindOf(RUNTIME_CLASS(CXTPCommandBar)))
            return static_cast<CXTPCommandBar*>(pWnd);
        if (!(::GetWindowLongPtrW(hWnd, GWL_STYLE) & WS_CHILD))
            break;
    }
    return nullptr;
}

BOOL IsInside(HWND hWndOuter, HWND hWnd)
{
    return hWndOuter && hWnd && (hWnd == hWndOuter || ::IsChild(hWndOuter, hWnd));
}

CString LoadResourceString(UINT nID)
{
    CString str;
    XTPGetResourceLoader()->LoadString(&str, nID);
    return str;
}
}

CXTPCustomizeSheet::CXTPCustomizeSheet(CXTPCommandBars* pCommandBars)
    : CPropertySheet(LoadResourceString(XTP_IDS_CUSTOMIZE), pCommandBars->GetSite()),
      m_pToolbarsPage(new CXTPCustomizeToolbarsPage(this)), m_pCommandsPage(new CXTPCustomizeCommandsPage(this)),
      m_pSite(pCommandBars->GetSite()), m_pCommandBars(pCommandBars), m_pImageManager(new CXTPImageManager),
      m_commands(pCommandBars)
{
    // The bars must outlive the sheet, whatever happens to their frame meanwhile.
    m_pCommandBars->InternalAddRef();
    const struct
    {
        CPropertyPage* pPage;
        UINT nIDTemplate;
    } pages[] = {{m_pToolbarsPage, XTP_IDD_PAGE_TOOLBARS}, {m_pCommandsPage, XTP_IDD_PAGE_COMMANDS}};
    for (const auto& page : pages) {
        // The pages' templates come through the resource loader, so that a loaded resource file shows its own.
        if (LPCDLGTEMPLATE lpTemplate = XTPGetResourceLoader()->LoadDialogTemplate(page.nIDTemplate)) {
            page.pPage->m_psp.pResource = lpTemplate;
            page.pPage->m_psp.dwFlags |= PSP_DLGINDIRECT;
        }
        AddPage(page.pPage);
    }
    CBitmap bmpIcons;
    if (XTPGetResourceLoader()->LoadBitmap(&bmpIcons, XTP_IDB_CUSTOMIZE_ICONS)) {
        BITMAP bm = {};
        bmpIcons.GetBitmap(&bm);
        CUIntArray arrIds;
        for (int i = 1; i <= bm.bmWidth / 16; i++)
            arrIds.Add(static_cast<UINT>(i));
        m_pImageManager->SetMaskColor(RGB(255, 0, 255));
        m_pImageManager->AddIconsFromBitmap(static_cast<HBITMAP>(bmpIcons.GetSafeHandle()), arrIds.GetData(),
                                            static_cast<int>(arrIds.GetSize()), CSize(16, 16), xtpImageNormal, FALSE);
    }
    m_psh.dwFlags |= PSH_NOAPPLYNOW;
    BuildContextMenu();
}

CXTPCustomizeSheet::~CXTPCustomizeSheet()
{
    if (m_hWnd)
        DestroyWindow();
    delete m_pToolbarsPage;
    delete m_pCommandsPage;
    if (m_pContextMenu)
        m_pContextMenu->InternalRelease();
    m_pImageManager->InternalRelease();
    m_pCommandBars->InternalRelease();
}

CXTPCustomizeSheet* CXTPCustomizeSheet::GetRunning()
{
    return g_pHooks ? g_pHooks->pSheet : nullptr;
}

void CXTPCustomizeSheet::BuildContextMenu()
{
    CMenu menu;
    if (!XTPGetResourceLoader()->LoadMenu(&menu, XTP_IDR_CUSTOMIZE_MENU))
        return;
    CMenu* pPopup = menu.GetSubMenu(0);
    if (!pPopup)
        return;
    // No manager of its own: the menu's buttons execute, they are not dragged as the bars' are.
    m_pContextMenu = CXTPPopupBar::CreatePopupBar(nullptr);
    m_pContextMenu->SetSite(m_pSite);
    m_pContextMenu->SetCommandOwner(this);
    m_pImageManager->InternalAddRef();
    m_pContextMenu->SetImageManager(m_pImageManager);
    CXTPControls* pControls = m_pContextMenu->GetControls();
    BOOL bBeginGroup = FALSE;
    for (int i = 0; i < static_cast<int>(pPopup->GetMenuItemCount()); i++) {
        UINT nID = pPopup->GetMenuItemID(i);
        if (nID == 0 || (pPopup->GetMenuState(static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR)) {
            bBeginGroup = TRUE;
            continue;
        }
        CString strText;
        pPopup->GetMenuString(static_cast<UINT>(i), strText, MF_BYPOSITION);
        CXTPControl* pControl;
        if (nID == XTP_ID_CUSTOMIZE_CHANGEBUTTONIMAGE) {
            auto* pPopup = new CXTPControlPopup;
            CXTPPopupToolBar* pIcons = CXTPPopupToolBar::CreatePopupToolBar(nullptr);
            pIcons->SetBarID(XTP_ID_CUSTOMIZE_CHANGEBUTTONIMAGE);
            pPopup->SetCommandBar(pIcons);
            pIcons->InternalRelease();
            pControl = pControls->AddControl(pPopup, static_cast<int>(nID));
        } else {
            pControl = pControls->Add(nID == XTP_ID_CUSTOMIZE_NAME ? xtpControlEdit : xtpControlButton,
                                      static_cast<int>(nID));
        }
        pControl->SetCaption(strText);
        pControl->SetBeginGroup(bBeginGroup);
        bBeginGroup = FALSE;
    }
}

void CXTPCustomizeSheet::FillIconPopup(CXTPPopupBar* pPopup)
{
    if (pPopup->GetBarID() != XTP_ID_CUSTOMIZE_CHANGEBUTTONIMAGE || pPopup->GetControls()->GetCount() > 0)
        return;
    int nCount = 0;
    while (m_pImageManager->GetIconSet(static_cast<UINT>(nCount + 1)))
        nCount++;
    for (int i = 1; i <= nCount; i++) {
        CXTPControl* pButton = pPopup->GetControls()->Add(xtpControlButton, XTP_ID_CUSTOMIZE_CHANGEBUTTONIMAGE);
        pButton->SetIconId(i);
        pButton->SetFlags(xtpFlagManualUpdate);
    }
    pPopup->SetMRUWidth(23 * static_cast<int>(std::sqrt(static_cast<double>(nCount))) + 6);
}

INT_PTR CXTPCustomizeSheet::DoModal()
{
    if (g_pHooks)
        return IDCANCEL;
    m_pCommandBars->SetCustomizeMode(TRUE);
    m_pCommandBars->GetDropSource()->SetSheet(this);
    CUSTOMIZE_HOOKS hooks = {nullptr, nullptr, this};
    g_pHooks = &hooks;
    // However the loop ends, the hooks go and the bars leave customise mode.
    struct CEndCustomize
    {
        CXTPCustomizeSheet* pSheet;
        ~CEndCustomize()
        {
            if (g_pHooks->hMouseHook)
                ::UnhookWindowsHookEx(g_pHooks->hMouseHook);
            if (g_pHooks->hKeyboardHook)
                ::UnhookWindowsHookEx(g_pHooks->hKeyboardHook);
            CXTPCommandBars* pCommandBars = pSheet->m_pCommandBars;
            pCommandBars->SetCustomizeMode(FALSE);
            pCommandBars->GetDropSource()->SetSheet(nullptr);
            pCommandBars->ClosePopups();
            g_pHooks = nullptr;
        }
    } end = {this};
    if (m_pSite && m_pSite->GetSafeHwnd()) {
        hooks.hMouseHook = ::SetWindowsHookExW(WH_MOUSE, MouseProc, nullptr, ::GetCurrentThreadId());
        hooks.hKeyboardHook = ::SetWindowsHookExW(WH_KEYBOARD, KeyboardProc, nullptr, ::GetCurrentThreadId());
    }
    if (HWND hWndCapture = ::GetCapture())
        ::SendMessageW(hWndCapture, WM_CANCELMODE, 0, 0);
    m_nModalResult = IDCANCEL;
    // Modeless, with the frame enabled: its bars take part in the customisation.
    return DoModalWindow(
        m_pSite, [this](HWND hWndOwner) { return Create(CWnd::FromHandle(hWndOwner)); },
        [this] { return GetActivePage(); }, FALSE);
}

BOOL CXTPCustomizeSheet::OnInitDialog()
{
    BOOL bResult = CPropertySheet::OnInitDialog();
    if (CWnd* pOK = GetDlgItem(IDOK))
        pOK->ShowWindow(SW_HIDE);
    if (CWnd* pCancel = GetDlgItem(IDCANCEL))
        pCancel->SetWindowText(LoadResourceString(XTP_IDS_CUSTOMIZE_CLOSE));
    return bResult;
}

void CXTPCustomizeSheet::ContextMenu(CPoint ptScreen)
{
    if (!m_pContextMenu)
        return;
    UINT nFlags = TPM_RECURSE;
    if (m_pSite && m_pSite->GetSafeHwnd() && (m_pSite->GetExStyle() & WS_EX_LAYOUTRTL))
        nFlags |= TPM_RIGHTALIGN;
    CXTPCommandBars::TrackPopup(m_pContextMenu, nFlags, ptScreen.x, ptScreen.y, m_pSite, nullptr, this);
}

BOOL CXTPCustomizeSheet::SelectPageByMnemonic(UINT nVirtualKey)
{
    wchar_t chKey = static_cast<wchar_t>(::MapVirtualKeyW(nVirtualKey, MAPVK_VK_TO_CHAR));
    CTabCtrl* pTab = GetTabControl();
    if (!chKey || !pTab)
        return FALSE;
    int nCount = pTab->GetItemCount();
    for (int i = 0; i < nCount; i++) {
        wchar_t szText[256] = {};
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = szText;
        item.cchTextMax = _countof(szText);
        if (!pTab->GetItem(i, &item))
            continue;
        const wchar_t* lpszAmp = ::wcsrchr(szText, L'&');
        if (lpszAmp && lpszAmp[1] && ::towupper(lpszAmp[1]) == ::towupper(chKey)) {
            SetActivePage(i);
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CXTPCustomizeSheet::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_SYSKEYDOWN && SelectPageByMnemonic(static_cast<UINT>(pMsg->wParam)))
        return TRUE;
    return CPropertySheet::PreTranslateMessage(pMsg);
}

BOOL CXTPCustomizeSheet::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (IsCustomizeCommand(nID)) {
        if (nCode == static_cast<int>(CN_UPDATE_COMMAND_UI)) {
            m_commands.UpdateState(static_cast<CCmdUI*>(pExtra));
            if (nID == XTP_ID_CUSTOMIZE_NAME)
                ShowDragControlName();
            return TRUE;
        }
        if (nCode == CN_COMMAND) {
            if (!pHandlerInfo) {
                switch (nID) {
                case XTP_ID_CUSTOMIZE_COPYBUTTONIMAGE: CopyIcon(); break;
                case XTP_ID_CUSTOMIZE_PASTEBUTTONIMAGE: PasteIcon(); break;
                case XTP_ID_CUSTOMIZE_EDITBUTTONIMAGE: EditIcon(); break;
                default: m_commands.Execute(nID); break;
                }
            }
            return TRUE;
        }
        return CPropertySheet::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }
    if (nCode == CN_COMMAND && (nID == IDOK || nID == IDCANCEL || nID == IDHELP))
        return CPropertySheet::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    // The frame's commands and their update handlers stay active while the sheet is open.
    return m_pSite && m_pSite->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CXTPCustomizeSheet::ShowDragControlName()
{
    // The box keeps its "Nome:" label and shows the name in its field; what the user is typing stays.
    CXTPControl* pName = m_pContextMenu ? m_pContextMenu->GetControls()->FindControl(XTP_ID_CUSTOMIZE_NAME) : nullptr;
    if (!pName || !pName->IsKindOf(RUNTIME_CLASS(CXTPControlEdit)))
        return;
    auto* pEdit = static_cast<CXTPControlEdit*>(pName);
    CString strName = m_commands.GetDragControlName();
    if (!pEdit->IsFocused() && pEdit->GetEditText() != strName)
        pEdit->SetEditText(strName);
}

BOOL CXTPCustomizeSheet::OnControlNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    auto* pNotify = reinterpret_cast<XTP_CONTROL_NOTIFY*>(lParam);
    UINT nID = static_cast<UINT>(wParam);
    if (!IsCustomizeCommand(nID)) {
        // Other controls' notifications belong to the frame; unhandled, they become its command.
        if (m_pSite && m_pSite->GetSafeHwnd()) {
            *pResult = m_pSite->SendMessage(XTPM_CONTROLNOTIFY, wParam, lParam);
            if (!*pResult)
                m_pSite->SendMessage(WM_COMMAND, wParam);
        }
        *pResult = 1;
        return TRUE;
    }
    if (pNotify->code != XTP_CN_EXECUTE)
        return FALSE;
    if (nID == XTP_ID_CUSTOMIZE_NAME && pNotify->pControl &&
        pNotify->pControl->IsKindOf(RUNTIME_CLASS(CXTPControlEdit))) {
        m_commands.Rename(static_cast<CXTPControlEdit*>(pNotify->pControl)->GetEditText());
        *pResult = 1;
        return TRUE;
    }
    if (nID == XTP_ID_CUSTOMIZE_CHANGEBUTTONIMAGE && pNotify->pControl) {
        ChangeIcon(pNotify->pControl);
        *pResult = 1;
        return TRUE;
    }
    return FALSE;
}

LRESULT CXTPCustomizeSheet::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == XTPM_CONTROLNOTIFY) {
        LRESULT lResult = 0;
        if (OnControlNotify(wParam, lParam, &lResult))
            return lResult;
        return 0;
    }
    if (message == XTPM_POPUPSHOWING) {
        FillIconPopup(reinterpret_cast<CXTPPopupBar*>(lParam));
        return 0;
    }
    return CPropertySheet::WindowProc(message, wParam, lParam);
}

void CXTPCustomizeSheet::RecalcDragControlBar()
{
    CXTPControl* pControl = m_pCommandBars->GetDragControl();
    CXTPCommandBar* pBar = pControl ? pControl->GetParent() : nullptr;
    if (!pBar)
        return;
    pBar->OnRecalcLayout();
    if (pBar->GetSafeHwnd())
        pBar->Invalidate(FALSE);
}

BOOL CXTPCustomizeSheet::IsMouseMessageAllowed(UINT nMessage, HWND hWnd, CPoint ptScreen)
{
    if (nMessage == WM_MOUSEMOVE || nMessage == WM_NCMOUSEMOVE)
        return TRUE;
    CXTPCommandBar* pBar = FindCommandBar(hWnd);
    CMouseManager* pMouse = m_pCommandBars->GetMouseManager();
    if (pMouse->IsTracking()) {
        // The context menu and its icons have no manager; another click closes the tracked popups.
        if (pBar && !pBar->GetCommandBars())
            return TRUE;
        pMouse->OnHookMouseMessage(nMessage, ptScreen);
    }
    HWND hWndSite = m_pSite ? m_pSite->GetSafeHwnd() : nullptr;
    if (!IsInside(hWndSite, hWnd) || IsInside(m_hWnd, hWnd) || IsInside(::GetForegroundWindow(), hWnd))
        return TRUE;
    return pBar && pBar->GetCommandBars() == m_pCommandBars;
}

BOOL CXTPCustomizeSheet::IsKeyboardAllowed() const
{
    HWND hWndFocus = ::GetFocus();
    if (IsInside(m_hWnd, hWndFocus) || IsInside(::GetForegroundWindow(), hWndFocus))
        return TRUE;
    // The name box of the context menu.
    if (hWndFocus && FindCommandBar(::GetParent(hWndFocus)))
        return TRUE;
    return ::GetCapture() != nullptr;
}

LRESULT CALLBACK CXTPCustomizeSheet::MouseProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    HHOOK hHook = g_pHooks ? g_pHooks->hMouseHook : nullptr;
    if (nCode == HC_ACTION && g_pHooks) {
        auto* pInfo = reinterpret_cast<MOUSEHOOKSTRUCT*>(lParam);
        BOOL bAllowed = TRUE;
        try {
            bAllowed = g_pHooks->pSheet->IsMouseMessageAllowed(static_cast<UINT>(wParam), pInfo->hwnd, pInfo->pt);
        } catch (...) {
            bAllowed = TRUE;   // a failure in the filter must not take the mouse away
        }
        if (!bAllowed)
            return 1;
    }
    return ::CallNextHookEx(hHook, nCode, wParam, lParam);
}

LRESULT CALLBACK CXTPCustomizeSheet::KeyboardProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    HHOOK hHook = g_pHooks ? g_pHooks->hKeyboardHook : nullptr;
    if (nCode == HC_ACTION && g_pHooks && !g_pHooks->pSheet->IsKeyboardAllowed())
        return 1;
    return ::CallNextHookEx(hHook, nCode, wParam, lParam);
}
