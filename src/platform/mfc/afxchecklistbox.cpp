#include "afxchecklistbox.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CCheckListBox, CListBox)

// The state kept as an item's data, with the user's own item data inside.
struct CCheckListBox::CCheckData
{
    int nCheck = BST_UNCHECKED;
    BOOL bEnabled = TRUE;
    DWORD_PTR dwUserData = 0;
};

BEGIN_MESSAGE_MAP(CCheckListBox, CListBox)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_KEYDOWN()
    ON_WM_DESTROY()
    ON_MESSAGE(LB_ADDSTRING, &CCheckListBox::OnAddString)
    ON_MESSAGE(LB_INSERTSTRING, &CCheckListBox::OnInsertString)
    ON_MESSAGE(LB_DELETESTRING, &CCheckListBox::OnDeleteString)
    ON_MESSAGE(LB_RESETCONTENT, &CCheckListBox::OnResetContent)
    ON_MESSAGE(LB_SETITEMDATA, &CCheckListBox::OnSetItemData)
    ON_MESSAGE(LB_GETITEMDATA, &CCheckListBox::OnGetItemData)
END_MESSAGE_MAP()

BOOL CCheckListBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    if (!(dwStyle & LBS_OWNERDRAWVARIABLE))
        dwStyle |= LBS_OWNERDRAWFIXED;
    return CListBox::Create(dwStyle | LBS_HASSTRINGS, rect, pParentWnd, nID);
}

CCheckListBox::CCheckData* CCheckListBox::GetCheckData(int nIndex) const
{
    // The list box's own item data is the state; the messages of this class hand out the user's part.
    LRESULT lData = const_cast<CCheckListBox*>(this)->DefWindowProc(LB_GETITEMDATA, static_cast<WPARAM>(nIndex), 0);
    return lData == LB_ERR ? nullptr : reinterpret_cast<CCheckData*>(lData);
}

LRESULT CCheckListBox::AttachCheckData(LRESULT nIndex)
{
    if (nIndex >= 0)
        DefWindowProc(LB_SETITEMDATA, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(new CCheckData));
    return nIndex;
}

void CCheckListBox::FreeCheckData(int nIndex)
{
    delete GetCheckData(nIndex);
    DefWindowProc(LB_SETITEMDATA, static_cast<WPARAM>(nIndex), 0);
}

LRESULT CCheckListBox::OnAddString(WPARAM wParam, LPARAM lParam) { return AttachCheckData(DefWindowProc(LB_ADDSTRING, wParam, lParam)); }

LRESULT CCheckListBox::OnInsertString(WPARAM wParam, LPARAM lParam)
{
    return AttachCheckData(DefWindowProc(LB_INSERTSTRING, wParam, lParam));
}

LRESULT CCheckListBox::OnDeleteString(WPARAM wParam, LPARAM lParam)
{
    int nIndex = static_cast<int>(wParam);
    if (nIndex >= 0 && nIndex < GetCount())
        FreeCheckData(nIndex);
    return DefWindowProc(LB_DELETESTRING, wParam, lParam);
}

LRESULT CCheckListBox::OnResetContent(WPARAM wParam, LPARAM lParam)
{
    for (int i = GetCount() - 1; i >= 0; --i)
        FreeCheckData(i);
    return DefWindowProc(LB_RESETCONTENT, wParam, lParam);
}

void CCheckListBox::OnDestroy()
{
    OnResetContent(0, 0);
    CListBox::OnDestroy();
}

LRESULT CCheckListBox::OnSetItemData(WPARAM wParam, LPARAM lParam)
{
    CCheckData* pData = GetCheckData(static_cast<int>(wParam));
    if (!pData)
        return LB_ERR;
    pData->dwUserData = static_cast<DWORD_PTR>(lParam);
    return 0;
}

LRESULT CCheckListBox::OnGetItemData(WPARAM wParam, LPARAM)
{
    CCheckData* pData = GetCheckData(static_cast<int>(wParam));
    return pData ? static_cast<LRESULT>(pData->dwUserData) : LB_ERR;
}

void CCheckListBox::SetCheck(int nIndex, int nCheck)
{
    if (CCheckData* pData = GetCheckData(nIndex)) {
        pData->nCheck = nCheck;
        CRect rect;
        if (GetItemRect(nIndex, &rect) != LB_ERR)
            InvalidateRect(&rect, FALSE);
    }
}

int CCheckListBox::GetCheck(int nIndex) const
{
    CCheckData* pData = GetCheckData(nIndex);
    return pData ? pData->nCheck : BST_UNCHECKED;
}

void CCheckListBox::Enable(int nIndex, BOOL bEnabled)
{
    if (CCheckData* pData = GetCheckData(nIndex)) {
        pData->bEnabled = bEnabled;
        CRect rect;
        if (GetItemRect(nIndex, &rect) != LB_ERR)
            InvalidateRect(&rect, FALSE);
    }
}

BOOL CCheckListBox::IsEnabled(int nIndex) const
{
    CCheckData* pData = GetCheckData(nIndex);
    return pData ? pData->bEnabled : TRUE;
}

int CCheckListBox::CheckBoxWidth() const
{
    int cy = static_cast<int>(SendMessage(LB_GETITEMHEIGHT, 0));
    return cy > 0 ? cy : ::GetSystemMetrics(SM_CYMENUCHECK);
}

void CCheckListBox::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    if (lpDIS->itemID == static_cast<UINT>(-1)) {
        if (lpDIS->itemState & ODS_FOCUS)
            ::DrawFocusRect(lpDIS->hDC, &lpDIS->rcItem);
        return;
    }
    int nIndex = static_cast<int>(lpDIS->itemID);
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    CRect rectItem(lpDIS->rcItem);
    int cxCheck = std::min(CheckBoxWidth(), rectItem.Height());

    // The box: checked, undecided (checked and greyed) or clear, greyed when the item is disabled.
    CRect rectCheck(rectItem.left, rectItem.top, rectItem.left + cxCheck, rectItem.top + cxCheck);
    rectCheck.DeflateRect(1, 1);
    int nCheck = GetCheck(nIndex);
    UINT nState = DFCS_BUTTONCHECK | DFCS_FLAT;
    if (nCheck == BST_CHECKED)
        nState |= DFCS_CHECKED;
    else if (nCheck == BST_INDETERMINATE)
        nState = DFCS_BUTTON3STATE | DFCS_CHECKED | DFCS_FLAT;
    BOOL bEnabled = IsEnabled(nIndex) && IsWindowEnabled();
    if (!bEnabled)
        nState |= DFCS_INACTIVE;
    pDC->FillSolidRect(CRect(rectItem.left, rectItem.top, rectItem.left + cxCheck, rectItem.bottom), ::GetSysColor(COLOR_WINDOW));
    pDC->DrawFrameControl(rectCheck, DFC_BUTTON, nState);

    // The text, highlighted when selected.
    CRect rectText(rectItem.left + cxCheck + 2, rectItem.top, rectItem.right, rectItem.bottom);
    BOOL bSelected = (lpDIS->itemState & ODS_SELECTED) != 0;
    COLORREF clrBack = ::GetSysColor(bSelected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
    COLORREF clrText = ::GetSysColor(!bEnabled ? COLOR_GRAYTEXT : bSelected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
    pDC->FillSolidRect(rectText, clrBack);
    COLORREF clrOldText = pDC->SetTextColor(clrText);
    int nOldMode = pDC->SetBkMode(TRANSPARENT);
    CString strText;
    GetText(nIndex, strText);
    CRect rectDraw(rectText);
    rectDraw.left += 1;
    pDC->DrawText(strText, rectDraw, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    pDC->SetBkMode(nOldMode);
    pDC->SetTextColor(clrOldText);
    if (lpDIS->itemState & ODS_FOCUS)
        pDC->DrawFocusRect(rectText);
}

void CCheckListBox::MeasureItem(LPMEASUREITEMSTRUCT lpMIS)
{
    CClientDC dc(this);
    // A list without a font of its own (none set yet) measures with the DC's.
    CFont* pFont = GetFont();
    CFont* pOldFont = pFont ? dc.SelectObject(pFont) : nullptr;
    TEXTMETRIC tm = {};
    dc.GetTextMetrics(&tm);
    if (pOldFont)
        dc.SelectObject(pOldFont);
    lpMIS->itemHeight = static_cast<UINT>(std::max<LONG>(tm.tmHeight, ::GetSystemMetrics(SM_CYMENUCHECK)) + 2);
}

BOOL CCheckListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    switch (message) {
    case WM_DRAWITEM:
        DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        break;
    case WM_MEASUREITEM:
        MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
        break;
    default:
        return CListBox::OnChildNotify(message, wParam, lParam, pResult);
    }
    if (pResult)
        *pResult = TRUE;
    return TRUE;
}

void CCheckListBox::ToggleCheck(int nIndex)
{
    if (!IsEnabled(nIndex) || (m_nStyle != BS_AUTOCHECKBOX && m_nStyle != BS_AUTO3STATE))
        return;
    int nCheck = GetCheck(nIndex);
    nCheck = m_nStyle == BS_AUTO3STATE ? (nCheck + 1) % 3 : (nCheck == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
    SetCheck(nIndex, nCheck);
    if (CWnd* pParent = GetParent())
        pParent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), CLBN_CHKCHANGE), reinterpret_cast<LPARAM>(m_hWnd));
}

void CCheckListBox::OnLButtonDown(UINT nFlags, CPoint point)
{
    SetFocus();
    BOOL bOutside = TRUE;
    int nIndex = static_cast<int>(ItemFromPoint(point, bOutside));
    CRect rectItem;
    if (!bOutside && GetItemRect(nIndex, &rectItem) != LB_ERR && point.x < rectItem.left + CheckBoxWidth()) {
        // A click on the box changes it and selects the item, as a click on the text would.
        if ((GetStyle() & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) == 0 && GetCurSel() != nIndex) {
            SetCurSel(nIndex);
            if (CWnd* pParent = GetParent())
                pParent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), LBN_SELCHANGE), reinterpret_cast<LPARAM>(m_hWnd));
        }
        ToggleCheck(nIndex);
        return;
    }
    CListBox::OnLButtonDown(nFlags, point);
}

void CCheckListBox::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    // A quick second click on the box is a second change, not a double click.
    BOOL bOutside = TRUE;
    int nIndex = static_cast<int>(ItemFromPoint(point, bOutside));
    CRect rectItem;
    if (!bOutside && GetItemRect(nIndex, &rectItem) != LB_ERR && point.x < rectItem.left + CheckBoxWidth()) {
        ToggleCheck(nIndex);
        return;
    }
    CListBox::OnLButtonDblClk(nFlags, point);
}

void CCheckListBox::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == VK_SPACE) {
        int nIndex = static_cast<int>(SendMessage(LB_GETCARETINDEX));
        if (nIndex != LB_ERR) {
            ToggleCheck(nIndex);
            return;
        }
    }
    CListBox::OnKeyDown(nChar, nRepCnt, nFlags);
}
