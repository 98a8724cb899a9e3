// The edit field a bar can hold: a single-line edit window placed inside the bar, with an optional label, a hint
// shown in grey while the field is empty and unfocused, and a read-only mode. The hint is shown as the window's
// text, so the control keeps a flag for it: the hint is never taken for the user's value.
#pragma once

#include "ui/commandbars/XTPControl.h"
#include "ui/commandbars/XTPEdit.h"

class CXTPControlEdit;

// The edit window of an edit control.
class CXTPControlEditCtrl : public CXTPEdit
{
public:
    explicit CXTPControlEditCtrl(CXTPControlEdit* pControl) : m_pControl(pControl) {}

protected:
    CXTPCommandBar* GetOwnerBar() const override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    CXTPControlEdit* m_pControl;
};

class CXTPControlEdit : public CXTPControl
{
    DECLARE_SERIAL(CXTPControlEdit)
public:
    CXTPControlEdit() { m_nType = xtpControlEdit; }
    ~CXTPControlEdit() override;

    // The user's text: read back from the window when it changed, never the hint shown in its place.
    CString GetEditText() const;
    void SetEditText(const CString& strText);
    CString GetEditHint() const { return m_field.GetHint(); }
    void SetEditHint(const CString& strHint);
    // The hint stands in the window in place of an empty text.
    BOOL IsHintShown() const { return m_field.IsHintShown(); }
    void EnableShellAutoComplete(DWORD dwFlags) { m_field.EnableShellAutoComplete(m_pEdit, dwFlags); }
    DWORD GetShellAutoCompleteFlags() const { return m_field.GetShellAutoCompleteFlags(); }
    void SetReadOnly(BOOL bReadOnly);
    BOOL GetReadOnly() const { return m_bReadOnly; }
    int GetWidth() const { return m_nWidth; }
    void SetWidth(int nWidth) override;
    // The label's width as the painter measured it; a change moves the window at the next placement.
    int GetLabelWidth() const { return m_nLabelWidth; }
    void SetLabelWidth(int nWidth)
    {
        if (m_nLabelWidth != nWidth)
            m_bDelayReposition = TRUE;
        m_nLabelWidth = nWidth;
    }
    BOOL IsCustomizeResizeAllow() const override { return TRUE; }
    int GetCustomizeMinWidth() const override { return m_bLabel ? m_nLabelWidth + 10 : 10; }
    void ShowLabel(BOOL bShow) { m_bLabel = bShow; }
    CXTPEdit* GetEditCtrl() const { return m_pEdit; }
    BOOL IsEditCreated() const { return m_pEdit && m_pEdit->GetSafeHwnd(); }

    virtual void SetFocused(BOOL bFocused);
    virtual BOOL IsFocused() const { return m_field.IsFocused(); }
    // Text and background of the field: grey while the hint is shown or the control is disabled.
    virtual CHARFORMAT2 GetEditCharFormat() const;

    void SetEnabled(BOOL bEnabled) override;
    void SetRect(CRect rc) override;
    BOOL IsCaptionVisible() const override;
    BOOL Compare(CXTPControl* pOther) const override;
    void SetHideFlags(DWORD dwFlags) override;
    void OnCalcDynamicSize(DWORD dwMode) override;
    int OnHookKeyDown(UINT nChar, LPARAM lParam) override;
    void SetParent(CXTPCommandBar* pParent) override;
    void Copy(CXTPControl* pOther, BOOL bRecursive) override;
    void OnClick(BOOL bKeyboard, CPoint pt) override;
    void ExecuteByKeyboard() override { OnClick(TRUE, CPoint(0, 0)); }
    void OnMouseHover() override;
    BOOL SetSelected(int nSelected) override;
    void DoPropExchange(CXTPPropExchange* pPX) override;

protected:
    friend class CXTPControlEditCtrl;

    virtual void OnSetFocus(CWnd* pOldWnd);
    virtual void OnKillFocus();
    // The user changed the text while editing: the site hears EN_CHANGE.
    virtual void OnEditChanged() { NotifySite(EN_CHANGE); }
    // The window's text changed (also when the control itself set it).
    void OnWindowTextChanged();
    // The window is being destroyed: its text is the control's value unless it is the hint.
    void OnWindowDestroyed();
    // Puts the text in the window, or the hint when the text is empty and the field is not being edited.
    void ShowTextOrHint();
    void ApplyWindowState();
    void UpdateColors();

    CXTPControlEditCtrl* m_pEdit = nullptr;
    int m_nWidth = 100;
    CXTPEditField m_field;
    BOOL m_bLabel = TRUE;
    BOOL m_bReadOnly = FALSE;
    int m_nLabelWidth = 0;
    BOOL m_bDelayReposition = FALSE;
    CString m_strLastText;
};
