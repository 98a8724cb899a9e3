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
const int nMinEditHeight = 22;
// The message the bar's tooltip relay asks the field with; the field answers that it takes part.
const UINT WM_XTP_EDITQUERY = WM_USER + 16;
}

LRESULT CXTPControlEditCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SETFOCUS: {
        m_pControl->OnSetFocus(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)));
        LRESULT lResult = CEdit::WindowProc(message, wParam, lParam);
        PostMessage(EM_SETSEL, 0, -1);
        return lResult;
    }
    case WM_KILLFOCUS: {
        LRESULT lResult = CEdit::WindowProc(message, wParam, lParam);
        m_pControl->OnKillFocus();
        return lResult;
    }
    case WM_DESTROY:
        m_pControl->OnWindowDestroyed();
        break;
    case WM_CONTEXTMENU:
        return 0;
    case WM_MOUSEMOVE: {
        LRESULT lResult = CEdit::WindowProc(message, wParam, lParam);
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
    return CEdit::WindowProc(message, wParam, lParam);
}

BOOL CXTPControlEditCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE) {
        m_pControl->OnWindowTextChanged();
        return FALSE;
    }
    if (message == WM_CTLCOLOREDIT || message == WM_CTLCOLORSTATIC) {
        CHARFORMAT2 cf = m_pControl->GetEditCharFormat();
        HDC hDC = reinterpret_cast<HDC>(wParam);
        ::SetTextColor(hDC, cf.crTextColor);
        ::SetBkColor(hDC, cf.crBackColor);
        m_brBack.DeleteObject();
        m_brBack.CreateSolidBrush(cf.crBackColor);
        if (pResult)
            *pResult = reinterpret_cast<LRESULT>(m_brBack.GetSafeHandle());
        return TRUE;
    }
    return CEdit::OnChildNotify(message, wParam, lParam, pResult);
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
    if (IsEditCreated() && m_bEditChanged && !m_bHintShown) {
        m_pEdit->GetWindowText(m_strEditText);
        m_bEditChanged = FALSE;
    }
    return m_strEditText;
}

void CXTPControlEdit::SetEditText(const CString& strText)
{
    m_strEditText = strText;
    if (IsEditCreated())
        ShowTextOrHint();
    m_bEditChanged = FALSE;
}

void CXTPControlEdit::SetEditHint(const CString& strHint)
{
    if (IsEditCreated())
        GetEditText();
    m_strEditHint = strHint;
    if (IsEditCreated())
        ShowTextOrHint();
}

void CXTPControlEdit::ShowTextOrHint()
{
    BOOL bHint = m_strEditText.IsEmpty() && !m_strEditHint.IsEmpty() && !m_bFocused;
    // The flag is set before the window hears the text, so that its change notice is not taken for the user's.
    m_bHintShown = bHint;
    const CString& strShown = bHint ? m_strEditHint : m_strEditText;
    CString strWindow;
    m_pEdit->GetWindowText(strWindow);
    if (strWindow != strShown)
        m_pEdit->SetWindowText(strShown);
    m_bEditChanged = FALSE;
    m_pEdit->Invalidate(FALSE);
}

void CXTPControlEdit::OnWindowTextChanged()
{
    m_bEditChanged = TRUE;
    if (!m_bHintShown && ::GetFocus() == m_pEdit->GetSafeHwnd())
        OnEditChanged();
    m_pEdit->SetMargins(0, 0);
}

void CXTPControlEdit::OnWindowDestroyed()
{
    GetEditText();
    if (m_bFocused) {
        // Gone while being edited: the bars must not stay in the editing state.
        m_bFocused = FALSE;
        m_hWndFocusBefore = nullptr;
        CMouseManager* pMouse = CMouseManager::GetThreadManager();
        pMouse->m_nCaptureLoops = std::max(0, pMouse->m_nCaptureLoops - 1);
    }
    m_bHintShown = FALSE;
    m_bEditChanged = TRUE;
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
        m_strEditText = pEdit->GetEditText();
        m_bLabel = pEdit->m_bLabel;
        m_bReadOnly = pEdit->m_bReadOnly;
        m_strEditHint = pEdit->m_strEditHint;
        m_dwShellAutoCompleteFlags = pEdit->m_dwShellAutoCompleteFlags;
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
        m_pEdit->Create(WS_CHILD | ES_AUTOHSCROLL, CRect(0, 0, 0, 0), m_pParent, 0);
        ShowTextOrHint();
        m_pEdit->EnableWindow(m_bEnabled);
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
    if (IsEditCreated())
        m_pEdit->EnableWindow(bEnabled);
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
    if (m_bFocused == bFocused || !IsEditCreated() || !m_pParent)
        return;
    m_bFocused = bFocused;
    HWND hWndEdit = m_pEdit->GetSafeHwnd();
    CMouseManager* pMouse = CMouseManager::GetThreadManager();
    if (bFocused) {
        if (::GetFocus() != hWndEdit) {
            // The bar starts tracking while the former window still has the focus, so that it gets it back.
            m_pParent->SetTrackingMode(TRUE, FALSE, FALSE);
            m_pEdit->SetFocus();
        } else {
            m_pParent->SetTrackingMode(TRUE, FALSE, FALSE);
        }
        m_pParent->SetSelected(m_nIndex, FALSE);
        pMouse->m_nCaptureLoops++;
        NotifySite(EN_SETFOCUS);
    } else {
        if (::GetFocus() == hWndEdit) {
            HWND hWndBack = ::IsWindow(m_hWndFocusBefore) ? m_hWndFocusBefore : nullptr;
            if (!hWndBack && m_pParent->GetSite())
                hWndBack = m_pParent->GetSite()->GetSafeHwnd();
            ::SetFocus(hWndBack);
        }
        m_hWndFocusBefore = nullptr;
        pMouse->m_nCaptureLoops = std::max(0, pMouse->m_nCaptureLoops - 1);
        NotifySite(EN_KILLFOCUS);
    }
    RedrawParent();
}

void CXTPControlEdit::OnSetFocus(CWnd* pOldWnd)
{
    if (m_bHintShown) {
        // Cleared while the flag still stands: taking the hint away is no change of the user's.
        m_pEdit->SetWindowText(L"");
        m_bHintShown = FALSE;
        m_bEditChanged = FALSE;
    }
    m_strLastText = GetEditText();
    if (!m_hWndFocusBefore)
        m_hWndFocusBefore = pOldWnd ? pOldWnd->GetSafeHwnd() : nullptr;
    if (m_pParent)
        m_pParent->SetPopuped(-1);
    SetFocused(TRUE);
}

void CXTPControlEdit::OnKillFocus()
{
    GetEditText();
    SetFocused(FALSE);
    if (IsEditCreated())
        ShowTextOrHint();
}

int CXTPControlEdit::OnHookKeyDown(UINT nChar, LPARAM /*lParam*/)
{
    if (!m_bFocused || !IsEditCreated())
        return 0;
    switch (nChar) {
    case VK_RETURN:
    case VK_TAB:
        return 0;
    case VK_ESCAPE:
        SetEditText(m_strLastText);
        SetFocused(FALSE);
        return 1;
    }
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
        cf.crTextColor = pPainter->GetColor(m_bHintShown ? COLOR_GRAYTEXT : COLOR_BTNTEXT);
        cf.crBackColor = pPainter->GetColor(COLOR_WINDOW);
    } else {
        cf.crTextColor = pPainter->GetColor(COLOR_GRAYTEXT);
        cf.crBackColor = pPainter->GetColor(COLOR_BTNFACE);
    }
    return cf;
}

CSize CXTPControlEdit::GetSize(CDC* pDC)
{
    CXTPBarPainter* pPainter = GetPaintManager();
    CFont* pFont = pPainter->GetControlFont(m_pParent, FALSE);
    CFont* pOld = pDC->SelectObject(pFont);
    TEXTMETRICW tm = {};
    pDC->GetTextMetrics(&tm);
    m_nLabelWidth = IsCaptionVisible() ? pDC->GetTextExtent(GetCaption()).cx + 4 : 0;
    pDC->SelectObject(pOld);
    // A changed label moves the window at the next placement even when the rectangle stays.
    m_bDelayReposition = TRUE;
    return CSize(std::max(m_nWidth, m_nLabelWidth + 20), std::max(nMinEditHeight, static_cast<int>(tm.tmHeight) + 8));
}

void CXTPControlEdit::Draw(CDC* pDC)
{
    CXTPBarPainter* pPainter = GetPaintManager();
    CRect rc = m_rcControl;
    if (m_nLabelWidth > 0) {
        CFont* pOld = pDC->SelectObject(pPainter->GetControlFont(m_pParent, FALSE));
        pDC->SetBkMode(TRANSPARENT);
        pDC->SetTextColor(pPainter->GetColor(m_bEnabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
        CRect rcLabel(rc.left + 2, rc.top, rc.left + m_nLabelWidth + 2, rc.bottom);
        CString strCaption = GetCaption();
        pDC->DrawText(strCaption, rcLabel, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
        pDC->SelectObject(pOld);
    }
    CRect rcField(rc.left + m_nLabelWidth + 2, rc.top + 1, rc.right - 1, rc.bottom - 1);
    pDC->FillSolidRect(rcField, GetEditCharFormat().crBackColor);
    pDC->Draw3dRect(rcField, pPainter->GetColor(m_nSelected || m_bFocused ? COLOR_HIGHLIGHT : COLOR_3DSHADOW),
                    pPainter->GetColor(m_nSelected || m_bFocused ? COLOR_HIGHLIGHT : COLOR_3DSHADOW));
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
        ExchangeString(pPX, L"EditHint", m_strEditHint, L"");
        ExchangeDWord(pPX, L"ShellAutoCompleteFlags", m_dwShellAutoCompleteFlags, 0);
    }
}
