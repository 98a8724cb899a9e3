// Tool bars filled from their resources, and where the framework finds resources: the current resource module,
// then the extension modules of the module state's chain.
#include "platform/mfc/afxext.h"
#include "platform/mfc/afxmodule.h"
#include "platform/mfc/afxres.h"

#include "ToolBarTestRes.h"

#include <gtest/gtest.h>

namespace
{
class ToolBarTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateEx(0, nullptr, L"barra", WS_POPUP, CRect(0, 0, 400, 300), nullptr, 0));
        ASSERT_TRUE(m_toolBar.Create(&m_parent));
    }
    void TearDown() override
    {
        AfxSetResourceHandle(m_hSavedResource);
        m_toolBar.DestroyWindow();
        m_parent.DestroyWindow();
    }

    std::vector<UINT> Items() const
    {
        std::vector<UINT> ids;
        for (int i = 0; i < m_toolBar.GetCount(); i++)
            ids.push_back(m_toolBar.GetItemID(i));
        return ids;
    }

    HINSTANCE m_hSavedResource = AfxGetModuleState()->m_hCurrentResourceHandle;
    HMODULE m_hProgram = ::GetModuleHandleW(nullptr);
    HMODULE m_hKernel = ::GetModuleHandleW(L"kernel32.dll");
    CWnd m_parent;
    CToolBar m_toolBar;
};
} // namespace

TEST_F(ToolBarTest, ButtonsAndImagesComeFromTheResource)
{
    ASSERT_TRUE(m_toolBar.LoadToolBar(IDR_TEST_TOOLBAR));
    EXPECT_EQ((std::vector<UINT>{101, 0, 102, 103}), Items());
    EXPECT_EQ(CSize(16, 15), m_toolBar.GetImageSize());
    // The buttons take the images in order; the separator takes none.
    EXPECT_EQ(2, m_toolBar.SendMessage(TB_GETBITMAP, 103));
    EXPECT_EQ(3, ::ImageList_GetImageCount(reinterpret_cast<HIMAGELIST>(m_toolBar.SendMessage(TB_GETIMAGELIST))));

    // Loading again replaces the buttons instead of adding to them.
    ASSERT_TRUE(m_toolBar.LoadToolBar(IDR_TEST_TOOLBAR));
    EXPECT_EQ(4, m_toolBar.GetCount());
}

TEST_F(ToolBarTest, AMissingOrDamagedResourceLeavesTheButtons)
{
    ASSERT_TRUE(m_toolBar.LoadToolBar(IDR_TEST_TOOLBAR));
    for (UINT nID : {9800u, static_cast<UINT>(IDR_TEST_TOOLBAR_NOIMAGES), static_cast<UINT>(IDR_TEST_TOOLBAR_DAMAGED)})
        EXPECT_FALSE(m_toolBar.LoadToolBar(nID)) << nID;
    EXPECT_EQ((std::vector<UINT>{101, 0, 102, 103}), Items());

    CToolBar unmade;
    EXPECT_FALSE(unmade.LoadToolBar(IDR_TEST_TOOLBAR));
}

TEST_F(ToolBarTest, ExtensionModulesAreSearchedAfterTheResourceModule)
{
    // The resource module lacks both the string and the tool bar: only the chain can answer.
    AfxSetResourceHandle(m_hKernel);
    CString strTitle;
    EXPECT_FALSE(strTitle.LoadString(AFX_IDS_APP_TITLE));
    EXPECT_EQ(m_hKernel, AfxFindResourceHandle(MAKEINTRESOURCE(IDR_TEST_TOOLBAR), RT_TOOLBAR));
    EXPECT_FALSE(m_toolBar.LoadToolBar(IDR_TEST_TOOLBAR));
    {
        AFX_EXTENSION_MODULE extension = {FALSE, m_hProgram, m_hProgram};
        CDynLinkLibrary library(extension);
        EXPECT_EQ(&library, AfxGetModuleState()->m_pDllList);
        EXPECT_TRUE(strTitle.LoadString(AFX_IDS_APP_TITLE));
        EXPECT_EQ(CString(L"Quarzel08"), strTitle);
        EXPECT_EQ(m_hProgram, AfxFindResourceHandle(MAKEINTRESOURCE(IDR_TEST_TOOLBAR), RT_TOOLBAR));
        EXPECT_TRUE(m_toolBar.LoadToolBar(IDR_TEST_TOOLBAR));
    }
    EXPECT_EQ(nullptr, AfxGetModuleState()->m_pDllList) << "a library leaves the chain with its object";
    EXPECT_FALSE(strTitle.LoadString(AFX_IDS_APP_TITLE));

    // The resource module itself comes first.
    AfxSetResourceHandle(m_hProgram);
    AFX_EXTENSION_MODULE other = {FALSE, m_hKernel, m_hKernel};
    CDynLinkLibrary library(other);
    EXPECT_EQ(m_hProgram, AfxFindResourceHandle(MAKEINTRESOURCE(IDR_TEST_TOOLBAR), RT_TOOLBAR));
}
