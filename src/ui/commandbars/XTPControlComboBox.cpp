#include "ui/commandbars/XTPControlComboBox.h"

#include "ui/commandbars/XTPCommandBars.h"
#include "ui/persist/PropExchange.h"
#include "ui/themes/BarIcon.h"
#include "ui/themes/BarPainter.h"

#include <windowsx.h>

#include <algorithm>

IMPLEMENT_SERIAL(CXTPControlComboBox, CXTPControlPopup, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)
IMPLEMENT_SERIAL(CXTPControlComboBoxList, CXTPPopupBar, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)

namespace
{
// The most items a saved list may hold: no list of a bar comes near it.
const int kMaxStoredItems = 32767;

BOOL IsAltDown()
{
    return ::GetKeyState(VK_MENU) < 0;
}
}

// The edit window

CXTPComboBoxEditCtrl::CXTPComboBoxEditCtrl(CXTPControlComboBox* pComboBox)
    : CXTPFieldEditCtrl(pComboBox), m_pComboBox(pComboBox)
{
}

LRESULT CXTPComboBoxEditCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    CXTPCommandBar* pBar = m_pComboBox->GetParent();
    switch (message) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:   // a second click soon after the first shows the menu again
        if (!pBar || pBar->IsCustomizeMode())
            break;
        pBar->SetPopuped(-1);
        m_pComboBox->SetFocused(TRUE);
        if (ShowContextMenu(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))))
            return 0;
        break;
    case WM_DESTROY:
        m_pComboBox->OnWindowDestroyed();
        break;
    case WM_XTP_SHELLAUTOCOMPLETESTART:
        if (pBar && m_pComboBox->IsDroppedDown())
            pBar->SetPopuped(-1);
        return 0;
    }
    return CXTPFieldEditCtrl::WindowProc(message, wParam, lParam);
}

void CXTPComboBoxEditCtrl::OnTextChanged()
{
    m_pComboBox->OnEditChanged();
}

BOOL CXTPComboBoxEditCtrl::IsCustomizing() const
{
    CXTPCommandBar* pBar = m_pComboBox->GetParent();
    return pBar && pBar->IsCustomizeMode();
}

BOOL CXTPComboBoxEditCtrl::OnFocusIn(HWND hWndOld)
{
    if (IsCustomizing())
        return FALSE;
    m_pComboBox->OnEditSetFocus(hWndOld);
    return TRUE;
}

void CXTPComboBoxEditCtrl::OnFocusOut()
{
    if (!IsCustomizing())
        m_pComboBox->OnEditKillFocus();
}

// The list

CXTPControlComboBoxList::CXTPControlComboBoxList()
{
    m_nPosition = xtpBarListBox;
    m_bHideCaret = FALSE;
}

BOOL CXTPControlComboBoxList::CreateListBox()
{
    return CreateEx(WS_EX_TOOLWINDOW | WS_EX_STATICEDGE, L"LISTBOX", nullptr,
                    WS_POPUP | WS_CLIPCHILDREN | WS_BORDER | WS_VSCROLL, CRect(0, 0, 0, 0), nullptr, 0);
}

int CXTPControlComboBoxList::CalcListHeight(int nRows) const
{
    int nCount = static_cast<int>(::SendMessageW(m_hWnd, LB_GETCOUNT, 0, 0));
    int nItemHeight = static_cast<int>(::SendMessageW(m_hWnd, LB_GETITEMHEIGHT, 0, 0));
    return std::max(1, std::min(nRows, nCount)) * nItemHeight + 4;
}

BOOL CXTPControlComboBoxList::Popup(CXTPControlComboBox* pComboBox)
{
    CXTPCommandBar* pParent = pComboBox->GetParent();
    if ((!m_hWnd && !CreateListBox()) || !pParent || !pParent->GetSafeHwnd())
        return FALSE;
    SetFont(GetPaintManager()->GetControlFont(pParent, FALSE), FALSE);
    m_pComboBox = pComboBox;
    CWnd* pSite = GetOwnerSite();
    if (pSite && pSite->GetSafeHwnd()) {
        ::SetWindowLongPtrW(m_hWnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(pSite->GetSafeHwnd()));
        pSite->SendMessage(XTPM_POPUPSHOWING, 0, reinterpret_cast<LPARAM>(this));
    }
    // The list reads as the bar does; a list box mirrors itself through its own styles.
    DWORD dwRTL = WS_EX_RIGHT | WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR;
    if (pParent->IsLayoutRTL())
        ModifyStyleEx(WS_EX_LAYOUTRTL, dwRTL);
    else
        ModifyStyleEx(dwRTL | WS_EX_LAYOUTRTL, 0);
    if (!SetTrackingMode(1, FALSE, FALSE))
        return FALSE;
    int nWidth = m_nListWidth > 0 ? m_nListWidth : pComboBox->GetRect().Width();
    UpdatePopupPosition();
    CRect rc = CalcPopupRect(CSize(nWidth, CalcListHeight(pComboBox->GetDropDownItemCount())));
    SetWindowPos(&CWnd::wndTopMost, rc.left, rc.top, rc.Width(), rc.Height(), SWP_NOACTIVATE | SWP_SHOWWINDOW);
    return TRUE;
}

BOOL CXTPControlComboBoxList::SetTrackingMode(int nMode, BOOL bSelectFirst, BOOL bKeyboard)
{
    // The list keeps its window between openings: the popup bar's own handling would destroy it.
    if (!CXTPCommandBar::SetTrackingMode(nMode, bSelectFirst, bKeyboard))
        return FALSE;
    CXTPControlComboBox* pComboBox = m_pComboBox;
    if (!pComboBox)
        return TRUE;
    if (nMode) {
        pComboBox->OnListTracking(TRUE);
        return TRUE;
    }
    if (m_hWnd)
        ShowWindow(SW_HIDE);
    m_pComboBox = nullptr;
    pComboBox->OnListTracking(FALSE);
    return TRUE;
}

int CXTPControlComboBoxList::OnMouseHitTest(CPoint ptScreen)
{
    CRect rc;
    if (m_hWnd && ::GetWindowRect(m_hWnd, &rc) && rc.PtInRect(ptScreen))
        return 1;
    return 0;
}

int CXTPControlComboBoxList::OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam,
                                           LRESULT& lResult)
{
    if (m_nTrackingMode && nMessage == WM_MOUSEWHEEL && m_hWnd) {
        ::SendMessageW(m_hWnd, WM_MOUSEWHEEL, wParam, lParam);
        return xtpHookHandled;
    }
    return CXTPPopupBar::OnHookMessage(hWnd, nMessage, wParam, lParam, lResult);
}

int CXTPControlComboBoxList::OnKeyDown(UINT nChar, LPARAM lKeyData)
{
    if (!m_pComboBox)
        return xtpHookContinue;
    int nResult = m_pComboBox->OnHookKeyDown(nChar, lKeyData);
    if (nResult)
        return nResult;
    if (nChar == VK_RETURN) {
        m_pComboBox->OnListItemChosen();
        return xtpHookHandled;
    }
    // Tab and the rest are the bar's that holds the combo.
    return xtpHookContinue;
}

LRESULT CXTPControlComboBoxList::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // The window is a list box: the bar's own painting and mouse handling stay out of it.
    switch (message) {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_MOUSEMOVE: {
        LRESULT lItem = DefWindowProc(LB_ITEMFROMPOINT, 0, lParam);
        int nItem = LOWORD(lItem);
        if (!HIWORD(lItem) && nItem != static_cast<int>(DefWindowProc(LB_GETCURSEL, 0, 0)))
            DefWindowProc(LB_SETCURSEL, static_cast<WPARAM>(nItem), 0);
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        return 0;
    case WM_LBUTTONUP:
        if (m_pComboBox)
            m_pComboBox->OnListItemChosen();
        return 0;
    case WM_ERASEBKGND: {
        CRect rc;
        GetClientRect(&rc);
        ::FillRect(reinterpret_cast<HDC>(wParam), &rc, ::GetSysColorBrush(COLOR_WINDOW));
        return 1;
    }
    case WM_NCPAINT: {
        LRESULT lResult = DefWindowProc(message, wParam, lParam);
        CWindowDC dc(this);
        CRect rc;
        GetWindowRect(&rc);
        rc.OffsetRect(-rc.left, -rc.top);
        CXTPBarPainter* pPainter = GetPaintManager();
        dc.Draw3dRect(rc, pPainter->GetColor(43), pPainter->GetColor(43));
        rc.DeflateRect(1, 1);
        dc.Draw3dRect(rc, pPainter->GetColor(COLOR_WINDOW), pPainter->GetColor(COLOR_WINDOW));
        return lResult;
    }
    case WM_DESTROY:
        SetTrackingMode(0, TRUE, FALSE);
        break;
    }
    return DefWindowProc(message, wParam, lParam);
}

void CXTPControlComboBoxList::Copy(CXTPCommandBar* pOther, BOOL bRecursive)
{
    CXTPPopupBar::Copy(pOther, bRecursive);
    auto* pList = dynamic_cast<CXTPControlComboBoxList*>(pOther);
    if (!pList || !pList->m_hWnd || (!m_hWnd && !CreateListBox()))
        return;
    m_nListWidth = pList->m_nListWidth;
    int nCount = static_cast<int>(pList->SendMessage(LB_GETCOUNT));
    for (int i = 0; i < nCount; i++) {
        CString strItem;
        static_cast<CListBox*>(static_cast<CWnd*>(pList))->GetText(i, strItem);
        SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(strItem)));
    }
}

void CXTPControlComboBoxList::DoPropExchange(CXTPPropExchange* pPX)
{
    CXTPPopupBar::DoPropExchange(pPX);
    CXTPPropExchangeSection section(pPX, L"Items");
    CXTPPropExchange* pItems = section.Get();
    if (pPX->IsStoring()) {
        // A list without a window has no items to keep; the count is written all the same, as loading reads it.
        int nCount = m_hWnd ? static_cast<int>(SendMessage(LB_GETCOUNT)) : 0;
        ExchangeInt(pItems, L"ItemCount", nCount, 0);
        for (int i = 0; i < nCount; i++) {
            CString strItem, strName;
            static_cast<CListBox*>(static_cast<CWnd*>(this))->GetText(i, strItem);
            strName.Format(L"Item%i", i);
            ExchangeString(pItems, strName, strItem, L"");
        }
        return;
    }
    int nCount = 0;
    ExchangeInt(pItems, L"ItemCount", nCount, 0);
    // A keyed store leaves empty items out, so that only the count says how many there are: a count no list
    // holds is damage, not that many empty items.
    if (nCount > kMaxStoredItems)
        AfxThrowArchiveException(CArchiveException::genericException);
    // The combo that takes the list adds its strings to the window.
    if (!m_hWnd && !CreateListBox())
        return;
    SendMessage(LB_RESETCONTENT);
    for (int i = 0; i < nCount; i++) {
        CString strItem, strName;
        strName.Format(L"Item%i", i);
        ExchangeString(pItems, strName, strItem, L"");
        SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(strItem)));
    }
}

// The combo box

CRuntimeClass* CXTPControlComboBox::GetPopupBarClass() const
{
    return RUNTIME_CLASS(CXTPControlComboBoxList);
}

CXTPControlComboBox::CXTPControlComboBox()
{
    m_nType = xtpControlComboBox;
    auto* pList = new CXTPControlComboBoxList;
    pList->CreateListBox();
    SetCommandBar(pList);
    pList->InternalRelease();
}

CXTPControlComboBox::~CXTPControlComboBox()
{
    DestroyEdit();
    if (CXTPControlComboBoxList* pList = GetListBox())
        if (pList->GetComboBox() == this)
            pList->SetTrackingMode(0, TRUE, FALSE);
}

CListBox* CXTPControlComboBox::GetListCtrl() const
{
    CXTPControlComboBoxList* pList = GetListBox();
    return pList && pList->GetSafeHwnd() ? static_cast<CListBox*>(static_cast<CWnd*>(pList)) : nullptr;
}

void CXTPControlComboBox::SetDropDown(BOOL bDropDown)
{
    if (m_bDropDown == bDropDown)
        return;
    m_bDropDown = bDropDown;
    if (bDropDown) {
        m_pEdit = CreateEditCtrl();
    } else {
        GetEditText();
        DestroyEdit();
    }
    InvalidateParentLayout();
}

void CXTPControlComboBox::SetEditText(const CString& strText)
{
    CXTPFieldControl::SetEditText(strText);
    RedrawParent();
}

void CXTPControlComboBox::SetEditHint(const CString& strHint)
{
    CXTPFieldControl::SetEditHint(strHint);
    RedrawParent();
}

int CXTPControlComboBox::AddString(LPCTSTR lpszItem)
{
    CListBox* pList = GetListCtrl();
    return pList ? pList->AddString(lpszItem) : LB_ERR;
}

int CXTPControlComboBox::GetCount() const
{
    CListBox* pList = GetListCtrl();
    return pList ? pList->GetCount() : 0;
}

int CXTPControlComboBox::GetCurSel() const
{
    CListBox* pList = GetListCtrl();
    return pList ? pList->GetCurSel() : m_nCurSel;
}

void CXTPControlComboBox::SetCurSel(int nIndex)
{
    m_nCurSel = nIndex;
    if (CListBox* pList = GetListCtrl())
        pList->SetCurSel(nIndex);
}

CString CXTPControlComboBox::GetListBoxText() const
{
    CString strText;
    CListBox* pList = GetListCtrl();
    int nIndex = pList ? pList->GetCurSel() : LB_ERR;
    if (nIndex != LB_ERR)
        pList->GetText(nIndex, strText);
    return strText;
}

int CXTPControlComboBox::FindStringExact(LPCTSTR lpszFind) const
{
    CListBox* pList = GetListCtrl();
    return pList ? pList->FindStringExact(-1, lpszFind) : LB_ERR;
}

BOOL CXTPControlComboBox::IsDroppedDown() const
{
    CXTPControlComboBoxList* pList = GetListBox();
    return pList && pList->IsTrackingMode() && pList->GetComboBox() == this;
}

void CXTPControlComboBox::SetThumbWidth(int nWidth)
{
    if (m_nThumbWidth == nWidth)
        return;
    m_nThumbWidth = nWidth;
    m_bLayoutChanged = TRUE;
}

void CXTPControlComboBox::SetFocused(BOOL bFocused)
{
    if (IsFocused() == bFocused || !m_pParent)
        return;
    if (bFocused) {
        m_nLastSel = GetCurSel();
        m_bSelEndOk = FALSE;
        m_field.SetFocused(this, m_pEdit, TRUE, xtpComboSetFocus, xtpComboKillFocus);
        return;
    }
    if (IsDroppedDown())
        m_pParent->SetPopuped(-1);
    // Leaving without a choice: the list shows again what it showed before.
    if (!m_bSelEndOk) {
        SetCurSel(m_nLastSel);
        NotifySite(xtpComboSelEndCancel);
    }
    m_field.SetFocused(this, m_pEdit, FALSE, xtpComboSetFocus, xtpComboKillFocus);
}

void CXTPControlComboBox::OnEditSetFocus(HWND hWndOld)
{
    BeginEditing(hWndOld);
    SetFocused(TRUE);
}

void CXTPControlComboBox::OnEditKillFocus()
{
    if (m_pParent && IsDroppedDown())
        m_pParent->SetPopuped(-1);
    EndEditing();
}

void CXTPControlComboBox::OnEditChanged()
{
    if (!m_field.OnWindowTextChanged(m_pEdit))
        return;
    CString strText = GetEditText();
    CListBox* pList = GetListCtrl();
    if (m_bAutoComplete && !m_bIgnoreAutoComplete && pList && !strText.IsEmpty()) {
        int nStart = 0, nEnd = 0;
        m_pEdit->GetSel(nStart, nEnd);
        int nItem = nStart == nEnd && nEnd == strText.GetLength() ? pList->FindString(-1, strText) : LB_ERR;
        if (nItem != LB_ERR) {
            // Suppressed first: the completed text changes the window again.
            m_bIgnoreAutoComplete = TRUE;
            int nTyped = strText.GetLength();
            pList->GetText(nItem, strText);
            m_field.SetText(m_pEdit, strText);
            m_pEdit->SetSel(nTyped, strText.GetLength());
            m_pEdit->SendMessage(EM_SCROLLCARET);
        }
    }
    if (pList) {
        int nExact = pList->FindStringExact(-1, strText);
        if (nExact != LB_ERR) {
            pList->SetCurSel(nExact);
        } else {
            int nFirst = pList->FindString(-1, strText);
            if (nFirst != LB_ERR)
                pList->SetTopIndex(nFirst);
            pList->SetCurSel(-1);
        }
    }
    RefreshEditWindow();
    NotifySite(xtpComboEditChange);
}

void CXTPControlComboBox::OnSelectionChanged()
{
    SetEditText(GetListBoxText());
    NotifySite(xtpComboSelChange);
}

int CXTPControlComboBox::OnHookKeyDown(UINT nChar, LPARAM lParam)
{
    if (!IsFocused())
        return 0;
    m_bIgnoreAutoComplete = nChar == VK_DELETE || nChar == VK_BACK;
    if (m_pEdit && m_pEdit->IsImeComposing())
        return xtpHookStop;
    if (nChar == VK_RETURN || nChar == VK_TAB)
        return 0;
    BOOL bAlt = IsAltDown();
    if (nChar == VK_ESCAPE) {
        int nLastSel = m_nLastSel;
        if (IsDroppedDown())
            m_pParent->SetPopuped(-1);
        SetCurSel(nLastSel);
        SetEditText(m_strLastText);
        SetFocused(FALSE);
        return xtpHookHandled;
    }
    if ((nChar == VK_F4 && !bAlt) || ((nChar == VK_UP || nChar == VK_DOWN) && bAlt)) {
        m_pParent->SetPopuped(IsDroppedDown() ? -1 : m_nIndex);
        return xtpHookHandled;
    }
    if (m_field.ProcessAutoSuggestKey(nChar, lParam))
        return xtpHookHandled;
    if (!IsEditCreated() || (IsListKey(nChar) && !bAlt)) {
        ProcessListKey(nChar, lParam);
        return xtpHookHandled;
    }
    if (m_pEdit->ProcessDialogKey(nChar, lParam))
        return xtpHookHandled;
    return xtpHookStop;
}

BOOL CXTPControlComboBox::ProcessListKey(UINT nChar, LPARAM lKeyData)
{
    CListBox* pList = GetListCtrl();
    if (!pList)
        return FALSE;
    BOOL bAlt = IsAltDown();
    if (IsEditCreated() ? (bAlt || !IsListKey(nChar))
                        : ((nChar == VK_F4 && !bAlt) || ((nChar == VK_UP || nChar == VK_DOWN) && bAlt)))
        return FALSE;
    int nBefore = pList->GetCurSel();
    pList->SendMessage(WM_KEYDOWN, nChar, lKeyData);
    if (pList->GetCurSel() != nBefore) {
        m_nCurSel = pList->GetCurSel();
        OnSelectionChanged();
        if (IsEditCreated()) {
            m_pEdit->SetSel(0, -1);
            m_pEdit->SendMessage(EM_SCROLLCARET);
        }
    }
    return TRUE;
}

void CXTPControlComboBox::OnListItemChosen()
{
    if (GetListBoxText() != GetEditText() || GetCurSel() != m_nCurSel) {
        m_nCurSel = GetCurSel();
        OnSelectionChanged();
    }
    OnExecute();
}

void CXTPControlComboBox::OnExecute()
{
    if (GetCurSel() != LB_ERR)
        NotifySite(xtpComboSelEndOk);
    m_bSelEndOk = TRUE;
    CXTPControl::OnExecute();
}

void CXTPControlComboBox::OnListTracking(BOOL bTracking)
{
    CMouseManager* pMouse = CMouseManager::GetThreadManager();
    if (bTracking) {
        pMouse->m_nCaptureLoops++;
        SetFocused(TRUE);
        m_nLastSel = GetCurSel();
        m_strLastText = GetEditText();
        NotifySite(xtpComboDropDown);
        return;
    }
    NotifySite(xtpComboCloseUp);
    pMouse->m_nCaptureLoops = std::max(0, pMouse->m_nCaptureLoops - 1);
    if (m_pParent && m_pParent->GetPopupedIndex() == m_nIndex)
        m_pParent->SetPopuped(-1);
    // Without a field of its own the combo is done with the keyboard once its list closes.
    if (!IsEditCreated())
        SetFocused(FALSE);
    RedrawParent();
}

BOOL CXTPControlComboBox::SetPopup(BOOL bPopup)
{
    CXTPControlComboBoxList* pList = GetListBox();
    if (!pList)
        return FALSE;
    if (!bPopup) {
        if (pList->GetComboBox() == this)
            pList->SetTrackingMode(0, TRUE, FALSE);
        RedrawParent();
        return TRUE;
    }
    if (!m_pParent || !m_pParent->GetSafeHwnd())
        return FALSE;
    pList->SetCommandBars(m_pParent->GetCommandBars());
    BOOL bOpened = pList->Popup(this);
    RedrawParent();
    return bOpened;
}

void CXTPControlComboBox::OnClick(BOOL bKeyboard, CPoint pt)
{
    if (!m_bEnabled || !m_pParent)
        return;
    if (bKeyboard && (IsFocused() || IsDroppedDown())) {
        OnExecute();
        return;
    }
    // A press in the field of a drop-down combo edits; the drop button (or the whole of a list combo) opens.
    CRect rcButton = m_rcControl;
    rcButton.left = rcButton.right - m_nThumbWidth;
    if (!bKeyboard && IsEditCreated() && !rcButton.PtInRect(pt)) {
        SetFocused(TRUE);
        return;
    }
    m_pParent->SetPopuped(IsDroppedDown() ? -1 : m_nIndex, bKeyboard);
}

CXTPBarIcon* CXTPControlComboBox::GetEditIcon() const
{
    CXTPBarImages* pImages = GetImageManager();
    return m_nEditIconId > 0 && pImages ? pImages->GetIcon(static_cast<UINT>(m_nEditIconId), 16) : nullptr;
}

CSize CXTPControlComboBox::GetSize(CDC* pDC)
{
    CSize sz = CXTPControlPopup::GetSize(pDC);
    if (CXTPBarIcon* pIcon = GetEditIcon())
        sz.cx += pIcon->GetExtent().cx + 2;
    return sz;
}

void CXTPControlComboBox::AdjustEditRect(CRect& rc)
{
    rc.left += m_nLabelWidth;
    rc.right -= m_nThumbWidth;
    if (CXTPBarIcon* pIcon = GetEditIcon())
        rc.left += pIcon->GetExtent().cx + 2;
}

void CXTPControlComboBox::SetRect(CRect rc)
{
    GetEditText();
    if (IsEditOnOtherWindow() || (IsEditCreated() && (m_pEdit->GetExStyle() & WS_EX_LAYOUTRTL)))
        m_pEdit->DestroyWindow();
    if (rc == m_rcControl && IsEditCreated() && !m_bLayoutChanged)
        return;
    m_rcControl = rc;
    m_bLayoutChanged = FALSE;
    if (!m_pEdit || !m_pParent || !m_pParent->GetSafeHwnd())
        return;
    if (!m_pEdit->GetSafeHwnd())
        CreateEditWindow();
    CRect rcEdit = m_rcControl;
    AdjustEditRect(rcEdit);
    rcEdit.DeflateRect(4, 3, 3, 3);
    PlaceEditWindow(rcEdit, GetPaintManager()->GetControlFont(m_pParent, FALSE));
}

void CXTPControlComboBox::SetParent(CXTPCommandBar* pParent)
{
    CXTPFieldControl::SetParent(pParent);
    CXTPControlComboBoxList* pList = GetListBox();
    CWnd* pSite = pParent && pParent->GetSafeHwnd() ? pParent->GetSite() : nullptr;
    if (pList && pList->GetSafeHwnd() && pSite && pSite->GetSafeHwnd())
        ::SetWindowLongPtrW(pList->GetSafeHwnd(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(pSite->GetSafeHwnd()));
}

BOOL CXTPControlComboBox::IsCaptionVisible() const
{
    return (m_nComboStyle == 1 || (m_pParent && m_pParent->GetType() == xtpBarTypePopup)) && !GetCaption().IsEmpty();
}

void CXTPControlComboBox::Copy(CXTPControl* pOther, BOOL bRecursive)
{
    if (pOther->IsKindOf(RUNTIME_CLASS(CXTPControlComboBox))) {
        auto* pCombo = static_cast<CXTPControlComboBox*>(pOther);
        m_nComboStyle = pCombo->m_nComboStyle;
        CopyField(*pCombo);
        SetDropDown(pCombo->m_bDropDown);
        m_bAutoComplete = pCombo->m_bAutoComplete;
        m_nEditIconId = pCombo->m_nEditIconId;
        m_nDropDownItemCount = pCombo->m_nDropDownItemCount;
    }
    CXTPControlPopup::Copy(pOther, bRecursive);
}

void CXTPControlComboBox::DoPropExchange(CXTPPropExchange* pPX)
{
    // The list with its items travels as the popup's bar.
    CXTPControlPopup::DoPropExchange(pPX);
    BOOL bDropDown = m_bDropDown;
    ExchangeBool(pPX, L"DropDown", bDropDown, TRUE);
    ExchangeInt(pPX, L"Width", m_nWidth, 0);
    ExchangeInt(pPX, L"ComboStyle", m_nComboStyle, 0);
    CString strHint = m_field.GetHint();
    DWORD dwShellFlags = GetShellAutoCompleteFlags();
    if (pPX->m_nSchema > 8) {
        ExchangeString(pPX, L"EditHint", strHint, L"");
        ExchangeDWord(pPX, L"ShellAutoCompleteFlags", dwShellFlags, 0);
        ExchangeBool(pPX, L"AutoComplete", m_bAutoComplete, FALSE);
        ExchangeInt(pPX, L"EditIconId", m_nEditIconId, 0);
        ExchangeInt(pPX, L"DropDownItemCount", m_nDropDownItemCount, 12);
    }
    if (pPX->IsLoading()) {
        SetDropDown(bDropDown);
        SetEditHint(strHint);
        EnableShellAutoComplete(dwShellFlags);
    }
}

void CXTPControlComboBox::DrawEditText(CDC* pDC, CRect rcText)
{
    if (CXTPBarIcon* pIcon = GetEditIcon()) {
        CSize sz = pIcon->GetExtent();
        CPoint pt(rcText.left, rcText.top + (rcText.Height() - sz.cy) / 2);
        pIcon->Draw(pDC, pt, m_bEnabled ? CXTPBarIcon::imageNormal : CXTPBarIcon::imageDisabled, sz);
        rcText.left += sz.cx + 2;
    }
    if (IsEditCreated())
        return;
    CXTPBarPainter* pPainter = GetPaintManager();
    BOOL bHighlight = m_nSelected && m_bEnabled;
    if (bHighlight)
        pDC->FillSolidRect(rcText, pPainter->GetColor(COLOR_HIGHLIGHT));
    CString strText = GetEditText();
    BOOL bHint = strText.IsEmpty() && !GetEditHint().IsEmpty();
    int nColor = bHighlight ? COLOR_HIGHLIGHTTEXT : !m_bEnabled || bHint ? COLOR_GRAYTEXT : COLOR_BTNTEXT;
    pDC->SetTextColor(pPainter->GetColor(nColor));
    pDC->SetBkMode(TRANSPARENT);
    CFont* pOld = pDC->SelectObject(pPainter->GetControlFont(m_pParent, FALSE));
    pDC->DrawText(bHint ? GetEditHint() : strText, rcText, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    pDC->SelectObject(pOld);
}
