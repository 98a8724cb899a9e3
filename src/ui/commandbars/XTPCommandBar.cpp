#include "ui/commandbars/XTPCommandBar.h"

#include "ui/persist/PropExchange.h"

#include "platform/mfc/afxframe.h"
#include "platform/mfc/afxmodule.h"
#include "ui/commandbars/XTPCommandBars.h"
#include "ui/commandbars/XTPCustomizeDropSource.h"
#include "ui/commandbars/XTPPopupBar.h"
#include "ui/commandbars/XTPPopupShadows.h"
#include "ui/commandbars/XTPShortcutManager.h"
#include "ui/commandbars/XTPToolBar.h"
#include "ui/persist/ImageManager.h"
#include "ui/themes/BarPainter.h"
#include "ui/themes/DrawHelpers.h"
#include "ui/themes/TipContext.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <vector>
#include <windowsx.h>

IMPLEMENT_SERIAL(CXTPCommandBar, CWnd, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)

BOOL CompareAccelKey(TCHAR chAccel, TCHAR chKey)
{
    return ::CharUpperW(reinterpret_cast<LPWSTR>(static_cast<UINT_PTR>(chAccel))) ==
           ::CharUpperW(reinterpret_cast<LPWSTR>(static_cast<UINT_PTR>(chKey)));
}

TCHAR GetAccelKey(const CString& strCaption, BOOL* pbExplicit)
{
    *pbExplicit = FALSE;
    for (int i = 0; i + 1 < strCaption.GetLength(); i++) {
        if (strCaption[i] != L'&')
            continue;
        if (strCaption[i + 1] == L'&') {
            i++;   // "&&" is a plain '&'
            continue;
        }
        *pbExplicit = TRUE;
        return strCaption[i + 1];
    }
    return strCaption.IsEmpty() ? 0 : strCaption[0];
}

int GetDirectionCode(UINT nKey, BOOL bHorizontal, BOOL bRTL)
{
    if (bRTL && (nKey == VK_LEFT || nKey == VK_RIGHT))
        nKey = nKey == VK_LEFT ? VK_RIGHT : VK_LEFT;
    switch (nKey) {
    case VK_RETURN: return xtpKeyReturn;
    case VK_ESCAPE: return xtpKeyEscape;
    case VK_HOME: return xtpKeyHome;
    case VK_END: return xtpKeyEnd;
    case VK_RIGHT: return bHorizontal ? xtpKeyNext : xtpKeyPopupOpen;
    case VK_LEFT: return bHorizontal ? xtpKeyBack : xtpKeyPopupClose;
    case VK_UP: return bHorizontal ? xtpKeyPopupClose : xtpKeyBack;
    case VK_DOWN: return bHorizontal ? xtpKeyPopupOpen : xtpKeyNext;
    }
    return -1;
}

namespace
{
template <class TMatch>
int FindAccelIndexIf(const CXTPControls* pControls, int nSelected, TMatch matches, BOOL* pbAmbiguous,
                     BOOL bFirstLetter)
{
    *pbAmbiguous = FALSE;
    int nCount = pControls->GetCount(), nExplicit = -1, nFirstLetter = -1;
    BOOL bSecondExplicit = FALSE, bSecondFirstLetter = FALSE;
    for (int k = 1; k <= nCount; k++) {
        int nIndex = ((nSelected < 0 ? -1 : nSelected) + k) % nCount;
        CXTPControl* pControl = pControls->GetAt(nIndex);
        if ((pControl->GetHideFlags() & ~xtpHideScroll) || (pControl->GetFlags() & xtpFlagSkipFocus) ||
            !pControl->GetEnabled() || pControl->GetCaption().IsEmpty())
            continue;
        BOOL bExplicit;
        TCHAR chAccel = GetAccelKey(pControl->GetCaption(), &bExplicit);
        if (!matches(chAccel) || (!bExplicit && !bFirstLetter))
            continue;
        int& nFound = bExplicit ? nExplicit : nFirstLetter;
        BOOL& bSecond = bExplicit ? bSecondExplicit : bSecondFirstLetter;
        if (nFound == -1)
            nFound = nIndex;
        else
            bSecond = TRUE;
    }
    if (nExplicit != -1) {
        *pbAmbiguous = bSecondExplicit;
        return nExplicit;
    }
    *pbAmbiguous = bSecondFirstLetter;
    return nFirstLetter;
}

// The bytes of toolbar resource nID: bitmap size and the command ids, 0 for separators.
BOOL ReadToolBarResource(UINT nID, CSize& szBitmap, std::vector<UINT>& arrIds)
{
    LPCTSTR lpszName = MAKEINTRESOURCEW(nID & 0xFFFF);
    LPCTSTR lpszType = MAKEINTRESOURCEW(241);
    HINSTANCE hInstance = AfxFindResourceHandle(lpszName, lpszType);
    HRSRC hResource = ::FindResourceW(hInstance, lpszName, lpszType);
    HGLOBAL hGlobal = hResource ? ::LoadResource(hInstance, hResource) : nullptr;
    const WORD* pData = hGlobal ? static_cast<const WORD*>(::LockResource(hGlobal)) : nullptr;
    DWORD nSize = hResource ? ::SizeofResource(hInstance, hResource) : 0;
    if (!pData || nSize < 4 * sizeof(WORD) || nSize < (4u + pData[3]) * sizeof(WORD))
        return FALSE;
    szBitmap = CSize(pData[1], pData[2]);
    arrIds.assign(pData + 4, pData + 4 + pData[3]);
    return TRUE;
}
}

int FindAccelIndex(const CXTPControls* pControls, int nSelected, TCHAR chKey, BOOL* pbAmbiguous, BOOL bFirstLetter)
{
    return FindAccelIndexIf(
        pControls, nSelected, [chKey](TCHAR chAccel) { return CompareAccelKey(chAccel, chKey); }, pbAmbiguous,
        bFirstLetter);
}

int FindAccelIndex(const CXTPControls* pControls, int nSelected, UINT nVirtKey, const CXTPCommandBars* pCommandBars,
                   BOOL* pbAmbiguous, BOOL bFirstLetter)
{
    if (!pCommandBars) {
        TCHAR chKey = static_cast<TCHAR>(::MapVirtualKeyW(nVirtKey, MAPVK_VK_TO_CHAR) & 0xFFFF);
        *pbAmbiguous = FALSE;
        return chKey ? FindAccelIndex(pControls, nSelected, chKey, pbAmbiguous, bFirstLetter) : -1;
    }
    const CXTPShortcutManager* pShortcuts = pCommandBars->GetShortcutManager();
    return FindAccelIndexIf(
        pControls, nSelected,
        [pShortcuts, nVirtKey](TCHAR chAccel) { return pShortcuts->CompareAccelKey(chAccel, nVirtKey); },
        pbAmbiguous, bFirstLetter);
}

CString GetControlTipText(const CXTPControl* pControl, const CXTPCommandBarsOptions* pOptions, BOOL bPopupBar)
{
    if (pOptions && !bPopupBar && !pOptions->bToolBarScreenTips)
        return CString();
    CString strTip = pControl->GetTooltip();
    CString strShortcut = pControl->GetShortcutText();
    if (pOptions && pOptions->bToolBarAccelTips && !strTip.IsEmpty() && !strShortcut.IsEmpty())
        strTip += L" (" + strShortcut + L")";
    return strTip;
}

BEGIN_MESSAGE_MAP(CXTPCommandBar, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_WM_NCMOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
    ON_WM_TIMER()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_MESSAGE(WM_PRINT, &CXTPCommandBar::OnPrint)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, &CXTPCommandBar::OnIdleUpdateCmdUI)
    ON_MESSAGE(WM_INITIALUPDATE, &CXTPCommandBar::OnIdleUpdateCmdUI)
    ON_MESSAGE(WM_GETOBJECT, &CXTPCommandBar::OnGetObject)
    ON_WM_NCHITTEST()
    ON_WM_NCLBUTTONDOWN()
    ON_MESSAGE(WM_HELPHITTEST, &CXTPCommandBar::OnHelpHitTest)
END_MESSAGE_MAP()

CXTPCommandBar::CXTPCommandBar() : m_pControls(new CXTPControls)
{
    m_pControls->SetParent(this);
}

CXTPCommandBar::~CXTPCommandBar()
{
    SetTrackingMode(0, TRUE, FALSE);
    CWindowHookManager::GetInstance()->RemoveHookFromAll(this);
    CMouseManager* pMouse = CMouseManager::GetThreadManager();
    if (pMouse->m_pHotBar == this)
        pMouse->m_pHotBar = nullptr;
    m_pControls->RemoveAll();
    m_pControls->SetParent(nullptr);
    m_pControls->InternalRelease();
    if (m_pPainter)
        m_pPainter->InternalRelease();
    if (m_pImages)
        m_pImages->ReleaseImages();
    if (m_pToolTipContext)
        m_pToolTipContext->InternalRelease();
}

void CXTPCommandBar::SetControls(CXTPControls* pControls)
{
    pControls->InternalAddRef();
    m_pControls->SetParent(nullptr);
    m_pControls->InternalRelease();
    m_pControls = pControls;
    m_pControls->SetParent(this);
    m_pControls->RefreshIndexes();
    OnControlsChanged();
}

LRESULT CXTPCommandBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pToolTipContext)
        m_pToolTipContext->ToolHitTest(this, message, wParam, lParam);
    return CWnd::WindowProc(message, wParam, lParam);
}

INT_PTR CXTPCommandBar::OnToolHitTest(CPoint point, TOOLINFO* pTI) const
{
    CXTPControl* pControl = m_pControls->HitTest(point);
    if (!pControl || IsCustomizeMode())
        return -1;
    CXTPCommandBars* pCommandBars = GetCommandBars();
    CString strTip = GetControlTipText(pControl, pCommandBars ? pCommandBars->GetCommandBarsOptions() : nullptr,
                                       m_nType == xtpBarTypePopup);
    if (strTip.IsEmpty())
        return -1;
    INT_PTR nID = pControl->GetIndex() + 1;
    CTipContext::FillToolInfo(pTI, m_hWnd, static_cast<UINT_PTR>(nID), pControl->GetRect(), 0, strTip);
    return nID;
}

void CXTPCommandBar::OnFinalRelease()
{
    if (m_hWnd)
        DestroyWindow();
    delete this;
}

CXTPCommandBar* CXTPCommandBar::GetRootParent()
{
    CXTPCommandBar* pBar = this;
    while (CXTPCommandBar* pParent = pBar->GetParentCommandBar())
        pBar = pParent;
    return pBar;
}

CWnd* CXTPCommandBar::GetSite()
{
    CXTPCommandBar* pRoot = GetRootParent();
    if (pRoot->m_pSite)
        return pRoot->m_pSite;
    if (!pRoot->m_hWnd)
        return AfxGetMainWnd();
    if (pRoot->m_pOwner)
        return pRoot->m_pOwner;
    return CWnd::FromHandle(::GetParent(pRoot->m_hWnd));
}

CWnd* CXTPCommandBar::GetOwnerSite()
{
    CXTPCommandBar* pRoot = GetRootParent();
    return pRoot->m_pOwner ? pRoot->m_pOwner : pRoot->GetSite();
}

CXTPBarPainter* CXTPCommandBar::GetPaintManager()
{
    if (m_pPainter)
        return m_pPainter;
    CXTPCommandBars* pCommandBars = GetCommandBars();
    if (pCommandBars && pCommandBars->GetOwnPaintManager())
        return pCommandBars->GetOwnPaintManager();
    CXTPCommandBar* pRoot = GetRootParent();
    if (pRoot->m_pPainter)
        return pRoot->m_pPainter;
    return CXTPBarPainter::GetInstalled();
}

CXTPBarImages* CXTPCommandBar::GetImageManager()
{
    if (m_pImages)
        return m_pImages;
    CXTPCommandBars* pCommandBars = GetCommandBars();
    if (pCommandBars && pCommandBars->GetOwnImageManager())
        return pCommandBars->GetOwnImageManager();
    CXTPCommandBar* pRoot = GetRootParent();
    return pRoot->m_pImages ? pRoot->m_pImages : XTPImageManager();
}

CXTPCommandBars* CXTPCommandBar::GetCommandBars() const
{
    if (m_pCommandBars)
        return m_pCommandBars;
    for (CXTPCommandBar* pParent = GetParentCommandBar(); pParent; pParent = pParent->GetParentCommandBar())
        if (pParent->m_pCommandBars)
            return pParent->m_pCommandBars;
    return nullptr;
}

BOOL CXTPCommandBar::IsCustomizeMode() const
{
    CXTPCommandBars* pCommandBars = GetCommandBars();
    return pCommandBars && pCommandBars->IsCustomizeMode();
}

BOOL CXTPCommandBar::IsKeyboardCuesVisible() const
{
    CXTPCommandBars* pCommandBars = GetCommandBars();
    return !pCommandBars || pCommandBars->IsKeyboardCuesVisible();
}

CSize CXTPCommandBar::GetIconSize() const
{
    CXTPCommandBars* pCommandBars = GetCommandBars();
    if (!pCommandBars)
        return m_szIcons.cx ? m_szIcons : CSize(16, 16);
    const CXTPCommandBarsOptions* pOptions = pCommandBars->GetCommandBarsOptions();
    if (m_nType == xtpBarTypePopup)
        return m_szIcons.cx ? m_szIcons : pOptions->szPopupIcons;
    CSize sz = m_szIcons.cx ? m_szIcons : pOptions->szIcons.cx ? pOptions->szIcons : CSize(16, 16);
    if (pOptions->bLargeIcons && !m_szButtons.cx)
        sz = pOptions->szLargeIcons.cx ? pOptions->szLargeIcons : CSize(sz.cx * 2, sz.cy * 2);
    return sz;
}

BOOL CXTPCommandBar::IsTextBelowIcons() const
{
    if (m_nTextBelowIcons != 2)
        return m_nTextBelowIcons;
    CXTPCommandBars* pCommandBars = GetCommandBars();
    return pCommandBars && pCommandBars->GetCommandBarsOptions()->bShowTextBelowIcons;
}

void CXTPCommandBar::SetPaintManager(CXTPBarPainter* pPainter)
{
    if (m_pPainter)
        m_pPainter->InternalRelease();
    m_pPainter = pPainter;
}

void CXTPCommandBar::SetImageManager(CXTPBarImages* pImages)
{
    if (m_pImages)
        m_pImages->ReleaseImages();
    m_pImages = pImages;
}

void CXTPCommandBar::InvalidateParents()
{
    for (CXTPCommandBar* pBar = this; pBar; pBar = pBar->GetParentCommandBar())
        if (pBar->m_hWnd)
            pBar->Invalidate(FALSE);
}

void CXTPCommandBar::ClosePopups()
{
    CXTPCommandBar* pRoot = GetRootParent();
    if (pRoot->m_bNested || pRoot->m_nType == xtpBarTypePopup) {
        pRoot->StopTracking();
        return;
    }
    CMouseManager::GetThreadManager()->UntrackAll();
}

void CXTPCommandBar::RedrawIfUnlocked()
{
    if (--m_nRedrawLock > 0)
        return;
    m_nRedrawLock = 0;
    m_dwState &= ~stateRedraw;
    if (m_hWnd)
        Invalidate(FALSE);
}

BOOL CXTPCommandBar::SetSelected(int nSelected, BOOL bKeyboard)
{
    m_bKeyboardSelect = bKeyboard;
    if (m_nSelected == nSelected)
        return FALSE;
    // The menu of the control left may close and the new one's open: its shadow takes the closing one's windows.
    CXTPPopupShadows::CHold holdShadows;
    m_nRedrawLock++;
    if (CXTPControl* pOld = m_pControls->GetAt(m_nSelected))
        pOld->SetSelected(0);
    m_nSelected = nSelected;
    if (CXTPControl* pControl = m_pControls->GetAt(nSelected)) {
        if (m_nTrackingMode && m_hWnd)
            CXTPAccessibleEntries::NotifyWinEvent(EVENT_OBJECT_FOCUS, m_hWnd, OBJID_MENU, nSelected + 1);
        pControl->SetSelected(bKeyboard ? 2 : 1);
        CMouseManager::GetThreadManager()->m_pHotBar = this;
        if (!bKeyboard && m_hWnd)
            SetTimer(XTP_TID_HOVER, 300);
    } else {
        m_nSelected = -1;
        if (m_hWnd)
            KillTimer(XTP_TID_HOVER);
    }
    RedrawIfUnlocked();
    return TRUE;
}

void CXTPCommandBar::OnControlSelected(BOOL bSelected, CXTPControl* pControl)
{
    CWnd* pSite = GetSite();
    if (!pSite || !pSite->GetSafeHwnd())
        return;
    pSite->SendMessage(XTPM_HOTCONTROL, reinterpret_cast<WPARAM>(bSelected ? pControl : nullptr));
    CXTPCommandBars* pCommandBars = GetCommandBars();
    if (pCommandBars && !pCommandBars->GetCommandBarsOptions()->bShowStatusBarPrompts)
        return;
    if (bSelected)
        pSite->SendMessage(WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(pControl->GetDescription())));
    else
        pSite->SendMessage(WM_POPMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
}

BOOL CXTPCommandBar::SetPopuped(int nPopuped, BOOL bKeyboard)
{
    CXTPPopupShadows::CHold holdShadows;
    m_nRedrawLock++;
    BOOL bChanged = FALSE;
    if (CXTPControl* pOpen = m_pControls->GetAt(m_nPopuped)) {
        m_nPopuped = -1;
        pOpen->SetPopup(FALSE);
        bChanged = TRUE;
    }
    m_nPopuped = -1;
    CXTPControl* pControl = m_pControls->GetAt(nPopuped);
    if (pControl && pControl->GetEnabled() && pControl->IsKindOf(RUNTIME_CLASS(CXTPControlPopup))) {
        m_nPopuped = nPopuped;
        SetTrackingMode(2, FALSE, bKeyboard);
        SetSelected(nPopuped, bKeyboard);
        pControl->SetPopup(TRUE);
        bChanged = TRUE;
        CXTPCommandBars* pCommandBars = GetCommandBars();
        if (m_hWnd && pCommandBars && pCommandBars->GetCommandBarsOptions()->bShowFullAfterDelay)
            SetTimer(XTP_TID_EXPANDED_POPUP, 800);
    }
    RedrawIfUnlocked();
    return bChanged;
}

BOOL CXTPCommandBar::SetTrackingMode(int nMode, BOOL bSelectFirst, BOOL bKeyboard)
{
    if ((m_nTrackingMode != 0) == (nMode != 0)) {
        m_nTrackingMode = nMode;
        return FALSE;
    }
    m_nTrackingMode = nMode;
    if (nMode)
        EnterTracking(bSelectFirst, bKeyboard);
    else
        LeaveTracking(bSelectFirst);
    if (CXTPCommandBars* pCommandBars = GetCommandBars())
        pCommandBars->OnTrackingModeChanged(this, nMode);
    return TRUE;
}

void CXTPCommandBar::EnterTracking(BOOL bSelectFirst, BOOL bKeyboard)
{
    if (m_nType == xtpBarTypeMenuBar)
        if (CWnd* pSite = GetSite())
            pSite->SendMessage(XTPM_TRACKINGENTERED, reinterpret_cast<WPARAM>(this));
    m_bMouseStarted = !bSelectFirst && !bKeyboard;
    if (m_bHideCaret) {
        m_hWndFocus = ::GetFocus();
        if (!m_hWndFocus && GetSite())
            m_hWndFocus = GetSite()->GetSafeHwnd();
        ::HideCaret(m_hWndFocus);
    }
    CMouseManager::GetThreadManager()->AddTrackedBar(this);
    CKeyboardManager::GetThreadManager()->AddHandler(this);
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    if (bSelectFirst)
        SetSelected(m_pControls->GetNextIndex(-1, 1, TRUE, FALSE, TRUE), TRUE);
}

void CXTPCommandBar::LeaveTracking(BOOL bClearSelection)
{
    m_bMouseStarted = FALSE;
    m_bKeyboardSelect = FALSE;
    CMouseManager* pMouse = CMouseManager::GetThreadManager();
    pMouse->RemoveTrackedBar(this);
    CKeyboardManager::GetThreadManager()->RemoveHandler(this);
    SetPopuped(-1);
    // Its menus have all closed: the next visit's first menu animates again.
    m_bAnimateNextPopup = TRUE;
    if (bClearSelection)
        SetSelected(-1);
    if (m_bHideCaret && m_hWndFocus) {
        ::ShowCaret(m_hWndFocus);
        m_hWndFocus = nullptr;
    }
    if (m_hWnd && m_nRedrawLock == 0)
        Invalidate(FALSE);
    if (!pMouse->IsTracking())
        pMouse->m_bMenusExpanded = FALSE;
    if (m_hWnd && ::GetFocus() == m_hWnd)
        if (CWnd* pParent = GetParent())
            if (CWnd* pNext = pParent->GetNextDlgTabItem(this))
                pNext->SetFocus();
    m_nInputLock = 0;
}

UINT CXTPCommandBar::GetFirstFloatStatus(HWND hWnd)
{
    HWND hWndFrame = ::GetAncestor(hWnd, GA_ROOTOWNER);
    HWND hWndForeground = ::GetForegroundWindow();
    if (!hWndFrame || !hWndForeground)
        return FS_DEACTIVATE;
    if (hWndForeground == hWndFrame)
        return FS_ACTIVATE;
    if (hWndForeground == ::GetLastActivePopup(hWndFrame) &&
        ::SendMessageW(hWndForeground, WM_FLOATSTATUS, FS_SYNCACTIVE, 0))
        return FS_ACTIVATE;
    return FS_DEACTIVATE;
}

int CXTPCommandBar::OnKeyDown(UINT nChar, LPARAM lKeyData)
{
    // In customise mode the keys belong to the sheet: an opened menu runs nothing.
    if (IsCustomizeMode())
        return 2;
    if (m_nInputLock > 0)
        return 1;
    if (CXTPControl* pHot = GetSelectedControl()) {
        int nResult = pHot->OnHookKeyDown(nChar, lKeyData);
        if (nResult == 1 || nResult == 2)
            return nResult;
    }
    XTP_TRACKING_KEY key = {nChar, lKeyData};
    CWnd* pSite = GetSite();
    if (pSite && pSite->GetSafeHwnd()) {
        pSite->SendMessage(XTPM_TRACKINGKEY, reinterpret_cast<WPARAM>(&key), reinterpret_cast<LPARAM>(this));
        nChar = key.nKey;
    }
    BOOL bShift = ::GetKeyState(VK_SHIFT) < 0, bCtrl = ::GetKeyState(VK_CONTROL) < 0;
    if (nChar == VK_TAB) {
        CXTPCommandBar* pRoot = GetRootParent();
        CXTPCommandBars* pCommandBars = GetCommandBars();
        if (bCtrl && pCommandBars && pRoot->IsKindOf(RUNTIME_CLASS(CXTPToolBar)) &&
            pCommandBars->SetTrackingNextBar(pRoot, !bShift))
            return 1;
        ProcessSpecialKey(bShift ? xtpKeyBack : xtpKeyNext);
        if (CXTPControl* pHot = GetSelectedControl())
            pHot->OnTabFocus();
        return 1;
    }
    if (nChar == VK_RETURN || nChar == VK_ESCAPE) {
        ProcessSpecialKey(nChar == VK_RETURN ? xtpKeyReturn : xtpKeyEscape);
        return 1;
    }
    if (m_hWnd && ::IsChild(m_hWnd, ::GetFocus()))
        return 2;
    BOOL bHorizontal = m_nPosition == xtpBarTop || m_nPosition == xtpBarBottom || m_nPosition == xtpBarFloating ||
                       (m_nPosition == xtpBarPopup && m_nType == xtpBarTypeNormal);
    int nCode = GetDirectionCode(nChar, bHorizontal, IsLayoutRTL());
    if (nCode != -1) {
        ProcessSpecialKey(nCode);
        return 1;
    }
    if (!::MapVirtualKeyW(nChar, MAPVK_VK_TO_CHAR))
        return 1;
    // A toolbar's letter may belong to another bar: the manager looks through them first.
    CXTPCommandBars* pCommandBars = GetCommandBars();
    if (m_nType == xtpBarTypeNormal && IsKindOf(RUNTIME_CLASS(CXTPToolBar)) && pCommandBars &&
        pCommandBars->OnFrameAccel(nChar))
        return 1;
    if (bCtrl)
        return 1;
    BOOL bAmbiguous;
    int nIndex = FindAccelIndex(m_pControls, m_nSelected, nChar, pCommandBars, &bAmbiguous);
    if (nIndex == -1) {
        if (nChar != VK_SHIFT && nChar != VK_CONTROL)
            ::MessageBeep(0);
        return 1;
    }
    SetSelected(nIndex, TRUE);
    if (!bAmbiguous)
        m_pControls->GetAt(nIndex)->ExecuteByKeyboard();
    return 1;
}

BOOL CXTPCommandBar::MoveRow(int nStep)
{
    CXTPControl* pHot = GetSelectedControl();
    if (!pHot) {
        int nIndex = m_pControls->GetNextIndex(-1, nStep, TRUE, FALSE, TRUE);
        if (nIndex != -1)
            SetSelected(nIndex, TRUE);
        return TRUE;
    }
    int nHotType = pHot->GetType();
    if (pHot->GetEnabled() && nHotType >= xtpControlPopup && nHotType <= xtpControlSplitButtonPopup) {
        pHot->SetSelected(2);
        SetPopuped(pHot->GetIndex(), TRUE);
        return TRUE;
    }
    // The nearest row in the direction, then the control of it whose left edge is nearest.
    int nTop = pHot->GetRowRect().top, nRowTop = 0, nBest = -1, nBestDistance = 0;
    BOOL bRowFound = FALSE;
    for (int i = 0; i < m_pControls->GetCount(); i++) {
        CXTPControl* pControl = m_pControls->GetAt(i);
        int nControlTop = pControl->GetRowRect().top;
        if (!pControl->IsVisible() || (pControl->GetFlags() & xtpFlagSkipFocus) ||
            (nStep > 0 ? nControlTop <= nTop : nControlTop >= nTop))
            continue;
        if (!bRowFound || (nStep > 0 ? nControlTop < nRowTop : nControlTop > nRowTop)) {
            nRowTop = nControlTop;
            bRowFound = TRUE;
            nBest = -1;
        }
        if (nControlTop != nRowTop)
            continue;
        int nDistance = std::abs(pControl->GetRect().left - pHot->GetRect().left);
        if (nBest == -1 || nDistance < nBestDistance) {
            nBest = i;
            nBestDistance = nDistance;
        }
    }
    if (nBest != -1)
        SetSelected(nBest, TRUE);
    return TRUE;
}

BOOL CXTPCommandBar::ProcessSpecialKey(int nCode)
{
    BOOL bPopupToolBar = m_nPosition == xtpBarPopup && m_nType == xtpBarTypeNormal;
    if (bPopupToolBar && m_nPopuped != -1 && m_nSelected == m_nPopuped) {
        if (nCode == xtpKeyNext)
            return FALSE;
        if (nCode == xtpKeyBack)
            nCode = xtpKeyPopupClose;
    }
    CXTPControl* pHot = GetSelectedControl();
    if (m_nPopuped == -1 && nCode == xtpKeyPopupClose && pHot && pHot->GetEnabled() &&
        pHot->IsKindOf(RUNTIME_CLASS(CXTPControlPopup)) && (bPopupToolBar || !GetParentCommandBar()))
        nCode = xtpKeyPopupOpen;
    if ((bPopupToolBar || m_nPosition == xtpBarFloating) && m_nPopuped == -1 &&
        (nCode == xtpKeyPopupClose || nCode == xtpKeyPopupOpen))
        return MoveRow(nCode == xtpKeyPopupOpen ? 1 : -1);

    switch (nCode) {
    case xtpKeyNext:
    case xtpKeyBack: {
        int nIndex = m_pControls->GetNextIndex(m_nSelected, nCode == xtpKeyNext ? 1 : -1, TRUE, FALSE, TRUE);
        if (nIndex != -1)
            SetSelected(nIndex, TRUE);
        return TRUE;
    }
    case xtpKeyPopupClose:
        if (m_nPopuped == -1)
            return FALSE;
        SetPopuped(-1);
        SetTrackingMode(1, FALSE, TRUE);
        return TRUE;
    case xtpKeyPopupOpen:
        if (pHot && m_nPopuped != m_nSelected) {
            pHot->SetSelected(2);
            SetPopuped(m_nSelected, TRUE);
        }
        return TRUE;
    case xtpKeyEscape:
        if (CXTPCommandBar* pParent = GetParentCommandBar())
            pParent->SetTrackingMode(1, FALSE, TRUE);
        SetTrackingMode(0, TRUE, FALSE);
        return TRUE;
    case xtpKeyReturn:
        if (pHot) {
            pHot->SetSelected(2);
            pHot->OnClick(TRUE, CPoint(0, 0));
        }
        return TRUE;
    case xtpKeyHome:
    case xtpKeyEnd: {
        int nIndex = m_pControls->GetNextIndex(-1, nCode == xtpKeyHome ? 1 : -1, TRUE, FALSE, TRUE);
        if (nIndex != -1)
            SetSelected(nIndex, TRUE);
        return TRUE;
    }
    }
    return FALSE;
}

void CXTPCommandBar::DrawCommandBar(CDC* pDC)
{
    CXTPBarPainter* pPainter = GetPaintManager();
    pPainter->FillCommandBar(pDC, this);
    if (m_dwStyle & 0x400000)
        pPainter->DrawCommandBarGripper(pDC, this, TRUE);
    BOOL bFirst = TRUE;
    for (int i = 0; i < m_pControls->GetCount(); i++) {
        CXTPControl* pControl = m_pControls->GetAt(i);
        if (!pControl->IsVisible())
            continue;
        if (pControl->GetBeginGroup() && !bFirst)
            pPainter->DrawSeparator(pDC, pControl, this, TRUE);
        bFirst = FALSE;
        CFontSelector font(pDC, pPainter->GetControlFont(this, pControl->IsDefaultItem()));
        pControl->Draw(pDC);
    }
    if (IsCustomizeMode())
        DrawCustomizeMarks(pDC);
}

void CXTPCommandBar::OnControlsChanged()
{
    m_nSelected = -1;
    m_nPopuped = -1;
    m_dwState |= stateLayout;
}

void CXTPCommandBar::Copy(CXTPCommandBar* pOther, BOOL bRecursive)
{
    m_nType = pOther->m_nType;
    m_nPosition = pOther->m_nPosition;
    m_nBarID = pOther->m_nBarID;
    m_dwFlags = pOther->m_dwFlags;
    m_dwStyle = pOther->m_dwStyle;
    m_strTitle = pOther->m_strTitle;
    m_bCustomizable = pOther->m_bCustomizable;
    m_pCommandBars = pOther->m_pCommandBars;
    m_nMRUWidth = pOther->m_nMRUWidth;
    m_szIcons = pOther->m_szIcons;
    m_szButtons = pOther->m_szButtons;
    CXTPControls* pControls = pOther->m_pControls->Duplicate(bRecursive);
    m_pControls->SetParent(nullptr);
    m_pControls->InternalRelease();
    m_pControls = pControls;
    m_pControls->SetParent(this);
}

CXTPCommandBar* CXTPCommandBar::Clone(BOOL bRecursive)
{
    CXTPCommandBar* pBar = static_cast<CXTPCommandBar*>(GetRuntimeClass()->CreateObject());
    pBar->Copy(this, bRecursive);
    return pBar;
}

BOOL CXTPCommandBar::IsPointInside(CPoint ptScreen) const
{
    CRect rc;
    return m_hWnd && ::GetWindowRect(m_hWnd, &rc) && rc.PtInRect(ptScreen);
}

void CXTPCommandBar::CCommandBarCmdUI::Enable(BOOL bOn)
{
    m_bEnableChanged = TRUE;
    m_pControl->SetEnabled(bOn);
    if (!bOn)
        m_pControl->SetChecked(FALSE);
}

void CXTPCommandBar::CCommandBarCmdUI::SetCheck(int nCheck)
{
    m_pControl->SetChecked(nCheck != 0);
}

void CXTPCommandBar::CCommandBarCmdUI::SetText(LPCTSTR lpszText)
{
    m_pControl->SetCaption(CString(lpszText));
    m_pControl->RedrawParent();
}

DWORD GetDocTemplateHideFlags(DWORD dwHideFlags, const std::set<UINT>& setAssigned,
                              const std::set<UINT>& setExcluded, UINT nTemplate)
{
    if (!setAssigned.empty())
        dwHideFlags = setAssigned.count(nTemplate) ? dwHideFlags & ~xtpHideDocTemplate
                                                   : dwHideFlags | xtpHideDocTemplate;
    if (!setExcluded.empty())
        dwHideFlags = setExcluded.count(nTemplate) ? dwHideFlags | xtpHideDocTemplate
                                                   : dwHideFlags & ~xtpHideDocTemplate;
    return dwHideFlags;
}

void CXTPCommandBar::UpdateDocTemplateControls()
{
    CXTPCommandBars* pCommandBars = GetCommandBars();
    UINT nTemplate = pCommandBars ? pCommandBars->GetActiveDocTemplate() : 0;
    if (!nTemplate)
        return;
    for (int i = 0; i < m_pControls->GetCount(); i++) {
        CXTPControl* pControl = m_pControls->GetAt(i);
        DWORD dwHideFlags = GetDocTemplateHideFlags(pControl->GetHideFlags(), pControl->GetDocTemplatesAssigned(),
                                                    pControl->GetDocTemplatesExcluded(), nTemplate);
        if (dwHideFlags != pControl->GetHideFlags()) {
            pControl->SetHideFlags(dwHideFlags);
            m_dwState |= stateLayout;
        }
    }
}

void CXTPCommandBar::OnUpdateCmdUI(BOOL bDisableIfNoHandler)
{
    if (!m_hWnd || !IsWindowVisible())
        return;
    UpdateDocTemplateControls();
    CWnd* pSite = GetOwnerSite();
    if (!pSite)
        return;
    BOOL bNoNotify = GetRootParent()->m_bNoNotify;
    for (int i = 0; i < m_pControls->GetCount(); i++) {
        CXTPControl* pControl = m_pControls->GetAt(i);
        if (pControl->GetPressed()) {
            pControl->SetPressed(0);
            DelayRedraw();
        }
        // A control without a command (a sub-menu entry) has nothing to update.
        if (bNoNotify || (pControl->GetFlags() & xtpFlagManualUpdate) || pControl->GetID() == 0)
            continue;
        CCommandBarCmdUI state;
        state.m_pControl = pControl;
        state.m_nID = static_cast<UINT>(pControl->GetID());
        state.m_nIndex = static_cast<UINT>(i);
        state.m_nIndexMax = static_cast<UINT>(m_pControls->GetCount());
        state.m_pOther = this;
        if (OnCmdMsg(state.m_nID, static_cast<int>(CN_UPDATE_COMMAND_UI), &state, nullptr))
            continue;
        // The customise sheet works on every control; an Alt-drag leaves the controls as the frame has them.
        CXTPCommandBars* pCommandBars = GetCommandBars();
        if (pCommandBars && pCommandBars->IsCustomizeMode() && !pCommandBars->IsTemporaryCustomizeMode())
            state.Enable(TRUE);
        else
            state.DoUpdate(pSite, bDisableIfNoHandler);
    }
    if (m_dwState & stateRedraw) {
        m_dwState &= ~stateRedraw;
        Invalidate(FALSE);
    }
    if (m_dwState & stateLayout)
        OnRecalcLayout();
    UpdateDialogControls(pSite, bDisableIfNoHandler);
}

int CXTPCommandBar::OnHookMessage(HWND /*hWnd*/, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& /*lResult*/)
{
    if (!m_nTrackingMode)
        return xtpHookContinue;
    if (nMessage == WM_KEYDOWN)
        return OnKeyDown(static_cast<UINT>(wParam), lParam);
    if (nMessage == WM_MOUSEWHEEL)
        return xtpHookHandled;
    return xtpHookContinue;
}

BOOL CXTPCommandBar::SetButtons(const UINT* pIDs, int nCount)
{
    m_pControls->RemoveAll();
    BOOL bBeginGroup = FALSE;
    CWnd* pSite = GetSite();
    BOOL bSite = pSite && pSite->GetSafeHwnd();
    for (int i = 0; i < nCount; i++) {
        if (pIDs[i] == 0) {
            bBeginGroup = TRUE;
            continue;
        }
        XTP_CONTROL_CREATE create;
        create.nId = static_cast<int>(pIDs[i]);
        create.pControl = nullptr;
        create.nReserved = TRUE;
        create.nIndex = i;
        create.pMenu = nullptr;
        create.pCommandBar = this;
        create.strCaption = m_strTitle;
        create.nType = xtpControlButton;
        create.nStyle = xtpButtonAutomatic;
        LRESULT lAnswer = bSite ? pSite->SendMessage(XTPM_CONTROLCREATE, 0, reinterpret_cast<LPARAM>(&create)) : 0;
        if (!lAnswer) {
            // A site that does not answer changes nothing; a control it left in the record is not taken.
            if (create.pControl)
                create.pControl->InternalRelease();
            create.pControl = nullptr;
            create.nId = static_cast<int>(pIDs[i]);
            create.nType = xtpControlButton;
            create.nStyle = xtpButtonAutomatic;
        }
        CXTPControl* pControl = nullptr;
        if (create.pControl) {
            pControl = m_pControls->AddControl(create.pControl, create.nId);
        } else {
            pControl = m_pControls->Add(create.nType, create.nId);
            if (!pControl)
                continue;
            pControl->SetStyle(create.nStyle);
            pControl->InvalidateParentLayout();
            if (pControl->GetType() == xtpControlPopup && pControl->GetIconId() != create.nId) {
                pControl->SetIconId(create.nId);
                pControl->RedrawParent();
            }
        }
        if (bBeginGroup)
            pControl->SetBeginGroup(TRUE);
        bBeginGroup = FALSE;
        if (bSite) {
            create.pControl = pControl;
            pSite->SendMessage(XTPM_CONTROLCREATED, 0, reinterpret_cast<LPARAM>(&create));
        }
    }
    return TRUE;
}

BOOL CXTPCommandBar::LoadToolBar(UINT nIDResource, BOOL bLoadIcons)
{
    m_pControls->RemoveAll();
    CSize szBitmap;
    std::vector<UINT> arrIds;
    if (!ReadToolBarResource(nIDResource, szBitmap, arrIds))
        return FALSE;
    if (bLoadIcons) {
        auto* pImages = dynamic_cast<CXTPImageManager*>(GetImageManager());
        if (!pImages)
            pImages = XTPImageManager();
        std::vector<UINT> arrCommands;
        std::copy_if(arrIds.begin(), arrIds.end(), std::back_inserter(arrCommands), [](UINT nId) { return nId != 0; });
        if (!pImages->AddIcons(nIDResource, arrCommands.data(), static_cast<int>(arrCommands.size()), szBitmap))
            return FALSE;
        if (szBitmap.cx != 16)
            m_szIcons = szBitmap;
    }
    return SetButtons(arrIds.data(), static_cast<int>(arrIds.size()));
}

BOOL CXTPCommandBar::LoadMenu(CMenu* pMenu, BOOL bClear)
{
    if (!pMenu || !::IsMenu(pMenu->GetSafeHmenu()))
        return FALSE;
    if (bClear)
        m_pControls->RemoveAll();
    BOOL bBeginGroup = FALSE;
    int nCount = static_cast<int>(pMenu->GetMenuItemCount());
    for (int i = 0; i < nCount; i++) {
        MENUITEMINFO info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU;
        if (!pMenu->GetMenuItemInfo(static_cast<UINT>(i), &info, TRUE))
            continue;
        if ((info.fType & MFT_SEPARATOR) || (info.wID == 0 && !info.hSubMenu)) {
            bBeginGroup = TRUE;
            continue;
        }
        CXTPControl* pControl = m_pControls->AddMenuItem(pMenu, i);
        if (!pControl)
            continue;
        if (bBeginGroup)
            pControl->SetBeginGroup(TRUE);
        bBeginGroup = FALSE;
        if (info.fState & MFS_CHECKED)
            pControl->SetChecked(TRUE);
        if (info.fState & (MFS_DISABLED | MFS_GRAYED))
            pControl->SetEnabled(FALSE);
    }
    if (m_hWnd)
        if (CFrameWnd* pFrame = GetParentFrame())
            pFrame->DelayRecalcLayout();
    return TRUE;
}

void CXTPCommandBar::OnDestroy()
{
    SetTrackingMode(0, TRUE, FALSE);
    if (CXTPCommandBars* pCommandBars = GetCommandBars())
        pCommandBars->GetDropSource()->Unregister(this);
    CWnd::OnDestroy();
}

void CXTPCommandBar::OnMouseMove(UINT /*nFlags*/, CPoint point)
{
    CMouseManager* pMouse = CMouseManager::GetThreadManager();
    if (!m_hWnd || pMouse->IsTrackingActive(this) || pMouse->m_nCaptureLoops > 0 ||
        (!m_nTrackingMode && !IsTopParentActive(m_hWnd) && m_nType != xtpBarTypePopup))
        return;
    if (IsCustomizeMode()) {
        ShowCustomizeResizeCursor(point);
        return;
    }
    int nHot = -1;
    if ((m_nTrackingMode && (m_nPopuped != -1 || m_nType != xtpBarTypePopup)) || m_bKeyboardSelect)
        nHot = m_nSelected;
    if (CXTPControl* pControl = m_pControls->HitTest(point)) {
        nHot = pControl->GetIndex();
        pMouse->TrackMouseLeave(m_hWnd);
        pControl->OnMouseMove(point);
    }
    SetSelected(nHot, FALSE);
}

void CXTPCommandBar::OnMouseLeave()
{
    if (CMouseManager::GetThreadManager()->m_nCaptureLoops > 0 || m_nInputLock > 0 ||
        (m_nTrackingMode && (m_nPopuped != -1 || m_nType != xtpBarTypePopup)))
        return;
    SetSelected(-1);
}

void CXTPCommandBar::OnNcMouseMove(UINT /*nHitTest*/, CPoint /*point*/)
{
    OnMouseLeave();
}

BOOL CXTPCommandBar::IsAltDragPress(const CXTPControl* pControl) const
{
    CXTPCommandBars* pCommandBars = GetCommandBars();
    return pCommandBars && !pCommandBars->IsCustomizeMode() && pCommandBars->GetSite() &&
           pCommandBars->GetCommandBarsOptions()->bAltDragCustomization && m_bCustomizable &&
           IsKindOf(RUNTIME_CLASS(CXTPToolBar)) && !(pControl->GetFlags() & xtpFlagNoMovable) &&
           ::GetKeyState(VK_MENU) < 0;
}

void CXTPCommandBar::AltDrag(CXTPControl* pControl, CPoint point)
{
    CXTPCommandBars* pCommandBars = GetCommandBars();
    pCommandBars->SetCustomizeMode(TRUE, TRUE);
    SetPopuped(-1);
    SetSelected(-1);
    pControl->OnCustomizeDragStart(point);
    pCommandBars->SetCustomizeMode(FALSE, TRUE);
    pCommandBars->RecalcFrameLayout();
    pCommandBars->ClosePopups();
}

void CXTPCommandBar::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (CXTPControl* pControl = m_pControls->HitTest(point); pControl && IsAltDragPress(pControl)) {
        AltDrag(pControl, point);
        return;
    }
    if (IsCustomizeMode()) {
        CXTPControl* pControl = m_bCustomizable ? m_pControls->HitTest(point) : nullptr;
        if (!pControl || (pControl->GetFlags() & xtpFlagNoMovable))
            return;
        // A menu's control opens its menu as it is dragged; every other control is only dragged.
        if (pControl->GetType() >= xtpControlPopup && pControl->GetType() <= xtpControlSplitButtonPopup) {
            pControl->OnClick(FALSE, point);
            return;
        }
        SetPopuped(-1);
        SetSelected(-1);
        pControl->OnCustomizeDragStart(point);
        return;
    }
    if (CXTPControl* pControl = m_pControls->HitTest(point))
        pControl->OnClick(FALSE, point);
    else
        CWnd::OnLButtonDown(nFlags, point);
}

void CXTPCommandBar::OnLButtonUp(UINT nFlags, CPoint point)
{
    CXTPControl* pControl = IsCustomizeMode() ? nullptr : m_pControls->HitTest(point);
    if (pControl)
        pControl->OnLButtonUp(point);
    else
        CWnd::OnLButtonUp(nFlags, point);
}

void CXTPCommandBar::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    CXTPControl* pControl = IsCustomizeMode() ? nullptr : m_pControls->HitTest(point);
    if (pControl)
        pControl->OnLButtonDblClk(point);
    else
        CWnd::OnLButtonDblClk(nFlags, point);
}

void CXTPCommandBar::OnRButtonUp(UINT nFlags, CPoint point)
{
    CXTPControl* pControl = IsCustomizeMode() ? nullptr : m_pControls->HitTest(point);
    if (!pControl) {
        CWnd::OnRButtonUp(nFlags, point);
        return;
    }
    CWnd* pSite = GetSite();
    if (pSite && pSite->GetSafeHwnd() &&
        pSite->SendMessage(XTPM_RBUTTONUP, reinterpret_cast<WPARAM>(&point), reinterpret_cast<LPARAM>(pControl)) == 1)
        return;
    if (GetRootParent()->m_bRightButton)
        pControl->OnLButtonUp(point);
    else
        pControl->OnRButtonUp(point);
}

void CXTPCommandBar::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == XTP_TID_EXPANDED_POPUP) {
        KillTimer(XTP_TID_EXPANDED_POPUP);
        CXTPControl* pControl = GetSelectedControl();
        if (pControl && m_nPopuped == m_nSelected && pControl->IsKindOf(RUNTIME_CLASS(CXTPControlPopup)) &&
            pControl->IsCursorOver())
            static_cast<CXTPControlPopup*>(pControl)->ExpandCommandBar();
        return;
    }
    if (nIDEvent != XTP_TID_HOVER) {
        CWnd::OnTimer(nIDEvent);
        return;
    }
    if (m_nInputLock > 0)
        return;
    KillTimer(XTP_TID_HOVER);
    if (CXTPControl* pControl = GetSelectedControl())
        pControl->OnMouseHover();
}

void CXTPCommandBar::OnPaint()
{
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    COffscreenDC dcBuffer(&dc, rc);
    DrawCommandBar(&dcBuffer);
}

BOOL CXTPCommandBar::OnEraseBkgnd(CDC* /*pDC*/)
{
    return TRUE;
}

LRESULT CXTPCommandBar::OnPrint(WPARAM wParam, LPARAM /*lParam*/)
{
    DrawCommandBar(CDC::FromHandle(reinterpret_cast<HDC>(wParam)));
    return 1;
}

LRESULT CXTPCommandBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM /*lParam*/)
{
    OnUpdateCmdUI(GetCurrentMessage()->message == WM_INITIALUPDATE ? TRUE : static_cast<BOOL>(wParam));
    return 0;
}

LRESULT CXTPCommandBar::OnGetObject(WPARAM wParam, LPARAM lParam)
{
    // The object id is a 32-bit value that arrives zero-extended in a 64-bit lParam.
    LONG idObject = static_cast<LONG>(static_cast<DWORD>(lParam));
    if (idObject != OBJID_CLIENT && idObject != OBJID_MENU)
        return Default();
    return CXTPAccessibleEntries::LresultFromObject(__uuidof(IAccessible), wParam, &m_accessible);
}

BOOL CXTPCommandBar::IsHelpMode()
{
    CWnd* pSite = GetSite();
    CFrameWnd* pFrame = pSite ? pSite->GetTopLevelFrame() : nullptr;
    return pFrame && pFrame->m_bHelpMode;
}

LRESULT CXTPCommandBar::OnNcHitTest(CPoint point)
{
    if (!IsHelpMode())
        return CWnd::OnNcHitTest(point);
    // The frame lets a press on a menu through, so that the user can choose the command to get help on; every
    // other place of the bar asks for its help.
    CPoint ptClient = point;
    ScreenToClient(&ptClient);
    CXTPControl* pControl = m_pControls->HitTest(ptClient);
    BOOL bMenu = pControl && pControl->GetType() >= xtpControlPopup &&
                 pControl->GetType() <= xtpControlSplitButtonPopup && pControl->GetID() <= 0;
    return bMenu ? HTMENU : HTCLIENT;
}

void CXTPCommandBar::OnNcLButtonDown(UINT nHitTest, CPoint point)
{
    if (!IsHelpMode()) {
        CWnd::OnNcLButtonDown(nHitTest, point);
        return;
    }
    ScreenToClient(&point);
    SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
}

LRESULT CXTPCommandBar::OnHelpHitTest(WPARAM /*wParam*/, LPARAM lParam)
{
    CXTPControl* pControl = m_pControls->HitTest(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
    if (pControl && pControl->GetID() > 0)
        return HID_BASE_COMMAND + pControl->GetID();
    UINT nId = LOWORD(static_cast<UINT>(GetDlgCtrlID()));
    return nId ? HID_BASE_CONTROL + nId : 0;
}
