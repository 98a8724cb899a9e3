#include "ui/commandbars/XTPFieldControl.h"

#include <windowsx.h>

LRESULT CXTPFieldEditCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
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
        CXTPCommandBar* pBar = m_pFieldControl->GetParent();
        if (!pBar || !pBar->IsCustomizeMode())
            break;
        CPoint pt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        MapWindowPoints(pBar, &pt, 1);
        pBar->SendMessage(message, wParam, MAKELPARAM(pt.x, pt.y));
        return 0;
    }
    case WM_MOUSEMOVE: {
        LRESULT lResult = CXTPEdit::WindowProc(message, wParam, lParam);
        if (CXTPCommandBar* pBar = m_pFieldControl->GetParent()) {
            CPoint pt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            MapWindowPoints(pBar, &pt, 1);
            pBar->SendMessage(WM_MOUSEMOVE, wParam, MAKELPARAM(pt.x, pt.y));
        }
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
