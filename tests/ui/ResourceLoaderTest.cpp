#include "ui/persist/ResourceLoader.h"
#include "ui/uires.h"

#include "UiTestRes.h"

#include <gtest/gtest.h>

namespace
{
class ResourceLoaderTest : public ::testing::Test
{
protected:
    HMODULE m_hProgram = ::GetModuleHandleW(nullptr);
    HMODULE m_hSavedResource = XTPGetResourceHandle();
    HMODULE m_hSavedInstance = XTPGetInstanceHandle();

    void TearDown() override { XTPSetResourceHandles(m_hSavedResource, m_hSavedInstance); }
};

POINT HotSpot(HCURSOR hCursor)
{
    ICONINFO info = {};
    EXPECT_TRUE(::GetIconInfo(hCursor, &info));
    if (info.hbmMask)
        ::DeleteObject(info.hbmMask);
    if (info.hbmColor)
        ::DeleteObject(info.hbmColor);
    return POINT{static_cast<LONG>(info.xHotspot), static_cast<LONG>(info.yHotspot)};
}
}

TEST_F(ResourceLoaderTest, FindsTheFrameworkStringsAndCursorsWhereverTheModuleIsSet)
{
    // The framework's own module, another module without them (the program's resources answer), or none.
    const HMODULE modules[] = {m_hProgram, ::GetModuleHandleW(L"kernel32.dll"), nullptr};
    for (HMODULE hModule : modules) {
        XTPSetResourceHandle(hModule);
        CString text;
        EXPECT_TRUE(XTPGetResourceLoader()->LoadString(&text, XTP_IDS_TOOLKIT_TITLE));
        EXPECT_EQ(CString(L"Libreria dell'interfaccia utente"), text);

        for (UINT nID : {XTP_IDC_DRAGCOPY, XTP_IDC_DRAGMOVE, XTP_IDC_DRAGNONE, XTP_IDC_HSPLITBAR, XTP_IDC_VSPLITBAR,
                         XTP_IDC_HAND})
            EXPECT_NE(nullptr, XTPGetResourceLoader()->LoadCursor(nID)) << nID;
        POINT pt = HotSpot(XTPGetResourceLoader()->LoadCursor(XTP_IDC_HSPLITBAR));
        EXPECT_EQ(15, pt.x);
        EXPECT_EQ(15, pt.y);
        EXPECT_EQ(m_hProgram, AfxGetResourceHandle()) << "the switch is undone after each load";
    }
}

TEST_F(ResourceLoaderTest, FindsMenusAndDialogTemplatesInTheProgram)
{
    for (HMODULE hModule : {m_hProgram, ::GetModuleHandleW(L"kernel32.dll")}) {
        XTPSetResourceHandle(hModule);
        CMenu menu;
        ASSERT_TRUE(XTPGetResourceLoader()->LoadMenu(&menu, IDR_UITEST_MENU));
        EXPECT_EQ(2u, menu.GetSubMenu(0)->GetMenuItemCount());
        EXPECT_EQ(102u, menu.GetSubMenu(0)->GetMenuItemID(1));

        // DIALOGEX templates start with version 1 and the signature 0xFFFF.
        for (LPCDLGTEMPLATE pTemplate : {XTPGetResourceLoader()->LoadDialogTemplate(IDD_UITEST_DIALOG),
                                         XTPGetResourceLoader()->LoadDialogTemplate(L"UITESTDIALOG")}) {
            ASSERT_NE(nullptr, pTemplate);
            const WORD* pWords = reinterpret_cast<const WORD*>(pTemplate);
            EXPECT_EQ(1, pWords[0]);
            EXPECT_EQ(0xFFFF, pWords[1]);
        }
    }
}

TEST_F(ResourceLoaderTest, AMissingIdFailsCleanly)
{
    XTPSetResourceHandle(m_hProgram);
    CString text(L"old");
    EXPECT_FALSE(XTPGetResourceLoader()->LoadString(&text, 9002));
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_EQ(nullptr, XTPGetResourceLoader()->LoadCursor(9010));
    CMenu menu;
    EXPECT_FALSE(XTPGetResourceLoader()->LoadMenu(&menu, 9010));
    EXPECT_EQ(nullptr, menu.GetSafeHmenu());
    CBitmap bitmap;
    EXPECT_FALSE(XTPGetResourceLoader()->LoadBitmap(&bitmap, 9010));
    EXPECT_EQ(nullptr, bitmap.GetSafeHandle());
    EXPECT_EQ(nullptr, XTPGetResourceLoader()->LoadDialogTemplate(9010));
    EXPECT_EQ(nullptr, XTPGetResourceLoader()->LoadDialogTemplate(L"NOSUCHDIALOG"));
    EXPECT_EQ(m_hProgram, AfxGetResourceHandle());
}

TEST_F(ResourceLoaderTest, TheSwitchLendsTheFrameworkModuleForItsScope)
{
    HMODULE hKernel = ::GetModuleHandleW(L"kernel32.dll");
    XTPSetResourceHandles(hKernel, m_hProgram);
    EXPECT_EQ(hKernel, XTPGetResourceHandle());
    EXPECT_EQ(m_hProgram, XTPGetInstanceHandle());
    {
        CXTPResourceHandleSwitch framework;
        EXPECT_EQ(hKernel, AfxGetResourceHandle());
    }
    EXPECT_EQ(m_hProgram, AfxGetResourceHandle());

    XTPSetResourceHandle(nullptr);
    {
        CXTPResourceHandleSwitch inactive;
        EXPECT_EQ(m_hProgram, AfxGetResourceHandle());
    }
}

namespace
{
class CTestLoader : public CXTPResourceLoader
{
public:
    CTestLoader(BOOL bValid, BOOL* pbDeleted) : m_pbDeleted(pbDeleted) { m_bValid = bValid; }
    ~CTestLoader() override { *m_pbDeleted = TRUE; }

private:
    BOOL* m_pbDeleted;
};
}

TEST_F(ResourceLoaderTest, OnlyAValidLoaderReplacesTheCurrentOne)
{
    CXTPResourceLoader* pCurrent = XTPGetResourceLoader();
    XTPSetResourceLoader(nullptr);
    EXPECT_EQ(pCurrent, XTPGetResourceLoader());

    BOOL bInvalidDeleted = FALSE;
    XTPSetResourceLoader(new CTestLoader(FALSE, &bInvalidDeleted));
    EXPECT_TRUE(bInvalidDeleted);
    EXPECT_EQ(pCurrent, XTPGetResourceLoader());

    BOOL bValidDeleted = FALSE;
    auto* pValid = new CTestLoader(TRUE, &bValidDeleted);
    XTPSetResourceLoader(pValid);
    EXPECT_EQ(pValid, XTPGetResourceLoader());
    XTPSetResourceLoader(pValid);
    EXPECT_FALSE(bValidDeleted) << "installing the current loader again keeps it";
    EXPECT_EQ(pValid, XTPGetResourceLoader());
    XTPSetResourceLoader(new CXTPResourceLoader);
    EXPECT_TRUE(bValidDeleted) << "the replaced loader is deleted";
}
