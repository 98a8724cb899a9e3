// Shows the certificate import dialog (225, the default) or the revenue chapter list (234, on a new archive with
// a few chapters), for a look with scripts/screenshot build/<folder>/tests/import_show.exe [225|234].
#include "data/DatabaseSchema.h"
#include "dialogs/DlgCapitoli.h"
#include "import/DlgImportOptions.h"
#include "resource.h"

#include <commctrl.h>

#include <cstring>

namespace
{
const LPCTSTR kPassword = L"show";

CString TempArchive()
{
    WCHAR szFolder[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, szFolder);
    CString path;
    path.Format(L"%squarzel-show-%lu.mdb", szFolder, ::GetCurrentProcessId());
    ::DeleteFileW(path);
    return path;
}

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

int main(int argc, char** argv)
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);
    ::CoInitialize(nullptr);
    if (argc > 1 && std::strcmp(argv[1], "234") == 0) {
        CString path = TempArchive();
        CreateDataArchive(path, kPassword);
        CADOConnection data;
        data.CreateConnection();
        data.Open(CADOConnection::FormatConnectionString(path, kPassword), TRUE);
        const LPCTSTR rows[] = {
            L"INSERT INTO CapEntrate VALUES (101, 'Imposta municipale sugli immobili', '1010101')",
            L"INSERT INTO CapEntrate VALUES (105, 'Addizionale comunale IRPEF', '1010102')",
            L"INSERT INTO CapEntrate VALUES (210, 'Trasferimenti correnti dallo Stato', '2010101')",
            L"INSERT INTO CapEntrate VALUES (305, 'Proventi dei servizi pubblici', '3010101')",
            L"INSERT INTO CapEntrate VALUES (420, 'Alienazione di beni patrimoniali', '4010101')",
        };
        for (LPCTSTR sql : rows)
            data.Execute(sql, nullptr, adCmdText | adExecuteNoRecords);
        {
            CDlgCapitoli dialog(nullptr, data, CSetCapitoli::kindEntrate);
            if (!dialog.Create(IDD_CAPITOLI))
                return 1;
            ListView_SetItemState(dialog.GetDlgItem(IDC_ITEM_LIST)->m_hWnd, 1, LVIS_SELECTED, LVIS_SELECTED);
            RunUntilClosed(dialog);
        }
        data.Close();
        ::DeleteFileW(path);
        return 0;
    }
    CDlgImpCert dialog(nullptr, 2005);
    if (!dialog.Create(IDD_IMP_CERT))
        return 1;
    RunUntilClosed(dialog);
    return 0;
}
