// The edit window that edit fields and combo boxes of the bars share, built on the rich-edit library when one
// loads: cut, copy and paste as commands, a small context menu, IME awareness and the dialog keys that stay in
// the field. Beside it, the value and focus of such a field: the field may show a grey hint as its window text
// while it is empty, so the user's text is kept apart from what the window shows.
#pragma once

#include "platform/mfc/afxctrls.h"

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
};

// The value of a field whose edit window may stand in a bar, and the field's editing state.
class CXTPEditField
{
public:
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
    // The text and hint of another field.
    void CopyValue(const CXTPEditField& other, const CWnd* pOtherWnd)
    {
        m_strText = other.GetText(pOtherWnd);
        m_strHint = other.m_strHint;
    }

private:
    mutable CString m_strText;
    CString m_strHint;
    mutable BOOL m_bStale = TRUE;
    BOOL m_bHintShown = FALSE;
    BOOL m_bSetting = FALSE;
    BOOL m_bFocused = FALSE;
    HWND m_hWndFocusBefore = nullptr;
};
