#include "ui/commandbars/XTPMenuBar.h"

#include "ui/persist/PropExchange.h"

#include "platform/mfc/afxmdi.h"
#include "ui/commandbars/XTPCommandBars.h"
#include "ui/persist/ImageManager.h"
#include "ui/persist/ResourceLoader.h"
#include "ui/uires.h"
#include "ui/themes/BarPainter.h"
#include "ui/themes/DrawHelpers.h"

#include <algorithm>

IMPLEMENT_SERIAL(CXTPMenuBar, CXTPToolBar, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)
IMPLEMENT_SERIAL(CXTPMenuBarMDIButton, CXTPControlButton, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)
IMPLEMENT_DYNCREATE(CXTPMenuBarSysMenuControl, CXTPControlPopup)
IMPLEMENT_DYNCREATE(CXTPMenuBarSysMenuPopup, CXTPPopupBar)

XTP_MDI_BUTTONS GetWantedMdiButtons(BOOL bMaximized, DWORD dwChildStyle, DWORD dwBarFlags, BOOL bHasSysMenu)
{
    XTP_MDI_BUTTONS buttons;
    buttons.bSysMenu = bMaximized && (dwBarFlags & xtpFlagAddMDISysPopup) && bHasSysMenu;
    buttons.bMinimize = bMaximized && (dwChildStyle & WS_MINIMIZEBOX) && !(dwBarFlags & xtpFlagHideMinimizeBox);
    buttons.bRestore = bMaximized && (dwChildStyle & WS_MAXIMIZEBOX) && !(dwBarFlags & xtpFlagHideMaximizeBox);
    buttons.bClose = bMaximized && !(dwBarFlags & xtpFlagHideClose);
    return buttons;
}

BEGIN_MESSAGE_MAP(CXTPMenuBar, CXTPToolBar)
    ON_WM_TIMER()
END_MESSAGE_MAP()

CXTPMenuBar::CXTPMenuBar()
{
    m_nType = xtpBarTypeMenuBar;
    m_bShowExpandButton = FALSE;
}

CXTPMenuBar::~CXTPMenuBar()
{
    for (auto& entry : m_mapDocMenus)
        entry.second->InternalRelease();
    if (m_hMenu && ::IsMenu(m_hMenu))
        ::DestroyMenu(m_hMenu);
}

BOOL CXTPMenuBar::LoadMenuBar(UINT nIDResource)
{
    if (nIDResource) {
        CMenu menu;
        if (!menu.LoadMenu(nIDResource & 0xFFFF) || !LoadMenu(&menu, TRUE))
            return FALSE;
    }
    m_nIDResource = m_nIDResourceCurrent = nIDResource;
    SetupHook();
    if (CXTPCommandBars* pCommandBars = GetCommandBars()) {
        static const UINT windowCommands[] = {SC_RESTORE, SC_MINIMIZE, SC_MAXIMIZE, SC_CLOSE};
        pCommandBars->GetImageManager()->AddIcons(XTP_IDB_MENUBAR_ICONS, windowCommands, 4, CSize(16, 16));
    }
    CWnd* pSite = GetSite();
    if (pSite && pSite->GetSafeHwnd()) {
        m_hMenu = ::GetMenu(pSite->GetSafeHwnd());
        ::SetMenu(pSite->GetSafeHwnd(), nullptr);
    }
    return TRUE;
}

void CXTPMenuBar::SetupHook()
{
    CWnd* pSite = GetSite();
    if (!pSite || !pSite->GetSafeHwnd())
        return;
    auto* pMDIFrame = dynamic_cast<CMDIFrameWnd*>(pSite);
    m_bMdiApp = pMDIFrame != nullptr;
    CWindowHookManager::GetInstance()->SetHook(pSite->GetSafeHwnd(), this);
    if (pMDIFrame && pMDIFrame->m_hWndMDIClient)
        CWindowHookManager::GetInstance()->SetHook(pMDIFrame->m_hWndMDIClient, this);
}

HWND CXTPMenuBar::GetActiveMdiChild(BOOL* pbMaximized) const
{
    if (pbMaximized)
        *pbMaximized = FALSE;
    auto* pMDIFrame = m_bMdiApp ? dynamic_cast<CMDIFrameWnd*>(m_pSite) : nullptr;
    return pMDIFrame ? pMDIFrame->MDIGetActive(pbMaximized) : nullptr;
}

void CXTPMenuBar::SyncActiveMdiChild()
{
    HWND hWndChild = GetActiveMdiChild();
    if (hWndChild == m_hWndActiveChild)
        return;
    if (m_hWndActiveChild)
        CWindowHookManager::GetInstance()->RemoveHook(m_hWndActiveChild, this);
    m_hWndActiveChild = hWndChild;
    if (hWndChild)
        CWindowHookManager::GetInstance()->SetHook(hWndChild, this);
}

void CXTPMenuBar::RefreshMenu()
{
    SyncActiveMdiChild();
    if (IsVisible())
        RefreshMdiButtons();
}

void CXTPMenuBar::RefreshMdiButtons()
{
    BOOL bMaximized = FALSE;
    HWND hWndChild = GetActiveMdiChild(&bMaximized);
    DWORD dwStyle = hWndChild ? static_cast<DWORD>(::GetWindowLongPtrW(hWndChild, GWL_STYLE)) : 0;
    HMENU hSysMenu = hWndChild ? ::GetSystemMenu(hWndChild, FALSE) : nullptr;
    XTP_MDI_BUTTONS wanted = GetWantedMdiButtons(bMaximized, dwStyle, m_dwFlags, ::IsMenu(hSysMenu));
    RefreshSysMenuControl(wanted.bSysMenu, hWndChild, hSysMenu);
    struct BUTTON
    {
        int nId;
        BOOL bWanted;
        LPCTSTR lpszGlyph;
    } buttons[] = {{XTP_ID_MENUBAR_MINIMIZE, wanted.bMinimize, L"0"},
                   {XTP_ID_MENUBAR_RESTORE, wanted.bRestore, L"2"},
                   {XTP_ID_MENUBAR_CLOSE, wanted.bClose, L"r"}};
    BOOL bChanged = FALSE;
    for (const BUTTON& button : buttons) {
        CXTPControl* pControl = m_pControls->FindControl(button.nId);
        if (button.bWanted && !pControl) {
            pControl = m_pControls->AddControl(new CXTPMenuBarMDIButton, button.nId, L"", -1, TRUE);
            pControl->SetFlags(pControl->GetFlags() | 0x1B);
            pControl->SetCaption(CString(button.lpszGlyph));
            bChanged = TRUE;
        } else if (!button.bWanted && pControl) {
            m_pControls->Remove(pControl);
            bChanged = TRUE;
        }
    }
    if (bChanged)
        OnRecalcLayout();
}

void CXTPMenuBar::RefreshSysMenuControl(BOOL bWanted, HWND hWndChild, HMENU hSysMenu)
{
    auto* pControl = static_cast<CXTPMenuBarSysMenuControl*>(m_pControls->FindControl(XTP_ID_MENUBAR_SYSMENU));
    if (!bWanted) {
        if (pControl) {
            m_pControls->Remove(pControl);
            OnRecalcLayout();
        }
        return;
    }
    if (pControl && pControl->GetMDISysMenu() == hSysMenu)
        return;
    if (!pControl) {
        pControl = new CXTPMenuBarSysMenuControl;
        m_pControls->AddControl(pControl, XTP_ID_MENUBAR_SYSMENU, L"", 0, TRUE);
        pControl->SetFlags(pControl->GetFlags() | 0x18);
        pControl->SetCaption(CString(L"-"));
        auto* pPopup = new CXTPMenuBarSysMenuPopup;
        pPopup->SetCommandBars(GetCommandBars());
        pPopup->SetCustomizable(FALSE);
        pControl->SetCommandBar(pPopup);
        pPopup->InternalRelease();
    }
    pControl->SetMDISysMenu(hWndChild, hSysMenu);
    OnRecalcLayout();
}

int CXTPMenuBar::OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult)
{
    if (!hWnd)
        return CXTPToolBar::OnHookMessage(hWnd, nMessage, wParam, lParam, lResult);
    CXTPCommandBars* pCommandBars = GetCommandBars();
    switch (nMessage) {
    case WM_SYSCOMMAND:
        // The Alt key of an Alt-drag let go: no menu, not even the system's.
        if ((wParam & 0xFFF0) == SC_KEYMENU && lParam == 0 && pCommandBars && !pCommandBars->AcceptKeyMenu()) {
            lResult = 0;
            return xtpHookHandled;
        }
        // Alt or F10 without a letter: the menu bar takes the keyboard.
        if ((wParam & 0xFFF0) == SC_KEYMENU && lParam == 0 && IsVisible() &&
            CMouseManager::GetThreadManager()->m_nCaptureLoops <= 0 && ::GetKeyState(VK_SHIFT) >= 0 &&
            !(pCommandBars && pCommandBars->IsCustomizeMode())) {
            if (pCommandBars)
                pCommandBars->ShowKeyboardCues(TRUE);
            // After Alt+letter the bar already tracks: the release of Alt leaves it so.
            if (!IsTrackingMode())
                SetTrackingMode(1, TRUE, TRUE);
            lResult = 0;
            return xtpHookHandled;
        }
        break;
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
        if (hWnd == m_hWndActiveChild)
            PostMessage(WM_TIMER, XTP_TID_MDIREFRESH);
        break;
    case WM_MDICREATE:
    case WM_MDIDESTROY:
    case WM_MDIACTIVATE:
        PostMessage(WM_TIMER, XTP_TID_MDIREFRESH);
        break;
    case WM_MDISETMENU: {
        // The message comes to the MDI client; the menu it would change is the frame's.
        HWND hWndFrame = m_pSite ? m_pSite->GetSafeHwnd() : nullptr;
        if (IsVisible() && !(m_dwFlags & xtpFlagIgnoreSetMenuMessage)) {
            HMENU hMenu = wParam ? reinterpret_cast<HMENU>(wParam) : m_hMenu;
            SwitchMDIMenu(hMenu);
            if (hWndFrame)
                ::SetMenu(hWndFrame, nullptr);
            RefreshMenu();
            wParam = 0;
            return xtpHookHandled;
        }
        if (!IsVisible() && hWndFrame && !::GetMenu(hWndFrame)) {
            wParam = 0;
            return xtpHookHandled;
        }
        break;
    }
    }
    return xtpHookContinue;
}

void CXTPMenuBar::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == XTP_TID_MDIREFRESH)
        RefreshMenu();
    CXTPToolBar::OnTimer(nIDEvent);
}

void CXTPMenuBar::SwitchMDIMenu(HMENU hMenu)
{
    CXTPCommandBars* pCommandBars = GetCommandBars();
    UINT nTarget = hMenu == m_hMenu ? m_nIDResource : pCommandBars ? pCommandBars->GetActiveDocTemplate() : 0;
    if (!nTarget || !m_nIDResourceCurrent || nTarget == m_nIDResourceCurrent || !::IsMenu(hMenu) ||
        ::GetMenuItemCount(hMenu) <= 0)
        return;
    CMenu* pMenu = CMenu::FromHandle(hMenu);
    if (!pCommandBars || !pCommandBars->IsCustomizeAvail()) {
        LoadMenu(pMenu, TRUE);
    } else {
        // Each document's menu keeps its own controls.
        auto itOld = m_mapDocMenus.find(m_nIDResourceCurrent);
        if (itOld != m_mapDocMenus.end())
            itOld->second->InternalRelease();
        m_pControls->InternalAddRef();
        m_mapDocMenus[m_nIDResourceCurrent] = m_pControls;
        CXTPControls* pStored = nullptr;
        auto it = m_mapDocMenus.find(nTarget);
        if (it != m_mapDocMenus.end()) {
            pStored = it->second;
            m_mapDocMenus.erase(it);
        }
        // The menu's own controls: the target's original, or its first layout when it has none stored.
        auto* pOwn = new CXTPControls;
        SetControls(pOwn);
        pOwn->InternalRelease();
        LoadMenu(pMenu, TRUE);
        if (!pStored) {
            m_pControls->CreateOriginalControls();
        } else {
            if (!pStored->GetOriginalControls())
                pStored->SetOriginalControls(m_pControls->Duplicate(TRUE));
            SetControls(pStored);
            // The reference the map held.
            pStored->InternalRelease();
        }
    }
    m_nIDResourceCurrent = nTarget;
    OnRecalcLayout();
}

void CXTPMenuBar::RestoreMDIMenus()
{
    m_bRestored = FALSE;
    if (!m_mapDocMenus.empty()) {
        SwitchToOwnMenu();
        m_bRestored = TRUE;
    }
    for (auto it = m_mapDocMenus.begin(); it != m_mapDocMenus.end();) {
        if (it->second->IsChanged()) {
            ++it;
            continue;
        }
        it->second->InternalRelease();
        it = m_mapDocMenus.erase(it);
    }
}

BOOL CXTPMenuBar::SwitchToOwnMenu()
{
    if (!m_hMenu || m_nIDResourceCurrent == m_nIDResource)
        return FALSE;
    SwitchMDIMenu(m_hMenu);
    return m_nIDResourceCurrent == m_nIDResource;
}

void CXTPMenuBar::DoPropExchange(CXTPPropExchange* pPX)
{
    if (pPX->IsStoring())
        SwitchToOwnMenu();
    CXTPToolBar::DoPropExchange(pPX);
    long nResourceId = static_cast<long>(m_nIDResource);
    ExchangeLong(pPX, L"ResourceId", nResourceId, 0);
    if (pPX->IsStoring())
    {
        pPX->WriteCount(static_cast<DWORD>(m_mapDocMenus.size()));
        int i = 0;
        for (auto& entry : m_mapDocMenus)
        {
            CString strName;
            strName.Format(L"%s%i", L"MDIMenu", i++);
            CXTPPropExchangeSection section(pPX, strName);
            long nId = static_cast<long>(entry.first);
            ExchangeLong(&section, L"Id", nId, 0);
            entry.second->DoPropExchange(section.Get());
        }
        return;
    }
    m_nIDResource = m_nIDResourceCurrent = static_cast<UINT>(nResourceId);
    if (pPX->m_nSchema <= 4)
        return;
    DWORD nCount = pPX->ReadCount();
    for (DWORD i = 0; i < nCount; ++i)
    {
        CString strName;
        strName.Format(L"%s%i", L"MDIMenu", static_cast<int>(i));
        // A count beyond the stored menus is damage, not menus of nothing.
        if (!pPX->IsSectionExists(strName))
            AfxThrowArchiveException(CArchiveException::endOfFile);
        CXTPPropExchangeSection section(pPX, strName);
        long nId = 0;
        ExchangeLong(&section, L"Id", nId, 0);
        auto* pControls = new CXTPControls;
        try
        {
            pControls->DoPropExchange(section.Get());
        }
        catch (...)
        {
            pControls->InternalRelease();
            throw;
        }
        auto it = m_mapDocMenus.find(static_cast<UINT>(nId));
        if (it != m_mapDocMenus.end())
            it->second->InternalRelease();
        m_mapDocMenus[static_cast<UINT>(nId)] = pControls;
    }
}

void CXTPMenuBar::Copy(CXTPCommandBar* pOther, BOOL bRecursive)
{
    CXTPToolBar::Copy(pOther, bRecursive);
    if (!pOther->IsKindOf(RUNTIME_CLASS(CXTPMenuBar)))
        return;
    auto* pMenuBar = static_cast<CXTPMenuBar*>(pOther);
    m_nIDResource = pMenuBar->m_nIDResource;
    for (auto& entry : m_mapDocMenus)
        entry.second->InternalRelease();
    m_mapDocMenus.clear();
    for (auto& entry : pMenuBar->m_mapDocMenus)
        m_mapDocMenus[entry.first] = entry.second->Duplicate(TRUE);
}

void CXTPMenuBar::Reset()
{
    if ((!m_mapDocMenus.empty() || !m_pControls->GetOriginalControls()) && m_nIDResourceCurrent) {
        if (!ConfirmReset())
            return;
        CMenu menu;
        if (menu.LoadMenu(m_nIDResourceCurrent))
            LoadMenu(&menu, TRUE);
    } else {
        CXTPToolBar::Reset();
    }
    RefreshMenu();
    OnUpdateCmdUI(TRUE);
    OnRecalcLayout();
}

int CXTPMenuBar::GetMenuString(HMENU hMenu, UINT nIDItem, CString& rString, UINT nFlags)
{
    int nLength = ::GetMenuStringW(hMenu, nIDItem, nullptr, 0, nFlags);
    if (nLength < 1) {
        rString.Empty();
        return nLength;
    }
    int nBuffer = 2 * nLength + 2;
    nLength = ::GetMenuStringW(hMenu, nIDItem, rString.GetBuffer(nBuffer), nBuffer, nFlags);
    rString.ReleaseBuffer();
    return nLength;
}

void CXTPMenuBarMDIButton::OnExecute()
{
    CXTPMenuBar* pMenuBar = m_pParent && m_pParent->IsKindOf(RUNTIME_CLASS(CXTPMenuBar))
                                ? static_cast<CXTPMenuBar*>(m_pParent)
                                : nullptr;
    HWND hWndChild = pMenuBar ? pMenuBar->GetActiveMdiChild() : nullptr;
    if (!hWndChild)
        return;
    WPARAM nCommand = m_nId == XTP_ID_MENUBAR_CLOSE     ? SC_CLOSE
                      : m_nId == XTP_ID_MENUBAR_RESTORE ? SC_RESTORE
                                                        : SC_MINIMIZE;
    ::PostMessageW(hWndChild, WM_SYSCOMMAND, nCommand, 0);
}

void CXTPMenuBarMDIButton::Draw(CDC* pDC)
{
    CXTPBarPainter* pPainter = GetPaintManager();
    pPainter->DrawControlFace(pDC, this);
    CFont font;
    font.CreatePointFont(::MulDiv(80, 96, std::max(1, pDC->GetDeviceCaps(LOGPIXELSX))), L"Marlett");
    CFontSelector selector(pDC, &font);
    pPainter->SetControlTextColor(pDC, this);
    pDC->SetBkMode(TRANSPARENT);
    CRect rc = m_rcControl;
    pDC->DrawText(m_strCaption, rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

HICON GetMDIChildIcon(HWND hWndChild)
{
    auto hIcon = reinterpret_cast<HICON>(::SendMessageW(hWndChild, 0x483, 0, 0));
    if (!hIcon)
        hIcon = reinterpret_cast<HICON>(::SendMessageW(hWndChild, WM_GETICON, ICON_SMALL, 0));
    if (!hIcon)
        hIcon = reinterpret_cast<HICON>(::SendMessageW(hWndChild, WM_GETICON, ICON_BIG, 0));
    if (!hIcon)
        hIcon = reinterpret_cast<HICON>(::GetClassLongPtrW(hWndChild, GCLP_HICONSM));
    if (!hIcon)
        hIcon = ::LoadIconW(nullptr, IDI_WINLOGO);
    return hIcon;
}

CXTPMenuBarSysMenuControl::~CXTPMenuBarSysMenuControl()
{
    if (m_hIcon)
        ::DestroyIcon(m_hIcon);
}

void CXTPMenuBarSysMenuControl::SetMDISysMenu(HWND hWndChild, HMENU hMenu)
{
    m_hMenu = hMenu;
    // A copy 16 pixels wide, the height in proportion.
    HICON hIcon = GetMDIChildIcon(hWndChild);
    ICONINFO info = {};
    CSize szIcon(16, 16);
    if (hIcon && ::GetIconInfo(hIcon, &info)) {
        BITMAP bm = {};
        if (::GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bm), &bm) && bm.bmWidth > 0) {
            int cy = info.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
            szIcon.cy = std::max(1, ::MulDiv(cy, 16, bm.bmWidth));
        }
        if (info.hbmColor)
            ::DeleteObject(info.hbmColor);
        if (info.hbmMask)
            ::DeleteObject(info.hbmMask);
    }
    if (m_hIcon)
        ::DestroyIcon(m_hIcon);
    m_hIcon = hIcon ? static_cast<HICON>(::CopyImage(hIcon, IMAGE_ICON, szIcon.cx, szIcon.cy, 0)) : nullptr;

    CXTPCommandBar* pPopup = GetCommandBar();
    if (!pPopup)
        return;
    CXTPControls* pControls = pPopup->GetControls();
    pControls->RemoveAll();
    CMenu* pMenu = CMenu::FromHandle(hMenu);
    int nDefault = static_cast<int>(::GetMenuDefaultItem(hMenu, TRUE, GMDI_USEDISABLED));
    BOOL bBeginGroup = FALSE;
    int nCount = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < nCount; i++) {
        UINT nId = ::GetMenuItemID(hMenu, i);
        if (nId == 0) {
            bBeginGroup = TRUE;
            continue;
        }
        CXTPControl* pControl = nullptr;
        if (nId < 0xF000 || nId > 0xF1EF) {
            pControl = pControls->AddMenuItem(pMenu, i);
        } else {
            pControl = pControls->Add(xtpControlButton, static_cast<int>(nId));
            pControl->SetFlags(pControl->GetFlags() | xtpFlagManualUpdate);
            CString strText;
            CXTPMenuBar::GetMenuString(hMenu, static_cast<UINT>(i), strText, MF_BYPOSITION);
            pControl->SetCaption(strText);
            CString strPrompt;
            XTPGetResourceLoader()->LoadString(&strPrompt, (nId - 0xF000) / 16 + 0xEF00);
            pControl->SetPrompt(strPrompt);
            pControl->SetDefaultItem(i == nDefault);
            pControl->SetEnabled(!(::GetMenuState(hMenu, static_cast<UINT>(i), MF_BYPOSITION) & MF_DISABLED));
        }
        if (pControl && bBeginGroup)
            pControl->SetBeginGroup(TRUE);
        bBeginGroup = FALSE;
    }
}

void CXTPMenuBarSysMenuControl::Draw(CDC* pDC)
{
    if (m_hIcon)
        ::DrawStateW(pDC->GetSafeHdc(), nullptr, nullptr, reinterpret_cast<LPARAM>(m_hIcon), 0, m_rcControl.left,
                     m_rcControl.top, 16, 16, DST_ICON);
}
