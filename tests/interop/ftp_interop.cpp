// The update dialog against a real FTP server: connects to 127.0.0.1 at the given port, answers every question
// Yes/OK, and prints what the user would have seen, what the shell would have started and where the progress
// ended, one line each (UTF-8), for ftp-interop.py to check.
// usage: ftp_interop.exe <port> <update folder>
#include "dialogs/DlgUpdate.h"
#include "platform/mfc/afxmsgbox.h"
#include "platform/mfc/afxshell.h"
#include "platform/mfc/afxwin.h"
#include "resource.h"
#include "util/MakerInfo.h"
#include "util/MessageText.h"

#include <cstdio>
#include <cwchar>

namespace {

void PrintLine(LPCSTR pszKind, const CString& strText)
{
    CString strOneLine(strText);
    strOneLine.Replace(L"\r", L"");
    strOneLine.Replace(L"\n", L" | ");
    std::printf("%s %s\n", pszKind, strOneLine.ToMultiByte(CP_UTF8).c_str());
    std::fflush(stdout);
}

int AnswerYes(const AFX_MSGBOX_REQUEST& request)
{
    PrintLine("MESSAGE", request.text);
    return (request.type & MB_TYPEMASK) == MB_YESNO ? IDYES : IDOK;
}

INT_PTR RecordStart(HWND, LPCWSTR lpszTarget, int)
{
    PrintLine("START", lpszTarget);
    return 42;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: ftp_interop.exe <port> <update folder>\n");
        return 2;
    }
    CWinApp app(L"ftp_interop");
    AfxSetMessageBoxHandler(AnswerYes);
    AfxSetShellOpenHandler(RecordStart);
    AfxSetModalHandler([](CDialog& dialog) -> INT_PTR {
        dialog.SendMessage(WM_COMMAND, IDOK);
        if (::IsWindow(dialog.m_hWnd)) {
            CString strStatus;
            dialog.GetDlgItemText(IDC_PROGRESS_STATUS, strStatus);
            PrintLine("STATUS", strStatus);
            PrintLine("POS", FormatString(L"%d", static_cast<int>(dialog.SendDlgItemMessage(IDC_PROGRESS_BAR, PBM_GETPOS))));
        }
        return IDCANCEL;
    });
    const auto nPort = static_cast<INTERNET_PORT>(std::wcstoul(argv[1], nullptr, 10));
    CDlgUpdate dialog(nullptr, L"Vorsa", MakerInfo::kProductCode, MakerInfo::kFtpFolder, 2, 0, argv[2],
                      std::make_unique<CFtpUpdateServer>(L"127.0.0.1", nPort, MakerInfo::kFtpUser,
                                                         MakerInfo::kFtpPassword));
    INT_PTR nResult = dialog.DoModal();
    PrintLine("RESULT", FormatString(L"%d", static_cast<int>(nResult)));
    return 0;
}
