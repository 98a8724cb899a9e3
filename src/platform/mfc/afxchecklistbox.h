// CCheckListBox: an owner-drawn list box (LBS_OWNERDRAWFIXED or VARIABLE, with LBS_HASSTRINGS) that draws a
// check box before each item. A click on the box (or the space bar) changes an automatic box and tells the
// parent with CLBN_CHKCHANGE. Each item's check state lives beside its item data, which keeps working as
// usual, also through the list box's own messages (LB_SETITEMDATA, LB_GETITEMDATA).
#pragma once

#include "afxctrls.h"

// Notification (WM_COMMAND) of a check box changed by the user.
#define CLBN_CHKCHANGE 40

class CCheckListBox : public CListBox
{
    DECLARE_DYNAMIC(CCheckListBox)
public:
    // dwStyle gets LBS_OWNERDRAWFIXED (unless it asks for VARIABLE) and LBS_HASSTRINGS.
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // BS_CHECKBOX, BS_AUTOCHECKBOX (the default), BS_3STATE or BS_AUTO3STATE.
    void SetCheckStyle(UINT nStyle) { m_nStyle = nStyle; }
    UINT GetCheckStyle() const { return m_nStyle; }
    void SetCheck(int nIndex, int nCheck);   // BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE
    int GetCheck(int nIndex) const;
    void Enable(int nIndex, BOOL bEnabled = TRUE);
    BOOL IsEnabled(int nIndex) const;

    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnDestroy();
    afx_msg LRESULT OnAddString(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnInsertString(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDeleteString(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnResetContent(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetItemData(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetItemData(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    struct CCheckData;
    CCheckData* GetCheckData(int nIndex) const;   // null for an index out of range
    LRESULT AttachCheckData(LRESULT nIndex);      // the state of a new item
    void FreeCheckData(int nIndex);
    int CheckBoxWidth() const;
    // The user's change of an automatic box: the next state, drawn and told to the parent.
    void ToggleCheck(int nIndex);

    UINT m_nStyle = BS_AUTOCHECKBOX;
};
