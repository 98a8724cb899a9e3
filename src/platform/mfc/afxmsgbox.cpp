#include "afxmsgbox.h"
#include "afxres.h"

namespace
{
int SystemMessageBox(const AFX_MSGBOX_REQUEST& request)
{
    return ::MessageBoxW(request.owner, request.text, request.caption, request.type);
}

AFX_MSGBOX_HANDLER g_handler = SystemMessageBox;
CString g_appTitle;
} // namespace

AFX_MSGBOX_HANDLER AfxSetMessageBoxHandler(AFX_MSGBOX_HANDLER handler)
{
    AFX_MSGBOX_HANDLER previous = g_handler;
    g_handler = handler ? handler : SystemMessageBox;
    return previous;
}

CString AfxGetAppTitle()
{
    if (g_appTitle.IsEmpty() && !g_appTitle.LoadString(AFX_IDS_APP_TITLE)) {
        TCHAR path[MAX_PATH] = {};
        ::GetModuleFileNameW(nullptr, path, MAX_PATH);
        CString name(path);
        name = name.Mid(name.ReverseFind(L'\\') + 1);
        int dot = name.ReverseFind(L'.');
        g_appTitle = dot > 0 ? name.Left(dot) : name;
    }
    return g_appTitle;
}

void AfxSetAppTitle(LPCTSTR lpszTitle) { g_appTitle = lpszTitle; }

int AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT /*nIDHelp*/)
{
    AFX_MSGBOX_REQUEST request;
    request.text = lpszText;
    request.caption = AfxGetAppTitle();
    request.type = nType;
    request.owner = ::GetActiveWindow();
    return g_handler(request);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp)
{
    CString text;
    text.LoadString(nIDPrompt);
    return AfxMessageBox(text, nType, nIDHelp == (UINT)-1 ? nIDPrompt : nIDHelp);
}
