// The registry settings store under a throw-away company key of HKCU, and the registry exchange's refusals of
// stored values of the wrong type or size, and its lookup of stored values.
#include "PropExchangeStores.h"

#include "platform/mfc/afxapp.h"
#include "support/RealInput.h"
#include "ui/persist/RegistryManager.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace
{
const LPCTSTR kCompany = L"QuarzelTestsRegistryManager";

class RegistryManagerTest : public ::testing::Test
{
protected:
    RegistryManagerTest() { m_app.SetRegistryKey(kCompany); }
    ~RegistryManagerTest() override { AfxDelRegTreeHelper(HKEY_CURRENT_USER, CString(L"Software\\") + kCompany); }

    // The section's key as the application's profile places it, opened for the test's own writes.
    HKEY OpenSection(LPCTSTR lpszSection)
    {
        CString strPath;
        strPath.Format(L"Software\\%s\\%s\\%s", kCompany, m_app.m_pszProfileName, lpszSection);
        HKEY hKey = nullptr;
        ::RegCreateKeyExW(HKEY_CURRENT_USER, strPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hKey, nullptr);
        return hKey;
    }

    CWinApp m_app {L"ProvaRegistro"};
    CXTPRegistryManager m_registry {HKEY_CURRENT_USER};
};
}

TEST(RegistryManagerWithoutProfileTest, ReadsDefaultsAndCreatesNothing)
{
    ASSERT_EQ(nullptr, AfxGetApp());
    CXTPRegistryManager registry;
    EXPECT_EQ(CString(L"predefinito"), registry.GetProfileString(L"Settings", L"Column Info", L"predefinito"));
    EXPECT_EQ(7u, registry.GetProfileInt(L"Settings", L"N", 7));
    EXPECT_FALSE(registry.WriteProfileString(L"Settings", L"Column Info", L"10,20"));
    EXPECT_EQ(nullptr, registry.GetAppRegistryKey());
}

TEST_F(RegistryManagerTest, KeepsTextsNumbersAndBinaryData)
{
    EXPECT_TRUE(m_registry.WriteProfileString(L"Settings", L"Column Info", L"120,80,200"));
    EXPECT_EQ(CString(L"120,80,200"), m_registry.GetProfileString(L"Settings", L"Column Info", L""));
    EXPECT_EQ(CString(L"120,80,200"), m_app.GetProfileString(L"Settings", L"Column Info"));
    EXPECT_TRUE(m_registry.WriteProfileInt(L"Settings", L"N", -3));
    EXPECT_EQ(static_cast<UINT>(-3), m_registry.GetProfileInt(L"Settings", L"N", 0));
    BYTE data[] = {1, 2, 3};
    EXPECT_TRUE(m_registry.WriteProfileBinary(L"Settings", L"B", data, sizeof(data)));
    BYTE* pData = nullptr;
    UINT nBytes = 0;
    ASSERT_TRUE(m_registry.GetProfileBinary(L"Settings", L"B", &pData, &nBytes));
    EXPECT_EQ(std::vector<BYTE>(data, data + 3), std::vector<BYTE>(pData, pData + nBytes));
    delete[] pData;
    CRect rc(1, 2, 3, 4);
    EXPECT_TRUE(m_registry.WriteProfileRect(L"Settings", L"R", &rc));
    CRect rcLoaded;
    EXPECT_TRUE(m_registry.GetProfileRect(L"Settings", L"R", &rcLoaded));
    EXPECT_EQ(rc, rcLoaded);
}

TEST_F(RegistryManagerTest, NullValueRemovesTheEntryAndNullEntryTheSection)
{
    m_registry.WriteProfileString(L"Settings", L"A", L"uno");
    m_registry.WriteProfileString(L"Settings", L"B", L"due");
    EXPECT_TRUE(m_registry.WriteProfileString(L"Settings", L"A", nullptr));
    EXPECT_EQ(CString(L"assente"), m_registry.GetProfileString(L"Settings", L"A", L"assente"));
    EXPECT_EQ(CString(L"due"), m_registry.GetProfileString(L"Settings", L"B", L"assente"));
    EXPECT_TRUE(m_registry.WriteProfileString(L"Settings", nullptr, nullptr));
    EXPECT_EQ(CString(L"assente"), m_registry.GetProfileString(L"Settings", L"B", L"assente"));
}

TEST_F(RegistryManagerTest, DeleteKeyRemovesThreeLevelsOfSubkeys)
{
    HKEY hSection = OpenSection(L"Settings");
    HKEY hDeep = nullptr;
    ::RegCreateKeyExW(hSection, L"Uno\\Due\\Tre", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hDeep, nullptr);
    ::RegCloseKey(hDeep);
    ::RegCreateKeyExW(hSection, L"Uno\\Altro", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hDeep, nullptr);
    ::RegCloseKey(hDeep);
    ::RegCloseKey(hSection);
    EXPECT_TRUE(m_registry.DeleteKey(L"Settings", L"Uno"));
    CStringArray keys;
    EXPECT_EQ(0, m_registry.EnumKeys(L"Settings", keys));
}

TEST_F(RegistryManagerTest, FixedSizeReadsRefuseAValueOfAnotherSize)
{
    HKEY hSection = OpenSection(L"Settings");
    BYTE big[32] = {1};
    ::RegSetValueExW(hSection, L"P", 0, REG_BINARY, big, sizeof(big));
    ::RegSetValueExW(hSection, L"R", 0, REG_BINARY, big, 8);
    ::RegCloseKey(hSection);
    // The guards around the variables show a write past them.
    struct
    {
        CPoint pt {5, 6};
        DWORD dwGuard = 0xA5A5A5A5;
    } point;
    EXPECT_FALSE(m_registry.GetProfilePoint(L"Settings", L"P", &point.pt));
    EXPECT_EQ(CPoint(5, 6), point.pt);
    EXPECT_EQ(0xA5A5A5A5u, point.dwGuard);
    CRect rc(1, 1, 1, 1);
    EXPECT_FALSE(m_registry.GetProfileRect(L"Settings", L"R", &rc));
    EXPECT_EQ(CRect(1, 1, 1, 1), rc);
}

TEST_F(RegistryManagerTest, UnterminatedTextIsTerminated)
{
    HKEY hSection = OpenSection(L"Settings");
    const WCHAR text[] = {L'a', L'b', L'c'};
    ::RegSetValueExW(hSection, L"T", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof(text));
    ::RegCloseKey(hSection);
    EXPECT_EQ(CString(L"abc"), m_registry.GetProfileString(L"Settings", L"T", L""));
}

TEST_F(RegistryManagerTest, EnumValuesPassesOverANameLongerThanItsBuffer)
{
    HKEY hSection = OpenSection(L"Settings");
    DWORD dw = 1;
    CString strLong(L'x', 600);
    for (LPCTSTR name : {L"Primo", static_cast<LPCTSTR>(strLong), L"Ultimo"})
        ::RegSetValueExW(hSection, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dw), sizeof(dw));
    ::RegCloseKey(hSection);
    CStringArray names;
    CMap<CString, LPCTSTR, DWORD, DWORD&> types;
    EXPECT_EQ(2, m_registry.EnumValues(L"Settings", &types, &names));
    DWORD dwType = 0;
    EXPECT_TRUE(types.Lookup(L"Ultimo", dwType));
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), dwType);
}

namespace
{
struct WALK
{
    CXTPRegistryManager* pRegistry;
    volatile LONG nRounds;
};

// Walks the section's keys and values until the section can no longer be opened.
DWORD WINAPI WalkUntilGone(LPVOID pParam)
{
    auto* pWalk = static_cast<WALK*>(pParam);
    for (;;) {
        CStringArray keys, values;
        int nFound = pWalk->pRegistry->EnumKeys(L"Settings", keys);
        nFound += pWalk->pRegistry->EnumValues(L"Settings", nullptr, &values);
        ::InterlockedIncrement(&pWalk->nRounds);
        if (nFound == 0)
            return 0;
    }
}
}

// Another handle deletes the section while the walks run over and over: the walks end.
TEST_F(RegistryManagerTest, WalksEndWhenTheSectionIsDeletedMeanwhile)
{
    HKEY hSection = OpenSection(L"Settings");
    DWORD dw = 1;
    for (int i = 0; i < 1000; ++i) {
        CString strName;
        strName.Format(L"Valore%d", i);
        ::RegSetValueExW(hSection, strName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dw), sizeof(dw));
        HKEY hChild = nullptr;
        if (i % 4 == 0 && ::RegCreateKeyExW(hSection, strName, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hChild,
                                             nullptr) == ERROR_SUCCESS)
            ::RegCloseKey(hChild);
    }
    ::RegCloseKey(hSection);
    WALK walk = {&m_registry, 0};
    HANDLE hThread = ::CreateThread(nullptr, 0, WalkUntilGone, &walk, 0, nullptr);
    ASSERT_NE(nullptr, hThread);
    EXPECT_TRUE(PumpUntil(nullptr, [&] { return walk.nRounds >= 2; }));
    CString strPath;
    strPath.Format(L"Software\\%s\\%s\\Settings", kCompany, m_app.m_pszProfileName);
    AfxDelRegTreeHelper(HKEY_CURRENT_USER, strPath);
    DWORD dwWait = ::WaitForSingleObject(hThread, 20000);
    if (dwWait != WAIT_OBJECT_0)
        ::TerminateThread(hThread, 1);
    ::CloseHandle(hThread);
    EXPECT_EQ(WAIT_OBJECT_0, dwWait);
}

TEST(PropExchangeRegistryTest, StoredValuesOfTheWrongTypeOrSizeAreRefused)
{
    CRegistryBacking backing;
    HKEY hSection = nullptr;
    ::RegCreateKeyExW(backing.m_hKey, L"Settings", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hSection, nullptr);
    const BYTE bytes[16] = {};
    ::RegSetValueExW(hSection, L"Int", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"12"), 6);
    ::RegSetValueExW(hSection, L"Double", 0, REG_BINARY, bytes, 4);
    ::RegSetValueExW(hSection, L"Text", 0, REG_DWORD, bytes, 4);
    ::RegSetValueExW(hSection, L"Short", 0, REG_BINARY, bytes, 2);
    ::RegCloseKey(hSection);
    backing.Load([&](CXTPPropExchange* px) {
        int n = 5;
        double d = 2.5;
        CString str = L"invariato";
        short s = 3;
        EXPECT_FALSE(ExchangeInt(px, L"Int", n, 0));
        EXPECT_FALSE(ExchangeDouble(px, L"Double", d, 0.0));
        EXPECT_FALSE(ExchangeString(px, L"Text", str, L""));
        EXPECT_FALSE(ExchangeShort(px, L"Short", s, 0));
        EXPECT_EQ(5, n);
        EXPECT_EQ(2.5, d);
        EXPECT_EQ(CString(L"invariato"), str);
        EXPECT_EQ(3, s);
    });
}

TEST(PropExchangeRegistryTest, ALoadingSectionFindsItsValuesWithoutCaseAndWhateverTheirLength)
{
    CRegistryBacking backing;
    HKEY hSection = nullptr;
    ::RegCreateKeyExW(backing.m_hKey, L"Settings", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hSection, nullptr);
    DWORD dw = 42;
    ::RegSetValueExW(hSection, L"NUMERO", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dw), sizeof(dw));
    const WCHAR text[] = {L'a', L'b', L'c'};
    ::RegSetValueExW(hSection, L"Testo", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof(text));
    CString strLongName(L'n', 600);
    CString strLongText(L'\u00e8', 5000);
    ::RegSetValueExW(hSection, strLongName, 0, REG_SZ, reinterpret_cast<const BYTE*>(static_cast<LPCTSTR>(strLongText)),
                     static_cast<DWORD>((strLongText.GetLength() + 1) * sizeof(WCHAR)));
    std::vector<BYTE> blob(70000);
    for (size_t i = 0; i < blob.size(); i++)
        blob[i] = static_cast<BYTE>(i * 7);
    ::RegSetValueExW(hSection, L"Dati", 0, REG_BINARY, blob.data(), static_cast<DWORD>(blob.size()));
    ::RegCloseKey(hSection);
    backing.Load([&](CXTPPropExchange* px) {
        int n = 0;
        CString str;
        CString strLong;
        int nMissing = 0;
        EXPECT_TRUE(ExchangeInt(px, L"Numero", n, 0));
        EXPECT_EQ(42, n);
        EXPECT_TRUE(ExchangeString(px, L"testo", str, L""));
        EXPECT_EQ(CString(L"abc"), str);
        EXPECT_TRUE(ExchangeString(px, strLongName, strLong, L""));
        EXPECT_EQ(strLongText, strLong);
        EXPECT_TRUE(ExchangeInt(px, L"Assente", nMissing, 9));
        EXPECT_EQ(9, nMissing);
        BYTE* pData = nullptr;
        DWORD nBytes = 0;
        ASSERT_TRUE(px->ExchangeBlob(L"DATI", pData, nBytes));
        EXPECT_EQ(blob, std::vector<BYTE>(pData, pData + nBytes));
        std::free(pData);
        auto* pRegistry = static_cast<CXTPPropExchangeRegistry*>(px);
        EXPECT_TRUE(pRegistry->IsPropertyExists(L"numero"));
        EXPECT_FALSE(pRegistry->IsPropertyExists(L"Assente"));
    });
}
