// The INI store: sections and values of an INI file, read and written as the system's profile functions do it,
// held in memory while the exchange runs (LoadFromFile reads a file in, SaveToFile writes it out).
// A child section is "parent\child". Values equal to their defaults are left out, and removed when an older
// value is there.
#pragma once

#include "ui/persist/IniDocument.h"
#include "ui/persist/PropExchange.h"

#include <memory>

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
    // A section with values of its own or with child sections; a section the file names without keys counts.
    BOOL IsSectionExists(LPCTSTR pszSection) override;

    // Reads the file in place of what the exchange held; FALSE when it is missing, a folder or unreadable.
    BOOL LoadFromFile(LPCTSTR lpszFileName);
    // Writes what the exchange holds to the file; the file is replaced only once the writing is complete.
    BOOL SaveToFile(LPCTSTR lpszFileName);
    // Works on that file itself, which stays the caller's: read in now, written back when the exchange ends.
    void AssignFile(LPCTSTR lpszFileName);

private:
    CString m_strSectionName;
    CString m_strFileName;
    // Shared by the root and its child sections.
    std::shared_ptr<CIniDocument> m_pDocument;
    // An assigned file that was not there: saving it unchanged has nothing to write.
    BOOL m_bNoFile = FALSE;
};
