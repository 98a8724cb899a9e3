// The button image editor, driven through the modal seam as a user would: tools on the picture, colours, undo and
// redo, the clipboard, imports through the file seam, the tips, and what OK hands back. Painting is read from
// memory DCs.
#include "PixelCanvas.h"
#include "UiTestRes.h"

#include "platform/mfc/afxcolordlg.h"
#include "platform/mfc/afxfiledlg.h"
#include "support/MessageBoxRecorder.h"
#include "support/ModalDialogDriver.h"
#include "support/TempFolder.h"
#include "ui/commandbars/XTPCommandBars.h"
#include "ui/commandbars/XTPImageEditorDlg.h"
#include "ui/commandbars/XTPToolBar.h"
#include "ui/persist/ImageManager.h"
#include "ui/themes/ColorTable.h"
#include "ui/uires.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace
{
const COLORREF clrMarker = XTP_IMAGEEDITOR_MARKER;
const COLORREF clrBlack = RGB(0, 0, 0);
const COLORREF clrRed = RGB(255, 0, 0);

// An icon of one colour, transparent in its left column.
HICON CreateSolidIcon(COLORREF clr, int cx = 16, int cy = 16)
{
    CPixelCanvas color(cx, cy, clr);
    color.FillSolidRect(0, 0, 1, cy, RGB(0, 0, 0));
    CPixelCanvas mask(cx, cy, RGB(0, 0, 0));
    mask.FillSolidRect(0, 0, 1, cy, RGB(255, 255, 255));
    // The canvases' bitmaps are selected: copies go into the icon.
    HBITMAP hColor = ::CreateCompatibleBitmap(color.m_hDC, cx, cy);
    HBITMAP hMask = ::CreateBitmap(cx, cy, 1, 1, nullptr);
    HDC hDC = ::CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = ::SelectObject(hDC, hColor);
    ::BitBlt(hDC, 0, 0, cx, cy, color.m_hDC, 0, 0, SRCCOPY);
    ::SelectObject(hDC, hMask);
    ::BitBlt(hDC, 0, 0, cx, cy, mask.m_hDC, 0, 0, SRCCOPY);
    ::SelectObject(hDC, hOld);
    ::DeleteDC(hDC);
    ICONINFO ii = {TRUE, 0, 0, hMask, hColor};
    HICON hIcon = ::CreateIconIndirect(&ii);
    ::DeleteObject(hColor);
    ::DeleteObject(hMask);
    return hIcon;
}

// A 32-bit top-down DIB section of straight-alpha pixels, all of one value.
HBITMAP CreateAlphaBitmap(int cx, int cy, DWORD dwPixel)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = cx;
    info.bmiHeader.biHeight = -cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* pBits = nullptr;
    HBITMAP hBitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pBits, nullptr, 0);
    std::fill_n(static_cast<DWORD*>(pBits), cx * cy, dwPixel);
    return hBitmap;
}

// The open editor as the user sees it: pixels are clicked at their cells' centres.
class CEditorUser
{
public:
    explicit CEditorUser(CXTPImageEditorDlg& dialog) : m_dialog(dialog)
    {
        m_pPicture = static_cast<CXTPImageEditorPicture*>(dialog.GetDlgItem(XTP_IDC_IMAGEEDITOR_PICTURE));
    }

    CPoint CellCentre(CPoint ptPixel) const
    {
        const CSize szCell = m_pPicture->GetCellSize();
        return CPoint(ptPixel.x * szCell.cx + szCell.cx / 2, ptPixel.y * szCell.cy + szCell.cy / 2);
    }
    void Drag(CPoint ptFrom, CPoint ptTo)
    {
        const CPoint from = CellCentre(ptFrom), to = CellCentre(ptTo);
        m_pPicture->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
        m_pPicture->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
        m_pPicture->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    }
    void Click(CPoint ptPixel) { Drag(ptPixel, ptPixel); }
    void Command(UINT nID) { m_dialog.SendMessage(WM_COMMAND, nID); }
    void ClickPicker(UINT nID) { m_dialog.GetDlgItem(nID)->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, 0); }
    // The picture pixel's colour; the marker where the picture is empty.
    COLORREF Pixel(int x, int y) const
    {
        const CXTPImageEditorBitmap* pPicture = m_dialog.GetPicture();
        return pPicture ? pPicture->GetColor(x, y) : clrMarker;
    }
    // A tool bar button's state after the dialog's idle update.
    BOOL IsChecked(UINT nID) { return ButtonState(nID) & TBSTATE_CHECKED; }
    BOOL IsEnabled(UINT nID) { return ButtonState(nID) & TBSTATE_ENABLED; }
    CXTPImageEditorPicker* Picker(UINT nID) const
    {
        return static_cast<CXTPImageEditorPicker*>(m_dialog.GetDlgItem(nID));
    }

    CXTPImageEditorDlg& m_dialog;
    CXTPImageEditorPicture* m_pPicture;

private:
    int ButtonState(UINT nID)
    {
        m_dialog.SendMessage(WM_KICKIDLE, MSGF_DIALOGBOX, 0);
        for (UINT nBar : {AFX_IDW_TOOLBAR, AFX_IDW_TOOLBAR + 1}) {
            CWnd* pBar = m_dialog.GetDlgItem(nBar);
            const int nState = static_cast<int>(pBar->SendMessage(TB_GETSTATE, nID));
            if (nState != -1)
                return nState;
        }
        ADD_FAILURE() << "no button " << nID;
        return 0;
    }
};

// Runs the editor through the modal seam; the user's actions run inside it, and the answer ends it.
INT_PTR RunEditor(CXTPImageEditorDlg& dialog, const std::function<INT_PTR(CEditorUser&)>& actions)
{
    CModalDialogDriver driver([&](CDialog& shown) -> INT_PTR {
        if (&shown != &dialog) {
            ADD_FAILURE() << "unexpected dialog " << shown.GetRuntimeClass()->m_lpszClassName;
            return IDCANCEL;
        }
        CEditorUser user(dialog);
        return actions(user);
    });
    return dialog.DoModal();
}
} // namespace

TEST(ImageEditor, PencilPaintsAndPressingOnTheCurrentColourErases)
{
    CXTPImageEditorDlg dialog;
    RunEditor(dialog, [](CEditorUser& user) {
        EXPECT_EQ(clrMarker, user.Pixel(3, 4));   // empty at first
        user.Drag(CPoint(3, 4), CPoint(5, 4));
        EXPECT_EQ(clrBlack, user.Pixel(3, 4));
        EXPECT_EQ(clrBlack, user.Pixel(5, 4));
        EXPECT_EQ(clrMarker, user.Pixel(4, 4));   // one pixel per mouse message, nothing between
        // Pressing on black with black: the stroke erases, and goes on erasing where it moves.
        user.Drag(CPoint(3, 4), CPoint(5, 4));
        EXPECT_EQ(clrMarker, user.Pixel(3, 4));
        EXPECT_EQ(clrMarker, user.Pixel(5, 4));
        return IDCANCEL;
    });
}

TEST(ImageEditor, ShapesDrawFromTheStartPixelAndEraseLikeThePencil)
{
    const struct
    {
        UINT nTool;
        CPoint ptOn[3];     // pixels the shape covers
        CPoint ptOff;       // a pixel it leaves
    } cases[] = {
        {XTP_ID_IMAGEEDITOR_LINE, {{2, 2}, {6, 6}, {10, 10}}, {10, 2}},
        {XTP_ID_IMAGEEDITOR_RECTANGLE, {{2, 2}, {10, 2}, {10, 10}}, {6, 6}},
        {XTP_ID_IMAGEEDITOR_CIRCLE, {{2, 6}, {6, 2}, {10, 6}}, {6, 6}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nTool);
        CXTPImageEditorDlg dialog;
        RunEditor(dialog, [&](CEditorUser& user) {
            user.Command(c.nTool);
            EXPECT_TRUE(user.IsChecked(c.nTool));
            EXPECT_FALSE(user.IsChecked(XTP_ID_IMAGEEDITOR_PENCIL));
            user.Drag(CPoint(2, 2), CPoint(10, 10));
            for (CPoint pt : c.ptOn)
                EXPECT_EQ(clrBlack, user.Pixel(pt.x, pt.y)) << pt.x << "," << pt.y;
            EXPECT_EQ(clrMarker, user.Pixel(c.ptOff.x, c.ptOff.y));
            // Starting on a pixel of the current colour draws the same shape transparent.
            user.Command(XTP_ID_IMAGEEDITOR_CLEAR);
            user.Command(XTP_ID_IMAGEEDITOR_FILL);
            user.Click(CPoint(0, 15));   // everything black now
            user.Command(c.nTool);
            user.Drag(CPoint(2, 2), CPoint(10, 10));
            for (CPoint pt : c.ptOn)
                EXPECT_EQ(clrMarker, user.Pixel(pt.x, pt.y)) << pt.x << "," << pt.y;
            EXPECT_EQ(clrBlack, user.Pixel(14, 14));
            return IDCANCEL;
        });
    }
}

TEST(ImageEditor, FillTakesTheRegionOfThePressedColour)
{
    CXTPImageEditorDlg dialog;
    RunEditor(dialog, [](CEditorUser& user) {
        user.Command(XTP_ID_IMAGEEDITOR_RECTANGLE);
        user.Drag(CPoint(4, 4), CPoint(8, 8));
        user.ClickPicker(XTP_IDS_CLR_RED);
        user.Command(XTP_ID_IMAGEEDITOR_FILL);
        user.Click(CPoint(6, 6));
        EXPECT_EQ(clrRed, user.Pixel(6, 6));
        EXPECT_EQ(clrBlack, user.Pixel(4, 4));    // the black frame bounds the region
        EXPECT_EQ(clrMarker, user.Pixel(0, 0));   // outside stays transparent
        return IDCANCEL;
    });
}

TEST(ImageEditor, PickingAColourReturnsToTheToolBeforeThePick)
{
    CXTPImageEditorDlg dialog;
    RunEditor(dialog, [](CEditorUser& user) {
        user.ClickPicker(XTP_IDS_CLR_RED);
        user.Click(CPoint(1, 1));
        user.ClickPicker(XTP_IDS_CLR_BLACK);
        user.Command(XTP_ID_IMAGEEDITOR_LINE);
        user.Command(XTP_ID_IMAGEEDITOR_GETCOLOR);
        EXPECT_TRUE(user.IsChecked(XTP_ID_IMAGEEDITOR_GETCOLOR));
        user.m_pPicture->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON,
                                     MAKELPARAM(user.CellCentre(CPoint(1, 1)).x, user.CellCentre(CPoint(1, 1)).y));
        EXPECT_EQ(clrRed, user.Picker(XTP_IDC_IMAGEEDITOR_CUSTOMCOLOR)->GetColor());
        EXPECT_TRUE(user.Picker(XTP_IDC_IMAGEEDITOR_CUSTOMCOLOR)->IsSelected());
        EXPECT_FALSE(user.Picker(XTP_IDS_CLR_BLACK)->IsSelected());
        EXPECT_EQ(clrRed, user.m_dialog.GetCurrentColor());
        EXPECT_TRUE(user.IsChecked(XTP_ID_IMAGEEDITOR_LINE));
        EXPECT_FALSE(user.IsChecked(XTP_ID_IMAGEEDITOR_GETCOLOR));
        return IDCANCEL;
    });
}

TEST(ImageEditor, TheColourDialogGivesTheCustomColourWhetherConfirmedOrCancelled)
{
    const struct
    {
        INT_PTR nAnswer;
        COLORREF clrExpected;
    } cases[] = {{IDOK, RGB(10, 20, 30)}, {IDCANCEL, RGB(255, 255, 255)}};
    for (const auto& c : cases) {
        CXTPImageEditorDlg dialog;
        int nColorDialogs = 0;
        CModalDialogDriver driver([&](CDialog& shown) -> INT_PTR {
            if (auto* pColorDialog = shown.IsKindOf(RUNTIME_CLASS(CColorDialog)) ? static_cast<CColorDialog*>(&shown) : nullptr) {
                ++nColorDialogs;
                EXPECT_EQ(RGB(255, 255, 255), pColorDialog->m_cc.rgbResult);   // the custom cell's colour
                pColorDialog->m_cc.rgbResult = RGB(10, 20, 30);
                return c.nAnswer;
            }
            CEditorUser user(dialog);
            user.ClickPicker(XTP_IDC_IMAGEEDITOR_CUSTOMCOLOR);
            EXPECT_EQ(c.clrExpected, user.Picker(XTP_IDC_IMAGEEDITOR_CUSTOMCOLOR)->GetColor());
            EXPECT_TRUE(user.Picker(XTP_IDC_IMAGEEDITOR_CUSTOMCOLOR)->IsSelected());
            EXPECT_EQ(c.clrExpected, dialog.GetCurrentColor());
            user.ClickPicker(XTP_IDC_IMAGEEDITOR_TRANSPARENT);
            EXPECT_FALSE(user.Picker(XTP_IDC_IMAGEEDITOR_CUSTOMCOLOR)->IsSelected());
            EXPECT_EQ(clrMarker, dialog.GetCurrentColor());
            return IDCANCEL;
        });
        dialog.DoModal();
        EXPECT_EQ(1, nColorDialogs);
    }
}

TEST(ImageEditor, UndoKeepsTheLastSixteenChangesAndANewChangeDropsTheRedo)
{
    CXTPImageEditorDlg dialog;
    RunEditor(dialog, [](CEditorUser& user) {
        EXPECT_FALSE(user.IsEnabled(XTP_ID_IMAGEEDITOR_UNDO));
        EXPECT_FALSE(user.IsEnabled(XTP_ID_IMAGEEDITOR_REDO));
        for (int i = 0; i < 17; i++)
            user.Click(CPoint(i % 16, i / 16));
        int nUndone = 0;
        while (user.IsEnabled(XTP_ID_IMAGEEDITOR_UNDO)) {
            user.Command(XTP_ID_IMAGEEDITOR_UNDO);
            ++nUndone;
        }
        EXPECT_EQ(16, nUndone);
        EXPECT_EQ(clrBlack, user.Pixel(0, 0));   // the first change stays
        EXPECT_EQ(clrMarker, user.Pixel(1, 0));
        user.Command(XTP_ID_IMAGEEDITOR_UNDO);   // nothing left: no change
        EXPECT_EQ(clrBlack, user.Pixel(0, 0));

        user.Command(XTP_ID_IMAGEEDITOR_REDO);
        EXPECT_EQ(clrBlack, user.Pixel(1, 0));
        EXPECT_TRUE(user.IsEnabled(XTP_ID_IMAGEEDITOR_REDO));
        user.Click(CPoint(5, 5));
        EXPECT_FALSE(user.IsEnabled(XTP_ID_IMAGEEDITOR_REDO));
        user.Command(XTP_ID_IMAGEEDITOR_UNDO);
        EXPECT_EQ(clrMarker, user.Pixel(5, 5));
        EXPECT_EQ(clrBlack, user.Pixel(1, 0));
        return IDCANCEL;
    });
}

TEST(ImageEditor, ClearAndMovesAreChangesThatCanBeUndone)
{
    const struct
    {
        UINT nID;
        CPoint ptMoved;
    } cases[] = {{XTP_ID_IMAGEEDITOR_LEFT, {4, 5}},
                 {XTP_ID_IMAGEEDITOR_RIGHT, {6, 5}},
                 {XTP_ID_IMAGEEDITOR_UP, {5, 4}},
                 {XTP_ID_IMAGEEDITOR_DOWN, {5, 6}}};
    for (const auto& c : cases) {
        CXTPImageEditorDlg dialog;
        RunEditor(dialog, [&](CEditorUser& user) {
            user.Click(CPoint(5, 5));
            user.Click(CPoint(0, 0));
            user.Command(c.nID);
            EXPECT_EQ(clrBlack, user.Pixel(c.ptMoved.x, c.ptMoved.y)) << c.nID;
            EXPECT_EQ(clrMarker, user.Pixel(5, 5)) << c.nID;
            user.Command(XTP_ID_IMAGEEDITOR_UNDO);
            EXPECT_EQ(clrBlack, user.Pixel(5, 5)) << c.nID;
            return IDCANCEL;
        });
    }
    CXTPImageEditorDlg dialog;
    RunEditor(dialog, [](CEditorUser& user) {
        user.Click(CPoint(5, 5));
        user.Command(XTP_ID_IMAGEEDITOR_CLEAR);
        EXPECT_EQ(nullptr, user.m_dialog.GetPicture());
        user.Command(XTP_ID_IMAGEEDITOR_UNDO);
        EXPECT_EQ(clrBlack, user.Pixel(5, 5));
        return IDCANCEL;
    });
}

TEST(ImageEditor, CopyAndPasteKeepTransparency)
{
    CXTPImageEditorDlg dialog;
    RunEditor(dialog, [](CEditorUser& user) {
        user.ClickPicker(XTP_IDS_CLR_RED);
        user.Click(CPoint(2, 3));
        user.Command(XTP_ID_IMAGEEDITOR_COPY);
        EXPECT_TRUE(::IsClipboardFormatAvailable(CF_BITMAP));
        EXPECT_FALSE(::IsClipboardFormatAvailable(CXTPImageManager::GetAlphaBitmapFormat()));
        user.Command(XTP_ID_IMAGEEDITOR_CLEAR);
        user.Command(XTP_ID_IMAGEEDITOR_PASTE);
        EXPECT_EQ(clrRed, user.Pixel(2, 3));
        EXPECT_EQ(clrMarker, user.Pixel(0, 0));   // button face on the clipboard, transparent again
        user.Command(XTP_ID_IMAGEEDITOR_UNDO);
        EXPECT_EQ(nullptr, user.m_dialog.GetPicture());
        return IDCANCEL;
    });
    // Without a bitmap on the clipboard a paste changes nothing.
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    ::CloseClipboard();
    CXTPImageEditorDlg second;
    RunEditor(second, [](CEditorUser& user) {
        user.Click(CPoint(1, 1));
        user.Command(XTP_ID_IMAGEEDITOR_PASTE);
        EXPECT_EQ(clrBlack, user.Pixel(1, 1));
        user.Command(XTP_ID_IMAGEEDITOR_UNDO);
        EXPECT_FALSE(user.IsEnabled(XTP_ID_IMAGEEDITOR_UNDO));   // the paste pushed nothing
        return IDCANCEL;
    });
}

TEST(ImageEditor, ImportThroughTheFileSeam)
{
    CTempFolder folder;
    // A 2 x 1 bitmap: red, then green; rows bottom-up, 4-byte aligned.
    std::string bmp = "BM";
    auto put32 = [&](unsigned v) { bmp.append(reinterpret_cast<const char*>(&v), 4); };
    auto put16 = [&](unsigned short v) { bmp.append(reinterpret_cast<const char*>(&v), 2); };
    put32(14 + 40 + 8); put16(0); put16(0); put32(14 + 40);
    put32(40); put32(2); put32(1); put16(1); put16(24); put32(0); put32(8); put32(0); put32(0); put32(0); put32(0);
    bmp += std::string("\x00\x00\xFF\x00\xFF\x00\x00\x00", 8);
    const CString strGood = folder.Write(L"due.bmp", bmp);

    const struct
    {
        LPCTSTR name;
        std::string bytes;
    } damaged[] = {{L"rotto.bmp", bmp.substr(0, 20)},
                   {L"rotto.ico", std::string("\0\0\1\0\1\0garbage", 13)},
                   {L"rotto.gif", "GIF89a\x01"}};
    for (const auto& d : damaged) {
        SCOPED_TRACE(CString(d.name).ToMultiByte(CP_UTF8));
        const CString strPath = folder.Write(d.name, d.bytes);
        CXTPImageEditorDlg dialog;
        CMessageBoxRecorder messages;
        int nFileDialogs = 0;
        CModalDialogDriver driver([&](CDialog& shown) -> INT_PTR {
            if (auto* pFileDialog = shown.IsKindOf(RUNTIME_CLASS(CFileDialog)) ? static_cast<CFileDialog*>(&shown) : nullptr) {
                ++nFileDialogs;
                EXPECT_TRUE(pFileDialog->IsOpenFileDialog());
                EXPECT_STREQ(L"Tutti i file di immagini", pFileDialog->m_ofn.lpstrFilter);
                wcscpy(pFileDialog->m_ofn.lpstrFile, strPath);
                return IDOK;
            }
            CEditorUser user(dialog);
            user.Click(CPoint(1, 1));
            user.Command(XTP_ID_IMAGEEDITOR_OPEN);
            EXPECT_EQ(clrBlack, user.Pixel(1, 1));
            EXPECT_EQ(clrMarker, user.Pixel(0, 0));
            user.Command(XTP_ID_IMAGEEDITOR_UNDO);
            EXPECT_FALSE(user.IsEnabled(XTP_ID_IMAGEEDITOR_UNDO));   // only the click was a change
            return IDCANCEL;
        });
        dialog.DoModal();
        EXPECT_EQ(1, nFileDialogs);
        ASSERT_EQ(1u, messages.Count());
        EXPECT_EQ(CString(L"Impossibile leggere un'immagine da questo file."), messages.Last().text);
        EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), messages.LastIcon());
    }

    CXTPImageEditorDlg dialog;
    CModalDialogDriver driver([&](CDialog& shown) -> INT_PTR {
        if (auto* pFileDialog = shown.IsKindOf(RUNTIME_CLASS(CFileDialog)) ? static_cast<CFileDialog*>(&shown) : nullptr) {
            wcscpy(pFileDialog->m_ofn.lpstrFile, strGood);
            return IDOK;
        }
        CEditorUser user(dialog);
        user.Command(XTP_ID_IMAGEEDITOR_OPEN);
        EXPECT_EQ(clrRed, user.Pixel(0, 0));
        EXPECT_EQ(RGB(0, 255, 0), user.Pixel(1, 0));
        EXPECT_EQ(clrMarker, user.Pixel(2, 0));   // beyond the file's picture
        EXPECT_FALSE(dialog.GetPicture()->IsAlpha());
        user.Command(XTP_ID_IMAGEEDITOR_UNDO);
        EXPECT_EQ(nullptr, dialog.GetPicture());
        return IDCANCEL;
    });
    dialog.DoModal();
}

TEST(ImageEditor, PictureCellsFitTheControlAndNeverShrinkToNothing)
{
    const struct
    {
        CSize szPicture;
    } cases[] = {{{16, 16}}, {{24, 24}}, {{300, 300}}};
    for (const auto& c : cases) {
        CXTPImageEditorDlg dialog;
        dialog.SetSize(c.szPicture.cx, c.szPicture.cy);
        RunEditor(dialog, [&](CEditorUser& user) {
            const CSize szCell = user.m_pPicture->GetCellSize();
            EXPECT_GE(szCell.cx, 1);
            EXPECT_GE(szCell.cy, 1);
            CRect rc;
            user.m_pPicture->GetWindowRect(&rc);
            EXPECT_EQ(szCell.cx * c.szPicture.cx + 1, rc.Width());
            EXPECT_EQ(szCell.cy * c.szPicture.cy + 1, rc.Height());
            const CPoint ptLast(c.szPicture.cx - 1, c.szPicture.cy - 1);
            user.Click(ptLast);
            EXPECT_EQ(clrBlack, user.Pixel(ptLast.x, ptLast.y));
            return IDCANCEL;
        });
    }
    // The cells of the 24-pixel picture are smaller than those of the 16-pixel one.
    CXTPImageEditorDlg small, large;
    CSize szSmall, szLarge;
    large.SetIcon(CXTPImageManagerIconHandle(CreateSolidIcon(clrRed, 24, 24)));
    EXPECT_EQ(CSize(24, 24), large.GetSize());
    RunEditor(small, [&](CEditorUser& user) { szSmall = user.m_pPicture->GetCellSize(); return IDCANCEL; });
    RunEditor(large, [&](CEditorUser& user) {
        szLarge = user.m_pPicture->GetCellSize();
        EXPECT_EQ(clrRed, user.Pixel(23, 23));
        return IDCANCEL;
    });
    EXPECT_LT(szLarge.cx, szSmall.cx);
}

TEST(ImageEditor, TipsComeFromTheStringsCutToTheNotificationsBuffer)
{
    CXTPImageEditorDlg dialog;
    RunEditor(dialog, [](CEditorUser& user) {
        const struct
        {
            UINT nID;
            LPCWSTR expected;
        } cases[] = {{XTP_ID_IMAGEEDITOR_PENCIL, L"Matita"},
                     {XTP_ID_IMAGEEDITOR_OPEN, L"Importare dal file:"},
                     {IDS_UITEST_LONGTIP, L"Suggerimento di prova lungo cento caratteri: "
                                          L"0123456789012345678901234567890123"}};
        // The notifications come from the tools bar's tip window.
        HWND hWndTip = reinterpret_cast<HWND>(user.m_dialog.GetDlgItem(AFX_IDW_TOOLBAR)->SendMessage(TB_GETTOOLTIPS));
        EXPECT_NE(nullptr, hWndTip);
        for (const auto& c : cases) {
            NMTTDISPINFOW infoW = {};
            infoW.hdr = {hWndTip, c.nID, static_cast<UINT>(TTN_NEEDTEXTW)};
            std::fill_n(infoW.szText, 80, L'#');
            user.m_dialog.SendMessage(WM_NOTIFY, c.nID, reinterpret_cast<LPARAM>(&infoW));
            EXPECT_STREQ(c.expected, infoW.szText);

            NMTTDISPINFOA infoA = {};
            infoA.hdr = {hWndTip, c.nID, static_cast<UINT>(TTN_NEEDTEXTA)};
            std::fill_n(infoA.szText, 80, '#');
            user.m_dialog.SendMessage(WM_NOTIFY, c.nID, reinterpret_cast<LPARAM>(&infoA));
            EXPECT_STREQ(CString(c.expected).ToMultiByte(CP_ACP).c_str(), infoA.szText);
        }
        return IDCANCEL;
    });
}

TEST(ImageEditor, PaintingShowsCellsOnACheckerboardInABlackFrame)
{
    CXTPImageEditorDlg dialog;
    RunEditor(dialog, [](CEditorUser& user) {
        user.ClickPicker(XTP_IDS_CLR_RED);
        user.Click(CPoint(0, 0));
        const CSize szCell = user.m_pPicture->GetCellSize();
        CRect rc;
        user.m_pPicture->GetClientRect(&rc);
        CPixelCanvas canvas(rc.Width(), rc.Height(), RGB(1, 2, 3));
        user.m_pPicture->Draw(&canvas);
        EXPECT_EQ(clrBlack, canvas.At(0, 0));                              // frame
        EXPECT_EQ(clrBlack, canvas.At(rc.Width() - 1, rc.Height() / 2));
        EXPECT_EQ(clrRed, canvas.At(szCell.cx / 2, szCell.cy / 2));       // the red cell
        // Transparent pixels: squares of four, 0xEBEBEB where ((x + 3) / 4 + (y + 3) / 4) is odd.
        const int x = szCell.cx * 8, y = szCell.cy * 8;
        for (int dx : {0, 1, 2, 3, 4, 5, 6, 7}) {
            const int b = ((x + dx + 3) / 4 + (y + 3) / 4) % 2 ? 235 : 255;
            EXPECT_EQ(RGB(b, b, b), canvas.At(x + dx, y)) << dx;
        }

        // The palette cells: selected with black, white and black frames; the transparent one in quarters.
        CXTPImageEditorPicker* pRed = user.Picker(XTP_IDS_CLR_RED);
        CRect rcCell;
        pRed->GetClientRect(&rcCell);
        CPixelCanvas cell(rcCell.Width(), rcCell.Height());
        pRed->Draw(&cell);
        EXPECT_EQ(clrBlack, cell.At(0, 0));
        EXPECT_EQ(RGB(255, 255, 255), cell.At(1, 1));
        EXPECT_EQ(clrBlack, cell.At(2, 2));
        EXPECT_EQ(clrRed, cell.At(rcCell.Width() / 2, rcCell.Height() / 2));
        CXTPImageEditorPicker* pTransparent = user.Picker(XTP_IDC_IMAGEEDITOR_TRANSPARENT);
        pTransparent->GetClientRect(&rcCell);
        CPixelCanvas quarters(rcCell.Width(), rcCell.Height());
        pTransparent->Draw(&quarters);
        EXPECT_EQ(GetStandardColor(COLOR_3DDKSHADOW), quarters.At(0, 0));
        EXPECT_EQ(RGB(235, 235, 235), quarters.At(2, 2));
        EXPECT_EQ(RGB(255, 255, 255), quarters.At(rcCell.Width() - 3, 2));
        EXPECT_EQ(RGB(235, 235, 235), quarters.At(rcCell.Width() - 3, rcCell.Height() - 3));

        // The preview: the picture at real size, 10 pixels from the left, its transparency in button face.
        CXTPImageEditorPreview* pPreview =
            static_cast<CXTPImageEditorPreview*>(user.m_dialog.GetDlgItem(XTP_IDC_IMAGEEDITOR_PREVIEW));
        EXPECT_FALSE(pPreview->GetExStyle() & WS_EX_STATICEDGE);
        CRect rcPreview;
        pPreview->GetClientRect(&rcPreview);
        CPixelCanvas preview(rcPreview.Width(), rcPreview.Height());
        pPreview->Draw(&preview);
        const int top = (rcPreview.Height() - 16) / 2;
        EXPECT_EQ(clrRed, preview.At(10, top));
        EXPECT_EQ(GetStandardColor(COLOR_BTNFACE), preview.At(11, top));
        EXPECT_EQ(RGB(255, 255, 255), preview.At(7, top));   // the frame three pixels out
        EXPECT_EQ(GetStandardColor(COLOR_BTNFACE), preview.At(2, 2));
        return IDCANCEL;
    });
}

TEST(ImageEditor, AlphaPicturesBlendOverTheCheckerboardAndComeBackAsAlphaBitmaps)
{
    // Half-transparent red.
    HBITMAP hAlpha = CreateAlphaBitmap(16, 16, 0x80FF0000);
    CXTPImageEditorDlg dialog;
    CXTPImageManagerIconHandle hIn(hAlpha);
    dialog.SetIcon(hIn);
    CXTPImageManagerIconHandle hOut;
    RunEditor(dialog, [&](CEditorUser& user) {
        EXPECT_TRUE(dialog.GetPicture()->IsAlpha());
        CRect rc;
        user.m_pPicture->GetClientRect(&rc);
        CPixelCanvas canvas(rc.Width(), rc.Height());
        user.m_pPicture->Draw(&canvas);
        // Over 255 and 235: b - ((b - c) * 128) / 255 per channel.
        for (CPoint pt : {CPoint(1, 1), CPoint(5, 1)}) {
            const int b = ((pt.x + 3) / 4 + (pt.y + 3) / 4) % 2 ? 235 : 255;
            const int r = b - ((b - 255) * 128) / 255, gb = b - (b * 128) / 255;
            EXPECT_EQ(RGB(r, gb, gb), canvas.At(pt.x, pt.y)) << pt.x;
        }
        // The pencil paints opaque.
        user.Click(CPoint(0, 0));
        EXPECT_EQ(0xFF000000u, dialog.GetPicture()->GetBits(0, 0));
        return IDOK;
    });
    dialog.GetIcon(hOut);
    ASSERT_TRUE(hOut.IsAlpha());
    EXPECT_EQ(CSize(16, 16), hOut.GetExtent());
    ::DeleteObject(hAlpha);
}

TEST(ImageEditor, OkGivesTheControlACustomIconAndReplacesItLater)
{
    CXTPCommandBars* pCommandBars = new CXTPCommandBars;
    CXTPToolBar* pBar = new CXTPToolBar;
    pBar->SetCommandBars(pCommandBars);
    UINT ids[] = {101};
    pBar->SetButtons(ids, 1);
    CXTPImageManager* pImages = pCommandBars->GetImageManager();
    HICON hIcon = CreateSolidIcon(clrRed);
    pImages->SetIcon(CXTPImageManagerIconHandle(hIcon), 101);
    CXTPControl* pControl = pBar->GetControls()->GetAt(0);

    // The editor opens on the control's icon; the user paints a black pixel and confirms.
    auto edit = [&](INT_PTR nAnswer, CPoint ptPaint) {
        CModalDialogDriver driver([&](CDialog& shown) -> INT_PTR {
            auto& editor = static_cast<CXTPImageEditorDlg&>(shown);
            EXPECT_EQ(CSize(16, 16), editor.GetSize());
            CEditorUser user(editor);
            EXPECT_EQ(clrMarker, user.Pixel(0, 5));   // the icon's transparent column
            user.Click(ptPaint);
            return nAnswer;
        });
        return CXTPImageEditorDlg::EditControlIcon(pControl, nullptr);
    };
    auto iconPixel = [&](int nId, int x, int y) {
        CPixelCanvas canvas(16, 16, RGB(0, 0, 255));
        pImages->GetImage(static_cast<UINT>(nId), 16)->Draw(&canvas, CPoint(0, 0));
        return canvas.At(x, y);
    };

    EXPECT_FALSE(edit(IDCANCEL, CPoint(3, 3)));
    EXPECT_EQ(0, pControl->GetCustomIconId());

    EXPECT_TRUE(edit(IDOK, CPoint(3, 3)));
    const int nCustom = pControl->GetCustomIconId();
    EXPECT_GT(nCustom, 0);
    EXPECT_EQ(clrBlack, iconPixel(nCustom, 3, 3));
    EXPECT_EQ(clrRed, iconPixel(nCustom, 4, 4));
    EXPECT_EQ(RGB(0, 0, 255), iconPixel(nCustom, 0, 5));   // transparent stays transparent
    EXPECT_EQ(clrRed, iconPixel(101, 3, 3));                // the original is untouched

    // Editing again replaces the custom icon in place.
    EXPECT_TRUE(edit(IDOK, CPoint(6, 6)));
    EXPECT_EQ(nCustom, pControl->GetCustomIconId());
    EXPECT_EQ(clrBlack, iconPixel(nCustom, 6, 6));
    EXPECT_EQ(clrBlack, iconPixel(nCustom, 3, 3));

    ::DestroyIcon(hIcon);
    pBar->InternalRelease();
    pCommandBars->InternalRelease();
}

TEST(ImageEditor, ToolBarsTakeTheirImagesFromThePlainOrTheAlphaStrip)
{
    // comctl32 6 is not there under test: its answer is injected.
    const struct
    {
        BOOL bComCtl6;
    } cases[] = {{FALSE}, {TRUE}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bComCtl6);
        CXTPImageEditorDlg dialog;
        dialog.m_pfnIsComCtlVersion6 = c.bComCtl6 ? +[]() -> BOOL { return TRUE; } : +[]() -> BOOL { return FALSE; };
        RunEditor(dialog, [&](CEditorUser& user) {
            const struct
            {
                UINT nBar;
                int nButtons, nImages;
            } bars[] = {{AFX_IDW_TOOLBAR, 12, 16}, {AFX_IDW_TOOLBAR + 1, 4, 4}};   // the moves keep their four
            for (const auto& bar : bars) {
                CWnd* pBar = user.m_dialog.GetDlgItem(bar.nBar);
                EXPECT_EQ(bar.nButtons, static_cast<int>(pBar->SendMessage(TB_BUTTONCOUNT)));
                HIMAGELIST hList = reinterpret_cast<HIMAGELIST>(pBar->SendMessage(TB_GETIMAGELIST));
                EXPECT_EQ(bar.nImages, ::ImageList_GetImageCount(hList));
            }
            // The move bar's first image is the left arrow: its shaft is drawn, its corner is transparent.
            HIMAGELIST hMoves =
                reinterpret_cast<HIMAGELIST>(user.m_dialog.GetDlgItem(AFX_IDW_TOOLBAR + 1)->SendMessage(TB_GETIMAGELIST));
            CPixelCanvas canvas(16, 16, RGB(0, 0, 255));
            ::ImageList_Draw(hMoves, 0, canvas.m_hDC, 0, 0, ILD_NORMAL);
            EXPECT_EQ(clrBlack, canvas.At(8, 7));
            EXPECT_EQ(RGB(0, 0, 255), canvas.At(0, 0));
            // Three rows of four tools: the fifth button starts the second row.
            CWnd* pTools = user.m_dialog.GetDlgItem(AFX_IDW_TOOLBAR);
            CRect rcFirst, rcFifth;
            pTools->SendMessage(TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rcFirst));
            pTools->SendMessage(TB_GETITEMRECT, 4, reinterpret_cast<LPARAM>(&rcFifth));
            EXPECT_EQ(rcFirst.left, rcFifth.left);
            EXPECT_EQ(rcFirst.bottom, rcFifth.top);
            EXPECT_EQ(CSize(23, 23), rcFirst.Size());
            return IDCANCEL;
        });
    }
}

TEST(ImageEditor, APasteIsAlphaByTheClipboardsFormats)
{
    // A registered format counts when "DIB32" comes after its first character.
    const struct
    {
        LPCTSTR lpszFormat;   // a registered format put beside the bitmap, or null
        BOOL bAlpha;
    } cases[] = {{nullptr, FALSE}, {L"Alpha Bitmap Image", TRUE}, {L"PaintDIB32", TRUE}, {L"DIB32Paint", FALSE}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lpszFormat ? CString(c.lpszFormat).ToMultiByte(CP_UTF8) : std::string("none"));
        HBITMAP hBitmap = CreateAlphaBitmap(16, 16, 0xFF00FF00);
        ASSERT_TRUE(::OpenClipboard(nullptr));
        ::EmptyClipboard();
        ::SetClipboardData(CF_BITMAP, hBitmap);
        if (c.lpszFormat)
            ::SetClipboardData(::RegisterClipboardFormatW(c.lpszFormat), ::GlobalAlloc(GMEM_MOVEABLE, 1));
        ::CloseClipboard();
        CXTPImageEditorDlg dialog;
        RunEditor(dialog, [&](CEditorUser& user) {
            user.Command(XTP_ID_IMAGEEDITOR_PASTE);
            EXPECT_NE(nullptr, dialog.GetPicture());
            if (dialog.GetPicture()) {
                EXPECT_EQ(c.bAlpha, dialog.GetPicture()->IsAlpha());
                EXPECT_EQ(RGB(0, 255, 0), user.Pixel(5, 5));
            }
            return IDCANCEL;
        });
    }
}

TEST(ImageEditor, CopyingAnAlphaPictureMarksTheClipboard)
{
    HBITMAP hAlpha = CreateAlphaBitmap(16, 16, 0x80FF0000);
    CXTPImageEditorDlg dialog;
    dialog.SetIcon(CXTPImageManagerIconHandle(hAlpha));
    RunEditor(dialog, [&](CEditorUser& user) {
        user.Command(XTP_ID_IMAGEEDITOR_COPY);
        EXPECT_TRUE(::IsClipboardFormatAvailable(CF_BITMAP));
        EXPECT_TRUE(::IsClipboardFormatAvailable(CXTPImageManager::GetAlphaBitmapFormat()));
        user.Command(XTP_ID_IMAGEEDITOR_CLEAR);
        user.Command(XTP_ID_IMAGEEDITOR_PASTE);
        EXPECT_NE(nullptr, dialog.GetPicture());
        if (dialog.GetPicture()) {
            EXPECT_TRUE(dialog.GetPicture()->IsAlpha());
            EXPECT_EQ(0x80FF0000u, dialog.GetPicture()->GetBits(7, 7));
        }
        return IDCANCEL;
    });
    ::DeleteObject(hAlpha);
}
