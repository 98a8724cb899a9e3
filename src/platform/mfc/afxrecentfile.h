// The application's list of recently used files, newest first, as the File menu shows them.
#pragma once

#include "afxstr.h"

#include <vector>

class CRecentFileList
{
public:
    // nStart: the first menu command id; nSize: the entries kept; nMaxDispLen: longest name shown.
    CRecentFileList(UINT nStart, LPCTSTR lpszSection, LPCTSTR lpszEntryFormat, int nSize, int nMaxDispLen = 260);
    virtual ~CRecentFileList() = default;

    int GetSize() const { return static_cast<int>(m_arrNames.size()); }
    // An empty string for an unused entry.
    CString& operator[](int nIndex) { return m_arrNames[static_cast<size_t>(nIndex)]; }
    // Puts the file first; a file already listed moves up instead of appearing twice.
    virtual void Add(LPCTSTR lpszPathName);
    virtual void Remove(int nIndex);
    // The name shown for the entry: relative to the current directory when it lies inside it, and shortened to
    // its file name when longer than the display limit (or nCurDir). FALSE for an unused entry.
    virtual BOOL GetDisplayName(CString& strName, int nIndex, LPCTSTR lpszCurDir, int nCurDir,
                                BOOL bAtLeastName = TRUE) const;

    UINT m_nStart;
    CString m_strSectionName;
    CString m_strEntryFormat;
    int m_nMaxDisplayLength;

private:
    std::vector<CString> m_arrNames;
};
