// CImageList: an image list of the common controls, destroyed with the object unless detached.
#pragma once

#include "afxgdi.h"
#include "afxhandlemap.h"

#include <commctrl.h>

class CDC;

class CImageList : public CObject, public CHandleWrapper<CImageList, HIMAGELIST>
{
    DECLARE_DYNCREATE(CImageList)
public:
    CImageList() = default;
    ~CImageList() override;

    HIMAGELIST m_hImageList = nullptr;
    static constexpr HIMAGELIST CImageList::*HandleMember = &CImageList::m_hImageList;

    operator HIMAGELIST() const { return m_hImageList; }
    HIMAGELIST GetSafeHandle() const { return m_hImageList; }

    BOOL DeleteImageList();

    BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow);
    // From a bitmap resource whose images are cx wide; crMask is the transparent colour (CLR_NONE: none).
    BOOL Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask);

    int GetImageCount() const { return ::ImageList_GetImageCount(m_hImageList); }
    BOOL SetImageCount(UINT uNewCount) { return ::ImageList_SetImageCount(m_hImageList, uNewCount); }
    BOOL GetIconSize(int* pcx, int* pcy) const { return ::ImageList_GetIconSize(m_hImageList, pcx, pcy); }
    BOOL GetImageInfo(int nImage, IMAGEINFO* pImageInfo) const { return ::ImageList_GetImageInfo(m_hImageList, nImage, pImageInfo); }
    COLORREF SetBkColor(COLORREF cr) { return ::ImageList_SetBkColor(m_hImageList, cr); }
    COLORREF GetBkColor() const { return ::ImageList_GetBkColor(m_hImageList); }

    int Add(CBitmap* pbmImage, CBitmap* pbmMask);
    int Add(CBitmap* pbmImage, COLORREF crMask);
    int Add(HICON hIcon) { return ::ImageList_ReplaceIcon(m_hImageList, -1, hIcon); }
    BOOL Replace(int nImage, CBitmap* pbmImage, CBitmap* pbmMask);
    int Replace(int nImage, HICON hIcon) { return ::ImageList_ReplaceIcon(m_hImageList, nImage, hIcon); }
    BOOL Remove(int nImage) { return ::ImageList_Remove(m_hImageList, nImage); }
    BOOL SetOverlayImage(int nImage, int nOverlay) { return ::ImageList_SetOverlayImage(m_hImageList, nImage, nOverlay); }
    // A new icon of the image; the caller destroys it.
    HICON ExtractIcon(int nImage) { return ::ImageList_GetIcon(m_hImageList, nImage, ILD_NORMAL); }

    BOOL Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle);
};
