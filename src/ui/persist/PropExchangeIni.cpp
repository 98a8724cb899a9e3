#include "PropExchangeIni.h"

#include <vector>

IMPLEMENT_DYNAMIC(CXTPPropExchangeIniFile, CXTPPropExchange)

namespace
{
// The system keeps a profile file cached and writes it back later: this writes it now and drops it from the
// cache, so that a copy in or out of the file sees what the profile functions see.
void FlushProfile(LPCTSTR lpszFile) { ::WritePrivateProfileStringW(nullptr, nullptr, nullptr, lpszFile); }

// Answered for an absent key: a stored empty text is then told apart from no text.
const LPCTSTR kAbsent = L"\x01";

// The whole profile string (or the section names with lpszSection null), however long.
BOOL ReadProfile(LPCTSTR lpszSection, LPCTSTR lpszKey, LPCTSTR lpszFile, CString& strValue)
{
    for (DWORD nSize = 4096;; nSize *= 2) {
        std::vector<WCHAR> buffer(nSize);
        DWORD nRead = ::GetPrivateProfileStringW(lpszSection, lpszKey, lpszKey ? kAbsent : L"", buffer.data(), nSize, lpszFile);
        // A full buffer means the text was cut: read again with more room.
        if (nRead < nSize - (lpszKey ? 1 : 2) || nSize >= 0x4000000) {
            strValue = CString(std::wstring(buffer.data(), nRead));
            return !lpszKey || strValue != kAbsent;
        }
    }
}

std::vector<CString> SectionNames(LPCTSTR lpszFile)
{
    CString strNames;
    ReadProfile(nullptr, nullptr, lpszFile, strNames);
    std::vector<CString> names;
    for (int nStart = 0; nStart < strNames.GetLength();) {
        CString strName = strNames.Mid(nStart);
        strName = strName.Left(static_cast<int>(wcslen(strName)));
        nStart += strName.GetLength() + 1;
        names.push_back(strName);
    }
    return names;
}

// The section itself, or one of its child sections.
BOOL IsSectionOrChild(const CString& strName, const CString& strSection)
{
    CString strPrefix = strSection + L"\\";
    return strName.CompareNoCase(strSection) == 0 || strName.Left(strPrefix.GetLength()).CompareNoCase(strPrefix) == 0;
}
}

CXTPPropExchangeIniFile::CXTPPropExchangeIniFile(BOOL bLoading, LPCTSTR lpszParentSection, LPCTSTR lpszSection)
{
    m_bLoading = bLoading;
    m_strSectionName = lpszParentSection ? CString(lpszParentSection) + L"\\" + lpszSection : CString(lpszSection);
}

CXTPPropExchangeIniFile::~CXTPPropExchangeIniFile()
{
    if (!m_bChildSection && m_bTempFile && !m_strFileName.IsEmpty()) {
        FlushProfile(m_strFileName);
        ::DeleteFileW(m_strFileName);
    }
}

BOOL CXTPPropExchangeIniFile::OnBeforeExchange()
{
    if (!m_bInitialized) {
        if (m_strFileName.IsEmpty()) {
            WCHAR szTempPath[MAX_PATH];
            WCHAR szTempFile[MAX_PATH];
            if (::GetTempPathW(MAX_PATH, szTempPath) && ::GetTempFileNameW(szTempPath, L"QPX", 0, szTempFile)) {
                m_strFileName = szTempFile;
                m_bTempFile = TRUE;
            }
        }
        m_bInitialized = TRUE;
    }
    return !m_strFileName.IsEmpty();
}

BOOL CXTPPropExchangeIniFile::ExchangeValue(LPCTSTR pszPropName, VARTYPE vtProp, void* pvProp, const void* pvDefault)
{
    pvDefault = EffectiveDefault(pvDefault);
    if (IsLoading()) {
        CString strValue;
        if (!OnBeforeExchange() || !ReadProfile(m_strSectionName, pszPropName, m_strFileName, strValue))
            return CopyPropValue(vtProp, pvProp, pvDefault);
        return PropValueFromText(vtProp, strValue, pvProp, pvDefault);
    }
    if (!OnBeforeExchange())
        return FALSE;
    // A value back at its default leaves the file, so that a reload does not give the older value back.
    if (pvDefault && IsSamePropValue(vtProp, pvProp, pvDefault)) {
        if (!m_bEmptySection)
            ::WritePrivateProfileStringW(m_strSectionName, pszPropName, nullptr, m_strFileName);
        return TRUE;
    }
    CString strValue;
    return PropValueToText(vtProp, pvProp, strValue) &&
           ::WritePrivateProfileStringW(m_strSectionName, pszPropName, strValue, m_strFileName);
}

CXTPPropExchange* CXTPPropExchangeIniFile::GetSection(LPCTSTR pszSection)
{
    OnBeforeExchange();
    CXTPPropExchangeIniFile* pSection = new CXTPPropExchangeIniFile(m_bLoading, m_strSectionName, pszSection);
    pSection->m_strFileName = m_strFileName;
    pSection->m_bTempFile = m_bTempFile;
    pSection->m_bInitialized = TRUE;
    pSection->InitSection(this);
    return pSection;
}

void CXTPPropExchangeIniFile::EmptySection()
{
    CXTPPropExchange::EmptySection();
    if (!OnBeforeExchange())
        return;
    for (const CString& strName : SectionNames(m_strFileName)) {
        if (IsSectionOrChild(strName, m_strSectionName))
            ::WritePrivateProfileStringW(strName, nullptr, nullptr, m_strFileName);
    }
}

BOOL CXTPPropExchangeIniFile::IsSectionExists(LPCTSTR pszSection)
{
    if (!OnBeforeExchange())
        return FALSE;
    CString strSection = m_strSectionName + L"\\" + pszSection;
    for (const CString& strName : SectionNames(m_strFileName)) {
        if (IsSectionOrChild(strName, strSection))
            return TRUE;
    }
    return FALSE;
}

BOOL CXTPPropExchangeIniFile::LoadFromFile(LPCTSTR lpszFileName)
{
    DWORD dwAttributes = ::GetFileAttributesW(lpszFileName);
    if (dwAttributes == INVALID_FILE_ATTRIBUTES || (dwAttributes & FILE_ATTRIBUTE_DIRECTORY) || !OnBeforeExchange())
        return FALSE;
    FlushProfile(m_strFileName);
    BOOL bCopied = ::CopyFileW(lpszFileName, m_strFileName, FALSE);
    FlushProfile(m_strFileName);
    return bCopied;
}

BOOL CXTPPropExchangeIniFile::SaveToFile(LPCTSTR lpszFileName)
{
    if (!OnBeforeExchange())
        return FALSE;
    if (m_strFileName.CompareNoCase(lpszFileName) == 0)
        return TRUE;
    FlushProfile(m_strFileName);
    // The copy goes beside the destination first: a failure leaves the destination as it was.
    CString strPartial = CString(lpszFileName) + L".tmp";
    if (!::CopyFileW(m_strFileName, strPartial, FALSE))
        return FALSE;
    if (!::MoveFileExW(strPartial, lpszFileName, MOVEFILE_REPLACE_EXISTING)) {
        ::DeleteFileW(strPartial);
        return FALSE;
    }
    return TRUE;
}

void CXTPPropExchangeIniFile::AssignFile(LPCTSTR lpszFileName)
{
    if (!m_bChildSection && m_bTempFile && !m_strFileName.IsEmpty()) {
        FlushProfile(m_strFileName);
        ::DeleteFileW(m_strFileName);
    }
    m_strFileName = lpszFileName;
    m_bTempFile = FALSE;
    m_bInitialized = TRUE;
}
