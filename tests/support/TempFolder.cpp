#include "TempFolder.h"

#include <shellapi.h>

CTempFolder::CTempFolder()
{
    TCHAR base[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, base);
    static LONG counter = 0;
    // A name already taken is tried again with the next number; any other failure would repeat for ever.
    do
        m_path.Format(L"%squarzel-test-%lu-%ld", base, ::GetCurrentProcessId(), ::InterlockedIncrement(&counter));
    while (!::CreateDirectoryW(m_path, nullptr) && ::GetLastError() == ERROR_ALREADY_EXISTS);
}

CTempFolder::~CTempFolder()
{
    // SHFileOperation wants a double-terminated list.
    std::wstring list = m_path.str();
    list.push_back(L'\0');
    SHFILEOPSTRUCTW op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = list.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    ::SHFileOperationW(&op);
}

CString CTempFolder::Write(LPCTSTR name, const std::string& bytes) const
{
    CString path = File(name);
    HANDLE h = ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        ::CloseHandle(h);
    }
    return path;
}
