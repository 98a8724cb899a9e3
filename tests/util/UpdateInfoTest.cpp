#include "util/UpdateInfo.h"
#include "util/MessageText.h"
#include "resource.h"

#include <gtest/gtest.h>

namespace {

const char kRelease[] = "Release$2.05$Setup.exe$5120$Nuova versione\r\n";

DWORD V(int nMajor, int nMinor) { return CUpdateInfo::PackVersion(nMajor, nMinor); }

struct ParseError
{
    UINT id = 0;
    CString detail;
    CString text;
};

// Parses and answers the error raised, or id 0 when the text parsed.
ParseError ParseFails(CUpdateInfo& info, const std::string& text)
{
    ParseError error;
    try
    {
        info.Parse(text);
    }
    catch (CUpdateInfo::Exception* e)
    {
        error.id = e->m_nIDError;
        error.detail = e->m_strDetail;
        error.text = GetExceptionText(e);
    }
    return error;
}

} // namespace

TEST(UpdateInfo, ReadsAWholeDescriptor)
{
    CUpdateInfo info;
    info.Parse("/* published 2008 */\r\n"
               "\r\n"
               "Msg01$La versione %s non pu\xf2 essere aggiornata \r\n"
               "msg 3$ Leggere le note \r\n"
               "INFO$1.0$ 1.01 $Msg01$beta\r\n"
               "Release$ 2.05 $ Setup.exe $ 5120 $ Nuova versione \r\n"
               "Update$1.9$2.0$Msg03\n"
               "Msg04$ultima riga senza a capo");
    EXPECT_EQ(V(2, 5), info.GetReleaseVersion());
    EXPECT_EQ(CString(L"Setup.exe"), info.GetReleaseFile());
    EXPECT_EQ(5120, info.GetReleaseSize());
    EXPECT_EQ(CString(L"Nuova versione"), info.GetReleaseText());
    EXPECT_EQ((std::vector<DWORD>{ V(1, 0), V(1, 1) }), info.GetInfoVersions());
    // Message texts are taken after the first '$' as written, blanks included; the file is Windows-1252.
    EXPECT_EQ(CString(L"La versione %s non pu\u00f2 essere aggiornata "), info.GetInfoMessage());
    EXPECT_EQ((std::vector<DWORD>{ V(1, 9), V(2, 0) }), info.GetUpdateVersions());
    EXPECT_EQ(CString(L" Leggere le note "), info.GetUpdateMessage());
    EXPECT_TRUE(info.IsInfoVersion(V(1, 1)));
    EXPECT_FALSE(info.IsInfoVersion(V(1, 9)));
    EXPECT_TRUE(info.IsUpdateVersion(V(2, 0)));
    EXPECT_FALSE(info.IsUpdateVersion(V(2, 5)));

    // A second parse starts from nothing.
    info.Parse(kRelease);
    EXPECT_TRUE(info.GetInfoVersions().empty());
    EXPECT_TRUE(info.GetUpdateMessage().IsEmpty());
}

TEST(UpdateInfo, EdgeLines)
{
    const struct { const char* text; DWORD infoVersion; const wchar_t* infoMessage; } cases[] = {
        // Only the digit of "1$" reads as the message number.
        { "Msg1$x\nInfo$1.0$Msg1\n", V(1, 0), L"x" },
        // Command words compare over their own length only, ignoring case.
        { "MSG02$due\nInformazioni$3.7$msg2\n", V(3, 7), L"due" },
        // Fields that are neither a version nor a message are ignored.
        { "Info$vecchia$-1.2$4.2\n", V(4, 2), L"" },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.text);
        CUpdateInfo info;
        ParseError error = ParseFails(info, std::string(c.text) + kRelease);
        ASSERT_EQ(0u, error.id) << error.text;
        EXPECT_EQ((std::vector<DWORD>{ c.infoVersion }), info.GetInfoVersions());
        EXPECT_EQ(CString(c.infoMessage), info.GetInfoMessage());
    }
}

TEST(UpdateInfo, EveryErrorCarriesItsIdAndDetail)
{
    const struct { const char* text; UINT id; const wchar_t* detail; } cases[] = {
        { "Comando$1\n", IDP_UPD_SYNTAX, L"Comando$1" },
        { " Msg01$rientrato\n", IDP_UPD_SYNTAX, L" Msg01$rientrato" },
        { "Msg1\n", IDP_UPD_SYNTAX, L"Msg1" },
        { "MSGXY1$no\n", IDP_UPD_SYNTAX, L"MSGXY1$no" },
        { "Msg00$zero\n", IDP_UPD_SYNTAX, L"Msg00$zero" },
        { "Msg01 senza dollaro\n", IDP_UPD_SYNTAX, L"Msg01 senza dollaro" },
        { "Msg01$a\nMsg 1$b\n", IDP_UPD_MSG_EXISTS, L"1" },
        { "Info$1.0\nInfo$1.1\n", IDP_UPD_INFO_TWICE, L"" },
        { "Msg01$a\nInfo$Msg01\ninfo$1.1\n", IDP_UPD_INFO_TWICE, L"" },
        { "Msg01$a\nMsg02$b\nInfo$Msg01$Msg02\n", IDP_UPD_INFO_MSG_TWICE, L"Info$Msg01$Msg02" },
        { "Info$1.0$Msg05\n", IDP_UPD_INFO_MSG_MISSING, L"Info$1.0$Msg05" },
        { "Info$Msg0\n", IDP_UPD_SYNTAX, L"Info$Msg0" },
        { "Release$2.06$B.exe$10$x\n", IDP_UPD_RELEASE_TWICE, L"" },
        { "Update$1.0\nUpdate$1.1\n", IDP_UPD_UPDATE_TWICE, L"" },
        { "Msg01$a\nUpdate$Msg01$msg1\n", IDP_UPD_UPDATE_MSG_TWICE, L"Update$Msg01$msg1" },
        // Messages must be defined before the line that names them.
        { "Update$1.0$Msg02\nMsg02$tardi\n", IDP_UPD_UPDATE_MSG_MISSING, L"Update$1.0$Msg02" },
        { "Update$Msg-1\n", IDP_UPD_SYNTAX, L"Update$Msg-1" },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.text);
        CUpdateInfo info;
        ParseError error = ParseFails(info, std::string(kRelease) + c.text);
        EXPECT_EQ(c.id, error.id);
        EXPECT_EQ(CString(c.detail), error.detail);
        CString expected = LoadResString(c.id);
        if (*c.detail != L'\0')
            expected += CString(L":\n\n") + c.detail;
        EXPECT_EQ(expected, error.text);
    }
    EXPECT_EQ(CString(L"Il comando \"Release\" compare pi\u00f9 di una volta"), LoadResString(IDP_UPD_RELEASE_TWICE));
}

// A release that could not be offered soundly is refused instead of parsing as valid.
TEST(UpdateInfo, IncompleteReleasesAreRefused)
{
    const struct { const char* text; const wchar_t* detail; } cases[] = {
        { "Update$2.0\n", L"Release" },
        { "", L"Release" },
        { "Release$2.05$Setup.exe$5120\n", L"Release$2.05$Setup.exe$5120" },
        { "Release$2.05$Setup.exe$5120$testo$altro\n", L"Release$2.05$Setup.exe$5120$testo$altro" },
        { "Release$2.05$Setup.exe$0$x\n", L"Release$2.05$Setup.exe$0$x" },
        { "Release$2.05$Setup.exe$-5$x\n", L"Release$2.05$Setup.exe$-5$x" },
        { "Release$2.05$Setup.exe$99999999999$x\n", L"Release$2.05$Setup.exe$99999999999$x" },
        { "Release$0.0$Setup.exe$10$x\n", L"Release$0.0$Setup.exe$10$x" },
        { "Release$nuova$Setup.exe$10$x\n", L"Release$nuova$Setup.exe$10$x" },
        { "Release$2.05$ $10$x\n", L"Release$2.05$ $10$x" },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.text);
        CUpdateInfo info;
        ParseError error = ParseFails(info, c.text);
        EXPECT_EQ(IDP_UPD_SYNTAX, error.id);
        EXPECT_EQ(CString(c.detail), error.detail);
    }
}
