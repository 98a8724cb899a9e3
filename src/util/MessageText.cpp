#include "MessageText.h"

#include "platform/mfc/afxwnd.h"

CString LoadResString(UINT nID)
{
    CString text;
    text.LoadString(nID);
    return text;
}

CString FormatString(LPCTSTR lpszFormat, ...)
{
    CString text;
    va_list args;
    va_start(args, lpszFormat);
    text.FormatV(lpszFormat, args);
    va_end(args);
    return text;
}

namespace {

// The format with every insert numbered beyond nArgs turned into plain text ("%3" into "%%3"): the system's
// formatting would otherwise read an argument past the end of the array.
CString BoundInserts(const CString& format, size_t nArgs)
{
    CString bounded;
    int nLength = format.GetLength();
    for (int i = 0; i < nLength; ++i) {
        TCHAR c = format[i];
        if (c != L'%' || i + 1 == nLength) {
            bounded += c;
            continue;
        }
        TCHAR next = format[i + 1];
        int nEnd = i + 2;
        if (next >= L'1' && next <= L'9') {
            size_t nInsert = static_cast<size_t>(next - L'0');
            if (nEnd < nLength && format[nEnd] >= L'0' && format[nEnd] <= L'9')
                nInsert = nInsert * 10 + static_cast<size_t>(format[nEnd++] - L'0');
            if (nInsert > nArgs)
                bounded += L'%';
        }
        bounded += format.Mid(i, nEnd - i);   // "%%", "%n" and the other escapes pass as they are
        i = nEnd - 1;
    }
    return bounded;
}

} // namespace

CString FormatResMessageArgs(UINT nID, const DWORD_PTR* args, size_t nArgs)
{
    CString format = LoadResString(nID);
    if (format.IsEmpty())
        return format;
    format = BoundInserts(format, nArgs);
    LPTSTR buffer = nullptr;
    DWORD n = ::FormatMessageW(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY |
                                   FORMAT_MESSAGE_ALLOCATE_BUFFER,
                               format.GetString(), 0, 0, reinterpret_cast<LPTSTR>(&buffer), 0,
                               reinterpret_cast<va_list*>(const_cast<DWORD_PTR*>(args)));
    if (n == 0 || !buffer)
        AfxThrowMemoryException();
    CString text(buffer, static_cast<int>(n));
    ::LocalFree(buffer);
    return text;
}

CString GetSystemErrorText(DWORD dwCode)
{
    LPTSTR buffer = nullptr;
    DWORD n = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS |
                                   FORMAT_MESSAGE_ALLOCATE_BUFFER,
                               nullptr, dwCode, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                               reinterpret_cast<LPTSTR>(&buffer), 0, nullptr);
    CString text;
    if (n != 0 && buffer)
        text = CString(buffer, static_cast<int>(n));
    if (buffer)
        ::LocalFree(buffer);
    text.TrimRight();   // the system's texts end with a line break
    if (text.IsEmpty())
        text.Format(L"System error: %d (0x%08X)", static_cast<int>(dwCode), static_cast<unsigned>(dwCode));
    return text;
}

CString GetExceptionText(CException* e, BOOL bDelete)
{
    CString text;
    if (!e)
        return text;
    try {
        TCHAR buffer[1024] = {};
        if (e->GetErrorMessage(buffer, _countof(buffer)))
            text = buffer;
    } catch (CException* pInner) {
        // The caller is already handling e: a text that cannot be read is no reason to unwind past it.
        pInner->Delete();
    }
    if (bDelete)
        e->Delete();
    return text;
}

CString GetWindowTextNoAmp(HWND hWnd)
{
    CString text = AfxGetWindowText(hWnd);
    text.Remove(L'&');
    return text;
}
