#include "ui/persist/CriticalSection.h"
#include "ui/persist/ImageManager.h"
#include "ui/persist/ResourceLoader.h"
#include "ui/uires.h"

#include "UiTestRes.h"
#include "library/UiTestLibraryRes.h"
#include "support/MessageBoxRecorder.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

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

    // A module state without an instance borrows the framework's for the scope and has none again after it.
    AFX_MODULE_STATE* pState = AfxGetModuleState();
    ASSERT_EQ(nullptr, pState->m_hCurrentInstanceHandle);
    const HINSTANCE hStateResource = pState->m_hCurrentResourceHandle;
    XTPSetResourceHandle(hKernel);
    {
        CXTPResourceHandleSwitch framework;
        EXPECT_EQ(hKernel, AfxGetInstanceHandle());
    }
    EXPECT_EQ(nullptr, pState->m_hCurrentInstanceHandle);
    EXPECT_EQ(hStateResource, pState->m_hCurrentResourceHandle);
    EXPECT_EQ(m_hProgram, AfxGetInstanceHandle());
    // An instance of its own stays.
    pState->m_hCurrentInstanceHandle = m_hProgram;
    {
        CXTPResourceHandleSwitch framework;
        EXPECT_EQ(m_hProgram, AfxGetInstanceHandle());
    }
    pState->m_hCurrentInstanceHandle = nullptr;

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

namespace
{
// The resource library next to the test program.
CString LibraryPath()
{
    WCHAR szPath[MAX_PATH];
    DWORD n = ::GetModuleFileNameW(nullptr, szPath, MAX_PATH);
    CString strPath(szPath, static_cast<int>(n));
    return strPath.Left(strPath.ReverseFind(L'\\') + 1) + L"UiTestLibrary.dll";
}

// Each test ends with the program's module as the framework's, under a plain loader.
class ResourceFileTest : public ResourceLoaderTest
{
protected:
    void TearDown() override { XTPSetResourceFile(L""); }

    CString Load(UINT nID)
    {
        CString text;
        XTPGetResourceLoader()->LoadString(&text, nID);
        return text;
    }
};
}

TEST_F(ResourceFileTest, ALibraryBecomesTheFrameworksModuleUntilAnotherPath)
{
    XTPSetResourceFile(LibraryPath());
    HMODULE hLibrary = ::GetModuleHandleW(LibraryPath());
    ASSERT_NE(nullptr, hLibrary);
    EXPECT_EQ(hLibrary, XTPGetResourceHandle());
    EXPECT_EQ(hLibrary, XTPGetInstanceHandle());
    // In both modules: the library's text; only in the library, or only in the program: found either way.
    EXPECT_EQ(CString(L"Libreria di prova"), Load(XTP_IDS_TOOLKIT_TITLE));
    EXPECT_EQ(CString(L"Solo nella libreria"), Load(IDS_LIBRARY_ONLY));
    EXPECT_EQ(CString(L"Quarzel08"), Load(AFX_IDS_APP_TITLE));
    EXPECT_NE(nullptr, XTPGetResourceLoader()->LoadCursor(XTP_IDC_HSPLITBAR));
    EXPECT_EQ(m_hProgram, AfxGetResourceHandle());

    // An empty path: the program's module again, and the library is freed with the loader that held it.
    XTPSetResourceFile(L"");
    EXPECT_EQ(m_hProgram, XTPGetResourceHandle());
    EXPECT_EQ(m_hProgram, XTPGetInstanceHandle());
    EXPECT_EQ(nullptr, ::GetModuleHandleW(LibraryPath()));
    EXPECT_EQ(CString(L"Libreria dell'interfaccia utente"), Load(XTP_IDS_TOOLKIT_TITLE));
    EXPECT_EQ(CString(), Load(IDS_LIBRARY_ONLY));
}

TEST_F(ResourceFileTest, TheLastThreeCharactersChooseBetweenXmlAndALibrary)
{
    XTPSetResourceFile(LibraryPath());
    const HMODULE hLibrary = XTPGetResourceHandle();
    const struct
    {
        LPCTSTR path;
        BOOL bXml;
    } cases[] = {
        // An XML file that does not load keeps the loader and its library.
        {L"risorse.XML", TRUE},
        {L"C:\\nessuna\\risorse.xml", TRUE},
        {L".Xml", TRUE},
        // A path of three characters or fewer, or another ending, is a library; one that does not load leaves
        // the program's module.
        {L"xml", FALSE},
        {L"risorse.xmlx", FALSE},
        {L"nessuna.dll", FALSE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(CString(c.path).ToMultiByte());
        XTPSetResourceFile(LibraryPath());
        CXTPResourceLoader* pBefore = XTPGetResourceLoader();
        XTPSetResourceFile(c.path);
        if (c.bXml) {
            EXPECT_EQ(pBefore, XTPGetResourceLoader());
            EXPECT_EQ(hLibrary, XTPGetResourceHandle());
            EXPECT_EQ(CString(L"Libreria di prova"), Load(XTP_IDS_TOOLKIT_TITLE));
        } else {
            EXPECT_NE(pBefore, XTPGetResourceLoader());
            EXPECT_EQ(m_hProgram, XTPGetResourceHandle());
            EXPECT_EQ(CString(L"Libreria dell'interfaccia utente"), Load(XTP_IDS_TOOLKIT_TITLE));
        }
    }
}

TEST_F(ResourceFileTest, AnXmlFileReplacingALibraryTakesTheFrameworkBackToTheProgram)
{
    CTempFolder folder;
    const CString strFile = folder.Write(L"risorse.xml", "<resource><string id=\"9001\"><value>Tradotto</value></string></resource>");
    XTPSetResourceFile(LibraryPath());
    ASSERT_NE(m_hProgram, XTPGetResourceHandle());
    XTPSetResourceFile(strFile);
    EXPECT_EQ(nullptr, ::GetModuleHandleW(LibraryPath())) << "the library left with its loader";
    EXPECT_EQ(m_hProgram, XTPGetResourceHandle());
    EXPECT_EQ(CString(L"Tradotto"), Load(XTP_IDS_TOOLKIT_TITLE));
    CString text;
    EXPECT_FALSE(XTPGetResourceLoader()->LoadString(&text, IDS_LIBRARY_ONLY)) << "only the freed library had it";
}

TEST_F(ResourceFileTest, AToolBarComesOnlyFromWhereTheSwitchedStateSearches)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"barra", WS_POPUP, CRect(0, 0, 300, 100), nullptr, 0));
    CToolBar toolBar;
    ASSERT_TRUE(toolBar.Create(&parent));

    XTPSetResourceFile(LibraryPath());
    EXPECT_TRUE(XTPGetResourceLoader()->LoadToolBar(&toolBar, IDR_LIBRARY_TOOLBAR));
    EXPECT_EQ(2, toolBar.GetCount());
    EXPECT_EQ(201u, toolBar.GetItemID(0));
    EXPECT_FALSE(XTPGetResourceLoader()->LoadToolBar(&toolBar, IDR_PROGRAM_TOOLBAR)) << "no second try";
    EXPECT_EQ(m_hProgram, AfxGetResourceHandle());

    XTPSetResourceFile(L"");
    EXPECT_TRUE(XTPGetResourceLoader()->LoadToolBar(&toolBar, IDR_PROGRAM_TOOLBAR));
    EXPECT_EQ(301u, toolBar.GetItemID(0));
    EXPECT_FALSE(XTPGetResourceLoader()->LoadToolBar(&toolBar, IDR_LIBRARY_TOOLBAR));
    toolBar.DestroyWindow();
    parent.DestroyWindow();
}

TEST_F(ResourceFileTest, AnExtensionModuleJoinsTheChainOnceForEachInstance)
{
    HMODULE hLibrary = ::LoadLibraryW(LibraryPath());
    ASSERT_NE(nullptr, hLibrary);
    XTPInitExtensionModule(hLibrary, hLibrary);
    EXPECT_EQ(hLibrary, XTPGetResourceHandle());
    EXPECT_EQ(hLibrary, XTPGetInstanceHandle());
    CDynLinkLibrary* pJoined = AfxGetModuleState()->m_pDllList;
    ASSERT_NE(nullptr, pJoined);
    EXPECT_EQ(hLibrary, pJoined->m_hModule);
    EXPECT_EQ(hLibrary, pJoined->m_hResource);
    // The framework's own loaders find the module's resources without the switch.
    CString text;
    EXPECT_TRUE(text.LoadString(IDS_LIBRARY_ONLY));
    EXPECT_EQ(CString(L"Solo nella libreria"), text);

    XTPInitExtensionModule(hLibrary, hLibrary);
    EXPECT_EQ(pJoined, AfxGetModuleState()->m_pDllList) << "the same instance does not join twice";
    EXPECT_EQ(nullptr, pJoined->m_pNextDLL);

    // Another instance takes the place of the first.
    HMODULE hKernel = ::GetModuleHandleW(L"kernel32.dll");
    XTPInitExtensionModule(hKernel, hKernel);
    ASSERT_NE(nullptr, AfxGetModuleState()->m_pDllList);
    EXPECT_EQ(hKernel, AfxGetModuleState()->m_pDllList->m_hModule);
    EXPECT_EQ(nullptr, AfxGetModuleState()->m_pDllList->m_pNextDLL);
    EXPECT_FALSE(text.LoadString(IDS_LIBRARY_ONLY));
    // No module: nothing is searched beyond the resource module (the later tests' state).
    XTPInitExtensionModule(nullptr, nullptr);
    EXPECT_EQ(nullptr, AfxGetModuleState()->m_pDllList->m_hResource);
    ::FreeLibrary(hLibrary);
}

TEST_F(ResourceFileTest, TheImageStoreFindsToolBarsBitmapsAndIconsOfAnExtensionModule)
{
    HMODULE hLibrary = ::LoadLibraryW(LibraryPath());
    ASSERT_NE(nullptr, hLibrary);
    XTPInitExtensionModule(hLibrary, hLibrary);
    CXTPImageManager images;
    EXPECT_TRUE(images.SetIcons(IDR_LIBRARY_TOOLBAR, 0));
    EXPECT_TRUE(images.IsIconExist(201));
    EXPECT_TRUE(images.IsIconExist(202));
    const UINT commands[] = {301, 302};
    EXPECT_TRUE(images.AddIcons(IDR_LIBRARY_TOOLBAR, commands, 2, CSize(16, 15), 0));
    EXPECT_TRUE(images.IsIconExist(302));
    EXPECT_TRUE(images.LoadIcons(IDR_LIBRARY_ICON, 700, CSize(16, 16)));
    CXTPImageManagerIcon* pLarge = images.GetImage(700, 32);
    ASSERT_NE(nullptr, pLarge);
    EXPECT_EQ(32, pLarge->GetWidth());
    XTPInitExtensionModule(nullptr, nullptr);
    ::FreeLibrary(hLibrary);
}

TEST_F(ResourceFileTest, AMessageBoxShowsTheLoadersString)
{
    CMessageBoxRecorder recorder(IDCANCEL);
    EXPECT_EQ(IDCANCEL, XTPGetResourceLoader()->ShowMessageBox(XTP_IDS_TOOLKIT_TITLE, MB_OKCANCEL | MB_ICONWARNING));
    ASSERT_EQ(1u, recorder.Count());
    EXPECT_EQ(CString(L"Libreria dell'interfaccia utente"), recorder.Last().text);
    EXPECT_EQ(static_cast<UINT>(MB_OKCANCEL), recorder.LastButtons());
    EXPECT_EQ(static_cast<UINT>(MB_ICONWARNING), recorder.LastIcon());

    // A loader with strings of its own (an XML file's) shows its own.
    class COwnStrings : public CXTPResourceLoader
    {
    public:
        BOOL LoadString(CString* pString, UINT) override
        {
            *pString = L"Testo proprio";
            return TRUE;
        }
    } own;
    own.ShowMessageBox(XTP_IDS_TOOLKIT_TITLE, MB_OK);
    EXPECT_EQ(CString(L"Testo proprio"), recorder.Last().text);
}

TEST(XTPLockGuard, HoldsTheSectionForItsScope)
{
    CXTPCriticalSection section;
    std::atomic<bool> bEntered(false);
    std::thread other;
    {
        CXTPLockGuard guard(section);
        other = std::thread([&] {
            CXTPLockGuard waiting(section);
            bEntered = true;
        });
        ::Sleep(100);
        EXPECT_FALSE(bEntered) << "the other thread waits while the guard holds the section";
    }
    other.join();
    EXPECT_TRUE(bEntered);
}
