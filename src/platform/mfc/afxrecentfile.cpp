#include "afxrecentfile.h"

#include <algorithm>

CRecentFileList::CRecentFileList(UINT nStart, LPCTSTR lpszSection, LPCTSTR lpszEntryFormat, int nSize,
                                 int nMaxDispLen)
    : m_nStart(nStart), m_strSectionName(lpszSection), m_strEntryFormat(lpszEntryFormat),
      m_nMaxDisplayLength(nMaxDispLen), m_arrNames(static_cast<size_t>(std::max(nSize, 0)))
{
}

void CRecentFileList::Add(LPCTSTR lpszPathName)
{
    if (m_arrNames.empty())
        return;
    auto it = std::find_if(m_arrNames.begin(), m_arrNames.end(),
                           [lpszPathName](const CString& str) { return str.CompareNoCase(lpszPathName) == 0; });
    if (it == m_arrNames.end())
        it = m_arrNames.end() - 1;
    std::rotate(m_arrNames.begin(), it, it + 1);
    m_arrNames.front() = lpszPathName;
}

void CRecentFileList::Remove(int nIndex)
{
    if (nIndex < 0 || nIndex >= GetSize())
        return;
    m_arrNames.erase(m_arrNames.begin() + nIndex);
    m_arrNames.emplace_back();
}

BOOL CRecentFileList::GetDisplayName(CString& strName, int nIndex, LPCTSTR lpszCurDir, int nCurDir,
                                     BOOL bAtLeastName) const
{
    if (nIndex < 0 || nIndex >= GetSize() || m_arrNames[static_cast<size_t>(nIndex)].IsEmpty())
        return FALSE;
    const CString& strPath = m_arrNames[static_cast<size_t>(nIndex)];
    strName = strPath;
    if (lpszCurDir && nCurDir > 0 && strPath.GetLength() > nCurDir &&
        strPath.Left(nCurDir).CompareNoCase(CString(lpszCurDir, nCurDir)) == 0)
        strName = strPath.Mid(nCurDir);
    if (strName.GetLength() > m_nMaxDisplayLength) {
        int nSlash = std::max(strName.ReverseFind(L'\\'), strName.ReverseFind(L'/'));
        CString strFile = strName.Mid(nSlash + 1);
        strName = bAtLeastName || strFile.GetLength() <= m_nMaxDisplayLength ? strFile : CString();
    }
    return TRUE;
}
