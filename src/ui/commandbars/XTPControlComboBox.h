// The combo box a bar can hold: a text field (an edit window of its own while it is a drop-down combo, else
// painted text) and a list that opens in a popup below it. Typed text can be completed from the list, an empty
// field can show a grey hint, and the shell's auto-completion can serve the field.
#pragma once

#include "ui/commandbars/XTPFieldControl.h"
#include "ui/commandbars/XTPHookManager.h"
#include "ui/commandbars/XTPPopupBar.h"

class CXTPBarIcon;
class CXTPControlComboBox;

// Notification codes of a combo box to its site.
enum
{
    xtpComboSelChange = 1,
    xtpComboSetFocus = 3,
    xtpComboKillFocus = 4,
    xtpComboEditChange = 5,
    xtpComboDropDown = 7,
    xtpComboCloseUp = 8,
    xtpComboSelEndOk = 9,
    xtpComboSelEndCancel = 10
};

// The edit window of a drop-down combo.
class CXTPComboBoxEditCtrl : public CXTPFieldEditCtrl
{
public:
    explicit CXTPComboBoxEditCtrl(CXTPControlComboBox* pComboBox);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnTextChanged() override;
    // Customizing the bar leaves the combo's editing state alone.
    BOOL OnFocusIn(HWND hWndOld) override;
    void OnFocusOut() override;
    BOOL IsCustomizing() const;

    CXTPControlComboBox* m_pComboBox;
};

// The list of a combo box: a popup bar whose window is a list box.
class CXTPControlComboBoxList : public CXTPPopupBar
{
    DECLARE_SERIAL(CXTPControlComboBoxList)
public:
    CXTPControlComboBoxList();

    // The list-box window, a top-level popup without a parent.
    BOOL CreateListBox();
    // Opens under the combo; FALSE when it cannot.
    BOOL Popup(CXTPControlComboBox* pComboBox);
    BOOL SetTrackingMode(int nMode, BOOL bSelectFirst = TRUE, BOOL bKeyboard = FALSE) override;
    int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;
    int OnKeyDown(UINT nChar, LPARAM lKeyData) override;
    BOOL IsVisible() const override { return m_hWnd && ::IsWindowVisible(m_hWnd); }
    int OnMouseHitTest(CPoint ptScreen) override;
    void Copy(CXTPCommandBar* pOther, BOOL bRecursive) override;
    void DoPropExchange(CXTPPropExchange* pPX) override;
    CXTPControlComboBox* GetComboBox() const { return m_pComboBox; }
    // 0: as wide as the combo.
    void SetWidth(int nWidth) { m_nListWidth = nWidth; }
    int GetWidth() const { return m_nListWidth; }
    // The height of the open list for the combo's rows setting.
    int CalcListHeight(int nRows) const;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    CXTPControlComboBox* m_pComboBox = nullptr;
    int m_nListWidth = 0;
};

class CXTPControlComboBox : public CXTPFieldControl<CXTPControlPopup, CXTPComboBoxEditCtrl>
{
    DECLARE_SERIAL(CXTPControlComboBox)
public:
    CXTPControlComboBox();
    ~CXTPControlComboBox() override;

    CXTPControlComboBoxList* GetListBox() const { return static_cast<CXTPControlComboBoxList*>(GetCommandBar()); }
    CRuntimeClass* GetPopupBarClass() const override;
    CListBox* GetListCtrl() const;
    // An editable field (its own edit window) or painted text.
    void SetDropDown(BOOL bDropDown);
    BOOL GetDropDown() const { return m_bDropDown; }
    BOOL IsCustomizeResizeAllow() const override { return TRUE; }
    // 1 shows the caption in front of the field.
    void SetComboStyle(int nStyle) { m_nComboStyle = nStyle; }
    int GetComboStyle() const { return m_nComboStyle; }
    // The field's text and hint as for the edit field; the painted text of a list combo is drawn again.
    void SetEditText(const CString& strText);
    void SetEditHint(const CString& strHint);
    void SetAutoComplete(BOOL bAutoComplete) { m_bAutoComplete = bAutoComplete; }
    BOOL GetAutoComplete() const { return m_bAutoComplete; }
    CXTPAutoSuggestHook* GetAutoSuggestHook() const { return m_field.GetAutoSuggestHook(); }
    void SetEditIconId(int nIconId)
    {
        m_nEditIconId = nIconId;
        InvalidateParentLayout();
    }
    int GetEditIconId() const { return m_nEditIconId; }
    int GetDropDownItemCount() const { return m_nDropDownItemCount; }
    void SetDropDownItemCount(int nCount) { m_nDropDownItemCount = nCount; }

    int AddString(LPCTSTR lpszItem);
    int GetCount() const;
    int GetCurSel() const;
    void SetCurSel(int nIndex);
    // The selected item's text; empty without a list window.
    CString GetListBoxText() const;
    int FindStringExact(LPCTSTR lpszFind) const;
    BOOL IsDroppedDown() const;
    void SetFocused(BOOL bFocused) override;

    // What the painter measures and stores beside the label's width: the drop button's; a change flags the layout.
    int GetThumbWidth() const { return m_nThumbWidth; }
    void SetThumbWidth(int nWidth);
    BOOL IsLayoutChanged() const { return m_bLayoutChanged; }
    // The field's text (or hint) in the rectangle, for the painter after it drew the frame.
    virtual void DrawEditText(CDC* pDC, CRect rcText);

    // Keys while the combo has the bar's keyboard: 1 consumed, 2 passed on to the field, 0 the bar's.
    int OnHookKeyDown(UINT nChar, LPARAM lParam) override;
    // A list key; TRUE when the list took it.
    BOOL ProcessListKey(UINT nChar, LPARAM lKeyData);
    // The list's item under the mouse was chosen (click or Enter).
    void OnListItemChosen();
    // The list opened (tracking) or closed.
    void OnListTracking(BOOL bTracking);

    // The painter's size, wider by the edit icon when there is one.
    CSize GetSize(CDC* pDC) override;
    BOOL SetPopup(BOOL bPopup) override;
    void OnClick(BOOL bKeyboard, CPoint pt) override;
    void ExecuteByKeyboard() override { OnClick(TRUE, CPoint(0, 0)); }
    void OnExecute() override;
    void SetRect(CRect rc) override;
    void SetParent(CXTPCommandBar* pParent) override;
    BOOL IsCaptionVisible() const override;
    void Copy(CXTPControl* pOther, BOOL bRecursive) override;
    void DoPropExchange(CXTPPropExchange* pPX) override;

protected:
    friend class CXTPComboBoxEditCtrl;

    // The edit object of a drop-down combo.
    virtual CXTPComboBoxEditCtrl* CreateEditCtrl() { return new CXTPComboBoxEditCtrl(this); }
    // The room the edit window leaves inside the control's rectangle (besides the drop button).
    virtual void AdjustEditRect(CRect& rc);
    void OnEditSetFocus(HWND hWndOld);
    void OnEditKillFocus();
    void OnEditChanged();
    // The edit text becomes the selected item's; the site hears the selection change.
    void OnSelectionChanged();
    // The icon drawn at the left of the field, or null.
    CXTPBarIcon* GetEditIcon() const;

    BOOL m_bDropDown = FALSE;
    int m_nComboStyle = 0;
    int m_nLastSel = -1;
    BOOL m_bAutoComplete = FALSE;
    BOOL m_bIgnoreAutoComplete = FALSE;
    int m_nEditIconId = 0;
    BOOL m_bSelEndOk = FALSE;
    int m_nDropDownItemCount = 12;
    int m_nCurSel = -1;
    int m_nThumbWidth = 0;
    CRect m_rcEdit;
};
