// The update descriptor "info.txt" published beside the setup on the maker's FTP server: which program versions
// may take the update, which may not and why, the release itself, and messages referred to by number.
#pragma once

#include "platform/mfc/afx.h"

#include <map>
#include <string>
#include <vector>

// A syntax error of the update descriptor: the string-table id of the error and the offending line, message number
// or nothing.
class CUpdateInfoException : public CException
{
    DECLARE_DYNAMIC(CUpdateInfoException)
public:
    CUpdateInfoException(UINT nIDError, LPCTSTR lpszDetail) : m_nIDError(nIDError), m_strDetail(lpszDetail) {}
    // The error's text, followed by ":\n\n" and the detail when there is one.
    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL) const override;

    UINT m_nIDError;
    CString m_strDetail;
};

class CUpdateInfo
{
public:
    using Exception = CUpdateInfoException;

    // Program versions are packed as major << 16 | minor.
    static DWORD PackVersion(int nMajor, int nMinor) { return static_cast<DWORD>(nMajor) << 16 | static_cast<DWORD>(nMinor); }

    // Clears everything, then parses the descriptor's text (Windows-1252, one command per line). Throws
    // CUpdateInfo::Exception on the first error; what was read before it stays but must not be used.
    void Parse(const std::string& text);

    const std::vector<DWORD>& GetInfoVersions() const { return m_info.versions; }
    const CString& GetInfoMessage() const { return m_info.message; }
    const std::vector<DWORD>& GetUpdateVersions() const { return m_update.versions; }
    const CString& GetUpdateMessage() const { return m_update.message; }
    DWORD GetReleaseVersion() const { return m_dwReleaseVersion; }
    const CString& GetReleaseFile() const { return m_strReleaseFile; }
    int GetReleaseSize() const { return m_nReleaseSizeKB; }
    const CString& GetReleaseText() const { return m_strReleaseText; }

    BOOL IsInfoVersion(DWORD dwVersion) const;
    BOOL IsUpdateVersion(DWORD dwVersion) const;

private:
    // An "Info" or "Update" command: its versions, its message, and the errors that are its own.
    struct VersionList
    {
        std::vector<DWORD> versions;
        CString message;
        bool bMessageSet = false;
        bool Given() const { return !versions.empty() || bMessageSet; }
    };
    struct VersionListErrors
    {
        UINT nTwice;
        UINT nMessageTwice;
        UINT nMessageMissing;
    };

    void Clear();
    void ParseLine(const CString& strLine);
    void ParseMessage(const CString& strLine);
    void ParseVersionList(const CString& strLine, VersionList& list, const VersionListErrors& errors);
    void ParseRelease(const CString& strLine);

    std::map<int, CString> m_messages;
    VersionList m_info;
    VersionList m_update;
    bool m_bRelease = false;
    DWORD m_dwReleaseVersion = 0;
    CString m_strReleaseFile;
    int m_nReleaseSizeKB = 0;
    CString m_strReleaseText;
};
