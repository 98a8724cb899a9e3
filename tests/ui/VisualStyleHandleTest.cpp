#include "ui/themes/VisualStyleHandle.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace
{
// A stand-in for UxTheme that records what it is asked.
struct CFakeUxTheme
{
    static std::vector<std::string> calls;
    static INT_PTR nextHandle;
    static BOOL bThemeActive;

    static HTHEME WINAPI OpenThemeData(HWND, LPCWSTR pszClassList)
    {
        calls.push_back("open " + CStringA(pszClassList));
        return reinterpret_cast<HTHEME>(nextHandle++);
    }
    static HRESULT WINAPI CloseThemeData(HTHEME hTheme)
    {
        calls.push_back("close " + std::to_string(reinterpret_cast<INT_PTR>(hTheme)));
        return S_OK;
    }
    static HRESULT WINAPI GetThemeColor(HTHEME hTheme, int iPartId, int iStateId, int iPropId, COLORREF* pColor)
    {
        *pColor = static_cast<COLORREF>(reinterpret_cast<INT_PTR>(hTheme) * 1000 + iPartId * 100 + iStateId * 10 +
                                        iPropId);
        return S_OK;
    }
    static BOOL WINAPI IsThemeActive() { return bThemeActive; }
    static BOOL WINAPI IsAppThemed()
    {
        calls.push_back("isappthemed");
        return TRUE;
    }
    static int WINAPI GetThemeSysSize(HTHEME, int) { throw std::runtime_error("broken theme"); }

    static std::string CStringA(LPCWSTR psz) { return std::string(psz, psz + wcslen(psz)); }
};

std::vector<std::string> CFakeUxTheme::calls;
INT_PTR CFakeUxTheme::nextHandle = 1;
BOOL CFakeUxTheme::bThemeActive = TRUE;

FARPROC Entry(void (*pfn)()) { return reinterpret_cast<FARPROC>(pfn); }
#define FAKE_ENTRY(name) {#name, Entry(reinterpret_cast<void (*)()>(&CFakeUxTheme::name))}

const XTP_VISUALSTYLE_ENTRY g_fakeTable[] = {
    FAKE_ENTRY(OpenThemeData), FAKE_ENTRY(CloseThemeData), FAKE_ENTRY(GetThemeColor),
    FAKE_ENTRY(IsThemeActive), FAKE_ENTRY(IsAppThemed), FAKE_ENTRY(GetThemeSysSize), {nullptr, nullptr},
};

class VisualStyleHandleTest : public ::testing::Test
{
protected:
    CXTPVisualStyleLibrary& m_library = CXTPVisualStyleLibrary::GetInstance();

    void UseFakeTable(DWORD dwComCtlVersion)
    {
        CFakeUxTheme::calls.clear();
        CFakeUxTheme::nextHandle = 1;
        CFakeUxTheme::bThemeActive = TRUE;
        m_library.SetEntryTable(g_fakeTable);
        m_library.SetComCtlVersion(dwComCtlVersion);
    }
    void TearDown() override { m_library.Load(); }
};
}

TEST_F(VisualStyleHandleTest, WithoutTheLibraryEveryOperationFails)
{
    m_library.Load(L"QuarzelNoSuchUxTheme.dll");
    m_library.SetComCtlVersion(0x00060000);
    ASSERT_FALSE(m_library.IsLoaded());

    CXTPVisualStyleHandle theme;
    theme.OpenThemeData(nullptr, L"BUTTON");
    EXPECT_FALSE(theme.IsOpen());
    EXPECT_FALSE(theme.IsStyleAvailable());

    RECT rc = {0, 0, 10, 10};
    COLORREF clr = 0;
    int n = 0;
    WCHAR szName[MAX_PATH], szColor[MAX_PATH];
    const std::function<HRESULT()> hresults[] = {
        [&] { return theme.DrawThemeBackground(nullptr, 1, 1, &rc, nullptr); },
        [&] { return theme.GetThemeColor(0, 0, 3801, &clr); },
        [&] { return theme.GetThemeInt(0, 0, 0, &n); },
        [&] { return theme.GetCurrentThemeName(szName, MAX_PATH, szColor, MAX_PATH, nullptr, 0); },
        [&] { return theme.EnableThemeDialogTexture(nullptr, 6); },
        [&] { return theme.SetWindowTheme(nullptr, L"", L""); },
        [&] { return theme.CloseThemeData(); },
    };
    for (const auto& call : hresults)
        EXPECT_EQ(static_cast<HRESULT>(0x80004005), call());
    EXPECT_FALSE(theme.IsThemeActive());
    EXPECT_FALSE(theme.IsThemePartDefined(1, 1));
    EXPECT_EQ(0, theme.GetThemeSysSize(0));
    EXPECT_EQ(0xFFFFFFFFu, theme.GetThemeSysColor(COLOR_WINDOW));
    EXPECT_EQ(nullptr, theme.GetWindowTheme(nullptr));
    EXPECT_EQ(0u, theme.GetThemeAppProperties());
}

TEST_F(VisualStyleHandleTest, OpeningAgainClosesTheHeldHandleFirstAndTheDestructorClosesTheLast)
{
    UseFakeTable(0x00060000);
    {
        CXTPVisualStyleHandle theme;
        theme.OpenThemeData(nullptr, L"BUTTON");
        EXPECT_TRUE(theme.IsOpen());
        theme.OpenThemeData(nullptr, L"TREEVIEW");
        COLORREF clr = 0;
        EXPECT_EQ(S_OK, theme.GetThemeColor(1, 2, 3, &clr));
        EXPECT_EQ(2123u, clr) << "the held (second) handle is passed on";
    }
    const std::vector<std::string> expected = {"open BUTTON", "close 1", "open TREEVIEW", "close 2"};
    EXPECT_EQ(expected, CFakeUxTheme::calls);
}

TEST_F(VisualStyleHandleTest, IsAppThemedAsksOnlyWithAHandle)
{
    UseFakeTable(0x00060000);
    CXTPVisualStyleHandle theme;
    EXPECT_FALSE(theme.IsAppThemed());
    EXPECT_TRUE(CFakeUxTheme::calls.empty());
    theme.OpenThemeData(nullptr, L"BUTTON");
    EXPECT_TRUE(theme.IsAppThemed());
}

TEST_F(VisualStyleHandleTest, StylesNeedActiveThemesAndCommonControls6)
{
    struct Case { BOOL bActive; DWORD dwVersion; BOOL bExpected; } cases[] = {
        {TRUE, 0x00060000, TRUE},
        {TRUE, 0x0006000A, TRUE},
        {TRUE, 0x00050051, FALSE},   // 5.81, as Wine reports
        {TRUE, 0, FALSE},
        {FALSE, 0x00060000, FALSE},
    };
    for (const auto& c : cases) {
        UseFakeTable(c.dwVersion);
        CFakeUxTheme::bThemeActive = c.bActive;
        EXPECT_EQ(c.bExpected, CXTPVisualStyleHandle().IsStyleAvailable()) << std::hex << c.dwVersion;
    }
}

TEST_F(VisualStyleHandleTest, MissingOrThrowingEntriesAnswerTheirFailureValue)
{
    UseFakeTable(0x00060000);
    CXTPVisualStyleHandle theme;
    theme.OpenThemeData(nullptr, L"BUTTON");
    RECT rc = {0, 0, 1, 1};
    EXPECT_EQ(E_FAIL, theme.DrawThemeBackground(nullptr, 1, 1, &rc, nullptr));   // not in the table
    EXPECT_EQ(0, theme.GetThemeSysSize(SM_CXBORDER));                            // throws
    EXPECT_TRUE(theme.IsOpen());
}

TEST_F(VisualStyleHandleTest, TheSystemLibraryOffersNoStylesHere)
{
    // Visual styles are switched off in the test prefix (and Wine's common controls are older than 6):
    // the themed code paths fall back.
    m_library.Load();
    EXPECT_TRUE(m_library.IsLoaded());
    CXTPVisualStyleHandle theme;
    EXPECT_FALSE(theme.IsStyleAvailable());
    EXPECT_FALSE(theme.IsAppThemed());
}

namespace
{
template <DWORD Major, DWORD Minor, HRESULT Result = S_OK>
HRESULT CALLBACK FakeDllGetVersion(DLLVERSIONINFO* pInfo)
{
    if (pInfo->cbSize != sizeof(DLLVERSIONINFO))
        return E_INVALIDARG;
    pInfo->dwMajorVersion = Major;
    pInfo->dwMinorVersion = Minor;
    return Result;
}
}

TEST(ComCtlVersion, MajorInTheHighWordMinorInTheLow)
{
    const struct
    {
        DLLGETVERSIONPROC pfn;
        DWORD dwExpected;
    } cases[] = {
        {FakeDllGetVersion<6, 0>, 0x00060000},
        {FakeDllGetVersion<5, 81>, 0x00050051},
        {FakeDllGetVersion<4, 72>, 0x00040048},
        {FakeDllGetVersion<6, 10, E_FAIL>, 0},
        {nullptr, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.dwExpected, CXTPVisualStyleLibrary::ReadDllVersion(c.pfn)) << std::hex << c.dwExpected;
}
