#include "util/RegistryUtil.h"
#include "platform/mfc/afxappinfo.h"

#include <gtest/gtest.h>

namespace {

// The application's machine-wide key moved to a key of this test process, removed with its sub-keys at the end.
class RegistryUtilTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_savedKey = AfxGetRegistryKey();
        m_savedProfile = AfxGetProfileName();
        m_testKey.Format(L"Quarzel08 Test %lu", ::GetCurrentProcessId());
        AfxSetRegistryKey(m_testKey, L"Quarzel08");
    }
    void TearDown() override
    {
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\" + m_testKey);
        AfxSetRegistryKey(m_savedKey, m_savedProfile);
    }

    BOOL SectionExists(LPCTSTR section) const
    {
        HKEY key;
        if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\" + m_testKey + L"\\Quarzel08\\" + section, 0, KEY_READ,
                            &key) != ERROR_SUCCESS)
            return FALSE;
        ::RegCloseKey(key);
        return TRUE;
    }

    CString m_testKey, m_savedKey, m_savedProfile;
};

} // namespace

TEST_F(RegistryUtilTest, ValuesMakeTheRoundTripUnderTheApplicationsKey)
{
    EXPECT_EQ(CString(L"nessuno"), RegGetString(L"Settings", L"Percorso", L"nessuno"));
    EXPECT_EQ(-7, RegGetInt(L"Settings", L"Versione", -7));
    EXPECT_FALSE(SectionExists(L"Settings"));

    EXPECT_TRUE(RegSetString(L"Settings", L"Percorso", L"C:\\Programmi\\Quarzel08 \u2013 pi\u00f9"));
    EXPECT_TRUE(RegSetInt(L"Settings", L"Versione", -201));
    const BYTE bytes[] = { 0, 1, 0xFE, 0xFF, 0 };
    EXPECT_TRUE(RegSetBinary(L"Settings\\Blocchi", L"Dati", bytes, sizeof(bytes)));

    EXPECT_TRUE(SectionExists(L"Settings"));
    EXPECT_EQ(CString(L"C:\\Programmi\\Quarzel08 \u2013 pi\u00f9"), RegGetString(L"Settings", L"Percorso", L"nessuno"));
    EXPECT_EQ(-201, RegGetInt(L"Settings", L"Versione", 0));
    EXPECT_EQ(std::vector<BYTE>(bytes, bytes + sizeof(bytes)), RegGetBinary(L"Settings\\Blocchi", L"Dati"));

    HKEY key;
    ASSERT_TRUE(RegOpenAppKey(L"Settings", FALSE, key));
    DWORD type = 0;
    EXPECT_EQ(ERROR_SUCCESS, ::RegQueryValueExW(key, L"Versione", nullptr, &type, nullptr, nullptr));
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type);
    ::RegCloseKey(key);
}

TEST_F(RegistryUtilTest, ValuesOfAnotherTypeReadAsTheDefault)
{
    ASSERT_TRUE(RegSetString(L"Settings", L"Valore", L"12"));
    EXPECT_EQ(5, RegGetInt(L"Settings", L"Valore", 5));
    EXPECT_EQ(std::vector<BYTE>{ 9 }, RegGetBinary(L"Settings", L"Valore", { 9 }));
    ASSERT_TRUE(RegSetInt(L"Settings", L"Numero", 12));
    EXPECT_EQ(CString(L"-"), RegGetString(L"Settings", L"Numero", L"-"));
}

TEST_F(RegistryUtilTest, EmptyStringDeletesTheValue)
{
    ASSERT_TRUE(RegSetString(L"Settings", L"Percorso", L"C:\\Dati"));
    ASSERT_TRUE(RegSetString(L"Settings", L"Altro", L"resta"));
    EXPECT_TRUE(RegSetString(L"Settings", L"Percorso", L""));
    EXPECT_EQ(CString(L"nessuno"), RegGetString(L"Settings", L"Percorso", L"nessuno"));
    EXPECT_EQ(CString(L"resta"), RegGetString(L"Settings", L"Altro"));
    EXPECT_TRUE(RegSetString(L"Settings", L"Percorso", nullptr));   // already gone

    // Deleting from a section that does not exist creates nothing.
    EXPECT_TRUE(RegSetString(L"Vuota", L"Percorso", nullptr));
    EXPECT_FALSE(SectionExists(L"Vuota"));
}

TEST_F(RegistryUtilTest, FullKeyReplacesTheApplicationsKey)
{
    ASSERT_TRUE(RegSetString(L"Settings", L"Percorso", L"C:\\Dati"));
    HKEY key;
    ASSERT_TRUE(RegOpenAppKey(L"Settings", FALSE, key, L"SOFTWARE\\" + m_testKey + L"\\Quarzel08"));
    ::RegCloseKey(key);
    EXPECT_FALSE(RegOpenAppKey(L"Settings", FALSE, key, L"SOFTWARE\\" + m_testKey));
}

TEST_F(RegistryUtilTest, NothingIsWrittenWithoutAnApplicationKey)
{
    AfxSetRegistryKey(L"", L"");
    EXPECT_FALSE(RegSetInt(L"Settings", L"Versione", 1));
    EXPECT_EQ(3, RegGetInt(L"Settings", L"Versione", 3));
}
