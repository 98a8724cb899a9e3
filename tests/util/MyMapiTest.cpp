#include "util/MyMapi.h"

#include <gtest/gtest.h>

namespace {

struct Calls
{
    int nLogons = 0;
    int nSends = 0;
    int nLogoffs = 0;
    ULONG nLogonResult = SUCCESS_SUCCESS;
    ULONG nSendResult = SUCCESS_SUCCESS;
};

Calls g_calls;

ULONG WINAPI Logon(ULONG_PTR, LPSTR, LPSTR, FLAGS flags, ULONG, LPLHANDLE plhSession)
{
    ++g_calls.nLogons;
    EXPECT_EQ(static_cast<FLAGS>(MAPI_LOGON_UI | MAPI_NEW_SESSION), flags);
    *plhSession = 5;
    return g_calls.nLogonResult;
}

ULONG WINAPI SendMail(LHANDLE, ULONG_PTR, lpMapiMessage pMessage, FLAGS, ULONG)
{
    ++g_calls.nSends;
    EXPECT_EQ(static_cast<FLAGS>(MAPI_UNREAD), pMessage->flFlags);
    EXPECT_EQ(nullptr, pMessage->nFileCount ? nullptr : pMessage->lpFiles) << "no attachment, no list";
    for (ULONG i = 0; i < pMessage->nFileCount; ++i)
        EXPECT_EQ(static_cast<ULONG>(-1), pMessage->lpFiles[i].nPosition);
    return g_calls.nSendResult;
}

ULONG WINAPI Logoff(LHANDLE, ULONG_PTR, FLAGS, ULONG)
{
    ++g_calls.nLogoffs;
    return SUCCESS_SUCCESS;
}

} // namespace

TEST(MyMapi, SendDecisions)
{
    const MAPI_ENTRY_POINTS library = { &Logon, &SendMail, &Logoff };
    const MAPI_ENTRY_POINTS noSendMail = { &Logon, nullptr, &Logoff };
    const struct
    {
        const char* name;
        const MAPI_ENTRY_POINTS* pEntry;
        bool bRecipient;
        bool bAttachment;
        ULONG nLogonResult, nSendResult;
        BOOL bSent;
        int nLogons, nSends, nLogoffs;
    } cases[] = {
        { "sent", &library, true, true, SUCCESS_SUCCESS, SUCCESS_SUCCESS, TRUE, 1, 1, 1 },
        { "no attachment", &library, true, false, SUCCESS_SUCCESS, SUCCESS_SUCCESS, TRUE, 1, 1, 1 },
        { "no MAPI library", &noSendMail, true, true, SUCCESS_SUCCESS, SUCCESS_SUCCESS, FALSE, 0, 0, 0 },
        { "no recipient", &library, false, true, SUCCESS_SUCCESS, SUCCESS_SUCCESS, FALSE, 1, 0, 1 },
        { "failed logon does not stop it", &library, true, true, MAPI_E_LOGIN_FAILURE, SUCCESS_SUCCESS, TRUE, 1, 1, 0 },
        { "user closed the mail window", &library, true, true, SUCCESS_SUCCESS, MAPI_E_USER_ABORT, FALSE, 1, 1, 1 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        g_calls = Calls();
        g_calls.nLogonResult = c.nLogonResult;
        g_calls.nSendResult = c.nSendResult;
        const MAPI_ENTRY_POINTS* previous = AfxSetMapiEntryPoints(c.pEntry);
        ULONG nResult = 12345;
        BOOL bSent;
        {
            CMyMapi mail;
            if (c.bRecipient)
                mail.AddRecipient(L"Supporto", L"assistenza@lumetra.example");
            mail.SetSubject(L"Oggetto");
            mail.SetText(L"Testo");
            if (c.bAttachment)
                mail.AddAttachment(L"C:\\Temp\\2008.03.27.zip");
            bSent = mail.Send(&nResult);
        }
        AfxSetMapiEntryPoints(previous);
        EXPECT_EQ(c.bSent, bSent);
        if (c.nSends) {
            EXPECT_EQ(c.nSendResult, nResult);
        }
        EXPECT_EQ(c.nLogons, g_calls.nLogons);
        EXPECT_EQ(c.nSends, g_calls.nSends);
        EXPECT_EQ(c.nLogoffs, g_calls.nLogoffs);
    }
}
