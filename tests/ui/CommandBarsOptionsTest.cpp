// The command-bar options through the registry store: which values a stored schema brings back, the menu part
// alone under the user-options flag, the command sets' binary form (damaged ones too), and the keyboard cues as
// the system reports them.
#include "PropExchangeStores.h"

#include "ui/commandbars/XTPCommandBars.h"

#include <gtest/gtest.h>

namespace
{
void SetDword(HKEY hKey, LPCTSTR lpszName, DWORD dwValue)
{
    ::RegSetValueExW(hKey, lpszName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwValue), sizeof(dwValue));
}

void SetBinary(HKEY hKey, LPCTSTR lpszName, const std::vector<BYTE>& bytes)
{
    ::RegSetValueExW(hKey, lpszName, 0, REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size()));
}

std::vector<BYTE> QueryBinary(HKEY hKey, LPCTSTR lpszName)
{
    DWORD dwType = 0, nBytes = 0;
    if (::RegQueryValueExW(hKey, lpszName, nullptr, &dwType, nullptr, &nBytes) != ERROR_SUCCESS)
        return {};
    std::vector<BYTE> bytes(nBytes);
    ::RegQueryValueExW(hKey, lpszName, nullptr, &dwType, bytes.data(), &nBytes);
    return bytes;
}

BOOL HasValue(HKEY hKey, LPCTSTR lpszName)
{
    return ::RegQueryValueExW(hKey, lpszName, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

class CFixedSettings : public CXTPSystemSettings
{
public:
    BOOL GetFlag(UINT nAction, BOOL& bValue) const override
    {
        auto it = m_flags.find(nAction);
        if (it == m_flags.end())
            return FALSE;
        bValue = it->second;
        return TRUE;
    }
    std::map<UINT, BOOL> m_flags;
};
}

TEST(CommandBarsOptions, StoredSchemaDecidesWhichValuesLoad)
{
    struct Case
    {
        DWORD dwSchema;
        bool bUsedLoaded, bLaterFlagsLoaded, bCuesLoaded;
    } cases[] = {
        {7, false, false, false},
        {8, true, true, false},
        {9, true, true, true},
    };
    for (const Case& c : cases) {
        CRegistryBacking backing;
        HKEY hKey = nullptr;
        ::RegCreateKeyExW(backing.m_hKey, L"Settings", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hKey, nullptr);
        SetDword(hKey, L"Schema", c.dwSchema);
        SetDword(hKey, L"AlwaysShowFullMenus", 0);
        SetBinary(hKey, L"UsedCommands", CXTPCommandBarsOptions::CommandSetToBytes({5}));
        SetBinary(hKey, L"HiddenCommands", CXTPCommandBarsOptions::CommandSetToBytes({5, 6}));
        SetDword(hKey, L"DblClickFloat", 1);
        SetDword(hKey, L"KeyboardCuesUse", 3);
        ::RegCloseKey(hKey);

        CXTPCommandBarsOptions options;
        backing.Load([&options](CXTPPropExchange* pPX) { options.DoPropExchange(pPX); });
        EXPECT_FALSE(options.bAlwaysShowFullMenus) << c.dwSchema;
        EXPECT_EQ(std::set<UINT>({5, 6}), options.m_setHiddenCommands) << c.dwSchema;
        EXPECT_EQ(c.bUsedLoaded, options.m_setUsedCommands.count(5) == 1) << c.dwSchema;
        EXPECT_EQ(c.bUsedLoaded, !options.IsCommandHidden(5)) << c.dwSchema;
        EXPECT_EQ(c.bLaterFlagsLoaded, options.bDblClickFloat != FALSE) << c.dwSchema;
        EXPECT_EQ(c.bCuesLoaded ? 3 : 1, options.keyboardCuesUse) << c.dwSchema;
    }
}

TEST(CommandBarsOptions, UserOptionsKeepTheMenuPartAndLeaveOutAnEmptyUsedSet)
{
    CRegistryBacking backing;
    CXTPCommandBarsOptions options;
    options.bAlwaysShowFullMenus = FALSE;
    options.nAnimationType = 3;
    options.bDblClickFloat = TRUE;
    backing.Save([&options](CXTPPropExchange* pPX) { options.DoPropExchange(pPX, TRUE); });
    HKEY hKey = backing.OpenSection();
    ASSERT_NE(nullptr, hKey);
    EXPECT_TRUE(HasValue(hKey, L"AlwaysShowFullMenus"));
    EXPECT_TRUE(HasValue(hKey, L"Animation"));
    EXPECT_FALSE(HasValue(hKey, L"UsedCommands"));
    EXPECT_FALSE(HasValue(hKey, L"DblClickFloat"));
    EXPECT_FALSE(HasValue(hKey, L"HiddenCommands"));
    ::RegCloseKey(hKey);

    // A used hidden command is written as the set's archive form: count, then id and 1 per entry.
    options.HideCommand(40001);
    options.OnCommandExecuted(40001);
    options.OnCommandExecuted(40002);   // not hidden: not counted
    backing.Save([&options](CXTPPropExchange* pPX) { options.DoPropExchange(pPX, TRUE); });
    hKey = backing.OpenSection();
    std::vector<BYTE> expected = {1, 0, 0x41, 0x9C, 0, 0, 1, 0, 0, 0};
    EXPECT_EQ(expected, QueryBinary(hKey, L"UsedCommands"));
    ::RegCloseKey(hKey);

    CXTPCommandBarsOptions loaded;
    backing.Load([&loaded](CXTPPropExchange* pPX) { loaded.DoPropExchange(pPX, TRUE); });
    EXPECT_FALSE(loaded.bAlwaysShowFullMenus);
    EXPECT_EQ(3, loaded.nAnimationType);
    EXPECT_EQ(std::set<UINT>({40001}), loaded.m_setUsedCommands);
    EXPECT_FALSE(loaded.bDblClickFloat);
}

TEST(CommandBarsOptions, CommandSetBytesReadWholeEntriesOnly)
{
    struct Case
    {
        const char* pszName;
        std::vector<BYTE> bytes;
        std::set<UINT> expected;
    } cases[] = {
        {"empty", {}, {}},
        {"count only", {2, 0}, {}},
        {"one byte", {1}, {}},
        {"two entries", {2, 0, 7, 0, 0, 0, 1, 0, 0, 0, 9, 1, 0, 0, 1, 0, 0, 0}, {7, 265}},
        {"count beyond the data", {5, 0, 7, 0, 0, 0, 1, 0, 0, 0}, {7}},
        {"truncated entry", {2, 0, 7, 0, 0, 0, 1, 0, 0, 0, 9, 1}, {7}},
        {"long count", {0xFF, 0xFF, 1, 0, 0, 0, 3, 0, 0, 0, 1, 0, 0, 0}, {3}},
        {"long count cut", {0xFF, 0xFF, 1, 0}, {}},
    };
    for (const Case& c : cases) {
        std::set<UINT> result;
        CXTPCommandBarsOptions::CommandSetFromBytes(c.bytes.data(), static_cast<DWORD>(c.bytes.size()), result);
        EXPECT_EQ(c.expected, result) << c.pszName;
    }
    // 65535 entries and more take the long count.
    std::set<UINT> large;
    for (UINT i = 1; i <= 65535; i++)
        large.insert(i);
    std::vector<BYTE> bytes = CXTPCommandBarsOptions::CommandSetToBytes(large);
    ASSERT_EQ(6u + 65535u * 8u, bytes.size());
    EXPECT_EQ(0xFF, bytes[0]);
    EXPECT_EQ(0xFF, bytes[1]);
    std::set<UINT> back;
    CXTPCommandBarsOptions::CommandSetFromBytes(bytes.data(), static_cast<DWORD>(bytes.size()), back);
    EXPECT_EQ(large, back);
}

TEST(CommandBarsOptions, KeyboardCuesFollowTheModeAndTheSystem)
{
    struct Case
    {
        int nMode;
        int nSystem;   // -1: the system does not answer
        bool bVisible;
    } cases[] = {{0, 0, true}, {1, 1, false}, {2, 0, false}, {2, 1, true}, {2, -1, true}};
    for (const Case& c : cases) {
        CFixedSettings settings;
        if (c.nSystem >= 0)
            settings.m_flags[SPI_GETKEYBOARDCUES] = c.nSystem;
        CXTPSystemSettings::Set(&settings);
        auto* pCommandBars = new CXTPCommandBars;
        pCommandBars->GetCommandBarsOptions()->SetKeyboardCuesShow(c.nMode);
        EXPECT_EQ(c.bVisible, pCommandBars->IsKeyboardCuesVisible() != FALSE) << c.nMode << " " << c.nSystem;
        pCommandBars->InternalRelease();
        CXTPSystemSettings::Set(nullptr);
    }
}

TEST(CommandBarsOptions, AnArchiveCarriesEveryOptionNotOnlyTheMenuPart)
{
    CXTPCommandBarsOptions options;
    options.bAlwaysShowFullMenus = FALSE;
    options.nAnimationType = 3;
    options.bDblClickFloat = TRUE;
    options.szLargeIcons = CSize(40, 36);
    options.keyboardCuesUse = xtpKeyboardCuesUseAll | xtpKeyboardCuesNoFirstLetter;
    options.HideCommand(40001);
    options.HideCommand(40003);
    options.OnCommandExecuted(40003);
    CMemFile file(256);
    {
        CArchive ar(&file, CArchive::store);
        options.Serialize(ar);
        ar.Close();
    }
    file.SeekToBegin();
    CXTPCommandBarsOptions loaded;
    {
        CArchive ar(&file, CArchive::load);
        loaded.Serialize(ar);
    }
    EXPECT_FALSE(loaded.bAlwaysShowFullMenus);
    EXPECT_EQ(3, loaded.nAnimationType);
    EXPECT_TRUE(loaded.bDblClickFloat);
    EXPECT_EQ(CSize(40, 36), loaded.szLargeIcons);
    EXPECT_EQ(xtpKeyboardCuesUseAll | xtpKeyboardCuesNoFirstLetter, loaded.keyboardCuesUse);
    EXPECT_EQ(std::set<UINT>({40001, 40003}), loaded.m_setHiddenCommands);
    EXPECT_EQ(std::set<UINT>({40003}), loaded.m_setUsedCommands);
}
