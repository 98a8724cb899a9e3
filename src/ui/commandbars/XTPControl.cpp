#include "ui/commandbars/XTPControl.h"

#include "ui/persist/PropExchange.h"

#include "ui/commandbars/MenuSoundPlayer.h"
#include "ui/commandbars/XTPCommandBars.h"
#include "ui/commandbars/XTPHookManager.h"
#include "ui/commandbars/XTPPopupBar.h"
#include "ui/commandbars/XTPPopupShadows.h"
#include "ui/persist/ImageManager.h"
#include "ui/persist/ResourceLoader.h"
#include "ui/themes/BarIcon.h"
#include "ui/themes/BarPainter.h"

#include <windowsx.h>

IMPLEMENT_SERIAL(CXTPControl, CCmdTarget, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)
IMPLEMENT_SERIAL(CXTPControlButton, CXTPControl, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)
IMPLEMENT_SERIAL(CXTPControlPopup, CXTPControlButton, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)

CXTPControl::CXTPControl() = default;
CXTPControl::~CXTPControl() = default;

void CXTPControl::SetEnabled(BOOL bEnabled)
{
    if (m_bEnabled == bEnabled)
        return;
    m_bEnabled = bEnabled;
    RedrawParent();
}

void CXTPControl::SetChecked(BOOL bChecked)
{
    if (m_bChecked == bChecked)
        return;
    m_bChecked = bChecked;
    RedrawParent();
}

BOOL CXTPControl::IsCaptionVisible() const
{
    if (m_pParent && m_pParent->GetType() == xtpBarTypePopup)
        return TRUE;
    if (GetCaption().IsEmpty())
        return FALSE;
    switch (GetStyle()) {
    case xtpButtonCaption:
    case xtpButtonIconAndCaption: return TRUE;
    case xtpButtonIcon: return FALSE;
    }
    switch (m_nType) {
    case xtpControlPopup:
    case xtpControlLabel: return TRUE;
    case xtpControlButton:
    case xtpControlButtonPopup:
    case xtpControlSplitButtonPopup: return GetIconId() == 0 || !GetImage(16);
    }
    return FALSE;
}

BOOL CXTPControl::Compare(CXTPControl* pOther) const
{
    return GetStyle() == pOther->GetStyle() && m_nType == pOther->m_nType && m_nId == pOther->m_nId &&
           m_dwFlags == pOther->m_dwFlags && m_bBeginGroup == pOther->m_bBeginGroup &&
           GetIconId() == pOther->GetIconId() && m_strCaption == pOther->m_strCaption &&
           m_strTooltipText == pOther->m_strTooltipText && m_strDescriptionText == pOther->m_strDescriptionText &&
           m_strCustomCaption == pOther->m_strCustomCaption && m_nCustomStyle == pOther->m_nCustomStyle &&
           m_strParameter == pOther->m_strParameter &&
           (m_dwHideFlags & xtpHideCustomize) == (pOther->m_dwHideFlags & xtpHideCustomize);
}

void CXTPControl::OnExecute()
{
    CMenuSoundPlayer::Play(CMenuSoundPlayer::soundMenuCommand);
    m_nPressed = 2;
    CXTPCommandBar* pParent = m_pParent;
    if (!pParent)
        return;
    CXTPCommandBar* pRoot = pParent->GetRootParent();
    if (pRoot->IsReturnCmd()) {
        *pRoot->GetReturnCmd() = m_nId;
        pRoot->ClosePopups();
        return;
    }
    // Only a command that is sent counts as used, together with the menu it was chosen from.
    if (CXTPCommandBars* pCommandBars = pParent->GetCommandBars()) {
        CXTPCommandBarsOptions* pOptions = pCommandBars->GetCommandBarsOptions();
        if (m_nId)
            pOptions->OnCommandExecuted(static_cast<UINT>(m_nId));
        CXTPControl* pMenu = pParent->GetType() == xtpBarTypePopup ? pParent->GetParentControl() : nullptr;
        if (pMenu && pMenu->GetID())
            pOptions->OnCommandExecuted(static_cast<UINT>(pMenu->GetID()));
    }
    // Taken before the popups close: a closed popup no longer knows the bar it came from.
    CWnd* pSite = pParent->GetOwnerSite();
    HWND hWndSite = pSite ? pSite->GetSafeHwnd() : nullptr;
    if (m_bCloseSubMenuOnClick)
        pRoot->ClosePopups();
    if (m_nId == 0)
        return;

    // The frame's handler may release the bar or this control: both stay alive until the command is over, which
    // for a command chosen by a key is once the key has left the queue.
    InternalAddRef();
    pParent->InternalAddRef();
    CKeyboardManager::GetThreadManager()->RunAfterKey([this, pParent, hWndSite] {
        SendCommand(pParent, hWndSite);
        pParent->InternalRelease();
        InternalRelease();
    });
}

void CXTPControl::SendCommand(CXTPCommandBar* pParent, HWND hWndSite)
{
    if (hWndSite && !NotifySite(XTP_CN_EXECUTE, hWndSite) && ::IsWindow(hWndSite))
        ::SendMessageW(hWndSite, WM_COMMAND, static_cast<WPARAM>(m_nId), 0);
    if (!m_bCloseSubMenuOnClick && m_pParent == pParent && ::IsWindow(pParent->GetSafeHwnd())) {
        pParent->OnUpdateCmdUI(TRUE);
        pParent->Invalidate(FALSE);
    }
}

CSize CXTPControl::GetSize(CDC* pDC)
{
    return GetPaintManager()->DrawControl(pDC, this, FALSE);
}

void CXTPControl::Draw(CDC* pDC)
{
    GetPaintManager()->DrawControl(pDC, this, TRUE);
}

CXTPBarIcon* CXTPControl::GetImage(int nWidth) const
{
    CXTPBarImages* pImages = GetImageManager();
    int nIconId = GetIconId();
    return pImages && nIconId ? pImages->GetIcon(static_cast<UINT>(nIconId), nWidth) : nullptr;
}

void CXTPControl::Copy(CXTPControl* pOther, BOOL /*bRecursive*/)
{
    m_nId = pOther->m_nId;
    m_dwFlags = pOther->m_dwFlags;
    m_nType = pOther->m_nType;
    m_strCaption = pOther->m_strCaption;
    m_strShortcutText = pOther->m_strShortcutText;
    m_strAccelShortcut = pOther->m_strAccelShortcut;
    m_strTooltipText = pOther->m_strTooltipText;
    m_strDescriptionText = pOther->m_strDescriptionText;
    m_strParameter = pOther->m_strParameter;
    m_strCategory = pOther->m_strCategory;
    m_nTag = pOther->m_nTag;
    m_nCustomIconId = pOther->m_nCustomIconId;
    m_nIconId = pOther->m_nIconId;
    m_bTemporary = pOther->m_bTemporary;
    m_strCustomCaption = pOther->m_strCustomCaption;
    m_dwHideFlags = pOther->m_dwHideFlags;
    m_bDefaultItem = pOther->m_bDefaultItem;
    m_bEnabled = pOther->m_bEnabled;
    m_bChecked = pOther->m_bChecked;
    m_nCustomStyle = pOther->m_nCustomStyle;
    m_nStyle = pOther->m_nStyle;
    m_bBeginGroup = pOther->m_bBeginGroup;
    m_bCloseSubMenuOnClick = pOther->m_bCloseSubMenuOnClick;
    m_docTemplatesAssigned.m_setIds = pOther->m_docTemplatesAssigned.m_setIds;
    m_docTemplatesExcluded.m_setIds = pOther->m_docTemplatesExcluded.m_setIds;
}

BOOL CXTPControl::OnLButtonDblClk(CPoint pt)
{
    OnClick(FALSE, pt);
    return TRUE;
}

void CXTPControl::OnMouseHover()
{
    if (!m_pParent)
        return;
    BOOL bHadPopup = m_pParent->GetPopupedIndex() != -1;
    m_pParent->SetPopuped(-1);
    if (bHadPopup && m_pParent->GetTrackingMode() == 2 && m_pParent->GetPosition() != xtpBarPopup)
        m_pParent->SetTrackingMode(0, TRUE, FALSE);
}

BOOL CXTPControl::SetSelected(int nSelected)
{
    if (m_nSelected == nSelected)
        return FALSE;
    if (nSelected == 2 && m_pParent)
        m_pParent->SetPopuped(-1);
    m_nSelected = nSelected;
    if (m_pParent)
        m_pParent->OnControlSelected(nSelected != 0, this);
    RedrawParent();
    return TRUE;
}

CXTPControl* CXTPControl::Clone(BOOL bRecursive)
{
    CXTPControl* pClone = static_cast<CXTPControl*>(GetRuntimeClass()->CreateObject());
    pClone->Copy(this, bRecursive);
    return pClone;
}

void CXTPControl::SetID(int nId)
{
    if (m_nId != nId) {
        CString strPrompt;
        if (nId > 0 && XTPGetResourceLoader()->LoadString(&strPrompt, static_cast<UINT>(nId)))
            SetPrompt(strPrompt);
    }
    m_nId = nId;
}

void CXTPControl::SetCaption(const CString& strText)
{
    CString strCaption = strText;
    int nTab = strText.Find(L'\t');
    if (nTab >= 0) {
        m_strShortcutText = strText.Mid(nTab + 1);
        strCaption = strText.Left(nTab);
    }
    if (strCaption != m_strCaption) {
        m_strCaption = strCaption;
        InvalidateParentLayout();
    }
}

void CXTPControl::SetCaption(UINT nIDString)
{
    CString strText;
    if (strText.LoadString(nIDString))
        SetCaption(strText);
}

void CXTPControl::SetPrompt(const CString& strPrompt)
{
    int nLineFeed = strPrompt.Find(L'\n');
    if (nLineFeed >= 0) {
        m_strDescriptionText = strPrompt.Left(nLineFeed);
        m_strTooltipText = strPrompt.Mid(nLineFeed + 1);
    } else {
        m_strDescriptionText = m_strTooltipText = strPrompt;
    }
    if (m_strCaption.IsEmpty())
        m_strCaption = m_strTooltipText;
}

void CXTPControl::SetDefaultItem(BOOL bDefault)
{
    if (m_bDefaultItem == bDefault)
        return;
    m_bDefaultItem = bDefault;
    InvalidateParentLayout();
}

CXTPBarPainter* CXTPControl::GetPaintManager() const
{
    if (m_pParent)
        return m_pParent->GetPaintManager();
    CXTPCommandBars* pCommandBars = m_pControls ? m_pControls->GetCommandBars() : nullptr;
    return pCommandBars ? pCommandBars->GetPaintManager() : CXTPBarPainter::GetInstalled();
}

CXTPBarImages* CXTPControl::GetImageManager() const
{
    if (m_pParent)
        return m_pParent->GetImageManager();
    CXTPCommandBars* pCommandBars = m_pControls ? m_pControls->GetCommandBars() : nullptr;
    return pCommandBars ? static_cast<CXTPBarImages*>(pCommandBars->GetImageManager()) : XTPImageManager();
}

void CXTPControl::SetCustomIcon(HICON hIcon)
{
    auto* pImages = dynamic_cast<CXTPImageManager*>(GetImageManager());
    if (!pImages)
        pImages = XTPImageManager();
    if (UINT nId = pImages->AddCustomIcon(CXTPImageManagerIconHandle(hIcon)))
        m_nCustomIconId = static_cast<int>(nId);
}

void CXTPControl::Reset()
{
    if (m_nCustomIconId == 0 && m_strCustomCaption.IsEmpty())
        return;
    m_nCustomIconId = 0;
    m_strCustomCaption.Empty();
    if (m_pParent)
        m_pParent->OnControlsChanged();
}

BOOL CXTPControl::IsCursorOver() const
{
    if (!m_pParent || !m_pParent->GetSafeHwnd())
        return FALSE;
    CPoint pt;
    ::GetCursorPos(&pt);
    m_pParent->ScreenToClient(&pt);
    return m_rcControl.PtInRect(pt);
}

void CXTPControl::RedrawParent()
{
    if (m_pParent && m_pParent->GetSafeHwnd())
        m_pParent->DelayRedraw();
}

void CXTPControl::InvalidateParentLayout()
{
    if (m_pParent)
        m_pParent->SetLayoutNeeded();
}

LRESULT CXTPControl::NotifySite(UINT nCode)
{
    CWnd* pSite = m_pParent ? m_pParent->GetOwnerSite() : nullptr;
    return pSite ? NotifySite(nCode, pSite->GetSafeHwnd()) : 0;
}

LRESULT CXTPControl::NotifySite(UINT nCode, HWND hWndSite)
{
    if (!hWndSite)
        return 0;
    XTP_CONTROL_NOTIFY notify = {nullptr, static_cast<UINT_PTR>(m_nId), nCode, this};
    return ::SendMessageW(hWndSite, XTPM_CONTROLNOTIFY, static_cast<WPARAM>(m_nId), reinterpret_cast<LPARAM>(&notify));
}
void CXTPControlButton::OnClick(BOOL bKeyboard, CPoint /*pt*/)
{
    if (!m_bEnabled || !m_pParent)
        return;
    if (bKeyboard) {
        OnExecute();
        return;
    }
    if (m_pParent->GetType() == xtpBarTypePopup)
        return;   // a menu item executes on the release
    if (TrackPress(m_rcControl))
        OnExecute();
}

void CXTPControlButton::OnLButtonUp(CPoint /*pt*/)
{
    if (m_bEnabled && m_pParent && m_pParent->GetType() == xtpBarTypePopup)
        OnExecute();
}

BOOL CXTPControlButton::TrackPress(const CRect& rcPress)
{
    CXTPCommandBar* pBar = m_pParent;
    pBar->SetSelected(m_nIndex);
    m_nPressed = 1;
    pBar->Invalidate(FALSE);
    pBar->SetCapture();

    BOOL bExecute = FALSE;
    MSG msg;
    for (;;) {
        if (!AfxGetModalLoopMessage(&msg))
            break;
        if (msg.hwnd == pBar->GetSafeHwnd() && msg.message == WM_MOUSEMOVE) {
            CPoint pt(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
            if (SetSelected(rcPress.PtInRect(pt) ? 1 : 0))
                pBar->Invalidate(FALSE);
            continue;
        }
        if (msg.hwnd == pBar->GetSafeHwnd() && msg.message == WM_LBUTTONUP) {
            CPoint pt(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
            // A release sent without a position ((0, 0)) ends the press where the mouse last was.
            bExecute = m_nSelected && (pt == CPoint(0, 0) || rcPress.PtInRect(pt));
            break;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
        if (::GetCapture() != pBar->GetSafeHwnd())
            break;
    }
    if (::GetCapture() == pBar->GetSafeHwnd())
        ::ReleaseCapture();

    // Dragged off or not, the bar lets the button go too: a bar still pointing at a button that is no longer
    // selected would not select it again on the next press.
    const BOOL bWasSelected = m_nSelected != 0;
    pBar->SetSelected(-1);
    if (bWasSelected)
        pBar->SetLastPressedIndex(m_nIndex);
    m_nSelected = 0;
    m_nPressed = 0;
    RedrawParent();
    return bExecute;
}

CXTPControlPopup::~CXTPControlPopup()
{
    if (m_pPopupBar)
        m_pPopupBar->InternalRelease();
}

CXTPControlPopup* CXTPControlPopup::CreateControlPopup(int nType)
{
    auto* pControl = new CXTPControlPopup;
    pControl->m_nType = nType;
    return pControl;
}

CXTPCommandBar* CXTPControlPopup::GetCommandBar() const
{
    return m_pPopupBar;
}

void CXTPControlPopup::SetCommandBarMenu(CMenu* pMenu)
{
    if (!m_pPopupBar) {
        CXTPPopupBar* pPopupBar = CXTPPopupBar::CreatePopupBar(m_pParent ? m_pParent->GetCommandBars() : nullptr);
        SetCommandBar(pPopupBar);
        pPopupBar->InternalRelease();
    }
    m_pPopupBar->LoadMenu(pMenu, TRUE);
}

BOOL CXTPControlPopup::IsContainPopup(const CXTPControlPopup* pPopup) const
{
    if (!m_pPopupBar)
        return FALSE;
    if (pPopup->m_pPopupBar == m_pPopupBar)
        return TRUE;
    CXTPControls* pControls = m_pPopupBar->GetControls();
    for (int i = 0; i < pControls->GetCount(); i++) {
        auto* pItem = dynamic_cast<CXTPControlPopup*>(pControls->GetAt(i));
        if (pItem && (pItem->IsContainPopup(pPopup) || pPopup->IsContainPopup(pItem)))
            return TRUE;
    }
    return FALSE;
}

void CXTPControlPopup::OnCustomizeDragOver(CXTPControl* pData, CPoint point)
{
    auto* pDragged = dynamic_cast<CXTPControlPopup*>(pData);
    if (!m_pParent || !m_pPopupBar || !m_pPopupBar->IsCustomizable() || (pDragged && pDragged->IsContainPopup(this))) {
        CXTPControlButton::OnCustomizeDragOver(pData, point);
        return;
    }
    OpenPopup(FALSE);
}

void CXTPControlPopup::SetCommandBar(CXTPPopupBar* pPopupBar)
{
    if (m_pPopupBar == pPopupBar)
        return;
    if (pPopupBar)
        pPopupBar->InternalAddRef();
    if (m_pPopupBar)
        m_pPopupBar->InternalRelease();
    m_pPopupBar = pPopupBar;
    if (m_pPopupBar)
        m_pPopupBar->SetParentControl(this);
}

void CXTPControlPopup::Copy(CXTPControl* pOther, BOOL bRecursive)
{
    CXTPControlButton::Copy(pOther, bRecursive);
    if (!pOther->IsKindOf(RUNTIME_CLASS(CXTPControlPopup)))
        return;
    CXTPControlPopup* pPopup = static_cast<CXTPControlPopup*>(pOther);
    m_bShowWholeFace = pPopup->m_bShowWholeFace;
    CXTPPopupBar* pPopupBar = pPopup->m_pPopupBar;
    if (pPopupBar && bRecursive) {
        pPopupBar = static_cast<CXTPPopupBar*>(pPopupBar->Clone(TRUE));
        SetCommandBar(pPopupBar);
        pPopupBar->InternalRelease();
    } else {
        SetCommandBar(pPopupBar);
    }
}

BOOL CXTPControlPopup::Compare(CXTPControl* pOther) const
{
    if (!CXTPControlButton::Compare(pOther) || !pOther->IsKindOf(RUNTIME_CLASS(CXTPControlPopup)))
        return FALSE;
    CXTPCommandBar* pBar = GetCommandBar();
    CXTPCommandBar* pOtherBar = pOther->GetCommandBar();
    return !pBar || !pOtherBar || pBar->GetControls()->IsEqual(pOtherBar->GetControls());
}

CRuntimeClass* CXTPControlPopup::GetPopupBarClass() const
{
    return RUNTIME_CLASS(CXTPPopupBar);
}

BOOL CXTPControlPopup::SetPopup(BOOL bPopup)
{
    if (!m_pPopupBar)
        return FALSE;
    if (!bPopup) {
        m_pPopupBar->SetTrackingMode(0, TRUE, FALSE);
        RedrawParent();
        return TRUE;
    }
    if (!m_pParent || !m_pParent->GetSafeHwnd())
        return FALSE;
    m_pPopupBar->SetCommandBars(m_pParent->GetCommandBars());
    BOOL bOpened = m_pPopupBar->Popup(this, m_nSelected == 2);
    RedrawParent();
    return bOpened;
}

void CXTPControlPopup::OnClick(BOOL bKeyboard, CPoint pt)
{
    if (!m_bEnabled || !m_pParent)
        return;
    CXTPCommandBars* pCommandBars = m_pParent->GetCommandBars();
    BOOL bCustomize = pCommandBars && m_pParent->IsCustomizeMode();
    // In customise mode a press picks the control for dragging and opens its menu, whose entries may then be
    // rearranged too.
    if (bCustomize)
        pCommandBars->SetDragControl(this);
    if (m_pParent->GetPopupedIndex() == m_nIndex && m_pParent->GetType() != xtpBarTypePopup) {
        m_pParent->SetTrackingMode(FALSE, FALSE, FALSE);
    } else if (!bCustomize && m_nType == xtpControlSplitButtonPopup && OnSplitButtonClick(bKeyboard, pt)) {
        return;
    } else if (!bCustomize || !m_pPopupBar || m_pPopupBar->IsCustomizable()) {
        m_pParent->SetPopuped(m_nIndex, bKeyboard);
    }
    if (bCustomize)
        OnCustomizeDragStart(pt);
}

BOOL CXTPControlPopup::OnSplitButtonClick(BOOL bKeyboard, CPoint pt)
{
    if (bKeyboard) {
        OnExecute();
        return TRUE;
    }
    if (m_pParent->GetType() == xtpBarTypePopup) {
        if (pt.x >= m_rcControl.right - 20)
            return FALSE;
        // The button part of a menu item executes on the release; resting on it opens nothing.
        m_pParent->KillTimer(XTP_TID_HOVER);
        return TRUE;
    }
    if (pt.x >= m_rcControl.right - 11)
        return FALSE;
    CRect rcButton = m_rcControl;
    rcButton.right -= 11;
    if (TrackPress(rcButton))
        OnExecute();
    return TRUE;
}

void CXTPControlPopup::OnLButtonUp(CPoint pt)
{
    if (m_bEnabled && m_pParent && m_nType == xtpControlSplitButtonPopup &&
        m_pParent->GetType() == xtpBarTypePopup && pt.x < m_rcControl.right - 20)
        OnExecute();
}

BOOL CXTPControlPopup::OnLButtonDblClk(CPoint pt)
{
    if ((m_nType != xtpControlPopup && m_nType != xtpControlButtonPopup) || !m_pPopupBar || !m_pParent)
        return CXTPControlButton::OnLButtonDblClk(pt);
    if (m_pParent->GetPopupedIndex() != m_nIndex) {
        OnClick(FALSE, pt);
        return TRUE;
    }
    CXTPControls* pControls = m_pPopupBar->GetControls();
    for (int i = 0; i < pControls->GetCount(); i++) {
        CXTPControl* pItem = pControls->GetAt(i);
        if (pItem->IsVisible() && pItem->IsDefaultItem()) {
            pItem->OnExecute();
            return TRUE;
        }
    }
    if (m_pPopupBar->HasHiddenCommands())
        m_pPopupBar->ExpandBar();
    return TRUE;
}

void CXTPControlPopup::OpenPopup(BOOL bKeyboard)
{
    if (m_pParent->GetPopupedIndex() != m_nIndex)
        m_pParent->SetPopuped(m_nIndex, bKeyboard);
}

void CXTPControlPopup::OnMouseHover()
{
    if (m_bEnabled && m_pParent &&
        (m_pParent->GetTrackingMode() == 2 || m_pParent->GetType() == xtpBarTypePopup)) {
        OpenPopup(FALSE);
        return;
    }
    CXTPControlButton::OnMouseHover();
}

BOOL CXTPControlPopup::SetSelected(int nSelected)
{
    if (!CXTPControlButton::SetSelected(nSelected))
        return FALSE;
    if (!m_pParent || m_pParent->GetType() == xtpBarTypePopup || m_pParent->IsCustomizeMode())
        return TRUE;
    BOOL bTracking = m_pParent->GetTrackingMode() == 2;
    if (nSelected == 0) {
        if (m_pParent->GetPopupedIndex() == m_nIndex)
            m_pParent->SetPopuped(-1);
    } else if (m_bEnabled && bTracking && (m_nType == xtpControlPopup || nSelected == 2)) {
        OpenPopup(nSelected == 2);
    }
    return TRUE;
}

void CXTPControlPopup::AddShadow()
{
    CXTPPopupShadows::GetInstance()->AddControlShadow(this);
}

void CXTPControlPopup::AdjustExcludeRect(CRect& rc)
{
    int nPosition = m_pParent ? m_pParent->GetPosition() : xtpBarTop;
    GetPaintManager()->AdjustControlRect(&rc, this,
                                         nPosition == xtpBarLeft || nPosition == xtpBarRight ||
                                             nPosition == xtpBarPopup);
}

void CXTPControlPopup::ExpandCommandBar()
{
    if (m_pPopupBar && m_pPopupBar->IsTrackingMode() && m_pPopupBar->GetType() == xtpBarTypePopup)
        m_pPopupBar->ExpandBar();
}

void CXTPControlPopup::ExecuteByKeyboard()
{
    if (m_pParent)
        m_pParent->SetPopuped(m_nIndex, TRUE);
}
