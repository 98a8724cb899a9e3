#include "util/UpdateInfo.h"

#include "util/MessageText.h"
#include "resource.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cwchar>

IMPLEMENT_DYNAMIC(CUpdateInfoException, CException)

BOOL CUpdateInfoException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    if (pnHelpContext != NULL)
        *pnHelpContext = 0;
    if (lpszError == NULL || nMaxError == 0)
        return FALSE;
    CString strText = LoadResString(m_nIDError);
    if (!m_strDetail.IsEmpty())
        strText += L":\n\n" + m_strDetail;
    lstrcpyn(lpszError, strText, static_cast<int>(nMaxError));
    return TRUE;
}

namespace {

[[noreturn]] void ThrowError(UINT nIDError, LPCTSTR lpszDetail = L"")
{
    throw new CUpdateInfo::Exception(nIDError, lpszDetail);
}

// Command words compare ignoring case over their own length only.
bool BeginsWith(const CString& strText, LPCTSTR lpszWord)
{
    return _wcsnicmp(strText, lpszWord, wcslen(lpszWord)) == 0;
}

// Every piece between two '$' of the line with one '$' appended, from the first '$' on, trimmed.
std::vector<CString> SplitFields(const CString& strLine)
{
    std::vector<CString> fields;
    CString strRest = strLine + L"$";
    int nStart = strRest.Find(L'$');
    while (nStart >= 0)
    {
        int nEnd = strRest.Find(L'$', nStart + 1);
        if (nEnd < 0)
            break;
        CString strField = strRest.Mid(nStart + 1, nEnd - nStart - 1);
        strField.Trim(L" \t");
        fields.push_back(strField);
        nStart = nEnd;
    }
    return fields;
}

// "%d.%d" with both numbers fitting a packed version; FALSE for anything else.
bool ReadVersion(const CString& strField, DWORD& dwVersion)
{
    int nMajor = 0, nMinor = 0;
    if (swscanf(strField, L"%d.%d", &nMajor, &nMinor) != 2 || nMajor < 0 || nMajor > 0x7FFF || nMinor < 0 ||
        nMinor > 0xFFFF)
        return false;
    dwVersion = CUpdateInfo::PackVersion(nMajor, nMinor);
    return true;
}

// The leading decimal number of the text (blanks skipped); 0 when there is none or it does not fit an int.
int ReadNumber(LPCTSTR lpszText)
{
    errno = 0;
    long nValue = wcstol(lpszText, NULL, 10);
    if (errno == ERANGE || nValue > INT_MAX || nValue < INT_MIN)
        return 0;
    return static_cast<int>(nValue);
}

CString FromWindows1252(const std::string& text)
{
    CString strText;
    if (text.empty())
        return strText;
    int nLength = MultiByteToWideChar(1252, 0, text.data(), static_cast<int>(text.size()), NULL, 0);
    LPWSTR pBuffer = strText.GetBuffer(nLength);
    MultiByteToWideChar(1252, 0, text.data(), static_cast<int>(text.size()), pBuffer, nLength);
    strText.ReleaseBuffer(nLength);
    return strText;
}

} // namespace

void CUpdateInfo::Clear()
{
    m_messages.clear();
    m_info = VersionList();
    m_update = VersionList();
    m_bRelease = false;
    m_dwReleaseVersion = 0;
    m_strReleaseFile.Empty();
    m_nReleaseSizeKB = 0;
    m_strReleaseText.Empty();
}

void CUpdateInfo::Parse(const std::string& text)
{
    Clear();
    CString strText = FromWindows1252(text);
    int nStart = 0;
    while (nStart < strText.GetLength())
    {
        int nEnd = strText.Find(L'\n', nStart);
        if (nEnd < 0)
            nEnd = strText.GetLength();
        CString strLine = strText.Mid(nStart, nEnd - nStart);
        strLine.TrimRight(L'\r');
        ParseLine(strLine);
        nStart = nEnd + 1;
    }
    // Without a release there is nothing to offer: the updater would compare against version 0 and download a
    // file without a name.
    if (!m_bRelease)
        ThrowError(IDP_UPD_SYNTAX, L"Release");
}

void CUpdateInfo::ParseLine(const CString& strLine)
{
    static const VersionListErrors infoErrors = { IDP_UPD_INFO_TWICE, IDP_UPD_INFO_MSG_TWICE, IDP_UPD_INFO_MSG_MISSING };
    static const VersionListErrors updateErrors = { IDP_UPD_UPDATE_TWICE, IDP_UPD_UPDATE_MSG_TWICE,
                                                    IDP_UPD_UPDATE_MSG_MISSING };
    if (strLine.IsEmpty() || BeginsWith(strLine, L"/*"))
        return;
    if (BeginsWith(strLine, L"Msg"))
        ParseMessage(strLine);
    else if (BeginsWith(strLine, L"Info"))
        ParseVersionList(strLine, m_info, infoErrors);
    else if (BeginsWith(strLine, L"Release"))
        ParseRelease(strLine);
    else if (BeginsWith(strLine, L"Update"))
        ParseVersionList(strLine, m_update, updateErrors);
    else
        ThrowError(IDP_UPD_SYNTAX, strLine);
}

void CUpdateInfo::ParseMessage(const CString& strLine)
{
    if (strLine.GetLength() < 5)
        ThrowError(IDP_UPD_SYNTAX, strLine);
    CString strNumber = strLine.Mid(3, 2);
    strNumber.Trim(L" \t");
    int nNumber = ReadNumber(strNumber);
    if (nNumber < 1)
        ThrowError(IDP_UPD_SYNTAX, strLine);
    if (m_messages.count(nNumber) != 0)
        ThrowError(IDP_UPD_MSG_EXISTS, FormatString(L"%d", nNumber));
    int nDollar = strLine.Find(L'$');
    if (nDollar < 0)
        ThrowError(IDP_UPD_SYNTAX, strLine);
    m_messages[nNumber] = strLine.Mid(nDollar + 1);
}

void CUpdateInfo::ParseVersionList(const CString& strLine, VersionList& list, const VersionListErrors& errors)
{
    if (list.Given())
        ThrowError(errors.nTwice);
    for (const CString& strField : SplitFields(strLine))
    {
        DWORD dwVersion = 0;
        if (BeginsWith(strField, L"Msg"))
        {
            int nNumber = ReadNumber(strField.Mid(3));
            if (nNumber <= 0)
                ThrowError(IDP_UPD_SYNTAX, strLine);
            if (list.bMessageSet)
                ThrowError(errors.nMessageTwice, strLine);
            auto it = m_messages.find(nNumber);
            if (it == m_messages.end())
                ThrowError(errors.nMessageMissing, strLine);
            list.message = it->second;
            list.bMessageSet = true;
        }
        else if (ReadVersion(strField, dwVersion))
            list.versions.push_back(dwVersion);
    }
}

void CUpdateInfo::ParseRelease(const CString& strLine)
{
    if (m_bRelease)
        ThrowError(IDP_UPD_RELEASE_TWICE);
    std::vector<CString> fields = SplitFields(strLine);
    if (fields.size() != 4)
        ThrowError(IDP_UPD_SYNTAX, strLine);
    // A release must be usable as it stands: a version to compare with, a file to fetch and a size to check the
    // download against.
    DWORD dwVersion = 0;
    int nSize = ReadNumber(fields[2]);
    if (!ReadVersion(fields[0], dwVersion) || dwVersion == 0 || fields[1].IsEmpty() || nSize <= 0)
        ThrowError(IDP_UPD_SYNTAX, strLine);
    m_bRelease = true;
    m_dwReleaseVersion = dwVersion;
    m_strReleaseFile = fields[1];
    m_nReleaseSizeKB = nSize;
    m_strReleaseText = fields[3];
}

BOOL CUpdateInfo::IsInfoVersion(DWORD dwVersion) const
{
    return std::find(m_info.versions.begin(), m_info.versions.end(), dwVersion) != m_info.versions.end();
}

BOOL CUpdateInfo::IsUpdateVersion(DWORD dwVersion) const
{
    return std::find(m_update.versions.begin(), m_update.versions.end(), dwVersion) != m_update.versions.end();
}
