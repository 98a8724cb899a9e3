// CFileDialog: the system's open-file and save-file dialogs. DoModal goes through the modal seam of
// CDialog: with a handler installed, the handler gets the dialog (no window) and answers IDOK or IDCANCEL,
// writing the chosen path into m_ofn.lpstrFile.
#pragma once

#include "afxdialog.h"

#include <commdlg.h>
#include <vector>

class CFileDialog : public CDialog
{
    DECLARE_DYNAMIC(CFileDialog)
public:
    // lpszFilter: "Description|*.ext|...||", each '|' turned into a terminator.
    explicit CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt = nullptr, LPCTSTR lpszFileName = nullptr,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCTSTR lpszFilter = nullptr,
                         CWnd* pParentWnd = nullptr);

    OPENFILENAMEW m_ofn = {};

    INT_PTR DoModal() override;
    BOOL IsOpenFileDialog() const { return m_bOpenFileDialog; }

    CString GetPathName() const { return m_ofn.lpstrFile; }
    CString GetFileName() const;    // name and extension
    CString GetFileExt() const;     // without the dot
    CString GetFileTitle() const;   // name without extension

private:
    BOOL m_bOpenFileDialog;
    CString m_strFilter;
    CString m_strDefExt;
    std::vector<WCHAR> m_szFileName;
};
