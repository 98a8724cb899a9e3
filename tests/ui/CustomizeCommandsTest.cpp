// The customise context menu's commands and states on the manager's drag control.
#include "BarTestSupport.h"

#include "ui/commandbars/XTPCommandBars.h"
#include "ui/commandbars/XTPCustomizeCommands.h"
#include "ui/commandbars/XTPToolBar.h"
#include "ui/uires.h"

#include <gtest/gtest.h>

namespace
{
// Counts its layouts.
class CCountingBar : public CXTPToolBar
{
public:
    void OnRecalcLayout() override
    {
        ++m_nLayouts;
        CXTPToolBar::OnRecalcLayout();
    }
    int m_nLayouts = 0;
};

// What an update handler set.
class CRecordedCmdUI : public CCmdUI
{
public:
    explicit CRecordedCmdUI(UINT nID) { m_nID = nID; }
    void Enable(BOOL bOn) override { m_nEnabled = bOn ? 1 : 0; }
    void SetCheck(int nCheck) override { m_nChecked = nCheck; }
    void SetText(LPCTSTR lpszText) override { m_strText = lpszText; }

    int m_nEnabled = -1; // -1: untouched
    int m_nChecked = -1;
    CString m_strText;
};

class CustomizeCommandsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_site.Create());
        m_pCommandBars->SetSite(&m_site);
        m_pBar->SetCommandBars(m_pCommandBars);
        m_pBar->SetPaintManager(new CFakePainter);
        UINT ids[] = {101, 102, 103};
        m_pBar->SetButtons(ids, 3);
    }
    void TearDown() override
    {
        m_pBar->InternalRelease();
        m_pCommandBars->InternalRelease();
    }
    CXTPControl* Control(int nIndex) const { return m_pBar->GetControls()->GetAt(nIndex); }
    CRecordedCmdUI State(UINT nID) const
    {
        CRecordedCmdUI state(nID);
        m_commands.UpdateState(&state);
        return state;
    }

    CRecordingSite m_site;
    CXTPCommandBars* m_pCommandBars = new CXTPCommandBars;
    CCountingBar* m_pBar = new CCountingBar;
    CXTPCustomizeControlCommands m_commands{m_pCommandBars};
};
}

TEST_F(CustomizeCommandsTest, EachCommandChangesTheDragControlAndLaysItsBarOut)
{
    const struct
    {
        UINT nID;
        int nCustomIconId, nCustomStyle;
        LPCTSTR customCaption;
        BOOL bBeginGroup;
    } cases[] = {
        {XTP_ID_CUSTOMIZE_RESET, 0, 0, L"", FALSE},
        {XTP_ID_CUSTOMIZE_RESETBUTTONIMAGE, 0, xtpButtonCaption, L"Mio", FALSE},
        {XTP_ID_CUSTOMIZE_DEFAULTSTYLE, 7, xtpButtonAutomatic, L"Mio", FALSE},
        {XTP_ID_CUSTOMIZE_IMAGEANDTEXT, 7, xtpButtonIconAndCaption, L"Mio", FALSE},
        {XTP_ID_CUSTOMIZE_TEXTONLY, 7, xtpButtonCaption, L"Mio", FALSE},
        {XTP_ID_CUSTOMIZE_BEGINAGROUP, 7, xtpButtonCaption, L"Mio", TRUE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nID);
        CXTPControl* pControl = Control(1);
        pControl->SetCustomIconId(7);
        pControl->SetCustomStyle(xtpButtonCaption);
        pControl->SetCustomCaption(L"Mio");
        pControl->SetBeginGroup(FALSE);
        m_pCommandBars->SetDragControl(pControl);
        const int nLayouts = m_pBar->m_nLayouts;

        EXPECT_TRUE(m_commands.Execute(c.nID));
        EXPECT_EQ(c.nCustomIconId, pControl->GetCustomIconId());
        EXPECT_EQ(c.nCustomStyle, pControl->GetCustomStyle());
        EXPECT_EQ(CString(c.customCaption), pControl->GetCustomCaption());
        EXPECT_EQ(c.bBeginGroup, pControl->GetBeginGroup());
        EXPECT_EQ(nLayouts + 1, m_pBar->m_nLayouts);
    }

    m_commands.Rename(L"Nuovo nome");
    EXPECT_EQ(CString(L"Nuovo nome"), Control(1)->GetCaption());
    EXPECT_FALSE(m_commands.Execute(XTP_ID_CUSTOMIZE_BEGINAGROUP + 1)) << "not a command of the menu";
}

TEST_F(CustomizeCommandsTest, WithoutADragControlNothingChanges)
{
    Control(0)->SetCustomStyle(xtpButtonCaption);
    const int nLayouts = m_pBar->m_nLayouts;
    for (UINT nID = XTP_ID_CUSTOMIZE_RESET; nID <= XTP_ID_CUSTOMIZE_BEGINAGROUP; ++nID) {
        m_commands.Execute(nID);
        const CRecordedCmdUI state = State(nID);
        EXPECT_EQ(-1, state.m_nEnabled) << nID;
        EXPECT_EQ(-1, state.m_nChecked) << nID;
    }
    m_commands.Rename(L"x");
    EXPECT_EQ(3, m_pBar->GetControls()->GetCount());
    EXPECT_EQ(xtpButtonCaption, Control(0)->GetCustomStyle());
    EXPECT_EQ(nLayouts, m_pBar->m_nLayouts);
}

TEST_F(CustomizeCommandsTest, DeleteRemovesTheControlAndLaysOutTheBarItWasOn)
{
    m_pCommandBars->SetDragControl(Control(1));
    const int nLayouts = m_pBar->m_nLayouts;
    EXPECT_EQ(1u, m_site.Received(XTPM_DRAGCONTROL).size());
    // The collection held the control's last reference besides the manager's.
    EXPECT_TRUE(m_commands.Execute(XTP_ID_CUSTOMIZE_DELETE));
    EXPECT_EQ(nullptr, m_pCommandBars->GetDragControl());
    EXPECT_EQ(2u, m_site.Received(XTPM_DRAGCONTROL).size());
    ASSERT_EQ(2, m_pBar->GetControls()->GetCount());
    EXPECT_EQ(103, Control(1)->GetID());
    EXPECT_EQ(nLayouts + 1, m_pBar->m_nLayouts);
}

TEST_F(CustomizeCommandsTest, StatesFollowTheDragControl)
{
    enum { Untouched = -1, Off = 0, On = 1 };
    const struct
    {
        const char* name;
        int nIndex;
        int nType;
        int nCustomIconId, nCustomStyle;
        BOOL bBeginGroup;
        UINT nID;
        int nEnabled, nChecked;
    } cases[] = {
        {"reset, nothing custom", 1, xtpControlButton, 0, 0, FALSE, XTP_ID_CUSTOMIZE_RESET, Off, Untouched},
        {"reset, custom icon", 1, xtpControlButton, 4, 0, FALSE, XTP_ID_CUSTOMIZE_RESET, On, Untouched},
        {"reset, custom style", 1, xtpControlButton, 0, 1, FALSE, XTP_ID_CUSTOMIZE_RESET, On, Untouched},
        {"reset image, none", 1, xtpControlButton, 0, 0, FALSE, XTP_ID_CUSTOMIZE_RESETBUTTONIMAGE, Off, Untouched},
        {"reset image, custom", 1, xtpControlButton, 4, 0, FALSE, XTP_ID_CUSTOMIZE_RESETBUTTONIMAGE, On, Untouched},
        {"copy image, button", 1, xtpControlButton, 0, 0, FALSE, XTP_ID_CUSTOMIZE_COPYBUTTONIMAGE, On, Untouched},
        {"copy image, edit box", 1, xtpControlEdit, 0, 0, FALSE, XTP_ID_CUSTOMIZE_COPYBUTTONIMAGE, Off, Untouched},
        {"edit image, split button", 1, xtpControlSplitButtonPopup, 0, 0, FALSE, XTP_ID_CUSTOMIZE_EDITBUTTONIMAGE, On,
         Untouched},
        {"default style", 1, xtpControlButton, 0, 0, FALSE, XTP_ID_CUSTOMIZE_DEFAULTSTYLE, Untouched, On},
        {"text only", 1, xtpControlPopup, 0, 1, FALSE, XTP_ID_CUSTOMIZE_TEXTONLY, Untouched, On},
        {"image and text, not set", 1, xtpControlPopup, 0, 1, FALSE, XTP_ID_CUSTOMIZE_IMAGEANDTEXT, Untouched, Off},
        {"style of a label", 1, xtpControlLabel, 0, 0, FALSE, XTP_ID_CUSTOMIZE_DEFAULTSTYLE, Off, Off},
        {"group, first control", 0, xtpControlButton, 0, 0, FALSE, XTP_ID_CUSTOMIZE_BEGINAGROUP, Off, Off},
        {"group, begins one", 2, xtpControlButton, 0, 0, TRUE, XTP_ID_CUSTOMIZE_BEGINAGROUP, On, On},
        {"delete", 1, xtpControlButton, 0, 0, FALSE, XTP_ID_CUSTOMIZE_DELETE, Untouched, Untouched},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CXTPControl* pControl = Control(c.nIndex);
        pControl->SetType(c.nType);
        pControl->SetCustomIconId(c.nCustomIconId);
        pControl->SetCustomStyle(c.nCustomStyle);
        pControl->SetBeginGroup(c.bBeginGroup);
        m_pCommandBars->SetDragControl(pControl);
        const CRecordedCmdUI state = State(c.nID);
        EXPECT_EQ(c.nEnabled, state.m_nEnabled);
        EXPECT_EQ(c.nChecked, state.m_nChecked);
    }

    // The name box keeps its own caption, its label; its field shows the control's.
    Control(0)->SetCustomCaption(L"Apri file");
    m_pCommandBars->SetDragControl(Control(0));
    const CRecordedCmdUI name = State(XTP_ID_CUSTOMIZE_NAME);
    EXPECT_EQ(1, name.m_nEnabled);
    EXPECT_EQ(CString(), name.m_strText);
    EXPECT_EQ(CString(L"Apri file"), m_commands.GetDragControlName());
    m_pCommandBars->SetDragControl(nullptr);
    EXPECT_EQ(CString(), m_commands.GetDragControlName());
}

TEST_F(CustomizeCommandsTest, PastingAnIconIsOfferedForAPictureOnTheClipboardAndAControlWithAnIcon)
{
    const struct
    {
        const char* name;
        BOOL bBitmap;
        int nType;
        int nEnabled;
    } cases[] = {
        {"bitmap, button", TRUE, xtpControlButton, 1},
        {"bitmap, popup", TRUE, xtpControlPopup, 1},
        {"bitmap, combo box", TRUE, xtpControlComboBox, 0},
        {"text only, button", FALSE, xtpControlButton, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(::OpenClipboard(m_site.m_hWnd));
        ::EmptyClipboard();
        if (c.bBitmap)
            ::SetClipboardData(CF_BITMAP, ::CreateBitmap(16, 16, 1, 32, nullptr));
        HGLOBAL hText = ::GlobalAlloc(GMEM_MOVEABLE, sizeof(wchar_t));
        *static_cast<wchar_t*>(::GlobalLock(hText)) = 0;
        ::GlobalUnlock(hText);
        ::SetClipboardData(CF_UNICODETEXT, hText);
        ::CloseClipboard();
        Control(1)->SetType(c.nType);
        m_pCommandBars->SetDragControl(Control(1));
        EXPECT_EQ(c.nEnabled, State(XTP_ID_CUSTOMIZE_PASTEBUTTONIMAGE).m_nEnabled);
    }
}
