// Turning string-table messages, printf-style formats and error codes into the texts the user reads.
// The error-text builders run inside catch handlers: they never raise.
#pragma once

#include "platform/mfc/afx.h"

#include <type_traits>

// The text of a string-table id; empty when missing.
CString LoadResString(UINT nID);

// printf-style formatting, no length limit.
CString FormatString(LPCTSTR lpszFormat, ...);

// The text of a string-table id with its inserts "%1".."%n" replaced through the system's message formatting.
// Texts are passed as texts; numbers for inserts such as "%1!d!" as numbers. An insert beyond the nArgs
// arguments stays in the text as written. A formatting failure raises the framework's out-of-memory exception.
CString FormatResMessageArgs(UINT nID, const DWORD_PTR* args, size_t nArgs);

namespace MessageTextDetail
{
inline DWORD_PTR Insert(const CString& text) { return reinterpret_cast<DWORD_PTR>(text.GetString()); }
inline DWORD_PTR Insert(LPCTSTR text) { return reinterpret_cast<DWORD_PTR>(text); }
template <typename T, typename = std::enable_if_t<std::is_integral_v<T> || std::is_enum_v<T>>>
DWORD_PTR Insert(T value) { return static_cast<DWORD_PTR>(value); }
} // namespace MessageTextDetail

template <typename... Args>
CString FormatResMessage(UINT nID, const Args&... args)
{
    const DWORD_PTR inserts[] = { MessageTextDetail::Insert(args)..., 0 };
    return FormatResMessageArgs(nID, inserts, sizeof...(args));
}

// The system's message text for a system error or HRESULT, in the user's default language; when the system has
// none, "System error: %d (0x%08X)".
CString GetSystemErrorText(DWORD dwCode);

// The message of a framework exception (at most 1023 characters); the exception is deleted when asked. Empty
// when the exception has no text or its text cannot be read.
CString GetExceptionText(CException* e, BOOL bDelete = TRUE);

// The window's text without the mnemonic signs "&".
CString GetWindowTextNoAmp(HWND hWnd);
