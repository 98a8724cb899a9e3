#include "PropExchangeRegistry.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <cwchar>

IMPLEMENT_DYNAMIC(CXTPPropExchangeRegistry, CXTPPropExchange)

LONG AfxDelRegTreeHelper(HKEY hParentKey, const CString& strKeyName)
{
    HKEY hKey = nullptr;
    LONG lResult = ::RegOpenKeyExW(hParentKey, strKeyName, 0, KEY_READ | KEY_WRITE, &hKey);
    if (lResult != ERROR_SUCCESS)
        return lResult;
    // Index 0 every time: each deletion shifts the subkeys that remain.
    for (;;) {
        WCHAR szSubKey[256];
        DWORD nLength = _countof(szSubKey);
        if (::RegEnumKeyExW(hKey, 0, szSubKey, &nLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        lResult = AfxDelRegTreeHelper(hKey, szSubKey);
        if (lResult != ERROR_SUCCESS) {
            ::RegCloseKey(hKey);
            return lResult;
        }
    }
    ::RegCloseKey(hKey);
    return ::RegDeleteKeyW(hParentKey, strKeyName);
}

CXTPPropExchangeRegistry::CXTPPropExchangeRegistry(BOOL bLoading, HKEY hParentKey, LPCTSTR lpszSection)
    : m_hParentKey(hParentKey), m_strSectionName(lpszSection)
{
    m_bLoading = bLoading;
}

CXTPPropExchangeRegistry::~CXTPPropExchangeRegistry() { CloseKey(); }

void CXTPPropExchangeRegistry::CloseKey()
{
    if (m_hSectionKey) {
        ::RegCloseKey(m_hSectionKey);
        m_hSectionKey = nullptr;
    }
}

BOOL CXTPPropExchangeRegistry::OnBeforeExchange()
{
    if (!m_hParentKey)
        return FALSE;
    if (!m_bInitialized) {
        // A loading section under a read-only parent is opened when it exists; otherwise it is created empty.
        if (!m_bLoading || ::RegOpenKeyExW(m_hParentKey, m_strSectionName, 0, KEY_READ, &m_hSectionKey) != ERROR_SUCCESS)
            ::RegCreateKeyExW(m_hParentKey, m_strSectionName, 0, nullptr, REG_OPTION_NON_VOLATILE,
                              m_bLoading ? KEY_READ : KEY_WRITE, nullptr, &m_hSectionKey, nullptr);
        m_bInitialized = TRUE;
        if (m_bLoading)
            ReadStoredValues();
    }
    return m_hSectionKey != nullptr;
}

bool CXTPPropExchangeRegistry::CNameLess::operator()(const CString& a, const CString& b) const
{
    return ::CompareStringOrdinal(a, a.GetLength(), b, b.GetLength(), TRUE) == CSTR_LESS_THAN;
}

void CXTPPropExchangeRegistry::ReadStoredValues()
{
    m_values.clear();
    if (!m_hSectionKey)
        return;
    // A value that grows between the size query and the enumeration makes the walk start again with room for it.
    for (int nAttempt = 0; nAttempt < 3; nAttempt++) {
        DWORD nValues = 0;
        DWORD nMaxName = 0;
        DWORD nMaxData = 0;
        if (::RegQueryInfoKeyW(m_hSectionKey, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &nValues, &nMaxName,
                               &nMaxData, nullptr, nullptr) != ERROR_SUCCESS)
            return;
        std::vector<WCHAR> name(nMaxName + 1);
        std::vector<BYTE> data(nMaxData ? nMaxData : 1);
        LONG lResult = ERROR_SUCCESS;
        // The count saves the call that would only answer "no more items".
        for (DWORD nIndex = 0; nIndex < nValues; nIndex++) {
            DWORD nNameLength = static_cast<DWORD>(name.size());
            DWORD nBytes = static_cast<DWORD>(data.size());
            DWORD dwType = 0;
            lResult = ::RegEnumValueW(m_hSectionKey, nIndex, name.data(), &nNameLength, nullptr, &dwType, data.data(), &nBytes);
            if (lResult != ERROR_SUCCESS)
                break;
            CStoredValue& value = m_values[CString(name.data(), static_cast<int>(nNameLength))];
            value.dwType = dwType;
            value.data.assign(data.begin(), data.begin() + nBytes);
        }
        if (lResult != ERROR_MORE_DATA)
            return;
        m_values.clear();
    }
}

const CXTPPropExchangeRegistry::CStoredValue* CXTPPropExchangeRegistry::FindStoredValue(LPCTSTR pszPropName) const
{
    auto it = m_values.find(CString(pszPropName ? pszPropName : L""));
    return it == m_values.end() ? nullptr : &it->second;
}

BOOL CXTPPropExchangeRegistry::QueryValue(LPCTSTR pszPropName, DWORD dwType, void* pData, DWORD nMin, DWORD nMax, DWORD* pnRead)
{
    const CStoredValue* pValue = FindStoredValue(pszPropName);
    if (!pValue || pValue->dwType != dwType)
        return FALSE;
    DWORD nBytes = static_cast<DWORD>(pValue->data.size());
    if (nBytes < nMin || nBytes > nMax)
        return FALSE;
    if (nBytes)
        std::memcpy(pData, pValue->data.data(), nBytes);
    if (pnRead)
        *pnRead = nBytes;
    return TRUE;
}

// The stored text need not end with a zero: the buffer is terminated here.
BOOL CXTPPropExchangeRegistry::QueryString(LPCTSTR pszPropName, CString& strValue)
{
    const CStoredValue* pValue = FindStoredValue(pszPropName);
    if (!pValue || (pValue->dwType != REG_SZ && pValue->dwType != REG_EXPAND_SZ))
        return FALSE;
    int nChars = static_cast<int>(pValue->data.size() / sizeof(WCHAR));
    LPWSTR pszBuffer = strValue.GetBuffer(nChars + 1);
    if (nChars)
        std::memcpy(pszBuffer, pValue->data.data(), nChars * sizeof(WCHAR));
    pszBuffer[nChars] = 0;
    strValue.ReleaseBuffer();
    return TRUE;
}

BOOL CXTPPropExchangeRegistry::SetValue(LPCTSTR pszPropName, DWORD dwType, const void* pData, DWORD nBytes)
{
    return ::RegSetValueExW(m_hSectionKey, pszPropName, 0, dwType, static_cast<const BYTE*>(pData), nBytes) == ERROR_SUCCESS;
}

BOOL CXTPPropExchangeRegistry::SetString(LPCTSTR pszPropName, const CString& strValue)
{
    return SetValue(pszPropName, REG_SZ, static_cast<LPCTSTR>(strValue),
                    static_cast<DWORD>((strValue.GetLength() + 1) * sizeof(WCHAR)));
}

BOOL CXTPPropExchangeRegistry::ExchangeValue(LPCTSTR pszPropName, VARTYPE vtProp, void* pvProp, const void* pvDefault)
{
    pvDefault = EffectiveDefault(pvDefault);
    BOOL bNumber = vtProp == VT_UI1 || vtProp == VT_I2 || vtProp == VT_I4 || vtProp == VT_BOOL;
    BOOL bFloat = vtProp == VT_R4 || vtProp == VT_R8;
    BOOL bText = vtProp == VT_LPSTR || vtProp == VT_EX_RECT || vtProp == VT_EX_SIZE;
    if (!bNumber && !bFloat && !bText)
        return FALSE;
    DWORD nFloatSize = vtProp == VT_R4 ? 4 : 8;

    if (m_bLoading) {
        if (!OnBeforeExchange())
            return CopyPropValue(vtProp, pvProp, pvDefault);
        if (!FindStoredValue(pszPropName))
            return CopyPropValue(vtProp, pvProp, pvDefault);
        if (bNumber) {
            DWORD dwValue = 0;
            if (!QueryValue(pszPropName, REG_DWORD, &dwValue, 4, 4))
                return FALSE;
            // Narrowed to the variable's width.
            switch (vtProp) {
            case VT_UI1: *static_cast<BYTE*>(pvProp) = static_cast<BYTE>(dwValue); break;
            case VT_I2: *static_cast<WORD*>(pvProp) = static_cast<WORD>(dwValue); break;
            default: *static_cast<DWORD*>(pvProp) = dwValue; break;
            }
            return TRUE;
        }
        if (bFloat)
            return QueryValue(pszPropName, REG_BINARY, pvProp, nFloatSize, nFloatSize);
        CString strValue;
        if (!QueryString(pszPropName, strValue))
            return FALSE;
        if (vtProp == VT_LPSTR) {
            *static_cast<CString*>(pvProp) = strValue;
            return TRUE;
        }
        return PropValueFromText(vtProp, strValue, pvProp, pvDefault);
    }

    if (!OnBeforeExchange())
        return FALSE;
    if (pvDefault && IsSamePropValue(vtProp, pvProp, pvDefault)) {
        if (!m_bEmptySection)
            ::RegDeleteValueW(m_hSectionKey, pszPropName);
        return TRUE;
    }
    if (bNumber) {
        DWORD dwValue = static_cast<DWORD>(vtProp == VT_UI1 ? *static_cast<const BYTE*>(pvProp)
                                           : vtProp == VT_I2 ? *static_cast<const WORD*>(pvProp)
                                                             : *static_cast<const DWORD*>(pvProp));
        return SetValue(pszPropName, REG_DWORD, &dwValue, sizeof(dwValue));
    }
    if (bFloat)
        return SetValue(pszPropName, REG_BINARY, pvProp, nFloatSize);
    if (vtProp == VT_LPSTR)
        return SetString(pszPropName, *static_cast<const CString*>(pvProp));
    CString strValue;
    return PropValueToText(vtProp, pvProp, strValue) && SetString(pszPropName, strValue);
}

BOOL CXTPPropExchangeRegistry::ExchangeBlob(LPCTSTR pszPropName, BYTE*& pData, DWORD& nBytes)
{
    if (!OnBeforeExchange())
        return FALSE;
    if (IsStoring())
        return SetValue(pszPropName, REG_BINARY, pData, nBytes);
    // The size comes from the value itself: nothing is allocated beyond what the value holds.
    const CStoredValue* pValue = FindStoredValue(pszPropName);
    DWORD nSize = pValue ? static_cast<DWORD>(pValue->data.size()) : 0;
    if (!pValue || pValue->dwType != REG_BINARY || (pData && nBytes < nSize))
        return FALSE;
    BYTE* pTarget = pData ? pData : static_cast<BYTE*>(std::malloc(nSize ? nSize : 1));
    if (!pTarget)
        return FALSE;
    if (nSize)
        std::memcpy(pTarget, pValue->data.data(), nSize);
    pData = pTarget;
    nBytes = nSize;
    return TRUE;
}

CXTPPropExchange* CXTPPropExchangeRegistry::GetSection(LPCTSTR pszSection)
{
    OnBeforeExchange();
    CXTPPropExchangeRegistry* pSection = new CXTPPropExchangeRegistry(m_bLoading, m_hSectionKey, pszSection);
    pSection->InitSection(this);
    return pSection;
}

void CXTPPropExchangeRegistry::EmptySection()
{
    CXTPPropExchange::EmptySection();
    CloseKey();
    m_values.clear();
    if (m_hParentKey)
        AfxDelRegTreeHelper(m_hParentKey, m_strSectionName);
    m_bInitialized = FALSE;
}

BOOL CXTPPropExchangeRegistry::IsPropertyExists(LPCTSTR pszPropName)
{
    if (!OnBeforeExchange())
        return FALSE;
    if (m_bLoading)
        return FindStoredValue(pszPropName) != nullptr;
    return ::RegQueryValueExW(m_hSectionKey, pszPropName, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

BOOL CXTPPropExchangeRegistry::IsSectionExists(LPCTSTR pszSection)
{
    if (!OnBeforeExchange())
        return FALSE;
    HKEY hKey = nullptr;
    if (::RegOpenKeyExW(m_hSectionKey, pszSection, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return FALSE;
    ::RegCloseKey(hKey);
    return TRUE;
}
