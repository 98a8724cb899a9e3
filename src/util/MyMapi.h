// A message handed to the user's mail program through Simple MAPI (the entry points of afxmapi.h): recipients,
// subject, text and attached files; the mail program shows its compose window.
#pragma once

#include "platform/mfc/afxmapi.h"
#include "platform/mfc/afxstr.h"

#include <vector>

class CMyMapi
{
public:
    struct Indirizzi
    {
        ULONG nClass;        // MAPI_TO, MAPI_CC, ...
        CString strName;
        CString strAddress;  // "SMTP:" and the address
    };

    CMyMapi() = default;
    ~CMyMapi();
    CMyMapi(const CMyMapi&) = delete;
    CMyMapi& operator=(const CMyMapi&) = delete;

    void AddRecipient(LPCTSTR lpszName, LPCTSTR lpszAddress, ULONG nClass = MAPI_TO);
    void SetSubject(LPCTSTR lpszSubject) { m_strSubject = lpszSubject; }
    void SetText(LPCTSTR lpszText) { m_strText = lpszText; }
    void AddAttachment(LPCTSTR lpszPath) { m_attachments.push_back(lpszPath); }

    // TRUE when the mail program accepted the message; pnResult receives MAPISendMail's code when given.
    BOOL Send(ULONG* pnResult = nullptr);

private:
    BOOL Load();

    const MAPI_ENTRY_POINTS* m_pEntry = nullptr;
    BOOL m_bLoggedOn = FALSE;
    LHANDLE m_hSession = 0;
    std::vector<Indirizzi> m_recipients;
    CString m_strSubject;
    CString m_strText;
    std::vector<CString> m_attachments;
};
