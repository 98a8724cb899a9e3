#include "CompactDatabase.h"

#include "data/AdoErrorText.h"
#include "platform/mfc/afxmsgbox.h"
#include "util/MessageText.h"
#include "util/PathUtil.h"

namespace {

bool ShowLastSystemError()
{
    AfxMessageBox(GetSystemErrorText(::GetLastError()), MB_ICONERROR);
    return false;
}

// SQL string literal of a path: quotes doubled.
CString QuoteSqlText(LPCTSTR pszText)
{
    CString strText(pszText);
    strText.Replace(L"'", L"''");
    return L"'" + strText + L"'";
}

} // namespace

BOOL ReplaceFileAtomically(LPCTSTR pszExisting, LPCTSTR pszReplacement)
{
    return ::MoveFileExW(pszReplacement, pszExisting, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

bool CompactDatabase(LPCTSTR pszPath, LPCTSTR pszPassword, PFN_REPLACE_FILE pfnReplace)
{
    CString strTemp = CString(pszPath) + L".TEMP";
    // A copy left by an interrupted compaction would make the new copy fail.
    if (FileExists(strTemp) && !::DeleteFileW(strTemp))
        return ShowLastSystemError();

    CADOConnection connection;
    try {
        HRESULT hr = connection.CreateConnection();
        if (FAILED(hr))
            _com_issue_error(hr);
        connection.Open(CADOConnection::FormatConnectionString(pszPath, pszPassword), TRUE);
        connection.Execute(L"VACUUM INTO " + QuoteSqlText(strTemp), nullptr, adCmdText | adExecuteNoRecords);
        connection.Close();
    }
    catch (const _com_error& e) {
        AfxMessageBox(GetComErrorText(e, &connection), MB_ICONERROR);
        if (connection.IsOpen())
            connection.Close();
        ::DeleteFileW(strTemp);
        return false;
    }

    if (!pfnReplace(pszPath, strTemp)) {
        DWORD dwError = ::GetLastError();
        ::DeleteFileW(strTemp);
        ::SetLastError(dwError);
        return ShowLastSystemError();
    }
    return true;
}
