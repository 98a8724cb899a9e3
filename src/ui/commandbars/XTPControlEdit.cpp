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

LRESULT CXTPControlEditCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SETFOCUS: {
        m_pControl->OnSetFocus(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)));
        LRESULT lResult = CXTPEdit::WindowProc(message, wParam, lParam);
        PostMessage(EM_SETSEL, 0, -1);
        return lResult;
    }
    case WM_KILLFOCUS: {
        LRESULT lResult = CXTPEdit::WindowProc(message, wParam, lParam);
        m_pControl->OnKillFocus();
        return lResult;
    }
    case WM_DESTROY:
        m_pControl->OnWindowDestroyed();
        break;
    case WM_CONTEXTMENU:
        return 0;
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
    case WM_MOUSEMOVE: {
        LRESULT lResult = CXTPEdit::WindowProc(message, wParam, lParam);
        if (CXTPCommandBar* pBar = m_pControl->GetParent()) {
            CPoint pt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            MapWindowPoints(pBar, &pt, 1);
            pBar->SendMessage(WM_MOUSEMOVE, wParam, MAKELPARAM(pt.x, pt.y));
        }
        return lResult;
    }
    case WM_XTP_EDITQUERY:
        return 1;
    }
    return CXTPEdit::WindowProc(message, wParam, lParam);
}

CXTPCommandBar* CXTPControlEditCtrl::GetOwnerBar() const
{
    return m_pControl->GetParent();
}

BOOL CXTPControlEditCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE) {
        m_pControl->OnWindowTextChanged();
        return FALSE;
    }
    return CXTPEdit::OnChildNotify(message, wParam, lParam, pResult);
}

CXTPControlEdit::~CXTPControlEdit()
{
    if (m_pEdit) {
        if (m_pEdit->GetSafeHwnd())
            m_pEdit->DestroyWindow();
        delete m_pEdit;
    }
}

CString CXTPControlEdit::GetEditText() const
{
    return m_field.GetText(m_pEdit);
}

void CXTPControlEdit::SetEditText(const CString& strText)
{
    m_field.SetText(m_pEdit, strText);
    if (IsEditCreated())
        UpdateColors();
}

void CXTPControlEdit::SetEditHint(const CString& strHint)
{
    m_field.SetHint(m_pEdit, strHint);
    if (IsEditCreated())
        UpdateColors();
}

void CXTPControlEdit::ShowTextOrHint()
{
    m_field.ShowTextOrHint(m_pEdit);
    UpdateColors();
}

void CXTPControlEdit::UpdateColors()
{
    CHARFORMAT2 cf = GetEditCharFormat();
    m_pEdit->SetColors(cf.crTextColor, cf.crBackColor);
}

void CXTPControlEdit::OnWindowTextChanged()
{
    if (m_field.OnWindowTextChanged(m_pEdit))
        OnEditChanged();
    m_pEdit->SetMargins(0, 0);
    UpdateColors();
}

void CXTPControlEdit::OnWindowDestroyed()
{
    m_field.WatchAutoSuggest(FALSE, m_pEdit);
    m_field.OnWindowDestroyed(m_pEdit);
}

void CXTPControlEdit::SetReadOnly(BOOL bReadOnly)
{
    m_bReadOnly = bReadOnly;
    if (IsEditCreated())
        m_pEdit->SetReadOnly(bReadOnly);
}

void CXTPControlEdit::SetWidth(int nWidth)
{
    if (m_nWidth == nWidth)
        return;
    m_nWidth = nWidth;
    InvalidateParentLayout();
}

BOOL CXTPControlEdit::IsCaptionVisible() const
{
    return m_bLabel && !GetCaption().IsEmpty();
}

BOOL CXTPControlEdit::Compare(CXTPControl* pOther) const
{
    if (!CXTPControl::Compare(pOther))
        return FALSE;
    return pOther->IsKindOf(RUNTIME_CLASS(CXTPControlEdit)) &&
           static_cast<CXTPControlEdit*>(pOther)->m_nWidth == m_nWidth;
}

void CXTPControlEdit::Copy(CXTPControl* pOther, BOOL bRecursive)
{
    if (pOther->IsKindOf(RUNTIME_CLASS(CXTPControlEdit))) {
        auto pEdit = static_cast<CXTPControlEdit*>(pOther);
        m_nWidth = pEdit->m_nWidth;
        m_field.CopyValue(pEdit->m_field, pEdit->m_pEdit);
        m_bLabel = pEdit->m_bLabel;
        m_bReadOnly = pEdit->m_bReadOnly;
    }
    CXTPControl::Copy(pOther, bRecursive);
}

void CXTPControlEdit::SetParent(CXTPCommandBar* pParent)
{
    CXTPControl::SetParent(pParent);
    if (!pParent && IsEditCreated())
        m_pEdit->DestroyWindow();
}

void CXTPControlEdit::SetRect(CRect rc)
{
    HWND hWndBar = m_pParent ? m_pParent->GetSafeHwnd() : nullptr;
    if (IsEditCreated() && ::GetParent(m_pEdit->GetSafeHwnd()) != hWndBar)
        m_pEdit->DestroyWindow();
    if (rc == m_rcControl && IsEditCreated() && !m_bDelayReposition)
        return;
    m_rcControl = rc;
    if (!hWndBar)
        return;
    if (!m_pEdit)
        m_pEdit = new CXTPControlEditCtrl(this);
    if (!m_pEdit->GetSafeHwnd()) {
        m_pEdit->Create(WS_CHILD | ES_AUTOHSCROLL, m_pParent);
        ShowTextOrHint();
        m_pEdit->EnableWindow(m_bEnabled);
        EnableShellAutoComplete(GetShellAutoCompleteFlags());
    }
    ApplyWindowState();
}

void CXTPControlEdit::ApplyWindowState()
{
    m_pEdit->SetFont(GetPaintManager()->GetControlFont(m_pParent, FALSE), FALSE);
    m_pEdit->SetMargins(0, 0);
    m_pEdit->SetReadOnly(m_bReadOnly);
    CRect rcEdit = m_rcControl;
    rcEdit.DeflateRect(m_nLabelWidth + 4, 3, 3, 3);
    m_pEdit->SetWindowPos(nullptr, rcEdit.left, rcEdit.top, rcEdit.Width(), rcEdit.Height(),
                          SWP_NOZORDER | SWP_NOACTIVATE | (m_dwHideFlags ? SWP_HIDEWINDOW : SWP_SHOWWINDOW));
    m_bDelayReposition = FALSE;
}

void CXTPControlEdit::SetHideFlags(DWORD dwFlags)
{
    if (m_dwHideFlags == dwFlags)
        return;
    m_dwHideFlags = dwFlags;
    if (IsEditCreated())
        m_pEdit->SetWindowPos(nullptr, 0, 0, 0, 0,
                              SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                                  (dwFlags ? SWP_HIDEWINDOW : SWP_SHOWWINDOW));
    InvalidateParentLayout();
}

void CXTPControlEdit::SetEnabled(BOOL bEnabled)
{
    if (m_bEnabled == bEnabled)
        return;
    m_bEnabled = bEnabled;
    if (IsEditCreated()) {
        m_pEdit->EnableWindow(bEnabled);
        UpdateColors();
    }
    RedrawParent();
}

void CXTPControlEdit::OnCalcDynamicSize(DWORD dwMode)
{
    // The field has no upright form: a bar docked at a side leaves it out.
    DWORD dwFlags = (dwMode & LM_VERTDOCK) ? (m_dwHideFlags | xtpHideDockingPosition)
                                           : (m_dwHideFlags & ~static_cast<DWORD>(xtpHideDockingPosition));
    SetHideFlags(dwFlags);
}

void CXTPControlEdit::SetFocused(BOOL bFocused)
{
    if (IsEditCreated())
        m_field.SetFocused(this, m_pEdit, bFocused, EN_SETFOCUS, EN_KILLFOCUS);
}

void CXTPControlEdit::OnSetFocus(CWnd* pOldWnd)
{
    m_field.TakeHintAway(m_pEdit);
    UpdateColors();
    m_strLastText = GetEditText();
    m_field.RememberFocus(pOldWnd ? pOldWnd->GetSafeHwnd() : nullptr);
    m_field.WatchAutoSuggest(TRUE, m_pEdit);
    if (m_pParent)
        m_pParent->SetPopuped(-1);
    SetFocused(TRUE);
}

void CXTPControlEdit::OnKillFocus()
{
    GetEditText();
    m_field.WatchAutoSuggest(FALSE, m_pEdit);
    SetFocused(FALSE);
    if (IsEditCreated())
        ShowTextOrHint();
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

void CXTPControlEdit::OnMouseHover()
{
    if (CMouseManager::GetThreadManager()->m_nCaptureLoops > 0)
        return;
    CXTPControl::OnMouseHover();
}

BOOL CXTPControlEdit::SetSelected(int nSelected)
{
    BOOL bChanged = CXTPControl::SetSelected(nSelected);
    if (!nSelected)
        SetFocused(FALSE);
    return bChanged;
}

CHARFORMAT2 CXTPControlEdit::GetEditCharFormat() const
{
    CHARFORMAT2 cf = {};
    cf.cbSize = sizeof(cf);
    cf.dwMask = CFM_COLOR | CFM_BACKCOLOR;
    CXTPBarPainter* pPainter = GetPaintManager();
    if (m_bEnabled) {
        cf.crTextColor = pPainter->GetColor(IsHintShown() ? COLOR_GRAYTEXT : COLOR_BTNTEXT);
        cf.crBackColor = pPainter->GetColor(COLOR_WINDOW);
    } else {
        cf.crTextColor = pPainter->GetColor(COLOR_GRAYTEXT);
        cf.crBackColor = pPainter->GetColor(COLOR_BTNFACE);
    }
    return cf;
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
