// The edit field a bar can hold: a single-line edit window placed inside the bar, with an optional label, a hint
// shown in grey while the field is empty and unfocused, and a read-only mode. The hint is shown as the window's
// text, so the control keeps a flag for it: the hint is never taken for the user's value.
#pragma once

#include "ui/commandbars/XTPFieldControl.h"

class CXTPControlEdit;

// The edit window of an edit control.
class CXTPControlEditCtrl : public CXTPFieldEditCtrl
{
public:
    explicit CXTPControlEditCtrl(CXTPControlEdit* pControl);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnTextChanged() override;
    BOOL OnFocusIn(HWND hWndOld) override;
    void OnFocusOut() override;

    CXTPControlEdit* m_pControl;
};

class CXTPControlEdit : public CXTPFieldControl<CXTPControl, CXTPControlEditCtrl>
{
    DECLARE_SERIAL(CXTPControlEdit)
public:
    CXTPControlEdit() { m_nType = xtpControlEdit; }
    ~CXTPControlEdit() override { DestroyEdit(); }

    void SetReadOnly(BOOL bReadOnly);
    BOOL GetReadOnly() const { return m_bReadOnly; }
    BOOL IsCustomizeResizeAllow() const override { return TRUE; }
    int GetCustomizeMinWidth() const override { return m_bLabel ? m_nLabelWidth + 10 : 10; }
    void ShowLabel(BOOL bShow) { m_bLabel = bShow; }

    void SetFocused(BOOL bFocused) override;

    void SetRect(CRect rc) override;
    BOOL IsCaptionVisible() const override;
    int OnHookKeyDown(UINT nChar, LPARAM lParam) override;
    void Copy(CXTPControl* pOther, BOOL bRecursive) override;
    void OnClick(BOOL bKeyboard, CPoint pt) override;
    void ExecuteByKeyboard() override { OnClick(TRUE, CPoint(0, 0)); }
    void DoPropExchange(CXTPPropExchange* pPX) override;

protected:
    friend class CXTPControlEditCtrl;

    virtual void OnSetFocus(CWnd* pOldWnd);
    virtual void OnKillFocus();
    // The user changed the text while editing: the site hears EN_CHANGE.
    virtual void OnEditChanged() { NotifySite(EN_CHANGE); }
    // The window's text changed (also when the control itself set it).
    void OnWindowTextChanged();

    BOOL m_bLabel = TRUE;
    BOOL m_bReadOnly = FALSE;
};
