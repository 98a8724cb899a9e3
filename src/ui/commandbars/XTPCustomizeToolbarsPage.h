// The Toolbars page of the customise sheet: every toolbar with a check for its visibility (the menu bar only
// while it shows), and the buttons that make a new toolbar, rename or delete one of the user's, or reset one
// of the program's.
#pragma once

#include "platform/mfc/afxchecklistbox.h"
#include "platform/mfc/afxpropsheet.h"

class CXTPCustomizeSheet;
class CXTPToolBar;

class CXTPCustomizeToolbarsPage : public CPropertyPage
{
public:
    explicit CXTPCustomizeToolbarsPage(CXTPCustomizeSheet* pSheet);

    BOOL OnInitDialog() override;
    // The list again from the manager's bars, the selection and scroll position kept.
    void RefreshToolbarList();
    CCheckListBox& GetToolbarList() { return m_wndToolbarList; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    afx_msg void UpdateButtons();
    afx_msg void OnCheckChange();
    afx_msg void OnNewToolbar();
    afx_msg void OnRenameToolbar();
    afx_msg void OnDeleteToolbar();
    afx_msg void OnResetToolbar();
    DECLARE_MESSAGE_MAP()

private:
    // The toolbar of the selected entry, or null (nothing selected, or its bar is gone).
    CXTPToolBar* GetSelectedToolBar() const;

    CXTPCustomizeSheet* m_pSheet;
    CCheckListBox m_wndToolbarList;
};
