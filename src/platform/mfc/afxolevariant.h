// COleVariant: a VARIANT that owns its value (cleared on destruction, copied by value), with the archive forms
// of the OLE value types that settings and icon data are saved with.
#pragma once

#include "afxarchive.h"
#include "afxdisp.h"

class COleVariant : public tagVARIANT
{
public:
    COleVariant();
    COleVariant(const VARIANT& varSrc);
    COleVariant(const COleVariant& varSrc);
    COleVariant(LPCTSTR lpszSrc);
    COleVariant(const CString& strSrc);
    COleVariant(BYTE nSrc);
    COleVariant(short nSrc, VARTYPE vtSrc = VT_I2);   // VT_I2 or VT_BOOL
    COleVariant(long lSrc, VARTYPE vtSrc = VT_I4);    // VT_I4 or VT_ERROR
    COleVariant(float fltSrc);
    COleVariant(double dblSrc);
    COleVariant(const COleCurrency& curSrc);
    COleVariant(const COleDateTime& dateSrc);
    ~COleVariant();

    COleVariant& operator=(const VARIANT& varSrc);
    COleVariant& operator=(const COleVariant& varSrc);
    COleVariant& operator=(LPCTSTR lpszSrc);

    // Same type and value (VarCmp for the types it knows).
    bool operator==(const VARIANT& varSrc) const;
    bool operator!=(const VARIANT& varSrc) const { return !(*this == varSrc); }

    void Clear();
    // Converts in place (or from pSrc); the system's HRESULT, the value unchanged on failure.
    HRESULT ChangeType(VARTYPE vartype, const VARIANT* pSrc = NULL);

    operator LPVARIANT() { return this; }
    operator const VARIANT*() const { return this; }
};

// Archive forms: a date is its status (LONG) and its value; a variant its type (WORD) and then its value in the
// type's own width, texts as CString. A variant type without an archive form raises CArchiveException
// (badClass) when saved or loaded.
CArchive& operator<<(CArchive& ar, const COleDateTime& dateSrc);
CArchive& operator>>(CArchive& ar, COleDateTime& dateSrc);
CArchive& operator<<(CArchive& ar, const COleVariant& varSrc);
CArchive& operator>>(CArchive& ar, COleVariant& varSrc);
