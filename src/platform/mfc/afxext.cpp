#include "afxext.h"
#include "afxmodule.h"

#include <vector>

IMPLEMENT_DYNAMIC(CToolBar, CWnd)

BOOL CToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    if (!CWnd::Create(TOOLBARCLASSNAMEW, nullptr, dwStyle, CRect(0, 0, 0, 0), pParentWnd, nID))
        return FALSE;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    return TRUE;
}

BOOL CToolBar::LoadToolBar(LPCTSTR lpszResourceName)
{
    if (!::IsWindow(m_hWnd))
        return FALSE;
    HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, RT_TOOLBAR);
    HRSRC hResource = ::FindResourceW(hInst, lpszResourceName, RT_TOOLBAR);
    HGLOBAL hData = hResource ? ::LoadResource(hInst, hResource) : nullptr;
    const WORD* pWords = hData ? static_cast<const WORD*>(::LockResource(hData)) : nullptr;
    const DWORD cbData = hResource ? ::SizeofResource(hInst, hResource) : 0;
    // Version 1 only, and long enough for the count it states.
    if (!pWords || cbData < 4 * sizeof(WORD) || pWords[0] != 1 || pWords[1] == 0 ||
        cbData < (4u + pWords[3]) * sizeof(WORD))
        return FALSE;
    const CSize sizeImage(pWords[1], pWords[2]);
    const int nItems = pWords[3];
    const WORD* pIDs = pWords + 4;

    CBitmap bitmap;
    if (!bitmap.Attach(::LoadBitmapW(AfxFindResourceHandle(lpszResourceName, RT_BITMAP), lpszResourceName)))
        return FALSE;
    BITMAP info = {};
    bitmap.GetObject(sizeof(info), &info);

    SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(sizeImage.cx, sizeImage.cy));
    const int nImages = info.bmWidth / sizeImage.cx;
    if (m_bitmap.GetSafeHandle()) {
        TBREPLACEBITMAP replace = {nullptr, reinterpret_cast<UINT_PTR>(m_bitmap.GetSafeHandle()), nullptr,
                                   reinterpret_cast<UINT_PTR>(bitmap.GetSafeHandle()), nImages};
        SendMessage(TB_REPLACEBITMAP, 0, reinterpret_cast<LPARAM>(&replace));
    } else {
        TBADDBITMAP add = {nullptr, reinterpret_cast<UINT_PTR>(bitmap.GetSafeHandle())};
        SendMessage(TB_ADDBITMAP, static_cast<WPARAM>(nImages), reinterpret_cast<LPARAM>(&add));
    }
    m_bitmap.DeleteObject();
    m_bitmap.Attach(bitmap.Detach());
    m_sizeImage = sizeImage;

    std::vector<UINT> ids(pIDs, pIDs + nItems);
    return SetButtons(ids.data(), nItems);
}

BOOL CToolBar::SetButtons(const UINT* lpIDArray, int nIDCount)
{
    while (SendMessage(TB_DELETEBUTTON, 0)) {
    }
    std::vector<TBBUTTON> buttons(static_cast<size_t>(nIDCount));
    int nImage = 0;
    for (int i = 0; i < nIDCount; i++) {
        TBBUTTON& button = buttons[static_cast<size_t>(i)];
        button.idCommand = static_cast<int>(lpIDArray[i]);
        if (lpIDArray[i] == 0) {
            button.fsStyle = BTNS_SEP;
        } else {
            button.iBitmap = nImage++;
            button.fsState = TBSTATE_ENABLED;
            button.fsStyle = BTNS_BUTTON;
        }
    }
    BOOL bAdded = nIDCount == 0 || SendMessage(TB_ADDBUTTONSW, static_cast<WPARAM>(nIDCount),
                                               reinterpret_cast<LPARAM>(buttons.data()));
    SendMessage(TB_AUTOSIZE);
    return bAdded;
}

int CToolBar::GetCount() const { return static_cast<int>(SendMessage(TB_BUTTONCOUNT)); }

UINT CToolBar::GetItemID(int nIndex) const
{
    TBBUTTON button = {};
    if (!SendMessage(TB_GETBUTTON, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&button)))
        return 0;
    return static_cast<UINT>(button.idCommand);
}
