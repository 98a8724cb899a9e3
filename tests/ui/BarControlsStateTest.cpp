// The customised toolbars in the profile: written with the bar state, back after a restart; damaged data loads
// none of them and the rest of the state still loads; large data goes into a hidden file that a later small save
// removes.
#include "FrameTestSupport.h"
#include "support/MessageBoxRecorder.h"

#include "ui/commandbars/XTPControlComboBox.h"
#include "ui/commandbars/XTPControlLists.h"
#include "ui/commandbars/XTPDialogBar.h"
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
    // A first session that hides the toolbar's first button; the controls data it stored.
    std::vector<BYTE> SaveWithFirstButtonHidden()
    {
        WithFrame([&](CTestFrame* pFrame) {
            pFrame->GetToolBar()->GetControls()->GetAt(0)->SetHideFlags(xtpHideCustomize);
            pFrame->GetCommandBars()->SaveBarState(kProfile);
        });
        return StoredControls();
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

// Combo boxes, one empty and one with items, through three sessions that each load and save again: the user's
// buttons are still there at the end.
TEST_F(BarControlsStateTest, ComboBoxesKeepTheUsersButtonsThroughThreeSessions)
{
    int nCount = 0;
    WithFrame([&](CTestFrame* pFrame) {
        CXTPControls* pControls = pFrame->GetToolBar()->GetControls();
        pControls->GetAt(0)->SetHideFlags(xtpHideCustomize);
        pControls->Add(xtpControlComboBox, ID_FT_LONG);
        auto* pFilled = static_cast<CXTPControlComboBox*>(pControls->Add(xtpControlComboBox, ID_FT_LONG + 1));
        pFilled->AddString(L"Entrate");
        pFilled->AddString(L"Uscite");
        nCount = OwnCount(pControls);
        pFrame->GetCommandBars()->SaveBarState(kProfile);
    });
    for (int nSession = 2; nSession <= 4; ++nSession)
    {
        SCOPED_TRACE(nSession);
        WithFrame([&](CTestFrame* pFrame) {
            pFrame->GetCommandBars()->LoadBarState(kProfile);
            CXTPControls* pControls = pFrame->GetToolBar()->GetControls();
            ASSERT_EQ(nCount, OwnCount(pControls));
            EXPECT_EQ(DWORD(xtpHideCustomize), pControls->GetAt(0)->GetHideFlags());
            auto* pEmpty = dynamic_cast<CXTPControlComboBox*>(pControls->FindControl(ID_FT_LONG));
            auto* pFilled = dynamic_cast<CXTPControlComboBox*>(pControls->FindControl(ID_FT_LONG + 1));
            ASSERT_NE(nullptr, pEmpty);
            ASSERT_NE(nullptr, pFilled);
            EXPECT_EQ(0, pEmpty->GetCount());
            ASSERT_EQ(2, pFilled->GetCount());
            pFilled->SetCurSel(1);
            EXPECT_EQ(L"Uscite", std::wstring(pFilled->GetListBoxText()));
            pFrame->GetCommandBars()->SaveBarState(kProfile);
        });
    }
}

// A label, a popup holding the window list and a dialog bar (with its caption and close controls) are saved and
// come back.
TEST_F(BarControlsStateTest, LabelsListsAndDialogBarsAreSavedAndComeBack)
{
    auto addDialogBar = [](CTestFrame* pFrame) {
        return pFrame->GetCommandBars()->Add(L"Proprieta", xtpBarTop, RUNTIME_CLASS(CXTPDialogBar));
    };
    UINT nDialogBarId = 0;
    WithFrame([&](CTestFrame* pFrame) {
        CXTPToolBar* pDialogBar = addDialogBar(pFrame);
        ASSERT_NE(nullptr, pDialogBar);
        nDialogBarId = pDialogBar->GetBarID();
        CXTPControls* pControls = pFrame->GetToolBar()->GetControls();
        pControls->Add(xtpControlLabel, ID_FT_LONG)->SetCaption(L"Esercizio");
        auto* pPopup = static_cast<CXTPControlPopup*>(pControls->Add(xtpControlPopup, ID_FT_LONG + 1));
        pPopup->SetID(ID_FT_LONG + 1);
        pPopup->GetCommandBar()->GetControls()->Add(xtpControlButton, 35000);   // the window list
        // The layout gives the dialog bar its caption and close controls.
        pFrame->RecalcLayout();
        ASSERT_NE(nullptr, pDialogBar->GetControls()->FindControl(XTP_ID_DIALOGBAR_CAPTION));
        pFrame->GetCommandBars()->SaveBarState(kProfile, FALSE);
    });
    WithFrame([&](CTestFrame* pFrame) {
        CXTPToolBar* pDialogBar = addDialogBar(pFrame);
        ASSERT_NE(nullptr, pDialogBar);
        ASSERT_EQ(nDialogBarId, pDialogBar->GetBarID());
        pFrame->GetCommandBars()->LoadBarState(kProfile);
        CXTPControls* pControls = pFrame->GetToolBar()->GetControls();
        CXTPControl* pLabel = pControls->FindControl(ID_FT_LONG);
        ASSERT_NE(nullptr, pLabel);
        EXPECT_TRUE(pLabel->IsKindOf(RUNTIME_CLASS(CXTPControlLabel)));
        EXPECT_EQ(L"Esercizio", std::wstring(pLabel->GetCaption()));
        CXTPControl* pPopup = pControls->FindControl(ID_FT_LONG + 1);
        ASSERT_NE(nullptr, pPopup);
        ASSERT_NE(nullptr, pPopup->GetCommandBar());
        CXTPControls* pItems = pPopup->GetCommandBar()->GetControls();
        ASSERT_EQ(1, OwnCount(pItems));
        EXPECT_TRUE(pItems->GetAt(0)->IsKindOf(RUNTIME_CLASS(CXTPControlWindowList)));
    });
}

namespace
{
// A control class that cannot be saved.
class CUnsavedControl : public CXTPControlButton
{
    DECLARE_DYNCREATE(CUnsavedControl)
};
IMPLEMENT_DYNCREATE(CUnsavedControl, CXTPControlButton)
}

// A save that fails is reported once; the arrangement is saved all the same and the former buttons stay.
TEST_F(BarControlsStateTest, AFailedSaveIsReportedOnceAndTheRestIsSaved)
{
    const std::vector<BYTE> arrBefore = SaveWithFirstButtonHidden();
    ASSERT_FALSE(arrBefore.empty());
    CMessageBoxRecorder recorder(IDOK);
    WithFrame([&](CTestFrame* pFrame) {
        CXTPControls* pControls = pFrame->GetToolBar()->GetControls();
        pControls->AddControl(new CUnsavedControl, ID_FT_LONG);
        pFrame->GetCommandBars()->FloatCommandBar(pFrame->GetToolBar());
        pFrame->GetCommandBars()->SaveBarState(kProfile);
    });
    ASSERT_EQ(1u, recorder.Count());
    EXPECT_EQ(UINT(MB_ICONEXCLAMATION), recorder.LastIcon());
    EXPECT_EQ(arrBefore, StoredControls());
    WithFrame([&](CTestFrame* pFrame) {
        pFrame->GetCommandBars()->LoadBarState(kProfile);
        EXPECT_EQ(xtpBarFloating, pFrame->GetToolBar()->GetPosition());
        EXPECT_EQ(DWORD(xtpHideCustomize), pFrame->GetToolBar()->GetControls()->GetAt(0)->GetHideFlags());
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

// A profile that takes no writes (its section read-only) fails the save: the user hears it, and the buttons saved
// before, in the file the profile names, are still there for the next start.
TEST_F(BarControlsStateTest, AProfileThatRefusesTheWritesKeepsTheFormerButtons)
{
    WithFrame([&](CTestFrame* pFrame) {
        CXTPControls* pControls = pFrame->GetToolBar()->GetControls();
        for (int i = 0; i < 300; ++i)
            pControls->Add(xtpControlButton, ID_FT_LONG + i % 30)->SetCaption(L"Una voce abbastanza lunga da riempire lo spazio");
        pFrame->GetCommandBars()->SaveBarState(kProfile);
    });
    ASSERT_EQ(1u, m_app.GetProfileInt(L"CommandBars-Controls", L"LoadFromFile", 0));
    HKEY hSection = m_app.GetSectionKey(L"CommandBars-Controls", KEY_ALL_ACCESS);
    ASSERT_NE(nullptr, hSection);
    // Everyone may read the section and change its security, nobody may write into it.
    SECURITY_DESCRIPTOR sd;
    BYTE acl[256];
    BYTE everyone[SECURITY_MAX_SID_SIZE];
    DWORD cbSid = sizeof(everyone);
    ASSERT_TRUE(::CreateWellKnownSid(WinWorldSid, nullptr, everyone, &cbSid));
    ASSERT_TRUE(::InitializeAcl(reinterpret_cast<PACL>(acl), sizeof(acl), ACL_REVISION));
    ASSERT_TRUE(::AddAccessAllowedAce(reinterpret_cast<PACL>(acl), ACL_REVISION, KEY_READ | WRITE_DAC, everyone));
    ASSERT_TRUE(::InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION));
    ASSERT_TRUE(::SetSecurityDescriptorDacl(&sd, TRUE, reinterpret_cast<PACL>(acl), FALSE));
    ASSERT_EQ(ERROR_SUCCESS, ::RegSetKeySecurity(hSection, DACL_SECURITY_INFORMATION, &sd));
    ::RegCloseKey(hSection);
    ASSERT_FALSE(m_app.WriteProfileInt(L"CommandBars-Controls", L"Prova", 1)) << "the section still takes writes";

    CMessageBoxRecorder recorder(IDOK);
    WithFrame([&](CTestFrame* pFrame) { pFrame->GetCommandBars()->SaveBarState(kProfile); });
    ASSERT_EQ(1u, recorder.Count());
    EXPECT_EQ(UINT(MB_ICONEXCLAMATION), recorder.LastIcon());
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(m_strFile));
    EXPECT_EQ(1u, m_app.GetProfileInt(L"CommandBars-Controls", L"LoadFromFile", 0));
    WithFrame([&](CTestFrame* pFrame) {
        int nCount = OwnCount(pFrame->GetToolBar()->GetControls());
        pFrame->GetCommandBars()->LoadBarState(kProfile);
        EXPECT_EQ(nCount + 300, OwnCount(pFrame->GetToolBar()->GetControls()));
    });

    // Writable again, for the clean-up.
    HKEY hReadable = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyExW(HKEY_CURRENT_USER,
                                             CString(L"Software\\") + kCompany + L"\\ProvaControlli\\CommandBars-Controls",
                                             0, WRITE_DAC, &hReadable));
    ::SetSecurityDescriptorDacl(&sd, TRUE, nullptr, FALSE);
    ::RegSetKeySecurity(hReadable, DACL_SECURITY_INFORMATION, &sd);
    ::RegCloseKey(hReadable);
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
    pBack->SetCommandBar(pFirst);
    pFirst->InternalRelease();
    pSecond->InternalRelease();

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
        BOOL bSilent;
        bool bCustomisedKept;
    } cases[] = {
        {"yes: the new toolbar", IDYES, FALSE, false},
        {"no: the user's buttons, the new original", IDNO, FALSE, true},
        {"silent: nothing asked, the new toolbar", IDNO, TRUE, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        CMessageBoxRecorder recorder(c.nAnswer);
        WithFrame([&](CTestFrame* pFrame) {
            // The program's toolbar has a button more than the one the data was written from.
            CXTPToolBar* pBar = pFrame->GetToolBar();
            pBar->GetControls()->Add(xtpControlButton, ID_FT_RECENT1);
            pBar->GetControls()->CreateOriginalControls();
            pFrame->GetCommandBars()->LoadBarState(kProfile, c.bSilent);
            ASSERT_EQ(c.bSilent ? 0u : 1u, recorder.Count());
            if (!c.bSilent) {
                EXPECT_NE(-1, recorder.Last().text.Find(L"'" + pBar->GetTitle() + L"' has changed"));
                EXPECT_EQ(UINT(MB_YESNO), recorder.LastButtons());
                EXPECT_EQ(UINT(MB_ICONQUESTION), recorder.LastIcon());
            }
            CXTPControls* pControls = pBar->GetControls();
            EXPECT_EQ(c.bCustomisedKept ? nOldCount : nOldCount + 1, OwnCount(pControls));
            EXPECT_EQ(c.bCustomisedKept, pControls->GetAt(0)->GetHideFlags() == DWORD(xtpHideCustomize));
            ASSERT_NE(nullptr, pControls->GetOriginalControls());
            EXPECT_EQ(nOldCount + 1, OwnCount(pControls->GetOriginalControls()));
        });
    }
}

// A manager that is not customisable keeps the program's buttons: none are saved, none are loaded.
TEST_F(BarControlsStateTest, WithoutCustomisationNoButtonsAreSavedOrLoaded)
{
    const std::vector<BYTE> arrSaved = SaveWithFirstButtonHidden();
    ASSERT_FALSE(arrSaved.empty());
    WithFrame([&](CTestFrame* pFrame) {
        CXTPCommandBars* pBars = pFrame->GetCommandBars();
        pBars->SetCustomizable(FALSE);
        pBars->LoadBarState(kProfile);
        EXPECT_EQ(0u, pFrame->GetToolBar()->GetControls()->GetAt(0)->GetHideFlags() & xtpHideCustomize);
        pFrame->GetToolBar()->GetControls()->GetAt(1)->SetHideFlags(xtpHideCustomize);
        pBars->FloatCommandBar(pFrame->GetToolBar());
        pBars->SaveBarState(kProfile);
    });
    EXPECT_EQ(arrSaved, StoredControls());
    WithFrame([&](CTestFrame* pFrame) {
        pFrame->GetCommandBars()->LoadBarState(kProfile);
        EXPECT_EQ(xtpBarFloating, pFrame->GetToolBar()->GetPosition());
        EXPECT_EQ(DWORD(xtpHideCustomize), pFrame->GetToolBar()->GetControls()->GetAt(0)->GetHideFlags());
    });
}
