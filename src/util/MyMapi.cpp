#include "MyMapi.h"

#include "platform/mfc/afxwin.h"

#include <shlwapi.h>

#include <string>

namespace {

// Simple MAPI takes 8-bit texts of the system code page.
std::string Narrow(const CString& strText)
{
    int nLength = ::WideCharToMultiByte(CP_ACP, 0, strText, strText.GetLength(), nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(nLength), '\0');
    if (nLength > 0)
        ::WideCharToMultiByte(CP_ACP, 0, strText, strText.GetLength(), &text[0], nLength, nullptr, nullptr);
    return text;
}

// The owner kept disabled while the mail program's windows come and go, as for a modal dialog.
class CMailOwner
{
public:
    CMailOwner()
    {
        CWnd* pMain = AfxGetMainWnd();
        m_hOwner = pMain ? ::GetAncestor(pMain->GetSafeHwnd(), GA_ROOT) : nullptr;
        if (m_hOwner) {
            ::EnableWindow(m_hOwner, FALSE);
            ::SetCapture(m_hOwner);
            ::SetFocus(nullptr);
        }
    }
    ~CMailOwner()
    {
        if (!m_hOwner)
            return;
        ::ReleaseCapture();
        ::EnableWindow(m_hOwner, TRUE);
        ::SetActiveWindow(m_hOwner);
        ::SetFocus(m_hOwner);
    }
    CMailOwner(const CMailOwner&) = delete;
    CMailOwner& operator=(const CMailOwner&) = delete;

    ULONG_PTR Handle() const { return reinterpret_cast<ULONG_PTR>(m_hOwner); }

private:
    HWND m_hOwner;
};

} // namespace

CMyMapi::~CMyMapi()
{
    if (m_bLoggedOn && m_pEntry && m_pEntry->pfnLogoff)
        m_pEntry->pfnLogoff(m_hSession, 0, 0, 0);
}

void CMyMapi::AddRecipient(LPCTSTR lpszName, LPCTSTR lpszAddress, ULONG nClass)
{
    m_recipients.push_back({ nClass, lpszName, CString(L"SMTP:") + lpszAddress });
}

BOOL CMyMapi::Load()
{
    if (m_pEntry)
        return TRUE;
    m_pEntry = AfxGetMapiEntryPoints();
    if (!m_pEntry || !m_pEntry->pfnSendMail)
        return FALSE;
    // A failed logon does not stop the message: the mail program may log on by itself.
    if (m_pEntry->pfnLogon)
        m_bLoggedOn = m_pEntry->pfnLogon(0, nullptr, nullptr, MAPI_LOGON_UI | MAPI_NEW_SESSION, 0, &m_hSession) ==
                      SUCCESS_SUCCESS;
    return TRUE;
}

BOOL CMyMapi::Send(ULONG* pnResult)
{
    if (!Load() || m_recipients.empty())
        return FALSE;

    std::vector<std::string> texts;   // every 8-bit copy lives until the call returns
    texts.reserve(2 * m_recipients.size() + 2 * m_attachments.size() + 2);
    auto keep = [&texts](const CString& strText) {
        texts.push_back(Narrow(strText));
        return const_cast<LPSTR>(texts.back().c_str());
    };
    std::vector<MapiRecipDesc> recipients(m_recipients.size());
    for (size_t i = 0; i < m_recipients.size(); ++i) {
        recipients[i] = {};
        recipients[i].ulRecipClass = m_recipients[i].nClass;
        recipients[i].lpszName = keep(m_recipients[i].strName);
        recipients[i].lpszAddress = keep(m_recipients[i].strAddress);
    }
    std::vector<MapiFileDesc> files(m_attachments.size());
    for (size_t i = 0; i < m_attachments.size(); ++i) {
        files[i] = {};
        files[i].nPosition = static_cast<ULONG>(-1);
        files[i].lpszPathName = keep(m_attachments[i]);
        files[i].lpszFileName = keep(::PathFindFileNameW(m_attachments[i]));
    }
    MapiMessage message = {};
    message.lpszSubject = keep(m_strSubject);
    message.lpszNoteText = keep(m_strText);
    message.flFlags = MAPI_UNREAD;
    message.nRecipCount = static_cast<ULONG>(recipients.size());
    message.lpRecips = recipients.data();
    message.nFileCount = static_cast<ULONG>(files.size());
    message.lpFiles = files.empty() ? nullptr : files.data();

    ULONG nResult;
    {
        CMailOwner owner;
        nResult = m_pEntry->pfnSendMail(m_hSession, owner.Handle(), &message, MAPI_DIALOG, 0);
    }
    if (pnResult)
        *pnResult = nResult;
    return nResult == SUCCESS_SUCCESS;
}
