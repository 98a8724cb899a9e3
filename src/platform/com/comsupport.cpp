// The COM-support functions that MinGW's comutil.h and comdef.h declare without implementing.
#include "comsupport.h"

#include <cmath>
#include <cstdint>
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

HRESULT CurrencyFromDoubleExact(double value, CY* pResult)
{
    if (!std::isfinite(value))
        return DISP_E_OVERFLOW;
    // value = m * 2^e with m an integer below 2^53 (read from the bits); value * 10000 = m * 625 * 2^(e + 4), and
    // m * 625 < 2^63.
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof(bits));
    int biased = static_cast<int>((bits >> 52) & 0x7FF);
    uint64_t mantissa = bits & ((uint64_t(1) << 52) - 1);
    if (biased != 0)
        mantissa |= uint64_t(1) << 52;
    uint64_t scaled = mantissa * 625;
    int shift = (biased != 0 ? biased : 1) - 1075 + 4;
    uint64_t count = 0;
    if (shift >= 0) {
        if (shift >= 63 || scaled > (uint64_t(1) << 63 >> shift))
            return DISP_E_OVERFLOW;
        count = scaled << shift;
    }
    else if (shift > -64) {
        uint64_t dropped = scaled & ((uint64_t(1) << -shift) - 1);
        uint64_t half = uint64_t(1) << (-shift - 1);
        count = scaled >> -shift;
        if (dropped > half || (dropped == half && (count & 1)))
            ++count;
    }
    // The negative range reaches one count further than the positive one.
    uint64_t limit = uint64_t(1) << 63;
    if (count > limit || (count == limit && value > 0))
        return DISP_E_OVERFLOW;
    pResult->int64 = value < 0 ? static_cast<LONGLONG>(0 - count) : static_cast<LONGLONG>(count);
    return S_OK;
}
