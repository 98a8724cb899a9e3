#include "util/DialogUtil.h"
#include "support/TempFolder.h"

#include <commctrl.h>
#include <gtest/gtest.h>

TEST(DialogUtil, HexText)
{
    for (const wchar_t* text : { L"", L"0123456789", L"abcdefABCDEF", L"7FFF" })
        EXPECT_TRUE(IsHexText(text)) << text;
    // Full-width digits are digits to the C library, not to a hexadecimal reader.
    for (const wchar_t* text : { L"0x1F", L"12 34", L"G", L"-1", L"\uFF11" })
        EXPECT_FALSE(IsHexText(text)) << text;
}

TEST(DialogUtil, ControlTipsShareOneTooltipControl)
{
    HWND dialog = ::CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, dialog);
    ::CreateWindowW(L"BUTTON", L"Sfoglia...", WS_CHILD, 0, 0, 80, 20, dialog, reinterpret_cast<HMENU>(1001), nullptr, nullptr);
    ::CreateWindowW(L"BUTTON", L"Cerca", WS_CHILD, 0, 30, 80, 20, dialog, reinterpret_cast<HMENU>(1002), nullptr, nullptr);

    HWND tooltip = nullptr;
    EXPECT_TRUE(AddControlTip(dialog, 1001, tooltip));
    ASSERT_NE(nullptr, tooltip);
    HWND first = tooltip;
    EXPECT_TRUE(AddControlTip(dialog, 1002, tooltip));
    EXPECT_EQ(first, tooltip);
    EXPECT_FALSE(AddControlTip(dialog, 1003, tooltip));
    EXPECT_EQ(2, static_cast<int>(::SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0)));

    wchar_t text[80] = {};
    TTTOOLINFOW info = {};
    info.cbSize = sizeof(info);
    info.hwnd = dialog;
    info.uId = reinterpret_cast<UINT_PTR>(::GetDlgItem(dialog, 1001));
    info.lpszText = text;
    ::SendMessageW(tooltip, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&info));
    EXPECT_STREQ(L"Sfoglia...", text);

    ::DestroyWindow(dialog);
}

// The text resource is given to a copy of the test program, loaded as the resource module.
TEST(DialogUtil, ResourceTextEndsWithTheResource)
{
    CTempFolder folder;
    TCHAR program[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, program, MAX_PATH);
    CString copy = folder.File(L"risorse.exe");
    ASSERT_TRUE(::CopyFileW(program, copy, FALSE));
    const char text[] = "Quarzel08 \x80 2008\r\nLumetra";   // 8-bit text, stored without its terminator
    HANDLE update = ::BeginUpdateResourceW(copy, FALSE);
    ASSERT_NE(nullptr, update);
    ASSERT_TRUE(::UpdateResourceW(update, L"TXT", MAKEINTRESOURCEW(1), MAKELANGID(LANG_ITALIAN, SUBLANG_ITALIAN),
                                  const_cast<char*>(text), sizeof(text) - 1));
    ASSERT_TRUE(::EndUpdateResourceW(update, FALSE));

    HMODULE module = ::LoadLibraryExW(copy, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, module);
    HINSTANCE saved = AfxGetResourceHandle();
    AfxSetResourceHandle(module);
    EXPECT_EQ(CString(L"Quarzel08 \u20ac 2008\r\nLumetra"), LoadResText(1, L"TXT"));
    EXPECT_TRUE(LoadResText(2, L"TXT").IsEmpty());
    AfxSetResourceHandle(saved);
    ::FreeLibrary(module);
}
