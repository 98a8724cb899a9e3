#include "ui/commandbars/XTPShortcutManager.h"

#include "platform/mfc/afxapp.h"
#include "platform/mfc/afxframe.h"
#include "ui/persist/PropExchangeRegistry.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <utility>

// Entries compare by their fields (the padding byte is not theirs).
static bool operator==(const ACCEL& a, const ACCEL& b)
{
    return a.fVirt == b.fVirt && a.key == b.key && a.cmd == b.cmd;
}

namespace
{
const BYTE kVirt = FVIRTKEY;
const BYTE kCtrl = FVIRTKEY | FCONTROL;
const BYTE kShift = FVIRTKEY | FSHIFT;
const BYTE kAlt = FVIRTKEY | FALT;

ACCEL Accel(BYTE fVirt, WORD key, WORD cmd = 1)
{
    ACCEL accel = {};
    accel.fVirt = fVirt;
    accel.key = key;
    accel.cmd = cmd;
    return accel;
}


// Layouts as a test sets them up: characters per layout and key, key names per scan code.
class CFakeLayouts : public CXTPKeyboardLayouts
{
public:
    UINT VirtualKeyToChar(UINT nVirtKey) const override { return m_noCharKeys.count(nVirtKey) ? 0 : nVirtKey; }
    UINT VirtualKeyToScanCode(UINT nVirtKey) const override { return nVirtKey + 0x100; }
    CString GetKeyNameText(LONG lParam) const override
    {
        m_lastLParam = lParam;
        auto it = m_names.find(lParam);
        return it == m_names.end() ? CString() : CString(it->second);
    }
    std::vector<HKL> GetInstalledLayouts() const override { return m_layouts; }
    int TranslateKey(UINT nVirtKey, HKL hLayout, CString& strChars) const override
    {
        auto it = m_chars.find({hLayout, nVirtKey});
        strChars = it == m_chars.end() ? CString() : CString(it->second);
        return strChars.GetLength();
    }

    std::set<UINT> m_noCharKeys;
    std::map<LONG, LPCTSTR> m_names;
    std::vector<HKL> m_layouts;
    std::map<std::pair<HKL, UINT>, LPCTSTR> m_chars;
    mutable LONG m_lastLParam = 0;
};

HKL Layout(INT_PTR nId) { return reinterpret_cast<HKL>(nId); }

// A frame (never created) with its own accelerators, as LoadFrame leaves them.
class CAccelFrame : public CFrameWnd
{
public:
    explicit CAccelFrame(const std::vector<ACCEL>& arrEntries)
    {
        m_hAccelTable = CXTPShortcutManager::CreateTable(arrEntries);
    }
    ~CAccelFrame() override
    {
        if (m_hAccelTable)
            ::DestroyAcceleratorTable(m_hAccelTable);
    }
};
} // namespace

TEST(ShortcutManagerTest, FormatsModifiersInTheirOrderAndRanksTheEntry)
{
    struct Case
    {
        BYTE fVirt;
        WORD key;
        LPCTSTR lpszText;
        int nRank;
    } cases[] = {
        {FVIRTKEY | FCONTROL | FSHIFT, VK_F5, L"Ctrl+Shift+F5", 3},
        {FVIRTKEY | FALT | FSHIFT | FCONTROL, 'K', L"Ctrl+Shift+Alt+K", 3},
        {FVIRTKEY | FALT | FSHIFT, VK_RETURN, L"Shift+Alt+Enter", 2},
        {kShift, VK_DELETE, L"Shift+Del", 1},
        {kVirt, VK_NUMPAD5, L"Num 5", 4},
        {kVirt, '7', L"7", 4},
        {FCONTROL, 'q', L"Ctrl+q", 3},            // a character, not a key
        {FCONTROL, VK_ESCAPE, L"Ctrl+", 3},        // Escape and Tab as characters add nothing
        {0, VK_TAB, L"", 4},
        {kCtrl, VK_CANCEL, L"Ctrl+Break", 3},      // the name already says Ctrl
        {kCtrl | FALT, 0, L"Ctrl+Alt", 3},         // no key: no trailing "+"
        {kAlt, VK_OEM_8, L"Alt+", 2},              // a key the system does not name
    };
    CFakeLayouts layouts;
    CXTPShortcutManager manager;
    manager.SetKeyboardLayouts(&layouts);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << int(c.fVirt) << " " << c.key);
        ACCEL accel = Accel(c.fVirt, c.key);
        int nRank = -1;
        EXPECT_EQ(CString(c.lpszText), manager.FormatShortcut(&accel, &nRank));
        EXPECT_EQ(c.nRank, nRank);
    }
    int nRank = -1;
    EXPECT_TRUE(manager.FormatShortcut(nullptr, &nRank).IsEmpty());
    EXPECT_EQ(0, nRank);
}

TEST(ShortcutManagerTest, KeysOutsideTheTableTakeTheSystemNameInSentenceCase)
{
    CFakeLayouts layouts;
    // Italian keyboard names as the system gives them, by scan code (the fake's is key + 0x100).
    layouts.m_names[((VK_OEM_1 + 0x100) << 16) | 1] = L"\u00C8";
    layouts.m_names[((VK_OEM_PLUS + 0x100) << 16) | 1] = L"PI\u00D9";
    layouts.m_names[((VK_OEM_102 + 0x100) << 16) | 1] = L"<>";
    layouts.m_names[((VK_RCONTROL + 0x100) << 16) | 1] = L"CTRL DESTRO";
    CXTPShortcutManager manager;
    manager.SetKeyboardLayouts(&layouts);

    EXPECT_EQ(CString(L"\u00C8"), manager.GetKeyName(VK_OEM_1));
    EXPECT_EQ(CString(L"Pi\u00F9"), manager.GetKeyName(VK_OEM_PLUS));
    EXPECT_EQ(CString(L"<>"), manager.GetKeyName(VK_OEM_102));
    EXPECT_EQ(CString(L"Ctrl destro"), manager.GetKeyName(VK_RCONTROL));
    ACCEL accel = Accel(kCtrl | FSHIFT, VK_OEM_PLUS);
    EXPECT_EQ(CString(L"Ctrl+Shift+Pi\u00F9"), manager.FormatShortcut(&accel));
    // The table's own names never ask the system.
    layouts.m_lastLParam = 0;
    EXPECT_EQ(CString(L"Page Down"), manager.GetKeyName(VK_NEXT));
    EXPECT_EQ(CString(L"Q"), manager.GetKeyName('Q'));
    EXPECT_EQ(0, layouts.m_lastLParam);
}

TEST(ShortcutManagerTest, ShortcutTextPrefersNoModifierThenCtrlAltShiftAndKeepsAGivenEntry)
{
    CXTPShortcutManager manager;
    manager.SetAccelerators(CXTPShortcutManager::CreateTable({
        Accel(kShift, VK_F2, 100), Accel(kAlt, 'K', 100), Accel(kCtrl, 'K', 100), Accel(kVirt, VK_F2, 100),
        Accel(kShift, 'B', 200), Accel(kAlt, 'A', 200),
        Accel(kCtrl, 'A', 300), Accel(kCtrl, 'B', 300),
    }));
    struct Case
    {
        UINT nCmd;
        LPCTSTR lpszGiven;
        LPCTSTR lpszExpected;
        BOOL bFound;
    } cases[] = {
        {100, L"", L"F2", TRUE},
        {100, L"Ctrl+K", L"Ctrl+K", TRUE},      // already one of its entries
        {100, L"Ctrl+Z", L"F2", TRUE},          // a stale text is replaced
        {200, L"", L"Alt+A", TRUE},
        {300, L"", L"Ctrl+A", TRUE},            // first of equal ranks
        {400, L"Ctrl+N", L"", FALSE},           // no entry empties the text
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.nCmd << " " << c.lpszGiven);
        CString strText = c.lpszGiven;
        EXPECT_EQ(c.bFound, manager.FindShortcutText(c.nCmd, strText));
        EXPECT_EQ(CString(c.lpszExpected), strText);
    }
}

TEST(ShortcutManagerTest, WithoutItsOwnTablesTheTextsComeFromTheFrame)
{
    CAccelFrame frame({Accel(kCtrl | FSHIFT, VK_F5, 100)});
    CXTPShortcutManager manager(&frame);
    CString strText;
    EXPECT_TRUE(manager.FindShortcutText(100, strText));
    EXPECT_EQ(CString(L"Ctrl+Shift+F5"), strText);

    // With a reset table but an emptied current one, the frame's table is not consulted.
    manager.SetAccelerators(CXTPShortcutManager::CreateTable({Accel(kVirt, VK_F6, 100)}));
    manager.SetAcceleratorTable(nullptr, 0);
    EXPECT_FALSE(manager.FindShortcutText(100, strText));
    EXPECT_TRUE(strText.IsEmpty());

    manager.Reset();
    EXPECT_TRUE(manager.FindShortcutText(100, strText));
    EXPECT_EQ(CString(L"F6"), strText);
}

TEST(ShortcutManagerTest, PlainEscapeIsAShortcutOnlyWhenAllowed)
{
    struct Case
    {
        BYTE fVirt;
        WORD key;
        BOOL bAllowEscape;
        BOOL bAllowed;
    } cases[] = {
        {kVirt, VK_ESCAPE, FALSE, FALSE},
        {kVirt, VK_ESCAPE, TRUE, TRUE},
        {kVirt | FNOINVERT, VK_ESCAPE, FALSE, FALSE},
        {kShift, VK_ESCAPE, FALSE, TRUE},
        {kCtrl, VK_ESCAPE, FALSE, TRUE},
        {kAlt, VK_ESCAPE, FALSE, TRUE},
        {0, VK_ESCAPE, FALSE, TRUE},   // the character 27, not the key
        {kVirt, VK_F3, FALSE, TRUE},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << int(c.fVirt) << " " << c.key << " " << c.bAllowEscape);
        CXTPShortcutManager manager;
        manager.m_bAllowEscapeShortcut = c.bAllowEscape;
        EXPECT_EQ(c.bAllowed, manager.IsAllowedShortcut(Accel(c.fVirt, c.key)));
    }
}

TEST(ShortcutManagerTest, AddShortcutReplacesTheSameCombinationOrAppends)
{
    const std::vector<ACCEL> start = {Accel(kCtrl | FNOINVERT, 'S', 10), Accel(FCONTROL, 'P', 11),
                                      Accel(kCtrl, 'P', 12), Accel(kCtrl, 'P', 13)};
    struct Case
    {
        const char* pszName;
        BYTE fVirt;
        WORD key;
        WORD cmd;
        std::vector<ACCEL> expected;
    } cases[] = {
        {"same key and modifiers, FNOINVERT aside", FCONTROL, 'S', 20,
         {Accel(kCtrl, 'S', 20), start[1], start[2], start[3]}},
        {"the first virtual-key entry only", FCONTROL, 'P', 21, {start[0], start[1], Accel(kCtrl, 'P', 21), start[3]}},
        {"other modifiers", FCONTROL | FSHIFT, 'S', 22,
         {start[0], start[1], start[2], start[3], Accel(kCtrl | FSHIFT, 'S', 22)}},
        {"into an empty table", FALT, VK_F4, 23, {Accel(kAlt, VK_F4, 23)}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.pszName);
        CXTPShortcutManager manager;
        if (c.expected.size() > 1)
            manager.SetAcceleratorTable(start.data(), static_cast<int>(start.size()));
        manager.AddShortcut(c.fVirt, c.key, c.cmd);
        EXPECT_EQ(c.expected, CXTPShortcutManager::GetEntries(manager.GetAcceleratorTable()));
    }
}

TEST(ShortcutManagerTest, MenuLettersMatchKeysInEveryInstalledLayout)
{
    const HKL hUs = Layout(0x04090409);
    const HKL hIt = Layout(0x04100410);
    struct Case
    {
        const char* pszName;
        TCHAR chAccel;
        UINT nVirtKey;
        std::vector<HKL> layouts;
        BOOL bMatch;
    } cases[] = {
        {"same letter", L'S', 'S', {hUs}, TRUE},
        {"lower-case caption", L's', 'S', {hUs}, TRUE},
        {"key without character", L'p', VK_F1, {hUs, hIt}, FALSE},
        {"other letter", L'T', 'S', {hUs, hIt}, FALSE},
        {"accented letter, one layout", L'\u00E8', VK_OEM_1, {hIt}, TRUE},
        // "&?" of the help menu: Shift is held, and the key gives "?" in the one layout there is.
        {"shifted character, one layout", L'?', VK_OEM_4, {hIt}, TRUE},
        {"shifted character, another key", L'?', VK_OEM_1, {hIt}, FALSE},
        {"accented letter, second layout", L'\u00E8', VK_OEM_1, {hUs, hIt}, TRUE},
        {"upper-case accented caption", L'\u00C8', VK_OEM_1, {hUs, hIt}, TRUE},
        {"dead key gives two characters", L'^', VK_OEM_6, {hUs, hIt}, FALSE},
    };
    CFakeLayouts layouts;
    layouts.m_noCharKeys.insert(VK_F1);
    layouts.m_chars[{hUs, VK_OEM_1}] = L";";
    layouts.m_chars[{hIt, VK_OEM_1}] = L"\u00E8";
    layouts.m_chars[{hIt, VK_OEM_6}] = L"^^";
    layouts.m_chars[{hIt, VK_OEM_4}] = L"?";
    CXTPShortcutManager manager;
    manager.SetKeyboardLayouts(&layouts);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.pszName);
        layouts.m_layouts = c.layouts;
        EXPECT_EQ(c.bMatch, manager.CompareAccelKey(c.chAccel, c.nVirtKey));
    }
}

namespace
{
const LPCTSTR kCompany = L"QuarzelTestsShortcuts";
const LPCTSTR kSection = L"CommandBars";

class ShortcutProfileTest : public ::testing::Test
{
protected:
    ShortcutProfileTest() { m_app.SetRegistryKey(kCompany); }
    ~ShortcutProfileTest() override { AfxDelRegTreeHelper(HKEY_CURRENT_USER, CString(L"Software\\") + kCompany); }

    void StoreValue(const std::vector<BYTE>& arrBytes)
    {
        m_app.WriteProfileBinary(kSection, L"Accelerators", const_cast<BYTE*>(arrBytes.data()),
                                 static_cast<UINT>(arrBytes.size()));
    }
    std::vector<BYTE> StoredValue()
    {
        LPBYTE pData = nullptr;
        UINT nBytes = 0;
        if (!m_app.GetProfileBinary(kSection, L"Accelerators", &pData, &nBytes))
            return {};
        std::vector<BYTE> arrBytes(pData, pData + nBytes);
        delete[] pData;
        return arrBytes;
    }

    CWinApp m_app {L"ProvaScorciatoie"};
    const std::vector<ACCEL> m_defaults = {Accel(kCtrl, 'N', 0xE100), Accel(kCtrl | FSHIFT, VK_F5, 0x8123)};
};
} // namespace

TEST_F(ShortcutProfileTest, SavesTheBareSixByteRecordsAndLoadsThemBack)
{
    CXTPShortcutManager manager;
    manager.SetAccelerators(CXTPShortcutManager::CreateTable(m_defaults));
    manager.SaveShortcuts(kSection);
    const std::vector<BYTE> expected = {kCtrl, 0, 'N', 0, 0x00, 0xE1, kCtrl | FSHIFT, 0, VK_F5, 0, 0x23, 0x81};
    EXPECT_EQ(expected, StoredValue());

    CXTPShortcutManager restarted;
    restarted.SetAccelerators(CXTPShortcutManager::CreateTable({Accel(kVirt, VK_F9, 7)}));
    restarted.LoadShortcuts(kSection);
    EXPECT_EQ(m_defaults, CXTPShortcutManager::GetEntries(restarted.GetAcceleratorTable()));
}

TEST_F(ShortcutProfileTest, DamagedValuesKeepTheWholeEntriesOrTheTableInUse)
{
    const std::vector<BYTE> record = {kAlt, 0, 'X', 0, 42, 0};
    struct Case
    {
        const char* pszName;
        std::vector<BYTE> value;
        std::vector<ACCEL> expected;
    } cases[] = {
        {"empty", {}, m_defaults},
        {"five bytes", {kAlt, 0, 'X', 0, 42}, m_defaults},
        {"one entry and a byte", {kAlt, 0, 'X', 0, 42, 0, 9}, {Accel(kAlt, 'X', 42)}},
        {"two entries and five bytes", {kAlt, 0, 'X', 0, 42, 0, kVirt, 0, VK_F3, 0, 43, 0, 1, 2, 3, 4, 5},
         {Accel(kAlt, 'X', 42), Accel(kVirt, VK_F3, 43)}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.pszName);
        StoreValue(c.value);
        CXTPShortcutManager manager;
        manager.SetAccelerators(CXTPShortcutManager::CreateTable(m_defaults));
        manager.LoadShortcuts(kSection);
        EXPECT_EQ(c.expected, CXTPShortcutManager::GetEntries(manager.GetAcceleratorTable()));
    }
}

TEST_F(ShortcutProfileTest, WithoutATableOfItsOwnNothingIsLoadedOrSaved)
{
    const std::vector<BYTE> stored = {kAlt, 0, 'X', 0, 42, 0};
    StoreValue(stored);
    CAccelFrame frame(m_defaults);
    CXTPShortcutManager manager(&frame);
    manager.LoadShortcuts(kSection);
    EXPECT_EQ(nullptr, manager.GetAcceleratorTable());
    CString strText;
    EXPECT_TRUE(manager.FindShortcutText(0xE100, strText));
    EXPECT_EQ(CString(L"Ctrl+N"), strText);

    manager.SetAcceleratorTable(m_defaults.data(), static_cast<int>(m_defaults.size()));
    manager.SaveShortcuts(kSection);
    EXPECT_EQ(stored, StoredValue());
}
