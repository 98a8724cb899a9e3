#include "ui/commandbars/XTPToolBar.h"

#include "ui/persist/PropExchange.h"

#include "platform/mfc/afxmodule.h"
#include "platform/mfc/afxmsgbox.h"
#include "ui/commandbars/XTPCommandBars.h"
#include "ui/commandbars/XTPDockContext.h"
#include "ui/commandbars/XTPShortcutManager.h"
#include "ui/persist/ImageManager.h"
#include "ui/persist/ResourceLoader.h"
#include "ui/themes/BarPainter.h"
#include "ui/themes/DrawHelpers.h"
#include "ui/uires.h"

#include <algorithm>

IMPLEMENT_SERIAL(CXTPToolBar, CXTPCommandBar, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)
IMPLEMENT_SERIAL(CXTPToolBarExpandButton, CXTPControlPopup, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)
IMPLEMENT_SERIAL(CXTPToolBarCloseButton, CXTPControlButton, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)
IMPLEMENT_SERIAL(CXTPToolBarCustomizeItem, CXTPControlButton, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)

namespace
{
const DWORD STYLE_GRIPPER = 0x00400000;
const int EXPAND_RESERVE = 11;

}

BEGIN_MESSAGE_MAP(CXTPToolBar, CXTPCommandBar)
    ON_MESSAGE(WM_SIZEPARENT, &CXTPToolBar::OnSizeParent)
    ON_WM_RBUTTONDOWN()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_NCHITTEST()
    ON_WM_NCLBUTTONDOWN()
    ON_WM_MOUSEACTIVATE()
    ON_WM_NCACTIVATE()
    ON_WM_CLOSE()
    ON_MESSAGE(WM_FLOATSTATUS, &CXTPToolBar::OnFloatStatus)
    ON_WM_NCCREATE()
    ON_WM_SETFOCUS()
END_MESSAGE_MAP()

CXTPToolBar::CXTPToolBar()
{
    m_dwStyle = STYLE_GRIPPER;
    m_bCloseable = TRUE;
    m_nType = xtpBarTypeNormal;
}

CXTPToolBar::~CXTPToolBar()
{
    delete m_pDockContext;
}

BOOL CXTPToolBar::CreateToolBar(DWORD dwStyle, CWnd* pParentWnd, UINT nID)
{
    m_dwStyle = dwStyle & 0x0040FFFF;
    LPCTSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW));
    if (!CreateEx(0, lpszClass, nullptr, (dwStyle & ~0x0040FFFF) | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, 0, 0,
                  pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID))))
        return FALSE;
    m_nPosition = xtpBarTop;
    // The frame lays its bars out in the order they were made.
    ::SetWindowPos(m_hWnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return TRUE;
}

void CXTPToolBar::EnableDocking(DWORD dwFlags)
{
    m_dwFlags = dwFlags;
    if (!m_pDockContext)
        m_pDockContext = new CXTPDockContext(this);
}


BOOL CXTPToolBar::LoadToolBar(UINT nIDResource, BOOL bLoadIcons)
{
    m_nBarID = nIDResource;
    if (!CXTPCommandBar::LoadToolBar(nIDResource, bLoadIcons))
        return FALSE;
    m_pControls->CreateOriginalControls();
    return TRUE;
}

BOOL CXTPToolBar::IsVisible() const
{
    return m_bVisible && m_hWnd;
}

BOOL CXTPToolBar::SetVisible(BOOL bVisible)
{
    CXTPCommandBars* pCommandBars = GetCommandBars();
    if (!ChangeVisible(bVisible) || !pCommandBars)
        return TRUE;
    // The frame gives a docked bar's room back (or makes it) before the caller goes on.
    if (m_nPosition >= xtpBarTop && m_nPosition <= xtpBarRight)
        pCommandBars->RecalcFrameLayout(FALSE);
    // A torn-off bar is not kept hidden: tearing its popup off again makes a new one.
    if (!bVisible && m_bTearOff)
        pCommandBars->Remove(this);
    return TRUE;
}

BOOL CXTPToolBar::ChangeVisible(BOOL bVisible)
{
    BOOL bChanged = m_bVisible != bVisible;
    m_bVisible = bVisible;
    if (bChanged && !bVisible)
        SetTrackingMode(0, TRUE, FALSE);
    if (m_hWnd)
        ShowWindow(bVisible ? SW_SHOWNA : SW_HIDE);
    CWnd* pSite = GetSite();
    if (bChanged && GetCommandBars() && pSite && pSite->GetSafeHwnd())
        pSite->SendMessage(XTPM_BARVISIBLE, reinterpret_cast<WPARAM>(this), bVisible);
    return bChanged;
}

int CXTPToolBar::OnKeyDown(UINT nChar, LPARAM lKeyData)
{
    CWnd* pParent = m_hWnd && !m_pDockContext && nChar == VK_TAB ? GetParent() : nullptr;
    CWnd* pNext = pParent ? pParent->GetNextDlgTabItem(this, ::GetKeyState(VK_SHIFT) < 0) : nullptr;
    if (!pNext || pNext == this)
        return CXTPCommandBar::OnKeyDown(nChar, lKeyData);
    pNext->SetFocus();
    SetTrackingMode(0, TRUE, FALSE);
    return 1;
}

void CXTPToolBar::OnSetFocus(CWnd* pOldWnd)
{
    CXTPCommandBar::OnSetFocus(pOldWnd);
    if (!m_pDockContext)
        SetTrackingMode(TRUE, TRUE, FALSE);
}

BOOL CXTPToolBar::SetPosition(int nPosition)
{
    CXTPCommandBars* pCommandBars = GetCommandBars();
    if (!pCommandBars)
        return FALSE;
    if (nPosition >= xtpBarTop && nPosition <= xtpBarRight)
        return pCommandBars->DockCommandBar(this, nPosition);
    if (nPosition == xtpBarFloating)
        return pCommandBars->FloatCommandBar(this);
    return FALSE;
}

void CXTPToolBar::OnSetPreviewMode(BOOL bPreview)
{
    if (bPreview == m_bPreviewMode)
        return;
    m_bPreviewMode = bPreview;
    if (bPreview)
        m_bPreviewVisible = m_bVisible;
    // Hidden while the preview shows, back after it as it was.
    CXTPCommandBars* pCommandBars = GetCommandBars();
    if (m_bPreviewVisible && ChangeVisible(!bPreview) && pCommandBars)
        pCommandBars->RecalcFrameLayout(TRUE);
    // The preview's menu is gone: the menu bar shows the frame's again.
    if (!bPreview && m_nType == xtpBarTypeMenuBar && pCommandBars)
        pCommandBars->UpdateFrameMenu();
}

CRect CXTPToolBar::GetDockingBorders(CDC* pDC)
{
    CXTPBarPainter* pPainter = GetPaintManager();
    CRect rcBorders;
    pPainter->GetBarBorders(&rcBorders, this);
    if (m_dwStyle & STYLE_GRIPPER) {
        CSize szGripper = pPainter->DrawCommandBarGripper(pDC, this, FALSE);
        rcBorders.left += szGripper.cx;
        rcBorders.top += szGripper.cy;
    }
    return rcBorders;
}

CXTPControl* CXTPToolBar::EnsureOwnControl(int nId, CRuntimeClass* pClass)
{
    CXTPControl* pControl = m_pControls->FindControl(nId);
    if (!pControl) {
        pControl = m_pControls->AddControl(static_cast<CXTPControl*>(pClass->CreateObject()), nId, L"", -1, TRUE);
        // Both take their flags before the first layout: they never move, wrap or take the focus like others.
        pControl->SetFlags(nId == XTP_ID_TOOLBAR_EXPAND ? 28 : 26);
    }
    pControl->SetHideFlags(xtpHideGeneric);
    return pControl;
}

BOOL CXTPToolBar::HasHiddenControls() const
{
    for (int i = 0; i < m_pControls->GetCount(); i++)
        if (m_pControls->GetAt(i)->GetHideFlags() == xtpHideWrap)
            return TRUE;
    return FALSE;
}

CSize CXTPToolBar::CalcDockingLayout(int nLength, DWORD dwMode, int nWidth)
{
    CClientDC dc(m_hWnd ? this : nullptr);
    CFontSelector font(&dc, GetPaintManager()->GetControlFont(this, FALSE));
    CRect rcBorders = GetDockingBorders(&dc);
    if (CXTPControl* pClose = m_pControls->FindControl(XTP_ID_TOOLBAR_HIDE))
        pClose->SetHideFlags(xtpHideGeneric);
    CXTPCommandBars* pCommandBars = GetCommandBars();
    if (!m_bShowExpandButton || !pCommandBars)
        return m_pControls->CalcDynamicSize(&dc, nLength, dwMode, rcBorders, nWidth);

    CXTPControl* pExpand = EnsureOwnControl(XTP_ID_TOOLBAR_EXPAND, RUNTIME_CLASS(CXTPToolBarExpandButton));
    BOOL bHorizontal = (dwMode & LM_HORZDOCK) != 0;
    if (!pCommandBars->GetCommandBarsOptions()->bShowExpandButtonAlways) {
        if (!(dwMode & LM_COMMIT)) {
            CSize sz = m_pControls->CalcDynamicSize(&dc, nLength, dwMode, rcBorders, nWidth);
            CSize szShortest = m_pControls->CalcDynamicSize(&dc, 1, dwMode, rcBorders, nWidth);
            if (m_pControls->GetVisibleCount(FALSE) > 1) {
                if (bHorizontal)
                    sz.cx = std::max(static_cast<int>(sz.cx), static_cast<int>(szShortest.cx) + EXPAND_RESERVE);
                else
                    sz.cy = std::max(static_cast<int>(sz.cy), static_cast<int>(szShortest.cy) + EXPAND_RESERVE);
            }
            return sz;
        }
        CSize sz = m_pControls->CalcDynamicSize(&dc, nLength, dwMode, rcBorders, nWidth);
        if (!HasHiddenControls())
            return sz;
    }
    if (bHorizontal)
        rcBorders.right += EXPAND_RESERVE;
    else
        rcBorders.bottom += EXPAND_RESERVE;
    CSize sz = m_pControls->CalcDynamicSize(&dc, nLength, dwMode, rcBorders, nWidth);
    pExpand->SetHideFlags(0);
    GetPaintManager()->DrawGlyph(&dc, this, CXTPBarPainter::glyphExpand, pExpand, FALSE, &sz);
    return sz;
}

CSize CXTPToolBar::CalcDynamicLayout(int nLength, DWORD dwMode)
{
    CClientDC dc(m_hWnd ? this : nullptr);
    CFontSelector font(&dc, GetPaintManager()->GetControlFont(this, FALSE));
    CSize szCaption = GetPaintManager()->DrawCommandBarGripper(&dc, this, FALSE);
    CRect rcBorders(3, szCaption.cy + 4, 3, 3);
    CXTPControl* pClose = nullptr;
    if (m_nType != xtpBarTypeMenuBar && m_bCloseable)
        pClose = EnsureOwnControl(XTP_ID_TOOLBAR_HIDE, RUNTIME_CLASS(CXTPToolBarCloseButton));
    CXTPCommandBars* pCommandBars = GetCommandBars();
    CXTPControl* pExpand = nullptr;
    if (m_bShowExpandButton && pCommandBars)
        pExpand = EnsureOwnControl(XTP_ID_TOOLBAR_EXPAND, RUNTIME_CLASS(CXTPToolBarExpandButton));
    CSize sz = m_pControls->CalcDynamicSize(&dc, nLength, dwMode, rcBorders, 0);
    int nRight = sz.cx - 3;
    if (pClose) {
        pClose->SetHideFlags(0);
        pClose->SetRect(CRect(nRight - szCaption.cy, 3, nRight, szCaption.cy + 3));
        nRight -= szCaption.cy;
    }
    BOOL bExpandAlways = !pCommandBars || pCommandBars->GetCommandBarsOptions()->bShowExpandButtonAlways;
    if (pExpand && nRight - szCaption.cy > 0 && bExpandAlways) {
        pExpand->SetHideFlags(0);
        pExpand->SetRect(CRect(nRight - szCaption.cy, 3, nRight, szCaption.cy + 3));
    }
    if (pExpand && (pClose || !pExpand->GetHideFlags()))
        pExpand->SetWrap(TRUE);
    return sz;
}

void CXTPToolBar::OnRecalcLayout()
{
    m_dwState &= ~stateLayout;
    if (!m_hWnd)
        return;
    if (m_nPosition == xtpBarFloating) {
        CSize sz = CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH | LM_COMMIT);
        CRect rc;
        GetWindowRect(&rc);
        SetWindowPos(nullptr, 0, 0, sz.cx, sz.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        Invalidate(FALSE);
        return;
    }
    if (CXTPCommandBars* pCommandBars = GetCommandBars())
        pCommandBars->RecalcFrameLayout(FALSE);
}

LRESULT CXTPToolBar::OnSizeParent(WPARAM /*wParam*/, LPARAM lParam)
{
    if (m_pDockBar || m_nPosition > xtpBarRight || !IsVisible())
        return 0;
    auto* pLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    CRect rcFree = pLayout->rect;
    BOOL bHorizontal = m_nPosition == xtpBarTop || m_nPosition == xtpBarBottom;
    // A pass without deferred positions only measures: the controls stay where they are.
    DWORD dwMode = (pLayout->hDWP ? LM_COMMIT : 0) | (bHorizontal ? LM_HORZ | LM_HORZDOCK : LM_VERTDOCK);
    if (m_dwFlags & 0x40)
        dwMode |= LM_STRETCH;
    // A bar with an expand button hides what does not fit behind it; the menu bar wraps into rows.
    if ((m_bShowExpandButton && GetCommandBars()) || (m_dwFlags & 0x20))
        dwMode |= xtpLayoutHideWrap;
    CSize sz = CalcDockingLayout(bHorizontal ? rcFree.Width() : rcFree.Height(), dwMode);
    CRect rcBar = rcFree;
    switch (m_nPosition) {
    case xtpBarTop:
        rcBar.bottom = rcBar.top + sz.cy;
        pLayout->rect.top = rcBar.bottom;
        break;
    case xtpBarBottom:
        rcBar.top = rcBar.bottom - sz.cy;
        pLayout->rect.bottom = rcBar.top;
        break;
    case xtpBarLeft:
        rcBar.right = rcBar.left + sz.cx;
        pLayout->rect.left = rcBar.right;
        break;
    default:
        rcBar.left = rcBar.right - sz.cx;
        pLayout->rect.right = rcBar.left;
        break;
    }
    AfxRepositionWindow(pLayout, m_hWnd, rcBar);
    Invalidate(FALSE);
    return 0;
}

void CXTPToolBar::OnRButtonDown(UINT nFlags, CPoint point)
{
    CXTPCommandBars* pCommandBars = GetCommandBars();
    if (IsCustomizeMode() || !m_bContextMenuPresent || !pCommandBars) {
        CXTPCommandBar::OnRButtonDown(nFlags, point);
        return;
    }
    SetTrackingMode(0, TRUE, FALSE);
    SetSelected(-1);
    ClientToScreen(&point);
    pCommandBars->ContextMenu(0, point);
}

void CXTPToolBar::Copy(CXTPCommandBar* pOther, BOOL bRecursive)
{
    CXTPCommandBar::Copy(pOther, bRecursive);
    if (!pOther->IsKindOf(RUNTIME_CLASS(CXTPToolBar)))
        return;
    auto* pToolBar = static_cast<CXTPToolBar*>(pOther);
    m_bBuiltIn = pToolBar->m_bBuiltIn;
    m_bTearOff = pToolBar->m_bTearOff;
    m_bCloseable = pToolBar->m_bCloseable;
}

void CXTPToolBar::BuildCustomizePopup(CXTPCommandBar* pPopup)
{
    // The list changes under the hot control and the open one (the expand button whose popup is opening): the
    // bar's indexes follow them to their new places.
    CXTPControl* pKept[] = {GetSelectedControl(), m_pControls->GetAt(m_nPopuped)};
    for (CXTPControl* pControl : pKept)
        if (pControl)
            pControl->InternalAddRef();
    RestoreOriginalControls();
    auto indexOf = [this](CXTPControl* pControl) {
        return pControl && pControl->GetParent() == this ? pControl->GetIndex() : -1;
    };
    m_nSelected = indexOf(pKept[0]);
    m_nPopuped = indexOf(pKept[1]);
    for (CXTPControl* pControl : pKept)
        if (pControl)
            pControl->InternalRelease();
    FillCustomizeItems(pPopup);
}

void CXTPToolBar::RestoreOriginalControls()
{
    // Controls the user hid leave the bar; the original list puts each command back in its place.
    for (int i = m_pControls->GetCount() - 1; i >= 0; i--)
        if (m_pControls->GetAt(i)->GetHideFlags() & xtpHideCustomize)
            m_pControls->Remove(i);
    CXTPControls* pOriginal = m_pControls->GetOriginalControls();
    CXTPControls* pOriginals = pOriginal ? pOriginal->Duplicate() : new CXTPControls;
    int nIndex = 0;
    for (int k = 0; k < pOriginals->GetCount(); k++) {
        CXTPControl* pOriginalControl = pOriginals->GetAt(k);
        int nFound = m_pControls->FindIndex(pOriginalControl, 0);
        if (nFound != -1) {
            nIndex = nFound + 1;
        } else {
            CXTPControl* pInserted = m_pControls->InsertControl(pOriginalControl, nIndex++);
            pInserted->SetHideFlags(pInserted->GetHideFlags() | xtpHideCustomize);
        }
    }
    pOriginals->InternalRelease();
}

void CXTPToolBar::FillCustomizeItems(CXTPCommandBar* pPopup)
{
    CXTPCommandBars* pCommandBars = GetCommandBars();
    CXTPShortcutManager* pShortcuts = pCommandBars ? pCommandBars->GetShortcutManager() : nullptr;
    for (int i = 0; i < m_pControls->GetCount(); i++) {
        CXTPControl* pControl = m_pControls->GetAt(i);
        if (pControl->GetID() == XTP_ID_TOOLBAR_EXPAND || pControl->GetID() == XTP_ID_TOOLBAR_HIDE ||
            (pControl->GetHideFlags() & (xtpHideGeneric | xtpHideDocTemplate)) || (pControl->GetFlags() & 16))
            continue;
        auto* pItem = static_cast<CXTPToolBarCustomizeItem*>(
            pPopup->GetControls()->AddControl(new CXTPToolBarCustomizeItem, pControl->GetID()));
        pItem->SetCaption(pControl->GetCaption());
        if (pControl->GetType() >= xtpControlButton && pControl->GetType() <= xtpControlSplitButtonPopup)
            pItem->SetIconId(pControl->GetIconId());
        CString strShortcut;
        if (pShortcuts)
            pShortcuts->FindShortcutText(static_cast<UINT>(pControl->GetID()), strShortcut);
        pItem->SetShortcutText(strShortcut);
        pItem->SetBeginGroup(pControl->GetBeginGroup());
        pItem->SetChecked(!(pControl->GetHideFlags() & xtpHideCustomize));
        pItem->SetFlags(xtpFlagManualUpdate);
        pItem->SetCloseSubMenuOnClick(FALSE);
        pItem->SetTarget(pControl, nullptr);
    }
    if (m_pControls->GetOriginalControls() && m_bBuiltIn && !m_bTearOff) {
        auto* pReset = static_cast<CXTPToolBarCustomizeItem*>(
            pPopup->GetControls()->AddControl(new CXTPToolBarCustomizeItem, 0));
        CString strReset;
        XTPGetResourceLoader()->LoadString(&strReset, XTP_IDS_RESET_TOOLBAR);
        pReset->SetCaption(strReset);
        pReset->SetBeginGroup(TRUE);
        pReset->SetFlags(xtpFlagManualUpdate);
        pReset->SetTarget(nullptr, this);
    }
}

void CXTPToolBar::Reset()
{
    if (!m_bBuiltIn || !m_nBarID || !m_bCustomizable || !ConfirmReset())
        return;
    if (CXTPControls* pOriginal = m_pControls->GetOriginalControls()) {
        pOriginal->InternalAddRef();
        m_pControls->RemoveAll();
        for (int i = 0; i < pOriginal->GetCount(); i++)
            if (!pOriginal->GetAt(i)->IsTemporary())
                m_pControls->InsertControl(pOriginal->GetAt(i), m_pControls->GetCount());
        pOriginal->InternalRelease();
    } else {
        LoadToolBar(m_nBarID, FALSE);
    }
    OnUpdateCmdUI(TRUE);
    OnRecalcLayout();
}

BOOL CXTPToolBar::ConfirmReset()
{
    CString strFormat, strMessage;
    XTPGetResourceLoader()->LoadString(&strFormat, XTP_IDS_CONFIRM_RESET);
    strMessage.Format(strFormat, static_cast<LPCTSTR>(m_strTitle));
    CWnd* pSite = GetSite();
    HWND hWndSite = pSite ? pSite->GetSafeHwnd() : nullptr;
    return AfxMessageBoxOwned(hWndSite, strMessage, MB_OKCANCEL | MB_ICONWARNING) == IDOK;
}

CXTPToolBarExpandButton::CXTPToolBarExpandButton()
{
    m_nType = xtpControlButtonPopup;
}

BOOL CXTPToolBarExpandButton::SetPopup(BOOL bPopup)
{
    auto* pBar = static_cast<CXTPToolBar*>(m_pParent);
    if (!bPopup) {
        if (CXTPCommandBar* pPopup = GetCommandBar())
            pPopup->SetTrackingMode(0, TRUE, FALSE);
        RedrawParent();
        return TRUE;
    }
    if (!pBar || !pBar->GetSafeHwnd())
        return FALSE;
    SetCommandBar(nullptr);
    CXTPCommandBars* pCommandBars = pBar->GetCommandBars();
    XTP_BAR_CREATE create = {nullptr, FALSE, 1, FALSE, FALSE, nullptr, 0};
    CXTPPopupBar* pPopup = nullptr;
    CWnd* pSite = pBar->GetSite();
    if (pSite && pSite->GetSafeHwnd() && pSite->SendMessage(XTPM_BARCREATE, 0, reinterpret_cast<LPARAM>(&create)) &&
        create.pCommandBar && create.pCommandBar->IsKindOf(RUNTIME_CLASS(CXTPPopupBar)))
        pPopup = static_cast<CXTPPopupBar*>(create.pCommandBar);
    else
        pPopup = CXTPPopupToolBar::CreatePopupToolBar(pCommandBars);
    pPopup->SetCustomizable(FALSE);
    SetCommandBar(pPopup);
    pPopup->InternalRelease();
    if (pCommandBars) {
        pCommandBars->GetHiddenControls(pBar, pPopup);
        if (pCommandBars->GetCommandBarsOptions()->bShowExpandButtonAlways || pCommandBars->IsCustomizeAvail()) {
            CXTPControl* pAdd = pPopup->GetControls()->Add(xtpControlPopup, 0);
            CString strCaption;
            XTPGetResourceLoader()->LoadString(&strCaption, XTP_IDS_ADDORREMOVE);
            pAdd->SetCaption(strCaption);
            if (pPopup->GetControls()->GetCount() > 2)
                pAdd->SetBeginGroup(TRUE);
            if (CXTPCommandBar* pList = pAdd->GetCommandBar())
                pCommandBars->BuildExpandPopup(pBar, pList);
        }
    }
    BOOL bOpened = pPopup->Popup(this, m_nSelected == 2);
    RedrawParent();
    return bOpened;
}

void CXTPToolBarExpandButton::Draw(CDC* pDC)
{
    int nGlyph = m_pParent && m_pParent->GetPosition() == xtpBarFloating ? CXTPBarPainter::glyphArrow
                                                                        : CXTPBarPainter::glyphExpand;
    GetPaintManager()->DrawGlyph(pDC, m_pParent, nGlyph, this, TRUE);
}

void CXTPToolBarCloseButton::OnExecute()
{
    if (m_pParent && m_pParent->IsKindOf(RUNTIME_CLASS(CXTPToolBar)))
        static_cast<CXTPToolBar*>(m_pParent)->SetVisible(FALSE);
}

void CXTPToolBarCloseButton::Draw(CDC* pDC)
{
    GetPaintManager()->DrawGlyph(pDC, m_pParent, CXTPBarPainter::glyphClose, this, TRUE);
}

CXTPToolBarCustomizeItem::~CXTPToolBarCustomizeItem()
{
    SetTarget(nullptr, nullptr);
}

void CXTPToolBarCustomizeItem::SetTarget(CXTPControl* pControl, CXTPToolBar* pBar)
{
    if (pControl)
        pControl->InternalAddRef();
    if (m_pTargetControl)
        m_pTargetControl->InternalRelease();
    m_pTargetControl = pControl;
    m_pTargetBar = pBar;
}

void CXTPToolBarCustomizeItem::OnExecute()
{
    CXTPCommandBars* pCommandBars = m_pParent ? m_pParent->GetCommandBars() : nullptr;
    if (pCommandBars)
        pCommandBars->GetCommandBarsOptions()->bDirtyState = TRUE;
    if (m_pTargetControl) {
        m_pTargetControl->SetHideFlags(m_pTargetControl->GetHideFlags() ^ xtpHideCustomize);
        SetChecked(!(m_pTargetControl->GetHideFlags() & xtpHideCustomize));
        if (CXTPCommandBar* pBar = m_pTargetControl->GetParent())
            pBar->OnRecalcLayout();
        if (m_pParent && m_pParent->GetSafeHwnd())
            m_pParent->Invalidate(FALSE);
    } else if (m_pTargetBar) {
        if (pCommandBars)
            pCommandBars->ClosePopups();
        m_pTargetBar->Reset();
    }
}
