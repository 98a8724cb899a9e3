// Lets GoogleTest print the framework's text and currency types in failure messages (force-included in every test source).
#pragma once

#ifdef __cplusplus
#include "platform/mfc/afxstr.h"
#include "platform/mfc/afxdisp.h"

#include <ostream>

inline void PrintTo(const CString& text, std::ostream* os)
{
    *os << '"' << text.ToMultiByte(CP_UTF8) << '"';
}

inline void PrintTo(const COleCurrency& cur, std::ostream* os)
{
    *os << cur.m_cur.int64 << " (status " << cur.GetStatus() << ")";
}
#endif
