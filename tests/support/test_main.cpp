// Entry of every test executable: the program runs with the Italian user locale, so the run is refused
// when Wine does not report it (the formatting tests would otherwise pass or fail by accident).
#include "MessageBoxRecorder.h"

#include "platform/mfc/afxdialog.h"
#include "platform/mfc/afxmapi.h"
#include "platform/mfc/afxshell.h"

#include <gtest/gtest.h>
#include <ole2.h>
#include <shellapi.h>
#include <cstdio>

namespace {

ULONG WINAPI UnexpectedMail(LHANDLE, ULONG_PTR, lpMapiMessage, FLAGS, ULONG)
{
    ADD_FAILURE() << "unexpected mail";
    return MAPI_E_USER_ABORT;
}

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (::GetUserDefaultLCID() != 0x0410 || ::GetACP() != 1252) {
        std::fprintf(stderr, "the tests need the Italian locale (LANG=it_IT.UTF-8): LCID 0x%04lX, code page %u\n",
                     static_cast<unsigned long>(::GetUserDefaultLCID()), ::GetACP());
        return 2;
    }
    ::OleInitialize(nullptr);
    AfxSetMessageBoxHandler(FailOnUnexpectedMessageBox);
    // A dialog no test expected would otherwise wait for a user until the run times out.
    AfxSetModalHandler([](CDialog& dialog) -> INT_PTR {
        ADD_FAILURE() << "unexpected modal dialog of class " << dialog.GetRuntimeClass()->m_lpszClassName;
        return IDCANCEL;
    });
    // Nothing may be opened by the shell during a run: tests that open something install their own handler.
    AfxSetShellOpenHandler([](HWND, LPCWSTR lpszTarget, int) -> INT_PTR {
        ADD_FAILURE() << "unexpected shell open of " << CString(lpszTarget).ToMultiByte(CP_UTF8);
        return SE_ERR_NOASSOC;
    });
    // Nor may a mail program be started: tests that send mail install their own entry points.
    static const MAPI_ENTRY_POINTS noMail = { nullptr, &UnexpectedMail, nullptr };
    AfxSetMapiEntryPoints(&noMail);
    int result = RUN_ALL_TESTS();
    ::OleUninitialize();
    return result;
}
