#include "PropExchange.h"

#include "platform/mfc/afxmemfile.h"

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>

IMPLEMENT_DYNAMIC(CXTPPropExchange, CCmdTarget)

namespace
{
LCID g_lcidPropExchange = ::GetUserDefaultLCID();

// Byte size of the codes compared and copied byte-wise; 0 for the others.
size_t FixedSize(VARTYPE vtProp)
{
    switch (vtProp) {
    case VT_UI1: return 1;
    case VT_I2: return 2;
    case VT_I4:
    case VT_BOOL:
    case VT_R4: return 4;
    case VT_R8:
    case VT_CY:
    case VT_EX_SIZE: return 8;
    case VT_EX_RECT: return 16;
    default: return 0;
    }
}

// Numbers are written and read in the "C" form whatever the user's locale: shortest text that reads back
// to the same value.
template <class T>
CString NumberToText(T value)
{
    char sz[64];
    auto result = std::to_chars(sz, sz + sizeof(sz), value);
    return CString(std::string(sz, result.ptr).c_str());
}

template <class T>
BOOL NumberFromText(const CString& strValue, T& value)
{
    std::string text;
    for (int i = 0; i < strValue.GetLength(); ++i) {
        if (strValue[i] > 0x7F)
            return FALSE;
        text += static_cast<char>(strValue[i]);
    }
    size_t nFirst = text.find_first_not_of(" \t");
    if (nFirst == std::string::npos)
        return FALSE;
    T parsed {};
    auto result = std::from_chars(text.data() + nFirst, text.data() + text.size(), parsed);
    if (result.ec != std::errc())
        return FALSE;
    value = parsed;
    return TRUE;
}

// An integer text as atoi reads it, kept to 32 bits (a DWORD above 0x7FFFFFFF is written negative).
LONG IntegerFromText(const CString& strValue)
{
    return static_cast<LONG>(static_cast<ULONG>(std::wcstoll(strValue, nullptr, 10)));
}

void StoreInteger(VARTYPE vtProp, void* pvProp, LONG nValue)
{
    switch (vtProp) {
    case VT_UI1: *static_cast<BYTE*>(pvProp) = static_cast<BYTE>(nValue); break;
    case VT_I2: *static_cast<short*>(pvProp) = static_cast<short>(nValue); break;
    default: *static_cast<LONG*>(pvProp) = nValue; break;
    }
}

LONG LoadInteger(VARTYPE vtProp, const void* pvProp)
{
    switch (vtProp) {
    case VT_UI1: return *static_cast<const BYTE*>(pvProp);
    case VT_I2: return *static_cast<const short*>(pvProp);
    default: return *static_cast<const LONG*>(pvProp);
    }
}
}

LCID XTPGetPropExchangeLocale() { return g_lcidPropExchange; }

void XTPSetPropExchangeLocale(LCID lcid) { g_lcidPropExchange = lcid; }

CString XTPEscapePropString(const CString& strValue)
{
    CString strResult;
    for (int i = 0; i < strValue.GetLength(); ++i) {
        switch (TCHAR ch = strValue[i]) {
        case L'\\': strResult += L"\\\\"; break;
        case L'\n': strResult += L"\\n"; break;
        case L'\r': strResult += L"\\r"; break;
        case L'\t': strResult += L"\\t"; break;
        default: strResult += ch; break;
        }
    }
    return strResult;
}

// One pass, so that no character of the text can be taken for a marker; a backslash before any other
// character, or a final one, stays as it is.
CString XTPUnescapePropString(const CString& strValue)
{
    if (strValue.Find(L'\\') < 0)
        return strValue;
    CString strResult;
    int nLength = strValue.GetLength();
    for (int i = 0; i < nLength; ++i) {
        TCHAR ch = strValue[i];
        if (ch == L'\\' && i + 1 < nLength) {
            TCHAR chNext = strValue[i + 1];
            TCHAR chPlain = chNext == L'\\' ? L'\\' : chNext == L'n' ? L'\n' : chNext == L'r' ? L'\r'
                          : chNext == L't' ? L'\t' : 0;
            if (chPlain) {
                strResult += chPlain;
                ++i;
                continue;
            }
        }
        strResult += ch;
    }
    return strResult;
}

CXTPPropExchange::CXTPPropExchange() = default;

BOOL CXTPPropExchange::IsSamePropValue(VARTYPE vtProp, const void* pv1, const void* pv2)
{
    if (pv1 == pv2)
        return TRUE;
    if (!pv1 || !pv2)
        return FALSE;
    if (size_t nSize = FixedSize(vtProp))
        return std::memcmp(pv1, pv2, nSize) == 0;
    switch (vtProp) {
    case VT_DATE: {
        const COleDateTime& a = *static_cast<const COleDateTime*>(pv1);
        const COleDateTime& b = *static_cast<const COleDateTime*>(pv2);
        return a.GetStatus() == b.GetStatus() && a.m_dt == b.m_dt;
    }
    case VT_BSTR: {
        BSTR a = *static_cast<const BSTR*>(pv1);
        BSTR b = *static_cast<const BSTR*>(pv2);
        return std::wcscmp(a ? a : L"", b ? b : L"") == 0;
    }
    case VT_VARIANT: return *static_cast<const COleVariant*>(pv1) == *static_cast<const COleVariant*>(pv2);
    case VT_LPSTR: return *static_cast<const CString*>(pv1) == *static_cast<const CString*>(pv2);
    default: return FALSE;
    }
}

BOOL CXTPPropExchange::CopyPropValue(VARTYPE vtProp, void* pvDest, const void* pvSrc)
{
    if (!pvSrc)
        return FALSE;
    if (size_t nSize = FixedSize(vtProp)) {
        std::memmove(pvDest, pvSrc, nSize);
        return TRUE;
    }
    switch (vtProp) {
    case VT_DATE: *static_cast<COleDateTime*>(pvDest) = *static_cast<const COleDateTime*>(pvSrc); return TRUE;
    case VT_BSTR: {
        BSTR& bstrDest = *static_cast<BSTR*>(pvDest);
        BSTR bstrSrc = *static_cast<const BSTR*>(pvSrc);
        if (bstrDest != bstrSrc) {
            ::SysFreeString(bstrDest);
            bstrDest = ::SysAllocString(bstrSrc ? bstrSrc : L"");
        }
        return TRUE;
    }
    case VT_VARIANT: *static_cast<COleVariant*>(pvDest) = *static_cast<const COleVariant*>(pvSrc); return TRUE;
    case VT_LPSTR: *static_cast<CString*>(pvDest) = *static_cast<const CString*>(pvSrc); return TRUE;
    default: return FALSE;
    }
}

const void* CXTPPropExchange::EffectiveDefault(const void* pvDefault) const
{
    return (m_bLoading ? m_bUseDefaultOnLoad : m_bUseDefaultOnSave) ? pvDefault : nullptr;
}

BOOL CXTPPropExchange::PropValueToText(VARTYPE vtProp, const void* pvProp, CString& strValue)
{
    switch (vtProp) {
    case VT_UI1:
    case VT_I2:
    case VT_I4:
    case VT_BOOL: strValue.Format(L"%i", static_cast<int>(LoadInteger(vtProp, pvProp))); return TRUE;
    case VT_R4: strValue = NumberToText(*static_cast<const float*>(pvProp)); return TRUE;
    case VT_R8: strValue = NumberToText(*static_cast<const double*>(pvProp)); return TRUE;
    case VT_DATE:
        strValue = static_cast<const COleDateTime*>(pvProp)->Format(0, g_lcidPropExchange);
        return TRUE;
    case VT_BSTR: {
        BSTR bstr = *static_cast<const BSTR*>(pvProp);
        strValue = XTPEscapePropString(bstr ? bstr : L"");
        return TRUE;
    }
    case VT_VARIANT: {
        COleVariant var;
        if (FAILED(var.ChangeType(VT_BSTR, static_cast<const COleVariant*>(pvProp))))
            return FALSE;
        strValue = var.bstrVal;
        return TRUE;
    }
    case VT_LPSTR: strValue = XTPEscapePropString(*static_cast<const CString*>(pvProp)); return TRUE;
    case VT_EX_RECT: {
        const RECT& rc = *static_cast<const RECT*>(pvProp);
        strValue.Format(L"%i, %i, %i, %i", static_cast<int>(rc.left), static_cast<int>(rc.top),
                        static_cast<int>(rc.right), static_cast<int>(rc.bottom));
        return TRUE;
    }
    case VT_EX_SIZE: {
        const SIZE& sz = *static_cast<const SIZE*>(pvProp);
        strValue.Format(L"%i, %i", static_cast<int>(sz.cx), static_cast<int>(sz.cy));
        return TRUE;
    }
    default: return FALSE;   // currency has no text form
    }
}

BOOL CXTPPropExchange::PropValueFromText(VARTYPE vtProp, const CString& strValue, void* pvProp, const void* pvDefault)
{
    switch (vtProp) {
    case VT_UI1:
    case VT_I2:
    case VT_I4:
    case VT_BOOL: StoreInteger(vtProp, pvProp, IntegerFromText(strValue)); return TRUE;
    case VT_R4: return NumberFromText(strValue, *static_cast<float*>(pvProp));
    case VT_R8: return NumberFromText(strValue, *static_cast<double*>(pvProp));
    case VT_DATE: {
        COleDateTime dt;
        if (!dt.ParseDateTime(strValue, 0, g_lcidPropExchange))
            return FALSE;
        *static_cast<COleDateTime*>(pvProp) = dt;
        return TRUE;
    }
    case VT_BSTR: {
        BSTR& bstr = *static_cast<BSTR*>(pvProp);
        ::SysFreeString(bstr);
        bstr = ::SysAllocString(XTPUnescapePropString(strValue));
        return TRUE;
    }
    case VT_VARIANT: *static_cast<COleVariant*>(pvProp) = static_cast<LPCTSTR>(strValue); return TRUE;
    case VT_LPSTR: *static_cast<CString*>(pvProp) = XTPUnescapePropString(strValue); return TRUE;
    case VT_EX_RECT: {
        int l = 0, t = 0, r = 0, b = 0;
        if (std::swscanf(strValue, L"%i, %i, %i, %i", &l, &t, &r, &b) == 4) {
            *static_cast<RECT*>(pvProp) = {l, t, r, b};
            return TRUE;
        }
        return CopyPropValue(vtProp, pvProp, pvDefault);
    }
    case VT_EX_SIZE: {
        int cx = 0, cy = 0;
        if (std::swscanf(strValue, L"%i, %i", &cx, &cy) == 2) {
            *static_cast<SIZE*>(pvProp) = {cx, cy};
            return TRUE;
        }
        return CopyPropValue(vtProp, pvProp, pvDefault);
    }
    default: return FALSE;
    }
}

// Blobs in the text stores: each byte as two letters 'A' + low nibble, 'A' + high nibble.
BOOL CXTPPropExchange::ExchangeBlob(LPCTSTR pszPropName, BYTE*& pData, DWORD& nBytes)
{
    if (IsStoring()) {
        CString strText;
        LPTSTR pszText = strText.GetBuffer(static_cast<int>(nBytes * 2));
        for (DWORD i = 0; i < nBytes; ++i) {
            pszText[i * 2] = static_cast<TCHAR>(L'A' + (pData[i] & 0x0F));
            pszText[i * 2 + 1] = static_cast<TCHAR>(L'A' + (pData[i] >> 4));
        }
        strText.ReleaseBuffer(static_cast<int>(nBytes * 2));
        CString strDefault;
        return ExchangeValue(pszPropName, VT_LPSTR, &strText, &strDefault);
    }
    CString strText;
    CString strDefault;
    if (!ExchangeValue(pszPropName, VT_LPSTR, &strText, &strDefault))
        return FALSE;
    int nLength = strText.GetLength();
    if (nLength % 2 != 0)
        return FALSE;
    if (nLength == 0)
        return TRUE;
    for (int i = 0; i < nLength; ++i) {
        if (strText[i] < L'A' || strText[i] > L'P')
            return FALSE;
    }
    DWORD nSize = static_cast<DWORD>(nLength / 2);
    if (pData && nBytes < nSize)
        return FALSE;
    BYTE* pTarget = pData ? pData : static_cast<BYTE*>(std::malloc(nSize));
    if (!pTarget)
        return FALSE;
    for (DWORD i = 0; i < nSize; ++i)
        pTarget[i] = static_cast<BYTE>((strText[i * 2 + 1] - L'A') * 16 + (strText[i * 2] - L'A'));
    pData = pTarget;
    nBytes = nSize;
    return TRUE;
}

BOOL CXTPPropExchange::ExchangeRuntimeClass(LPCTSTR pszPropName, CRuntimeClass*& pClass, CRuntimeClass* pDefaultClass)
{
    CString strDefault(pDefaultClass ? pDefaultClass->m_lpszClassName : "");
    CString strName;
    if (IsStoring()) {
        if (!pClass)
            return FALSE;
        strName = pClass->m_lpszClassName;
        return ExchangeValue(pszPropName, VT_LPSTR, &strName, &strDefault);
    }
    if (!ExchangeValue(pszPropName, VT_LPSTR, &strName, &strDefault))
        return FALSE;
    CRuntimeClass* pFound = CRuntimeClass::FromName(static_cast<LPCTSTR>(strName));
    if (!pFound)
        return FALSE;
    pClass = pFound;
    return TRUE;
}

// The stored class is checked against the base before anything is made: a foreign class is never created.
BOOL CXTPPropExchange::ExchangeObjectInstance(CObject*& pObject, CRuntimeClass* pObjectRuntime)
{
    if (IsStoring()) {
        if (!pObject)
            return FALSE;
        CRuntimeClass* pClass = pObject->GetRuntimeClass();
        return ExchangeRuntimeClass(L"Class", pClass, pObjectRuntime);
    }
    pObject = nullptr;
    CRuntimeClass* pClass = nullptr;
    if (!ExchangeRuntimeClass(L"Class", pClass, pObjectRuntime))
        return FALSE;
    if (!pClass || !pClass->IsDerivedFrom(pObjectRuntime) || !pClass->m_pfnCreateObject)
        return FALSE;
    CObject* pCreated = pClass->CreateObject();
    if (!AfxDynamicDownCast(pObjectRuntime, pCreated)) {
        delete pCreated;
        return FALSE;
    }
    pObject = pCreated;
    return TRUE;
}

CArchive* CXTPPropExchange::GetArchive(LPCTSTR pszPropName)
{
    if (IsStoring())
        return new CArchive(new CMemFile(1024), CArchive::store);
    BYTE* pData = nullptr;
    DWORD nBytes = 0;
    if (!ExchangeBlob(pszPropName, pData, nBytes) || nBytes == 0) {
        std::free(pData);
        return nullptr;
    }
    return new CArchive(new CMemFile(pData, nBytes), CArchive::load);
}

void CXTPPropExchange::ReleaseArchive(LPCTSTR pszPropName, CArchive* pArchive)
{
    if (!pArchive)
        return;
    CMemFile* pFile = static_cast<CMemFile*>(pArchive->GetFile());
    if (IsStoring()) {
        try {
            pArchive->Flush();
        } catch (CException* e) {
            e->Delete();
        }
    }
    pArchive->Abort();
    DWORD nBytes = static_cast<DWORD>(pFile->GetLength());
    BYTE* pData = pFile->Detach();
    if (IsStoring())
        ExchangeBlob(pszPropName, pData, nBytes);
    delete pFile;
    std::free(pData);
    delete pArchive;
}

void CXTPPropExchange::EmptySection() { m_bEmptySection = TRUE; }

void CXTPPropExchange::WriteCount(DWORD dwCount)
{
    ExchangeDWord(this, L"Count", dwCount, 0);
}

DWORD CXTPPropExchange::ReadCount()
{
    DWORD dwCount = 0;
    ExchangeDWord(this, L"Count", dwCount, 0);
    return dwCount;
}

BOOL CXTPPropExchange::ExchangeBinary(LPCTSTR pszPropName, void* pData, DWORD nBytes)
{
    BYTE* pBuffer = static_cast<BYTE*>(pData);
    return ExchangeBlob(pszPropName, pBuffer, nBytes);
}

DWORD CXTPPropExchange::ReadBinary(LPCTSTR pszPropName, void* pData, DWORD nBytes)
{
    BYTE* pBuffer = static_cast<BYTE*>(pData);
    return ExchangeBlob(pszPropName, pBuffer, nBytes) ? nBytes : 0;
}

BOOL CXTPPropExchange::OnBeforeExchange()
{
    m_bInitialized = TRUE;
    return TRUE;
}

CXTPPropExchangeEnumerator* CXTPPropExchange::GetEnumerator(LPCTSTR pszSection)
{
    return new CXTPPropExchangeEnumerator(this, pszSection);
}

BOOL CXTPPropExchange::IsSectionExists(LPCTSTR /*pszSection*/) { return TRUE; }

void CXTPPropExchange::InitSection(const CXTPPropExchange* pParent)
{
    m_nSchema = pParent->m_nSchema;
    m_dwData = pParent->m_dwData;
    m_bEmptySection = pParent->m_bEmptySection;
    m_bUseDefaultOnLoad = pParent->m_bUseDefaultOnLoad;
    m_bUseDefaultOnSave = pParent->m_bUseDefaultOnSave;
    m_bChildSection = TRUE;
}

void CXTPPropExchange::ExchangeSchema()
{
    long nSchema = static_cast<long>(m_nSchema);
    ExchangeLong(this, L"Schema", nSchema, _XTP_SCHEMA_CURRENT);
    m_nSchema = static_cast<UINT>(nSchema);
}

void CXTPPropExchange::ExchangeLocale()
{
    LONG lcid = static_cast<LONG>(g_lcidPropExchange);
    if (ExchangeValue(L"Locale", VT_I4, &lcid, nullptr) && IsLoading())
        g_lcidPropExchange = static_cast<LCID>(lcid);
}

CXTPPropExchangeEnumerator::CXTPPropExchangeEnumerator(CXTPPropExchange* pContainer, LPCTSTR lpszSection)
    : m_pContainer(pContainer), m_strSectionName(lpszSection)
{
}

POSITION CXTPPropExchangeEnumerator::GetPosition(DWORD dwCount, BOOL bCompatible)
{
    m_nCount = dwCount;
    if (!bCompatible)
        ExchangeDWord(m_pContainer, L"Count", m_nCount, 0);
    else if (m_pContainer->IsLoading())
        m_nCount = m_pContainer->ReadCount();
    else
        m_pContainer->WriteCount(m_nCount);
    return m_nCount ? reinterpret_cast<POSITION>(1) : nullptr;
}

CString CXTPPropExchangeEnumerator::SectionName(POSITION pos) const
{
    CString strSection;
    strSection.Format(L"%s%i", static_cast<LPCTSTR>(m_strSectionName), static_cast<int>(reinterpret_cast<UINT_PTR>(pos) - 1));
    return strSection;
}

BOOL CXTPPropExchangeEnumerator::IsNextStored(POSITION pos) { return pos && m_pContainer->IsSectionExists(SectionName(pos)); }

CXTPPropExchange* CXTPPropExchangeEnumerator::GetNext(POSITION& pos)
{
    DWORD nIndex = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(pos)) - 1;
    CXTPPropExchange* pSection = m_pContainer->GetSection(SectionName(pos));
    pos = nIndex + 1 < m_nCount ? reinterpret_cast<POSITION>(static_cast<UINT_PTR>(nIndex) + 2) : nullptr;
    return pSection;
}

// Typed helpers.
namespace
{
template <class T>
BOOL ExchangeTyped(CXTPPropExchange* pPX, LPCTSTR pszPropName, VARTYPE vt, T& value, const T* pDefault)
{
    return pPX->ExchangeValue(pszPropName, vt, &value, pDefault);
}
}

BOOL ExchangeByte(CXTPPropExchange* pPX, LPCTSTR pszPropName, BYTE& nValue, BYTE nDefault) { return ExchangeTyped(pPX, pszPropName, VT_UI1, nValue, &nDefault); }
BOOL ExchangeShort(CXTPPropExchange* pPX, LPCTSTR pszPropName, short& nValue) { return ExchangeTyped<short>(pPX, pszPropName, VT_I2, nValue, nullptr); }
BOOL ExchangeShort(CXTPPropExchange* pPX, LPCTSTR pszPropName, short& nValue, short nDefault) { return ExchangeTyped(pPX, pszPropName, VT_I2, nValue, &nDefault); }
BOOL ExchangeWord(CXTPPropExchange* pPX, LPCTSTR pszPropName, WORD& nValue) { return ExchangeTyped<WORD>(pPX, pszPropName, VT_I2, nValue, nullptr); }
BOOL ExchangeWord(CXTPPropExchange* pPX, LPCTSTR pszPropName, WORD& nValue, WORD nDefault) { return ExchangeTyped(pPX, pszPropName, VT_I2, nValue, &nDefault); }
BOOL ExchangeLong(CXTPPropExchange* pPX, LPCTSTR pszPropName, long& nValue) { return ExchangeTyped<long>(pPX, pszPropName, VT_I4, nValue, nullptr); }
BOOL ExchangeLong(CXTPPropExchange* pPX, LPCTSTR pszPropName, long& nValue, long nDefault) { return ExchangeTyped(pPX, pszPropName, VT_I4, nValue, &nDefault); }
BOOL ExchangeInt(CXTPPropExchange* pPX, LPCTSTR pszPropName, int& nValue) { return ExchangeTyped<int>(pPX, pszPropName, VT_I4, nValue, nullptr); }
BOOL ExchangeInt(CXTPPropExchange* pPX, LPCTSTR pszPropName, int& nValue, int nDefault) { return ExchangeTyped(pPX, pszPropName, VT_I4, nValue, &nDefault); }
BOOL ExchangeDWord(CXTPPropExchange* pPX, LPCTSTR pszPropName, DWORD& nValue) { return ExchangeTyped<DWORD>(pPX, pszPropName, VT_I4, nValue, nullptr); }
BOOL ExchangeDWord(CXTPPropExchange* pPX, LPCTSTR pszPropName, DWORD& nValue, DWORD nDefault) { return ExchangeTyped(pPX, pszPropName, VT_I4, nValue, &nDefault); }
BOOL ExchangeUInt(CXTPPropExchange* pPX, LPCTSTR pszPropName, UINT& nValue) { return ExchangeTyped<UINT>(pPX, pszPropName, VT_I4, nValue, nullptr); }
BOOL ExchangeUInt(CXTPPropExchange* pPX, LPCTSTR pszPropName, UINT& nValue, UINT nDefault) { return ExchangeTyped(pPX, pszPropName, VT_I4, nValue, &nDefault); }
BOOL ExchangeBool(CXTPPropExchange* pPX, LPCTSTR pszPropName, BOOL& bValue) { return ExchangeTyped<BOOL>(pPX, pszPropName, VT_BOOL, bValue, nullptr); }
BOOL ExchangeBool(CXTPPropExchange* pPX, LPCTSTR pszPropName, BOOL& bValue, BOOL bDefault) { return ExchangeTyped(pPX, pszPropName, VT_BOOL, bValue, &bDefault); }
BOOL ExchangeString(CXTPPropExchange* pPX, LPCTSTR pszPropName, CString& strValue) { return ExchangeTyped<CString>(pPX, pszPropName, VT_LPSTR, strValue, nullptr); }
BOOL ExchangeString(CXTPPropExchange* pPX, LPCTSTR pszPropName, CString& strValue, LPCTSTR lpszDefault)
{
    CString strDefault(lpszDefault);
    return ExchangeTyped(pPX, pszPropName, VT_LPSTR, strValue, lpszDefault ? &strDefault : nullptr);
}
BOOL ExchangeBStr(CXTPPropExchange* pPX, LPCTSTR pszPropName, BSTR& bstrValue, BSTR bstrDefault) { return ExchangeTyped(pPX, pszPropName, VT_BSTR, bstrValue, &bstrDefault); }
BOOL ExchangeFloat(CXTPPropExchange* pPX, LPCTSTR pszPropName, float& fValue) { return ExchangeTyped<float>(pPX, pszPropName, VT_R4, fValue, nullptr); }
BOOL ExchangeFloat(CXTPPropExchange* pPX, LPCTSTR pszPropName, float& fValue, float fDefault) { return ExchangeTyped(pPX, pszPropName, VT_R4, fValue, &fDefault); }
BOOL ExchangeDouble(CXTPPropExchange* pPX, LPCTSTR pszPropName, double& dValue) { return ExchangeTyped<double>(pPX, pszPropName, VT_R8, dValue, nullptr); }
BOOL ExchangeDouble(CXTPPropExchange* pPX, LPCTSTR pszPropName, double& dValue, double dDefault) { return ExchangeTyped(pPX, pszPropName, VT_R8, dValue, &dDefault); }
BOOL ExchangeDate(CXTPPropExchange* pPX, LPCTSTR pszPropName, COleDateTime& dtValue) { return ExchangeTyped<COleDateTime>(pPX, pszPropName, VT_DATE, dtValue, nullptr); }
BOOL ExchangeSize(CXTPPropExchange* pPX, LPCTSTR pszPropName, CSize& szValue, CSize szDefault) { return ExchangeTyped<CSize>(pPX, pszPropName, VT_EX_SIZE, szValue, &szDefault); }
BOOL ExchangePoint(CXTPPropExchange* pPX, LPCTSTR pszPropName, CPoint& ptValue, CPoint ptDefault) { return ExchangeTyped<CPoint>(pPX, pszPropName, VT_EX_SIZE, ptValue, &ptDefault); }
BOOL ExchangeRect(CXTPPropExchange* pPX, LPCTSTR pszPropName, CRect& rcValue, CRect rcDefault) { return ExchangeTyped<CRect>(pPX, pszPropName, VT_EX_RECT, rcValue, &rcDefault); }

BOOL ExchangeVariant(CXTPPropExchange* pPX, LPCTSTR pszPropName, COleVariant& varValue, COleVariant& varDefault)
{
    BOOL bResult = ExchangeTyped(pPX, pszPropName, VT_VARIANT, varValue, &varDefault);
    varDefault.Clear();
    return bResult;
}

BOOL ExchangeRuntimeClass(CXTPPropExchange* pPX, LPCTSTR pszPropName, CRuntimeClass*& pClass, CRuntimeClass* pDefaultClass)
{
    return pPX->ExchangeRuntimeClass(pszPropName, pClass, pDefaultClass);
}

BOOL ExchangeBlob(CXTPPropExchange* pPX, LPCTSTR pszPropName, BYTE*& pData, DWORD& nBytes)
{
    return pPX->ExchangeBlob(pszPropName, pData, nBytes);
}

BOOL ExchangeSerialize(CXTPPropExchange* pPX, LPCTSTR pszPropName, CObject* pObject)
{
    CArchive* pArchive = pPX->GetArchive(pszPropName);
    if (!pArchive)
        return FALSE;
    BOOL bResult = TRUE;
    try {
        pObject->Serialize(*pArchive);
    } catch (CException* e) {
        e->Delete();
        bResult = FALSE;
    }
    pPX->ReleaseArchive(pszPropName, pArchive);
    return bResult;
}
