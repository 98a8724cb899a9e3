// The icon commands of the customise sheet's context menu: a button's icon copied to and pasted from the
// clipboard, chosen among the sheet's own icons, or edited in the button image editor; each new image becomes a custom icon of the
// manager's image store and the button's custom icon id. Clipboard data that cannot be read changes nothing.
#include "ui/commandbars/XTPCustomizeSheet.h"

#include "platform/mfc/afxexcept.h"
#include "platform/mfc/afxoledataobj.h"
#include "ui/commandbars/XTPCommandBars.h"
#include "ui/commandbars/XTPImageEditorDlg.h"
#include "ui/persist/ImageManager.h"

namespace
{
// Buttons and popups carry icons.
BOOL HasIcon(const CXTPControl* pControl)
{
    return pControl->GetType() >= xtpControlButton && pControl->GetType() <= xtpControlSplitButtonPopup;
}

// The clipboard, open for one operation.
class CClipboardLock
{
public:
    explicit CClipboardLock(HWND hWnd) : m_bOpen(::OpenClipboard(hWnd)) {}
    ~CClipboardLock()
    {
        if (m_bOpen)
            ::CloseClipboard();
    }
    CClipboardLock(const CClipboardLock&) = delete;
    CClipboardLock& operator=(const CClipboardLock&) = delete;
    BOOL IsOpen() const { return m_bOpen; }

private:
    BOOL m_bOpen;
};

// A plain icon on the button face, as the clipboard shows it to other programs.
HBITMAP DrawIconOnFace(HICON hIcon, CSize sz)
{
    HDC hScreen = ::GetDC(nullptr);
    HDC hDC = ::CreateCompatibleDC(hScreen);
    HBITMAP hBitmap = ::CreateCompatibleBitmap(hScreen, sz.cx, sz.cy);
    ::ReleaseDC(nullptr, hScreen);
    if (hBitmap) {
        HGDIOBJ hOld = ::SelectObject(hDC, hBitmap);
        RECT rc = {0, 0, sz.cx, sz.cy};
        ::FillRect(hDC, &rc, ::GetSysColorBrush(COLOR_BTNFACE));
        ::DrawStateW(hDC, nullptr, nullptr, reinterpret_cast<LPARAM>(hIcon), 0, 0, 0, sz.cx, sz.cy, DST_ICON);
        ::SelectObject(hDC, hOld);
    }
    ::DeleteDC(hDC);
    return hBitmap;
}

// A plain bitmap from the clipboard as an icon: the button face colour becomes transparent.
HICON IconFromFaceBitmap(HBITMAP hBitmap)
{
    BITMAP bm = {};
    if (!::GetObjectW(hBitmap, sizeof(bm), &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0)
        return nullptr;
    HIMAGELIST hList = ::ImageList_Create(bm.bmWidth, bm.bmHeight, ILC_COLOR24 | ILC_MASK, 1, 0);
    if (!hList)
        return nullptr;
    HICON hIcon = nullptr;
    if (::ImageList_AddMasked(hList, hBitmap, ::GetSysColor(COLOR_BTNFACE)) == 0)
        hIcon = ::ImageList_GetIcon(hList, 0, ILD_NORMAL);
    ::ImageList_Destroy(hList);
    return hIcon;
}
}

void CXTPCustomizeSheet::CopyIcon()
{
    CXTPControl* pControl = m_pCommandBars->GetDragControl();
    if (!pControl)
        return;
    CXTPImageManager* pImages = m_pCommandBars->GetImageManager();
    UINT nIconId = static_cast<UINT>(pControl->GetIconId());
    CXTPImageManagerIcon* pIcon = pImages->GetImage(nIconId, 16);
    if (!pIcon || pIcon->GetIcon().IsEmpty())
        return;
    BOOL bAlpha = pIcon->IsAlpha();
    HBITMAP hBitmap = bAlpha ? static_cast<HBITMAP>(::CopyImage(pIcon->GetIcon().GetBitmap(), IMAGE_BITMAP, 0, 0,
                                                                LR_CREATEDIBSECTION))
                             : DrawIconOnFace(pIcon->GetIcon().GetIcon(), pIcon->GetExtent());
    if (!hBitmap)
        return;
    CClipboardLock clipboard(GetSafeHwnd());
    if (!clipboard.IsOpen() || !::EmptyClipboard() || !::SetClipboardData(CF_BITMAP, hBitmap)) {
        ::DeleteObject(hBitmap);
        return;
    }
    if (bAlpha) {
        // The marker says the bitmap's fourth byte is alpha; its content does not matter.
        if (HGLOBAL hMarker = ::GlobalAlloc(GMEM_MOVEABLE, 1))
            if (!::SetClipboardData(CXTPImageManager::GetAlphaBitmapFormat(), hMarker))
                ::GlobalFree(hMarker);
    }
    if (pImages->GetIconSet(nIconId))
        pImages->CopyToClipboard(nIconId);
}

void CXTPCustomizeSheet::PasteIcon()
{
    CXTPControl* pControl = m_pCommandBars->GetDragControl();
    if (!pControl || !HasIcon(pControl))
        return;
    CXTPImageManager* pImages = m_pCommandBars->GetImageManager();
    UINT nNewId = 0;
    if (::IsClipboardFormatAvailable(CXTPImageManager::GetClipboardFormat())) {
        COleDataObject data;
        if (!data.AttachClipboard())
            return;
        try {
            nNewId = pImages->PasteFromClipboard(data);
        } catch (CException* e) {
            e->Delete();   // damaged data: the button keeps its icon
            return;
        }
    } else {
        CClipboardLock clipboard(GetSafeHwnd());
        auto hBitmap = clipboard.IsOpen() ? static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP)) : nullptr;
        if (!hBitmap)
            return;
        CXTPImageManagerIconHandle hIcon;
        if (::IsClipboardFormatAvailable(CXTPImageManager::GetAlphaBitmapFormat())) {
            BITMAP bm = {};
            if (::GetObjectW(hBitmap, sizeof(bm), &bm) && bm.bmBitsPixel == 32)
                hIcon.CopyBitmap(hBitmap);
        } else if (HICON hNew = IconFromFaceBitmap(hBitmap)) {
            hIcon = hNew;
        }
        if (!hIcon.IsEmpty())
            nNewId = pImages->AddCustomIcon(hIcon);
    }
    if (!nNewId)
        return;
    pControl->SetCustomIconId(static_cast<int>(nNewId));
    RecalcDragControlBar();
}

void CXTPCustomizeSheet::ChangeIcon(const CXTPControl* pChosen)
{
    CXTPControl* pControl = m_pCommandBars->GetDragControl();
    if (!pControl)
        return;
    // A button of the popup without an icon set of the sheet offers nothing to copy.
    UINT nChosenId = static_cast<UINT>(pChosen->GetIconId());
    CXTPImageManagerIcon* pIcon = m_pImageManager->GetIconSet(nChosenId) ? m_pImageManager->GetImage(nChosenId, 16)
                                                                          : nullptr;
    if (!pIcon || pIcon->GetIcon().IsEmpty())
        return;
    CXTPImageManagerIconHandle hIcon;
    hIcon.CopyHandle(pIcon->GetIcon());
    UINT nNewId = m_pCommandBars->GetImageManager()->AddCustomIcon(hIcon);
    if (!nNewId)
        return;
    pControl->SetCustomIconId(static_cast<int>(nNewId));
    RecalcDragControlBar();
}

void CXTPCustomizeSheet::EditIcon()
{
    m_pCommandBars->ClosePopups();
    if (CXTPImageEditorDlg::EditControlIcon(m_pCommandBars->GetDragControl(), this))
        RecalcDragControlBar();
}
