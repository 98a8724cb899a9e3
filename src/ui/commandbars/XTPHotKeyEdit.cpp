#include "ui/commandbars/XTPHotKeyEdit.h"

#include "ui/commandbars/XTPShortcutManager.h"

void CXTPHotKeyEdit::SetAccel(const ACCEL& accel)
{
    m_accel = accel;
    m_bCompleted = TRUE;
    ShowAccel();
}

void CXTPHotKeyEdit::ClearAccel()
{
    m_accel = ACCEL();
    m_bCompleted = FALSE;
    if (m_hWnd)
        SetWindowText(L"");
}

void CXTPHotKeyEdit::ShowAccel()
{
    if (!m_hWnd)
        return;
    BOOL bAllowed = m_pShortcutManager && m_pShortcutManager->IsAllowedShortcut(m_accel);
    SetWindowText(bAllowed ? m_pShortcutManager->FormatShortcut(&m_accel) : CString());
}

BOOL CXTPHotKeyEdit::OnKeyMessage(UINT nMessage, UINT nKey, LPARAM lKeyData, BYTE fModifiers)
{
    BOOL bDown = nMessage == WM_KEYDOWN || nMessage == WM_SYSKEYDOWN;
    if (nKey == VK_TAB && !(fModifiers & (FCONTROL | FALT))) {
        if (!m_bCompleted)
            ClearAccel();
        return FALSE;
    }
    // A fresh press (not the key's auto-repeat) starts a new combination.
    if (bDown && !(lKeyData & 0x40000000))
        ClearAccel();
    if (!m_bCompleted) {
        m_accel.fVirt = fModifiers & (FSHIFT | FCONTROL | FALT);
        if (nKey != VK_SHIFT && nKey != VK_CONTROL && nKey != VK_MENU) {
            m_accel.key = static_cast<WORD>(nKey);
            if (bDown) {
                m_accel.fVirt |= FVIRTKEY;
                m_bCompleted = TRUE;
                // A combination the manager refuses leaves the field empty, not holding it unseen.
                if (!m_pShortcutManager || !m_pShortcutManager->IsAllowedShortcut(m_accel))
                    ClearAccel();
            }
        }
    }
    ShowAccel();
    return TRUE;
}

LRESULT CXTPHotKeyEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN:
        SetFocus();
        return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        BYTE fModifiers = static_cast<BYTE>((::GetKeyState(VK_SHIFT) < 0 ? FSHIFT : 0) |
                                            (::GetKeyState(VK_CONTROL) < 0 ? FCONTROL : 0) |
                                            (::GetKeyState(VK_MENU) < 0 ? FALT : 0));
        if (OnKeyMessage(message, static_cast<UINT>(wParam), lParam, fModifiers))
            return 0;
        break;
    }
    case WM_CHAR:
    case WM_SYSCHAR:
    case WM_DEADCHAR:
        // The field shows the combination, never the characters its keys type.
        if (wParam != VK_TAB)
            return 0;
        break;
    }
    return CEdit::WindowProc(message, wParam, lParam);
}
