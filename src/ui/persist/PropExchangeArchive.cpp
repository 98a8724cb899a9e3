#include "PropExchangeArchive.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

IMPLEMENT_DYNAMIC(CXTPPropExchangeArchive, CXTPPropExchange)

CXTPPropExchangeArchive::CXTPPropExchangeArchive(CArchive& ar) : m_ar(ar) { m_bLoading = ar.IsLoading(); }

namespace
{
template <class T>
void ExchangeRaw(CArchive& ar, BOOL bLoading, void* pvProp)
{
    if (bLoading)
        ar >> *static_cast<T*>(pvProp);
    else
        ar << *static_cast<const T*>(pvProp);
}
}

BOOL CXTPPropExchangeArchive::ExchangeValue(LPCTSTR /*pszPropName*/, VARTYPE vtProp, void* pvProp, const void* /*pvDefault*/)
{
    if (!OnBeforeExchange())
        return FALSE;
    switch (vtProp) {
    case VT_UI1: ExchangeRaw<BYTE>(m_ar, m_bLoading, pvProp); return TRUE;
    case VT_I2: ExchangeRaw<short>(m_ar, m_bLoading, pvProp); return TRUE;
    case VT_I4:
    case VT_BOOL: ExchangeRaw<LONG>(m_ar, m_bLoading, pvProp); return TRUE;
    case VT_R4: ExchangeRaw<float>(m_ar, m_bLoading, pvProp); return TRUE;
    case VT_R8: ExchangeRaw<double>(m_ar, m_bLoading, pvProp); return TRUE;
    case VT_CY: {
        // Two four-byte words, low first.
        CURRENCY& cy = *static_cast<CURRENCY*>(pvProp);
        ExchangeRaw<DWORD>(m_ar, m_bLoading, &cy.Lo);
        ExchangeRaw<LONG>(m_ar, m_bLoading, &cy.Hi);
        return TRUE;
    }
    case VT_DATE: ExchangeRaw<COleDateTime>(m_ar, m_bLoading, pvProp); return TRUE;
    case VT_VARIANT: ExchangeRaw<COleVariant>(m_ar, m_bLoading, pvProp); return TRUE;
    case VT_LPSTR: ExchangeRaw<CString>(m_ar, m_bLoading, pvProp); return TRUE;
    case VT_EX_RECT: {
        LONG* pn = static_cast<LONG*>(pvProp);
        for (int i = 0; i < 4; ++i)
            ExchangeRaw<LONG>(m_ar, m_bLoading, pn + i);
        return TRUE;
    }
    case VT_EX_SIZE: {
        LONG* pn = static_cast<LONG*>(pvProp);
        for (int i = 0; i < 2; ++i)
            ExchangeRaw<LONG>(m_ar, m_bLoading, pn + i);
        return TRUE;
    }
    default: return FALSE;
    }
}

BOOL CXTPPropExchangeArchive::ExchangeBlob(LPCTSTR /*pszPropName*/, BYTE*& pData, DWORD& nBytes)
{
    if (!OnBeforeExchange())
        return FALSE;
    if (IsStoring()) {
        m_ar.WriteCount(nBytes);
        m_ar.Write(pData, nBytes);
        return TRUE;
    }
    DWORD_PTR nCount = m_ar.ReadCount();
    if (nCount > 0xFFFFFFFF || (pData && nBytes < nCount))
        return FALSE;
    // The stored count is not trusted: the bytes are read in steps, so a count beyond the stream fails when the
    // stream ends, having held no more memory than the stream gave.
    std::vector<BYTE> bytes;
    const DWORD nStep = 0x10000;
    while (bytes.size() < nCount) {
        size_t nOld = bytes.size();
        UINT nWant = static_cast<UINT>(std::min<DWORD_PTR>(nStep, nCount - nOld));
        bytes.resize(nOld + nWant);
        if (m_ar.Read(bytes.data() + nOld, nWant) != nWant)
            return FALSE;
    }
    BYTE* pTarget = pData ? pData : static_cast<BYTE*>(std::malloc(nCount ? nCount : 1));
    if (!pTarget)
        return FALSE;
    if (nCount)
        std::memcpy(pTarget, bytes.data(), nCount);
    pData = pTarget;
    nBytes = static_cast<DWORD>(nCount);
    return TRUE;
}

BOOL CXTPPropExchangeArchive::ExchangeRuntimeClass(LPCTSTR /*pszPropName*/, CRuntimeClass*& pClass, CRuntimeClass* pDefaultClass)
{
    if (!OnBeforeExchange())
        return FALSE;
    if (IsStoring()) {
        if (!pClass)
            return FALSE;
        m_ar.WriteClass(pClass);
        return TRUE;
    }
    CRuntimeClass* pLoaded = m_ar.ReadClass(pDefaultClass, &m_nSchema);
    if (!pLoaded)
        return FALSE;
    pClass = pLoaded;
    return TRUE;
}

BOOL CXTPPropExchangeArchive::ExchangeObjectInstance(CObject*& pObject, CRuntimeClass* pObjectRuntime)
{
    if (!CXTPPropExchange::ExchangeObjectInstance(pObject, pObjectRuntime))
        return FALSE;
    m_ar.MapObject(pObject);
    return TRUE;
}

CArchive* CXTPPropExchangeArchive::GetArchive(LPCTSTR /*pszPropName*/) { return &m_ar; }

void CXTPPropExchangeArchive::ReleaseArchive(LPCTSTR /*pszPropName*/, CArchive* /*pArchive*/) {}

CXTPPropExchange* CXTPPropExchangeArchive::GetSection(LPCTSTR /*pszSection*/)
{
    CXTPPropExchangeArchive* pSection = new CXTPPropExchangeArchive(m_ar);
    pSection->InitSection(this);
    return pSection;
}

void CXTPPropExchangeArchive::WriteCount(DWORD dwCount) { m_ar.WriteCount(dwCount); }

DWORD CXTPPropExchangeArchive::ReadCount() { return static_cast<DWORD>(m_ar.ReadCount()); }

BOOL CXTPPropExchangeArchive::ExchangeBinary(LPCTSTR /*pszPropName*/, void* pData, DWORD nBytes)
{
    if (IsStoring()) {
        m_ar.Write(pData, nBytes);
        return TRUE;
    }
    return m_ar.Read(pData, nBytes) == nBytes;
}

DWORD CXTPPropExchangeArchive::ReadBinary(LPCTSTR /*pszPropName*/, void* pData, DWORD nBytes)
{
    return m_ar.Read(pData, nBytes);
}
