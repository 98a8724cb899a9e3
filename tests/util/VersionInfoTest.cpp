#include "util/VersionInfo.h"

#include <gtest/gtest.h>

// The test programs carry the program's version resource: file version 2.1.0.0.
TEST(VersionInfo, ProgramFileVersion)
{
    EXPECT_EQ(static_cast<DWORD>((2 * 256 + 1) * 65536 + 0 * 256 + 0), GetFileVersionNumber());
    VS_FIXEDFILEINFO info = GetFixedFileInfo();
    EXPECT_EQ(static_cast<DWORD>(VS_FFI_SIGNATURE), info.dwSignature);
    EXPECT_EQ(static_cast<DWORD>(MAKELONG(1, 2)), info.dwFileVersionMS);
}

TEST(VersionInfo, StringsOfTheFirstTranslation)
{
    EXPECT_EQ(CString(L"2.1.0.0"), GetVersionString(L"FileVersion"));
    EXPECT_EQ(CString(L"Verifica Vorsa 2008"), GetVersionString(L"FileDescription"));
    EXPECT_TRUE(GetVersionString(L"Inesistente").IsEmpty());
}
