// What the bar's edit field and its drop-down combo have in common: an edit window of their own placed inside the
// control, the field's value with its grey hint, the colours, and the showing, hiding and enabling of the window
// along with the control. The controls derive from different bases, so this sits between a control base and the
// control; TEditCtrl is the control's own edit window class.
#pragma once

#include "ui/commandbars/XTPCommandBar.h"
#include "ui/commandbars/XTPControl.h"
#include "ui/commandbars/XTPEdit.h"
#include "ui/themes/BarPainter.h"

#include <richedit.h>

// The edit window of such a control: its context menu comes from the control's bar, which also hears the mouse
// moving over it.
class CXTPFieldEditCtrl : public CXTPEdit
{
public:
    explicit CXTPFieldEditCtrl(CXTPControl* pControl) : m_pFieldControl(pControl) {}

protected:
    CXTPCommandBar* GetOwnerBar() const override { return m_pFieldControl->GetParent(); }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    // The window's text changed, by the user or by the control.
    virtual void OnTextChanged() = 0;
    // The window gets the focus (the text is then selected); FALSE leaves the focus to the plain window.
    virtual BOOL OnFocusIn(HWND hWndOld) = 0;
    // The window lost the focus.
    virtual void OnFocusOut() = 0;

    CXTPControl* m_pFieldControl;
};

template <class TBase, class TEditCtrl>
class CXTPFieldControl : public TBase
{
public:
    TEditCtrl* GetEditCtrl() const { return m_pEdit; }
    BOOL IsEditCreated() const { return m_pEdit && m_pEdit->GetSafeHwnd(); }

    // The user's text: read back from the window when it changed, never the hint shown in its place.
    CString GetEditText() const { return m_field.GetText(m_pEdit); }
    void SetEditText(const CString& strText)
    {
        m_field.SetText(m_pEdit, strText);
        UpdateColorsIfCreated();
    }
    CString GetEditHint() const { return m_field.GetHint(); }
    void SetEditHint(const CString& strHint)
    {
        m_field.SetHint(m_pEdit, strHint);
        UpdateColorsIfCreated();
    }
    // The hint stands in the window in place of an empty text.
    BOOL IsHintShown() const { return m_field.IsHintShown(); }
    void EnableShellAutoComplete(DWORD dwFlags) { m_field.EnableShellAutoComplete(m_pEdit, dwFlags); }
    DWORD GetShellAutoCompleteFlags() const { return m_field.GetShellAutoCompleteFlags(); }

    int GetWidth() const { return m_nWidth; }
    void SetWidth(int nWidth) override
    {
        if (m_nWidth == nWidth)
            return;
        m_nWidth = nWidth;
        this->InvalidateParentLayout();
    }
    // The label's width as the painter measured it; a change moves the window at the next placement.
    int GetLabelWidth() const { return m_nLabelWidth; }
    void SetLabelWidth(int nWidth)
    {
        if (m_nLabelWidth != nWidth)
            m_bLayoutChanged = TRUE;
        m_nLabelWidth = nWidth;
    }

    virtual void SetFocused(BOOL bFocused) = 0;
    virtual BOOL IsFocused() const { return m_field.IsFocused(); }
    // Text and background of the field: grey while the hint is shown or the control is disabled.
    virtual CHARFORMAT2 GetEditCharFormat() const
    {
        CHARFORMAT2 cf = {};
        cf.cbSize = sizeof(cf);
        cf.dwMask = CFM_COLOR | CFM_BACKCOLOR;
        CXTPBarPainter* pPainter = this->GetPaintManager();
        BOOL bEnabled = this->m_bEnabled;
        cf.crTextColor = pPainter->GetColor(!bEnabled || IsHintShown() ? COLOR_GRAYTEXT : COLOR_BTNTEXT);
        cf.crBackColor = pPainter->GetColor(bEnabled ? COLOR_WINDOW : COLOR_BTNFACE);
        return cf;
    }

    void SetEnabled(BOOL bEnabled) override
    {
        if (this->m_bEnabled == bEnabled)
            return;
        this->m_bEnabled = bEnabled;
        if (IsEditCreated()) {
            m_pEdit->EnableWindow(bEnabled);
            UpdateColors();
        }
        this->RedrawParent();
    }
    void SetHideFlags(DWORD dwFlags) override
    {
        if (this->m_dwHideFlags == dwFlags)
            return;
        this->m_dwHideFlags = dwFlags;
        if (IsEditCreated())
            m_pEdit->SetWindowPos(nullptr, 0, 0, 0, 0,
                                  SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                                      (dwFlags ? SWP_HIDEWINDOW : SWP_SHOWWINDOW));
        this->InvalidateParentLayout();
    }
    void OnCalcDynamicSize(DWORD /*dwMode*/) override;
    // Only one control class derives from each of these bases, so the cast stands for a test of the class.
    BOOL Compare(CXTPControl* pOther) const override
    {
        if (!TBase::Compare(pOther))
            return FALSE;
        auto* pField = dynamic_cast<const CXTPFieldControl*>(pOther);
        return pField && pField->m_nWidth == m_nWidth;
    }
    void SetParent(CXTPCommandBar* pParent) override
    {
        TBase::SetParent(pParent);
        if (!pParent && IsEditCreated())
            m_pEdit->DestroyWindow();
    }
    // The mouse stays with the field while it is being edited.
    BOOL OnTabFocus() override
    {
        if (!this->m_bEnabled || !this->IsVisible() || !IsEditCreated())
            return FALSE;
        if (!IsFocused())
            SetFocused(TRUE);
        return TRUE;
    }
    void OnMouseHover() override
    {
        if (CMouseManager::GetThreadManager()->m_nCaptureLoops == 0)
            this->CXTPControl::OnMouseHover();
    }
    BOOL SetSelected(int nSelected) override
    {
        BOOL bChanged = this->CXTPControl::SetSelected(nSelected);
        if (!nSelected)
            SetFocused(FALSE);
        return bChanged;
    }

protected:
    void DestroyEdit()
    {
        if (!m_pEdit)
            return;
        if (m_pEdit->GetSafeHwnd())
            m_pEdit->DestroyWindow();
        delete m_pEdit;
        m_pEdit = nullptr;
    }
    // The window stands on another window than the bar (the control moved): it is made again there.
    BOOL IsEditOnOtherWindow() const
    {
        HWND hWndBar = this->m_pParent ? this->m_pParent->GetSafeHwnd() : nullptr;
        return IsEditCreated() && ::GetParent(m_pEdit->GetSafeHwnd()) != hWndBar;
    }
    // The window in the bar, showing the value, enabled as the control is, with the shell's completion if asked.
    void CreateEditWindow()
    {
        m_pEdit->Create(WS_CHILD | ES_AUTOHSCROLL, this->m_pParent);
        ShowTextOrHint();
        m_pEdit->EnableWindow(this->m_bEnabled);
        EnableShellAutoComplete(GetShellAutoCompleteFlags());
    }
    // The window at the rectangle in the font given, shown unless the control is hidden.
    void PlaceEditWindow(const CRect& rcEdit, CFont* pFont)
    {
        m_pEdit->SetFont(pFont, FALSE);
        m_pEdit->SetMargins(0, 0);
        m_pEdit->SetWindowPos(nullptr, rcEdit.left, rcEdit.top, rcEdit.Width(), rcEdit.Height(),
                              SWP_NOZORDER | SWP_NOACTIVATE |
                                  (this->m_dwHideFlags ? SWP_HIDEWINDOW : SWP_SHOWWINDOW));
        m_bLayoutChanged = FALSE;
    }
    // The window got the focus: a shown hint goes away and the text is kept for Escape.
    void BeginEditing(HWND hWndOld)
    {
        m_field.TakeHintAway(m_pEdit);
        UpdateColors();
        m_strLastText = GetEditText();
        m_field.WatchAutoSuggest(TRUE, m_pEdit);
        m_field.RememberFocus(hWndOld);
    }
    // The window lost the focus: editing ends and the hint may come back.
    void EndEditing()
    {
        GetEditText();
        m_field.WatchAutoSuggest(FALSE, m_pEdit);
        SetFocused(FALSE);
        if (IsEditCreated())
            ShowTextOrHint();
    }
    // The width and value of another such field.
    void CopyField(const CXTPFieldControl& other)
    {
        m_nWidth = other.m_nWidth;
        m_field.CopyValue(other.m_field, other.m_pEdit);
    }
    // The window is being destroyed: its text is the control's value unless it is the hint.
    void OnWindowDestroyed()
    {
        m_field.WatchAutoSuggest(FALSE, m_pEdit);
        m_field.OnWindowDestroyed(m_pEdit);
    }
    // Puts the text in the window, or the hint when the text is empty and the field is not being edited.
    void ShowTextOrHint()
    {
        m_field.ShowTextOrHint(m_pEdit);
        UpdateColors();
    }
    // After the window's text changed: the rich edit's margins and the colours (hint or text) again.
    void RefreshEditWindow()
    {
        m_pEdit->SetMargins(0, 0);
        UpdateColors();
    }
    void UpdateColors()
    {
        CHARFORMAT2 cf = GetEditCharFormat();
        m_pEdit->SetColors(cf.crTextColor, cf.crBackColor);
    }
    void UpdateColorsIfCreated()
    {
        if (IsEditCreated())
            UpdateColors();
    }

    TEditCtrl* m_pEdit = nullptr;
    CXTPEditField m_field;
    CString m_strLastText;
    int m_nWidth = 100;
    int m_nLabelWidth = 0;
    BOOL m_bLayoutChanged = FALSE;
};

template <class TBase, class TEditCtrl>
void CXTPFieldControl<TBase, TEditCtrl>::OnCalcDynamicSize(DWORD dwMode)
{
    // The field has no upright form: a bar docked at a side leaves it out.
    DWORD dwFlags = (dwMode & LM_VERTDOCK) ? (this->m_dwHideFlags | xtpHideDockingPosition)
                                           : (this->m_dwHideFlags & ~static_cast<DWORD>(xtpHideDockingPosition));
    SetHideFlags(dwFlags);
}
