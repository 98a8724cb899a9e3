#include "ui/commandbars/XTPCommandBars.h"

#include "platform/mfc/afxapp.h"
#include "platform/mfc/afxdoc.h"
#include "platform/mfc/afxdoctempl.h"
#include "platform/mfc/afxframe.h"
#include "platform/mfc/afxmdi.h"
#include "platform/mfc/afxminiframe.h"
#include "platform/mfc/afxthread.h"
#include "ui/commandbars/MenuSoundPlayer.h"
#include "ui/commandbars/XTPControlLists.h"
#include "ui/commandbars/XTPCustomizeDropSource.h"
#include "ui/commandbars/XTPCustomizeSheet.h"
#include "ui/commandbars/XTPDockBar.h"
#include "ui/commandbars/XTPMenuBar.h"
#include "ui/commandbars/XTPReBar.h"
#include "ui/commandbars/XTPShortcutManager.h"
#include "ui/persist/ImageManager.h"
#include "ui/persist/PropExchangeRegistry.h"
#include "ui/themes/BarPainter.h"
#include "ui/themes/ColorTable.h"
#include "ui/themes/TipContext.h"
#include "ui/themes/UiGlobalData.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CXTPCommandBars, CCmdTarget)

CRuntimeClass* CXTPCommandBars::m_pToolBarClass = RUNTIME_CLASS(CXTPToolBar);
CRuntimeClass* CXTPCommandBars::m_pMenuBarClass = RUNTIME_CLASS(CXTPMenuBar);

CXTPCommandBars::CXTPCommandBars()
    : m_pDropSource(new CXTPCustomizeDropSource(this)), m_pOptions(new CXTPCommandBarsOptions),
      m_pToolTipContext(new CTipContext),
      m_pShortcutManager(new CXTPShortcutManager)
{
    m_pOptions->m_pCommandBars = this;
    // The bars share one tooltip context of their own look; a tip shows once the mouse rests for the system's
    // hover time.
    m_pToolTipContext->ModifyStyle(0, 2);
    UINT nHoverTime = 0;
    if (::SystemParametersInfoW(SPI_GETMOUSEHOVERTIME, 0, &nHoverTime, 0))
        m_pToolTipContext->SetDelayTime(TTDT_INITIAL, static_cast<int>(nHoverTime));
}

CXTPCommandBars::~CXTPCommandBars()
{
    ClosePopups();
    if (m_pDragControl)
        m_pDragControl->InternalRelease();
    std::vector<CXTPToolBar*> arrBars;
    arrBars.swap(m_arrBars);
    m_pMenuBar = nullptr;
    for (CXTPToolBar* pBar : arrBars) {
        pBar->SetCommandBars(nullptr);
        pBar->InternalRelease();
    }
    for (CXTPDockBar*& pDockBar : m_pDocks) {
        delete pDockBar;
        pDockBar = nullptr;
    }
    if (m_pPaintManager)
        m_pPaintManager->InternalRelease();
    if (m_pImageManager)
        m_pImageManager->InternalRelease();
    if (m_pCommandCollection)
        m_pCommandCollection->InternalRelease();
    m_pToolTipContext->InternalRelease();
    m_pShortcutManager->InternalRelease();
    m_pOptions->InternalRelease();
    delete m_pDropSource;
    CMenuSoundPlayer::Stop();
}

BOOL CXTPCommandBars::IsCommandHidden(UINT nId)
{
    return m_pOptions->IsCommandHidden(nId);
}

BOOL CXTPCommandBars::IsControlHidden(CXTPControl* pControl)
{
    if (IsCommandHidden(static_cast<UINT>(pControl->GetID())))
        return TRUE;
    int nType = pControl->GetType();
    if (!m_pOptions->bAutoHideUnusedPopups || nType < xtpControlPopup || nType > xtpControlSplitButtonPopup)
        return FALSE;
    CXTPCommandBar* pPopupBar = pControl->GetCommandBar();
    CXTPControls* pControls = pPopupBar ? pPopupBar->GetControls() : nullptr;
    if (!pControls || pControls->GetCount() == 0)
        return FALSE;
    for (int i = 0; i < pControls->GetCount(); i++)
        if (!IsControlHidden(pControls->GetAt(i)))
            return FALSE;
    return TRUE;
}

UINT CXTPCommandBars::GetActiveDocTemplate()
{
    // Frames without MDI children show the menu of SetMenu.
    auto* pMDIFrame = dynamic_cast<CMDIFrameWnd*>(m_pSite);
    HWND hWndChild = pMDIFrame ? pMDIFrame->MDIGetActive() : nullptr;
    auto* pChild = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(hWndChild));
    if (!pChild)
        return m_nDefaultMenuID;
    CDocument* pDocument = pChild->GetActiveDocument();
    CDocTemplate* pTemplate = pDocument ? pDocument->GetDocTemplate() : nullptr;
    return pTemplate ? pTemplate->GetResourceID() : pChild->GetResourceID();
}

CXTPPopupBar* CXTPCommandBars::CreateToolbarsPopup()
{
    CXTPPopupBar* pPopup = CXTPPopupBar::CreatePopupBar(this);
    pPopup->SetSite(m_pSite);
    return pPopup;
}

void CXTPCommandBars::ContextMenu(WPARAM wParam, CPoint pt)
{
    if (m_bCustomizeMode || !m_pSite || !m_pSite->GetSafeHwnd())
        return;
    CXTPPopupBar* pPopup = CreateToolbarsPopup();
    CXTPControlToolbars::FillToolbarsList(this, pPopup, 0, TRUE);
    m_pSite->SendMessage(XTPM_TOOLBARSMENU, wParam, reinterpret_cast<LPARAM>(pPopup));
    // The generated list of toolbars fills the menu, the site may change it; without entries it does not open.
    if (pPopup->GetControls()->GetCount() > 0) {
        ClosePopups();
        UINT nFlags = (m_pSite->GetExStyle() & WS_EX_LAYOUTRTL) ? TPM_RIGHTALIGN : 0;
        TrackPopup(pPopup, nFlags, pt.x, pt.y, m_pSite);
    }
    pPopup->InternalRelease();
}

std::vector<CXTPToolBar*> CXTPCommandBars::GetDockRow(CXTPToolBar* pBar) const
{
    CXTPDockBar* pDockBar = pBar->GetDockBar();
    if (!pDockBar)
        return {pBar};
    for (const std::vector<CXTPToolBar*>& arrRow : pDockBar->GetSlots().GetRows())
        if (std::find(arrRow.begin(), arrRow.end(), pBar) != arrRow.end())
            return arrRow;
    return {pBar};
}

void CXTPCommandBars::GetHiddenControls(CXTPToolBar* pBar, CXTPCommandBar* pTarget)
{
    // The bars of a row share their room: what did not fit in any of them is offered.
    for (CXTPToolBar* pRowBar : GetDockRow(pBar)) {
        if (!pRowBar->IsVisible())
            continue;
        CXTPControls* pControls = pRowBar->GetControls();
        for (int i = 0; i < pControls->GetCount(); i++) {
            CXTPControl* pControl = pControls->GetAt(i);
            if (pControl->GetHideFlags() != xtpHideWrap)
                continue;
            CXTPControls* pTargetControls = pTarget->GetControls();
            CXTPControl* pCopy = pTargetControls->InsertControl(pControl, pTargetControls->GetCount(), TRUE);
            pCopy->SetHideFlags(0);
            pCopy->SetBeginGroup(FALSE);
        }
    }
}

void CXTPCommandBars::BuildExpandPopup(CXTPToolBar* pBar, CXTPCommandBar* pTarget)
{
    for (CXTPToolBar* pRowBar : GetDockRow(pBar)) {
        if (pRowBar != pBar && !pRowBar->IsVisible())
            continue;
        CXTPControl* pEntry = pTarget->GetControls()->Add(xtpControlPopup, 0);
        pEntry->SetFlags(xtpFlagManualUpdate);
        pEntry->SetCaption(pRowBar->GetTitle());
        BOOL bEnabled = m_bCustomizeAvail && pRowBar->IsBuiltIn() && pRowBar->IsCustomizable();
        pEntry->SetEnabled(bEnabled);
        if (bEnabled)
            if (CXTPCommandBar* pList = pEntry->GetCommandBar()) {
                pRowBar->BuildCustomizePopup(pList);
                if (pList->IsKindOf(RUNTIME_CLASS(CXTPPopupBar)))
                    static_cast<CXTPPopupBar*>(pList)->m_bDoubleGripper = TRUE;
            }
    }
    if (m_bCustomizeAvail) {
        CXTPControl* pCustomize = pTarget->GetControls()->Add(xtpControlButton, XTP_ID_CUSTOMIZE);
        pCustomize->SetBeginGroup(TRUE);
    }
}

CXTPReBar* CXTPCommandBars::GetFrameReBar() const
{
    if (!m_pSite || !m_pSite->GetSafeHwnd())
        return nullptr;
    CWnd* pWnd = CWnd::FromHandlePermanent(::GetDlgItem(m_pSite->GetSafeHwnd(), AFX_IDW_REBAR));
    return pWnd && pWnd->IsKindOf(RUNTIME_CLASS(CXTPReBar)) ? static_cast<CXTPReBar*>(pWnd) : nullptr;
}

void CXTPCommandBars::OnToolBarAdded(CXTPToolBar* pBar)
{
    // A frame that keeps its toolbars in a rebar gets the new one there, on a row of its own.
    if (CXTPReBar* pReBar = GetFrameReBar())
        pReBar->AddToolBar(pBar, RBBS_BREAK | RBBS_GRIPPERALWAYS);
}

void CXTPCommandBars::OnToolBarRemoved(CXTPToolBar* pBar)
{
    if (pBar == m_pMenuBar)
        m_pMenuBar = nullptr;
    if (CXTPReBar* pReBar = GetFrameReBar())
        pReBar->DeleteToolBar(pBar);
}

void CXTPCommandBars::OnTrackingModeChanged(CXTPCommandBar* /*pBar*/, int nMode)
{
    if (!nMode && m_bHideKeyboardCuesUntilAlt && !IsAnyBarTracking())
        ShowKeyboardCues(FALSE);
}

BOOL CXTPCommandBars::IsAnyBarTracking() const
{
    return CMouseManager::GetThreadManager()->IsTracking();
}

void CXTPCommandBars::SetSite(CWnd* pSite)
{
    m_pSite = pSite;
    m_pShortcutManager->SetSite(pSite && pSite->IsKindOf(RUNTIME_CLASS(CFrameWnd)) ? static_cast<CFrameWnd*>(pSite)
                                                                                   : nullptr);
    if (pSite && pSite->GetSafeHwnd()) {
        // Asked only: with handler information the routing calls nothing.
        AFX_CMDHANDLERINFO info = {};
        m_bCustomizeAvail = pSite->OnCmdMsg(XTP_ID_CUSTOMIZE, CN_COMMAND, nullptr, &info);
    }
}

CXTPToolBar* CXTPCommandBars::CreateToolBar(CRuntimeClass* pClass, LPCTSTR lpszTitle)
{
    CObject* pObject = pClass->CreateObject();
    if (!pObject)
        return nullptr;
    if (!pObject->IsKindOf(RUNTIME_CLASS(CXTPToolBar))) {
        delete pObject;
        return nullptr;
    }
    auto* pBar = static_cast<CXTPToolBar*>(pObject);
    pBar->SetCommandBars(this);
    pBar->SetSite(m_pSite);
    pBar->SetTitle(lpszTitle);
    return pBar;
}

CXTPMenuBar* CXTPCommandBars::SetMenu(LPCTSTR lpszTitle, UINT nIDMenu)
{
    CXTPToolBar* pBar = CreateToolBar(m_pMenuBarClass, lpszTitle);
    if (!pBar || !pBar->IsKindOf(RUNTIME_CLASS(CXTPMenuBar))) {
        if (pBar)
            pBar->InternalRelease();
        return nullptr;
    }
    pBar->EnableDocking(0x5F);
    auto* pMenuBar = static_cast<CXTPMenuBar*>(pBar);
    pMenuBar->SetBarID(1);
    // The window keeps the bar's own style bits (the gripper).
    if (!m_pSite || !pMenuBar->CreateToolBar(WS_CHILD | WS_VISIBLE | CBRS_TOP | pMenuBar->GetBarStyle(), m_pSite) ||
        !DockCommandBar(pMenuBar, xtpBarTop) || !pMenuBar->LoadMenuBar(nIDMenu)) {
        ReleaseUnaddedBar(pMenuBar);
        return nullptr;
    }
    if (nIDMenu) {
        pMenuBar->GetControls()->CreateOriginalControls();
        m_nDefaultMenuID = nIDMenu;
    }
    m_arrBars.push_back(pMenuBar);
    m_pMenuBar = pMenuBar;
    RecalcFrameLayout(TRUE);
    return pMenuBar;
}

void CXTPCommandBars::ReleaseUnaddedBar(CXTPToolBar* pBar)
{
    // A bar that failed half-way may already sit in a dock bar, whose next layout must not reach it.
    if (CXTPDockBar* pDockBar = pBar->GetDockBar())
        pDockBar->RemoveCommandBar(pBar, -1);
    pBar->InternalRelease();
}

CXTPToolBar* CXTPCommandBars::Add(LPCTSTR lpszTitle, int nPosition, CRuntimeClass* pToolBarClass)
{
    CXTPToolBar* pBar = CreateToolBar(pToolBarClass ? pToolBarClass : m_pToolBarClass, lpszTitle);
    if (!pBar)
        return nullptr;
    pBar->EnableDocking(0x3F);
    BOOL bCreated = m_pSite && pBar->CreateToolBar(WS_CHILD | WS_VISIBLE | CBRS_TOP | pBar->GetBarStyle(), m_pSite);
    if (bCreated)
        bCreated = nPosition == xtpBarFloating ? FloatCommandBar(pBar) : DockCommandBar(pBar, nPosition);
    if (!bCreated) {
        ReleaseUnaddedBar(pBar);
        return nullptr;
    }
    m_arrBars.push_back(pBar);
    OnToolBarAdded(pBar);
    RecalcFrameLayout(TRUE);
    return pBar;
}

CXTPToolBar* CXTPCommandBars::CreateTearOffBar(LPCTSTR lpszTitle, UINT nId, BOOL bFloating)
{
    CXTPToolBar* pBar = CreateToolBar(m_pToolBarClass, lpszTitle);
    if (!pBar)
        return nullptr;
    XTP_BAR_CREATE create = {pBar, FALSE, 0, TRUE, bFloating, lpszTitle, static_cast<int>(nId)};
    if (m_pSite && m_pSite->GetSafeHwnd())
        m_pSite->SendMessage(XTPM_BARCREATE, 0, reinterpret_cast<LPARAM>(&create));
    // The site may have set the bar's docking itself.
    if (!pBar->GetDockContext())
        pBar->EnableDocking(0x3F);
    BOOL bCreated = m_pSite && pBar->CreateToolBar(WS_CHILD | WS_VISIBLE | CBRS_TOP | pBar->GetBarStyle(), m_pSite);
    if (bCreated)
        bCreated = bFloating ? FloatCommandBar(pBar) : DockCommandBar(pBar, xtpBarTop);
    if (!bCreated) {
        ReleaseUnaddedBar(pBar);
        return nullptr;
    }
    m_arrBars.push_back(pBar);
    pBar->SetBarID(nId);
    pBar->SetBuiltIn(FALSE);
    pBar->SetTearOff(bFloating);
    if (!bFloating)
        RecalcFrameLayout();
    OnToolBarAdded(pBar);
    return pBar;
}

void CXTPCommandBars::SetCommandCollection(CXTPControls* pControls)
{
    if (m_pCommandCollection)
        m_pCommandCollection->InternalRelease();
    m_pCommandCollection = pControls;
    if (pControls)
        pControls->SetCommandBars(this);
}

void CXTPCommandBars::Remove(CXTPToolBar* pBar)
{
    int nIndex = IndexOf(pBar);
    if (nIndex < 0)
        return;
    // Out of the array first: hiding a torn-off bar removes it, and that must not come back here.
    m_arrBars.erase(m_arrBars.begin() + nIndex);
    if (pBar->GetSafeHwnd())
        pBar->ShowWindow(SW_HIDE);
    pBar->SetVisible(FALSE);
    // The dock bar must not lay out a bar that is about to go.
    if (CXTPDockBar* pDockBar = pBar->GetDockBar())
        pDockBar->RemoveCommandBar(pBar, -1);
    RecalcFrameLayout();
    OnToolBarRemoved(pBar);
    pBar->InternalRelease();
}

int CXTPCommandBars::IndexOf(const CXTPToolBar* pBar) const
{
    for (int i = 0; i < GetCount(); i++)
        if (m_arrBars[static_cast<size_t>(i)] == pBar)
            return i;
    return -1;
}

CXTPToolBar* CXTPCommandBars::FindBarById(UINT nId) const
{
    if (nId == 0)
        return nullptr;
    for (CXTPToolBar* pBar : m_arrBars)
        if (pBar->GetBarID() == nId)
            return pBar;
    return nullptr;
}

CXTPControl* CXTPCommandBars::FindControl(int nType, int nId, BOOL bVisible, BOOL bRecursive) const
{
    for (int i = GetCount() - 1; i >= 0; i--) {
        CXTPToolBar* pBar = GetAt(i);
        if (bVisible && !pBar->IsVisible())
            continue;
        if (CXTPControl* pControl = pBar->GetControls()->FindControl(nType, nId, bVisible, bRecursive))
            return pControl;
    }
    return nullptr;
}

void CXTPCommandBars::ToggleVisible(int nIndex)
{
    if (CXTPToolBar* pBar = GetAt(nIndex))
        pBar->SetVisible(!pBar->IsVisible());
}

CXTPBarPainter* CXTPCommandBars::GetPaintManager() const
{
    return m_pPaintManager ? m_pPaintManager : CXTPBarPainter::GetInstalled();
}

void CXTPCommandBars::SetPaintManager(CXTPBarPainter* pPainter)
{
    if (m_pPaintManager)
        m_pPaintManager->InternalRelease();
    m_pPaintManager = pPainter;
}

CXTPImageManager* CXTPCommandBars::GetImageManager() const
{
    return m_pImageManager ? m_pImageManager : XTPImageManager();
}

void CXTPCommandBars::SetImageManager(CXTPImageManager* pImageManager)
{
    if (m_pImageManager)
        m_pImageManager->InternalRelease();
    m_pImageManager = pImageManager;
}

void CXTPCommandBars::SetShortcutManager(CXTPShortcutManager* pShortcutManager)
{
    if (m_pShortcutManager)
        m_pShortcutManager->InternalRelease();
    m_pShortcutManager = pShortcutManager;
}

CMouseManager* CXTPCommandBars::GetMouseManager()
{
    if (!m_pMouseManager)
        m_pMouseManager = CMouseManager::GetThreadManager();
    return m_pMouseManager;
}

CKeyboardManager* CXTPCommandBars::GetKeyboardManager()
{
    if (!m_pKeyboardManager)
        m_pKeyboardManager = CKeyboardManager::GetThreadManager();
    return m_pKeyboardManager;
}

void CXTPCommandBars::HideCommands(const UINT* pCommands, int nCount)
{
    for (int i = 0; i < nCount; i++)
        m_pOptions->HideCommand(pCommands[i]);
}

void CXTPCommandBars::SetCustomizeMode(BOOL bMode, BOOL bTemporary)
{
    m_pOptions->bDirtyState = TRUE;
    m_bCustomizeMode = bMode;
    m_bTemporaryCustomizeMode = bMode && bTemporary;
    SetDragControl(nullptr);
    if (bTemporary) {
        // The Alt key of an Alt-drag was not pressed for the menu: letting it go opens none.
        m_bAltKeyUsed = !bMode;
        return;
    }
    UpdateCommandBars();
    RecalcFrameLayout();
    InvalidateCommandBars();
}

BOOL CXTPCommandBars::AcceptKeyMenu()
{
    BOOL bAccept = !m_bAltKeyUsed;
    m_bAltKeyUsed = FALSE;
    return bAccept;
}

void CXTPCommandBars::SetDragControl(CXTPControl* pControl)
{
    for (CXTPControl* pRepainted : {m_pDragControl, pControl}) {
        CXTPCommandBar* pBar = pRepainted ? pRepainted->GetParent() : nullptr;
        if (pBar && pBar->GetSafeHwnd())
            pBar->Invalidate(FALSE);
    }
    if (pControl)
        pControl->InternalAddRef();
    if (m_pDragControl)
        m_pDragControl->InternalRelease();
    m_pDragControl = pControl;
    // The open customise sheet shows what the control allows; without one the site hears of it.
    CWnd* pNotified = m_pDropSource->GetSheet() ? static_cast<CWnd*>(m_pDropSource->GetSheet()) : m_pSite;
    if (pNotified && pNotified->GetSafeHwnd())
        pNotified->SendMessage(XTPM_DRAGCONTROL, 0, 0);
}

void CXTPCommandBars::ClosePopups()
{
    GetMouseManager()->UntrackAll();
}

void CXTPCommandBars::RecalcFrameLayout(BOOL bDelay)
{
    if (m_bRecalcLayoutLock || !m_pSite || !m_pSite->GetSafeHwnd())
        return;
    if (m_pSite->IsKindOf(RUNTIME_CLASS(CFrameWnd))) {
        auto* pFrame = static_cast<CFrameWnd*>(m_pSite);
        if (bDelay)
            pFrame->DelayRecalcLayout(FALSE);
        else
            pFrame->RecalcLayout(FALSE);
        return;
    }
    CRect rc;
    m_pSite->GetClientRect(&rc);
    LPARAM lParam = MAKELPARAM(rc.Width(), rc.Height());
    if (bDelay)
        m_pSite->PostMessage(WM_SIZE, SIZE_RESTORED, lParam);
    else
        m_pSite->SendMessage(WM_SIZE, SIZE_RESTORED, lParam);
}

void CXTPCommandBars::RecalcLayoutAll()
{
    m_bRecalcLayoutLock = TRUE;
    for (CXTPToolBar* pBar : m_arrBars)
        if (pBar->IsVisible())
            pBar->OnRecalcLayout();
    // The tabbed client's strips follow the bars' new look; the frame's layout below sizes them.
    if (CXTPWorkspaceActionsSite* pClient = CXTPWorkspaceActionsSite::FromSite(m_pSite))
        pClient->UpdateWorkspaces();
    m_bRecalcLayoutLock = FALSE;
    RecalcFrameLayout();
}

void CXTPCommandBars::RedrawCommandBars()
{
    for (CXTPToolBar* pBar : m_arrBars)
        if (pBar->IsVisible() && pBar->GetSafeHwnd())
            pBar->DelayRedraw();
}

void CXTPCommandBars::InvalidateCommandBars()
{
    for (CXTPToolBar* pBar : m_arrBars)
        if (pBar->IsVisible() && pBar->GetSafeHwnd() && !pBar->IsRedrawLocked())
            pBar->Invalidate(FALSE);
}

void CXTPCommandBars::UpdateCommandBars()
{
    for (CXTPToolBar* pBar : m_arrBars)
        pBar->OnUpdateCmdUI(TRUE);
}

void CXTPCommandBars::OnSetPreviewMode(BOOL bPreview)
{
    for (CXTPToolBar* pBar : m_arrBars)
        pBar->OnSetPreviewMode(bPreview);
}

void CXTPCommandBars::UpdateFrameMenu()
{
    auto* pFrame = dynamic_cast<CFrameWnd*>(m_pSite);
    if (pFrame && pFrame->GetSafeHwnd())
        pFrame->OnUpdateFrameMenu(nullptr);
}

void CXTPCommandBars::RestoreFrameMenu()
{
    if (!m_bFrameMenuLeft)
        return;
    m_bFrameMenuLeft = FALSE;
    UpdateFrameMenu();
}

void CXTPCommandBars::LoadOptions(LPCTSTR lpszProfileName)
{
    CWinApp* pApp = AfxGetApp();
    HKEY hAppKey = pApp ? pApp->GetAppRegistryKey() : nullptr;
    if (!hAppKey)
        return;
    CString strSection;
    strSection.Format(L"%s-Options", lpszProfileName);
    auto* pPX = new CXTPPropExchangeRegistry(TRUE, hAppKey, strSection);
    m_pOptions->DoPropExchange(pPX, TRUE);
    pPX->InternalRelease();
    ::RegCloseKey(hAppKey);
}

void CXTPCommandBars::SaveOptions(LPCTSTR lpszProfileName)
{
    CWinApp* pApp = AfxGetApp();
    HKEY hAppKey = pApp ? pApp->GetAppRegistryKey() : nullptr;
    if (!hAppKey)
        return;
    CString strSection;
    strSection.Format(L"%s-Options", lpszProfileName);
    auto* pPX = new CXTPPropExchangeRegistry(FALSE, hAppKey, strSection);
    m_pOptions->DoPropExchange(pPX, TRUE);
    pPX->InternalRelease();
    ::RegCloseKey(hAppKey);
}

void CXTPCommandBars::SetKeyboardCuesState(BOOL bVisible, BOOL bHideUntilAlt)
{
    m_bHideKeyboardCuesUntilAlt = bHideUntilAlt;
    ShowKeyboardCues(bVisible && !bHideUntilAlt);
}

void CXTPCommandBars::ShowKeyboardCues(BOOL bShow)
{
    if (m_bKeyboardCuesVisible == bShow)
        return;
    m_bKeyboardCuesVisible = bShow;
    InvalidateCommandBars();
}

BOOL CXTPCommandBars::PreTranslateFrameMessage(MSG* pMsg)
{
    UINT nMessage = pMsg->message;
    CMouseManager* pMouse = GetMouseManager();
    BOOL bTracking = IsAnyBarTracking();
    // A new key press (not a repeat) is the user's again, whatever became of the release of the Alt-drag's Alt.
    if ((nMessage == WM_SYSKEYDOWN || nMessage == WM_KEYDOWN) && !(pMsg->lParam & (1 << 30)))
        m_bAltKeyUsed = FALSE;
    if (nMessage == WM_SYSKEYDOWN && (pMsg->lParam & (1 << 29))) {
        HWND hWndTop = m_pSite && m_pSite->GetSafeHwnd() ? ::GetAncestor(m_pSite->GetSafeHwnd(), GA_ROOT) : nullptr;
        // A floating pane's frame keeps the frame looking active: its keys are the frame's.
        if (pMouse->IsTopBarLocked() || bTracking || !CMiniFrameWnd::IsActiveWith(hWndTop, ::GetActiveWindow()))
            return FALSE;
        if (pMsg->wParam == VK_MENU) {
            ShowKeyboardCues(TRUE);
            return FALSE;
        }
        if (m_bIgnoreShiftMenuKey && ::GetKeyState(VK_SHIFT) < 0)
            return FALSE;
        UINT nVirtKey = static_cast<UINT>(pMsg->wParam);
        if (::MapVirtualKeyW(nVirtKey, MAPVK_VK_TO_CHAR) && OnFrameAccel(nVirtKey))
            return TRUE;
        // No control took the letter: an Alt shortcut of the table may still.
    }
    if ((nMessage == WM_SYSKEYUP || nMessage == WM_KEYUP) && m_bHideKeyboardCuesUntilAlt && m_bKeyboardCuesVisible &&
        !bTracking)
        ShowKeyboardCues(FALSE);
    if ((nMessage == WM_CONTEXTMENU || nMessage == WM_SYSKEYUP) && bTracking)
        return TRUE;
    if (nMessage == WM_MOUSEWHEEL && GetKeyboardManager()->HasHandlers())
        return GetKeyboardManager()->ProcessMouseWheel(pMsg->wParam, pMsg->lParam);
    if (nMessage >= WM_KEYFIRST && nMessage <= WM_KEYLAST) {
        HACCEL hAccel = m_pShortcutManager->GetAcceleratorTable();
        return hAccel && m_pSite && m_pSite->GetSafeHwnd() &&
               ::TranslateAcceleratorW(m_pSite->GetSafeHwnd(), hAccel, pMsg);
    }
    return FALSE;
}

BOOL CXTPCommandBars::OnFrameAccel(UINT nVirtKey)
{
    // Only the value "none" itself turns the letters off; the other values combine their bits.
    int nUse = m_pOptions->keyboardCuesUse;
    if (nUse == xtpKeyboardCuesUseNone)
        return FALSE;
    CXTPToolBar* pBar = nullptr;
    for (CXTPToolBar* pCandidate : m_arrBars)
        if (pCandidate->IsTrackingMode())
            pBar = pCandidate;
    if (!pBar && m_pMenuBar && m_pMenuBar->IsVisible())
        pBar = m_pMenuBar;
    if (!pBar && (nUse & xtpKeyboardCuesUseAll))
        for (CXTPToolBar* pCandidate : m_arrBars)
            if (!pBar && pCandidate->IsVisible())
                pBar = pCandidate;
    if (!pBar)
        return FALSE;

    std::vector<CXTPToolBar*> arrSearch = {pBar};
    if (nUse & xtpKeyboardCuesUseAll)
        for (int i = IndexOf(pBar) + 1; i < GetCount(); i++)
            if (GetAt(i)->IsVisible())
                arrSearch.push_back(GetAt(i));
    for (CXTPToolBar* pSearched : arrSearch) {
        BOOL bFirstLetter = !(nUse & xtpKeyboardCuesNoFirstLetter) &&
                            (pSearched->GetType() == xtpBarTypeMenuBar || pSearched->IsTrackingMode());
        BOOL bAmbiguous = FALSE;
        int nStart = pSearched == pBar ? pSearched->GetSelectedIndex() : -1;
        int nIndex = FindAccelIndex(pSearched->GetControls(), nStart, nVirtKey, this, &bAmbiguous, bFirstLetter);
        if (nIndex == -1)
            continue;
        if (!pSearched->IsTrackingMode())
            ClosePopups();
        ShowKeyboardCues(TRUE);
        pSearched->SetTrackingMode(1, FALSE, TRUE);
        pSearched->SetSelected(nIndex, TRUE);
        if (!bAmbiguous)
            pSearched->GetControls()->GetAt(nIndex)->ExecuteByKeyboard();
        return TRUE;
    }
    return FALSE;
}

BOOL CXTPCommandBars::SetTrackingNextBar(CXTPCommandBar* pBar, BOOL bForward)
{
    int nCount = GetCount(), nIndex = -1;
    for (int i = 0; i < nCount; i++)
        if (GetAt(i) == pBar)
            nIndex = i;
    if (nCount < 2 || nIndex == -1)
        return FALSE;
    for (int k = 1; k < nCount; k++) {
        CXTPToolBar* pNext = GetAt((nIndex + (bForward ? k : nCount - k)) % nCount);
        if (!pNext->IsVisible())
            continue;
        ClosePopups();
        ShowKeyboardCues(TRUE);
        pNext->SetTrackingMode(1, TRUE, TRUE);
        return TRUE;
    }
    return FALSE;
}

BOOL CXTPCommandBars::OnFrameWndMsg(UINT nMessage, WPARAM wParam, LPARAM /*lParam*/, LRESULT* pResult)
{
    switch (nMessage) {
    case WM_IDLEUPDATECMDUI:
        for (CXTPToolBar* pBar : m_arrBars)
            if (pBar->GetPosition() == xtpBarFloating)
                pBar->OnUpdateCmdUI(TRUE);
        break;
    case WM_SYSCOLORCHANGE:
        GetColorTable()->RefreshColors();
        GetImageManager()->RefreshAll();
        [[fallthrough]];
    case WM_SETTINGCHANGE:
        GetUiGlobalData()->RefreshSettings();
        GetPaintManager()->RefreshMetrics();
        RecalcFrameLayout();
        if (m_pSite && m_pSite->GetSafeHwnd())
            m_pSite->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        break;
    case WM_COMMAND: {
        HWND hWndFocus = ::GetFocus();
        CWnd* pParent = hWndFocus ? CWnd::FromHandlePermanent(::GetParent(hWndFocus)) : nullptr;
        CWnd* pFocus = hWndFocus ? CWnd::FromHandlePermanent(hWndFocus) : nullptr;
        // A command for an edit field of the bars (cut, copy, paste) goes to it first.
        if (pFocus && pParent && pParent->IsKindOf(RUNTIME_CLASS(CXTPCommandBar)) &&
            pFocus->OnCmdMsg(LOWORD(wParam), CN_COMMAND, nullptr, nullptr)) {
            *pResult = 1;
            return TRUE;
        }
        break;
    }
    case WM_CLOSE:
        // The customise sheet works on these bars until it ends: the frame stays.
        if (m_pDropSource->GetSheet()) {
            *pResult = 0;
            return TRUE;
        }
        break;
    case WM_ACTIVATEAPP:
        if (!wParam)
            ClosePopups();
        break;
    case WM_SYSCOMMAND:
        if ((wParam != 0 && LOWORD(wParam) == 0) || (wParam & 0xFFF0) == SC_KEYMENU)
            break;
        if (!m_bCustomizeMode)
            ClosePopups();
        break;
    }
    return FALSE;
}

int CXTPCommandBars::TrackPopup(CXTPPopupBar* pPopup, UINT nFlags, int x, int y, CWnd* pSite, const RECT* lpExclude,
                                CWnd* pOwner)
{
    pPopup->SetSite(pSite);
    pPopup->SetCommandOwner(pOwner);
    int nReturnCmd = 0;
    BOOL bReturnCmd = (nFlags & TPM_RETURNCMD) != 0;
    if (bReturnCmd)
        pPopup->SetReturnCmd(&nReturnCmd);
    BOOL bRecurse = (nFlags & TPM_RECURSE) != 0;
    pPopup->SetTrackFlags((nFlags & TPM_RIGHTBUTTON) != 0, (nFlags & TPM_NONOTIFY) != 0, bRecurse);
    pPopup->SetPopupFlags((nFlags & TPM_RIGHTALIGN) ? xtpPopupLeft | xtpPopupDown : xtpPopupDown);

    CMouseManager* pMouse = CMouseManager::GetThreadManager();
    if (bRecurse) {
        pMouse->CloseUnlockedBars();
        pMouse->LockTrackedBars(TRUE);
    } else {
        pMouse->UntrackAll();
        ::ReleaseCapture();
    }
    pMouse->m_bSwallowRelease = TRUE;

    pPopup->InternalAddRef();
    BOOL bOpened = pPopup->PopupAt(x, y, lpExclude);
    while (bOpened && pPopup->IsTrackingMode()) {
        MSG msg;
        if (!AfxGetModalLoopMessage(&msg)) {
            pPopup->SetTrackingMode(0, TRUE, FALSE);
            break;
        }
        if (!pPopup->IsTrackingMode()) {
            if (msg.hwnd)
                ::PostMessageW(msg.hwnd, msg.message, msg.wParam, msg.lParam);
            else
                ::PostThreadMessageW(::GetCurrentThreadId(), msg.message, msg.wParam, msg.lParam);
            break;
        }
        if (msg.message == WM_KICKIDLE)
            continue;
        try {
            CWinThread* pThread = AfxGetThread();
            if (!pThread || !pThread->PreTranslateMessage(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        } catch (...) {
            AfxProcessCurrentException(&msg);
        }
    }
    if (bRecurse)
        pMouse->LockTrackedBars(FALSE);
    pPopup->SetReturnCmd(nullptr);
    pPopup->InternalRelease();
    if (!bOpened)
        return FALSE;
    return bReturnCmd ? nReturnCmd : TRUE;
}

int CXTPCommandBars::TrackPopupMenu(CMenu* pMenu, UINT nFlags, int x, int y, CWnd* pSite, const RECT* lpExclude,
                                    CWnd* pOwner, CXTPCommandBars* pCommandBars)
{
    CXTPPopupBar* pPopup = CXTPPopupBar::CreatePopupBar(pCommandBars);
    pPopup->SetSite(pSite);
    pPopup->SetCommandOwner(pOwner);
    int nResult = FALSE;
    if (pPopup->LoadMenu(pMenu, TRUE))
        nResult = TrackPopup(pPopup, nFlags, x, y, pSite, lpExclude, pOwner);
    pPopup->InternalRelease();
    return nResult;
}

int TrackPopupMenuEx(CMenu* pMenu, UINT nFlags, int x, int y, CWnd* pOwner, UINT nIDToolBar)
{
    if (!CXTPBarPainter::IsInstalled())
        return pMenu->TrackPopupMenu(nFlags, x, y, pOwner);
    CXTPPopupBar* pPopup = CXTPPopupBar::CreatePopupBar();
    if (nIDToolBar > 0) {
        auto* pImages = new CXTPImageManager;
        pImages->SetIcons(nIDToolBar);
        pPopup->SetImageManager(pImages);
    }
    pPopup->SetSite(pOwner);
    int nResult = FALSE;
    if (pPopup->LoadMenu(pMenu, TRUE))
        nResult = CXTPCommandBars::TrackPopup(pPopup, nFlags | TPM_NONOTIFY, x, y, pOwner, nullptr, pOwner);
    pPopup->InternalRelease();
    return nResult;
}
