// The icon store of the command bars, docking panes and tabs: for every command id a set of icons of several
// widths, each with up to four image states (normal, disabled, hot, checked) and three images derived from them
// (faded, shadow, generated disabled). Icons come from toolbar and bitmap resources (plain, or 32 bits with
// per-pixel alpha), image lists, icon resources and files. One process-wide store serves every bar without a
// store of its own (XTPImageManager()).
#pragma once

#include "platform/mfc/afxwin.h"
#include "platform/mfc/afximagelist.h"
#include "ui/persist/ImageManagerPixels.h"
#include "ui/persist/ImageManagerMap.h"
#include "ui/themes/BarIcon.h"

#include <commctrl.h>

#include <memory>

class CXTPImageManager;
class CXTPImageManagerIconSet;
class CXTPImageManagerImageList;
class CXTPPropExchange;
class COleDataObject;

// Image states wherever an icon operation takes one.
enum XTPImageState
{
    xtpImageNormal = 0,
    xtpImageDisabled = 1,
    xtpImageHot = 2,
    xtpImageChecked = 3
};

// One image: a Windows icon or a 32-bit DIB section with straight (not pre-multiplied) alpha, at most one of
// them, and a pre-multiplied copy of the bitmap made for drawing. An owning handle frees what it holds when it
// is cleared; the cache is always its own.
class CXTPImageManagerIconHandle
{
public:
    CXTPImageManagerIconHandle() = default;
    CXTPImageManagerIconHandle(HICON hIcon);       // not owning
    CXTPImageManagerIconHandle(HBITMAP hBitmap);   // not owning
    // Shares the other's icon or bitmap without owning it; no cache.
    CXTPImageManagerIconHandle(const CXTPImageManagerIconHandle& handle);
    ~CXTPImageManagerIconHandle();
    CXTPImageManagerIconHandle& operator=(const CXTPImageManagerIconHandle&) = delete;

    // Takes ownership of the icon or the bitmap.
    void operator=(HICON hIcon);
    void SetBitmap(HBITMAP hBitmap);
    // Owning copies: CopyIcon of an icon, a new 32-bit DIB section of a bitmap's pixels.
    void CopyHandle(const CXTPImageManagerIconHandle& handle);
    void CopyBitmap(HBITMAP hBitmap);
    void Clear();

    BOOL IsEmpty() const { return !m_hIcon && !m_hBitmap && !m_pIconBits; }
    BOOL IsAlpha() const { return m_hBitmap != nullptr; }
    // The icon; one given as pixels is made now (and kept).
    HICON GetIcon() const;
    HBITMAP GetBitmap() const { return m_hBitmap; }
    // The icon's or the bitmap's size; 0 × 0 when empty.
    CSize GetExtent() const;

    // The icon's pixels, read once and kept; null for a bitmap, an empty handle, or an icon without a colour
    // bitmap.
    const XTP_ICON_BITS* GetIconBits();
    // Takes an icon as its pixels: the icon itself is made only when asked for (GetIcon), drawing needs none.
    // Creating icons is what costs when many images are built at once.
    void SetIconBits(XTP_ICON_BITS&& bits);

    // From an icon resource of the program: the group entry of that size, or the single image. A 32-bit image
    // becomes an alpha bitmap (only when alpha drawing is available).
    BOOL LoadIcon(UINT nIDResourceIcon, CSize szIcon);
    // The image as a pre-multiplied 32-bit bitmap, made on first use: of the alpha bitmap, or of the icon (its
    // alpha, else its mask). Null when it cannot be made, or for an icon with inverted (XOR) pixels.
    HBITMAP PreMultiply();

private:
    // One image (RT_ICON) of an icon resource.
    BOOL LoadIconImage(UINT nIDImage, CSize szIcon);

    mutable HICON m_hIcon = nullptr;
    HBITMAP m_hBitmap = nullptr;
    HBITMAP m_hAlphaBits = nullptr;
    std::unique_ptr<XTP_ICON_BITS> m_pIconBits;
    BOOL m_bClearHandles = TRUE;
    BOOL m_bNoAlphaBits = FALSE;   // the icon cannot be drawn from a copy
    BOOL m_bNoIconBits = FALSE;    // the icon's pixels cannot be read
};

// One icon of a command at one width, with its state images and the images derived from the normal one; the
// bar painter draws it through CXTPBarIcon.
class CXTPImageManagerIcon : public CCmdTarget, public CXTPBarIcon
{
    DECLARE_DYNAMIC(CXTPImageManagerIcon)
public:
    CXTPImageManagerIcon(UINT nID, int nWidth, int nHeight, CXTPImageManagerIconSet* pIconSet = NULL);
    CXTPImageManagerIcon(UINT nID, int nWidth, int nHeight, CXTPImageManagerImageList* pImageList);
    ~CXTPImageManagerIcon() override;

    UINT GetID() const { return m_nID; }
    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }
    CSize GetExtent() const override;
    BOOL IsAlpha() const override { return m_hIcon.IsAlpha(); }
    BOOL IsScaled() const { return m_bScaled; }

    CXTPImageManagerIconHandle& GetIcon() { return m_hIcon; }
    // The hot image, else the normal one.
    CXTPImageManagerIconHandle& GetHotIcon();
    // The checked image, else the hot-or-normal one.
    CXTPImageManagerIconHandle& GetCheckedIcon();
    // The image set for the disabled state, else the generated grey one (made now when bCreate).
    CXTPImageManagerIconHandle& GetDisabledIcon(BOOL bCreate = TRUE);
    BOOL HasDisabledIcon() const { return !m_hDisabled.IsEmpty() || !m_hDisabledAuto.IsEmpty(); }
    // The derived images, made on first use after they were dropped.
    CXTPImageManagerIconHandle& GetFadedIcon();
    CXTPImageManagerIconHandle& GetShadowIcon();
    // Drops the faded, shadow and generated disabled images (rebuilt from the current colours).
    void RefreshDerivedIcons();
    // Clears every state and derived image, and the normal one with bIncludeNormal.
    void Clear(BOOL bIncludeNormal = FALSE);

    // A new normal image (an owning copy): every other image goes, the entry takes the image's size, and the
    // set drops its scaled copies and derived images.
    void SetIcon(const CXTPImageManagerIconHandle& hIcon);
    // The normal image replaced at the entry's size; the derived images go.
    void SetNormalIcon(const CXTPImageManagerIconHandle& hIcon);
    void SetHotIcon(const CXTPImageManagerIconHandle& hIcon);
    void SetCheckedIcon(const CXTPImageManagerIconHandle& hIcon);
    void SetDisabledIcon(const CXTPImageManagerIconHandle& hIcon);
    // From an icon resource: the group entries of that size from last to first, or the single image.
    BOOL LoadIcon(UINT nIDResourceIcon, int nWidth, int nHeight);

    // Draws one of the entry's images; a width of 0 is the entry's, a height of 0 follows the width.
    void Draw(CDC* pDC, CPoint pt, CXTPImageManagerIconHandle& hIcon, CSize szIcon = CSize(0, 0));
    void Draw(CDC* pDC, CPoint pt, CSize szIcon) { Draw(pDC, pt, GetIcon(), szIcon); }
    void Draw(CDC* pDC, CPoint pt) { Draw(pDC, pt, GetIcon()); }
    // The image as a silhouette of one colour; alpha images draw nothing.
    void DrawMono(CDC* pDC, CPoint pt, CXTPImageManagerIconHandle& hIcon, COLORREF clrBrush);

    // The painter's view: an image of its own per state (faded and shadow are always generated), the image of a
    // state (CXTPBarIcon's numbers), and the normal image's silhouette.
    BOOL HasImage(int nImage) const override;
    void Draw(CDC* pDC, CPoint pt, int nImage, CSize szIcon) override;
    void DrawMono(CDC* pDC, CPoint pt, CSize szIcon, COLORREF clrBrush) override;

    // The archive form: height, schema, then the normal, disabled, hot and checked images.
    void Serialize(CArchive& ar) override;

    // The manager that draws the entry: its set's, or the process-wide one.
    CXTPImageManager* GetImageManager() const;

private:
    friend class CXTPImageManagerIconSet;
    void CreateFadedIcon();
    void CreateShadowIcon();
    void CreateDisabledIcon();
    void SerializeHandle(CXTPImageManagerIconHandle& hIcon, CArchive& ar);

    UINT m_nID;
    int m_nWidth;
    int m_nHeight;
    CXTPImageManagerIconHandle m_hIcon;
    CXTPImageManagerIconHandle m_hFaded;
    CXTPImageManagerIconHandle m_hShadow;
    CXTPImageManagerIconHandle m_hHot;
    CXTPImageManagerIconHandle m_hChecked;
    CXTPImageManagerIconHandle m_hDisabled;
    CXTPImageManagerIconHandle m_hDisabledAuto;
    BOOL m_bScaled = FALSE;
    CXTPImageManagerIconSet* m_pIconSet = nullptr;
    CXTPImageManagerImageList* m_pImageList = nullptr;
};

// The icons of one command, one per width.
class CXTPImageManagerIconSet : public CCmdTarget
{
    DECLARE_DYNAMIC(CXTPImageManagerIconSet)
public:
    typedef CXTPImageManagerMap<CXTPImageManagerIcon> CIconsMap;

    CXTPImageManagerIconSet(UINT nID, CXTPImageManager* pImageManager);
    ~CXTPImageManagerIconSet() override;

    UINT GetID() const { return m_nID; }
    CXTPImageManager* GetImageManager() const { return m_pImageManager; }
    CIconsMap* GetIcons() { return &m_mapIcons; }

    // The entry of that width; else, with bScaled, the nearest (first in walk order on a tie): an alpha entry
    // itself, otherwise a scaled copy kept until the set changes. Null for an empty set.
    CXTPImageManagerIcon* GetIcon(UINT nWidth, BOOL bScaled = TRUE);
    // The entry of exactly that width, made (15 high until an image sets its size) when missing.
    CXTPImageManagerIcon* CreateIcon(UINT nWidth);
    void SetIcon(const CXTPImageManagerIconHandle& hIcon, UINT nWidth);
    void SetDisabledIcon(const CXTPImageManagerIconHandle& hIcon, UINT nWidth);
    void SetHotIcon(const CXTPImageManagerIconHandle& hIcon, UINT nWidth);
    void SetCheckedIcon(const CXTPImageManagerIconHandle& hIcon, UINT nWidth);
    // Removes the scaled copies and drops the derived images of the others.
    void RefreshAll();
    void RemoveAll();

private:
    CIconsMap m_mapIcons;
    UINT m_nID;
    CXTPImageManager* m_pImageManager;
};

// An image list whose image i is the icon of command base + i.
class CXTPImageManagerImageList
{
public:
    CXTPImageManagerImageList(HIMAGELIST hImageList, UINT nBaseCommand, BOOL bDestroyImageList, CXTPImageManager* pImageManager);
    ~CXTPImageManagerImageList();
    CXTPImageManagerImageList(const CXTPImageManagerImageList&) = delete;
    CXTPImageManagerImageList& operator=(const CXTPImageManagerImageList&) = delete;

    BOOL Lookup(UINT nCommand) const;
    CXTPImageManagerIcon* GetIcon(UINT nCommand);
    void RemoveAll();
    void Draw(CDC* pDC, CPoint pt, CXTPImageManagerIcon* pIcon, CSize szIcon);

    HIMAGELIST m_hImageList;
    BOOL m_bDestroyImageList;
    UINT m_nBaseCommand;
    CXTPImageManager* m_pImageManager;
    CXTPImageManagerMap<CXTPImageManagerIcon> m_mapIcons;
};

class CXTPImageManager : public CCmdTarget, public CXTPBarImages
{
    DECLARE_DYNAMIC(CXTPImageManager)
public:
    typedef BOOL(WINAPI* PFNALPHABLEND)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);

    CXTPImageManager();
    ~CXTPImageManager() override;

    // Icons of a toolbar resource's commands, cut from the bitmap of the same id (or of nIDBitmap).
    BOOL SetIcons(UINT nIDResourceToolBar, int imageState = xtpImageNormal);
    BOOL SetIcons(UINT nIDResourceToolBar, UINT nIDResourceBitmap, int imageState = xtpImageNormal);
    BOOL SetIconsFromToolBar(UINT nIDResourceToolBar, CBitmap* pBitmap, int imageState = xtpImageNormal);
    BOOL SetIconsFromImageList(UINT nIDResourceToolBar, CImageList& imageList, int imageState = xtpImageNormal);
    // A bitmap resource cut into icons of szIcon (0 × 0: width / count × height; a count of 0: width / icon
    // width); ids of 0 are separators.
    BOOL AddIcons(UINT nIDResourceBitmap, const UINT* pCommands, int nCount, CSize szIcon, int imageState = xtpImageNormal);
    BOOL AddIconsFromBitmap(HBITMAP hBitmap, const UINT* pCommands, int nCount, CSize szIcon, int imageState, BOOL bAlpha);
    BOOL SetIconsFromImageList(HIMAGELIST hImageList, const UINT* pCommands, int nCount, CSize szIcon,
                               int imageState = xtpImageNormal);
    // Stores an owning copy of the image for the command at that size (0 × 0: the image's). A state other than
    // normal never creates a set.
    BOOL SetIcon(const CXTPImageManagerIconHandle& hIcon, UINT nCommand, CSize szIcon = CSize(0, 0),
                 int imageState = xtpImageNormal);
    BOOL LoadIcons(UINT nIDResourceIcon, UINT nCommand, CSize szIcon, int imageState = xtpImageNormal);
    void AddImageList(HIMAGELIST hImageList, UINT nBaseCommand, BOOL bDestroyImageList);

    // The icon of a command at a width (the nearest width, scaled when needed), or null.
    CXTPImageManagerIcon* GetImage(UINT nCommand, int nWidth = 16);
    CXTPImageManagerIcon* GetIcon(UINT nCommand, int nWidth) override { return GetImage(nCommand, nWidth); }
    void ReleaseImages() override { InternalRelease(); }
    CXTPImageManagerIconSet* GetIconSet(UINT nCommand) const { return m_mapImages.Lookup(nCommand); }
    BOOL IsIconExist(UINT nCommand) const;
    // A new command id (above every earlier one) whose normal icon is a copy of the image.
    UINT AddCustomIcon(const CXTPImageManagerIconHandle& hIcon);
    UINT GetCustomIconCounter() const { return m_nCustomID; }
    void RefreshAll();
    void RemoveAll();
    // Drops the icons of one command.
    void RemoveIcon(UINT nCommand);

    COLORREF SetMaskColor(COLORREF clrMask);
    COLORREF GetMaskColor() const { return m_clrMask; }
    BOOL IsAlphaIconsSupported() const { return m_pfnAlphaBlend != nullptr; }
    // Icons drawn right to left (mirrored).
    void DrawReverted(BOOL bDrawReverted) { m_bDrawReverted = bDrawReverted; }
    BOOL IsDrawReverted() const { return m_bDrawReverted; }

    // Saving and loading every icon set ("IconSet") or the set of one command.
    void DoPropExchange(CXTPPropExchange* pPX);
    void DoPropExchange(UINT nCommand, CXTPPropExchange* pPX);
    void Serialize(CArchive& ar) override;
    void DoPropExchange(UINT nCommand, CArchive& ar);
    // The command's icon set on the clipboard (opened and emptied by the caller).
    BOOL CopyToClipboard(UINT nCommand);
    // A new custom icon set from the clipboard's toolbar-image data; its id, 0 when the data is absent. Damaged
    // data raises CArchiveException and changes nothing.
    UINT PasteFromClipboard(COleDataObject& data);
    static CLIPFORMAT GetClipboardFormat();
    static CLIPFORMAT GetAlphaBitmapFormat();

    // Free helpers.
    static CSize GetIconSize(HICON hIcon);
    static HICON ScaleIcon(HICON hIcon, CSize szIcon, int nWidth);
    static HBITMAP LoadAlphaBitmap(UINT nIDResource);
    static BOOL IsAlphaBitmapResource(UINT nIDResource);
    // The file's info header says 32 bits per pixel; FALSE for a missing or damaged file.
    static BOOL IsAlphaBitmapFile(LPCTSTR pszFileName);
    // The colour part of the first 32-bit image of that width (any width when 0) in an icon file; null when
    // there is none or the file is damaged.
    static HBITMAP LoadAlphaIconFile(LPCTSTR pszFileName, int nWidth);
    // nCount pieces of equal width; a piece that cannot be made raises CMemoryException (the others are freed).
    static void SplitAlphaBitmap(HBITMAP hBitmap, int nCount, HBITMAP* pBitmaps);
    static COLORREF GetBitmapMaskColor(HBITMAP hBitmap, CPoint pt = CPoint(0, 0));
    static COLORREF GetBitmapMaskColor(UINT nIDBitmap, CPoint pt = CPoint(0, 0));
    static BOOL IsComCtlVersion6();
    static HBITMAP CreateOpaqueBitmap(HBITMAP hBitmap, COLORREF clrBackground);
    static void AlphaBlendBitmap(CDC* pDC, HBITMAP hBitmap, CPoint ptDest, CSize szDest, CPoint ptSrc, CSize szSrc);

    PFNALPHABLEND m_pfnAlphaBlend = nullptr;

private:
    friend class CXTPImageManagerIconSet;
    // The toolbar resource's button size and command ids (separators left out).
    static BOOL LoadToolBarResource(UINT nIDResourceToolBar, CSize& szButton, CUIntArray& arrCommands);
    CXTPImageManagerIconSet* ReadIconSet(UINT nCommand, CXTPPropExchange* pPX);
    // The command's icons that a save keeps: its scaled copies are a cache.
    std::vector<std::pair<UINT, CXTPImageManagerIcon*>> StoredIcons(UINT nCommand) const;

    COLORREF m_clrMask = 0xFFFFFFFF;
    CXTPImageManagerMap<CXTPImageManagerIconSet> m_mapImages;
    CArray<CXTPImageManagerImageList*, CXTPImageManagerImageList*> m_arrImageList;
    UINT m_nCustomID = 0x10AAA;
    HMODULE m_hMsImgDll = nullptr;
    // The memory DC that holds a bitmap while it is blended, made on first use: a DC made for every icon drawn
    // cost more than the blend itself.
    HDC m_hBlendDC = nullptr;
    BOOL m_bDrawReverted = FALSE;
};

// The process-wide store.
CXTPImageManager* XTPImageManager();
