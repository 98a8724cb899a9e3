#include "platform/inet/afxinet.h"

#include <gtest/gtest.h>

// A refused connection reaches the caller as the framework's exception, with WinInet's code and text.
TEST(Internet, RefusedFtpConnectionRaisesTheInternetException)
{
    CInternetSession session(L"Prova/1.0");
    DWORD dwError = 0;
    CString strText;
    try {
        std::unique_ptr<CFtpConnection> pConnection(session.GetFtpConnection(L"127.0.0.1", L"utente", L"parola", 1));
        ADD_FAILURE() << "connected to a closed port";
    } catch (CInternetException* e) {
        dwError = e->m_dwError;
        TCHAR szText[512] = {};
        e->GetErrorMessage(szText, 512);
        strText = szText;
        e->Delete();
    }
    EXPECT_EQ(static_cast<DWORD>(ERROR_INTERNET_CANNOT_CONNECT), dwError);
    EXPECT_FALSE(strText.IsEmpty());
    EXPECT_EQ(-1, strText.Find(L"Internet error")) << "no text of WinInet's own";
}
