#include "ImageManager.h"

#include "ImageManagerPixels.h"
#include "platform/mfc/afxmodule.h"
#include "ui/persist/WholeFile.h"

#include <shlwapi.h>

#include <climits>
#include <cstring>
#include <memory>

IMPLEMENT_DYNAMIC(CXTPImageManagerIconSet, CCmdTarget)
IMPLEMENT_DYNAMIC(CXTPImageManager, CCmdTarget)

namespace
{
const LPCTSTR RT_XTP_TOOLBAR = MAKEINTRESOURCEW(241);

// The info header of a bitmap resource; FALSE when the resource is missing or too short.
BOOL BitmapResourceHeader(UINT nIDResource, BITMAPINFOHEADER& header, const BYTE*& pData, DWORD& nSize)
{
    if (!XTPFindResourceData(MAKEINTRESOURCEW(nIDResource), RT_BITMAP, pData, nSize) || nSize < sizeof(header))
        return FALSE;
    std::memcpy(&header, pData, sizeof(header));
    return TRUE;
}

// Copies cx × cy 32-bit pixels that follow an info header into a new section (bottom-up unless the height says
// top-down); null when the data is short.
HBITMAP CreateAlphaBitmapFromBits(const BITMAPINFOHEADER& header, const BYTE* pBits, size_t nAvailable, int cy)
{
    int cx = header.biWidth;
    if (cx <= 0 || cy <= 0 || cx > 0x4000 || cy > 0x4000 || nAvailable < static_cast<size_t>(cx) * cy * 4)
        return nullptr;
    void* pTarget = nullptr;
    HBITMAP hBitmap = XTPCreateDIB32(cx, cy, &pTarget);
    if (!hBitmap)
        return nullptr;
    size_t nRow = static_cast<size_t>(cx) * 4;
    for (int y = 0; y < cy; ++y) {
        int ySource = header.biHeight < 0 ? cy - 1 - y : y;
        std::memcpy(static_cast<BYTE*>(pTarget) + nRow * y, pBits + nRow * ySource, nRow);
    }
    return hBitmap;
}
}

// Icon sets.

CXTPImageManagerIconSet::CXTPImageManagerIconSet(UINT nID, CXTPImageManager* pImageManager)
    : m_nID(nID), m_pImageManager(pImageManager)
{
}

CXTPImageManagerIconSet::~CXTPImageManagerIconSet() { RemoveAll(); }

void CXTPImageManagerIconSet::RemoveAll()
{
    for (auto& entry : m_mapIcons.GetEntries())
        entry.second->InternalRelease();
    m_mapIcons.RemoveAll();
}

CXTPImageManagerIcon* CXTPImageManagerIconSet::CreateIcon(UINT nWidth)
{
    CXTPImageManagerIcon* pIcon = m_mapIcons.Lookup(nWidth);
    if (!pIcon) {
        pIcon = new CXTPImageManagerIcon(m_nID, nWidth, 15, this);
        m_mapIcons.SetAt(nWidth, pIcon);
    }
    return pIcon;
}

void CXTPImageManagerIconSet::SetIcon(const CXTPImageManagerIconHandle& hIcon, UINT nWidth)
{
    CreateIcon(nWidth)->SetIcon(CXTPImageManagerIconHandle(hIcon));
}

void CXTPImageManagerIconSet::SetDisabledIcon(const CXTPImageManagerIconHandle& hIcon, UINT nWidth)
{
    CreateIcon(nWidth)->SetDisabledIcon(CXTPImageManagerIconHandle(hIcon));
}

void CXTPImageManagerIconSet::SetHotIcon(const CXTPImageManagerIconHandle& hIcon, UINT nWidth)
{
    CreateIcon(nWidth)->SetHotIcon(CXTPImageManagerIconHandle(hIcon));
}

void CXTPImageManagerIconSet::SetCheckedIcon(const CXTPImageManagerIconHandle& hIcon, UINT nWidth)
{
    CreateIcon(nWidth)->SetCheckedIcon(CXTPImageManagerIconHandle(hIcon));
}

void CXTPImageManagerIconSet::RefreshAll()
{
    for (auto& entry : m_mapIcons.GetEntries()) {
        if (entry.second->m_bScaled) {
            m_mapIcons.RemoveKey(entry.first);
            entry.second->InternalRelease();
        } else {
            entry.second->RefreshDerivedIcons();
        }
    }
}

CXTPImageManagerIcon* CXTPImageManagerIconSet::GetIcon(UINT nWidth, BOOL bScaled)
{
    if (CXTPImageManagerIcon* pIcon = m_mapIcons.Lookup(nWidth))
        return pIcon;
    if (!bScaled)
        return nullptr;
    // The nearest width; on a tie the first in the walk keeps its place.
    CXTPImageManagerIcon* pNearest = nullptr;
    long long nNearest = LLONG_MAX;
    for (auto& entry : m_mapIcons.GetEntries()) {
        long long nDifference = std::llabs(static_cast<long long>(entry.first) - static_cast<long long>(nWidth));
        if (nDifference < nNearest) {
            nNearest = nDifference;
            pNearest = entry.second;
        }
    }
    // A set restored from a list of no icons has nothing to scale.
    if (!pNearest || pNearest->IsAlpha() || nWidth == 0)
        return pNearest;

    // Filling the copy refreshes the set, which releases an earlier scaled copy: the source may be one, so it
    // is held until the copy is complete.
    pNearest->InternalAddRef();
    CSize szSource(pNearest->m_nWidth, pNearest->m_nHeight);
    CXTPImageManagerIcon* pCopy = new CXTPImageManagerIcon(m_nID, nWidth, ::MulDiv(szSource.cy, nWidth, szSource.cx), this);
    auto scaled = [&](const CXTPImageManagerIconHandle& hSource, void (CXTPImageManagerIcon::*pfnSet)(const CXTPImageManagerIconHandle&)) {
        if (hSource.IsEmpty())
            return;
        CXTPImageManagerIconHandle hScaled;
        hScaled = CXTPImageManager::ScaleIcon(hSource.GetIcon(), szSource, nWidth);
        (pCopy->*pfnSet)(hScaled);
    };
    scaled(pNearest->m_hIcon, &CXTPImageManagerIcon::SetIcon);
    scaled(pNearest->m_hDisabled, &CXTPImageManagerIcon::SetDisabledIcon);
    scaled(pNearest->m_hHot, &CXTPImageManagerIcon::SetHotIcon);
    scaled(pNearest->m_hChecked, &CXTPImageManagerIcon::SetCheckedIcon);
    pNearest->InternalRelease();
    pCopy->m_bScaled = TRUE;
    m_mapIcons.SetAt(nWidth, pCopy);
    return pCopy;
}

// Image-list records.

CXTPImageManagerImageList::CXTPImageManagerImageList(HIMAGELIST hImageList, UINT nBaseCommand, BOOL bDestroyImageList,
                                                     CXTPImageManager* pImageManager)
    : m_hImageList(hImageList), m_bDestroyImageList(bDestroyImageList), m_nBaseCommand(nBaseCommand),
      m_pImageManager(pImageManager)
{
}

CXTPImageManagerImageList::~CXTPImageManagerImageList()
{
    RemoveAll();
    if (m_bDestroyImageList && m_hImageList)
        ::ImageList_Destroy(m_hImageList);
}

BOOL CXTPImageManagerImageList::Lookup(UINT nCommand) const
{
    return nCommand >= m_nBaseCommand &&
           nCommand - m_nBaseCommand < static_cast<UINT>(std::max(0, ::ImageList_GetImageCount(m_hImageList)));
}

CXTPImageManagerIcon* CXTPImageManagerImageList::GetIcon(UINT nCommand)
{
    if (CXTPImageManagerIcon* pIcon = m_mapIcons.Lookup(nCommand))
        return pIcon;
    int cx = 0;
    int cy = 0;
    ::ImageList_GetIconSize(m_hImageList, &cx, &cy);
    CXTPImageManagerIcon* pIcon = new CXTPImageManagerIcon(nCommand, cx, cy, this);
    m_mapIcons.SetAt(nCommand, pIcon);
    return pIcon;
}

void CXTPImageManagerImageList::RemoveAll()
{
    for (auto& entry : m_mapIcons.GetEntries())
        entry.second->InternalRelease();
    m_mapIcons.RemoveAll();
}

void CXTPImageManagerImageList::Draw(CDC* pDC, CPoint pt, CXTPImageManagerIcon* pIcon, CSize szIcon)
{
    ::ImageList_DrawEx(m_hImageList, static_cast<int>(pIcon->GetID() - m_nBaseCommand), pDC->GetSafeHdc(), pt.x, pt.y,
                       szIcon.cx, szIcon.cy, CLR_NONE, CLR_NONE, ILD_TRANSPARENT);
}

// The manager.

CXTPImageManager* XTPImageManager()
{
    static CXTPImageManager s_imageManager;
    return &s_imageManager;
}

CXTPImageManager::CXTPImageManager()
{
    m_hMsImgDll = ::LoadLibraryW(L"msimg32.dll");
    if (m_hMsImgDll)
        m_pfnAlphaBlend = reinterpret_cast<PFNALPHABLEND>(reinterpret_cast<void*>(::GetProcAddress(m_hMsImgDll, "AlphaBlend")));
}

CXTPImageManager::~CXTPImageManager()
{
    RemoveAll();
    if (m_hBlendDC)
        ::DeleteDC(m_hBlendDC);
    if (m_hMsImgDll)
        ::FreeLibrary(m_hMsImgDll);
}

void CXTPImageManager::RemoveAll()
{
    for (auto& entry : m_mapImages.GetEntries())
        entry.second->InternalRelease();
    m_mapImages.RemoveAll();
    for (INT_PTR i = 0; i < m_arrImageList.GetSize(); ++i)
        delete m_arrImageList[i];
    m_arrImageList.RemoveAll();
}

void CXTPImageManager::RemoveIcon(UINT nCommand)
{
    if (CXTPImageManagerIconSet* pIconSet = m_mapImages.Lookup(nCommand)) {
        m_mapImages.RemoveKey(nCommand);
        pIconSet->InternalRelease();
    }
}

COLORREF CXTPImageManager::SetMaskColor(COLORREF clrMask)
{
    COLORREF clrPrevious = m_clrMask;
    m_clrMask = clrMask;
    return clrPrevious;
}

BOOL CXTPImageManager::LoadToolBarResource(UINT nIDResourceToolBar, CSize& szButton, CUIntArray& arrCommands)
{
    const BYTE* pData = nullptr;
    DWORD nSize = 0;
    if (!XTPFindResourceData(MAKEINTRESOURCEW(nIDResourceToolBar), RT_XTP_TOOLBAR, pData, nSize) || nSize < 8)
        return FALSE;
    WORD header[4];
    std::memcpy(header, pData, sizeof(header));
    if (nSize < 8 + header[3] * sizeof(WORD))
        return FALSE;
    szButton = CSize(header[1], header[2]);
    arrCommands.RemoveAll();
    for (WORD i = 0; i < header[3]; ++i) {
        WORD nCommand = 0;
        std::memcpy(&nCommand, pData + 8 + i * sizeof(WORD), sizeof(WORD));
        if (nCommand != 0)
            arrCommands.Add(nCommand);
    }
    return TRUE;
}

BOOL CXTPImageManager::SetIcons(UINT nIDResourceToolBar, int imageState)
{
    return SetIcons(nIDResourceToolBar, nIDResourceToolBar, imageState);
}

BOOL CXTPImageManager::SetIcons(UINT nIDResourceToolBar, UINT nIDResourceBitmap, int imageState)
{
    CSize szButton;
    CUIntArray arrCommands;
    if (!LoadToolBarResource(nIDResourceToolBar, szButton, arrCommands))
        return FALSE;
    return AddIcons(nIDResourceBitmap, arrCommands.GetData(), static_cast<int>(arrCommands.GetSize()), CSize(0, 0), imageState);
}

BOOL CXTPImageManager::SetIconsFromToolBar(UINT nIDResourceToolBar, CBitmap* pBitmap, int imageState)
{
    CSize szButton;
    CUIntArray arrCommands;
    if (!pBitmap || !LoadToolBarResource(nIDResourceToolBar, szButton, arrCommands))
        return FALSE;
    return AddIconsFromBitmap(static_cast<HBITMAP>(pBitmap->GetSafeHandle()), arrCommands.GetData(),
                              static_cast<int>(arrCommands.GetSize()), szButton, imageState, FALSE);
}

BOOL CXTPImageManager::SetIconsFromImageList(UINT nIDResourceToolBar, CImageList& imageList, int imageState)
{
    CSize szButton;
    CUIntArray arrCommands;
    if (!LoadToolBarResource(nIDResourceToolBar, szButton, arrCommands))
        return FALSE;
    return SetIconsFromImageList(imageList.GetSafeHandle(), arrCommands.GetData(), static_cast<int>(arrCommands.GetSize()),
                                 szButton, imageState);
}

BOOL CXTPImageManager::AddIcons(UINT nIDResourceBitmap, const UINT* pCommands, int nCount, CSize szIcon, int imageState)
{
    BOOL bAlpha = IsAlphaBitmapResource(nIDResourceBitmap);
    HBITMAP hBitmap = bAlpha ? LoadAlphaBitmap(nIDResourceBitmap)
                             : ::LoadBitmapW(AfxFindResourceHandle(MAKEINTRESOURCEW(nIDResourceBitmap), RT_BITMAP),
                                             MAKEINTRESOURCEW(nIDResourceBitmap));
    if (!hBitmap)
        return FALSE;
    SIZE szBitmap = XTPGetBitmapSize(hBitmap);
    if (szIcon == CSize(0, 0) && nCount > 0)
        szIcon = CSize(szBitmap.cx / nCount, szBitmap.cy);
    if (nCount == 0 && szIcon.cx > 0)
        nCount = szBitmap.cx / szIcon.cx;
    BOOL bResult = szIcon.cx > 0 && szIcon.cy > 0 && AddIconsFromBitmap(hBitmap, pCommands, nCount, szIcon, imageState, bAlpha);
    ::DeleteObject(hBitmap);
    return bResult;
}

BOOL CXTPImageManager::AddIconsFromBitmap(HBITMAP hBitmap, const UINT* pCommands, int nCount, CSize szIcon, int imageState, BOOL bAlpha)
{
    SIZE szBitmap = XTPGetBitmapSize(hBitmap);
    if (szIcon.cx <= 0 || szIcon.cy <= 0 || szBitmap.cx <= 0)
        return FALSE;
    if (!bAlpha) {
        HIMAGELIST hList = ::ImageList_Create(szIcon.cx, szIcon.cy, ILC_COLOR24 | ILC_MASK, 0, 1);
        if (!hList)
            return FALSE;
        COLORREF clrMask = m_clrMask != 0xFFFFFFFF ? m_clrMask : GetBitmapMaskColor(hBitmap);
        ::ImageList_AddMasked(hList, hBitmap, clrMask);
        BOOL bResult = SetIconsFromImageList(hList, pCommands, nCount, szIcon, imageState);
        ::ImageList_Destroy(hList);
        return bResult;
    }
    if (szBitmap.cx % szIcon.cx != 0)
        return FALSE;
    int nPieces = szBitmap.cx / szIcon.cx;
    std::vector<HBITMAP> pieces(nPieces);
    try {
        SplitAlphaBitmap(hBitmap, nPieces, pieces.data());
    } catch (CException* e) {
        e->Delete();
        return FALSE;
    }
    int nPiece = 0;
    int nPositions = pCommands ? nCount : nPieces;
    for (int i = 0; i < nPositions && nPiece < nPieces; ++i) {
        if (!pCommands || nPieces == nCount || pCommands[i] != 0)
            SetIcon(CXTPImageManagerIconHandle(pieces[nPiece++]), pCommands ? pCommands[i] : i, szIcon, imageState);
    }
    for (HBITMAP hPiece : pieces)
        ::DeleteObject(hPiece);
    return TRUE;
}

BOOL CXTPImageManager::SetIconsFromImageList(HIMAGELIST hImageList, const UINT* pCommands, int nCount, CSize szIcon, int imageState)
{
    if (!hImageList)
        return FALSE;
    int nImages = ::ImageList_GetImageCount(hImageList);
    if (!pCommands && nCount == 0)
        nCount = nImages;
    if (szIcon == CSize(0, 0) && nImages > 0) {
        IMAGEINFO info = {};
        ::ImageList_GetImageInfo(hImageList, 0, &info);
        szIcon = CSize(info.rcImage.right - info.rcImage.left, info.rcImage.bottom - info.rcImage.top);
    }
    BOOL bComplete = nImages == nCount;
    int nImage = 0;
    for (int i = 0; i < nCount; ++i) {
        if (pCommands && !bComplete && pCommands[i] == 0)
            continue;
        HICON hIcon = ::ImageList_GetIcon(hImageList, nImage++, ILD_NORMAL);
        if (!hIcon)
            return FALSE;
        SetIcon(CXTPImageManagerIconHandle(hIcon), pCommands ? pCommands[i] : i, szIcon, imageState);
        ::DestroyIcon(hIcon);
    }
    return TRUE;
}

BOOL CXTPImageManager::SetIcon(const CXTPImageManagerIconHandle& hIcon, UINT nCommand, CSize szIcon, int imageState)
{
    if (hIcon.IsEmpty())
        return FALSE;
    if (szIcon == CSize(0, 0))
        szIcon = hIcon.GetExtent();
    if (szIcon == CSize(0, 0))
        return FALSE;
    CXTPImageManagerIconSet* pIconSet = m_mapImages.Lookup(nCommand);
    if (!pIconSet) {
        // A disabled, hot or checked image never starts a set.
        if (imageState != xtpImageNormal)
            return FALSE;
        pIconSet = new CXTPImageManagerIconSet(nCommand, this);
        m_mapImages.SetAt(nCommand, pIconSet);
    }
    switch (imageState) {
    case xtpImageNormal: pIconSet->SetIcon(hIcon, szIcon.cx); break;
    case xtpImageDisabled: pIconSet->SetDisabledIcon(hIcon, szIcon.cx); break;
    case xtpImageHot: pIconSet->SetHotIcon(hIcon, szIcon.cx); break;
    case xtpImageChecked: pIconSet->SetCheckedIcon(hIcon, szIcon.cx); break;
    default: return FALSE;
    }
    return TRUE;
}

BOOL CXTPImageManager::LoadIcons(UINT nIDResourceIcon, UINT nCommand, CSize szIcon, int imageState)
{
    const BYTE* pData = nullptr;
    DWORD nSize = 0;
    if (!XTPFindResourceData(MAKEINTRESOURCEW(nIDResourceIcon), RT_GROUP_ICON, pData, nSize)) {
        CXTPImageManagerIconHandle hIcon;
        return hIcon.LoadIcon(nIDResourceIcon, szIcon) && SetIcon(hIcon, nCommand, szIcon, imageState);
    }
    if (nSize < 6)
        return FALSE;
    WORD nCount = 0;
    std::memcpy(&nCount, pData + 4, sizeof(nCount));
    const size_t nEntry = 14;
    if (nSize < 6 + nCount * nEntry)
        return FALSE;
    for (WORD i = 0; i < nCount; ++i) {
        const BYTE* pEntry = pData + 6 + i * nEntry;
        CSize szEntry(pEntry[0] ? pEntry[0] : 256, pEntry[1] ? pEntry[1] : 256);
        // The group's entry of that size: an image id may well equal a group id.
        CXTPImageManagerIconHandle hIcon;
        if (!hIcon.LoadIcon(nIDResourceIcon, szEntry) || !SetIcon(hIcon, nCommand, szEntry, imageState))
            return FALSE;
    }
    return TRUE;
}

void CXTPImageManager::AddImageList(HIMAGELIST hImageList, UINT nBaseCommand, BOOL bDestroyImageList)
{
    m_arrImageList.Add(new CXTPImageManagerImageList(hImageList, nBaseCommand, bDestroyImageList, this));
}

CXTPImageManagerIcon* CXTPImageManager::GetImage(UINT nCommand, int nWidth)
{
    if (CXTPImageManagerIconSet* pIconSet = m_mapImages.Lookup(nCommand))
        return pIconSet->GetIcon(static_cast<UINT>(nWidth), TRUE);
    for (INT_PTR i = 0; i < m_arrImageList.GetSize(); ++i) {
        if (m_arrImageList[i]->Lookup(nCommand))
            return m_arrImageList[i]->GetIcon(nCommand);
    }
    return nullptr;
}

BOOL CXTPImageManager::IsIconExist(UINT nCommand) const
{
    if (m_mapImages.Lookup(nCommand))
        return TRUE;
    for (INT_PTR i = 0; i < m_arrImageList.GetSize(); ++i) {
        if (m_arrImageList[i]->Lookup(nCommand))
            return TRUE;
    }
    return FALSE;
}

UINT CXTPImageManager::AddCustomIcon(const CXTPImageManagerIconHandle& hIcon)
{
    CSize szIcon = hIcon.GetExtent();
    if (hIcon.IsEmpty() || szIcon.cx <= 0)
        return 0;
    UINT nCommand = ++m_nCustomID;
    CXTPImageManagerIconSet* pIconSet = new CXTPImageManagerIconSet(nCommand, this);
    pIconSet->SetIcon(hIcon, szIcon.cx);
    m_mapImages.SetAt(nCommand, pIconSet);
    return nCommand;
}

void CXTPImageManager::RefreshAll()
{
    for (auto& entry : m_mapImages.GetEntries())
        entry.second->RefreshAll();
    for (INT_PTR i = 0; i < m_arrImageList.GetSize(); ++i)
        m_arrImageList[i]->RemoveAll();
}

// Free helpers.

CSize CXTPImageManager::GetIconSize(HICON hIcon)
{
    ICONINFO info = {};
    if (!hIcon || !::GetIconInfo(hIcon, &info))
        return CSize(0, 0);
    SIZE size = XTPGetBitmapSize(info.hbmColor ? info.hbmColor : info.hbmMask);
    if (!info.hbmColor)
        size.cy /= 2;   // a monochrome icon's mask holds the AND and the XOR halves
    if (info.hbmColor)
        ::DeleteObject(info.hbmColor);
    if (info.hbmMask)
        ::DeleteObject(info.hbmMask);
    return CSize(size);
}

HICON CXTPImageManager::ScaleIcon(HICON hIcon, CSize szIcon, int nWidth)
{
    if (!hIcon || nWidth <= 0 || szIcon.cx <= 0 || szIcon.cy <= 0)
        return nullptr;
    if (nWidth == szIcon.cx)
        return ::CopyIcon(hIcon);
    int nHeight = ::MulDiv(szIcon.cy, nWidth, szIcon.cx);
    HIMAGELIST hList = ::ImageList_Create(nWidth, nHeight, ILC_COLOR32 | ILC_MASK, 1, 0);
    if (!hList)
        return nullptr;
    HICON hScaled = ::ImageList_ReplaceIcon(hList, -1, hIcon) == 0 ? ::ImageList_GetIcon(hList, 0, ILD_NORMAL) : nullptr;
    ::ImageList_Destroy(hList);
    return hScaled;
}

HBITMAP CXTPImageManager::LoadAlphaBitmap(UINT nIDResource)
{
    BITMAPINFOHEADER header;
    const BYTE* pData = nullptr;
    DWORD nSize = 0;
    if (!BitmapResourceHeader(nIDResource, header, pData, nSize) || header.biBitCount != 32 || header.biSize > nSize)
        return nullptr;
    DWORD nOffset = header.biSize + (header.biCompression == BI_BITFIELDS && header.biSize == sizeof(header) ? 12 : 0);
    if (nOffset > nSize)
        return nullptr;
    return CreateAlphaBitmapFromBits(header, pData + nOffset, nSize - nOffset, std::abs(header.biHeight));
}

BOOL CXTPImageManager::IsAlphaBitmapResource(UINT nIDResource)
{
    BITMAPINFOHEADER header;
    const BYTE* pData = nullptr;
    DWORD nSize = 0;
    return BitmapResourceHeader(nIDResource, header, pData, nSize) && header.biBitCount == 32;
}

BOOL CXTPImageManager::IsAlphaBitmapFile(LPCTSTR pszFileName)
{
    std::vector<BYTE> bytes;
    if (!ReadWholeFile(pszFileName, bytes, 64 * 1024 * 1024) ||
        bytes.size() < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) || bytes[0] != 'B' || bytes[1] != 'M')
        return FALSE;
    BITMAPINFOHEADER header;
    std::memcpy(&header, bytes.data() + sizeof(BITMAPFILEHEADER), sizeof(header));
    return header.biSize >= sizeof(header) && header.biBitCount == 32;
}

HBITMAP CXTPImageManager::LoadAlphaIconFile(LPCTSTR pszFileName, int nWidth)
{
    std::vector<BYTE> bytes;
    if (!ReadWholeFile(pszFileName, bytes, 64 * 1024 * 1024) || bytes.size() < 6)
        return nullptr;
    WORD header[3];
    std::memcpy(header, bytes.data(), sizeof(header));
    const size_t nEntry = 16;
    if (header[0] != 0 || header[1] != 1 || bytes.size() < 6 + header[2] * nEntry)
        return nullptr;
    for (WORD i = 0; i < header[2]; ++i) {
        const BYTE* pEntry = bytes.data() + 6 + i * nEntry;
        WORD wBitCount = 0;
        DWORD dwBytes = 0;
        DWORD dwOffset = 0;
        std::memcpy(&wBitCount, pEntry + 6, sizeof(WORD));
        std::memcpy(&dwBytes, pEntry + 8, sizeof(DWORD));
        std::memcpy(&dwOffset, pEntry + 12, sizeof(DWORD));
        int nEntryWidth = pEntry[0] ? pEntry[0] : 256;
        if (wBitCount != 32 || (nWidth != 0 && nEntryWidth != nWidth))
            continue;
        // The image must lie inside the file.
        if (dwOffset > bytes.size() || dwBytes > bytes.size() - dwOffset || dwBytes < sizeof(BITMAPINFOHEADER))
            return nullptr;
        BITMAPINFOHEADER info;
        std::memcpy(&info, bytes.data() + dwOffset, sizeof(info));
        if (info.biBitCount != 32 || info.biSize < sizeof(info) || info.biSize > dwBytes || info.biHeight <= 0)
            continue;
        return CreateAlphaBitmapFromBits(info, bytes.data() + dwOffset + info.biSize, dwBytes - info.biSize, info.biHeight / 2);
    }
    return nullptr;
}

void CXTPImageManager::SplitAlphaBitmap(HBITMAP hBitmap, int nCount, HBITMAP* pBitmaps)
{
    std::vector<DWORD> pixels;
    SIZE size;
    if (nCount <= 0 || !XTPReadPixels(hBitmap, pixels, size) || size.cx < nCount)
        AfxThrowMemoryException();
    int cx = size.cx / nCount;
    for (int i = 0; i < nCount; ++i) {
        std::vector<DWORD> piece(static_cast<size_t>(cx) * size.cy);
        for (int y = 0; y < size.cy; ++y)
            std::memcpy(&piece[static_cast<size_t>(y) * cx], &pixels[static_cast<size_t>(y) * size.cx + i * cx], cx * sizeof(DWORD));
        pBitmaps[i] = XTPCreateDIB32(cx, size.cy);
        if (!pBitmaps[i] || !XTPWritePixels(pBitmaps[i], piece, {cx, size.cy})) {
            for (int j = 0; j <= i; ++j) {
                if (pBitmaps[j])
                    ::DeleteObject(pBitmaps[j]);
                pBitmaps[j] = nullptr;
            }
            AfxThrowMemoryException();
        }
    }
}

COLORREF CXTPImageManager::GetBitmapMaskColor(HBITMAP hBitmap, CPoint pt)
{
    HDC hDC = ::CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = ::SelectObject(hDC, hBitmap);
    COLORREF clr = ::GetPixel(hDC, pt.x, pt.y);
    ::SelectObject(hDC, hOld);
    ::DeleteDC(hDC);
    return clr;
}

COLORREF CXTPImageManager::GetBitmapMaskColor(UINT nIDBitmap, CPoint pt)
{
    HBITMAP hBitmap = ::LoadBitmapW(AfxFindResourceHandle(MAKEINTRESOURCEW(nIDBitmap), RT_BITMAP),
                                    MAKEINTRESOURCEW(nIDBitmap));
    if (!hBitmap)
        return CLR_INVALID;
    COLORREF clr = GetBitmapMaskColor(hBitmap, pt);
    ::DeleteObject(hBitmap);
    return clr;
}

BOOL CXTPImageManager::IsComCtlVersion6()
{
    HMODULE hComCtl = ::GetModuleHandleW(L"comctl32.dll");
    auto pfnGetVersion = hComCtl ? reinterpret_cast<DLLGETVERSIONPROC>(reinterpret_cast<void*>(::GetProcAddress(hComCtl, "DllGetVersion"))) : nullptr;
    DLLVERSIONINFO info = {};
    info.cbSize = sizeof(info);
    return pfnGetVersion && SUCCEEDED(pfnGetVersion(&info)) && info.dwMajorVersion >= 6;
}

HBITMAP CXTPImageManager::CreateOpaqueBitmap(HBITMAP hBitmap, COLORREF clrBackground)
{
    std::vector<DWORD> pixels;
    SIZE size;
    if (!XTPReadPixels(hBitmap, pixels, size))
        return nullptr;
    for (DWORD& pixel : pixels) {
        pixel = PixelAlpha(pixel) < 120
                    ? MakePixel(GetRValue(clrBackground), GetGValue(clrBackground), GetBValue(clrBackground), 0)
                    : MakePixel(PixelRed(pixel) * 255 >> 8, PixelGreen(pixel) * 255 >> 8, PixelBlue(pixel) * 255 >> 8, 0);
    }
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = size.cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* pBits = nullptr;
    HBITMAP hOpaque = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pBits, nullptr, 0);
    if (hOpaque && !XTPWritePixels(hOpaque, pixels, size)) {
        ::DeleteObject(hOpaque);
        return nullptr;
    }
    return hOpaque;
}

void CXTPImageManager::AlphaBlendBitmap(CDC* pDC, HBITMAP hBitmap, CPoint ptDest, CSize szDest, CPoint ptSrc, CSize szSrc)
{
    CXTPImageManager* pImages = XTPImageManager();
    PFNALPHABLEND pfnAlphaBlend = pImages->m_pfnAlphaBlend;
    if (!pfnAlphaBlend || !hBitmap)
        return;
    if (szSrc == CSize(0, 0))
        szSrc = szDest;
    if (!pImages->m_hBlendDC)
        pImages->m_hBlendDC = ::CreateCompatibleDC(nullptr);
    HDC hMemDC = pImages->m_hBlendDC;
    if (!hMemDC)
        return;
    // The bitmap leaves the DC again at once: it stays free for every other use.
    HGDIOBJ hOld = ::SelectObject(hMemDC, hBitmap);
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    pfnAlphaBlend(pDC->GetSafeHdc(), ptDest.x, ptDest.y, szDest.cx, szDest.cy, hMemDC, ptSrc.x, ptSrc.y, szSrc.cx, szSrc.cy, blend);
    ::SelectObject(hMemDC, hOld);
}
