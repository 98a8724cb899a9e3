#include "AdoErrorText.h"

CString GetAdoErrorDescription(ErrorPtr pError)
{
    if (!pError)
        return CString();
    try {
        _bstr_t description = pError->GetDescription();
        return CString(static_cast<LPCWSTR>(description));
    } catch (const _com_error&) {
        return CString();
    }
}

CString GetComErrorText(const _com_error& e, const CADOConnection* pConnection)
{
    CString text(static_cast<LPCWSTR>(e.Description()));
    text += L"\n";
    bool bAnyDescription = text.GetLength() > 1;
    if (pConnection && pConnection->HasConnection()) {
        try {
            ErrorsPtr pErrors = pConnection->GetConnection()->GetErrors();
            long nCount = pErrors ? pErrors->GetCount() : 0;
            for (long i = 0; i < nCount; ++i) {
                CString description = GetAdoErrorDescription(pErrors->GetItem(_variant_t(i)));
                if (!text.IsEmpty())
                    text += L"\n";
                text += description;
                bAnyDescription = bAnyDescription || !description.IsEmpty();
            }
        } catch (const _com_error&) {
            // A collection that cannot be read adds nothing: the error's own text still stands.
        }
    }
    if (!bAnyDescription) {
        HRESULT hr = e.Error();
        text.Format(L"[Errore %X -- (%d)]", static_cast<unsigned>(hr), static_cast<int>(hr & 0xFFFF));
    }
    return text;
}

void ThrowComError(HRESULT hr, const CString& description)
{
    IErrorInfo* pInfo = nullptr;
    ICreateErrorInfo* pCreate = nullptr;
    if (SUCCEEDED(::CreateErrorInfo(&pCreate))) {
        pCreate->SetDescription(const_cast<LPOLESTR>(description.GetString()));
        if (FAILED(pCreate->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&pInfo))))
            pInfo = nullptr;
        pCreate->Release();
    }
    throw _com_error(hr, pInfo);
}
