// The edit field in which the user presses one key combination for a shortcut: modifiers show while held, the
// first other key completes the entry, and a combination the shortcut manager does not allow leaves the field
// empty.
#pragma once

#include "platform/mfc/afxctrls.h"

class CXTPShortcutManager;

class CXTPHotKeyEdit : public CEdit
{
public:
    explicit CXTPHotKeyEdit(CXTPShortcutManager* pShortcutManager) : m_pShortcutManager(pShortcutManager) {}

    // Shows the entry's text (a given entry counts as complete).
    void SetAccel(const ACCEL& accel);
    void ClearAccel();
    const ACCEL& GetAccel() const { return m_accel; }
    BOOL IsCompleted() const { return m_bCompleted; }

    // One key message (WM_KEYDOWN, WM_SYSKEYDOWN, WM_KEYUP, WM_SYSKEYUP) with the modifiers held (FSHIFT,
    // FCONTROL, FALT); TRUE when the field takes it, FALSE for what goes on to the dialog (Tab).
    BOOL OnKeyMessage(UINT nMessage, UINT nKey, LPARAM lKeyData, BYTE fModifiers);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The entry's text, or nothing when the manager does not allow it.
    void ShowAccel();

    CXTPShortcutManager* m_pShortcutManager;
    ACCEL m_accel = {};
    BOOL m_bCompleted = FALSE;
};
