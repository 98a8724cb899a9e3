#include "PropExchangeIni.h"

IMPLEMENT_DYNAMIC(CXTPPropExchangeIniFile, CXTPPropExchange)

namespace
{
BOOL ReadBytes(LPCTSTR lpszFileName, std::string& bytes)
{
    DWORD dwAttributes = ::GetFileAttributesW(lpszFileName);
    if (dwAttributes == INVALID_FILE_ATTRIBUTES || (dwAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return FALSE;
    CFile file;
    if (!file.Open(lpszFileName, CFile::modeRead | CFile::shareDenyWrite))
        return FALSE;
    try {
        bytes.assign(static_cast<size_t>(file.GetLength()), '\0');
        return bytes.empty() || file.Read(&bytes[0], static_cast<UINT>(bytes.size())) == bytes.size();
    } catch (CException* e) {
        e->Delete();
        return FALSE;
    }
}

// The bytes go beside the destination first: a failure leaves the destination as it was.
BOOL WriteBytes(LPCTSTR lpszFileName, const std::string& bytes)
{
    CString strPartial = CString(lpszFileName) + L".tmp";
    HANDLE hFile = ::CreateFileW(strPartial, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return FALSE;
    DWORD dwWritten = 0;
    BOOL bWritten = ::WriteFile(hFile, bytes.data(), static_cast<DWORD>(bytes.size()), &dwWritten, nullptr) &&
                    dwWritten == bytes.size();
    ::CloseHandle(hFile);
    if (!bWritten || !::MoveFileExW(strPartial, lpszFileName, MOVEFILE_REPLACE_EXISTING)) {
        ::DeleteFileW(strPartial);
        return FALSE;
    }
    return TRUE;
}
}

CXTPPropExchangeIniFile::CXTPPropExchangeIniFile(BOOL bLoading, LPCTSTR lpszParentSection, LPCTSTR lpszSection)
{
    m_bLoading = bLoading;
    m_strSectionName = lpszParentSection ? CString(lpszParentSection) + L"\\" + lpszSection : CString(lpszSection);
}

CXTPPropExchangeIniFile::~CXTPPropExchangeIniFile()
{
    if (!m_bChildSection && !m_strFileName.IsEmpty() && m_pDocument && m_pDocument->IsChanged())
        WriteBytes(m_strFileName, m_pDocument->Save());
}

BOOL CXTPPropExchangeIniFile::OnBeforeExchange()
{
    if (!m_pDocument)
        m_pDocument = std::make_shared<CIniDocument>();
    m_bInitialized = TRUE;
    return TRUE;
}

BOOL CXTPPropExchangeIniFile::ExchangeValue(LPCTSTR pszPropName, VARTYPE vtProp, void* pvProp, const void* pvDefault)
{
    pvDefault = EffectiveDefault(pvDefault);
    OnBeforeExchange();
    if (IsLoading()) {
        CString strValue;
        if (!m_pDocument->Lookup(m_strSectionName, pszPropName, strValue))
            return CopyPropValue(vtProp, pvProp, pvDefault);
        return PropValueFromText(vtProp, strValue, pvProp, pvDefault);
    }
    // A value back at its default leaves the file, so that a reload does not give the older value back.
    if (pvDefault && IsSamePropValue(vtProp, pvProp, pvDefault)) {
        if (!m_bEmptySection)
            m_pDocument->RemoveValue(m_strSectionName, pszPropName);
        return TRUE;
    }
    CString strValue;
    if (!PropValueToText(vtProp, pvProp, strValue))
        return FALSE;
    m_pDocument->SetValue(m_strSectionName, pszPropName, strValue);
    return TRUE;
}

CXTPPropExchange* CXTPPropExchangeIniFile::GetSection(LPCTSTR pszSection)
{
    OnBeforeExchange();
    CXTPPropExchangeIniFile* pSection = new CXTPPropExchangeIniFile(m_bLoading, m_strSectionName, pszSection);
    pSection->m_pDocument = m_pDocument;
    pSection->m_bInitialized = TRUE;
    pSection->InitSection(this);
    return pSection;
}

void CXTPPropExchangeIniFile::EmptySection()
{
    CXTPPropExchange::EmptySection();
    OnBeforeExchange();
    m_pDocument->RemoveTree(m_strSectionName);
}

BOOL CXTPPropExchangeIniFile::IsSectionExists(LPCTSTR pszSection)
{
    OnBeforeExchange();
    return m_pDocument->HasTree(m_strSectionName + L"\\" + pszSection);
}

BOOL CXTPPropExchangeIniFile::LoadFromFile(LPCTSTR lpszFileName)
{
    std::string bytes;
    if (!ReadBytes(lpszFileName, bytes))
        return FALSE;
    OnBeforeExchange();
    m_pDocument->Load(bytes);
    m_bNoFile = FALSE;
    return TRUE;
}

BOOL CXTPPropExchangeIniFile::SaveToFile(LPCTSTR lpszFileName)
{
    OnBeforeExchange();
    if (m_bNoFile && !m_pDocument->IsChanged())
        return FALSE;
    return WriteBytes(lpszFileName, m_pDocument->Save());
}

void CXTPPropExchangeIniFile::AssignFile(LPCTSTR lpszFileName)
{
    std::string bytes;
    m_bNoFile = !ReadBytes(lpszFileName, bytes);
    OnBeforeExchange();
    m_pDocument->Load(bytes);
    m_strFileName = lpszFileName;
}
