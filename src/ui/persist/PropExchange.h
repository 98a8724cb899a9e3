// One DoPropExchange routine both saves and loads an object's settings: each exchange operation names a value,
// its type and its default, and reads it when the exchange loads or writes it when it saves. Where the values
// go is the concrete store's business (archive, registry, XML document, INI file); sections give the keyed
// stores a tree, the archive store flattens everything into one positional stream.
#pragma once

#include "platform/mfc/afx.h"
#include "platform/mfc/afxcmdtarget.h"
#include "platform/mfc/afxdisp.h"
#include "platform/mfc/afxgeom.h"
#include "platform/mfc/afxolevariant.h"

// The framework's own type codes beside the OLE VARTYPEs.
const VARTYPE VT_EX_RECT = 100;   // CRect: left, top, right, bottom
const VARTYPE VT_EX_SIZE = 101;   // CSize or CPoint: x, y

// The schema written by this version of the framework; DoPropExchange routines gate newer keys on it.
const UINT _XTP_SCHEMA_CURRENT = 9;

class CXTPPropExchangeEnumerator;

class CXTPPropExchange : public CCmdTarget
{
    DECLARE_DYNAMIC(CXTPPropExchange)
public:
    CXTPPropExchange();

    BOOL IsLoading() const { return m_bLoading; }
    BOOL IsStoring() const { return !m_bLoading; }
    BOOL IsRootSection() const { return !m_bChildSection; }
    // A missing value takes the caller's default when loading; a value equal to its default is left out when
    // saving. Both on at construction.
    void UseDefaultOnLoad(BOOL bUseDefaultOnLoad = TRUE) { m_bUseDefaultOnLoad = bUseDefaultOnLoad; }
    void UseDefaultOnSave(BOOL bUseDefaultOnSave = TRUE) { m_bUseDefaultOnSave = bUseDefaultOnSave; }

    // The typed value exchange; the type is a VARTYPE of the table the stores serve or VT_EX_RECT/VT_EX_SIZE.
    // pvDefault may be null (no default). A code the store does not serve answers FALSE.
    virtual BOOL ExchangeValue(LPCTSTR pszPropName, VARTYPE vtProp, void* pvProp, const void* pvDefault = NULL) = 0;
    // Binary data. Loading with *ppData null allocates the buffer with malloc (the caller frees it) and sets
    // nBytes; with a buffer given the stored size must fit nBytes.
    virtual BOOL ExchangeBlob(LPCTSTR pszPropName, BYTE*& pData, DWORD& nBytes);
    // A class stored by name; loading an absent name gives the default class, an unknown one fails.
    virtual BOOL ExchangeRuntimeClass(LPCTSTR pszPropName, CRuntimeClass*& pClass, CRuntimeClass* pDefaultClass);
    // The object's class under "Class" (left out for exactly the base class); loading creates the object, which
    // must be of the base class. FALSE (and no object) when loading does not give one.
    virtual BOOL ExchangeObjectInstance(CObject*& pObject, CRuntimeClass* pObjectRuntime);
    // An archive over the named binary value for objects that only know Serialize; loading answers null when
    // the value is empty or absent. Every archive goes back through ReleaseArchive.
    virtual CArchive* GetArchive(LPCTSTR pszPropName);
    virtual void ReleaseArchive(LPCTSTR pszPropName, CArchive* pArchive);
    // A new exchange of the same store over the named child section; the caller releases it (InternalRelease).
    virtual CXTPPropExchange* GetSection(LPCTSTR pszSection) = 0;
    // Removes the section's present content; values equal to their defaults are then not deleted one by one.
    virtual void EmptySection();
    virtual void WriteCount(DWORD dwCount);
    virtual DWORD ReadCount();
    virtual BOOL ExchangeBinary(LPCTSTR pszPropName, void* pData, DWORD nBytes);
    // The bytes read into the caller's buffer, 0 on failure.
    virtual DWORD ReadBinary(LPCTSTR pszPropName, void* pData, DWORD nBytes);
    // Keyed stores may leave out values and empty lists; a positional store must write them.
    virtual BOOL IsAllowDefaultValues() const { return TRUE; }
    virtual BOOL IsAllowBlobValues() const { return FALSE; }
    // Runs before each value; FALSE makes the value operation fail.
    virtual BOOL OnBeforeExchange();
    // A walk over the numbered child sections pszSection0, pszSection1, ...; the caller deletes it.
    virtual CXTPPropExchangeEnumerator* GetEnumerator(LPCTSTR pszSection);
    // Whether the store holds the named child section; a positional store holds every section asked for.
    virtual BOOL IsSectionExists(LPCTSTR pszSection);

    // A child section takes its parent's schema, parameters, emptied flag and default flags.
    void InitSection(const CXTPPropExchange* pParent);
    // "Schema" into m_nSchema; "Locale" into the process's locale of date texts.
    void ExchangeSchema();
    void ExchangeLocale();

    UINT m_nSchema = _XTP_SCHEMA_CURRENT;
    // The caller's context block, handed down to every child section (the command bars keep their exchange
    // parameters here).
    DWORD_PTR m_dwData = 0;

protected:
    // Equality with the default over the type's size, and copying the default in; FALSE for codes outside the
    // table.
    static BOOL IsSamePropValue(VARTYPE vtProp, const void* pv1, const void* pv2);
    static BOOL CopyPropValue(VARTYPE vtProp, void* pvDest, const void* pvSrc);
    // The default that applies to this direction: pvDefault, or null when the matching flag is off.
    const void* EffectiveDefault(const void* pvDefault) const;

    // Text forms (XML and INI stores; the registry uses them for rectangles and sizes). Numbers always use '.'
    // and doubles keep every digit; dates follow the exchange locale.
    static BOOL PropValueToText(VARTYPE vtProp, const void* pvProp, CString& strValue);
    // FALSE when the text cannot be read; rectangles and sizes with too few numbers take the default.
    static BOOL PropValueFromText(VARTYPE vtProp, const CString& strValue, void* pvProp, const void* pvDefault);

    BOOL m_bLoading = FALSE;
    BOOL m_bChildSection = FALSE;
    BOOL m_bEmptySection = FALSE;
    BOOL m_bInitialized = FALSE;
    BOOL m_bUseDefaultOnLoad = TRUE;
    BOOL m_bUseDefaultOnSave = TRUE;
};

// The store's escaping of texts: backslash, line feed, carriage return and tab as \\, \n, \r, \t.
CString XTPEscapePropString(const CString& strValue);
CString XTPUnescapePropString(const CString& strValue);
// The locale of date texts in the stores, the user's at start.
LCID XTPGetPropExchangeLocale();
void XTPSetPropExchangeLocale(LCID lcid);

class CXTPPropExchangeEnumerator
{
public:
    CXTPPropExchangeEnumerator(CXTPPropExchange* pContainer, LPCTSTR lpszSection);
    virtual ~CXTPPropExchangeEnumerator() = default;
    CXTPPropExchangeEnumerator(const CXTPPropExchangeEnumerator&) = delete;
    CXTPPropExchangeEnumerator& operator=(const CXTPPropExchangeEnumerator&) = delete;

    // Keeps the count and exchanges it ("Count", or the store's own count with bCompatible); non-zero when
    // there is an element.
    virtual POSITION GetPosition(DWORD dwCount = 0, BOOL bCompatible = FALSE);
    // The next element's section (the caller releases it); pos becomes null after the last.
    virtual CXTPPropExchange* GetNext(POSITION& pos);
    // Whether the store holds the element GetNext gives next: a keyed store's count is only a stored number,
    // which damage can make far larger than the list.
    virtual BOOL IsNextStored(POSITION pos);

protected:
    CString SectionName(POSITION pos) const;

    CXTPPropExchange* m_pContainer;
    CString m_strSectionName;
    DWORD m_nCount = 0;
};

// Releases a section made by GetSection when the pointer goes.
class CXTPPropExchangeSection
{
public:
    explicit CXTPPropExchangeSection(CXTPPropExchange* pSection) : m_pSection(pSection) {}
    CXTPPropExchangeSection(CXTPPropExchange* pParent, LPCTSTR lpszSection) : m_pSection(pParent->GetSection(lpszSection)) {}
    ~CXTPPropExchangeSection()
    {
        if (m_pSection)
            m_pSection->InternalRelease();
    }
    CXTPPropExchangeSection(const CXTPPropExchangeSection&) = delete;
    CXTPPropExchangeSection& operator=(const CXTPPropExchangeSection&) = delete;

    CXTPPropExchange* operator->() const { return m_pSection; }
    CXTPPropExchange* operator&() const { return m_pSection; }
    CXTPPropExchange* Get() const { return m_pSection; }

private:
    CXTPPropExchange* m_pSection;
};

// Typed helpers over ExchangeValue: (exchange, name, variable[, default]).
BOOL ExchangeByte(CXTPPropExchange* pPX, LPCTSTR pszPropName, BYTE& nValue, BYTE nDefault);
BOOL ExchangeShort(CXTPPropExchange* pPX, LPCTSTR pszPropName, short& nValue);
BOOL ExchangeShort(CXTPPropExchange* pPX, LPCTSTR pszPropName, short& nValue, short nDefault);
BOOL ExchangeWord(CXTPPropExchange* pPX, LPCTSTR pszPropName, WORD& nValue);
BOOL ExchangeWord(CXTPPropExchange* pPX, LPCTSTR pszPropName, WORD& nValue, WORD nDefault);
BOOL ExchangeLong(CXTPPropExchange* pPX, LPCTSTR pszPropName, long& nValue);
BOOL ExchangeLong(CXTPPropExchange* pPX, LPCTSTR pszPropName, long& nValue, long nDefault);
BOOL ExchangeInt(CXTPPropExchange* pPX, LPCTSTR pszPropName, int& nValue);
BOOL ExchangeInt(CXTPPropExchange* pPX, LPCTSTR pszPropName, int& nValue, int nDefault);
BOOL ExchangeDWord(CXTPPropExchange* pPX, LPCTSTR pszPropName, DWORD& nValue);
BOOL ExchangeDWord(CXTPPropExchange* pPX, LPCTSTR pszPropName, DWORD& nValue, DWORD nDefault);
BOOL ExchangeUInt(CXTPPropExchange* pPX, LPCTSTR pszPropName, UINT& nValue);
BOOL ExchangeUInt(CXTPPropExchange* pPX, LPCTSTR pszPropName, UINT& nValue, UINT nDefault);
BOOL ExchangeBool(CXTPPropExchange* pPX, LPCTSTR pszPropName, BOOL& bValue);
BOOL ExchangeBool(CXTPPropExchange* pPX, LPCTSTR pszPropName, BOOL& bValue, BOOL bDefault);
BOOL ExchangeString(CXTPPropExchange* pPX, LPCTSTR pszPropName, CString& strValue);
BOOL ExchangeString(CXTPPropExchange* pPX, LPCTSTR pszPropName, CString& strValue, LPCTSTR lpszDefault);
BOOL ExchangeBStr(CXTPPropExchange* pPX, LPCTSTR pszPropName, BSTR& bstrValue, BSTR bstrDefault);
BOOL ExchangeFloat(CXTPPropExchange* pPX, LPCTSTR pszPropName, float& fValue);
BOOL ExchangeFloat(CXTPPropExchange* pPX, LPCTSTR pszPropName, float& fValue, float fDefault);
BOOL ExchangeDouble(CXTPPropExchange* pPX, LPCTSTR pszPropName, double& dValue);
BOOL ExchangeDouble(CXTPPropExchange* pPX, LPCTSTR pszPropName, double& dValue, double dDefault);
BOOL ExchangeDate(CXTPPropExchange* pPX, LPCTSTR pszPropName, COleDateTime& dtValue);
BOOL ExchangeSize(CXTPPropExchange* pPX, LPCTSTR pszPropName, CSize& szValue, CSize szDefault);
BOOL ExchangePoint(CXTPPropExchange* pPX, LPCTSTR pszPropName, CPoint& ptValue, CPoint ptDefault);
BOOL ExchangeRect(CXTPPropExchange* pPX, LPCTSTR pszPropName, CRect& rcValue, CRect rcDefault);
// The default variant is cleared afterwards.
BOOL ExchangeVariant(CXTPPropExchange* pPX, LPCTSTR pszPropName, COleVariant& varValue, COleVariant& varDefault);
BOOL ExchangeRuntimeClass(CXTPPropExchange* pPX, LPCTSTR pszPropName, CRuntimeClass*& pClass,
                          CRuntimeClass* pDefaultClass);
BOOL ExchangeBlob(CXTPPropExchange* pPX, LPCTSTR pszPropName, BYTE*& pData, DWORD& nBytes);
// The object's Serialize through GetArchive; a CException raised there is deleted and answers FALSE.
BOOL ExchangeSerialize(CXTPPropExchange* pPX, LPCTSTR pszPropName, CObject* pObject);
