#include "support/TempFolder.h"

#include "ui/persist/ResourceLoader.h"
#include "ui/themes/ColorTable.h"
#include "ui/themes/DrawHelpers.h"
#include "ui/themes/ThemeManager.h"
#include "ui/themes/UiGlobalData.h"
#include "ui/themes/VisualStyleHandle.h"
#include "ui/uires.h"

#include <gtest/gtest.h>

namespace
{
LOGFONT LogFont(CFont& font)
{
    LOGFONT lf = {};
    font.GetLogFont(&lf);
    return lf;
}
}

TEST(UiGlobalData, InitialisesColoursCursorsMetricsAndFonts)
{
    CUiGlobalData data;
    ASSERT_TRUE(data.Initialize());

    CColorTable* pTable = GetColorTable();
    EXPECT_EQ(pTable->GetColor(COLOR_BTNFACE), data.m_clrBtnFace);
    EXPECT_EQ(pTable->GetColor(COLOR_3DDKSHADOW), data.m_clr3DDkShadow);
    EXPECT_EQ(pTable->GetColor(COLOR_INACTIVECAPTIONTEXT), data.m_clrInactiveCaptionText);
    EXPECT_EQ(pTable->GetColor(30), data.m_clrDerived[0]);
    EXPECT_EQ(pTable->GetColor(49), data.m_clrDerived[19]);

    // The framework's own cursors come from the program's module through the loader.
    EXPECT_NE(nullptr, XTPGetResourceHandle());
    EXPECT_EQ(XTPGetResourceLoader()->LoadCursor(XTP_IDC_HSPLITBAR), data.m_hcurHSplitBar);
    EXPECT_EQ(XTPGetResourceLoader()->LoadCursor(XTP_IDC_DRAGNONE), data.m_hcurDragNone);
    for (HCURSOR hCursor : {data.m_hcurDragCopy, data.m_hcurDragMove, data.m_hcurHand, data.m_hcurVSplitBar,
                            data.m_hcurMove})
        EXPECT_NE(nullptr, hCursor);

    EXPECT_EQ(::GetSystemMetrics(SM_CXSMICON), data.m_cxSmIcon);
    EXPECT_EQ(::GetSystemMetrics(SM_CYMENU), data.m_cyMenuItem);
    EXPECT_EQ(18, data.m_cxSize);

    EXPECT_EQ(FW_BOLD, LogFont(data.m_fontBold).lfWeight);
    EXPECT_TRUE(LogFont(data.m_fontUnderline).lfUnderline);
    EXPECT_EQ(2700, LogFont(data.m_fontVert).lfEscapement);
    EXPECT_EQ(900, LogFont(data.m_fontVertBold).lfOrientation);
    EXPECT_EQ(FW_BOLD, LogFont(data.m_fontVertBold).lfWeight);
    EXPECT_EQ(CString(L"Marlett"), CString(LogFont(data.m_fontMarlett).lfFaceName));
    for (CFont* pFont : {&data.m_fontIconTitle, &data.m_fontIconTitleBold, &data.m_fontStatus,
                         &data.m_fontSmallCaption})
        EXPECT_NE(nullptr, pFont->GetSafeHandle());

    // What the library itself reports, packed here by hand.
    HMODULE hComCtl = ::LoadLibraryW(L"comctl32.dll");
    auto pfnGetVersion = reinterpret_cast<DLLGETVERSIONPROC>(
        reinterpret_cast<void (*)()>(::GetProcAddress(hComCtl, "DllGetVersion")));
    DLLVERSIONINFO info = {};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(pfnGetVersion && SUCCEEDED(pfnGetVersion(&info)));
    ::FreeLibrary(hComCtl);
    EXPECT_EQ(info.dwMajorVersion * 65536 + info.dwMinorVersion, data.GetComCtlVersion());
    EXPECT_EQ(GetOsVersion().IsWinXP(), data.m_bIsWinXP);
    EXPECT_EQ(CString(L"9.80"), data.GetVersionText(TRUE));
    EXPECT_EQ(CString(L"Libreria dell'interfaccia utente 9.80"), data.GetVersionText(FALSE));
}

TEST(UiGlobalData, AMissingCursorReportsFailureAndLeavesTheRestUsable)
{
    // Neither the framework's module nor the program's resources hold the framework's cursors.
    HINSTANCE hSavedProgram = AfxGetResourceHandle();
    HMODULE hSavedResource = XTPGetResourceHandle(), hSavedInstance = XTPGetInstanceHandle();
    HMODULE hKernel = ::GetModuleHandleW(L"kernel32.dll");
    AfxSetResourceHandle(hKernel);
    XTPSetResourceHandle(hKernel);

    CUiGlobalData data;
    EXPECT_FALSE(data.Initialize());
    EXPECT_EQ(nullptr, data.m_hcurDragCopy);
    EXPECT_EQ(nullptr, data.m_hcurHSplitBar);
    EXPECT_NE(nullptr, data.m_hcurMove) << "the system's own cursors are still there";
    EXPECT_NE(nullptr, data.m_fontNormal.GetSafeHandle()) << "the fonts are built all the same";
    EXPECT_NE(nullptr, data.m_fontMarlett.GetSafeHandle());
    EXPECT_EQ(GetColorTable()->GetColor(COLOR_BTNFACE), data.m_clrBtnFace);

    AfxSetResourceHandle(hSavedProgram);
    XTPSetResourceHandles(hSavedResource, hSavedInstance);
}

namespace
{
int CALLBACK TakeFace(const LOGFONTW* pLogFont, const TEXTMETRICW*, DWORD dwType, LPARAM lParam)
{
    auto* pFace = reinterpret_cast<CString*>(lParam);
    if (!(dwType & TRUETYPE_FONTTYPE) || pLogFont->lfFaceName[0] == L'@')
        return 1;
    *pFace = pLogFont->lfFaceName;
    return 0;
}

// Some TrueType family that the system has (which ones depends on the installation).
CString InstalledFace()
{
    LOGFONT lf = {};
    lf.lfCharSet = DEFAULT_CHARSET;
    CString strFace;
    HDC hDC = ::GetDC(nullptr);
    ::EnumFontFamiliesExW(hDC, &lf, TakeFace, reinterpret_cast<LPARAM>(&strFace), 0);
    ::ReleaseDC(nullptr, hDC);
    return strFace;
}
}

TEST(UiGlobalData, FontFacesFollowTheCallerWhenInstalled)
{
    CString strFace = InstalledFace();
    ASSERT_FALSE(strFace.IsEmpty());
    ASSERT_TRUE(IsFontInstalled(strFace));
    CString strOther(strFace);
    strOther.MakeUpper();
    EXPECT_TRUE(IsFontInstalled(strOther)) << "faces compare ignoring case";

    CUiGlobalData data;
    ASSERT_TRUE(data.CreateFonts(strFace, strFace));
    EXPECT_EQ(strFace, CString(LogFont(data.m_fontNormal).lfFaceName));
    EXPECT_EQ(strFace, CString(LogFont(data.m_fontUnderline).lfFaceName));
    EXPECT_EQ(strFace, CString(LogFont(data.m_fontVert).lfFaceName));

    // A face that is not installed gives Tahoma for a western character set, else the menu font's face.
    NONCLIENTMETRICS metrics;
    ASSERT_TRUE(GetNonClientMetrics(&metrics));
    CString strDefault = IsFontInstalled(L"Tahoma") ? CString(L"Tahoma") : CString(metrics.lfMenuFont.lfFaceName);
    ASSERT_FALSE(IsFontInstalled(L"Quarzel No Such Face"));
    ASSERT_TRUE(data.CreateFonts(L"Quarzel No Such Face", L"Quarzel No Such Face"));
    EXPECT_EQ(strDefault, CString(LogFont(data.m_fontNormal).lfFaceName));
    EXPECT_EQ(strDefault, CString(LogFont(data.m_fontVertBold).lfFaceName));
    data.SetUseTahoma(FALSE);
    EXPECT_EQ(CString(metrics.lfMenuFont.lfFaceName), CString(LogFont(data.m_fontBold).lfFaceName));

    CFont font, vertFont;
    ASSERT_TRUE(font.CreatePointFont(120, strFace));
    ASSERT_TRUE(vertFont.CreatePointFont(80, L"Marlett"));
    ASSERT_TRUE(data.SetFonts(&font, &vertFont));
    EXPECT_EQ(LogFont(font).lfHeight, LogFont(data.m_fontStatus).lfHeight);
    EXPECT_EQ(FW_BOLD, LogFont(data.m_fontBold).lfWeight);
    EXPECT_EQ(CString(L"Marlett"), CString(LogFont(data.m_fontVertBold).lfFaceName));
    EXPECT_EQ(2700, LogFont(data.m_fontVertBold).lfEscapement);
}

TEST(UiGlobalData, TheNameIsOneTextOfTheProcess)
{
    CUiGlobalData local;
    CString strSaved = local.GetName();
    local.SetName(L"Quarzel");
    EXPECT_STREQ(L"Quarzel", GetUiGlobalData()->GetName()) << "every record reads the same text";
    GetUiGlobalData()->RefreshSettings();
    EXPECT_STREQ(L"Quarzel", local.GetName()) << "a refresh keeps it";
    GetUiGlobalData()->SetName(strSaved);
    EXPECT_EQ(strSaved, CString(local.GetName()));
}

TEST(UiGlobalData, ThemeRegistrySwitch)
{
    CUiGlobalData* pData = GetUiGlobalData();
    EXPECT_TRUE(pData->EnableThemeRegistry(TRUE));
    EXPECT_EQ(1, CThemeRegistry::GetInstance()->GetThemeId());
    EXPECT_TRUE(pData->IsThemeRegistryEnabled());
    EXPECT_FALSE(pData->EnableThemeRegistry(FALSE));
    EXPECT_EQ(0, CThemeRegistry::GetInstance()->GetThemeId());
}

TEST(FrameworkFunctions, FileExistsFindsFilesAndFolders)
{
    CTempFolder folder;
    CString strFile = folder.Write(L"uno.txt", "x");
    EXPECT_TRUE(XTP::FileExists(strFile));
    EXPECT_TRUE(XTP::FileExists(folder.Path()));
    EXPECT_TRUE(XTP::FileExists(folder.File(L"*.txt")));
    EXPECT_FALSE(XTP::FileExists(folder.File(L"due.txt")));
}

TEST(FrameworkFunctions, ChildWindowFromPointTakesVisibleControlsOnly)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"parent", WS_POPUP, CRect(50, 50, 250, 250), nullptr, 0));
    struct Child { const char* name; CRect rc; UINT nID; BOOL bVisible; HWND hWnd; } children[] = {
        {"control", CRect(10, 10, 50, 50), 1, TRUE, nullptr},
        {"hidden", CRect(60, 10, 100, 50), 2, FALSE, nullptr},
        {"without id", CRect(110, 10, 150, 50), 0xFFFF, TRUE, nullptr},
    };
    for (Child& child : children) {
        child.hWnd = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | (child.bVisible ? WS_VISIBLE : 0), child.rc.left,
                                       child.rc.top, child.rc.Width(), child.rc.Height(), parent, 
                                       reinterpret_cast<HMENU>(static_cast<UINT_PTR>(child.nID)), nullptr, nullptr);
        ASSERT_NE(nullptr, child.hWnd);
    }
    struct Case { POINT pt; HWND hExpected; } cases[] = {
        {{20, 20}, children[0].hWnd}, {{49, 49}, children[0].hWnd}, {{50, 50}, nullptr},
        {{70, 20}, nullptr}, {{120, 20}, nullptr}, {{5, 100}, nullptr},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.hExpected, XTP::ChildWindowFromPointEx(parent, c.pt)) << c.pt.x << ", " << c.pt.y;
    parent.DestroyWindow();
}

namespace
{
class CTestView : public CWnd
{
    DECLARE_DYNCREATE(CTestView)
public:
    static int s_nDeleted;
    ~CTestView() override { ++s_nDeleted; }

protected:
    // Views delete themselves when their window is gone.
    void PostNcDestroy() override { delete this; }
};
int CTestView::s_nDeleted = 0;
IMPLEMENT_DYNCREATE(CTestView, CWnd)

// A window object that outlives its window, as plain windows do.
class CTestPlainWnd : public CWnd
{
    DECLARE_DYNCREATE(CTestPlainWnd)
public:
    static int s_nDeleted;
    ~CTestPlainWnd() override { ++s_nDeleted; }
};
int CTestPlainWnd::s_nDeleted = 0;
IMPLEMENT_DYNCREATE(CTestPlainWnd, CWnd)
}

TEST(FrameworkFunctions, CreateViewFromClass)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"parent", WS_POPUP, CRect(0, 0, 100, 100), nullptr, 0));
    CWnd* pView = CreateViewFromClass(&parent, RUNTIME_CLASS(CTestView), 59648, WS_CHILD | WS_VISIBLE);
    ASSERT_NE(nullptr, pView);
    EXPECT_TRUE(pView->IsKindOf(RUNTIME_CLASS(CTestView)));
    EXPECT_EQ(59648, pView->GetDlgCtrlID());
    EXPECT_EQ(parent.GetSafeHwnd(), ::GetParent(*pView));

    int nDeleted = CTestView::s_nDeleted;
    parent.DestroyWindow();
    EXPECT_EQ(nDeleted + 1, CTestView::s_nDeleted);

    // A child without a parent cannot be made: the view finishes itself.
    EXPECT_EQ(nullptr, CreateViewFromClass(nullptr, RUNTIME_CLASS(CTestView), 1, WS_CHILD));
    EXPECT_EQ(nDeleted + 2, CTestView::s_nDeleted);
    // One that does not is deleted all the same.
    int nPlainDeleted = CTestPlainWnd::s_nDeleted;
    EXPECT_EQ(nullptr, CreateViewFromClass(nullptr, RUNTIME_CLASS(CTestPlainWnd), 1, WS_CHILD));
    EXPECT_EQ(nPlainDeleted + 1, CTestPlainWnd::s_nDeleted);

    EXPECT_EQ(nullptr, CreateViewFromClass(&parent, RUNTIME_CLASS(CXTThemeManagerStyleFactory), 1, WS_CHILD));
    EXPECT_THROW(
        {
            try {
                CreateViewFromClass(&parent, RUNTIME_CLASS(CDC), 1, WS_CHILD);
            } catch (CMemoryException* e) {
                e->Delete();
                throw;
            }
        },
        CMemoryException*);
}
