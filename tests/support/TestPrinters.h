// Lets GoogleTest print the framework's text type in failure messages (force-included in every test source).
#pragma once

#ifdef __cplusplus
#include "platform/mfc/afxstr.h"

#include <ostream>

inline void PrintTo(const CString& text, std::ostream* os)
{
    *os << '"' << text.ToMultiByte(CP_UTF8) << '"';
}
#endif
