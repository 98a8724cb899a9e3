#include "platform/ado/JetObject.h"

std::string JetUtf8(const wchar_t* text, size_t length)
{
    if (length == 0)
        return std::string();
    int wide = static_cast<int>(length);
    int bytes = ::WideCharToMultiByte(CP_UTF8, 0, text, wide, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, wide, &result[0], bytes, nullptr, nullptr);
    return result;
}

std::wstring JetWide(const char* utf8)
{
    if (!utf8 || !*utf8)
        return std::wstring();
    int chars = ::MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    std::wstring result(static_cast<size_t>(chars), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8, -1, &result[0], chars);
    result.resize(static_cast<size_t>(chars) - 1);
    return result;
}

std::wstring JetUpper(const std::wstring& text)
{
    std::wstring result(text);
    bool ascii = true;
    for (wchar_t& c : result) {
        if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - L'a' + L'A');
        ascii = ascii && c < 128;
    }
    if (!ascii)
        ::CharUpperBuffW(&result[0], static_cast<DWORD>(result.size()));
    return result;
}

bool JetSameName(const wchar_t* a, size_t length, const std::wstring& b)
{
    if (length != b.size())
        return false;
    // Names are nearly always plain ASCII: the system's comparison only for the others.
    for (size_t i = 0; i < length; ++i) {
        wchar_t x = a[i], y = b[i];
        if (x >= 128 || y >= 128)
            return ::CompareStringOrdinal(a, static_cast<int>(length), b.c_str(), static_cast<int>(length), TRUE) ==
                   CSTR_EQUAL;
        if (x != y && (x | 0x20) != (y | 0x20))
            return false;
        if (x != y && !((x | 0x20) >= L'a' && (x | 0x20) <= L'z'))
            return false;
    }
    return true;
}
