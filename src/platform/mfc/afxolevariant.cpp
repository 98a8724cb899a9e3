#include "afxolevariant.h"

#include "afxexcept.h"

COleVariant::COleVariant() { ::VariantInit(this); }

COleVariant::COleVariant(const VARIANT& varSrc)
{
    ::VariantInit(this);
    *this = varSrc;
}

COleVariant::COleVariant(const COleVariant& varSrc) : COleVariant(static_cast<const VARIANT&>(varSrc)) {}

COleVariant::COleVariant(LPCTSTR lpszSrc)
{
    ::VariantInit(this);
    *this = lpszSrc;
}

COleVariant::COleVariant(const CString& strSrc) : COleVariant(static_cast<LPCTSTR>(strSrc)) {}

COleVariant::COleVariant(BYTE nSrc)
{
    ::VariantInit(this);
    vt = VT_UI1;
    bVal = nSrc;
}

COleVariant::COleVariant(short nSrc, VARTYPE vtSrc)
{
    ::VariantInit(this);
    if (vtSrc == VT_BOOL) {
        vt = VT_BOOL;
        boolVal = nSrc ? VARIANT_TRUE : VARIANT_FALSE;
    } else {
        vt = VT_I2;
        iVal = nSrc;
    }
}

COleVariant::COleVariant(long lSrc, VARTYPE vtSrc)
{
    ::VariantInit(this);
    vt = vtSrc == VT_ERROR ? VT_ERROR : VT_I4;
    lVal = lSrc;
}

COleVariant::COleVariant(float fltSrc)
{
    ::VariantInit(this);
    vt = VT_R4;
    fltVal = fltSrc;
}

COleVariant::COleVariant(double dblSrc)
{
    ::VariantInit(this);
    vt = VT_R8;
    dblVal = dblSrc;
}

COleVariant::COleVariant(const COleCurrency& curSrc)
{
    ::VariantInit(this);
    vt = VT_CY;
    cyVal = curSrc.m_cur;
}

COleVariant::COleVariant(const COleDateTime& dateSrc)
{
    ::VariantInit(this);
    vt = VT_DATE;
    date = dateSrc.m_dt;
}

COleVariant::~COleVariant() { Clear(); }

COleVariant& COleVariant::operator=(const VARIANT& varSrc)
{
    if (&varSrc != this) {
        // VariantCopy clears the destination first.
        if (FAILED(::VariantCopy(this, const_cast<VARIANT*>(&varSrc))))
            AfxThrowMemoryException();
    }
    return *this;
}

COleVariant& COleVariant::operator=(const COleVariant& varSrc) { return *this = static_cast<const VARIANT&>(varSrc); }

COleVariant& COleVariant::operator=(LPCTSTR lpszSrc)
{
    Clear();
    vt = VT_BSTR;
    bstrVal = ::SysAllocString(lpszSrc ? lpszSrc : L"");
    if (!bstrVal) {
        vt = VT_EMPTY;
        AfxThrowMemoryException();
    }
    return *this;
}

bool COleVariant::operator==(const VARIANT& varSrc) const
{
    if (vt != varSrc.vt)
        return false;
    if (vt == VT_EMPTY || vt == VT_NULL)
        return true;
    return ::VarCmp(const_cast<VARIANT*>(static_cast<const VARIANT*>(this)), const_cast<VARIANT*>(&varSrc),
                    LOCALE_USER_DEFAULT, 0) == static_cast<HRESULT>(VARCMP_EQ);
}

void COleVariant::Clear() { ::VariantClear(this); }

HRESULT COleVariant::ChangeType(VARTYPE vartype, const VARIANT* pSrc)
{
    VARIANT varResult;
    ::VariantInit(&varResult);
    HRESULT hr = ::VariantChangeType(&varResult, const_cast<VARIANT*>(pSrc ? pSrc : this), 0, vartype);
    if (SUCCEEDED(hr)) {
        Clear();
        *static_cast<VARIANT*>(this) = varResult;
    }
    return hr;
}

CArchive& operator<<(CArchive& ar, const COleDateTime& dateSrc)
{
    return ar << static_cast<LONG>(dateSrc.m_status) << dateSrc.m_dt;
}

CArchive& operator>>(CArchive& ar, COleDateTime& dateSrc)
{
    LONG lStatus = 0;
    DATE dt = 0;
    ar >> lStatus >> dt;
    if (lStatus < COleDateTime::valid || lStatus > COleDateTime::null)
        AfxThrowArchiveException(CArchiveException::genericException);
    dateSrc.m_dt = dt;
    dateSrc.m_status = static_cast<COleDateTime::DateTimeStatus>(lStatus);
    return ar;
}

CArchive& operator<<(CArchive& ar, const COleVariant& varSrc)
{
    ar << static_cast<WORD>(varSrc.vt);
    switch (varSrc.vt) {
    case VT_EMPTY:
    case VT_NULL: break;
    case VT_UI1: ar << varSrc.bVal; break;
    case VT_I2: ar << varSrc.iVal; break;
    case VT_BOOL: ar << static_cast<short>(varSrc.boolVal); break;
    case VT_I4:
    case VT_ERROR: ar << static_cast<LONG>(varSrc.lVal); break;
    case VT_R4: ar << varSrc.fltVal; break;
    case VT_R8: ar << varSrc.dblVal; break;
    case VT_DATE: ar << varSrc.date; break;
    case VT_CY: ar << static_cast<LONGLONG>(varSrc.cyVal.int64); break;
    case VT_BSTR: ar << CString(varSrc.bstrVal ? varSrc.bstrVal : L""); break;
    default: AfxThrowArchiveException(CArchiveException::badClass);
    }
    return ar;
}

CArchive& operator>>(CArchive& ar, COleVariant& varSrc)
{
    WORD wType = 0;
    ar >> wType;
    COleVariant var;
    switch (wType) {
    case VT_EMPTY:
    case VT_NULL: var.vt = wType; break;
    case VT_UI1: ar >> var.bVal; var.vt = VT_UI1; break;
    case VT_I2: ar >> var.iVal; var.vt = VT_I2; break;
    case VT_BOOL: {
        short n = 0;
        ar >> n;
        var.boolVal = n;
        var.vt = VT_BOOL;
        break;
    }
    case VT_I4:
    case VT_ERROR: {
        LONG l = 0;
        ar >> l;
        var.lVal = l;
        var.vt = wType;
        break;
    }
    case VT_R4: ar >> var.fltVal; var.vt = VT_R4; break;
    case VT_R8: ar >> var.dblVal; var.vt = VT_R8; break;
    case VT_DATE: ar >> var.date; var.vt = VT_DATE; break;
    case VT_CY: {
        LONGLONG n = 0;
        ar >> n;
        var.cyVal.int64 = n;
        var.vt = VT_CY;
        break;
    }
    case VT_BSTR: {
        CString str;
        ar >> str;
        var = static_cast<LPCTSTR>(str);
        break;
    }
    default: AfxThrowArchiveException(CArchiveException::badClass);
    }
    varSrc = var;
    return ar;
}
