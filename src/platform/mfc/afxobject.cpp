#include "afxobject.h"

#include <cstring>
#include <string>

namespace
{
// Head of the chain of classes known by name; filled by static initialisation only.
CRuntimeClass*& FirstClass()
{
    static CRuntimeClass* pFirst = nullptr;
    return pFirst;
}
} // namespace

CRuntimeClass CObject::classCObject = {"CObject", static_cast<int>(sizeof(CObject)), 0xFFFF, nullptr, nullptr, nullptr};
static const AFX_CLASSINIT _afxInit_CObject(RUNTIME_CLASS(CObject));

AFX_CLASSINIT::AFX_CLASSINIT(CRuntimeClass* pNewClass)
{
    pNewClass->m_pNextClass = FirstClass();
    FirstClass() = pNewClass;
}

CObject* CRuntimeClass::CreateObject()
{
    return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const
{
    for (const CRuntimeClass* pClass = this; pClass; pClass = pClass->m_pBaseClass) {
        if (pClass == pBaseClass)
            return TRUE;
    }
    return FALSE;
}

CRuntimeClass* CRuntimeClass::FromName(LPCSTR lpszClassName)
{
    if (!lpszClassName)
        return nullptr;
    for (CRuntimeClass* pClass = FirstClass(); pClass; pClass = pClass->m_pNextClass) {
        if (std::strcmp(pClass->m_lpszClassName, lpszClassName) == 0)
            return pClass;
    }
    return nullptr;
}

CRuntimeClass* CRuntimeClass::FromName(LPCWSTR lpszClassName)
{
    if (!lpszClassName)
        return nullptr;
    // Class names are C++ identifiers: anything outside ASCII cannot match.
    std::string name;
    for (LPCWSTR p = lpszClassName; *p; ++p) {
        if (*p > 0x7F)
            return nullptr;
        name += static_cast<char>(*p);
    }
    return FromName(name.c_str());
}

CObject* CRuntimeClass::CreateObject(LPCSTR lpszClassName)
{
    CRuntimeClass* pClass = FromName(lpszClassName);
    return pClass ? pClass->CreateObject() : nullptr;
}

CObject* CRuntimeClass::CreateObject(LPCWSTR lpszClassName)
{
    CRuntimeClass* pClass = FromName(lpszClassName);
    return pClass ? pClass->CreateObject() : nullptr;
}

CRuntimeClass* CObject::GetRuntimeClass() const { return RUNTIME_CLASS(CObject); }

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const
{
    return GetRuntimeClass()->IsDerivedFrom(pClass);
}

BOOL CObject::IsSerializable() const { return GetRuntimeClass()->m_wSchema != 0xFFFF; }

void CObject::Serialize(CArchive& /*ar*/) {}

CObject* AfxDynamicDownCast(CRuntimeClass* pClass, CObject* pObject)
{
    return pObject && pObject->IsKindOf(pClass) ? pObject : nullptr;
}
