#include "util/MailLink.h"
#include "util/MakerInfo.h"

#include <gtest/gtest.h>

TEST(MailLink, PercentEncodesEveryByteOutsideTheUnreservedSet)
{
    const struct { const wchar_t* text; const wchar_t* encoded; } cases[] = {
        { L"", L"" },
        { L"AZaz09-._~", L"AZaz09-._~" },
        { L"Forl\u00ec", L"Forl%C3%AC" },
        { L"Citt\u00e0 \u20ac", L"Citt%C3%A0%20%E2%82%AC" },
        { L" \n\r\t", L"%20%0A%0D%09" },
        { L"&#?%+=/:;@!$'()*,[]\"<>\\^`{|}",
          L"%26%23%3F%25%2B%3D%2F%3A%3B%40%21%24%27%28%29%2A%2C%5B%5D%22%3C%3E%5C%5E%60%7B%7C%7D" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(CString(c.encoded), PercentEncode(c.text)) << CString(c.text);
}

// Data that holds "&", "?" or "#" stays inside its own field instead of adding parameters.
TEST(MailLink, InfoRequestKeepsTheAuthorityDataInsideSubjectAndBody)
{
    CEnteContatti ente;
    ente.strEnte = L"Comune di Forl\u00ec & Cesena?body=x#";
    ente.strProvincia = L"";
    ente.strTelefono = L"0543 100+1";
    CString strLink = BuildInfoRequestLink(ente);

    CString strPrefix = CString(L"mailto:") + MakerInfo::kInfoMail +
                        L"?subject=Informazioni%20per%20Vorsa%20-%20Comune%20di%20Forl%C3%AC%20%26%20Cesena%3Fbody%3Dx%23"
                        L"&body=Richiesta%20Informazioni%3A%0A%0A...............................%0A%0A%0A%0A%0A"
                        L"Comune%20di%20Forl%C3%AC%20%26%20Cesena%3Fbody%3Dx%23%0A%0AProvincia%20"
                        L"....................%0A%0ARiferimento%20";
    EXPECT_EQ(strPrefix, strLink.Left(strPrefix.GetLength()));
    EXPECT_NE(-1, strLink.Find(L"Tel.%200543%20100%2B1%0A%0AFax%20....................%0A%0A"));
    EXPECT_EQ(1, strLink.Replace(L"&", L"&"));
    EXPECT_EQ(-1, strLink.Find(L'#'));
    EXPECT_EQ(-1, strLink.Find(L' '));
    EXPECT_EQ(CString(L"e-mail%20....................%0A"), strLink.Right(32));

    // No data at all: every field shows its placeholder.
    CString strEmpty = BuildInfoRequestLink(CEnteContatti());
    EXPECT_NE(-1, strEmpty.Find(L"?subject=Informazioni%20per%20Vorsa%20-%20Comune%20di%20....................&body="));
}
