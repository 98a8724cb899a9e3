#include "PropExchangeIni.h"

#include "ui/persist/WholeFile.h"

IMPLEMENT_DYNAMIC(CXTPPropExchangeIniFile, CXTPPropExchange)

namespace
{
BOOL ReadBytes(LPCTSTR lpszFileName, std::string& bytes)
{
    std::vector<BYTE> data;
    if (!ReadWholeFile(lpszFileName, data, MAXDWORD))
        return FALSE;
    bytes.assign(data.begin(), data.end());
    return TRUE;
}

BOOL WriteBytes(LPCTSTR lpszFileName, const std::string& bytes)
{
    return WriteWholeFile(lpszFileName, bytes.data(), bytes.size());
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
