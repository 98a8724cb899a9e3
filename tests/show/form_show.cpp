// Starts the program from its folder, answers its start-up questions with No, opens one of its forms by the
// form's menu command and keeps it shown for a while, for a look at the form in the frame:
//
//     scripts/screenshot -w 20 build/x64/tests/form_show.exe <program folder> <command id> [seed]
//
// In place of the command id, "tree:i.j" selects the j-th child of the i-th top item of the control tree
// (counted from 0), which opens the item's report or document.
//
// With "seed" the folder's data archive first receives the figures of a sample authority (revenues, spending,
// forecasts, a responsible centre with its chapters and items, the accounting by chapters) and is recomputed:
// give it a copy of the program folder, never one whose archive holds real data.
#include "data/AdoErrorText.h"
#include "data/DatabasePassword.h"
#include "data/DatabaseSchema.h"
#include "data/SetConfig.h"
#include "engine/RecalcSaldi.h"
#include "util/PathUtil.h"

#include <commctrl.h>

#include <cstdio>
#include <cwchar>

namespace
{
// Three past years and three forecast years of a sample comune, in place of what the archive held.
const wchar_t kSeed[] = LR"sql(
DELETE FROM ExtraEntrCap;
DELETE FROM ExtraSpeseCap;
DELETE FROM CapEntrate;
DELETE FROM CapSpese;
DELETE FROM Responsabili WHERE ID > 0;
DELETE FROM Entrate;
DELETE FROM SaldoFin;
DELETE FROM SaldoFinProg;
DELETE FROM DatiEnte;
INSERT INTO Entrate (ID, Anno1, Anno2, Anno3) VALUES (2101, 3200000, 3296000, 3388000);
INSERT INTO Entrate (ID, Anno1, Anno2, Anno3) VALUES (2102, 900000, 927000, 945000);
INSERT INTO Entrate (ID, Anno1, Anno2, Anno3) VALUES (2103, 150000, 152000, 149500);
INSERT INTO Entrate (ID, Anno1, Anno2, Anno3) VALUES (2201, 1500000, 1465000, 1420000);
INSERT INTO Entrate (ID, Anno1, Anno2, Anno3) VALUES (2202, 420000, 431000, 446000);
INSERT INTO Entrate (ID, Anno1, Anno2, Anno3) VALUES (2301, 800000, 815000, 842000);
INSERT INTO Entrate (ID, Anno1, Anno2, Anno3) VALUES (2302, 210000, 205000, 214000);
INSERT INTO Entrate (ID, Anno1, Anno2, Anno3) VALUES (2401, 400000, 120000, 640000);
INSERT INTO Entrate (ID, Anno1, Anno2, Anno3) VALUES (2402, 300000, 280000, 310000);
INSERT INTO Entrate (ID, Anno1, Anno2, Anno3) VALUES (2406, 100000, 0, 50000);
INSERT INTO Entrate (ID, Anno1, Anno2, Anno3) VALUES (2501, 380000, 110000, 600000);
INSERT INTO Entrate (ID, Anno1, Anno2, Anno3) VALUES (3101, 3010000, 3120000, 3250000);
INSERT INTO Entrate (ID, Anno1, Anno2, Anno3) VALUES (3102, 860000, 880000, 905000);
INSERT INTO Entrate (ID, Anno1, Anno2, Anno3) VALUES (3103, 140000, 146000, 141000);
INSERT INTO Entrate (ID, Anno1, Anno2, Anno3) VALUES (3201, 1380000, 1400000, 1350000);
INSERT INTO Entrate (ID, Anno1, Anno2, Anno3) VALUES (3202, 390000, 402000, 415000);
INSERT INTO Entrate (ID, Anno1, Anno2, Anno3) VALUES (3301, 760000, 781000, 800000);
INSERT INTO Entrate (ID, Anno1, Anno2, Anno3) VALUES (3302, 198000, 201000, 207000);
INSERT INTO Entrate (ID, Anno1, Anno2, Anno3) VALUES (3401, 350000, 150000, 580000);
INSERT INTO Entrate (ID, Anno1, Anno2, Anno3) VALUES (3402, 250000, 240000, 270000);
INSERT INTO Entrate (ID, Anno1, Anno2, Anno3) VALUES (3406, 100000, 0, 50000);
INSERT INTO Entrate (ID, Anno1, Anno2, Anno3) VALUES (3501, 340000, 140000, 560000);
INSERT INTO Entrate (ID, Anno1, Anno2, Anno3) VALUES (3503, 90000, 60000, 70000);
INSERT INTO SaldoFin (ID, Anno1, Anno2, Anno3) VALUES (201, 6300000, 6420000, 6510000);
INSERT INTO SaldoFin (ID, Anno1, Anno2, Anno3) VALUES (202, 1150000, 930000, 1280000);
INSERT INTO SaldoFin (ID, Anno1, Anno2, Anno3) VALUES (203, 50000, 0, 40000);
INSERT INTO SaldoFin (ID, Anno1, Anno2, Anno3) VALUES (1201, 6450000, 6580000, 6690000);
INSERT INTO SaldoFin (ID, Anno1, Anno2, Anno3) VALUES (1202, 1280000, 1010000, 1190000);
INSERT INTO SaldoFin (ID, Anno1, Anno2, Anno3) VALUES (1203, 50000, 0, 40000);
INSERT INTO SaldoFinProg (ID, Anno4Com, Anno4Cas, Anno5Com, Anno5Cas, Anno6Com, Anno6Cas) VALUES (2101, 3500000, 3350000, 3560000, 3400000, 3610000, 3450000);
INSERT INTO SaldoFinProg (ID, Anno4Com, Anno4Cas, Anno5Com, Anno5Cas, Anno6Com, Anno6Cas) VALUES (2102, 960000, 930000, 970000, 940000, 980000, 950000);
INSERT INTO SaldoFinProg (ID, Anno4Com, Anno4Cas, Anno5Com, Anno5Cas, Anno6Com, Anno6Cas) VALUES (2201, 1400000, 1350000, 1380000, 1330000, 1360000, 1310000);
INSERT INTO SaldoFinProg (ID, Anno4Com, Anno4Cas, Anno5Com, Anno5Cas, Anno6Com, Anno6Cas) VALUES (2301, 860000, 820000, 870000, 830000, 880000, 840000);
INSERT INTO SaldoFinProg (ID, Anno4Com, Anno4Cas, Anno5Com, Anno5Cas, Anno6Com, Anno6Cas) VALUES (2401, 500000, 450000, 300000, 280000, 300000, 280000);
INSERT INTO SaldoFinProg (ID, Anno4Com, Anno4Cas, Anno5Com, Anno5Cas, Anno6Com, Anno6Cas) VALUES (2402, 320000, 260000, 300000, 250000, 300000, 250000);
INSERT INTO SaldoFinProg (ID, Anno4Com, Anno4Cas, Anno5Com, Anno5Cas, Anno6Com, Anno6Cas) VALUES (201, 6600000, 6700000, 6650000, 6720000, 6700000, 6760000);
INSERT INTO SaldoFinProg (ID, Anno4Com, Anno4Cas, Anno5Com, Anno5Cas, Anno6Com, Anno6Cas) VALUES (202, 1100000, 1050000, 900000, 880000, 850000, 820000);
INSERT INTO SaldoFinProg (ID, Anno4Com, Anno4Cas, Anno5Com, Anno5Cas, Anno6Com, Anno6Cas) VALUES (203, 30000, 30000, 0, 0, 0, 0);
INSERT INTO Responsabili (responsabile, centroServ, tipoResp) VALUES ('Rossi Mario', 'Servizi finanziari e tributi', 1);
INSERT INTO CapEntrate (ID, descrizione, codUEB) VALUES (101, 'Imposta comunale sugli immobili', '1010001');
INSERT INTO CapEntrate (ID, descrizione, codUEB) VALUES (102, 'Addizionale comunale all''IRPEF', '1010002');
INSERT INTO CapEntrate (ID, descrizione, codUEB) VALUES (301, 'Proventi del servizio di refezione scolastica', '3010001');
INSERT INTO CapSpese (ID, descrizione, codUEB) VALUES (1101, 'Retribuzioni del personale dei servizi finanziari', '1010301');
INSERT INTO CapSpese (ID, descrizione, codUEB) VALUES (2101, 'Manutenzione straordinaria degli edifici comunali', '2010501');
INSERT INTO ExtraEntrCap (idResp, codUEB, capitolo, articolo, importoComp, importoCassa) VALUES (0, '1010001', 101, '1', 2100000, 2000000);
INSERT INTO ExtraEntrCap (idResp, codUEB, capitolo, articolo, importoComp, importoCassa) VALUES (0, '1010002', 102, '1', 640000, 610000);
INSERT INTO ExtraEntrCap (idResp, codUEB, capitolo, articolo, importoComp, importoCassa) VALUES (0, '3010001', 301, '2', 185000, 176500);
INSERT INTO ExtraSpeseCap (idResp, codUEB, capitolo, articolo, importoComp, importoCassa) VALUES (0, '1010301', 1101, '1', 412000, 412000);
INSERT INTO ExtraSpeseCap (idResp, codUEB, capitolo, articolo, importoComp, importoCassa) VALUES (0, '2010501', 2101, '3', 250000, 190000);
INSERT INTO DatiEnte (ID, [value]) VALUES ('ENTE', 'Comune di Valdora');
INSERT INTO DatiEnte (ID, [value]) VALUES ('PROV', 'VR');
UPDATE Settings SET [value] = '1' WHERE [name] = 'imp_extra_cont2';
)sql";

void OpenDatabase(CADOConnection& connection, const CString& strPath, const CString& strPassword)
{
    HRESULT hr = connection.CreateConnection();
    if (FAILED(hr))
        _com_issue_error(hr);
    connection.Open(CADOConnection::FormatConnectionString(strPath, strPassword), TRUE);
}

void SeedArchive(const CString& strFolder)
{
    CString strArchive;
    {
        CADOConnection prog;
        OpenDatabase(prog, CombinePath(strFolder, L"Prog03.mdb"), GetProgDatabasePassword());
        strArchive = CombinePath(strFolder, CSetConfig::GetConfigNomeDB(prog));
        prog.Close();
    }
    strArchive.Replace(L'/', L'\\');
    CADOConnection data;
    OpenDatabase(data, strArchive, GetArchivePassword());
    ExecuteSqlScript(data, kSeed);
    RecalcSaldi(data);
    data.Close();
}

struct CProgramWindows
{
    DWORD dwProcess;
    HWND hFrame = nullptr;
    HWND hQuestion = nullptr;
};

BOOL CALLBACK FindWindows(HWND hWnd, LPARAM lParam)
{
    CProgramWindows& windows = *reinterpret_cast<CProgramWindows*>(lParam);
    DWORD dwProcess = 0;
    ::GetWindowThreadProcessId(hWnd, &dwProcess);
    if (dwProcess != windows.dwProcess || !::IsWindowVisible(hWnd))
        return TRUE;
    wchar_t szClass[64] = L"";
    ::GetClassNameW(hWnd, szClass, _countof(szClass));
    if (std::wcscmp(szClass, L"#32770") == 0)
        windows.hQuestion = hWnd;
    else if (::GetWindow(hWnd, GW_OWNER) == nullptr &&
             (::GetWindowLongPtrW(hWnd, GWL_STYLE) & (WS_CAPTION | WS_SYSMENU)) == (WS_CAPTION | WS_SYSMENU))
        windows.hFrame = hWnd;   // the main frame; the splash window has no caption
    return TRUE;
}
BOOL CALLBACK FindTree(HWND hWnd, LPARAM lParam)
{
    wchar_t szClass[32] = L"";
    ::GetClassNameW(hWnd, szClass, _countof(szClass));
    if (std::wcscmp(szClass, WC_TREEVIEWW) != 0 || !::IsWindowVisible(hWnd))
        return TRUE;
    *reinterpret_cast<HWND*>(lParam) = hWnd;
    return FALSE;
}

// The child of a top item of the first tree of the frame, selected as the user's click selects it.
void SelectTreeItem(HWND hFrame, int nRoot, int nChild)
{
    HWND hTree = nullptr;
    ::EnumChildWindows(hFrame, FindTree, reinterpret_cast<LPARAM>(&hTree));
    if (!hTree)
        return;
    auto next = [hTree](HTREEITEM hItem, UINT nCode) {
        return reinterpret_cast<HTREEITEM>(::SendMessageW(hTree, TVM_GETNEXTITEM, nCode, reinterpret_cast<LPARAM>(hItem)));
    };
    HTREEITEM hItem = next(nullptr, TVGN_ROOT);
    for (int i = 0; hItem && i < nRoot; ++i)
        hItem = next(hItem, TVGN_NEXT);
    hItem = hItem ? next(hItem, TVGN_CHILD) : nullptr;
    for (int i = 0; hItem && i < nChild; ++i)
        hItem = next(hItem, TVGN_NEXT);
    if (hItem)
        ::SendMessageW(hTree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(hItem));
}
} // namespace

int wmain(int argc, wchar_t* argv[])
{
    if (argc < 3) {
        std::fwprintf(stderr, L"usage: form_show <program folder> <command id> [seed]\n");
        return 2;
    }
    CString strFolder = GetFullPath(argv[1]);
    const UINT nCommand = static_cast<UINT>(std::wcstoul(argv[2], nullptr, 10));
    int nRoot = -1, nChild = -1;
    if (std::swscanf(argv[2], L"tree:%d.%d", &nRoot, &nChild) != 2)
        nRoot = -1;
    if (argc > 3 && std::wcscmp(argv[3], L"seed") == 0) {
        try {
            SeedArchive(strFolder);
        } catch (const _com_error& e) {
            std::fwprintf(stderr, L"form_show: %ls\n", GetComErrorText(e, nullptr).GetString());
            return 1;
        }
    }

    CString strProgram = CombinePath(strFolder, L"Quarzel08.exe");
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessW(strProgram, nullptr, nullptr, nullptr, FALSE, 0, nullptr, strFolder, &startup, &process)) {
        std::fwprintf(stderr, L"form_show: %ls cannot be started\n", strProgram.GetString());
        return 1;
    }
    // The start-up questions are answered with No (or OK), then the command goes to the frame once; the form then
    // stays on the screen for twenty seconds.
    DWORD dwSent = 0;
    for (DWORD dwStart = ::GetTickCount(); ::GetTickCount() - dwStart < 90000;) {
        if (::WaitForSingleObject(process.hProcess, 250) == WAIT_OBJECT_0)
            break;
        CProgramWindows windows{process.dwProcessId};
        ::EnumWindows(FindWindows, reinterpret_cast<LPARAM>(&windows));
        if (windows.hQuestion) {
            UINT nAnswer = ::GetDlgItem(windows.hQuestion, IDNO) ? IDNO : IDOK;
            ::PostMessageW(windows.hQuestion, WM_COMMAND, nAnswer, 0);
        }
        else if (windows.hFrame && !dwSent) {
            ::Sleep(1000);
            if (nRoot >= 0)
                SelectTreeItem(windows.hFrame, nRoot, nChild);
            else
                ::PostMessageW(windows.hFrame, WM_COMMAND, nCommand, 0);
            dwSent = ::GetTickCount();
        }
        if (dwSent && ::GetTickCount() - dwSent > 20000)
            break;
    }
    ::TerminateProcess(process.hProcess, 0);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return 0;
}
