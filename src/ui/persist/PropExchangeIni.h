// The INI store: sections and values in an INI file through the system's profile functions, worked on in a
// temporary copy that the root exchange owns (LoadFromFile copies a file in, SaveToFile copies it out).
// A child section is "parent\child". Values equal to their defaults are left out, and removed when an older
// value is there.
#pragma once

#include "ui/persist/PropExchange.h"

class CXTPPropExchangeIniFile : public CXTPPropExchange
{
    DECLARE_DYNAMIC(CXTPPropExchangeIniFile)
public:
    CXTPPropExchangeIniFile(BOOL bLoading, LPCTSTR lpszParentSection, LPCTSTR lpszSection);
    ~CXTPPropExchangeIniFile() override;

    // Values are read whole, however long.
    BOOL ExchangeValue(LPCTSTR pszPropName, VARTYPE vtProp, void* pvProp, const void* pvDefault = NULL) override;
    CXTPPropExchange* GetSection(LPCTSTR pszSection) override;
    // Removes the section and its child sections.
    void EmptySection() override;
    BOOL OnBeforeExchange() override;
    // A section with values of its own or with child sections; the file holds no empty section.
    BOOL IsSectionExists(LPCTSTR pszSection) override;

    // Copies the file over the working copy; FALSE when it is missing or a folder.
    BOOL LoadFromFile(LPCTSTR lpszFileName);
    // Copies the working copy to the file; the file is replaced only once the copy is complete.
    BOOL SaveToFile(LPCTSTR lpszFileName);
    // Works on that file itself, which stays the caller's.
    void AssignFile(LPCTSTR lpszFileName);

private:
    CString m_strSectionName;
    CString m_strFileName;
    BOOL m_bTempFile = FALSE;
};
