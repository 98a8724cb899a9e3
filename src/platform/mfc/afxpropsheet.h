// Property sheets over the system's property sheet (comctl32). CPropertyPage is a dialog shown as a page:
// its template comes from the resources or, with PSP_DLGINDIRECT in m_psp, from memory (m_psp.pResource);
// the sheet's notifications arrive as OnSetActive, OnKillActive (which saves and checks the page's data),
// OnApply, OnReset and OnQueryCancel. CPropertySheet holds the pages; DoModal runs it as a modal window
// through the modal seam of CDialog (a handler gets the sheet's active page; the sheet is its parent) and
// answers the push button that ended it (IDOK, IDCANCEL); Create makes it modeless.
#pragma once

#include "afxcmn.h"
#include "afxdialog.h"

#include <prsht.h>
#include <vector>

class CPropertySheet;

class CPropertyPage : public CDialog
{
    DECLARE_DYNAMIC(CPropertyPage)
public:
    explicit CPropertyPage(UINT nIDTemplate, UINT nIDCaption = 0);
    explicit CPropertyPage(LPCTSTR lpszTemplateName, UINT nIDCaption = 0);

    PROPSHEETPAGEW m_psp = {};

    // The page becomes the current one: TRUE accepts. Its controls are loaded again, except the first time
    // (OnInitDialog has just loaded them).
    virtual BOOL OnSetActive();
    // The page is left or the sheet is applied: TRUE when its data are saved and valid.
    virtual BOOL OnKillActive();
    // OK or Apply: by default OnOK; FALSE keeps the sheet open on this page.
    virtual BOOL OnApply();
    // Cancel: by default OnCancel.
    virtual void OnReset();
    // Cancel pressed: FALSE refuses it.
    virtual BOOL OnQueryCancel();
    // What OK and Cancel do to the page's data; nothing by default (the sheet closes, not the page).
    void OnOK() override {}
    void OnCancel() override {}
    // The sheet's Apply button follows the pages' changes.
    void SetModified(BOOL bChanged = TRUE);

    BOOL PreTranslateMessage(MSG* pMsg) override;   // the sheet does the dialog keys of its pages

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    afx_msg LRESULT HandlePageInit(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    CString m_strCaption;
    BOOL m_bFirstSetActive = TRUE;

    friend class CPropertySheet;
};

class CPropertySheet : public CWnd
{
    DECLARE_DYNAMIC(CPropertySheet)
public:
    explicit CPropertySheet(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    explicit CPropertySheet(LPCTSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);

    // Flags (PSH_NOAPPLYNOW, ...), caption and start page; the pages are filled in when the sheet is made.
    PROPSHEETHEADERW m_psh = {};

    // The pages belong to the caller and must outlive the sheet's window.
    void AddPage(CPropertyPage* pPage);
    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    CPropertyPage* GetPage(int nPage) const { return m_pages[static_cast<size_t>(nPage)]; }
    int GetPageIndex(const CPropertyPage* pPage) const;
    int GetActiveIndex() const;
    CPropertyPage* GetActivePage() const { return GetPage(GetActiveIndex()); }
    BOOL SetActivePage(int nPage);
    BOOL SetActivePage(CPropertyPage* pPage) { return SetActivePage(GetPageIndex(pPage)); }
    CTabCtrl* GetTabControl() const;

    virtual INT_PTR DoModal();
    // A modeless sheet; dwStyle -1 keeps the system's style.
    BOOL Create(CWnd* pParentWnd = nullptr, DWORD dwStyle = static_cast<DWORD>(-1), DWORD dwExStyle = 0);
    // Ends a modal sheet with nEndID, or destroys a modeless one.
    void EndDialog(int nEndID);

    // The dialog manager's default; derived sheets change their controls here.
    virtual BOOL OnInitDialog();
    // A modal sheet ends when OK or Cancel has closed its pages.
    BOOL ContinueModal() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    // The pages into m_psh, as the system reads them.
    void BuildPropPageArray();
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    afx_msg LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    CWnd* m_pParentWnd;

private:
    void CommonConstruct(CWnd* pParentWnd, UINT iSelectPage);
    BOOL CreateSheet(HWND hWndParent, BOOL bModeless);
    static int CALLBACK SheetCallback(HWND hWnd, UINT message, LPARAM lParam);

    CString m_strCaption;
    std::vector<CPropertyPage*> m_pages;
    std::vector<PROPSHEETPAGEW> m_pageArray;
    BOOL m_bModeless = FALSE;
    DWORD m_dwStyle = static_cast<DWORD>(-1);
    DWORD m_dwExStyle = 0;
};
