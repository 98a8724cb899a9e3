#include "afxfiledlg.h"

#include "afxthread.h"

#include <shlwapi.h>

IMPLEMENT_DYNAMIC(CFileDialog, CDialog)

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt, LPCTSTR lpszFileName, DWORD dwFlags,
                         LPCTSTR lpszFilter, CWnd* pParentWnd)
    : m_bOpenFileDialog(bOpenFileDialog), m_strFilter(lpszFilter), m_strDefExt(lpszDefExt),
      m_szFileName(MAX_PATH * 4, L'\0')
{
    m_pParentWnd = pParentWnd;
    if (lpszFileName)
        lstrcpynW(m_szFileName.data(), lpszFileName, static_cast<int>(m_szFileName.size()));
    m_strFilter.Replace(L'|', L'\0');
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.lpstrFile = m_szFileName.data();
    m_ofn.nMaxFile = static_cast<DWORD>(m_szFileName.size());
    m_ofn.lpstrDefExt = lpszDefExt ? m_strDefExt.GetString() : nullptr;
    m_ofn.lpstrFilter = lpszFilter ? m_strFilter.GetString() : nullptr;
    m_ofn.Flags = dwFlags | OFN_EXPLORER | OFN_ENABLESIZING;
    m_ofn.nFilterIndex = 1;
}

INT_PTR CFileDialog::DoModal()
{
    if (const AFX_MODAL_HANDLER& handler = AfxGetModalHandler())
        return handler(*this);
    if (!m_ofn.hwndOwner) {
        CWnd* pOwner = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
        m_ofn.hwndOwner = pOwner ? pOwner->m_hWnd : nullptr;
    }
    BOOL bOK = m_bOpenFileDialog ? ::GetOpenFileNameW(&m_ofn) : ::GetSaveFileNameW(&m_ofn);
    return bOK ? IDOK : IDCANCEL;
}

CString CFileDialog::GetFileName() const { return ::PathFindFileNameW(m_ofn.lpstrFile); }

CString CFileDialog::GetFileExt() const
{
    LPCWSTR pszExt = ::PathFindExtensionW(m_ofn.lpstrFile);
    return *pszExt ? CString(pszExt + 1) : CString();
}

CString CFileDialog::GetFileTitle() const
{
    CString strName = GetFileName();
    int nDot = strName.ReverseFind(L'.');
    return nDot >= 0 ? strName.Left(nDot) : strName;
}
