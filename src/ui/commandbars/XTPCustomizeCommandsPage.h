// The Commands page of the customise sheet: categories of controls (from toolbar resources, from the
// controls' own categories, every command, a new menu) and the list of the chosen category's controls, from
// which a control is dragged onto a bar as a copy.
#pragma once

#include "platform/mfc/afxpropsheet.h"

#include <vector>

class CXTPCommandBars;
class CXTPCustomizeSheet;
class CXTPCustomizeCommandsPage;
class CXTPControl;
class CXTPControls;

// The owner-drawn list of a category's controls; a press drags the control under the point.
class CXTPCustomizeCommandsListBox : public CListBox
{
public:
    CXTPCustomizeCommandsPage* m_pCommandsPage = nullptr;

    // An entry as the manager's painter draws a control in a list.
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    // The control of an entry, or null.
    CXTPControl* GetControl(int nIndex) const;
    // The height the painter gives an entry.
    int GetEntryHeight() const;

protected:
    CXTPCommandBars* GetCommandBars() const;
    void FillBackground(CDC* pDC);
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};

class CXTPCustomizeCommandsPage : public CPropertyPage
{
public:
    explicit CXTPCustomizeCommandsPage(CXTPCustomizeSheet* pSheet);
    ~CXTPCustomizeCommandsPage() override;

    // The buttons of a toolbar resource into the category of that name; FALSE when the resource is missing.
    BOOL AddCategory(LPCTSTR lpszCategory, UINT nIDToolBar);
    // Every control with a category into that category.
    void AddCategories(CXTPControls* pControls);
    // A category of that string's name with a copy of every control of every category (index -1: last).
    void InsertAllCommandsCategory(UINT nIDString, int nIndex = -1);
    // A category of that string's name holding one empty popup of the same caption.
    void InsertNewMenuCategory(UINT nIDString, int nIndex = -1);
    CXTPControls* GetControls(LPCTSTR lpszCategory) const;
    // The category's controls, the category made at the index when missing.
    CXTPControls* GetCategoryControls(LPCTSTR lpszCategory, int nIndex = -1);
    int GetCategoryCount() const { return static_cast<int>(m_arrCategories.size()); }
    CString GetCategoryName(int nIndex) const { return m_arrCategories[static_cast<size_t>(nIndex)].strName; }

    BOOL OnInitDialog() override;
    CXTPCustomizeSheet* GetSheet() const { return m_pSheet; }
    CListBox& GetCategoryList() { return m_wndCategories; }
    CXTPCustomizeCommandsListBox& GetCommandList() { return m_wndCommands; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    afx_msg void OnCategoryChange();
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    struct CCategory
    {
        CString strName;
        CXTPControls* pControls;
    };
    CXTPControls* NewCategoryControls() const;

    CXTPCustomizeSheet* m_pSheet;
    CListBox m_wndCategories;
    CXTPCustomizeCommandsListBox m_wndCommands;
    std::vector<CCategory> m_arrCategories;
};
