// The shortcut table inside the command-bar state, through every store, and what a damaged list leaves.
#include "PropExchangeStores.h"

#include "ui/commandbars/XTPShortcutManager.h"

#include <gtest/gtest.h>

namespace
{
std::vector<ACCEL> Table()
{
    return {{FVIRTKEY | FCONTROL, 'N', 101}, {FVIRTKEY | FCONTROL | FSHIFT, VK_F5, 102}, {0, 'x', 103}};
}

bool SameEntries(const std::vector<ACCEL>& a, const std::vector<ACCEL>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); i++)
        if (a[i].fVirt != b[i].fVirt || a[i].key != b[i].key || a[i].cmd != b[i].cmd)
            return false;
    return true;
}
}

TEST(ShortcutExchange, TheTableComesBackFromEveryStore)
{
    std::vector<std::pair<const char*, std::unique_ptr<CStoreBacking>>> stores;
    stores.emplace_back("archive", std::make_unique<CArchiveBacking>());
    stores.emplace_back("registry", std::make_unique<CRegistryBacking>());
    stores.emplace_back("xml", std::make_unique<CXmlBacking>(FALSE));
    stores.emplace_back("xml compact", std::make_unique<CXmlBacking>(TRUE));
    stores.emplace_back("ini", std::make_unique<CIniBacking>());
    for (auto& store : stores) {
        CXTPShortcutManager saved;
        std::vector<ACCEL> table = Table();
        saved.SetAcceleratorTable(table.data(), static_cast<int>(table.size()));
        store.second->Save([&saved](CXTPPropExchange* pPX) { saved.DoPropExchange(pPX); });
        CXTPShortcutManager loaded;
        store.second->Load([&loaded](CXTPPropExchange* pPX) { loaded.DoPropExchange(pPX); });
        EXPECT_TRUE(SameEntries(table, CXTPShortcutManager::GetEntries(loaded.GetAcceleratorTable()))) << store.first;
    }
}

TEST(ShortcutExchange, DamagedListsKeepTheTableInUse)
{
    std::vector<BYTE> twoEntries = CXTPShortcutManager::ToBytes({Table()[0], Table()[1]});
    struct Case
    {
        const char* pszName;
        DWORD dwCount;
        std::vector<BYTE> data;   // empty: no "Data" value
        size_t nExpected;         // entries after loading
        WORD nFirstCmd;           // 999: the table in use stayed
    } cases[] = {
        {"whole list", 2, twoEntries, 2, 101},
        {"count beyond the data", 5, twoEntries, 2, 101},
        {"data cut inside the second entry", 2, std::vector<BYTE>(twoEntries.begin(), twoEntries.begin() + 9), 1, 101},
        {"data without a whole entry", 2, std::vector<BYTE>(twoEntries.begin(), twoEntries.begin() + 5), 1, 999},
        {"no data", 4, {}, 1, 999},
        {"huge count", 0x10000000, twoEntries, 1, 999},
        {"empty list", 0, {}, 0, 0},
    };
    for (const Case& c : cases) {
        CRegistryBacking backing;
        HKEY hKey = nullptr;
        ::RegCreateKeyExW(backing.m_hKey, L"Settings", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hKey, nullptr);
        ::RegSetValueExW(hKey, L"Count", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&c.dwCount), sizeof(DWORD));
        if (!c.data.empty())
            ::RegSetValueExW(hKey, L"Data", 0, REG_BINARY, c.data.data(), static_cast<DWORD>(c.data.size()));
        ::RegCloseKey(hKey);
        CXTPShortcutManager manager;
        ACCEL inUse = {FVIRTKEY | FALT, 'Q', 999};
        manager.SetAcceleratorTable(&inUse, 1);
        backing.Load([&manager](CXTPPropExchange* pPX) { manager.DoPropExchange(pPX); });
        std::vector<ACCEL> entries = CXTPShortcutManager::GetEntries(manager.GetAcceleratorTable());
        EXPECT_EQ(c.nExpected, entries.size()) << c.pszName;
        if (!entries.empty()) {
            EXPECT_EQ(c.nFirstCmd, entries[0].cmd) << c.pszName;
        }
    }
}
