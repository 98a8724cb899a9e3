// The saved form of docking layouts: the keys a layout writes, layouts read back unchanged from the registry and
// from an XML file, Purge, ShowPane after a restore, damaged or stale layouts that must fail to load and leave
// the frame's layout as it was, and sizes out of range that load bounded.
#include "DockingTestSupport.h"
#include "PropExchangeStores.h"

#include "platform/mfc/afxapp.h"
#include "platform/mfc/afxmemfile.h"
#include "support/TempFolder.h"
#include "ui/persist/PropExchangeArchive.h"
#include "ui/persist/PropExchangeRegistry.h"
#include "ui/persist/PropExchangeXml.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>

namespace
{
const LPCTSTR kCompany = L"QuarzelTestsDocking";
const LPCTSTR kApp = L"ProvaDocking";

// Every value under a key as "Sub\Key\Name=value" lines, sorted.
void DumpKey(HKEY hKey, const std::wstring& prefix, std::vector<std::wstring>* pLines)
{
    for (DWORD i = 0;; i++) {
        wchar_t szName[256];
        DWORD cchName = 256, dwType = 0;
        BYTE data[1024];
        DWORD cbData = sizeof(data);
        if (::RegEnumValueW(hKey, i, szName, &cchName, nullptr, &dwType, data, &cbData) != ERROR_SUCCESS)
            break;
        std::wstring value = dwType == REG_DWORD ? std::to_wstring(*reinterpret_cast<DWORD*>(data))
                                                 : std::wstring(reinterpret_cast<wchar_t*>(data));
        pLines->push_back(prefix + szName + L"=" + value);
    }
    for (DWORD i = 0;; i++) {
        wchar_t szName[256];
        DWORD cchName = 256;
        if (::RegEnumKeyExW(hKey, i, szName, &cchName, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        HKEY hSub = nullptr;
        ::RegOpenKeyExW(hKey, szName, 0, KEY_READ, &hSub);
        DumpKey(hSub, prefix + szName + L"\\", pLines);
        ::RegCloseKey(hSub);
    }
}

// A layout's archive form, and a layout read from one (null when Serialize raised a CArchiveException).
std::vector<BYTE> StoreLayout(CXTPDockingPaneLayout* pLayout)
{
    return StoredArchive([&](CArchive& ar) { pLayout->Serialize(ar); });
}

BOOL LoadLayout(CXTPDockingPaneLayout* pLayout, std::vector<BYTE> bytes)
{
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    try {
        pLayout->Serialize(ar);
        ar.Close();
        return TRUE;
    } catch (CArchiveException* e) {
        e->Delete();
        return FALSE;
    }
}

class DockingLayoutTest : public ::testing::Test
{
protected:
    DockingLayoutTest() { m_app.SetRegistryKey(kCompany); }
    ~DockingLayoutTest() override { AfxDelRegTreeHelper(HKEY_CURRENT_USER, CString(L"Software\\") + kCompany); }
    void SetUp() override
    {
        m_pFrame = new CDockTestFrame;
        ASSERT_TRUE(m_pFrame->CreateHidden());
        m_pManager = &m_pFrame->m_paneManager;
    }
    void TearDown() override { m_pFrame->DestroyWindow(); }

    CString SectionPath(LPCTSTR lpszLayout) const
    {
        CString strPath;
        strPath.Format(L"Software\\%s\\%s\\DockingPaneLayouts\\%s", kCompany, kApp, lpszLayout);
        return strPath;
    }
    std::wstring SavedKeys(LPCTSTR lpszLayout) const
    {
        HKEY hKey = nullptr;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, SectionPath(lpszLayout), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
            return L"(none)";
        std::vector<std::wstring> lines;
        DumpKey(hKey, L"", &lines);
        ::RegCloseKey(hKey);
        std::sort(lines.begin(), lines.end());
        std::wstring s;
        for (const std::wstring& line : lines)
            s += line + L"; ";
        return s;
    }
    std::string Tree() { return DescribeLayout(m_pManager->GetCurrentLayout()); }
    CXTPDockingPane* Create(UINT nID, int nDirection, UINT nNeighbour = 0, CRect rc = CRect(0, 0, 200, 120))
    {
        return m_pManager->CreatePane(nID, rc, nDirection, nNeighbour ? m_pManager->FindPane(nNeighbour) : nullptr);
    }
    // Docked 4000 (menu button, Italian title), tabs 4001+4002 right of it, 4003 floating, 4004 auto-hidden at
    // the top, 4005 closed.
    void BuildRichLayout()
    {
        CXTPDockingPane* pTree = Create(4000, xtpPaneDockLeft, 0, CRect(0, 0, 230, 120));
        pTree->SetTitle(L"Navigazione\nAlbero");
        pTree->SetOptions(xtpPaneHasMenuButton | xtpPaneNoCloseable);
        pTree->SetIconID(130);
        pTree->SetMinTrackSize(CSize(40, 30));
        pTree->SetMaxTrackSize(CSize(500, 600));
        Create(4001, xtpPaneDockRight, 4000)->SetTitle(L"Proprietà dell'ente");
        Create(4002, xtpPaneDockBottom)->SetTitle(L"Entità");
        m_pManager->AttachPane(m_pManager->FindPane(4002), m_pManager->FindPane(4001));
        Create(4003, xtpPaneDockBottom, 0, CRect(0, 0, 180, 90));
        m_pManager->FloatPane(m_pManager->FindPane(4003), CRect(300, 200, 520, 360));
        Create(4004, xtpPaneDockTop, 0, CRect(0, 0, 150, 70));
        m_pManager->HidePane(m_pManager->FindPane(4004));
        Create(4005, xtpPaneDockRight);
        m_pManager->ClosePane(m_pManager->FindPane(4005));
    }

    CWinApp m_app{kApp};
    CDockTestFrame* m_pFrame = nullptr;
    CXTPDockingPaneManager* m_pManager = nullptr;
};

TEST_F(DockingLayoutTest, AFreshLayoutWritesItsTwoElementsAndReadsBack)
{
    CXTPDockingPaneLayout* pLayout = m_pManager->CreateLayout();
    pLayout->Save(L"NormalLayout");
    EXPECT_EQ(L"Pane-1\\Type=4; Pane-2\\Horiz=1; Pane-2\\Pane-1=1; Pane-2\\Panes=1; Pane-2\\Type=2; "
              L"Summary\\Client=1; Summary\\Panes=2; Summary\\TopContainer=2; ",
              SavedKeys(L"NormalLayout"));
    EXPECT_TRUE(pLayout->Load(L"NormalLayout"));
    EXPECT_EQ("H[C]", DescribeLayout(pLayout));
    pLayout->InternalRelease();
}

TEST_F(DockingLayoutTest, APaneWritesTypeZeroAndItsHolders)
{
    Create(4000, xtpPaneDockLeft);
    CXTPDockingPaneLayout* pLayout = m_pManager->CreateLayout();
    m_pManager->GetLayout(pLayout);
    pLayout->Save(L"NormalLayout");
    std::wstring keys = SavedKeys(L"NormalLayout");
    CXTPDockingPane* pPane = pLayout->GetPaneList()[0].pPane;
    std::wstring strPane = L"Pane-" + std::to_wstring(pPane->m_nLayoutId) + L"\\";
    std::wstring strTabs = L"Pane-" + std::to_wstring(pPane->GetContainer()->m_nLayoutId) + L"\\";
    std::wstring strTabsNumber = std::to_wstring(pPane->GetContainer()->m_nLayoutId);
    for (const std::wstring& expected :
         {strPane + L"Type=0;", strPane + L"ID=4000;", strPane + L"DockingHolder=" + strTabsNumber + L";",
          strPane + L"LastHolder=" + strTabsNumber + L";", strPane + L"DockingCX=200;", strTabs + L"Type=1;",
          strTabs + L"Pane-1=" + std::to_wstring(pPane->m_nLayoutId) + L";", std::wstring(L"Summary\\Panes=4;")}) {
        EXPECT_NE(std::wstring::npos, keys.find(expected)) << std::string(expected.begin(), expected.end());
    }
    EXPECT_EQ(std::wstring::npos, keys.find(L"FloatingHolder")) << "a holder of 0 is the default and left out";
    pLayout->InternalRelease();
}

// The saved layout and the loaded one, pane by pane.
void ExpectSameLayouts(CXTPDockingPaneLayout* pSaved, CXTPDockingPaneLayout* pLoaded)
{
    EXPECT_EQ(DescribeLayout(pSaved), DescribeLayout(pLoaded));
    ASSERT_EQ(pSaved->GetPaneList().size(), pLoaded->GetPaneList().size());
    for (size_t i = 0; i < pSaved->GetPaneList().size(); i++) {
        const XTP_DOCKINGPANE_INFO& a = pSaved->GetPaneList()[i];
        auto it = std::find_if(pLoaded->GetPaneList().begin(), pLoaded->GetPaneList().end(),
                               [&a](const XTP_DOCKINGPANE_INFO& info) { return info.pPane->GetID() == a.pPane->GetID(); });
        ASSERT_NE(pLoaded->GetPaneList().end(), it) << a.pPane->GetID();
        const XTP_DOCKINGPANE_INFO& b = *it;
        SCOPED_TRACE(a.pPane->GetID());
        EXPECT_EQ(a.pPane->GetFullTitle(), b.pPane->GetFullTitle());
        EXPECT_EQ(a.pPane->GetOptions(), b.pPane->GetOptions());
        EXPECT_EQ(a.pPane->GetIconID(), b.pPane->GetIconID());
        EXPECT_EQ(a.pPane->GetDockingSize(), b.pPane->GetDockingSize());
        EXPECT_EQ(a.pPane->GetMinTrackSize(), b.pPane->GetMinTrackSize());
        EXPECT_EQ(a.pPane->GetMaxTrackSize(), b.pPane->GetMaxTrackSize());
        EXPECT_EQ(DescribeElement(a.pDockingHolder), DescribeElement(b.pDockingHolder));
        EXPECT_EQ(DescribeElement(a.pFloatingHolder), DescribeElement(b.pFloatingHolder));
        EXPECT_EQ(DescribeElement(a.pLastHolder), DescribeElement(b.pLastHolder));
        if (a.pPane->GetContainer()) {
            EXPECT_EQ(a.pPane->GetContainer()->GetDockingSize(), b.pPane->GetContainer()->GetDockingSize());
            EXPECT_EQ(pSaved->GetPaneDirection(a.pPane), pLoaded->GetPaneDirection(b.pPane));
        }
    }
    for (size_t i = 0; i < pSaved->GetElementList().size(); i++) {
        auto* pFrame = dynamic_cast<CXTPDockingPaneMiniWnd*>(pSaved->GetElementList()[i]);
        if (!pFrame)
            continue;
        auto* pLoadedFrame = dynamic_cast<CXTPDockingPaneMiniWnd*>(pLoaded->GetElementList()[i]);
        ASSERT_NE(nullptr, pLoadedFrame);
        EXPECT_EQ(pFrame->GetFrameRect(), pLoadedFrame->GetFrameRect());
    }
}

TEST_F(DockingLayoutTest, ARichLayoutReadsBackUnchangedFromTheRegistryXmlAndAnArchive)
{
    BuildRichLayout();
    // Empty containers stay where panes left them: the auto-hidden one's above, the floating one's below and the
    // closed one's at the right, so that each pane can go back.
    EXPECT_EQ("H[V[T(),H[T(4000),T(4001,4002*),C],T()],T()] F{H[T(4003)]} A2{T(4004)} closed(4005)", Tree());
    CXTPDockingPaneLayout* pSaved = m_pManager->CreateLayout();
    m_pManager->GetLayout(pSaved);
    pSaved->Save(L"NormalLayout");
    CTempFolder folder;
    CString strFile = folder.File(L"layouts.xml");
    ASSERT_TRUE(pSaved->SaveToFile(strFile, L"NormalLayout"));
    std::vector<BYTE> bytes = StoreLayout(pSaved);
    // A caller's own document, read in: the layout goes into one of its sections and the others stay.
    CString strDocument;
    {
        CXTPPropExchangeXMLNode px(TRUE, nullptr, L"Impostazioni");
        ASSERT_TRUE(px.LoadFromString(L"<Impostazioni><Finestra Larghezza=\"640\"/><Layout/></Impostazioni>"));
        CXTPPropExchangeSection sec(&px, L"Layout");
        pSaved->SaveToNode(dynamic_cast<CXTPPropExchangeXMLNode*>(sec.Get()));
        pSaved->SaveToNode(nullptr);
        strDocument = px.GetXML();
    }
    EXPECT_NE(-1, strDocument.Find(L"<Finestra Larghezza=\"640\"/>"));
    auto loadFromDocument = [&strDocument](CXTPDockingPaneLayout* pLayout) {
        CXTPPropExchangeXMLNode px(TRUE, nullptr, L"Impostazioni");
        if (!px.LoadFromString(strDocument))
            return FALSE;
        CXTPPropExchangeSection sec(&px, L"Layout");
        return pLayout->DoPropExchange(sec.Get());
    };

    for (int nStore : {0, 1, 2, 3}) {
        SCOPED_TRACE(nStore == 0 ? "registry" : nStore == 1 ? "xml" : nStore == 2 ? "archive" : "caller's xml");
        CXTPDockingPaneLayout* pLoaded = m_pManager->CreateLayout();
        ASSERT_TRUE(nStore == 0   ? pLoaded->Load(L"NormalLayout")
                    : nStore == 1 ? pLoaded->LoadFromFile(strFile, L"NormalLayout")
                    : nStore == 2 ? LoadLayout(pLoaded, bytes)
                                  : loadFromDocument(pLoaded));
        ExpectSameLayouts(pSaved, pLoaded);
        pLoaded->InternalRelease();
    }
    pSaved->InternalRelease();
}

// An archive's string may hold a NUL, which the registry and XML stores cannot keep: a title read from one ends
// there, so that the layout saved again reads back the same from every store.
TEST_F(DockingLayoutTest, ATitleWithANulFromAnArchiveEndsAtIt)
{
    Create(4000, xtpPaneDockLeft)->SetTitle(L"Navigazione");
    CXTPDockingPaneLayout* pSaved = m_pManager->CreateLayout();
    m_pManager->GetLayout(pSaved);
    std::vector<BYTE> bytes = StoreLayout(pSaved);
    pSaved->InternalRelease();
    const BYTE g[] = {'g', 0, 'a', 0};
    auto at = std::search(bytes.begin(), bytes.end(), std::begin(g), std::end(g));
    ASSERT_NE(bytes.end(), at);
    *at = 0;

    CXTPDockingPaneLayout* pLoaded = m_pManager->CreateLayout();
    ASSERT_TRUE(LoadLayout(pLoaded, bytes));
    ASSERT_EQ(1u, pLoaded->GetPaneList().size());
    const CString strTitle = pLoaded->GetPaneList()[0].pPane->GetFullTitle();
    EXPECT_EQ(4, strTitle.GetLength());
    EXPECT_EQ(CString(L"Navi"), strTitle);
    pLoaded->Save(L"NormalLayout");
    CXTPDockingPaneLayout* pBack = m_pManager->CreateLayout();
    ASSERT_TRUE(pBack->Load(L"NormalLayout"));
    ExpectSameLayouts(pLoaded, pBack);
    pBack->InternalRelease();
    pLoaded->InternalRelease();
}

TEST_F(DockingLayoutTest, ASmallerLayoutSavedOverALargerLeavesNoStaleSections)
{
    BuildRichLayout();
    CXTPDockingPaneLayout* pLayout = m_pManager->CreateLayout();
    m_pManager->GetLayout(pLayout);
    pLayout->Save(L"NormalLayout");
    ASSERT_NE(std::wstring::npos, SavedKeys(L"NormalLayout").find(L"Pane-9\\"));
    pLayout->InternalRelease();

    pLayout = m_pManager->CreateLayout();
    pLayout->Save(L"NormalLayout");
    std::wstring keys = SavedKeys(L"NormalLayout");
    EXPECT_EQ(std::wstring::npos, keys.find(L"Pane-3")) << std::string(keys.begin(), keys.end());
    EXPECT_TRUE(pLayout->Load(L"NormalLayout"));
    pLayout->InternalRelease();
}

TEST_F(DockingLayoutTest, ShowPaneBringsAClosedPaneBackAtItsHolderAfterARestore)
{
    Create(4000, xtpPaneDockLeft);
    Create(4001, xtpPaneDockRight);
    m_pManager->ClosePane(m_pManager->FindPane(4000));
    CXTPDockingPaneLayout* pLayout = m_pManager->CreateLayout();
    m_pManager->GetLayout(pLayout);
    pLayout->Save(L"NormalLayout");
    pLayout->InternalRelease();

    m_pManager->ResetLayout();
    pLayout = m_pManager->CreateLayout();
    ASSERT_TRUE(pLayout->Load(L"NormalLayout"));
    m_pManager->SetLayout(pLayout);
    pLayout->InternalRelease();
    EXPECT_EQ("H[T(),C,T(4001)] closed(4000)", Tree());
    m_pManager->ShowPane(4000);
    EXPECT_EQ("H[T(4000),C,T(4001)]", Tree());
}

// Every window of the thread, top-level and child.
BOOL CALLBACK AddWindow(HWND hWnd, LPARAM lParam)
{
    reinterpret_cast<std::set<HWND>*>(lParam)->insert(hWnd);
    return TRUE;
}

BOOL CALLBACK AddWindowAndChildren(HWND hWnd, LPARAM lParam)
{
    AddWindow(hWnd, lParam);
    ::EnumChildWindows(hWnd, AddWindow, lParam);
    return TRUE;
}

std::set<HWND> ThreadWindows()
{
    std::set<HWND> windows;
    ::EnumThreadWindows(::GetCurrentThreadId(), AddWindowAndChildren, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

TEST_F(DockingLayoutTest, ApplyingALayoutHandsTheWindowsOfWhatItReplacesOn)
{
    BuildRichLayout();
    m_pFrame->RecalcLayout();
    CXTPDockingPaneLayout* pSaved = m_pManager->CreateLayout();
    m_pManager->GetLayout(pSaved);
    auto containerOf = [&](UINT nID) { return m_pManager->FindPane(nID)->GetTabbedContainer()->GetSafeHwnd(); };
    auto frameOf = [&](UINT nID) { return m_pManager->FindPane(nID)->GetSite()->GetSafeHwnd(); };
    HWND hDocked = containerOf(4000), hTabs = containerOf(4001), hFloating = containerOf(4003);
    HWND hHidden = containerOf(4004), hFrame = frameOf(4003);
    std::set<HWND> before = ThreadWindows();

    // The same layout again: every window stays and goes on with the element that took its place.
    m_pManager->SetLayout(pSaved);
    m_pFrame->RecalcLayout();
    EXPECT_EQ(DescribeLayout(pSaved), Tree());
    EXPECT_EQ(hDocked, containerOf(4000));
    EXPECT_EQ(hTabs, containerOf(4002));
    EXPECT_EQ(hFloating, containerOf(4003));
    EXPECT_EQ(hHidden, containerOf(4004));
    EXPECT_EQ(hFrame, frameOf(4003));
    EXPECT_EQ(before, ThreadWindows());
    for (HWND hWnd : {hDocked, hTabs, hFloating, hHidden, hFrame})
        EXPECT_NE(nullptr, CWnd::FromHandlePermanent(hWnd));
    EXPECT_TRUE(::GetWindowLongPtrW(hDocked, GWL_STYLE) & WS_VISIBLE);
    EXPECT_FALSE(::GetWindowLongPtrW(hHidden, GWL_STYLE) & WS_VISIBLE);
    EXPECT_EQ(hFrame, ::GetParent(hFloating));

    // A smaller layout: what nothing takes is destroyed, no window is left without its element.
    m_pManager->ClosePane(m_pManager->FindPane(4003));
    m_pManager->ClosePane(m_pManager->FindPane(4001));
    m_pManager->ClosePane(m_pManager->FindPane(4002));
    CXTPDockingPaneLayout* pSmaller = m_pManager->CreateLayout();
    m_pManager->GetLayout(pSmaller);
    m_pManager->SetLayout(pSaved);
    m_pFrame->RecalcLayout();
    m_pManager->SetLayout(pSmaller);
    m_pFrame->RecalcLayout();
    EXPECT_EQ(DescribeLayout(pSmaller), Tree());
    EXPECT_FALSE(::GetWindowLongPtrW(hFrame, GWL_STYLE) & WS_VISIBLE) << "the empty floating frame stays hidden";
    std::set<HWND> after = ThreadWindows();
    EXPECT_LT(after.size(), before.size());
    for (HWND hWnd : after) {
        if (::GetParent(hWnd) == m_pFrame->GetSafeHwnd()) {
            EXPECT_NE(nullptr, CWnd::FromHandlePermanent(hWnd)) << hWnd;
        }
    }

    // And back: the floating pane's frame is a window again, the docked container shown.
    m_pManager->SetLayout(pSaved);
    m_pFrame->RecalcLayout();
    EXPECT_EQ(DescribeLayout(pSaved), Tree());
    EXPECT_TRUE(::IsWindow(frameOf(4003)));
    EXPECT_TRUE(::GetWindowLongPtrW(containerOf(4001), GWL_STYLE) & WS_VISIBLE);
    pSmaller->InternalRelease();
    pSaved->InternalRelease();
}

// The frame draws nothing while a layout is applied; after it, it is visible and has everything to draw again.
TEST_F(DockingLayoutTest, ApplyingALayoutToAShownFrameLeavesItDrawing)
{
    BuildRichLayout();
    m_pFrame->ShowWindow(SW_SHOWNA);
    m_pFrame->RecalcLayout();
    m_pFrame->UpdateWindow();
    CXTPDockingPaneLayout* pLayout = m_pManager->CreateLayout();
    m_pManager->GetLayout(pLayout);
    m_pManager->SetLayout(pLayout);
    pLayout->InternalRelease();
    EXPECT_TRUE(m_pFrame->GetStyle() & WS_VISIBLE);
    CRect rcUpdate, rcClient;
    ASSERT_TRUE(::GetUpdateRect(m_pFrame->GetSafeHwnd(), &rcUpdate, FALSE));
    m_pFrame->GetClientRect(rcClient);
    EXPECT_EQ(rcClient, rcUpdate);
    m_pFrame->ShowWindow(SW_HIDE);
}

TEST_F(DockingLayoutTest, PurgeRemovesWhatNoLongerServes)
{
    CXTPDockingPaneLayout* pLayout = m_pManager->CreateLayout();
    auto make = [&](int nType) { return m_pManager->CreateElement(nType, pLayout); };
    auto splitter = [&](CXTPDockingPaneElement* pChild, BOOL bHoriz) {
        auto* p = static_cast<CXTPDockingPaneSplitterContainer*>(make(xtpPaneTypeSplitterContainer));
        p->Init(pChild, bHoriz, m_pFrame);
        return p;
    };
    auto tabbed = [&](UINT nID) {
        auto* pPane = static_cast<CXTPDockingPane*>(make(xtpPaneTypeDockingPane));
        pPane->SetID(nID);
        auto* p = static_cast<CXTPDockingPaneTabbedContainer*>(make(xtpPaneTypeTabbedContainer));
        p->Init(pPane, m_pFrame);
        XTP_DOCKINGPANE_INFO info;
        info.pPane = pPane;
        info.pDockingHolder = info.pLastHolder = p;
        pLayout->GetPaneList().push_back(info);
        return p;
    };
    CXTPDockingPaneSplitterContainer* pTop = pLayout->GetTopContainer();
    // A chain of single children, an empty splitter, a container no pane uses, a frame without content.
    pTop->InsertChild(splitter(splitter(tabbed(4000), FALSE), FALSE));
    auto* pEmpty = splitter(make(xtpPaneTypeClient), TRUE);
    pEmpty->RemovePane(pEmpty->GetChildren().front());
    pTop->InsertChild(pEmpty);
    auto* pUnused = static_cast<CXTPDockingPaneTabbedContainer*>(make(xtpPaneTypeTabbedContainer));
    pTop->InsertChild(pUnused);
    make(xtpPaneTypeMiniWnd);
    EXPECT_EQ("H[C,V[V[T(4000)]],H[],T()] F{-}", DescribeLayout(pLayout));
    pLayout->Purge();
    EXPECT_EQ("H[C,V[T(4000)]]", DescribeLayout(pLayout));
    pLayout->InternalRelease();
}

// A role in the fixture layout of the damage table, resolved to its number after the save.
enum Role
{
    roleNone,
    roleClient,
    roleTop,
    roleDockedTabs,
    roleDockedPane,
    roleFrame,
    roleFrameSplitter,
    roleFloatingTabs,
    rolePanel,
    roleHiddenTabs
};

struct Damage
{
    const char* name;
    Role section;      // roleNone: "Summary"
    const wchar_t* key;
    int nValue;        // used when valueRole is roleNone
    Role valueRole;
    BOOL bDelete;
};

const Damage damages[] = {
    {"one_element", roleNone, L"Panes", 1, roleNone, FALSE},
    {"more_elements_than_sections", roleNone, L"Panes", 12, roleNone, FALSE},
    {"unbounded_count", roleNone, L"Panes", 0x7FFFFFFF, roleNone, FALSE},
    {"type_above_five", roleDockedTabs, L"Type", 6, roleNone, FALSE},
    {"negative_type", roleDockedTabs, L"Type", -2, roleNone, FALSE},
    {"missing_type", roleDockedPane, L"Type", 0, roleNone, TRUE},
    {"client_is_a_splitter", roleNone, L"Client", 0, roleTop, FALSE},
    {"top_is_a_tabbed_container", roleNone, L"TopContainer", 0, roleDockedTabs, FALSE},
    {"missing_top", roleNone, L"TopContainer", 0, roleNone, TRUE},
    {"direction_above_three", rolePanel, L"Direction", 4, roleNone, FALSE},
    {"negative_direction", rolePanel, L"Direction", -1, roleNone, FALSE},
    {"missing_direction", rolePanel, L"Direction", 0, roleNone, TRUE},
    {"child_with_two_parents", roleTop, L"Pane-1", 0, roleFrameSplitter, FALSE},
    {"cycle", roleFrameSplitter, L"Pane-1", 0, roleFrameSplitter, FALSE},
    {"top_inside_a_frame", roleFrame, L"TopContaner", 0, roleTop, FALSE},
    {"frame_without_top", roleFrame, L"TopContaner", 0, roleNone, TRUE},
    {"frame_top_not_a_splitter", roleFrame, L"TopContaner", 0, roleDockedTabs, FALSE},
    {"client_in_a_frame", roleFrameSplitter, L"Pane-1", 0, roleClient, FALSE},
    {"panel_child_not_tabbed", rolePanel, L"Pane-1", 0, roleFrameSplitter, FALSE},
    {"holder_not_tabbed", roleDockedPane, L"DockingHolder", 0, roleTop, FALSE},
    {"tab_not_a_pane", roleDockedTabs, L"Pane-1", 0, roleTop, FALSE},
    {"pane_without_id", roleDockedPane, L"ID", 0, roleNone, TRUE},
    {"splitter_count_unbounded", roleTop, L"Panes", 0x7FFFFFFF, roleNone, FALSE},
    {"child_never_written", roleTop, L"Pane-2", 0, roleNone, TRUE},
    {"child_out_of_range", roleTop, L"Pane-1", 99, roleNone, FALSE},
    {"last_holder_no_other_holder", roleDockedPane, L"LastHolder", 0, roleFloatingTabs, FALSE},
    {"two_panes_one_id", roleDockedPane, L"ID", 4001, roleNone, FALSE},
};

enum Store
{
    storeRegistry,
    storeXml,
    storeArchive
};

// Writes the archive form with one value damaged: the value of the key in the named section is replaced, or
// left out when the damage deletes it (a positional store has no missing keys, so what follows shifts).
class CDamagingArchive : public CXTPPropExchangeArchive
{
public:
    CDamagingArchive(CArchive& ar, const CString& strSection, const CString& strKey, int nValue, BOOL bDelete,
                     BOOL* pDone)
        : CXTPPropExchangeArchive(ar), m_strSection(strSection), m_strKey(strKey), m_nValue(nValue),
          m_bDelete(bDelete), m_pDone(pDone)
    {
    }
    BOOL ExchangeValue(LPCTSTR pszPropName, VARTYPE vtProp, void* pvProp, const void* pvDefault) override
    {
        if (m_strCurrent != m_strSection || m_strKey != pszPropName)
            return CXTPPropExchangeArchive::ExchangeValue(pszPropName, vtProp, pvProp, pvDefault);
        *m_pDone = TRUE;
        if (m_bDelete)
            return TRUE;
        int nValue = m_nValue;
        return CXTPPropExchangeArchive::ExchangeValue(pszPropName, VT_I4, &nValue, nullptr);
    }
    CXTPPropExchange* GetSection(LPCTSTR pszSection) override
    {
        auto* pSection = new CDamagingArchive(*GetArchive(nullptr), m_strSection, m_strKey, m_nValue, m_bDelete, m_pDone);
        pSection->InitSection(this);
        pSection->m_strCurrent = pszSection;
        return pSection;
    }

private:
    CString m_strSection, m_strKey, m_strCurrent;
    int m_nValue;
    BOOL m_bDelete;
    BOOL* m_pDone;
};

std::string DamageCaseName(const ::testing::TestParamInfo<std::tuple<Damage, Store>>& info)
{
    Store store = std::get<1>(info.param);
    return std::string(std::get<0>(info.param).name) +
           (store == storeRegistry ? "_registry" : store == storeXml ? "_xml" : "_archive");
}

class DamagedLayoutTest : public DockingLayoutTest, public ::testing::WithParamInterface<std::tuple<Damage, Store>>
{
protected:
    ~DamagedLayoutTest() override
    {
        if (m_pSaved)
            m_pSaved->InternalRelease();
    }
    // Docked 4000, floating 4001, auto-hidden 4002 (left panel).
    void SaveFixture()
    {
        Create(4000, xtpPaneDockLeft);
        Create(4001, xtpPaneDockRight);
        m_pManager->FloatPane(m_pManager->FindPane(4001), CRect(300, 200, 500, 350));
        Create(4002, xtpPaneDockLeft);
        m_pManager->HidePane(m_pManager->FindPane(4002));
        CXTPDockingPaneLayout* pLayout = m_pManager->CreateLayout();
        m_pManager->GetLayout(pLayout);
        pLayout->Save(L"NormalLayout");
        ASSERT_TRUE(pLayout->SaveToFile(m_folder.File(L"layout.xml"), L"NormalLayout"));
        auto number = [](CXTPDockingPaneElement* p) { return p ? p->m_nLayoutId : 0; };
        CXTPDockingPane* pDocked = static_cast<CXTPDockingPane*>(pLayout->GetPaneList()[0].pPane);
        CXTPDockingPane* pFloating = static_cast<CXTPDockingPane*>(pLayout->GetPaneList()[1].pPane);
        CXTPDockingPane* pHidden = static_cast<CXTPDockingPane*>(pLayout->GetPaneList()[2].pPane);
        m_numbers[roleClient] = number(pLayout->GetClient());
        m_numbers[roleTop] = number(pLayout->GetTopContainer());
        m_numbers[roleDockedPane] = number(pDocked);
        m_numbers[roleDockedTabs] = number(pDocked->GetContainer());
        m_numbers[roleFloatingTabs] = number(pFloating->GetContainer());
        m_numbers[roleFrameSplitter] = number(pFloating->GetContainer()->GetContainer());
        m_numbers[roleFrame] = number(pFloating->GetContainer()->GetContainer()->GetContainer());
        m_numbers[roleHiddenTabs] = number(pHidden->GetContainer());
        m_numbers[rolePanel] = number(pHidden->GetContainer()->GetContainer());
        m_pSaved = pLayout;
        for (auto& [role, nNumber] : m_numbers)
            ASSERT_GT(nNumber, 0) << role;
    }
    void Damage(CXTPPropExchange* pRoot, const ::Damage& d)
    {
        CString strSection = L"Summary";
        if (d.section != roleNone)
            strSection.Format(L"Pane-%d", m_numbers[d.section]);
        CXTPPropExchangeSection sec(pRoot, strSection);
        int nValue = d.valueRole == roleNone ? d.nValue : m_numbers[d.valueRole];
        if (d.bDelete) {
            sec->ExchangeValue(d.key, VT_I4, &nValue, &nValue);   // a value equal to its default is removed
        } else {
            sec->UseDefaultOnSave(FALSE);
            ExchangeInt(sec.Get(), d.key, nValue);
        }
    }

    // The fixture's archive form with the damage written into it.
    std::vector<BYTE> DamagedArchive(const ::Damage& d)
    {
        CString strSection = L"Summary";
        if (d.section != roleNone)
            strSection.Format(L"Pane-%d", m_numbers[d.section]);
        int nValue = d.valueRole == roleNone ? d.nValue : m_numbers[d.valueRole];
        CMemFile file;
        BOOL bDone = FALSE;
        {
            CArchive ar(&file, CArchive::store);
            CDamagingArchive px(ar, strSection, d.key, nValue, d.bDelete, &bDone);
            m_pSaved->DoPropExchange(&px);
            ar.Close();
        }
        EXPECT_TRUE(bDone) << "the damaged key was never written";
        UINT nLength = static_cast<UINT>(file.GetLength());
        BYTE* pData = file.Detach();
        std::vector<BYTE> bytes(pData, pData + nLength);
        free(pData);
        return bytes;
    }

    // Saves the damage into the fixture's saved form in one store and reads that into pLayout.
    BOOL LoadDamaged(const ::Damage& d, Store store, CXTPDockingPaneLayout* pLayout)
    {
        if (store == storeArchive)
            return LoadLayout(pLayout, DamagedArchive(d));
        if (store == storeXml) {
            CXTPPropExchangeXMLNode px(TRUE, nullptr, L"DockingPaneLayouts");
            EXPECT_TRUE(px.LoadFromFile(m_folder.File(L"layout.xml")));
            px.SetLoading(FALSE);
            {
                CXTPPropExchangeSection sec(&px, L"NormalLayout");
                Damage(sec.Get(), d);
            }
            EXPECT_TRUE(px.SaveToFile(m_folder.File(L"layout.xml")));
            return pLayout->LoadFromFile(m_folder.File(L"layout.xml"), L"NormalLayout");
        }
        HKEY hKey = m_app.GetSectionKey(L"DockingPaneLayouts");
        {
            CXTPPropExchangeRegistry px(FALSE, hKey, L"NormalLayout");
            Damage(&px, d);
        }
        ::RegCloseKey(hKey);
        return pLayout->Load(L"NormalLayout");
    }

    CTempFolder m_folder;
    std::map<Role, int> m_numbers;
    CXTPDockingPaneLayout* m_pSaved = nullptr;
};

TEST_P(DamagedLayoutTest, LoadFailsAndTheFrameKeepsItsLayout)
{
    const ::Damage& d = std::get<0>(GetParam());
    Store store = std::get<1>(GetParam());
    SaveFixture();
    std::string before = Tree();
    CXTPDockingPaneLayout* pLayout = m_pManager->CreateLayout();
    EXPECT_FALSE(LoadDamaged(d, store, pLayout));
    pLayout->InternalRelease();

    // The manager's own exchange reads into a layout of its own and applies nothing that failed.
    if (store == storeRegistry) {
        HKEY hKey = m_app.GetSectionKey(L"DockingPaneLayouts");
        CXTPPropExchangeRegistry px(TRUE, hKey, L"NormalLayout");
        EXPECT_FALSE(m_pManager->DoPropExchange(&px));
        ::RegCloseKey(hKey);
    }
    EXPECT_EQ(before, Tree());
}

INSTANTIATE_TEST_SUITE_P(Cases, DamagedLayoutTest,
                         ::testing::Combine(::testing::ValuesIn(damages), ::testing::Values(storeRegistry, storeXml, storeArchive)),
                         DamageCaseName);

// Sizes no frame can show load bounded to 0..32000, in every store.
class OutOfRangeSizeTest : public DamagedLayoutTest
{
};

TEST_P(OutOfRangeSizeTest, LoadBoundsThem)
{
    SaveFixture();
    CXTPDockingPaneLayout* pLayout = m_pManager->CreateLayout();
    ASSERT_TRUE(LoadDamaged(std::get<0>(GetParam()), std::get<1>(GetParam()), pLayout));
    CXTPDockingPane* pPane = nullptr;
    for (const XTP_DOCKINGPANE_INFO& info : pLayout->GetPaneList())
        if (info.pPane->GetID() == 4000)
            pPane = info.pPane;
    ASSERT_NE(nullptr, pPane);
    for (CSize sz : {pPane->GetMinTrackSize(), pPane->GetMaxTrackSize(), pPane->GetContainer()->GetDockingSize()})
        EXPECT_TRUE(sz.cx >= 0 && sz.cx <= 32000 && sz.cy >= 0 && sz.cy <= 32000) << sz.cx << "," << sz.cy;
    pLayout->InternalRelease();
}

// A negative width with a negative minimum made the pane a fixed child two thousand million pixels wide (and the
// frame took some 40 seconds to lay it out).
TEST_F(DockingLayoutTest, APaneSavedWithNegativeSizesIsLaidOutInsideTheFrame)
{
    const char* const xml = R"(<DockingPaneLayouts CompactMode="1"><NormalLayout>
<Summary Panes="4" TopContainer="2" Client="3"/>
<Pane-1 Type="0" ID="4000" DockingHolder="4" LastHolder="4" MinTrackX="-2147483647" MaxTrackX="-5"/>
<Pane-2 Type="2" Horiz="1" Panes="2" Pane-1="4" Pane-2="3"/>
<Pane-3 Type="4"/>
<Pane-4 Type="1" Panes="1" Pane-1="1" Selected="1" DockingCX="-2147483647"/>
</NormalLayout></DockingPaneLayouts>)";
    CTempFolder folder;
    CXTPDockingPaneLayout* pLayout = m_pManager->CreateLayout();
    ASSERT_TRUE(pLayout->LoadFromFile(folder.Write(L"layout.xml", xml), L"NormalLayout"));
    m_pManager->SetLayout(pLayout);
    pLayout->InternalRelease();
    m_pFrame->RecalcLayout();
    CRect rcFrame, rcPane = m_pManager->FindPane(4000)->GetTabbedContainer()->GetScreenRect();
    m_pFrame->GetClientRect(rcFrame);
    m_pFrame->ClientToScreen(rcFrame);
    EXPECT_TRUE(rcPane.left >= rcFrame.left && rcPane.left <= rcPane.right && rcPane.right <= rcFrame.right)
        << rcPane.left << ".." << rcPane.right;
}

const Damage outOfRangeSizes[] = {
    {"negative_docking_width", roleDockedTabs, L"DockingCX", -2147483647, roleNone, FALSE},
    {"huge_docking_width", roleDockedTabs, L"DockingCX", 2147483647, roleNone, FALSE},
    {"negative_minimum", roleDockedPane, L"MinTrackX", -2147483647, roleNone, FALSE},
    {"huge_minimum", roleDockedPane, L"MinTrackX", 2147483647, roleNone, FALSE},
    {"negative_maximum", roleDockedPane, L"MaxTrackX", -2147483647, roleNone, FALSE},
    {"huge_maximum", roleDockedPane, L"MaxTrackY", 2147483647, roleNone, FALSE},
};

INSTANTIATE_TEST_SUITE_P(Cases, OutOfRangeSizeTest,
                         ::testing::Combine(::testing::ValuesIn(outOfRangeSizes),
                                            ::testing::Values(storeRegistry, storeXml, storeArchive)),
                         DamageCaseName);

// A last holder that is neither the docking nor the floating holder is deleted by the first purge; the pane
// kept pointing at it, and showing the pane after floating the other one added it to freed memory.
TEST_F(DockingLayoutTest, ALayoutWhoseLastHolderIsNoOtherHolderIsRefused)
{
    const char* const xml = R"(<DockingPaneLayouts CompactMode="1"><NormalLayout>
<Summary Panes="6" TopContainer="2" Client="3"/>
<Pane-1 Type="0" ID="4000" LastHolder="4"/>
<Pane-2 Type="2" Panes="2" Pane-1="3" Pane-2="5"/>
<Pane-3 Type="4"/>
<Pane-4 Type="1"/>
<Pane-5 Type="1" Panes="1" Pane-1="6" Selected="6"/>
<Pane-6 Type="0" ID="4001" DockingHolder="5"/>
</NormalLayout></DockingPaneLayouts>)";
    CTempFolder folder;
    std::string before = Tree();
    CXTPDockingPaneLayout* pLayout = m_pManager->CreateLayout();
    EXPECT_FALSE(pLayout->LoadFromFile(folder.Write(L"layout.xml", xml), L"NormalLayout"));
    pLayout->InternalRelease();
    EXPECT_EQ(before, Tree());
}

// A pane whose holder hangs from nothing that is laid out could never be seen: such a layout is refused. The
// first is a saved one with the top container's count cut from 2 to 1, the pane docked on the right.
TEST_F(DockingLayoutTest, ALayoutThatHoldsAPaneOutsideEveryShownContainerIsRefused)
{
    const char* const kHead = R"(<DockingPaneLayouts CompactMode="1"><NormalLayout>
<Pane-1 Type="0" ID="4000" DockingHolder="4" LastHolder="4"/>
<Pane-3 Type="4"/>
<Pane-4 Type="1" Panes="1" Pane-1="1" Selected="1"/>
)";
    const struct
    {
        const char* pszName;
        const char* pszRest;
        BOOL bLoads;
    } cases[] = {
        {"held by the top container", R"(<Summary Panes="4" TopContainer="2" Client="3"/>
<Pane-2 Type="2" Horiz="1" Panes="2" Pane-1="3" Pane-2="4"/>)", TRUE},
        {"held by nothing", R"(<Summary Panes="4" TopContainer="2" Client="3"/>
<Pane-2 Type="2" Horiz="1" Panes="1" Pane-1="3"/>)", FALSE},
        {"held by a splitter held by nothing", R"(<Summary Panes="5" TopContainer="2" Client="3"/>
<Pane-2 Type="2" Horiz="1" Panes="1" Pane-1="3"/>
<Pane-5 Type="2" Horiz="0" Panes="1" Pane-1="4"/>)", FALSE},
    };
    CTempFolder folder;
    std::string before = Tree();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszName);
        std::string xml = std::string(kHead) + c.pszRest + "\n</NormalLayout></DockingPaneLayouts>";
        CXTPDockingPaneLayout* pLayout = m_pManager->CreateLayout();
        EXPECT_EQ(c.bLoads, pLayout->LoadFromFile(folder.Write(L"layout.xml", xml), L"NormalLayout"));
        pLayout->InternalRelease();
        EXPECT_EQ(before, Tree());
    }
}

// An archive that ends early, at any byte, is refused and the frame keeps its layout; whole, it loads.
TEST_F(DamagedLayoutTest, AnArchiveCutAtAnyByteIsRefused)
{
    SaveFixture();
    std::vector<BYTE> bytes = StoreLayout(m_pSaved);
    ASSERT_GT(bytes.size(), 100u);
    std::string before = Tree();
    for (size_t nLength = 0; nLength < bytes.size(); nLength++) {
        CXTPDockingPaneLayout* pLayout = m_pManager->CreateLayout();
        EXPECT_FALSE(LoadLayout(pLayout, std::vector<BYTE>(bytes.begin(), bytes.begin() + nLength))) << nLength;
        pLayout->InternalRelease();
    }
    CXTPDockingPaneLayout* pLayout = m_pManager->CreateLayout();
    EXPECT_TRUE(LoadLayout(pLayout, bytes));
    EXPECT_EQ(before, DescribeLayout(pLayout));
    pLayout->InternalRelease();
    EXPECT_EQ(before, Tree());
}

TEST_F(DockingLayoutTest, MissingAndTruncatedFilesFailToLoad)
{
    Create(4000, xtpPaneDockLeft);
    CXTPDockingPaneLayout* pLayout = m_pManager->CreateLayout();
    m_pManager->GetLayout(pLayout);
    CTempFolder folder;
    CString strFile = folder.File(L"layout.xml");
    ASSERT_TRUE(pLayout->SaveToFile(strFile, L"NormalLayout"));
    std::string bytes(4096, '\0');
    HANDLE hFile = ::CreateFileW(strFile, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD nRead = 0;
    ::ReadFile(hFile, &bytes[0], static_cast<DWORD>(bytes.size()), &nRead, nullptr);
    ::CloseHandle(hFile);
    bytes.resize(nRead);
    ASSERT_GT(nRead, 100u);
    CString strTruncated = folder.Write(L"truncated.xml", bytes.substr(0, bytes.size() / 2));

    EXPECT_TRUE(pLayout->LoadFromFile(strFile, L"NormalLayout"));
    EXPECT_FALSE(pLayout->LoadFromFile(strTruncated, L"NormalLayout"));
    EXPECT_FALSE(pLayout->LoadFromFile(folder.File(L"assente.xml"), L"NormalLayout"));
    EXPECT_FALSE(pLayout->LoadFromFile(strFile, L"AltroLayout"));
    EXPECT_FALSE(pLayout->Load(L"MaiSalvato"));
    pLayout->InternalRelease();
}
}

namespace
{
// The damage table's own road with harmless changes: the fixture loads, so a failure there is the damage's.
TEST_F(DamagedLayoutTest, TheFixtureLoadsWhenItsValuesAreRewrittenUnchanged)
{
    SaveFixture();
    HKEY hKey = m_app.GetSectionKey(L"DockingPaneLayouts");
    {
        CXTPPropExchangeRegistry px(FALSE, hKey, L"NormalLayout");
        Damage(&px, ::Damage{"same_count", roleNone, L"Panes", static_cast<int>(m_pManager->GetElementList()->size()), roleNone, FALSE});
        Damage(&px, ::Damage{"same_top", roleNone, L"TopContainer", 0, roleTop, FALSE});
        Damage(&px, ::Damage{"same_side", rolePanel, L"Direction", 0, roleNone, FALSE});
    }
    ::RegCloseKey(hKey);
    CXTPDockingPaneLayout* pLayout = m_pManager->CreateLayout();
    EXPECT_TRUE(pLayout->Load(L"NormalLayout"));
    EXPECT_EQ(Tree(), DescribeLayout(pLayout));
    for (const ::Damage& d : {::Damage{"same_top", roleNone, L"TopContainer", 0, roleTop, FALSE},
                              ::Damage{"same_side", rolePanel, L"Direction", 0, roleNone, FALSE}}) {
        SCOPED_TRACE(d.name);
        EXPECT_TRUE(LoadLayout(pLayout, DamagedArchive(d)));
        EXPECT_EQ(Tree(), DescribeLayout(pLayout));
    }
    pLayout->InternalRelease();
}
}
