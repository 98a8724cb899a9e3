// The tour of the program's screens: every command of the menu and of the toolbar, and every row of the navigation
// tree, in each accounting mode, on an archive with the figures of a real authority. Each screen that opens (the
// view left in the frame, a dialog, also one that only a form's own button opens, a menu) is saved as a picture
// taken inside the process and named after the screen, into the folder "screens" of the build; what a command
// shows without a window of its own (a message, a common dialog, a file handed to the shell, a mail) is written as
// the screen's text. scripts/test compares the folders of the two builds pixel by pixel, so that any difference
// between the 32-bit and the 64-bit program on screen fails the run.
#include "app/ProgramCommands.h"
#include "app/ProgramFolder.h"

#include "app/EmptyView.h"
#include "app/MainFrm.h"
#include "data/DatabasePassword.h"
#include "platform/mfc/afxmapi.h"
#include "platform/mfc/afxshell.h"
#include "reports/DlgPrint.h"
#include "resource.h"
#include "show/ShowPicture.h"
#include "support/AuthorityArchive.h"
#include "support/MessageBoxRecorder.h"
#include "support/ModalDialogDriver.h"
#include "support/TempFolder.h"
#include "ui/commandbars/XTPCommandBar.h"
#include "util/MessageText.h"
#include "util/PathUtil.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <set>
#include <vector>

namespace {

const LPCTSTR PROFILE_KEY = L"Quarzel08 Schermate";
// The frame's place on the test display, the same in every run.
const CRect FRAME_RECT(0, 0, 1024, 740);

CString ScreensFolder()
{
    TCHAR szModule[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, szModule, MAX_PATH);
    CString strPath = GetPathDir(szModule);
    return CombinePath(strPath.Left(strPath.ReverseFind(L'\\')), L"screens");
}

// A screen's name as a file name: what a file name cannot hold becomes "-", accented letters lose their accent.
CString FileName(CString strScreen)
{
    const struct { wchar_t from; wchar_t to; } letters[] = {
        {L'\u00e0', L'a'}, {L'\u00e8', L'e'}, {L'\u00e9', L'e'},
        {L'\u00ec', L'i'}, {L'\u00f2', L'o'}, {L'\u00f9', L'u'},
    };
    for (const auto& letter : letters)
        strScreen.Replace(letter.from, letter.to);
    CString strName;
    for (int i = 0; i < strScreen.GetLength(); ++i) {
        wchar_t ch = strScreen[i];
        strName += (ch < 0x20 || ch > 0x7E || CString(L"\\/:*?\"<>|&").Find(ch) >= 0) ? L'-' : ch;
    }
    strName.Trim();
    return strName.Left(150);
}

// The folder of this run's captures, emptied at the start.
class CScreenFolder
{
public:
    CScreenFolder() : m_strFolder(ScreensFolder())
    {
        ::CreateDirectoryW(m_strFolder, nullptr);
        WIN32_FIND_DATAW find;
        HANDLE hFind = ::FindFirstFileW(CombinePath(m_strFolder, L"*"), &find);
        if (hFind == INVALID_HANDLE_VALUE)
            return;
        do {
            if (!(find.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                ::DeleteFileW(CombinePath(m_strFolder, find.cFileName));
        } while (::FindNextFileW(hFind, &find));
        ::FindClose(hFind);
    }

    // The window as it stands on the screen, from its own surface (children included); false when the picture
    // could not be saved or shows nothing but one colour.
    bool SaveWindow(const CString& strScreen, HWND hWnd)
    {
        ::RedrawWindow(hWnd, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        // A blinking caret would show in one picture and not in the other.
        ::HideCaret(nullptr);
        CRect rc;
        ::GetWindowRect(hWnd, &rc);
        CShowPicture picture(rc);
        picture.CopyWindow(hWnd);
        return Claim(strScreen, L".bmp") && picture.Save(Path(strScreen, L".bmp").ToMultiByte(CP_ACP).c_str()) &&
               !picture.IsBlank();
    }

    bool SaveText(const CString& strScreen, const std::vector<CString>& lines)
    {
        CString strText;
        for (const CString& strLine : lines)
            strText += strLine + L"\n";
        std::string bytes = strText.ToMultiByte(CP_UTF8);
        FILE* pFile = nullptr;
        if (!Claim(strScreen, L".txt") || _wfopen_s(&pFile, Path(strScreen, L".txt"), L"wb") != 0)
            return false;
        bool bWritten = std::fwrite(bytes.data(), 1, bytes.size(), pFile) == bytes.size();
        return std::fclose(pFile) == 0 && bWritten;
    }

private:
    // Two captures of one name would overwrite each other.
    bool Claim(const CString& strScreen, LPCTSTR pszExtension)
    {
        const CString strFile = FileName(strScreen) + pszExtension;
        bool bNew = m_names.insert(strFile).second;
        EXPECT_TRUE(bNew) << "two captures named " << strFile.ToMultiByte(CP_UTF8);
        return bNew;
    }
    CString Path(const CString& strScreen, LPCTSTR pszExtension) const
    {
        return CombinePath(m_strFolder, FileName(strScreen) + pszExtension);
    }

    CString m_strFolder;
    std::set<CString> m_names;
};

CScreenFolder& Screens()
{
    static CScreenFolder folder;
    return folder;
}

// What the seams saw while a command ran: the shell's targets and the mails, as lines of the screen's text.
std::vector<CString> g_outside;

INT_PTR RecordShellOpen(HWND, LPCWSTR lpszTarget, int)
{
    CString strTarget = lpszTarget;
    // The program folder is a temporary one: only the file's own name is the same in every run.
    g_outside.push_back(L"shell: " + strTarget.Mid(strTarget.ReverseFind(L'\\') + 1));
    return 42;
}

ULONG WINAPI RecordMail(LHANDLE, ULONG_PTR, lpMapiMessage pMessage, FLAGS, ULONG)
{
    g_outside.push_back(L"mail: " + CString(pMessage->lpszSubject ? pMessage->lpszSubject : ""));
    return SUCCESS_SUCCESS;
}

// The commands of the menu, then those of the toolbar that the menu lacks.
std::vector<UINT> ProgramCommands()
{
    HMENU hMenu = ::LoadMenuW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_MAINFRAME));
    std::vector<UINT> ids = MenuCommands(hMenu);
    ::DestroyMenu(hMenu);
    for (UINT nID : ToolbarCommands(IDR_TOOLBAR)) {
        if (std::find(ids.begin(), ids.end(), nID) == ids.end())
            ids.push_back(nID);
    }
    return ids;
}

// Dispatches what is queued, timers aside (they would make one capture differ from the other: a caret, a tip),
// then updates the bars' commands as the idle time does.
void PumpQueue()
{
    MSG msg;
    for (int nRound = 0; nRound < 3; ++nRound) {
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_TIMER || msg.message == WM_QUIT)
                continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::Sleep(10);
    }
    if (CWinThread* pThread = AfxGetThread())
        pThread->OnIdle(0);
}

// The push buttons of a dialog or a form, visible and enabled, but for those that end a dialog (OK, Cancel, Help).
std::vector<HWND> OtherButtons(HWND hDialog)
{
    std::vector<HWND> buttons;
    for (HWND hChild = ::GetWindow(hDialog, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        wchar_t szClass[16] = L"";
        ::GetClassNameW(hChild, szClass, _countof(szClass));
        const int nID = ::GetDlgCtrlID(hChild);
        // The program's own buttons draw themselves.
        const LONG_PTR nType = ::GetWindowLongPtrW(hChild, GWL_STYLE) & BS_TYPEMASK;
        if (_wcsicmp(szClass, L"Button") == 0 &&
            (nType == BS_PUSHBUTTON || nType == BS_DEFPUSHBUTTON || nType == BS_OWNERDRAW) &&
            ::IsWindowVisible(hChild) && ::IsWindowEnabled(hChild) && nID != IDOK && nID != IDCANCEL && nID != IDHELP)
            buttons.push_back(hChild);
    }
    return buttons;
}

// A button's caption; a button that shows an icon only is named by its id.
CString ButtonName(HWND hButton)
{
    CString strButton;
    CWnd::FromHandle(hButton)->GetWindowText(strButton);
    strButton.Remove(L'&');
    return strButton.IsEmpty() ? FormatString(L"%d", ::GetDlgCtrlID(hButton)) : strButton;
}

// The process's visible menus (popup command bars), bottom of the z-order first.
BOOL CALLBACK CollectMenu(HWND hWnd, LPARAM lParam)
{
    if (::IsWindowVisible(hWnd) && dynamic_cast<CXTPCommandBar*>(CWnd::FromHandlePermanent(hWnd)))
        reinterpret_cast<std::vector<CXTPCommandBar*>*>(lParam)->push_back(
            static_cast<CXTPCommandBar*>(CWnd::FromHandlePermanent(hWnd)));
    return TRUE;
}

// The program folder as the build assembles it, copied, with the archive of a real-size authority in the mode, and
// the main frame on it, shown at its fixed place with its start-up tasks done (their questions answered No, their
// dialogs closed).
class ScreensTest : public ::testing::TestWithParam<int>
{
protected:
    void SetUp() override
    {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, CString(L"Software\\") + PROFILE_KEY);
        CopyProgramFolder();
        if (HasFatalFailure())
            return;
        m_pApp = std::make_unique<CTheApp>();
        m_pApp->SetRegistryKey(PROFILE_KEY);
        m_pApp->InitFolders(m_folder.Path());
        CMessageBoxRecorder messages(IDNO);
        // The archive that the program folder names, in place of the empty one it ships.
        ASSERT_TRUE(m_pApp->OpenDatabase());
        const CString strArchive = m_pApp->GetArchivePath();
        m_pApp->CloseDatabase();
        ASSERT_TRUE(::DeleteFileW(strArchive));
        CreateAuthorityArchive(strArchive, GetArchivePassword(), static_cast<AuthorityAccounting>(GetParam()));
        ASSERT_TRUE(m_pApp->OpenDatabase());
        CModalDialogDriver driver([](CDialog&) -> INT_PTR { return IDCANCEL; });
        m_pFrame = CreateMainFrame(*m_pApp, [] { return COleDateTime(2008, 3, 5, 10, 0, 0); });
        ASSERT_NE(nullptr, m_pFrame);
        m_hFrame = m_pFrame->GetSafeHwnd();
        m_pFrame->ModifyStyle(WS_MAXIMIZE, 0);
        m_pFrame->SetWindowPos(nullptr, FRAME_RECT.left, FRAME_RECT.top, FRAME_RECT.Width(), FRAME_RECT.Height(),
                               SWP_NOZORDER | SWP_SHOWWINDOW);
        ::SetForegroundWindow(m_hFrame);
        ::SetCursorPos(FRAME_RECT.right + 100, FRAME_RECT.bottom + 100);
        PumpQueue();
        ShowStartPage();
        m_previousShell = AfxSetShellOpenHandler(RecordShellOpen);
        m_mail.pfnSendMail = RecordMail;
        m_pPreviousMail = AfxSetMapiEntryPoints(&m_mail);
    }

    void TearDown() override
    {
        AfxSetShellOpenHandler(m_previousShell);
        AfxSetMapiEntryPoints(m_pPreviousMail);
        if (m_pFrame && ::IsWindow(m_hFrame))
            m_pFrame->DestroyWindow();
        if (m_pApp) {
            m_pApp->m_pMainWnd = nullptr;
            m_pApp->CloseDatabase();
        }
        m_pApp.reset();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, CString(L"Software\\") + PROFILE_KEY);
    }

    void CopyProgramFolder()
    {
        const CString strShipped = ShippedProgramFolder();
        for (LPCTSTR pszFolder : {L"Dati", L"Doc", L"DocUt", L"Form", L"WebUpd", L"Backup"}) {
            // The shell's copy takes a list of paths, each ended by a null and the list by another.
            CString strFrom = CombinePath(strShipped, pszFolder);
            std::wstring from(strFrom.GetString(), strFrom.GetLength() + 1);
            from.push_back(L'\0');
            std::wstring to(m_folder.Path().GetString(), m_folder.Path().GetLength() + 1);
            to.push_back(L'\0');
            SHFILEOPSTRUCTW op = {};
            op.wFunc = FO_COPY;
            op.pFrom = from.c_str();
            op.pTo = to.c_str();
            op.fFlags = FOF_NO_UI;
            ASSERT_EQ(0, ::SHFileOperationW(&op)) << "copy of " << CString(pszFolder).ToMultiByte(CP_UTF8);
        }
        ASSERT_TRUE(::CopyFileW(CombinePath(strShipped, L"Prog03.mdb"), m_folder.File(L"Prog03.mdb"), FALSE));
    }

    CString ModeName() const { return FormatString(L"modo %d", GetParam()); }
    CView* View() const { return m_pFrame->GetPaneView(); }
    bool ShowsStartPage() const { return View() && View()->IsKindOf(RUNTIME_CLASS(CEmptyView)); }
    void ShowStartPage()
    {
        CMessageBoxRecorder messages(IDNO);
        m_pFrame->SendMessage(WM_COMMAND, ID_CHIUDI_MASCHERA);
        PumpQueue();
    }

    // Runs the action with every seam recording what it shows and saves what it opened: each dialog (with what
    // its other buttons open, then closed with Cancel, or with OK where that only leads on to the next screen),
    // each menu (closed), the view it left in the frame and what that form's own buttons open, and what it showed
    // without a window. False when a picture or the text could not be saved or showed nothing.
    bool Tour(const CString& strScreen, const std::function<void()>& action)
    {
        bool bSaved = true;
        std::vector<CString> notes;
        g_outside.clear();
        CMessageBoxRecorder messages(IDNO);
        // The screen of the dialog that opened the one shown, the command's screen for the first.
        std::vector<CString> openers{strScreen};
        CModalDialogDriver driver([&](CDialog& dialog) -> INT_PTR {
            if (!dialog.GetSafeHwnd()) {
                notes.push_back(CString(L"dialog: ") + CString(dialog.GetRuntimeClass()->m_lpszClassName));
                return IDCANCEL;
            }
            dialog.SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_SHOWWINDOW);
            PumpQueue();
            CString strTitle;
            dialog.GetWindowText(strTitle);
            // A dialog called as its command is named once.
            const CString& strOpener = openers.back();
            const CString strDialog = strOpener.Right(strTitle.GetLength()) == strTitle && !strTitle.IsEmpty()
                                          ? strOpener
                                          : strOpener + L" - " + strTitle;
            bSaved = Screens().SaveWindow(strDialog, dialog.m_hWnd) && bSaved;
            for (HWND hButton : OtherButtons(dialog.m_hWnd)) {
                if (!dialog.ContinueModal())
                    break;
                openers.push_back(strDialog + L" - " + ButtonName(hButton));
                dialog.SendMessage(WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(hButton), BN_CLICKED),
                                   reinterpret_cast<LPARAM>(hButton));
                PumpQueue();
                openers.pop_back();
            }
            // The print choice only leads on to the print of the forms, once in the run: the print gathers every
            // report (each is toured from the tree in both modes), and the other command that offers the choice
            // does the same.
            if (dynamic_cast<CDlgPrint*>(&dialog) && !s_bPrinted) {
                s_bPrinted = true;
                return IDOK;
            }
            return IDCANCEL;
        });
        // A menu runs its own loop: the timer, dispatched there, saves the menus shown and ends them.
        s_pMenuScreen = &strScreen;
        s_bMenuSaved = true;
        s_nMenuTimer = ::SetTimer(nullptr, 0, 100, SaveMenus);
        action();
        ::KillTimer(nullptr, s_nMenuTimer);
        s_pMenuScreen = nullptr;
        bSaved = s_bMenuSaved && bSaved;
        PumpQueue();
        if (!ShowsStartPage()) {
            bSaved = Screens().SaveWindow(strScreen, m_hFrame) && bSaved;
            // What only the form's own buttons open, once the form has been saved as it opened; a form of one
            // responsible's figures opens on the summary of them all, where nothing can be changed, and is shown
            // on the first responsible.
            HWND hResp = View() ? ::GetDlgItem(View()->m_hWnd, IDC_FORM_RESP) : nullptr;
            if (hResp && ::SendMessageW(hResp, CB_GETCOUNT, 0, 0) > 1) {
                ::SendMessageW(hResp, CB_SETCURSEL, 1, 0);
                View()->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_FORM_RESP, CBN_SELENDOK),
                                    reinterpret_cast<LPARAM>(hResp));
                PumpQueue();
            }
            for (HWND hButton : View() ? OtherButtons(View()->m_hWnd) : std::vector<HWND>()) {
                if (!View() || !::IsWindow(hButton) || !::IsWindowEnabled(hButton))
                    continue;
                openers.push_back(strScreen + L" - " + ButtonName(hButton));
                View()->SendMessage(WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(hButton), BN_CLICKED),
                                    reinterpret_cast<LPARAM>(hButton));
                PumpQueue();
                openers.pop_back();
            }
        }
        for (const AFX_MSGBOX_REQUEST& request : messages.Shown())
            notes.push_back(FormatString(L"message (%#x): ", request.type) + request.text);
        notes.insert(notes.end(), g_outside.begin(), g_outside.end());
        if (!notes.empty())
            bSaved = Screens().SaveText(strScreen, notes) && bSaved;
        ShowStartPage();
        return bSaved;
    }

    static void CALLBACK SaveMenus(HWND, UINT, UINT_PTR, DWORD)
    {
        std::vector<CXTPCommandBar*> menus;
        ::EnumThreadWindows(::GetCurrentThreadId(), CollectMenu, reinterpret_cast<LPARAM>(&menus));
        if (menus.empty() || !s_pMenuScreen)
            return;
        ::KillTimer(nullptr, s_nMenuTimer);
        for (CXTPCommandBar* pMenu : menus) {
            if (pMenu->IsTrackingMode())
                s_bMenuSaved = Screens().SaveWindow(*s_pMenuScreen + L" - menu", pMenu->m_hWnd) && s_bMenuSaved;
        }
        for (CXTPCommandBar* pMenu : menus)
            pMenu->SetTrackingMode(FALSE);
    }

    static const CString* s_pMenuScreen;
    static bool s_bMenuSaved;
    static UINT_PTR s_nMenuTimer;
    static bool s_bPrinted;

    CTempFolder m_folder;
    std::unique_ptr<CTheApp> m_pApp;
    CMainFrame* m_pFrame = nullptr;
    HWND m_hFrame = nullptr;
    AFX_SHELLOPEN_HANDLER m_previousShell = nullptr;
    MAPI_ENTRY_POINTS m_mail;
    const MAPI_ENTRY_POINTS* m_pPreviousMail = nullptr;
};

const CString* ScreensTest::s_pMenuScreen = nullptr;
bool ScreensTest::s_bMenuSaved = true;
UINT_PTR ScreensTest::s_nMenuTimer = 0;
bool ScreensTest::s_bPrinted = false;

TEST_P(ScreensTest, EveryCommandOfTheMenuAndTheToolbarShowsItsScreens)
{
    ASSERT_TRUE(Screens().SaveWindow(ModeName() + L" - pagina iniziale", m_hFrame));
    for (UINT nID : ProgramCommands()) {
        // The command that ends the program has no screen.
        if (nID == ID_APP_EXIT)
            continue;
        CString strScreen = FormatString(L"%s - %u %s", ModeName().GetString(), nID, CommandName(nID).GetString());
        EXPECT_TRUE(Tour(strScreen, [&] { m_pFrame->SendMessage(WM_COMMAND, nID); })) << nID;
        ASSERT_TRUE(::IsWindow(m_hFrame)) << nID;
    }
}

TEST_P(ScreensTest, EveryRowOfTheNavigationTreeShowsItsScreen)
{
    CCtlAlbero* pTree = m_pFrame->GetTreePane();
    ASSERT_NE(nullptr, pTree);
    int nRows = 0;
    for (int nTab : {TAB_CONTROLLO, TAB_UFFICIALE}) {
        CXTTreeCtrl& tree = pTree->GetTree(nTab);
        for (HTREEITEM hItem = pTree->GetNextLeaf(nTab, nullptr, false); hItem;
             hItem = pTree->GetNextLeaf(nTab, hItem, false)) {
            // The path of captions from the top of the tree.
            CString strPath;
            for (HTREEITEM hAt = hItem; hAt; hAt = tree.GetParentItem(hAt))
                strPath = tree.GetItemText(hAt) + (strPath.IsEmpty() ? L"" : L" - ") + strPath;
            CString strScreen = FormatString(L"%s - albero %d - %s", ModeName().GetString(), nTab, strPath.GetString());
            EXPECT_TRUE(Tour(strScreen, [&] {
                pTree->SelectTreeItem(nTab, hItem);
                PumpQueue();
            })) << strScreen.ToMultiByte(CP_UTF8);
            ++nRows;
            pTree->SelectTreeItem(nTab, nullptr);
        }
    }
    EXPECT_GT(nRows, 0);
}

INSTANTIATE_TEST_SUITE_P(AccountingModes, ScreensTest, ::testing::Values(authorityByStructure, authorityByChapter),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return info.param == 0 ? "ByStructure" : "ByChapter";
                         });

} // namespace
