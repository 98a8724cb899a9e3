#include "BarTestSupport.h"
#include "IconPixels.h"
#include "PixelCanvas.h"
#include "UiTestRes.h"

#include "support/RealInput.h"
#include "ui/commandbars/MenuSoundPlayer.h"
#include "ui/commandbars/XTPCommandBars.h"
#include "ui/persist/ImageManager.h"
#include "ui/themes/BarPainter.h"

#include <gtest/gtest.h>

namespace
{
BOOL WINAPI SilentPlayer(LPCWSTR, HMODULE, DWORD)
{
    return TRUE;
}

// A hidden frame with a bar of buttons on it, the fake painter on the bar and the sounds silenced.
class CommandBarTest : public ::testing::Test
{
protected:
    CRecordingSite m_site;
    CTestBar* m_pBar = nullptr;
    CFakePainter* m_pPainter = nullptr;
    CMenuSoundPlayer::PFN_PLAYSOUND m_pfnOldPlayer = nullptr;

    void SetUp() override
    {
        m_pfnOldPlayer = CMenuSoundPlayer::SetPlayer(SilentPlayer);
        ASSERT_TRUE(m_site.Create());
        m_pBar = new CTestBar;
        ASSERT_TRUE(m_pBar->Create(&m_site, CRect(0, 0, 300, 30)));
        m_pPainter = new CFakePainter;
        m_pBar->SetPaintManager(m_pPainter);
    }
    void TearDown() override
    {
        if (m_pBar)
            m_pBar->InternalRelease();
        m_site.DestroyWindow();
        // The system's player is given back only when no worker is left to call it.
        CMenuSoundPlayer::Stop();
        EXPECT_TRUE(PumpUntil(nullptr, [] { return !CMenuSoundPlayer::IsWorkerRunning(); }));
        CMenuSoundPlayer::SetPlayer(m_pfnOldPlayer);
    }
    CXTPControls* Controls() const { return m_pBar->GetControls(); }
    CXTPControl* AddButton(int nId, LPCTSTR lpszCaption = L"", BOOL bBeginGroup = FALSE)
    {
        CXTPControl* pControl = Controls()->Add(xtpControlButton, nId);
        pControl->SetCaption(CString(lpszCaption));
        pControl->SetBeginGroup(bBeginGroup);
        return pControl;
    }
    std::vector<int> Ids() const
    {
        std::vector<int> ids;
        for (int i = 0; i < Controls()->GetCount(); i++)
            ids.push_back(Controls()->GetAt(i)->GetID());
        return ids;
    }
};
}

TEST_F(CommandBarTest, DynamicSizeWrapsHidesStretchesAndTurns)
{
    struct Case
    {
        const char* name;
        int nControls;
        std::vector<int> groups, right, stretched;
        DWORD dwMode;
        int nLength;
        CSize szExpected;
        std::vector<CRect> rects;   // expected rectangles of the first controls
        std::vector<int> hidden;
    } cases[] = {
        // 23 + 23 + 6 + 23 > 96 at the fourth control: the row breaks at the group start before it.
        {"docked, wrapping at a group", 5, {2}, {}, {}, LM_HORZDOCK | LM_COMMIT, 100, CSize(100, 54),
         {CRect(2, 2, 25, 24), CRect(25, 2, 48, 24), CRect(2, 30, 25, 52), CRect(25, 30, 48, 52)}, {}},
        {"docked, no room hides the rest", 5, {2}, {}, {}, LM_HORZDOCK | LM_COMMIT | xtpLayoutHideWrap, 100,
         CSize(100, 26), {CRect(2, 2, 25, 24), CRect(25, 2, 48, 24), CRect(54, 2, 77, 24)}, {3, 4}},
        {"popup toolbar, a row per group", 4, {1, 3}, {}, {}, LM_HORZDOCK | LM_COMMIT | xtpLayoutPopupRows, 300,
         CSize(300, 82), {CRect(2, 2, 25, 24), CRect(2, 30, 25, 52), CRect(25, 30, 48, 52), CRect(2, 58, 25, 80)}, {}},
        {"floating, narrowest width of two rows", 6, {}, {}, {}, LM_COMMIT, 100, CSize(73, 48),
         {CRect(2, 2, 25, 24), CRect(25, 2, 48, 24), CRect(48, 2, 71, 24), CRect(2, 24, 25, 46)}, {}},
        {"stretched controls share the room", 3, {}, {}, {1, 2}, LM_HORZDOCK | LM_STRETCH | LM_COMMIT, 200,
         CSize(200, 26), {CRect(2, 2, 25, 24), CRect(25, 2, 111, 24), CRect(111, 2, 198, 24)}, {}},
        {"right-aligned control at the far end", 3, {}, {2}, {}, LM_HORZDOCK | LM_STRETCH | LM_COMMIT, 200,
         CSize(200, 26), {CRect(2, 2, 25, 24), CRect(25, 2, 48, 24), CRect(175, 2, 198, 24)}, {}},
        // Columns of 22-pixel heights in 56 pixels; the second column stands left of the first.
        {"vertical dock", 3, {}, {}, {}, LM_VERTDOCK | LM_COMMIT, 60, CSize(50, 60),
         {CRect(25, 2, 48, 24), CRect(25, 24, 48, 46), CRect(2, 2, 25, 24)}, {}},
    };
    CClientDC dc(m_pBar);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Controls()->RemoveAll();
        m_pBar->SetMRUWidth(1000);
        for (int i = 0; i < c.nControls; i++) {
            CXTPControl* pControl = AddButton(i + 1, L"", std::count(c.groups.begin(), c.groups.end(), i) != 0);
            DWORD dwFlags = std::count(c.right.begin(), c.right.end(), i) ? xtpFlagRightAlign : 0;
            if (std::count(c.stretched.begin(), c.stretched.end(), i))
                dwFlags |= xtpFlagControlStretched;
            pControl->SetFlags(dwFlags);
        }
        CSize sz = Controls()->CalcDynamicSize(&dc, c.nLength, c.dwMode, CRect(2, 2, 2, 2));
        EXPECT_EQ(c.szExpected, sz);
        for (size_t i = 0; i < c.rects.size(); i++)
            EXPECT_EQ(c.rects[i], Controls()->GetAt(static_cast<int>(i))->GetRect()) << "control " << i;
        for (int i = 0; i < c.nControls; i++) {
            BOOL bHidden = std::count(c.hidden.begin(), c.hidden.end(), i) != 0;
            EXPECT_EQ(bHidden ? static_cast<DWORD>(xtpHideWrap) : 0u, Controls()->GetAt(i)->GetHideFlags()) << i;
        }
    }
}

TEST_F(CommandBarTest, DynamicSizeOfABarWithoutShownControlsIsEmpty)
{
    AddButton(1)->SetHideFlags(xtpHideGeneric);
    CClientDC dc(m_pBar);
    EXPECT_EQ(CSize(0, 0), Controls()->CalcDynamicSize(&dc, 100, LM_HORZDOCK | LM_COMMIT, CRect(2, 2, 2, 2)));
}

TEST_F(CommandBarTest, MenuBecomesControlsAndTheSiteHearsOfEach)
{
    CMenu menu, sub;
    ASSERT_TRUE(menu.CreatePopupMenu());
    ASSERT_TRUE(sub.CreatePopupMenu());
    sub.AppendMenu(MF_STRING, 201, L"Sotto &uno");
    sub.AppendMenu(MF_STRING, 202, L"Sotto &due");
    menu.AppendMenu(MF_STRING | MF_CHECKED, 101, L"&Apri\tCtrl+A");
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING | MF_GRAYED, 102, L"&Chiudi");
    menu.AppendMenu(MF_STRING, 0, L"senza comando");
    menu.AppendMenu(MF_STRING, 103, L"&Predefinito");
    menu.AppendMenu(MF_STRING, 0xFF00, L"nessun controllo");
    menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(sub.Detach()), L"&Altro");
    menu.SetDefaultItem(103);
    std::vector<CXTPControl*> announced;
    m_site.m_answers[XTPM_CONTROLCREATED] = [&](WPARAM, LPARAM lParam) {
        announced.push_back(reinterpret_cast<XTP_CONTROL_CREATE*>(lParam)->pControl);
        return 0;
    };
    ASSERT_TRUE(m_pBar->LoadMenu(&menu));

    struct Expected
    {
        int nId, nType;
        LPCTSTR lpszCaption, lpszShortcut;
        BOOL bChecked, bEnabled, bBeginGroup, bDefault;
    } expected[] = {
        {101, xtpControlButton, L"&Apri", L"Ctrl+A", TRUE, TRUE, FALSE, FALSE},
        {102, xtpControlButton, L"&Chiudi", L"", FALSE, FALSE, TRUE, FALSE},
        {103, xtpControlButton, L"&Predefinito", L"", FALSE, TRUE, TRUE, TRUE},
        {0, xtpControlPopup, L"&Altro", L"", FALSE, TRUE, FALSE, FALSE},
    };
    ASSERT_EQ(4, Controls()->GetCount());
    for (int i = 0; i < 4; i++) {
        const Expected& e = expected[i];
        CXTPControl* pControl = Controls()->GetAt(i);
        SCOPED_TRACE(i);
        EXPECT_EQ(e.nId, pControl->GetID());
        EXPECT_EQ(e.nType, pControl->GetType());
        EXPECT_EQ(CString(e.lpszCaption), pControl->GetCaption());
        EXPECT_EQ(CString(e.lpszShortcut), pControl->GetShortcutText());
        EXPECT_EQ(e.bChecked, pControl->GetChecked());
        EXPECT_EQ(e.bEnabled, pControl->GetEnabled());
        EXPECT_EQ(e.bBeginGroup, pControl->GetBeginGroup());
        EXPECT_EQ(e.bDefault, pControl->IsDefaultItem());
        EXPECT_EQ(i, pControl->GetIndex());
        EXPECT_EQ(m_pBar, pControl->GetParent());
    }
    CXTPCommandBar* pPopupBar = Controls()->GetAt(3)->GetCommandBar();
    ASSERT_NE(nullptr, pPopupBar);
    EXPECT_EQ(CString(L"Altro"), pPopupBar->GetTitle());
    EXPECT_EQ(xtpBarTypePopup, pPopupBar->GetType());
    ASSERT_EQ(2, pPopupBar->GetControls()->GetCount());
    EXPECT_EQ(202, pPopupBar->GetControls()->GetAt(1)->GetID());
    EXPECT_EQ(m_pBar, pPopupBar->GetParentCommandBar());

    // Every item made (the sub-menu's too) is announced before and after; the record says where it comes from.
    EXPECT_EQ(6u, m_site.Received(XTPM_CONTROLCREATE).size());
    ASSERT_EQ(6u, announced.size());
    EXPECT_EQ(Controls()->GetAt(0), announced[0]);
    EXPECT_EQ(pPopupBar->GetControls()->GetAt(0), announced[3]);
}

TEST_F(CommandBarTest, SiteChangesOrSuppliesTheControlOfAMenuItem)
{
    CXTPControlButton* pSupplied = new CXTPControlButton;
    struct Case
    {
        const char* name;
        std::function<void(XTP_CONTROL_CREATE*)> change;
        int nId, nType, nStyle;
        LPCTSTR lpszCaption;
        CXTPControl* pExpected;
        LRESULT nAnswer = 1;
    } cases[] = {
        {"unchanged", [](XTP_CONTROL_CREATE*) {}, 101, xtpControlButton, 0, L"&Voce", nullptr},
        {"id", [](XTP_CONTROL_CREATE* p) { p->nId = 555; }, 555, xtpControlButton, 0, L"&Voce", nullptr},
        {"type", [](XTP_CONTROL_CREATE* p) { p->nType = xtpControlSplitButtonPopup; }, 101,
         xtpControlSplitButtonPopup, 0, L"&Voce", nullptr},
        {"caption", [](XTP_CONTROL_CREATE* p) { p->strCaption = L"Altra\tF5"; }, 101, xtpControlButton, 0, L"Altra",
         nullptr},
        {"style", [](XTP_CONTROL_CREATE* p) { p->nStyle = xtpButtonIconAndCaption; }, 101, xtpControlButton,
         xtpButtonIconAndCaption, L"&Voce", nullptr},
        {"control", [&](XTP_CONTROL_CREATE* p) { p->pControl = pSupplied; }, 101, xtpControlButton, 0, L"&Voce",
         pSupplied},
        {"changed without an answer",
         [](XTP_CONTROL_CREATE* p) {
             p->nId = 555;
             p->nType = xtpControlSplitButtonPopup;
             p->strCaption = L"Altra";
             p->nStyle = xtpButtonIconAndCaption;
         },
         101, xtpControlButton, 0, L"&Voce", nullptr, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_site.m_answers[XTPM_CONTROLCREATE] = [&](WPARAM, LPARAM lParam) {
            c.change(reinterpret_cast<XTP_CONTROL_CREATE*>(lParam));
            return c.nAnswer;
        };
        CMenu menu;
        menu.CreatePopupMenu();
        menu.AppendMenu(MF_STRING, 101, L"&Voce");
        ASSERT_TRUE(m_pBar->LoadMenu(&menu));
        ASSERT_EQ(1, Controls()->GetCount());
        CXTPControl* pControl = Controls()->GetAt(0);
        if (c.pExpected) {
            EXPECT_EQ(c.pExpected, pControl);
        }
        EXPECT_EQ(c.nId, pControl->GetID());
        EXPECT_EQ(c.nType, pControl->GetType());
        EXPECT_EQ(c.nStyle, pControl->GetStyle());
        EXPECT_EQ(CString(c.lpszCaption), pControl->GetCaption());
    }
}

// A button of an id array takes the site's changes, or the control it supplies, only when the site answers; a
// control supplied without an answer is let go.
TEST_F(CommandBarTest, SiteChangesOrSuppliesAButtonOnlyWhenItAnswers)
{
    struct Case
    {
        const char* name;
        LRESULT nAnswer;
        BOOL bSupply;
        int nId, nType, nStyle;
    } cases[] = {
        {"changed", 1, FALSE, 555, xtpControlSplitButtonPopup, xtpButtonIconAndCaption},
        {"changed without an answer", 0, FALSE, 101, xtpControlButton, 0},
        {"supplied", 1, TRUE, 555, xtpControlButton, 0},
        {"supplied without an answer", 0, TRUE, 101, xtpControlButton, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* pSupplied = new CXTPControlButton;
        pSupplied->InternalAddRef();
        m_site.m_answers[XTPM_CONTROLCREATE] = [&](WPARAM, LPARAM lParam) {
            auto* pCreate = reinterpret_cast<XTP_CONTROL_CREATE*>(lParam);
            pCreate->nId = 555;
            pCreate->nType = xtpControlSplitButtonPopup;
            pCreate->nStyle = xtpButtonIconAndCaption;
            if (c.bSupply)
                pCreate->pControl = pSupplied;
            return c.nAnswer;
        };
        UINT ids[] = {101};
        ASSERT_TRUE(m_pBar->SetButtons(ids, 1));
        ASSERT_EQ(1, Controls()->GetCount());
        CXTPControl* pControl = Controls()->GetAt(0);
        EXPECT_EQ(c.bSupply && c.nAnswer, pControl == pSupplied);
        EXPECT_EQ(c.nId, pControl->GetID());
        EXPECT_EQ(c.nType, pControl->GetType());
        EXPECT_EQ(c.nStyle, pControl->GetStyle());
        Controls()->RemoveAll();
        if (!c.bSupply)
            pSupplied->InternalRelease();
        EXPECT_EQ(0u, pSupplied->InternalRelease()) << "no reference is left behind";
    }
}

TEST_F(CommandBarTest, PopupsFromMenuResources)
{
    CXTPControl* pPopup = Controls()->Add(xtpControlPopup, IDR_UITEST_MENU);
    EXPECT_EQ(CString(L"&Prova"), pPopup->GetCaption());
    EXPECT_EQ(0, pPopup->GetID());
    ASSERT_NE(nullptr, pPopup->GetCommandBar());
    EXPECT_EQ((std::vector<int>{101, 102}), [&] {
        std::vector<int> ids;
        CXTPControls* pControls = pPopup->GetCommandBar()->GetControls();
        for (int i = 0; i < pControls->GetCount(); i++)
            ids.push_back(pControls->GetAt(i)->GetID());
        return ids;
    }());
    // A menu that does not load leaves the popup empty; the control is still there.
    CXTPControl* pMissing = Controls()->Add(xtpControlButtonPopup, 30999);
    ASSERT_NE(nullptr, pMissing);
    EXPECT_EQ(30999, pMissing->GetID());
    EXPECT_EQ(0, pMissing->GetCommandBar()->GetControls()->GetCount());
    EXPECT_EQ(2, Controls()->GetCount());
    EXPECT_EQ(nullptr, Controls()->Add(9, 1));
}

TEST(CommandBarControls, APopupMadeOutsideAnyBarBelongsToTheCollectionsManager)
{
    auto* pCommandBars = new CXTPCommandBars;
    auto* pControls = new CXTPControls;
    pControls->SetCommandBars(pCommandBars);
    CXTPControl* pPopup = pControls->Add(xtpControlPopup, 0);
    ASSERT_NE(nullptr, pPopup->GetCommandBar());
    EXPECT_EQ(pCommandBars, pPopup->GetCommandBar()->GetCommandBars());
    pControls->InternalRelease();
    pCommandBars->InternalRelease();
}

TEST_F(CommandBarTest, FindIndexPairsControlsByIdAndType)
{
    AddButton(1);
    Controls()->Add(xtpControlPopup, 2);
    AddButton(2);
    AddButton(1);
    CXTPControls other;
    CXTPControl* pButton1 = other.Add(xtpControlButton, 1);
    CXTPControl* pButton2 = other.Add(xtpControlButton, 2);
    CXTPControl* pButton3 = other.Add(xtpControlButton, 3);
    struct Case
    {
        CXTPControl* pControl;
        int nStart, nExpected;
    } cases[] = {{pButton1, 0, 0},  {pButton1, 1, 3},  {pButton1, 4, -1}, {pButton1, -1, 0},
                 {pButton2, 0, 2},  {pButton3, 0, -1}, {nullptr, 0, -1}};
    for (const Case& c : cases)
        EXPECT_EQ(c.nExpected, Controls()->FindIndex(c.pControl, c.nStart))
            << (c.pControl ? c.pControl->GetID() : 0) << " from " << c.nStart;
}

TEST_F(CommandBarTest, AddingRemovingAndChangingTypes)
{
    AddButton(1);
    AddButton(2);
    Controls()->Add(xtpControlButton, 3, L"", -1);
    Controls()->Add(xtpControlButton, 4, L"", 99);
    Controls()->Add(xtpControlButton, 5, L"", 1);
    EXPECT_EQ((std::vector<int>{1, 5, 2, 3, 4}), Ids());

    // The hot control's removal clears the bar's selection; a foreign control and a bad index change nothing.
    m_pBar->SetSelected(1);
    Controls()->Remove(Controls()->GetAt(1));
    EXPECT_EQ(-1, m_pBar->GetSelectedIndex());
    CXTPControls other;
    CXTPControl* pForeign = other.Add(xtpControlButton, 9);
    Controls()->Remove(pForeign);
    Controls()->Remove(17);
    Controls()->Remove(-1);
    EXPECT_EQ((std::vector<int>{1, 2, 3, 4}), Ids());
    EXPECT_EQ(1, other.GetCount());

    CXTPControl* pPopup = Controls()->Add(xtpControlPopup, 0, L"", 1);
    pPopup->SetCaption(CString(L"&Menu"));
    EXPECT_EQ(pPopup, Controls()->SetControlType(pPopup, xtpControlButtonPopup));
    EXPECT_EQ(xtpControlButtonPopup, pPopup->GetType());
    CXTPControl* pButton = Controls()->SetControlType(pPopup, xtpControlButton);
    EXPECT_NE(pPopup, pButton);
    EXPECT_EQ(1, pButton->GetIndex());
    EXPECT_EQ(CString(L"&Menu"), pButton->GetCaption());
    EXPECT_EQ(xtpControlButton, pButton->GetType());
    EXPECT_EQ(5, Controls()->GetCount());

    // Removing every control also forgets the bar's hot and open controls.
    m_pBar->SetSelected(2);
    Controls()->RemoveAll();
    EXPECT_EQ(-1, m_pBar->GetSelectedIndex());
    EXPECT_EQ(-1, m_pBar->GetPopupedIndex());
}

TEST_F(CommandBarTest, ChangedAgainstTheFirstLayoutIgnoringTemporaryControls)
{
    AddButton(1, L"Uno");
    AddButton(2, L"Due");
    EXPECT_TRUE(Controls()->IsChanged());
    Controls()->CreateOriginalControls();
    EXPECT_FALSE(Controls()->IsChanged());
    Controls()->Add(xtpControlButton, 3, L"", 1, TRUE);
    EXPECT_FALSE(Controls()->IsChanged());
    CXTPControls* pCopy = Controls()->Duplicate();
    EXPECT_EQ(2, pCopy->GetCount());
    EXPECT_TRUE(pCopy->IsEqual(Controls()));
    pCopy->InternalRelease();
    // Enabled and checked states are not layout; a caption is.
    Controls()->GetAt(0)->SetEnabled(FALSE);
    Controls()->GetAt(0)->SetChecked(TRUE);
    EXPECT_FALSE(Controls()->IsChanged());
    Controls()->GetAt(2)->SetCaption(CString(L"Altro"));
    EXPECT_TRUE(Controls()->IsChanged());
}

TEST_F(CommandBarTest, KeyboardOrder)
{
    // Controls 0..5: 1 hidden, 2 skipped by keyboard, 3 temporary, 4 scrolled out (bit 8), 5 rarely used (bit 32).
    for (int i = 0; i < 6; i++)
        AddButton(i + 1);
    Controls()->GetAt(1)->SetHideFlags(xtpHideGeneric);
    Controls()->GetAt(2)->SetFlags(xtpFlagSkipFocus);
    Controls()->GetAt(3)->SetTemporary(TRUE);
    Controls()->GetAt(4)->SetHideFlags(xtpHideScroll);
    Controls()->GetAt(5)->SetHideFlags(xtpHideExpand);
    struct Case
    {
        int nStart, nStep;
        BOOL bSkipFlagged, bSkipTemporary, bAllowScroll;
        int nExpected;
    } cases[] = {
        {-1, 1, TRUE, FALSE, TRUE, 0},  {0, 1, TRUE, FALSE, TRUE, 3},   {0, 1, FALSE, FALSE, TRUE, 2},
        {0, 1, TRUE, TRUE, TRUE, 4},    {4, 1, TRUE, TRUE, TRUE, 0},    {4, 1, TRUE, TRUE, FALSE, 5},
        {-1, -1, TRUE, TRUE, TRUE, 4},  {-1, -1, TRUE, TRUE, FALSE, 5}, {0, -1, TRUE, TRUE, FALSE, 5},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.nExpected, Controls()->GetNextIndex(c.nStart, c.nStep, c.bSkipFlagged, c.bSkipTemporary,
                                                          c.bAllowScroll))
            << c.nStart << " step " << c.nStep;
    for (int i = 0; i < 6; i++)
        Controls()->GetAt(i)->SetHideFlags(xtpHideGeneric);
    EXPECT_EQ(-1, Controls()->GetNextIndex(-1, 1));
    EXPECT_EQ(-1, CXTPControls().GetNextIndex(-1, 1));
}

TEST_F(CommandBarTest, ExecutionReachesTheSiteOnce)
{
    struct Case
    {
        const char* name;
        int nId;
        LRESULT lNotifyAnswer;
        size_t nNotifies, nCommands;
    } cases[] = {
        {"no command", 0, 0, 0, 0},
        {"command", 42, 0, 1, 1},
        {"site handles the notification", 42, 1, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_site.m_records.clear();
        std::vector<UINT> codes;
        m_site.m_answers[XTPM_CONTROLNOTIFY] = [&](WPARAM, LPARAM lParam) {
            codes.push_back(reinterpret_cast<XTP_CONTROL_NOTIFY*>(lParam)->code);
            return c.lNotifyAnswer;
        };
        Controls()->RemoveAll();
        CXTPControl* pControl = AddButton(c.nId);
        pControl->OnExecute();
        auto notifies = m_site.Received(XTPM_CONTROLNOTIFY);
        auto commands = m_site.Received(WM_COMMAND);
        ASSERT_EQ(c.nNotifies, notifies.size());
        EXPECT_EQ(c.nCommands, commands.size());
        if (!notifies.empty()) {
            EXPECT_EQ(static_cast<UINT>(XTP_CN_EXECUTE), codes[0]);
        }
        if (!commands.empty()) {
            EXPECT_EQ(static_cast<WPARAM>(c.nId), commands[0].wParam);
        }
    }
}

TEST_F(CommandBarTest, HandlerThatReleasesTheBarDuringItsCommand)
{
    CXTPControl* pControl = AddButton(7);
    pControl->SetCloseSubMenuOnClick(FALSE);
    CXTPCommandBar* pBar = m_pBar;
    m_site.m_answers[WM_COMMAND] = [&](WPARAM, LPARAM) {
        pBar->InternalRelease();
        m_pBar = nullptr;
        return 0;
    };
    pControl->OnExecute();
    EXPECT_EQ(nullptr, m_pBar);
    EXPECT_EQ(1u, m_site.Received(WM_COMMAND).size());
}

TEST(CommandBarKeys, AcceleratorSearch)
{
    CXTPControls controls;
    for (LPCTSTR lpszCaption : {L"Salva", L"&Stampa", L"Sposta", L"A&&B", L"&Apri", L"Chiudi && &esci"})
        controls.Add(xtpControlButton, 1)->SetCaption(CString(lpszCaption));
    struct Case
    {
        int nSelected;
        TCHAR chKey;
        int nExpected;
        BOOL bAmbiguous;
    } cases[] = {
        {-1, L's', 1, FALSE},   // the explicit '&' wins over two first letters
        {-1, L'a', 4, FALSE},   // "A&&B" is a first letter; "&Apri" explicit
        {-1, L'b', -1, FALSE},  // the escaped pair gives no accelerator
        {-1, L'E', 5, FALSE},
        {-1, L'c', -1, FALSE},  // "Chiudi && &esci": the first letter does not count beside an explicit one
        {-1, L'x', -1, FALSE},
    };
    for (const Case& c : cases) {
        BOOL bAmbiguous;
        EXPECT_EQ(c.nExpected, FindAccelIndex(&controls, c.nSelected, c.chKey, &bAmbiguous)) << c.chKey;
        if (c.nExpected != -1) {
            EXPECT_EQ(c.bAmbiguous, bAmbiguous) << c.chKey;
        }
    }
    // Without an explicit one, two first letters are ambiguous; the search starts after the hot control.
    CXTPControls plain;
    for (LPCTSTR lpszCaption : {L"Uno", L"Due", L"Undici"})
        plain.Add(xtpControlButton, 1)->SetCaption(CString(lpszCaption));
    BOOL bAmbiguous;
    EXPECT_EQ(2, FindAccelIndex(&plain, 0, L'u', &bAmbiguous));
    EXPECT_TRUE(bAmbiguous);
    plain.GetAt(2)->SetEnabled(FALSE);
    EXPECT_EQ(0, FindAccelIndex(&plain, 0, L'u', &bAmbiguous));
    EXPECT_FALSE(bAmbiguous);
}

TEST(CommandBarKeys, DirectionCodes)
{
    struct Case
    {
        UINT nKey;
        BOOL bHorizontal, bRTL;
        int nCode;
    } cases[] = {
        {VK_RIGHT, TRUE, FALSE, xtpKeyNext},       {VK_LEFT, TRUE, FALSE, xtpKeyBack},
        {VK_UP, TRUE, FALSE, xtpKeyPopupClose},    {VK_DOWN, TRUE, FALSE, xtpKeyPopupOpen},
        {VK_DOWN, FALSE, FALSE, xtpKeyNext},       {VK_UP, FALSE, FALSE, xtpKeyBack},
        {VK_LEFT, FALSE, FALSE, xtpKeyPopupClose}, {VK_RIGHT, FALSE, FALSE, xtpKeyPopupOpen},
        {VK_RIGHT, TRUE, TRUE, xtpKeyBack},        {VK_LEFT, FALSE, TRUE, xtpKeyPopupOpen},
        {VK_HOME, TRUE, FALSE, xtpKeyHome},        {VK_END, FALSE, FALSE, xtpKeyEnd},
        {VK_RETURN, TRUE, FALSE, xtpKeyReturn},    {VK_ESCAPE, FALSE, FALSE, xtpKeyEscape},
        {'A', TRUE, FALSE, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.nCode, GetDirectionCode(c.nKey, c.bHorizontal, c.bRTL)) << c.nKey << " " << c.bHorizontal;
}

TEST_F(CommandBarTest, KeysMoveTheSelectionAndExecute)
{
    AddButton(11, L"&Nuovo");
    AddButton(12, L"Uno");
    AddButton(13, L"Unire");
    AddButton(14, L"Fine");
    m_pBar->SetPosition(xtpBarTop);
    ASSERT_TRUE(m_pBar->SetTrackingMode(1, TRUE, TRUE));
    EXPECT_EQ(0, m_pBar->GetSelectedIndex());
    EXPECT_EQ(1, m_pBar->OnKeyDown(VK_RIGHT, 0));
    EXPECT_EQ(1, m_pBar->GetSelectedIndex());
    m_pBar->OnKeyDown(VK_END, 0);
    EXPECT_EQ(3, m_pBar->GetSelectedIndex());
    m_pBar->OnKeyDown(VK_RIGHT, 0);
    EXPECT_EQ(0, m_pBar->GetSelectedIndex());
    // Two captions start with U: the letter only moves between them.
    m_pBar->OnKeyDown('U', 0);
    EXPECT_EQ(1, m_pBar->GetSelectedIndex());
    m_pBar->OnKeyDown('U', 0);
    EXPECT_EQ(2, m_pBar->GetSelectedIndex());
    EXPECT_TRUE(m_site.Received(WM_COMMAND).empty());
    // Every key reaches the site first, which may change it.
    m_site.m_answers[XTPM_TRACKINGKEY] = [](WPARAM wParam, LPARAM) {
        XTP_TRACKING_KEY* pKey = reinterpret_cast<XTP_TRACKING_KEY*>(wParam);
        if (pKey->nKey == 'X')
            pKey->nKey = 'N';
        return 0;
    };
    m_pBar->OnKeyDown('X', 0);
    ASSERT_EQ(1u, m_site.Received(WM_COMMAND).size());
    EXPECT_EQ(11u, m_site.Received(WM_COMMAND)[0].wParam);
    EXPECT_FALSE(m_pBar->IsTrackingMode());
    EXPECT_GE(m_site.Received(XTPM_TRACKINGKEY).size(), 6u);
}

TEST_F(CommandBarTest, EscapeInASubMenuReturnsTrackingToItsParent)
{
    CXTPControl* pPopup = Controls()->Add(xtpControlPopup, IDR_UITEST_MENU);
    CXTPCommandBar* pSub = pPopup->GetCommandBar();
    m_pBar->SetTrackingMode(2, FALSE, TRUE);
    pSub->SetTrackingMode(1, TRUE, TRUE);
    EXPECT_EQ(1, pSub->OnKeyDown(VK_ESCAPE, 0));
    EXPECT_FALSE(pSub->IsTrackingMode());
    EXPECT_EQ(1, m_pBar->GetTrackingMode());
    m_pBar->OnKeyDown(VK_ESCAPE, 0);
    EXPECT_FALSE(m_pBar->IsTrackingMode());
}

namespace
{
// A site with update handlers: 21 is disabled by its handler, 22 has a command handler, 23 is checked, 24 has
// nothing.
class CUpdateSite : public CRecordingSite
{
protected:
    afx_msg void OnUpdateDisabled(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    afx_msg void OnUpdateChecked(CCmdUI* pCmdUI) { pCmdUI->SetCheck(1); }
    afx_msg void OnCommand22() {}
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CUpdateSite, CRecordingSite)
    ON_UPDATE_COMMAND_UI(21, &CUpdateSite::OnUpdateDisabled)
    ON_UPDATE_COMMAND_UI(23, &CUpdateSite::OnUpdateChecked)
    ON_COMMAND(22, &CUpdateSite::OnCommand22)
END_MESSAGE_MAP()
}

TEST(CommandBarUpdate, IdleUpdateAsksTheSiteHandlers)
{
    CUpdateSite site;
    ASSERT_TRUE(site.Create());
    site.ShowWindow(SW_SHOWNA);
    CTestBar* pBar = new CTestBar;
    ASSERT_TRUE(pBar->Create(&site, CRect(0, 0, 300, 30)));
    for (int nId : {21, 22, 23, 24})
        pBar->GetControls()->Add(xtpControlButton, nId);
    CXTPControls* pControls = pBar->GetControls();
    auto states = [&] {
        std::string s;
        for (int i = 0; i < pControls->GetCount(); i++)
            s += std::string(pControls->GetAt(i)->GetEnabled() ? "e" : "d") + (pControls->GetAt(i)->GetChecked() ? "c" : "-");
        return s;
    };
    pBar->SendMessage(WM_IDLEUPDATECMDUI, FALSE);
    EXPECT_EQ("d-e-ece-", states());
    pBar->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_EQ("d-e-ecd-", states());
    // A control left pressed is released by the pass.
    pControls->GetAt(1)->SetPressed(2);
    pBar->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_EQ(0, pControls->GetAt(1)->GetPressed());
    pBar->InternalRelease();
    site.DestroyWindow();
}

TEST_F(CommandBarTest, BarDrawsThroughItsOwnPainter)
{
    AddButton(1);
    AddButton(2, L"", TRUE);
    AddButton(3)->SetHideFlags(xtpHideGeneric);
    m_pBar->SetBarStyle(0x400000);
    m_pBar->OnRecalcLayout();
    CPixelCanvas canvas(300, 30);
    m_pBar->SendMessage(WM_PRINT, reinterpret_cast<WPARAM>(canvas.GetSafeHdc()), PRF_CLIENT);
    EXPECT_EQ((std::vector<std::string>{"fill", "gripper", "draw 1", "separator 2", "draw 2"}), m_pPainter->m_calls);
    EXPECT_EQ(m_pPainter, Controls()->GetAt(0)->GetPaintManager());
}

TEST_F(CommandBarTest, PopupsCompareByTheirItemsAndCopiesKeepWhatTheBarAllows)
{
    auto* pMenu = static_cast<CXTPControlPopup*>(Controls()->Add(xtpControlPopup, 0));
    pMenu->SetCaption(CString(L"&Menu"));
    CXTPPopupBar* pPopup = CXTPPopupBar::CreatePopupBar();
    pPopup->GetControls()->Add(xtpControlButton, 5);
    pPopup->SetCustomizable(FALSE);
    pMenu->SetCommandBar(pPopup);
    pPopup->InternalRelease();

    CXTPControls* pCopy = Controls()->Duplicate(TRUE);
    EXPECT_TRUE(pCopy->IsEqual(Controls()));
    CXTPCommandBar* pCopiedPopup = pCopy->GetAt(0)->GetCommandBar();
    ASSERT_NE(nullptr, pCopiedPopup);
    ASSERT_NE(pPopup, pCopiedPopup);
    EXPECT_FALSE(pCopiedPopup->IsCustomizable()) << "a copy may not be changed where the original may not";
    pCopiedPopup->GetControls()->Add(xtpControlButton, 6);
    EXPECT_FALSE(pCopy->IsEqual(Controls())) << "an item added inside the popup";
    pCopy->InternalRelease();
}

namespace
{
// An icon store that tells when it goes.
class CCountedImages : public CXTPImageManager
{
public:
    explicit CCountedImages(bool* pbGone) : m_pbGone(pbGone) {}
    ~CCountedImages() override { *m_pbGone = true; }

private:
    bool* m_pbGone;
};
}

TEST(CommandBarImages, ABarLetsTheStoreItWasGivenGoWithItOrForTheNextOne)
{
    bool bFirstGone = false, bSecondGone = false;
    CXTPPopupBar* pPopup = CXTPPopupBar::CreatePopupBar();
    auto* pFirst = new CCountedImages(&bFirstGone);
    pPopup->SetImageManager(pFirst);
    EXPECT_EQ(static_cast<CXTPBarImages*>(pFirst), pPopup->GetImageManager());
    pPopup->SetImageManager(new CCountedImages(&bSecondGone));
    EXPECT_TRUE(bFirstGone);
    EXPECT_FALSE(bSecondGone);
    pPopup->InternalRelease();
    EXPECT_TRUE(bSecondGone);
}

TEST_F(CommandBarTest, APopupControlMadeByTypeTakesAMenusItemsInItsOwnPopup)
{
    CXTPControlPopup* pSplit = CXTPControlPopup::CreateControlPopup(xtpControlSplitButtonPopup);
    EXPECT_EQ(xtpControlSplitButtonPopup, pSplit->GetType());
    Controls()->AddControl(pSplit, 0);
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_UITEST_MENU));
    pSplit->SetCommandBarMenu(menu.GetSubMenu(0));
    CXTPCommandBar* pPopup = pSplit->GetCommandBar();
    ASSERT_NE(nullptr, pPopup);
    auto popupIds = [pPopup] {
        std::vector<int> ids;
        for (int i = 0; i < pPopup->GetControls()->GetCount(); i++)
            ids.push_back(pPopup->GetControls()->GetAt(i)->GetID());
        return ids;
    };
    EXPECT_EQ((std::vector<int>{101, 102}), popupIds());
    EXPECT_EQ(pSplit, pPopup->GetParentControl());

    // Another menu replaces the items in the same popup.
    CMenu other;
    ASSERT_TRUE(other.CreatePopupMenu());
    ::AppendMenuW(other.m_hMenu, MF_STRING, 201, L"&Tre");
    pSplit->SetCommandBarMenu(&other);
    EXPECT_EQ(pPopup, pSplit->GetCommandBar());
    EXPECT_EQ(std::vector<int>{201}, popupIds());
}

TEST_F(CommandBarTest, APopupKnowsTheMenusThatLieInsideItHoweverDeep)
{
    // "Archivio" holds "Recenti", which holds "Vecchi"; "Altro" stands apart; a copy of "Recenti" shares its popup.
    auto addMenu = [](CXTPControls* pControls) {
        auto* pMenu = static_cast<CXTPControlPopup*>(pControls->Add(xtpControlPopup, 0));
        CXTPPopupBar* pPopup = CXTPPopupBar::CreatePopupBar();
        pMenu->SetCommandBar(pPopup);
        pPopup->InternalRelease();
        return pMenu;
    };
    CXTPControlPopup* pFile = addMenu(Controls());
    CXTPControlPopup* pRecent = addMenu(pFile->GetCommandBar()->GetControls());
    CXTPControlPopup* pOld = addMenu(pRecent->GetCommandBar()->GetControls());
    CXTPControlPopup* pOther = addMenu(Controls());
    auto* pShared = static_cast<CXTPControlPopup*>(pRecent->Clone(FALSE));
    const struct
    {
        CXTPControlPopup* pOuter;
        CXTPControlPopup* pInner;
        BOOL bContains;
    } cases[] = {
        {pFile, pFile, TRUE}, {pFile, pRecent, TRUE}, {pFile, pOld, TRUE}, {pShared, pOld, TRUE},
        {pOld, pFile, FALSE}, {pFile, pOther, FALSE}, {pOther, pOld, FALSE},
    };
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); i++)
        EXPECT_EQ(cases[i].bContains, cases[i].pOuter->IsContainPopup(cases[i].pInner)) << "case " << i;
    pShared->InternalRelease();
}

// An icon the program gives a control joins its bar's images as a custom icon and is the one it shows; a reset
// gives back the control's own icon and caption and lets the bar know, once.
TEST_F(CommandBarTest, ACustomIconJoinsTheBarsImagesAndAResetGivesBackTheOwnIconAndCaption)
{
    auto* pImages = new CXTPImageManager;
    m_pBar->SetImageManager(pImages);
    CXTPControl* pButton = AddButton(500, L"Apri");
    AddButton(501, L"Salva");
    HICON hIcon = MakeIcon(16, 16, [](int, int) { return RGB(200, 30, 40); });
    pButton->SetCustomIcon(hIcon);
    ::DestroyIcon(hIcon);
    const int nCustom = pButton->GetCustomIconId();
    ASSERT_GT(nCustom, 0);
    EXPECT_EQ(nCustom, pButton->GetIconId());
    CXTPImageManagerIcon* pIcon = pImages->GetImage(static_cast<UINT>(nCustom), 16);
    ASSERT_NE(nullptr, pIcon);
    EXPECT_EQ(RGB(200, 30, 40), PixelColor(ImagePixel(pIcon->GetIcon(), 5, 5)));
    // An empty icon changes nothing.
    pButton->SetCustomIcon(nullptr);
    EXPECT_EQ(nCustom, pButton->GetCustomIconId());

    pButton->SetCustomCaption(L"Mia");
    m_pBar->SetSelected(1);
    pButton->Reset();
    EXPECT_EQ(0, pButton->GetCustomIconId());
    EXPECT_EQ(500, pButton->GetIconId());
    EXPECT_EQ(CString(L"Apri"), pButton->GetCaption());
    EXPECT_EQ(-1, m_pBar->GetSelectedIndex());
    m_pBar->SetSelected(1);
    pButton->Reset();
    EXPECT_EQ(1, m_pBar->GetSelectedIndex());
}
