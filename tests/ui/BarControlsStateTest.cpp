// The customised toolbars in the profile: written with the bar state, back after a restart; damaged data loads
// none of them and the rest of the state still loads; large data goes into a hidden file that a later small save
// removes.
#include "FrameTestSupport.h"
#include "support/MessageBoxRecorder.h"

#include "ui/commandbars/XTPStatusBar.h"
#include "ui/commandbars/XTPCommandBarList.h"
#include "ui/commandbars/XTPPopupBar.h"
#include "ui/commandbars/XTPToolBar.h"
#include "ui/persist/PropExchangeArchive.h"
#include "ui/persist/PropExchangeRegistry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
const LPCTSTR kCompany = L"QuarzelTestsBarControls";

// The bar's own controls: the expand and close buttons come and go with the layout.
int OwnCount(CXTPControls* pControls)
{
    int nCount = 0;
    for (int i = 0; i < pControls->GetCount(); ++i)
        nCount += pControls->GetAt(i)->IsTemporary() ? 0 : 1;
    return nCount;
}
const LPCTSTR kProfile = L"CommandBars";

class BarControlsStateTest : public ::testing::Test
{
protected:
    BarControlsStateTest()
    {
        m_app.SetRegistryKey(kCompany);
        WCHAR szTemp[MAX_PATH];
        ::GetTempPathW(MAX_PATH, szTemp);
        m_strFile = CString(szTemp) + L"QuarzelBarControls.dat";
    }
    ~BarControlsStateTest() override
    {
        ::SetFileAttributesW(m_strFile, FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(m_strFile);
        AfxDelRegTreeHelper(HKEY_CURRENT_USER, CString(L"Software\\") + kCompany);
    }

    // Runs an action on a fresh frame whose manager keeps its large controls data in the test's file.
    template <class F>
    void WithFrame(F action)
    {
        CTestFrame* pFrame = CreateTestFrame();
        ASSERT_NE(nullptr, pFrame);
        pFrame->GetCommandBars()->SetControlsFileName(m_strFile);
        action(pFrame);
        pFrame->DestroyWindow();
        PumpFrame(nullptr);
    }
    std::vector<BYTE> StoredControls()
    {
        LPBYTE pData = nullptr;
        UINT nBytes = 0;
        if (!m_app.GetProfileBinary(L"CommandBars-Controls", L"Controls", &pData, &nBytes))
            return {};
        std::vector<BYTE> arrData(pData, pData + nBytes);
        delete[] pData;
        return arrData;
    }

    CWinApp m_app {L"ProvaControlli"};
    CString m_strFile;
};
}

TEST_F(BarControlsStateTest, AHiddenButtonStaysHiddenAfterARestart)
{
    int nCount = 0;
    WithFrame([&](CTestFrame* pFrame) {
        CXTPControls* pControls = pFrame->GetToolBar()->GetControls();
        nCount = OwnCount(pControls);
        pControls->GetAt(0)->SetHideFlags(xtpHideCustomize);
        pFrame->GetCommandBars()->SaveBarState(kProfile);
    });
    EXPECT_FALSE(StoredControls().empty());
    EXPECT_EQ(0u, m_app.GetProfileInt(L"CommandBars-Controls", L"LoadFromFile", 9));
    WithFrame([&](CTestFrame* pFrame) {
        pFrame->GetCommandBars()->LoadBarState(kProfile);
        CXTPControls* pControls = pFrame->GetToolBar()->GetControls();
        EXPECT_EQ(nCount, OwnCount(pControls));
        EXPECT_EQ(DWORD(xtpHideCustomize), pControls->GetAt(0)->GetHideFlags());
        EXPECT_EQ(0u, pControls->GetAt(1)->GetHideFlags() & xtpHideCustomize);
    });
}

TEST_F(BarControlsStateTest, DamagedControlsDataLoadsNothingOfItAndTheRestStillLoads)
{
    std::vector<BYTE> arrGood;
    WithFrame([&](CTestFrame* pFrame) {
        pFrame->GetToolBar()->GetControls()->GetAt(0)->SetHideFlags(xtpHideCustomize);
        pFrame->GetCommandBars()->FloatCommandBar(pFrame->GetToolBar());
        pFrame->GetCommandBars()->SaveBarState(kProfile);
    });
    arrGood = StoredControls();
    ASSERT_GT(arrGood.size(), 40u);

    auto replaced = [&](const std::string& strFrom, const std::string& strTo) {
        std::vector<BYTE> arrData = arrGood;
        auto it = std::search(arrData.begin(), arrData.end(), strFrom.begin(), strFrom.end());
        if (it != arrData.end())
            std::copy(strTo.begin(), strTo.end(), it);
        return arrData;
    };
    struct Case
    {
        const char* pszName;
        std::vector<BYTE> arrData;
    } cases[] = {
        {"truncated", std::vector<BYTE>(arrGood.begin(), arrGood.begin() + arrGood.size() / 2)},
        {"cut after the count", std::vector<BYTE>(arrGood.begin(), arrGood.begin() + 4)},
        {"garbage", std::vector<BYTE>(200, 0xA5)},
        {"huge counts", std::vector<BYTE>(64, 0xFF)},
        {"unknown class", replaced("CXTPControlButton", "CXTPControlBuXXon")},
        {"a class that is no control", replaced("CXTPControlButton", "CXTPImageManager\0")},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.pszName);
        m_app.WriteProfileBinary(L"CommandBars-Controls", L"Controls", const_cast<BYTE*>(c.arrData.data()),
                                 static_cast<UINT>(c.arrData.size()));
        WithFrame([&](CTestFrame* pFrame) {
            CXTPControls* pControls = pFrame->GetToolBar()->GetControls();
            int nCount = OwnCount(pControls);
            pFrame->GetCommandBars()->LoadBarState(kProfile);
            EXPECT_EQ(nCount, OwnCount(pControls));
            EXPECT_EQ(0u, pControls->GetAt(0)->GetHideFlags() & xtpHideCustomize);
            // The places still load.
            EXPECT_EQ(xtpBarFloating, pFrame->GetToolBar()->GetPosition());
        });
    }
}

TEST_F(BarControlsStateTest, LargeDataGoesToAHiddenFileThatASmallSaveRemoves)
{
    WithFrame([&](CTestFrame* pFrame) {
        CXTPControls* pControls = pFrame->GetToolBar()->GetControls();
        for (int i = 0; i < 300; ++i)
        {
            CXTPControl* pControl = pControls->Add(xtpControlButton, ID_FT_LONG + i % 30);
            pControl->SetCaption(L"Una voce abbastanza lunga da riempire lo spazio");
        }
        pFrame->GetCommandBars()->SaveBarState(kProfile);
    });
    EXPECT_EQ(1u, m_app.GetProfileInt(L"CommandBars-Controls", L"LoadFromFile", 0));
    EXPECT_EQ(std::wstring(m_strFile), std::wstring(m_app.GetProfileString(L"CommandBars-Controls", L"Controls")));
    DWORD dwAttributes = ::GetFileAttributesW(m_strFile);
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, dwAttributes);
    EXPECT_TRUE(dwAttributes & FILE_ATTRIBUTE_HIDDEN);
    WithFrame([&](CTestFrame* pFrame) {
        int nCount = OwnCount(pFrame->GetToolBar()->GetControls());
        pFrame->GetCommandBars()->LoadBarState(kProfile);
        EXPECT_EQ(nCount + 300, OwnCount(pFrame->GetToolBar()->GetControls()));
    });
    // The program's buttons only: small data, and the file goes.
    WithFrame([&](CTestFrame* pFrame) { pFrame->GetCommandBars()->SaveBarState(kProfile); });
    EXPECT_EQ(0u, m_app.GetProfileInt(L"CommandBars-Controls", L"LoadFromFile", 1));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(m_strFile));
}

TEST(BarListTest, PopupIdsInACycleLinkNoLoopOfPopups)
{
    // A toolbar whose popup opens a bar whose popup opens a second bar whose popup opens the first again.
    auto* pToolBar = new CXTPToolBar;
    pToolBar->SetBarID(500);
    auto* pFirst = CXTPPopupBar::CreatePopupBar();
    auto* pSecond = CXTPPopupBar::CreatePopupBar();
    pFirst->SetBarID(0x1000000);
    pSecond->SetBarID(0x1000001);
    auto* pOpen = static_cast<CXTPControlPopup*>(pToolBar->GetControls()->Add(xtpControlPopup, 100));
    auto* pMiddle = static_cast<CXTPControlPopup*>(pFirst->GetControls()->Add(xtpControlPopup, 101));
    auto* pBack = static_cast<CXTPControlPopup*>(pSecond->GetControls()->Add(xtpControlPopup, 102));
    pOpen->SetCommandBar(pFirst);
    pMiddle->SetCommandBar(pSecond);
    pFirst->InternalAddRef();
    pBack->SetCommandBar(pFirst);

    CXTPCommandBars manager;
    CMemFile file(1024);
    {
        CXTPCommandBarList list;
        list.Add(pToolBar);
        list.Add(pFirst);
        list.Add(pSecond);
        CArchive ar(&file, CArchive::store);
        CXTPPropExchangeArchive px(ar);
        manager.SaveCommandBarList(&px, list);
        ar.Close();
    }
    pBack->SetCommandBar(nullptr);   // the live loop is undone by hand
    pToolBar->InternalRelease();

    file.SeekToBegin();
    CXTPCommandBarList loaded;
    {
        CArchive ar(&file, CArchive::load);
        CXTPPropExchangeArchive px(ar);
        ASSERT_TRUE(manager.LoadCommandBarList(&px, loaded));
    }
    ASSERT_EQ(3, loaded.GetCount());
    manager.RestoreCommandBarList(loaded);
    CXTPCommandBar* pLoadedFirst = loaded.GetAt(0)->GetControls()->GetAt(0)->GetCommandBar();
    ASSERT_NE(nullptr, pLoadedFirst);
    EXPECT_EQ(0x1000000u, pLoadedFirst->GetBarID());
    CXTPCommandBar* pLoadedSecond = pLoadedFirst->GetControls()->GetAt(0)->GetCommandBar();
    ASSERT_NE(nullptr, pLoadedSecond);
    EXPECT_EQ(0x1000001u, pLoadedSecond->GetBarID());
    EXPECT_EQ(nullptr, pLoadedSecond->GetControls()->GetAt(0)->GetCommandBar());
}

TEST_F(BarControlsStateTest, AChangedProgramToolbarAsksWhetherTheCustomisedOneGoes)
{
    int nOldCount = 0;
    WithFrame([&](CTestFrame* pFrame) {
        CXTPControls* pControls = pFrame->GetToolBar()->GetControls();
        nOldCount = OwnCount(pControls);
        pControls->GetAt(0)->SetHideFlags(xtpHideCustomize);
        pFrame->GetCommandBars()->SaveBarState(kProfile);
    });
    struct Case
    {
        const char* pszName;
        int nAnswer;
        bool bCustomisedKept;
    } cases[] = {
        {"yes: the new toolbar", IDYES, false},
        {"no: the user's buttons, the new original", IDNO, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        CMessageBoxRecorder recorder(c.nAnswer);
        WithFrame([&](CTestFrame* pFrame) {
            // The program's toolbar has a button more than the one the data was written from.
            CXTPToolBar* pBar = pFrame->GetToolBar();
            pBar->GetControls()->Add(xtpControlButton, ID_FT_RECENT1);
            pBar->GetControls()->CreateOriginalControls();
            pFrame->GetCommandBars()->LoadBarState(kProfile);
            ASSERT_EQ(1u, recorder.Count());
            EXPECT_NE(-1, recorder.Last().text.Find(L"'" + pBar->GetTitle() + L"' has changed"));
            EXPECT_EQ(UINT(MB_YESNO), recorder.LastButtons());
            EXPECT_EQ(UINT(MB_ICONQUESTION), recorder.LastIcon());
            CXTPControls* pControls = pBar->GetControls();
            EXPECT_EQ(c.bCustomisedKept ? nOldCount : nOldCount + 1, OwnCount(pControls));
            EXPECT_EQ(c.bCustomisedKept, pControls->GetAt(0)->GetHideFlags() == DWORD(xtpHideCustomize));
            ASSERT_NE(nullptr, pControls->GetOriginalControls());
            EXPECT_EQ(nOldCount + 1, OwnCount(pControls->GetOriginalControls()));
        });
    }
}
