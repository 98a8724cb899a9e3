#include "platform/mfc/afxstr.h"
#include "support/LinearTime.h"

#include <gtest/gtest.h>

TEST(CString, SearchAndExtractAtTheEdges)
{
    CString s(L"Entrate1.vts");
    EXPECT_EQ(8, s.Find(L'.'));
    EXPECT_EQ(-1, s.Find(L'.', 9));
    EXPECT_EQ(-1, s.Find(L'x', 100));
    EXPECT_EQ(CString(L"vts"), s.Mid(s.ReverseFind(L'.') + 1));
    EXPECT_EQ(CString(L""), s.Mid(50));
    EXPECT_EQ(CString(L"Entrate1.vts"), s.Left(100));
    EXPECT_EQ(CString(L""), s.Right(-1));
    EXPECT_EQ(2, s.FindOneOf(L"rt"));
}

TEST(CString, ReplaceDoesNotRescanInsertedText)
{
    CString s(L"a.b.c");
    EXPECT_EQ(2, s.Replace(L".", L".."));
    EXPECT_EQ(CString(L"a..b..c"), s);
    EXPECT_EQ(0, s.Replace(L"", L"x"));
}

TEST(CString, ReplaceTakesTimeLinearInTheText)
{
    // A document's paragraph ends are replaced in texts of millions of characters.
    auto lines = [](int nCount) {
        CString text;
        for (int i = 0; i < nCount; ++i)
            text += L"riga\r\n";
        return text;
    };
    CString once = lines(20000), tenfold = lines(200000);
    EXPECT_TRUE(GrowsLinearly([&]() { once.Replace(L"\r\n", L"\r"); }, [&]() { tenfold.Replace(L"\r\n", L"\r"); }));
    EXPECT_EQ(200000 * 5, tenfold.GetLength());
    EXPECT_EQ(CString(L"riga\rriga\r"), tenfold.Left(10));
}

TEST(CString, TrimAndTokenize)
{
    CString s(L"  \t 12;34;;56  ");
    s.Trim();
    EXPECT_EQ(CString(L"12;34;;56"), s);
    int pos = 0;
    std::vector<CString> tokens;
    for (CString t = s.Tokenize(L";", pos); pos != -1; t = s.Tokenize(L";", pos))
        tokens.push_back(t);
    ASSERT_EQ(3u, tokens.size());
    EXPECT_EQ(CString(L"56"), tokens[2]);
}

TEST(CString, FormatUsesTheProgramsConventions)
{
    CString s;
    s.Format(L"%s|%hs|%d|%I64d|%.2f", L"Vorsa", "cp", -5, 1LL << 40, 2.5);
    EXPECT_EQ(CString(L"Vorsa|cp|-5|1099511627776|2.50"), s);
    s.FormatMessage(L"%2 e %1", L"uno", L"due");
    EXPECT_EQ(CString(L"due e uno"), s);
}

// Texts of every length around the short-text buffer come out whole, the arguments read once each.
TEST(CString, FormatGivesTextsOfAnyLengthWhole)
{
    const size_t lengths[] = {0, 1, 254, 255, 256, 257, 1000, 70000};
    for (size_t n : lengths) {
        std::wstring body(n, L'x');
        for (size_t i = 0; i < n; i += 7)
            body[i] = static_cast<wchar_t>(L'a' + i % 26);
        CString s;
        s.Format(L"%s|%d|%s", body.c_str(), 42, L"fine");
        EXPECT_EQ(body + L"|42|fine", std::wstring(static_cast<LPCTSTR>(s))) << n;
        EXPECT_EQ(static_cast<int>(n) + 8, s.GetLength()) << n;
    }
    CString s;
    s.Format(L"%c%c", L'a', 0);   // a null character stays part of the text
    EXPECT_EQ(2, s.GetLength());
}

TEST(CString, BufferProtocolAndCodePageConversions)
{
    CString s;
    LPTSTR p = s.GetBuffer(10);
    wcscpy(p, L"abc");
    s.ReleaseBuffer();
    EXPECT_EQ(3, s.GetLength());
    CString accented("Citt\xe0");            // Windows-1252 "Città"
    EXPECT_EQ(CString(L"Citt\u00e0"), accented);
    EXPECT_EQ(std::string("Citt\xe0"), accented.ToMultiByte(1252));
    EXPECT_EQ(0, CString(L"CITT\u00c0").CompareNoCase(L"citt\u00e0"));
}

TEST(CString, LoadStringFromTheProgramsStringTable)
{
    CString s;
    ASSERT_TRUE(s.LoadString(57344));
    EXPECT_EQ(CString(L"Quarzel08"), s);
    EXPECT_FALSE(s.LoadString(65000));
    EXPECT_TRUE(s.IsEmpty());
}
