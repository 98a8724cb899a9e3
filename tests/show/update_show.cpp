// Shows the About box ("about", the default) or the update dialog with a log of every kind and a download under
// way ("update"), for a look with scripts/screenshot build/<folder>/tests/update_show.exe [about|update].
#include "dialogs/DlgAbout.h"
#include "dialogs/DlgUpdate.h"
#include "platform/mfc/afxwin.h"
#include "resource.h"
#include "util/MakerInfo.h"
#include "util/MessageText.h"

#include <cwchar>

namespace {

void RunUntilClosed(CDialog& dialog)
{
    dialog.ShowWindow(SW_SHOW);
    MSG msg;
    while (::IsWindow(dialog.m_hWnd) && ::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (!::IsDialogMessageW(dialog.m_hWnd, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    CWinApp app(L"update_show");
    INITCOMMONCONTROLSEX icc = { sizeof(icc), ICC_WIN95_CLASSES };
    ::InitCommonControlsEx(&icc);
    if (argc > 1 && std::wcscmp(argv[1], L"update") == 0) {
        CDlgUpdate dialog(nullptr, L"Vorsa", MakerInfo::kProductCode, MakerInfo::kFtpFolder, 2, 0, L"C:\\WebUpd",
                          std::make_unique<CFtpUpdateServer>(MakerInfo::kFtpHost, INTERNET_DEFAULT_FTP_PORT,
                                                             MakerInfo::kFtpUser, MakerInfo::kFtpPassword));
        if (!dialog.Create(IDD_UPDATE))
            return 1;
        dialog.AddLogLine(CDlgUpdate::logInfo, LoadResString(IDS_UPD_CONNECTING));
        dialog.AddLogLine(CDlgUpdate::logInfo, LoadResString(IDS_UPD_CONNECTED));
        dialog.AddLogLine(CDlgUpdate::logInfo, LoadResString(IDS_UPD_INFO_READ));
        dialog.AddLogLine(CDlgUpdate::logWarning,
                          FormatResMessage(IDP_UPD_COPY_EXISTS, L"C:\\Vorsa\\WebUpd", L"Setup201.exe"));
        CInternetException error(ERROR_INTERNET_CANNOT_CONNECT);
        dialog.AddLogLine(CDlgUpdate::logError, GetExceptionText(&error, FALSE));
        dialog.AddLogLine(CDlgUpdate::logInfo, LoadResString(IDS_UPD_DOWNLOADING));
        dialog.SetRange(0, 100);
        dialog.SetPos(63);
        dialog.SetStatus(FormatResMessage(IDS_UPD_PROGRESS, L"19.817.472", L"31.457.280", 63,
                                          CDlgUpdate::FormatElapsed(75)));
        RunUntilClosed(dialog);
        return 0;
    }
    CDlgAbout dialog(nullptr, MakerInfo::kProductCode);
    if (!dialog.Create(IDD_ABOUTBOX))
        return 1;
    RunUntilClosed(dialog);
    return 0;
}
