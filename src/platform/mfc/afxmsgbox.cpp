#include "afxmsgbox.h"

namespace
{
int SystemMessageBox(const AFX_MSGBOX_REQUEST& request)
{
    return ::MessageBoxW(request.owner, request.text, request.caption, request.type);
}

AFX_MSGBOX_HANDLER g_handler = SystemMessageBox;
} // namespace

AFX_MSGBOX_HANDLER AfxSetMessageBoxHandler(AFX_MSGBOX_HANDLER handler)
{
    AFX_MSGBOX_HANDLER previous = g_handler;
    g_handler = handler ? handler : SystemMessageBox;
    return previous;
}

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
