// Shows the button image editor on a painted icon, with the rectangle tool chosen and a red cell selected, and saves
// a picture of the dialog taken inside the process (the root-window capture can show owned windows black):
// build/<folder>/tests/editor_show.exe OUT.bmp. The dialog runs through the modal seam, so the program ends alone.
#include "platform/mfc/afxdialog.h"
#include "ui/commandbars/XTPImageEditorDlg.h"
#include "ui/persist/ImageManager.h"
#include "ui/uires.h"

#include "DiscIcon.h"
#include "ShowPicture.h"

#include <cstdio>

namespace
{
void PumpPaint()
{
    MSG msg;
    for (int i = 0; i < 20; i++) {
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::Sleep(20);
    }
}

// The window copied from its own surface, frame included, into a 24-bit BMP file.
BOOL SavePicture(HWND hWnd, const char* pszPath)
{
    CRect rc;
    ::GetWindowRect(hWnd, &rc);
    CShowPicture picture(rc);
    picture.CopyWindow(hWnd);
    return picture.Save(pszPath);
}
} // namespace

int main(int argc, char** argv)
{
    const char* pszOut = argc > 1 ? argv[1] : "editor_show.bmp";
    XTPImageManager();   // the alpha drawing entry
    CXTPImageEditorDlg dialog;
    HICON hIcon = CreateDiscIcon(RGB(250, 200, 40), RGB(120, 60, 0));
    dialog.SetIcon(CXTPImageManagerIconHandle(hIcon));
    BOOL bSaved = FALSE;
    AfxSetModalHandler([&](CDialog&) -> INT_PTR {
        dialog.CenterWindow();
        dialog.ShowWindow(SW_SHOW);
        dialog.SendMessage(WM_COMMAND, XTP_ID_IMAGEEDITOR_RECTANGLE);
        dialog.GetDlgItem(XTP_IDS_CLR_RED)->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, 0);
        CWnd* pPicture = dialog.GetDlgItem(XTP_IDC_IMAGEEDITOR_PICTURE);
        const CSize szCell = static_cast<CXTPImageEditorPicture*>(pPicture)->GetCellSize();
        pPicture->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(szCell.cx * 5, szCell.cy * 5));
        pPicture->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(szCell.cx * 10 + 1, szCell.cy * 10 + 1));
        pPicture->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(szCell.cx * 10 + 1, szCell.cy * 10 + 1));
        dialog.SendMessage(WM_KICKIDLE, MSGF_DIALOGBOX, 0);
        PumpPaint();
        bSaved = SavePicture(dialog.m_hWnd, pszOut);
        ::Sleep(3000);   // long enough for a root-window shot too
        return IDCANCEL;
    });
    dialog.DoModal();
    ::DestroyIcon(hIcon);
    return bSaved ? 0 : 1;
}
