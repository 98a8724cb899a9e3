#include "ui/commandbars/XTPControlEdit.h"

#include "ui/commandbars/XTPCommandBar.h"
#include "ui/commandbars/XTPHookManager.h"
#include "ui/persist/PropExchange.h"
#include "ui/themes/BarPainter.h"

#include <windowsx.h>

#include <algorithm>

IMPLEMENT_SERIAL(CXTPControlEdit, CXTPControl, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)

namespace
{
// The message the bar's tooltip relay asks the field with; the field answers that it takes part.
const UINT WM_XTP_EDITQUERY = WM_USER + 16;
}

CXTPControlEditCtrl::CXTPControlEditCtrl(CXTPControlEdit* pControl) : CXTPFieldEditCtrl(pControl), m_pControl(pControl)
{
}

LRESULT CXTPControlEditCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DESTROY:
        m_pControl->OnWindowDestroyed();
        break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: {   // a second click soon after the first shows the menu again
        CXTPCommandBar* pBar = m_pControl->GetParent();
        if (!pBar || pBar->IsCustomizeMode())
            break;
        m_pControl->SetFocused(TRUE);
        if (ShowContextMenu(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))))
            return 0;
        break;
    }
    case WM_XTP_EDITQUERY:
        return 1;
    }
    return CXTPFieldEditCtrl::WindowProc(message, wParam, lParam);
}

void CXTPControlEditCtrl::OnTextChanged()
{
    m_pControl->OnWindowTextChanged();
}

BOOL CXTPControlEditCtrl::OnFocusIn(HWND hWndOld)
{
    m_pControl->OnSetFocus(CWnd::FromHandle(hWndOld));
    return TRUE;
}

void CXTPControlEditCtrl::OnFocusOut()
{
    m_pControl->OnKillFocus();
}

void CXTPControlEdit::OnWindowTextChanged()
{
    if (m_field.OnWindowTextChanged(m_pEdit))
        OnEditChanged();
    RefreshEditWindow();
}

void CXTPControlEdit::SetReadOnly(BOOL bReadOnly)
{
    m_bReadOnly = bReadOnly;
    if (IsEditCreated())
        m_pEdit->SetReadOnly(bReadOnly);
}

BOOL CXTPControlEdit::IsCaptionVisible() const
{
    return m_bLabel && !GetCaption().IsEmpty();
}

void CXTPControlEdit::Copy(CXTPControl* pOther, BOOL bRecursive)
{
    if (pOther->IsKindOf(RUNTIME_CLASS(CXTPControlEdit))) {
        auto pEdit = static_cast<CXTPControlEdit*>(pOther);
        CopyField(*pEdit);
        m_bLabel = pEdit->m_bLabel;
        m_bReadOnly = pEdit->m_bReadOnly;
    }
    CXTPControl::Copy(pOther, bRecursive);
}

void CXTPControlEdit::SetRect(CRect rc)
{
    if (IsEditOnOtherWindow())
        m_pEdit->DestroyWindow();
    if (rc == m_rcControl && IsEditCreated() && !m_bLayoutChanged)
        return;
    m_rcControl = rc;
    if (!m_pParent || !m_pParent->GetSafeHwnd())
        return;
    if (!m_pEdit)
        m_pEdit = new CXTPControlEditCtrl(this);
    if (!m_pEdit->GetSafeHwnd())
        CreateEditWindow();
    m_pEdit->SetReadOnly(m_bReadOnly);
    CRect rcEdit = m_rcControl;
    rcEdit.DeflateRect(m_nLabelWidth + 4, 3, 3, 3);
    PlaceEditWindow(rcEdit, GetPaintManager()->GetRegularFont());
}

void CXTPControlEdit::SetFocused(BOOL bFocused)
{
    if (IsEditCreated())
        m_field.SetFocused(this, m_pEdit, bFocused, EN_SETFOCUS, EN_KILLFOCUS);
}

void CXTPControlEdit::OnSetFocus(CWnd* pOldWnd)
{
    BeginEditing(pOldWnd ? pOldWnd->GetSafeHwnd() : nullptr);
    if (m_pParent)
        m_pParent->SetPopuped(-1);
    SetFocused(TRUE);
}

void CXTPControlEdit::OnKillFocus()
{
    EndEditing();
}

int CXTPControlEdit::OnHookKeyDown(UINT nChar, LPARAM lParam)
{
    if (!IsFocused() || !IsEditCreated())
        return 0;
    if (m_pEdit->IsImeComposing())
        return 2;
    switch (nChar) {
    case VK_RETURN:
    case VK_TAB:
        return 0;
    case VK_ESCAPE:
        SetEditText(m_strLastText);
        SetFocused(FALSE);
        return 1;
    }
    // The field's own keys stay in it instead of reaching the frame's accelerators.
    if (m_field.ProcessAutoSuggestKey(nChar, lParam) || m_pEdit->ProcessDialogKey(nChar, lParam))
        return 1;
    return 2;
}

void CXTPControlEdit::OnClick(BOOL bKeyboard, CPoint /*pt*/)
{
    if (!m_bEnabled || !IsEditCreated())
        return;
    if (bKeyboard && ::GetFocus() == m_pEdit->GetSafeHwnd())
        OnExecute();
    else
        SetFocused(TRUE);
}

void CXTPControlEdit::DoPropExchange(CXTPPropExchange* pPX)
{
    CXTPControl::DoPropExchange(pPX);
    if (pPX->m_nSchema > 5) {
        ExchangeBool(pPX, L"HasLabel", m_bLabel, FALSE);
        ExchangeInt(pPX, L"Width", m_nWidth, 0);
    }
    if (pPX->m_nSchema > 7)
        ExchangeBool(pPX, L"ReadOnly", m_bReadOnly, FALSE);
    if (pPX->m_nSchema > 8) {
        CString strHint = m_field.GetHint();
        ExchangeString(pPX, L"EditHint", strHint, L"");
        if (pPX->IsLoading())
            SetEditHint(strHint);
        DWORD dwShellFlags = GetShellAutoCompleteFlags();
        ExchangeDWord(pPX, L"ShellAutoCompleteFlags", dwShellFlags, 0);
        if (pPX->IsLoading())
            EnableShellAutoComplete(dwShellFlags);
    }
}
