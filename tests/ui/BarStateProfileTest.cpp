#include "platform/mfc/afxwin.h"
#include "ui/commandbars/XTPDockState.h"
#include "ui/commandbars/XTPReBarState.h"
#include "ui/persist/PropExchangeRegistry.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace
{
const LPCTSTR kCompany = L"QuarzelTestsBarState";
const LPCTSTR kProfile = L"CommandBars";

class BarStateProfileTest : public ::testing::Test
{
protected:
    BarStateProfileTest() { m_app.SetRegistryKey(kCompany); }
    ~BarStateProfileTest() override { AfxDelRegTreeHelper(HKEY_CURRENT_USER, CString(L"Software\\") + kCompany); }

    // The value names of a section.
    std::set<std::wstring> ValueNames(LPCTSTR lpszSection)
    {
        std::set<std::wstring> names;
        HKEY hKey = m_app.GetSectionKey(lpszSection, KEY_READ);
        if (!hKey)
            return names;
        WCHAR szName[256];
        for (DWORD i = 0;; ++i)
        {
            DWORD cchName = 256;
            if (::RegEnumValueW(hKey, i, szName, &cchName, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            names.insert(szName);
        }
        ::RegCloseKey(hKey);
        return names;
    }
    // A state whose screen is 1280 x 1024 whatever the display.
    static void SetScreen(CXTPDockState& state)
    {
        state.m_rectDevice.SetRect(0, 0, 1280, 1024);
        state.m_rectClip.SetRect(0, 0, 1280 - 32, 1024 - 32);
    }

    CWinApp m_app {L"ProvaBarre"};
};
}

TEST_F(BarStateProfileTest, ABarWritesOnlyWhatDiffersFromTheDefaultsAndReadsBackTheSame)
{
    CXTPBarInfo plain;
    plain.m_nBarID = 59392;
    plain.SaveState(kProfile, 0);
    const std::set<std::wstring> always = {L"BarID",          L"MRUDockID",        L"MRUDockLeftPos",
                                           L"MRUDockTopPos",  L"MRUDockRightPos",  L"MRUDockBottomPos",
                                           L"MRUFloatXPos",   L"MRUFloatYPos",     L"DialogBar"};
    EXPECT_EQ(always, ValueNames(L"CommandBars-Bar0"));

    CXTPBarInfo moved;
    moved.m_nBarID = 2;
    moved.m_bVisible = FALSE;
    moved.m_bFloating = TRUE;
    moved.m_pointPos = CPoint(300, 200);
    moved.m_nMRUWidth = 120;
    moved.m_uMRUDockPosition = 2;
    moved.m_rectMRUDockPos.SetRect(0, 40, 26, 300);
    moved.m_ptMRUFloatPos = CPoint(300, 200);
    moved.SaveState(kProfile, 0);   // over the first: no stale key stays
    std::set<std::wstring> names = always;
    names.insert({L"Visible", L"Floating", L"XPos", L"YPos", L"MRUWidth"});
    EXPECT_EQ(names, ValueNames(L"CommandBars-Bar0"));

    CXTPDockState state;
    state.m_arrBarInfo.push_back(std::make_unique<CXTPBarInfo>(moved));
    state.SaveState(kProfile);
    CXTPDockState loaded;
    loaded.LoadState(kProfile);
    ASSERT_EQ(1u, loaded.m_arrBarInfo.size());
    const CXTPBarInfo& info = *loaded.m_arrBarInfo[0];
    EXPECT_FALSE(loaded.IsScaling());
    EXPECT_EQ(2u, info.m_nBarID);
    EXPECT_FALSE(info.m_bVisible);
    EXPECT_TRUE(info.m_bFloating);
    EXPECT_EQ(CPoint(300, 200), info.m_pointPos);
    EXPECT_EQ(120, info.m_nMRUWidth);
    EXPECT_EQ(2, info.m_uMRUDockPosition);
    EXPECT_EQ(CRect(0, 40, 26, 300), info.m_rectMRUDockPos);
}

TEST_F(BarStateProfileTest, PositionsFollowTheScreenSizeAndStayOnTheScreen)
{
    struct Case
    {
        const char* pszName;
        int nScreenCX, nScreenCY;
        CPoint ptStored;
        CPoint ptLoaded;
        BOOL bScaling;
    } cases[] = {
        {"saved on 1024 x 768", 1024, 768, {512, 384}, {640, 512}, TRUE},
        {"right of the clip rectangle", 1024, 768, {1020, 100}, {1248, 133}, TRUE},
        {"the same screen", 1280, 1024, {512, 384}, {512, 384}, FALSE},
        {"no screen size stored", 0, 0, {512, 384}, {512, 384}, FALSE},
        {"a width of 0", 0, 768, {512, 384}, {512, 384}, FALSE},
        {"off the screen without scaling", 1280, 1024, {5000, 4000}, {1248, 992}, FALSE},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.pszName);
        m_app.WriteProfileInt(L"CommandBars-Summary", L"Bars", 1);
        m_app.WriteProfileInt(L"CommandBars-Summary", L"ScreenCX", c.nScreenCX);
        m_app.WriteProfileInt(L"CommandBars-Summary", L"ScreenCY", c.nScreenCY);
        m_app.WriteProfileInt(L"CommandBars-Bar0", L"XPos", c.ptStored.x);
        m_app.WriteProfileInt(L"CommandBars-Bar0", L"YPos", c.ptStored.y);
        m_app.WriteProfileInt(L"CommandBars-Bar0", L"MRUFloatXPos", c.ptStored.x);
        m_app.WriteProfileInt(L"CommandBars-Bar0", L"MRUFloatYPos", c.ptStored.y);
        m_app.WriteProfileInt(L"CommandBars-Bar0", L"MRUDockLeftPos", c.ptStored.x);
        m_app.WriteProfileInt(L"CommandBars-Bar0", L"MRUDockTopPos", c.ptStored.y);
        m_app.WriteProfileInt(L"CommandBars-Bar0", L"MRUDockRightPos", c.ptStored.x + 100);
        m_app.WriteProfileInt(L"CommandBars-Bar0", L"MRUDockBottomPos", c.ptStored.y + 26);
        CXTPDockState state;
        SetScreen(state);
        state.LoadState(kProfile);
        EXPECT_EQ(c.bScaling, state.IsScaling());
        ASSERT_EQ(1u, state.m_arrBarInfo.size());
        EXPECT_EQ(c.ptLoaded, state.m_arrBarInfo[0]->m_pointPos);
        EXPECT_EQ(c.ptLoaded, state.m_arrBarInfo[0]->m_ptMRUFloatPos);
        // The docked rectangle moves and keeps its size.
        EXPECT_EQ(CRect(c.ptLoaded, CSize(100, 26)), state.m_arrBarInfo[0]->m_rectMRUDockPos);
    }
}

TEST_F(BarStateProfileTest, DamagedSummariesAndRowsLoadAsNothing)
{
    struct Case
    {
        const char* pszName;
        int nBars;
        size_t nRecords;
    } cases[] = {{"no bars", 0, 0}, {"sections missing", 2, 2}, {"a huge count", 0x7FFFFFFF, 0}, {"negative", -1, 0}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.pszName);
        m_app.WriteProfileInt(L"CommandBars-Summary", L"Bars", c.nBars);
        CXTPDockState state;
        state.LoadState(kProfile);
        ASSERT_EQ(c.nRecords, state.m_arrBarInfo.size());
        for (const auto& pInfo : state.m_arrBarInfo)
        {
            EXPECT_EQ(0u, pInfo->m_nBarID);
            EXPECT_TRUE(pInfo->m_bVisible);
            EXPECT_EQ(CPoint(-1, -1), pInfo->m_pointPos);
        }
    }
    m_app.WriteProfileInt(L"CommandBars-Summary", L"Bars", 1);
    m_app.WriteProfileInt(L"CommandBars-Bar0", L"MRUDockID", 9);
    CXTPDockState state;
    state.LoadState(kProfile);
    EXPECT_EQ(0, state.m_arrBarInfo[0]->m_uMRUDockPosition);

    // Rows: a 0 after a 0 is not written; a dock bar of one entry keeps an empty section.
    EXPECT_EQ((std::vector<DWORD>{0, 1, 0, 2, 0}), CXTPDockState::CompactEntries({0, 1, 0, 0, 2, 0, 0}));
    EXPECT_EQ((std::vector<DWORD>{0}), CXTPDockState::CompactEntries({0, 0}));
    CXTPDockState::SaveDockBar(kProfile, 0, {0, 1, 0, 0, 2, 0});
    EXPECT_EQ((std::vector<DWORD>{0, 1, 0, 2, 0}), CXTPDockState::LoadDockBar(kProfile, 0));
    CXTPDockState::SaveDockBar(kProfile, 0, {0});
    EXPECT_TRUE(ValueNames(L"CommandBars-DockBar0").empty());
    EXPECT_TRUE(CXTPDockState::LoadDockBar(kProfile, 0).empty());
    m_app.WriteProfileInt(L"CommandBars-DockBar1", L"Bars", 50000000);
    EXPECT_TRUE(CXTPDockState::LoadDockBar(kProfile, 1).empty());
}

TEST(ReBarStateTest, StateLinesRoundTripAndDamagedLinesArePassedOver)
{
    const CString strState = CXTPReBarState::Format({{0xE800, 300, 0x00000081}, {0x0102, 150, 0x00000008}});
    EXPECT_EQ(L"wID=E800, cx=300, fStyle=00000081\nwID=0102, cx=150, fStyle=00000008", std::wstring(strState));

    struct ParseCase
    {
        const wchar_t* pszLine;
        BOOL bParses;
    } parses[] = {{L"wID=E800, cx=300, fStyle=00000081", TRUE}, {L"wID=E800, cx=300", FALSE},
                  {L"garbage", FALSE}, {L"", FALSE}, {L"wID=E800, cx=300, fStyle=00000081 trailing", FALSE}};
    for (const ParseCase& c : parses)
    {
        SCOPED_TRACE(testing::Message() << std::wstring(c.pszLine).size());
        XTP_REBAR_BANDSTATE state = {};
        EXPECT_EQ(c.bParses, CXTPReBarState::ParseLine(c.pszLine, state));
    }

    // Bands 0xE800, 0x0101, 0x0102 in that order; the state puts 0x0102 first, names a band that is gone and has
    // a damaged line.
    const CString strStored = L"wID=0102, cx=150, fStyle=00000008\nwID=0999, cx=10, fStyle=00000000\n#\n";
    std::vector<CXTPReBarState::MOVE> arrMoves = CXTPReBarState::PlanLoad(strStored, {0xE800, 0x0101, 0x0102});
    ASSERT_EQ(1u, arrMoves.size());
    EXPECT_EQ(2, arrMoves[0].nFrom);
    EXPECT_EQ(0, arrMoves[0].nTo);
    EXPECT_EQ(150, arrMoves[0].state.cx);

    arrMoves = CXTPReBarState::PlanLoad(strState, {0x0102, 0xE800});
    ASSERT_EQ(2u, arrMoves.size());
    EXPECT_EQ(1, arrMoves[0].nFrom);
    EXPECT_EQ(1, arrMoves[1].nFrom);   // 0x0102 is second after the first move
    EXPECT_TRUE(CXTPReBarState::PlanLoad(L"", {0xE800}).empty());

    // Break and hidden come from the stored style only.
    EXPECT_EQ(0x88u, CXTPReBarState::MergeStyle(0x89, 0x08));
    EXPECT_EQ(0x80u, CXTPReBarState::MergeStyle(0x89, 0x00));
}
