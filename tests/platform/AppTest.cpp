// The application object: the program's run through AfxWinMain, the standard command line and the profile.
#include "HandlerFailures.h"
#include "platform/mfc/afxwin.h"
#include "support/MessageBoxRecorder.h"

#include <gtest/gtest.h>
#include <shlwapi.h>
#include <vector>

namespace
{
const UINT WM_TEST_SWALLOWED = WM_APP + 20;

class CRunApp : public CWinApp
{
public:
    CRunApp() : CWinApp(L"Prova") {}

    BOOL m_bStart = TRUE;
    bool m_bThrowAfterFrame = false;
    bool m_bThrowOnIdle = false;
    std::vector<CString> m_steps;
    int m_nIdle = 0;
    int m_nSwallowed = 0;

    BOOL InitInstance() override
    {
        m_steps.push_back(L"init");
        if (!m_bStart)
            return FALSE;
        auto pFrame = new CFrameWnd;
        if (!pFrame->Create(nullptr, L"principale", WS_OVERLAPPEDWINDOW))
            return FALSE;
        m_pMainWnd = pFrame;
        if (m_bThrowAfterFrame)
            ThrowHandlerFailure(HandlerFailure::database);
        pFrame->PostMessage(WM_TEST_SWALLOWED);
        return TRUE;
    }
    // The program ends when it first has nothing to do.
    BOOL OnIdle(LONG lCount) override
    {
        if (m_nIdle++ == 0) {
            m_pMainWnd->PostMessage(WM_CLOSE);
            if (m_bThrowOnIdle)
                ThrowHandlerFailure(HandlerFailure::standard);
        }
        return CWinApp::OnIdle(lCount);
    }
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_TEST_SWALLOWED) {
            ++m_nSwallowed;
            return TRUE;
        }
        return CWinApp::PreTranslateMessage(pMsg);
    }
    int ExitInstance() override
    {
        m_steps.push_back(L"exit");
        CWinApp::ExitInstance();
        return 7;
    }
};

// A registry key of its own for each run, removed afterwards.
class ProfileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_strKey.Format(L"Quarzel08 Test %lu", ::GetCurrentProcessId());
        m_app.SetRegistryKey(m_strKey);
    }
    void TearDown() override
    {
        ::SHDeleteKeyW(HKEY_CURRENT_USER, L"Software\\" + m_strKey);
        AfxSetRegistryKey(L"", L"");
    }

    CString m_strKey;
    CWinApp m_app{L"Prova"};
};
} // namespace

TEST(App, WinMainRunsInitInstanceTheLoopAndExitInstance)
{
    CRunApp app;
    EXPECT_EQ(&app, AfxGetApp());
    EXPECT_EQ(&app, AfxGetThread());
    EXPECT_EQ(7, AfxWinMain(::GetModuleHandleW(nullptr), nullptr, const_cast<LPTSTR>(L""), SW_HIDE));
    std::vector<CString> expected = {L"init", L"exit"};
    EXPECT_EQ(expected, app.m_steps);
    EXPECT_EQ(1, app.m_nSwallowed);
    EXPECT_GE(app.m_nIdle, 1);
    EXPECT_EQ(nullptr, app.m_pMainWnd);
}

TEST(App, AFailedStartEndsWithoutTheLoop)
{
    CRunApp app;
    app.m_bStart = FALSE;
    EXPECT_EQ(7, AfxWinMain(::GetModuleHandleW(nullptr), nullptr, const_cast<LPTSTR>(L""), SW_HIDE));
    std::vector<CString> expected = {L"init", L"exit"};
    EXPECT_EQ(expected, app.m_steps);
    EXPECT_EQ(0, app.m_nIdle);
}

TEST(App, AnExceptionOfTheStartIsShownAndTheProgramEndsCleanly)
{
    CMessageBoxRecorder boxes;
    CRunApp app;
    app.m_bThrowAfterFrame = true;
    EXPECT_EQ(7, AfxWinMain(::GetModuleHandleW(nullptr), nullptr, const_cast<LPTSTR>(L""), SW_HIDE));
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_EQ(CString(g_szDatabaseError), boxes.Last().text);
    std::vector<CString> expected = {L"init", L"exit"};
    EXPECT_EQ(expected, app.m_steps);
    EXPECT_EQ(0, app.m_nIdle);
    EXPECT_EQ(nullptr, app.m_pMainWnd);   // the frame made before the failure is gone
    MSG msg;
    EXPECT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));   // its end asks the loop to end
}

TEST(App, AnExceptionOfIdleWorkIsShownAndTheLoopGoesOn)
{
    CMessageBoxRecorder boxes;
    CRunApp app;
    app.m_bThrowOnIdle = true;
    EXPECT_EQ(7, AfxWinMain(::GetModuleHandleW(nullptr), nullptr, const_cast<LPTSTR>(L""), SW_HIDE));
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_EQ(ExpectedFailureText(HandlerFailure::standard), boxes.Last().text);
    EXPECT_EQ(nullptr, app.m_pMainWnd);   // the loop went on and closed the frame
    std::vector<CString> expected = {L"init", L"exit"};
    EXPECT_EQ(expected, app.m_steps);
}

TEST(App, TheStandardCommandLine)
{
    struct
    {
        std::vector<const wchar_t*> args;
        CCommandLineInfo::ShellCommand nCommand;
        const wchar_t* pszFile;
        BOOL bShowSplash;
    } cases[] = {
        {{}, CCommandLineInfo::FileNew, L"", TRUE},
        {{L"conto.dat"}, CCommandLineInfo::FileOpen, L"conto.dat", TRUE},
        {{L"/p", L"conto.dat"}, CCommandLineInfo::FilePrint, L"conto.dat", TRUE},
        {{L"-dde"}, CCommandLineInfo::FileDDE, L"", TRUE},
        {{L"/Embedding"}, CCommandLineInfo::FileNew, L"", FALSE},
        {{L"-automation"}, CCommandLineInfo::FileNew, L"", FALSE},
        {{L"/Unregserver"}, CCommandLineInfo::AppUnregister, L"", TRUE},
    };
    for (const auto& c : cases) {
        CCommandLineInfo info;
        for (size_t i = 0; i < c.args.size(); ++i) {
            LPCTSTR pszArg = c.args[i];
            BOOL bFlag = pszArg[0] == L'/' || pszArg[0] == L'-';
            info.ParseParam(bFlag ? pszArg + 1 : pszArg, bFlag, i + 1 == c.args.size());
        }
        CString strCase = c.args.empty() ? CString(L"(none)") : CString(c.args[0]);
        EXPECT_EQ(c.nCommand, info.m_nShellCommand) << strCase.ToMultiByte(CP_UTF8);
        EXPECT_EQ(CString(c.pszFile), info.m_strFileName);
        EXPECT_EQ(c.bShowSplash, info.m_bShowSplash) << strCase.ToMultiByte(CP_UTF8);
    }

    CCommandLineInfo printTo;
    const wchar_t* args[] = {L"pt", L"conto.dat", L"Stampante", L"driver", L"LPT1:"};
    for (int i = 0; i < 5; ++i)
        printTo.ParseParam(args[i], i == 0, i == 4);
    EXPECT_EQ(CCommandLineInfo::FilePrintTo, printTo.m_nShellCommand);
    EXPECT_EQ(CString(L"Stampante"), printTo.m_strPrinterName);
    EXPECT_EQ(CString(L"driver"), printTo.m_strDriverName);
    EXPECT_EQ(CString(L"LPT1:"), printTo.m_strPortName);
}

TEST_F(ProfileTest, ValuesRoundTripUnderTheApplicationsKey)
{
    EXPECT_EQ(m_strKey, AfxGetRegistryKey());
    EXPECT_EQ(CString(L"Prova"), AfxGetProfileName());

    EXPECT_EQ(5u, m_app.GetProfileInt(L"Settings", L"Info Normativa", 5));
    EXPECT_TRUE(m_app.WriteProfileInt(L"Settings", L"Info Normativa", -1));
    EXPECT_EQ(static_cast<UINT>(-1), m_app.GetProfileInt(L"Settings", L"Info Normativa", 5));

    EXPECT_EQ(CString(L"nessuno"), m_app.GetProfileString(L"Settings", L"Nome", L"nessuno"));
    EXPECT_TRUE(m_app.WriteProfileString(L"Settings", L"Nome", L"Città"));
    EXPECT_EQ(CString(L"Città"), m_app.GetProfileString(L"Settings", L"Nome"));
    // A value of another type is not this type's value.
    EXPECT_EQ(9u, m_app.GetProfileInt(L"Settings", L"Nome", 9));

    BYTE data[] = {0, 1, 2, 0xFF};
    EXPECT_TRUE(m_app.WriteProfileBinary(L"CommandBars", L"Accelerators", data, sizeof(data)));
    LPBYTE pRead = nullptr;
    UINT nBytes = 0;
    ASSERT_TRUE(m_app.GetProfileBinary(L"CommandBars", L"Accelerators", &pRead, &nBytes));
    ASSERT_EQ(sizeof(data), nBytes);
    EXPECT_EQ(0, memcmp(data, pRead, nBytes));
    delete[] pRead;
    EXPECT_FALSE(m_app.GetProfileBinary(L"CommandBars", L"Missing", &pRead, &nBytes));
    EXPECT_EQ(nullptr, pRead);

    CString strPath;
    strPath.Format(L"Software\\%s\\Prova\\Settings", m_strKey.GetString());
    HKEY hKey = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyExW(HKEY_CURRENT_USER, strPath, 0, KEY_READ, &hKey));
    ::RegCloseKey(hKey);
}

TEST_F(ProfileTest, NullValuesDeleteEntriesAndWholeSections)
{
    m_app.WriteProfileString(L"Settings", L"Nome", L"x");
    EXPECT_TRUE(m_app.WriteProfileString(L"Settings", L"Nome", nullptr));
    EXPECT_EQ(CString(L"d"), m_app.GetProfileString(L"Settings", L"Nome", L"d"));

    // A section with sub-keys of its own goes as a whole.
    m_app.WriteProfileInt(L"DockingPaneLayouts", L"Summary", 1);
    m_app.WriteProfileInt(L"DockingPaneLayouts\\NormalLayout", L"Pane-0", 2);
    EXPECT_TRUE(m_app.WriteProfileString(L"DockingPaneLayouts", nullptr, nullptr));
    EXPECT_EQ(0u, m_app.GetProfileInt(L"DockingPaneLayouts\\NormalLayout", L"Pane-0", 0));
    EXPECT_EQ(0u, m_app.GetProfileInt(L"DockingPaneLayouts", L"Summary", 0));
}

TEST(Profile, WithoutARegistryKeyReadsGiveDefaultsAndWritesFail)
{
    CWinApp app(L"Prova");
    EXPECT_EQ(3u, app.GetProfileInt(L"Settings", L"Ultima Versione", 3));
    EXPECT_FALSE(app.WriteProfileInt(L"Settings", L"Ultima Versione", 200));
    EXPECT_EQ(nullptr, app.GetAppRegistryKey());
}
