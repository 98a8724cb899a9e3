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
    if (!result.empty())
        ::CharUpperBuffW(&result[0], static_cast<DWORD>(result.size()));
    return result;
}

bool JetSameName(const std::wstring& a, const std::wstring& b)
{
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                  TRUE) == CSTR_EQUAL;
}
