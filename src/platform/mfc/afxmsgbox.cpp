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

namespace
{
int ShowMessageBox(HWND hWndOwner, LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType)
{
    AFX_MSGBOX_REQUEST request;
    request.text = lpszText;
    request.caption = lpszCaption;
    request.type = nType;
    request.owner = hWndOwner ? hWndOwner : ::GetActiveWindow();
    return g_handler(request);
}
} // namespace

int AfxMessageBoxCaption(LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType)
{
    return ShowMessageBox(nullptr, lpszText, lpszCaption, nType);
}

int AfxMessageBoxOwned(HWND hWndOwner, LPCTSTR lpszText, UINT nType)
{
    return ShowMessageBox(hWndOwner, lpszText, AfxGetAppTitle(), nType);
}

int AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT /*nIDHelp*/)
{
    return AfxMessageBoxCaption(lpszText, AfxGetAppTitle(), nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp)
{
    CString text;
    text.LoadString(nIDPrompt);
    return AfxMessageBox(text, nType, nIDHelp == (UINT)-1 ? nIDPrompt : nIDHelp);
}
