// The three import option dialogs: the option as radio buttons 1101..1103 (ImportOption) and a note in bold
// dark blue on white (static 1111). Buttons: 1 "Importa", 2 "Annulla".
#pragma once

#include "platform/mfc/afxwin.h"

class CDlgImportOptions : public CDialog
{
public:
    int m_nOption = 0;

protected:
    CDlgImportOptions(UINT nIDTemplate, CWnd* pParentWnd) : CDialog(nIDTemplate, pParentWnd) {}

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    // The system's open-file dialog on a text file; the chosen path in strPath. FALSE when cancelled.
    BOOL BrowseTextFile(CString& strPath, const CString& strTitle, LPCTSTR pszInitialDir);
    // The control's text with its "%d" filled in.
    void FormatItemText(int nID, int nValue);

    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    DECLARE_MESSAGE_MAP()

private:
    CFont m_fontNote;
    CBrush m_brushNote;
};

// Dialog 225: the certificate file of one year.
class CDlgImpCert : public CDlgImportOptions
{
public:
    CDlgImpCert(CWnd* pParentWnd, int nYear);

    int m_nYear;
    CString m_strPath;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    afx_msg void OnBrowse();
    DECLARE_MESSAGE_MAP()
};

// Dialog 224: the revenue and expense files of the management software.
class CDlgImpGest : public CDlgImportOptions
{
public:
    explicit CDlgImpGest(CWnd* pParentWnd);

    CString m_strRevenuePath;
    CString m_strExpensePath;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    afx_msg void OnBrowseRevenues();
    afx_msg void OnBrowseExpenses();
    DECLARE_MESSAGE_MAP()
};

// Dialog 232: the planning product's figures; only the option.
class CDlgImpRel : public CDlgImportOptions
{
public:
    explicit CDlgImpRel(CWnd* pParentWnd);

protected:
    BOOL OnInitDialog() override;
};
