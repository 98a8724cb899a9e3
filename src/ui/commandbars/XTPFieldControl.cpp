#include "ui/commandbars/XTPFieldControl.h"

#include "ui/themes/TipContext.h"

#include <windowsx.h>

namespace
{
// A mouse message's point, from the field's client coordinates to its bar's.
LPARAM PointInBar(CWnd* pField, CXTPCommandBar* pBar, LPARAM lParam)
{
    CPoint pt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    pField->MapWindowPoints(pBar, &pt, 1);
    return MAKELPARAM(pt.x, pt.y);
}
}

LRESULT CXTPFieldEditCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    CXTPCommandBar* pOwnerBar = m_pFieldControl->GetParent();
    // The bar's tips follow the mouse over the field too: a press puts the tip away, a release may bring the next.
    // Moves reach the tips through the bar's own handling below.
    if (message > WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK && pOwnerBar && pOwnerBar->GetToolTipContext())
        pOwnerBar->GetToolTipContext()->ToolHitTest(pOwnerBar, message, wParam, PointInBar(this, pOwnerBar, lParam));
    switch (message) {
    case WM_SETFOCUS: {
        if (!OnFocusIn(reinterpret_cast<HWND>(wParam)))
            break;
        LRESULT lResult = CXTPEdit::WindowProc(message, wParam, lParam);
        PostMessage(EM_SETSEL, 0, -1);
        return lResult;
    }
    case WM_KILLFOCUS: {
        LRESULT lResult = CXTPEdit::WindowProc(message, wParam, lParam);
        OnFocusOut();
        return lResult;
    }
    case WM_CONTEXTMENU:
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: {
        // While the bars are customised the field is a control like any other: the press drags it or opens the
        // customise menu on it, as it would on the bar.
        if (!pOwnerBar || !pOwnerBar->IsCustomizeMode())
            break;
        pOwnerBar->SendMessage(message, wParam, PointInBar(this, pOwnerBar, lParam));
        return 0;
    }
    case WM_MOUSEMOVE: {
        LRESULT lResult = CXTPEdit::WindowProc(message, wParam, lParam);
        if (pOwnerBar)
            pOwnerBar->SendMessage(WM_MOUSEMOVE, wParam, PointInBar(this, pOwnerBar, lParam));
        return lResult;
    }
    }
    return CXTPEdit::WindowProc(message, wParam, lParam);
}

BOOL CXTPFieldEditCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE) {
        OnTextChanged();
        return FALSE;
    }
    return CXTPEdit::OnChildNotify(message, wParam, lParam, pResult);
}
