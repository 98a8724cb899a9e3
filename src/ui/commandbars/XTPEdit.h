// The edit window that edit fields and combo boxes of the bars share, built on the rich-edit library when one
// loads: cut, copy and paste as commands, a small context menu, IME awareness and the dialog keys that stay in
// the field. Beside it, the value and focus of such a field: the field may show a grey hint as its window text
// while it is empty, so the user's text is kept apart from what the window shows.
#pragma once

#include "platform/mfc/afxctrls.h"
#include "ui/commandbars/XTPHookManager.h"

#include <richedit.h>

class CXTPCommandBar;
class CXTPControl;

// Loaded at the first edit window and kept until the process ends.
class CXTPRichEditLibrary
{
public:
    static CXTPRichEditLibrary* GetInstance();
    ~CXTPRichEditLibrary();
    CXTPRichEditLibrary(const CXTPRichEditLibrary&) = delete;
    CXTPRichEditLibrary& operator=(const CXTPRichEditLibrary&) = delete;

    BOOL IsLoaded() const { return m_hModule != nullptr; }
    LPCTSTR GetClassName() const { return m_strClassName; }
    // The newer library (larger character-format records).
    BOOL IsVersion2() const { return m_bVersion2; }

private:
    CXTPRichEditLibrary();

    HMODULE m_hModule = nullptr;
    CString m_strClassName;
    BOOL m_bVersion2 = FALSE;
};

class CXTPEdit : public CEdit
{
    DECLARE_DYNCREATE(CXTPEdit)
public:
    // A child of the parent with an empty rectangle: a rich edit of plain text when the library is there.
    BOOL Create(DWORD dwStyle, CWnd* pParentWnd);
    BOOL IsRichEdit() const { return m_bRichEdit; }
    BOOL IsImeComposing() const { return m_bImeComposing; }

    // Cut and copy need a selection, paste text on the clipboard; other commands are always enabled.
    BOOL IsCommandEnabled(UINT nID) const;
    // Cut, Copy and Paste at a client point, through a popup of the bar's manager; FALSE without one.
    BOOL ShowContextMenu(CPoint ptClient);
    // Backspace, the navigation keys and Ctrl+C, V, X, Z stay in the field; TRUE when it took the key.
    BOOL ProcessDialogKey(UINT nChar, LPARAM lKeyData);
    // Text and background colours of the whole field.
    void SetColors(COLORREF clrText, COLORREF clrBack);

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

protected:
    // The bar the field stands on (its context menu comes from the bar's manager).
    virtual CXTPCommandBar* GetOwnerBar() const { return nullptr; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    BOOL m_bRichEdit = FALSE;
    BOOL m_bImeComposing = FALSE;
    COLORREF m_clrText = CLR_INVALID;
    COLORREF m_clrBack = CLR_INVALID;
    CBrush m_brBack;

private:
    // The clipboard's text up to its first line break in place of the selection, as one step to undo.
    void PasteText();
};

// Up, Down, Page Up and Page Down: the keys that move through a list.
BOOL IsListKey(UINT nChar);

// Posted to an edit window when the shell's drop-down shows for it (a combo then closes its own list).
const UINT WM_XTP_SHELLAUTOCOMPLETESTART = WM_APP + 0x7B;

// Watches for the shell's auto-completion drop-down of one edit window while that field has the focus: the
// drop-down is remembered while shown, takes the list keys and the wheel, and closes the combo's own list.
class CXTPAutoSuggestHook : public CXTPHookHandler
{
public:
    ~CXTPAutoSuggestHook() override;

    // SHAutoComplete from shlwapi; E_FAIL when the library or the function is missing.
    static HRESULT EnableShellAutoComplete(HWND hWndEdit, DWORD dwFlags);
    // Installs the thread's hook (one in the process) and takes part in the keyboard handling; off removes both
    // when this object owns them. Either way the remembered drop-down is forgotten.
    void Hook(BOOL bHook, HWND hWndEdit = nullptr);
    BOOL IsHooked() const { return s_pOwner == this; }
    HWND GetDropDownWindow() const { return m_hWndDropDown; }
    void SetDropDownWindow(HWND hWnd);
    // Up, Down, Page Up and Page Down go to the shown drop-down's list while Alt is up.
    BOOL ProcessKey(UINT nChar, LPARAM lKeyData);
    // Hides the shell's drop-down while one is shown; the hook then forgets it.
    void HideDropDown();
    int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;
    // What the hook does with a window position change of a window of the thread.
    void OnWindowPosChanging(HWND hWnd, UINT nFlags);

private:
    static LRESULT CALLBACK CallWndProc(int nCode, WPARAM wParam, LPARAM lParam);

    HWND m_hWndDropDown = nullptr;
    HWND m_hWndEdit = nullptr;
    static HHOOK s_hHook;
    static CXTPAutoSuggestHook* s_pOwner;
};

// The value of a field whose edit window may stand in a bar, and the field's editing state.
class CXTPEditField
{
public:
    CXTPEditField() = default;
    ~CXTPEditField() { delete m_pAutoSuggestHook; }
    CXTPEditField(const CXTPEditField&) = delete;
    CXTPEditField& operator=(const CXTPEditField&) = delete;

    // The user's text: read back from the window when it changed, never the hint shown in its place.
    CString GetText(const CWnd* pWnd) const;
    // Stores the text and shows it (or the hint when it is empty and the field is not being edited).
    void SetText(CWnd* pWnd, const CString& strText);
    const CString& GetHint() const { return m_strHint; }
    void SetHint(CWnd* pWnd, const CString& strHint);
    BOOL IsHintShown() const { return m_bHintShown; }
    BOOL IsFocused() const { return m_bFocused; }
    // Puts the text in the window, or the hint when the text is empty and the field is not being edited.
    void ShowTextOrHint(CWnd* pWnd);
    // The field gets the focus: a shown hint goes away, which is no change of the user's.
    void TakeHintAway(CWnd* pWnd);
    // The window's text changed; TRUE when it is the user's change (not the hint coming or going).
    BOOL OnWindowTextChanged(const CWnd* pWnd);
    // The window is going: its text is kept unless it is the hint; an editing state ends (TRUE when it did).
    BOOL OnWindowDestroyed(const CWnd* pWnd);
    // Starts or ends editing the control's field: the bar tracks with the control selected while the window (when
    // there is one) has the focus, the bars' capture-loop count holds the mouse, the site hears the codes. The focus goes back to
    // the window that had it before.
    BOOL SetFocused(CXTPControl* pControl, CWnd* pWnd, BOOL bFocused, UINT nSetCode, UINT nKillCode);
    // The window that had the focus before the field got it (first time only).
    void RememberFocus(HWND hWndBefore)
    {
        if (!m_hWndFocusBefore)
            m_hWndFocusBefore = hWndBefore;
    }
    // The text, hint and auto-completion flags of another field.
    void CopyValue(const CXTPEditField& other, const CWnd* pOtherWnd)
    {
        m_strText = other.GetText(pOtherWnd);
        m_strHint = other.m_strHint;
        m_dwShellAutoCompleteFlags = other.m_dwShellAutoCompleteFlags;
    }
    // The shell's auto-completion for the window with these flags (0: none); kept only when the shell takes it.
    // Without a window the flags wait for it.
    void EnableShellAutoComplete(CWnd* pWnd, DWORD dwFlags);
    DWORD GetShellAutoCompleteFlags() const { return m_dwShellAutoCompleteFlags; }
    CXTPAutoSuggestHook* GetAutoSuggestHook() const { return m_pAutoSuggestHook; }
    // The shell's drop-down is watched while the field is being edited.
    void WatchAutoSuggest(BOOL bWatch, const CWnd* pWnd)
    {
        if (m_pAutoSuggestHook)
            m_pAutoSuggestHook->Hook(bWatch, pWnd ? pWnd->GetSafeHwnd() : nullptr);
    }
    // The keys the shell's shown drop-down takes.
    BOOL ProcessAutoSuggestKey(UINT nChar, LPARAM lKeyData)
    {
        return m_pAutoSuggestHook && m_pAutoSuggestHook->ProcessKey(nChar, lKeyData);
    }

private:
    mutable CString m_strText;
    CString m_strHint;
    mutable BOOL m_bStale = TRUE;
    BOOL m_bHintShown = FALSE;
    BOOL m_bSetting = FALSE;
    BOOL m_bFocused = FALSE;
    HWND m_hWndFocusBefore = nullptr;
    DWORD m_dwShellAutoCompleteFlags = 0;
    CXTPAutoSuggestHook* m_pAutoSuggestHook = nullptr;
};
