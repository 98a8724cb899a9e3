// The COM-support functions that MinGW's comutil.h and comdef.h declare without implementing.
#include "comsupport.h"

#include <cstring>

_variant_t vtMissing(DISP_E_PARAMNOTFOUND, VT_ERROR);

namespace _com_util
{
// 8-bit text of the system code page to a BSTR; null stays null.
BSTR WINAPI ConvertStringToBSTR(const char* pSrc)
{
    if (!pSrc)
        return nullptr;
    int length = static_cast<int>(std::strlen(pSrc));
    int wide = ::MultiByteToWideChar(CP_ACP, 0, pSrc, length, nullptr, 0);
    BSTR result = ::SysAllocStringLen(nullptr, static_cast<UINT>(wide));
    if (!result)
        _com_issue_error(E_OUTOFMEMORY);
    if (wide > 0)
        ::MultiByteToWideChar(CP_ACP, 0, pSrc, length, result, wide);
    return result;
}

// A BSTR to 8-bit text of the system code page, allocated with new[] (the _bstr_t frees it with delete[]).
char* WINAPI ConvertBSTRToString(BSTR pSrc)
{
    if (!pSrc)
        return nullptr;
    int length = static_cast<int>(::SysStringLen(pSrc));
    int bytes = ::WideCharToMultiByte(CP_ACP, 0, pSrc, length, nullptr, 0, nullptr, nullptr);
    char* result = new char[static_cast<size_t>(bytes) + 1];
    if (bytes > 0)
        ::WideCharToMultiByte(CP_ACP, 0, pSrc, length, result, bytes, nullptr, nullptr);
    result[bytes] = '\0';
    return result;
}
} // namespace _com_util

// Raises the error with the rich error information of the object when it offers one for the interface.
void WINAPI _com_issue_errorex(HRESULT hr, IUnknown* punk, REFIID riid)
{
    IErrorInfo* info = nullptr;
    ISupportErrorInfo* support = nullptr;
    if (punk && SUCCEEDED(punk->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&support)))) {
        if (support->InterfaceSupportsErrorInfo(riid) == S_OK && ::GetErrorInfo(0, &info) != S_OK)
            info = nullptr;
        support->Release();
    }
    _com_raise_error(hr, info);
}
