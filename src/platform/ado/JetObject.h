// The base of the objects of the ADO stand-in, and the text conversions they share.
#pragma once

#include "platform/ado/adodb.h"

#include <string>
#include <type_traits>

// Reference counting and QueryInterface shared by the objects of the ADO stand-in.
template <class I> class CJetUnknown : public I
{
public:
    CJetUnknown() = default;
    CJetUnknown(const CJetUnknown&) = delete;
    CJetUnknown& operator=(const CJetUnknown&) = delete;
    virtual ~CJetUnknown() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (riid == IID_IUnknown || riid == __uuidof(I) ||
            (std::is_base_of<IDispatch, I>::value && riid == IID_IDispatch)) {
            *ppv = static_cast<I*>(this);
            this->AddRef();
            return S_OK;
        }
        return QueryOtherInterface(riid, ppv);
    }
    // Plain counts: the objects live on the one thread that uses the database, and field access in a loop
    // copies pointers often.
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++m_refs); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        LONG refs = --m_refs;
        if (refs == 0)
            delete this;
        return static_cast<ULONG>(refs);
    }

protected:
    virtual HRESULT QueryOtherInterface(REFIID, void**) { return E_NOINTERFACE; }

private:
    LONG m_refs = 0;
};

// The objects travel in VARIANTs as ADO objects do, so they are IDispatch; only that is needed of IDispatch, so
// its members answer "not implemented".
template <class I> class CJetObject : public CJetUnknown<I>
{
public:
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        if (!count)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }
};

// The object of this layer that a VARIANT carries (VT_DISPATCH, or a reference to one) as interface I, or null.
template <class T, class I> CAdoPtr<T> JetObjectOf(const VARIANT& variant)
{
    const VARIANT& source = variant.vt == (VT_BYREF | VT_VARIANT) ? *variant.pvarVal : variant;
    I* found = nullptr;
    if (source.vt != VT_DISPATCH || !source.pdispVal ||
        FAILED(source.pdispVal->QueryInterface(__uuidof(I), reinterpret_cast<void**>(&found))))
        return nullptr;
    CAdoPtr<T> result(static_cast<T*>(found));
    found->Release();
    return result;
}

// Wraps a new object in its smart pointer (the object starts with no reference).
template <class T> CAdoPtr<T> JetMake(T* object)
{
    return CAdoPtr<T>(object);
}

// Text conversions at the SQLite boundary (SQLite speaks UTF-8).
std::string JetUtf8(const wchar_t* text, size_t length);
inline std::string JetUtf8(const std::wstring& text) { return JetUtf8(text.data(), text.size()); }
std::wstring JetWide(const char* utf8);
// Upper case for comparing names without regard to case.
std::wstring JetUpper(const std::wstring& text);
bool JetSameName(const wchar_t* a, size_t length, const std::wstring& b);
inline bool JetSameName(const std::wstring& a, const std::wstring& b) { return JetSameName(a.data(), a.size(), b); }
// The text of a BSTR (null is empty).
inline std::wstring JetText(BSTR text) { return text ? std::wstring(text, ::SysStringLen(text)) : std::wstring(); }
