#include "util/WebCheck.h"

#include "util/MessageText.h"
#include "util/PathUtil.h"
#include "resource.h"

#include "platform/mfc/afxmsgbox.h"

#include <shlobj.h>

#include <string>

namespace {

const wchar_t kLastCheckFile[] = L"LastWebChk.dat";

// The first line of the file, empty when it cannot be read.
CString ReadFirstLine(LPCTSTR lpszPath)
{
    HANDLE hFile = ::CreateFileW(lpszPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return CString();
    char buffer[64];
    DWORD dwRead = 0;
    BOOL bRead = ::ReadFile(hFile, buffer, sizeof(buffer), &dwRead, nullptr);
    ::CloseHandle(hFile);
    if (!bRead)
        return CString();
    CString strLine = CString::FromMultiByte(buffer, static_cast<int>(dwRead), 1252);
    int nEnd = strLine.FindOneOf(L"\r\n");
    return nEnd < 0 ? strLine : strLine.Left(nEnd);
}

// The day written in the file is today or later: no need to ask again.
bool AskedAlready(const CString& strLine, const COleDateTime& today)
{
    if (strLine.GetLength() < 10)
        return false;
    int nDay = _wtoi(strLine.Left(2));
    int nMonth = _wtoi(strLine.Mid(3, 2));
    int nYear = _wtoi(strLine.Right(4));
    COleDateTime last;
    last.SetDate(nYear, nMonth, nDay);
    return last.GetStatus() == COleDateTime::valid && today <= last;
}

void WriteToday(LPCTSTR lpszPath, const COleDateTime& today)
{
    // Digits and slashes only: the wide text narrows character by character.
    CString strToday = today.Format(L"%d/%m/%Y");
    std::string strDate(strToday.GetString(), strToday.GetString() + strToday.GetLength());
    HANDLE hFile = ::CreateFileW(lpszPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return;
    DWORD dwWritten = 0;
    ::WriteFile(hFile, strDate.data(), static_cast<DWORD>(strDate.size()), &dwWritten, nullptr);
    ::CloseHandle(hFile);
}

} // namespace

BOOL AskDailyWebCheck(LPCTSTR lpszUpdateFolder, const COleDateTime& now, const std::function<void()>& beforeAsking)
{
    CString strFolder = GetFullPath(lpszUpdateFolder);
    int nResult = ::SHCreateDirectoryExW(nullptr, strFolder, nullptr);
    if (!IsDirectory(strFolder))
    {
        DWORD dwError = nResult != ERROR_SUCCESS ? static_cast<DWORD>(nResult) : ::GetLastError();
        AfxMessageBox(GetSystemErrorText(dwError), MB_OK | MB_ICONERROR);
        return FALSE;
    }
    COleDateTime today;
    today.SetDate(now.GetYear(), now.GetMonth(), now.GetDay());
    CString strPath = CombinePath(strFolder, kLastCheckFile);
    bool bAsk = !AskedAlready(ReadFirstLine(strPath), today);
    WriteToday(strPath, today);
    if (!bAsk)
        return FALSE;
    if (beforeAsking)
        beforeAsking();
    return AfxMessageBox(IDP_WEB_CHECK_ASK, MB_YESNO | MB_ICONQUESTION) == IDYES;
}
