// Saving and loading icon sets through the property exchange, the archive form of an icon entry, and the
// clipboard copy and paste of one command's icons.
#include "ImageManager.h"

#include "ImageManagerPixels.h"
#include "ui/persist/PropExchangeArchive.h"
#include "platform/mfc/afxoledataobj.h"
#include "platform/mfc/afxsharedfile.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace
{
const LPCTSTR kCheckSum = L"CXTPImageManagerIcons";
const DWORD kIconSchema = 9;
// A bitmap record's info: the header and three colour entries (a mask's two colours, or none).
const DWORD kInfoSize = sizeof(BITMAPINFOHEADER) + 3 * sizeof(RGBQUAD);
const LONG kMaxBitmapSide = 4096;

struct BitmapRecordInfo
{
    BITMAPINFOHEADER header;
    RGBQUAD colors[3];
};
static_assert(sizeof(BitmapRecordInfo) == kInfoSize, "52-byte bitmap record info");

// Deletes a bitmap unless it was handed on.
class CBitmapHolder
{
public:
    explicit CBitmapHolder(HBITMAP hBitmap = nullptr) : m_hBitmap(hBitmap) {}
    ~CBitmapHolder()
    {
        if (m_hBitmap)
            ::DeleteObject(m_hBitmap);
    }
    CBitmapHolder(const CBitmapHolder&) = delete;
    CBitmapHolder& operator=(const CBitmapHolder&) = delete;
    HBITMAP Get() const { return m_hBitmap; }
    HBITMAP Release()
    {
        HBITMAP hBitmap = m_hBitmap;
        m_hBitmap = nullptr;
        return hBitmap;
    }

private:
    HBITMAP m_hBitmap;
};

DWORD RowBytes(LONG nWidth, WORD nBitCount) { return ((static_cast<DWORD>(nWidth) * nBitCount + 31) / 32) * 4; }

void ReadExactly(CArchive& ar, void* pData, UINT nBytes)
{
    if (ar.Read(pData, nBytes) != nBytes)
        AfxThrowArchiveException(CArchiveException::endOfFile);
}

// The record's format: a bitmap of 1, 16 or 24 bits keeps its own (a mask its two colours, 16 bits the colour
// masks of a 5-6-5 or other layout); any other depth goes as 32 bits, so that no colour table beyond three entries
// is ever needed.
void GetRecordFormat(HBITMAP hBitmap, BitmapRecordInfo& info)
{
    WORD nOwn = XTPGetBitmapBitCount(hBitmap);
    info.header.biBitCount = nOwn == 1 || nOwn == 16 || nOwn == 24 ? nOwn : 32;
    info.header.biCompression = BI_RGB;
    DIBSECTION dib = {};
    if (nOwn != 16 || ::GetObjectW(hBitmap, sizeof(dib), &dib) != static_cast<int>(sizeof(dib)) ||
        dib.dsBmih.biCompression != BI_BITFIELDS)
        return;
    // 5-5-5 is what BI_RGB means at 16 bits.
    const DWORD kMasks555[3] = {0x7C00, 0x03E0, 0x001F};
    if (std::equal(std::begin(kMasks555), std::end(kMasks555), std::begin(dib.dsBitfields)))
        return;
    info.header.biCompression = BI_BITFIELDS;
    std::memcpy(info.colors, dib.dsBitfields, sizeof(info.colors));
}

// The bits size is the true size of the rows.
void WriteBitmap(CArchive& ar, HBITMAP hBitmap)
{
    SIZE size = XTPGetBitmapSize(hBitmap);
    if (!hBitmap || size.cx <= 0 || size.cy <= 0) {
        ar.WriteCount(0);
        return;
    }
    BitmapRecordInfo info = {};
    info.header.biSize = sizeof(info.header);
    GetRecordFormat(hBitmap, info);
    info.header.biWidth = size.cx;
    info.header.biHeight = size.cy;
    info.header.biPlanes = 1;
    DWORD nBits = RowBytes(size.cx, info.header.biBitCount) * size.cy;
    info.header.biSizeImage = nBits;
    std::vector<BYTE> bits;
    try {
        bits.resize(nBits);
    } catch (const std::bad_alloc&) {
        ar.WriteCount(0);
        return;
    }
    const BitmapRecordInfo format = info;   // GetDIBits may rewrite the entries
    HDC hDC = ::GetDC(nullptr);
    int nLines = ::GetDIBits(hDC, hBitmap, 0, size.cy, bits.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, hDC);
    if (nLines != size.cy) {
        ar.WriteCount(0);
        return;
    }
    // Only a mask's colours and 16 bits' colour masks mean something; the rest of the entries is 0.
    if (info.header.biCompression == BI_BITFIELDS)
        std::memcpy(info.colors, format.colors, sizeof(info.colors));
    else if (info.header.biBitCount != 1)
        std::memset(info.colors, 0, sizeof(info.colors));
    info.header.biSizeImage = nBits;
    ar.WriteCount(kInfoSize);
    ar.Write(&info, kInfoSize);
    ar.WriteCount(nBits);
    ar.Write(bits.data(), nBits);
}

// Null for an absent record; a record whose sizes do not fit its bitmap raises CArchiveException.
HBITMAP ReadBitmap(CArchive& ar)
{
    DWORD_PTR nInfo = ar.ReadCount();
    if (nInfo == 0)
        return nullptr;
    if (nInfo != kInfoSize)
        AfxThrowArchiveException(CArchiveException::genericException);
    BitmapRecordInfo info;
    ReadExactly(ar, &info, kInfoSize);
    const BITMAPINFOHEADER& header = info.header;
    WORD nBitCount = header.biBitCount;
    BOOL bFormat = header.biSize == sizeof(BITMAPINFOHEADER) && header.biPlanes == 1 &&
                   (nBitCount == 1 || nBitCount == 16 || nBitCount == 24 || nBitCount == 32) &&
                   (header.biCompression == BI_RGB || (header.biCompression == BI_BITFIELDS && nBitCount != 1 && nBitCount != 24));
    LONG nHeight = header.biHeight < 0 ? -header.biHeight : header.biHeight;
    if (!bFormat || header.biWidth <= 0 || header.biWidth > kMaxBitmapSide || nHeight <= 0 || nHeight > kMaxBitmapSide)
        AfxThrowArchiveException(CArchiveException::genericException);
    DWORD nExpected = RowBytes(header.biWidth, nBitCount) * static_cast<DWORD>(nHeight);
    // Older writers stored width × 4 × height for a mask: more than its rows, which is read and passed over.
    DWORD nMost = std::max<DWORD>(nExpected, static_cast<DWORD>(header.biWidth) * 4 * static_cast<DWORD>(nHeight));
    DWORD_PTR nBits = ar.ReadCount();
    if (nBits < nExpected || nBits > nMost)
        AfxThrowArchiveException(CArchiveException::genericException);
    std::vector<BYTE> bits(nBits);
    ReadExactly(ar, bits.data(), static_cast<UINT>(nBits));
    void* pTarget = nullptr;
    HBITMAP hBitmap = ::CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &pTarget, nullptr, 0);
    if (!hBitmap || !pTarget) {
        if (hBitmap)
            ::DeleteObject(hBitmap);
        AfxThrowMemoryException();
    }
    std::memcpy(pTarget, bits.data(), nExpected);
    return hBitmap;
}
}

void CXTPImageManagerIcon::SerializeHandle(CXTPImageManagerIconHandle& hIcon, CArchive& ar)
{
    if (ar.IsStoring()) {
        if (hIcon.IsAlpha()) {
            WriteBitmap(ar, hIcon.GetBitmap());
            WriteBitmap(ar, nullptr);
            return;
        }
        ICONINFO info = {};
        if (!hIcon.GetIcon() || !::GetIconInfo(hIcon.GetIcon(), &info)) {
            WriteBitmap(ar, nullptr);
            WriteBitmap(ar, nullptr);
            return;
        }
        CBitmapHolder color(info.hbmColor);
        CBitmapHolder mask(info.hbmMask);
        WriteBitmap(ar, color.Get());
        WriteBitmap(ar, mask.Get());
        return;
    }
    hIcon.Clear();
    CBitmapHolder color(ReadBitmap(ar));
    CBitmapHolder mask(ReadBitmap(ar));
    if (!color.Get())
        return;
    if (!mask.Get()) {
        hIcon.SetBitmap(color.Release());
        return;
    }
    SIZE size = XTPGetBitmapSize(color.Get());
    HIMAGELIST hList = ::ImageList_Create(size.cx, size.cy, ILC_COLOR24 | ILC_MASK, 0, 1);
    if (!hList)
        AfxThrowMemoryException();
    HICON hLoaded = ::ImageList_Add(hList, color.Get(), mask.Get()) == 0 ? ::ImageList_GetIcon(hList, 0, ILD_NORMAL) : nullptr;
    ::ImageList_Destroy(hList);
    if (!hLoaded)
        AfxThrowArchiveException(CArchiveException::genericException);
    hIcon = hLoaded;
}

void CXTPImageManagerIcon::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << static_cast<DWORD>(m_nHeight) << kIconSchema;
        SerializeHandle(m_hIcon, ar);
        SerializeHandle(m_hDisabled, ar);
        SerializeHandle(m_hHot, ar);
        SerializeHandle(m_hChecked, ar);
        return;
    }
    DWORD nHeight = 0;
    DWORD nSchema = 0;
    ar >> nHeight >> nSchema;
    if (nHeight == 0 || nHeight > static_cast<DWORD>(kMaxBitmapSide))
        AfxThrowArchiveException(CArchiveException::genericException);
    Clear(TRUE);
    m_nHeight = static_cast<int>(nHeight);
    SerializeHandle(m_hIcon, ar);
    SerializeHandle(m_hDisabled, ar);
    SerializeHandle(m_hHot, ar);
    // Data of schema 7 and before has no checked image.
    if (nSchema > 7)
        SerializeHandle(m_hChecked, ar);
}

// Reads one command's set into a new set that is not yet in the manager; damaged data raises (the set is then
// freed) and leaves the manager as it was.
CXTPImageManagerIconSet* CXTPImageManager::ReadIconSet(UINT nCommand, CXTPPropExchange* pPX)
{
    CString strCheckSum = kCheckSum;
    ExchangeString(pPX, L"CheckSum", strCheckSum, kCheckSum);
    if (strCheckSum != kCheckSum)
        AfxThrowArchiveException(CArchiveException::badClass);
    std::unique_ptr<CXTPImageManagerIconSet, void (*)(CXTPImageManagerIconSet*)> pIconSet(
        new CXTPImageManagerIconSet(nCommand, this), [](CXTPImageManagerIconSet* p) { p->InternalRelease(); });
    std::unique_ptr<CXTPPropExchangeEnumerator> pEnumerator(pPX->GetEnumerator(L"Icon"));
    POSITION pos = pEnumerator->GetPosition(0);
    while (pos) {
        CXTPPropExchangeSection section(pEnumerator->GetNext(pos));
        UINT nWidth = 16;
        ExchangeUInt(&section, L"Width", nWidth, 16);
        CXTPImageManagerIcon* pIcon = new CXTPImageManagerIcon(nCommand, static_cast<int>(nWidth), 15, pIconSet.get());
        BOOL bRead = FALSE;
        // A keyed store hands the entry's bytes to an archive of their own; the archive store reads in place
        // and lets its errors out.
        if (pPX->IsKindOf(RUNTIME_CLASS(CXTPPropExchangeArchive))) {
            try {
                pIcon->Serialize(*section->GetArchive(L"Data"));
                bRead = TRUE;
            } catch (...) {
                pIcon->InternalRelease();
                throw;
            }
        } else {
            bRead = ExchangeSerialize(&section, L"Data", pIcon);
        }
        if (!bRead) {
            pIcon->InternalRelease();
            AfxThrowArchiveException(CArchiveException::genericException);
        }
        if (CXTPImageManagerIcon* pOld = pIconSet->GetIcons()->Lookup(nWidth))
            pOld->InternalRelease();
        pIconSet->GetIcons()->SetAt(nWidth, pIcon);
    }
    return pIconSet.release();
}

std::vector<std::pair<UINT, CXTPImageManagerIcon*>> CXTPImageManager::StoredIcons(UINT nCommand) const
{
    std::vector<std::pair<UINT, CXTPImageManagerIcon*>> icons;
    if (CXTPImageManagerIconSet* pIconSet = m_mapImages.Lookup(nCommand)) {
        for (auto& entry : pIconSet->GetIcons()->GetEntries()) {
            if (!entry.second->IsScaled())
                icons.push_back(entry);
        }
    }
    return icons;
}

void CXTPImageManager::DoPropExchange(UINT nCommand, CXTPPropExchange* pPX)
{
    if (pPX->IsLoading()) {
        CXTPImageManagerIconSet* pIconSet = ReadIconSet(nCommand, pPX);
        RemoveIcon(nCommand);
        m_mapImages.SetAt(nCommand, pIconSet);
        // Restored custom icons keep later custom ids unique.
        if (nCommand > m_nCustomID)
            m_nCustomID = nCommand;
        return;
    }
    if (nCommand > m_nCustomID)
        m_nCustomID = nCommand;
    CString strCheckSum = kCheckSum;
    ExchangeString(pPX, L"CheckSum", strCheckSum, kCheckSum);
    // A command without icons is written as a list of none, so that a positional store stays in step.
    std::vector<std::pair<UINT, CXTPImageManagerIcon*>> icons = StoredIcons(nCommand);
    std::unique_ptr<CXTPPropExchangeEnumerator> pEnumerator(pPX->GetEnumerator(L"Icon"));
    POSITION pos = pEnumerator->GetPosition(static_cast<DWORD>(icons.size()));
    for (auto& entry : icons) {
        CXTPPropExchangeSection section(pEnumerator->GetNext(pos));
        UINT nWidth = entry.first;
        ExchangeUInt(&section, L"Width", nWidth, 16);
        ExchangeSerialize(&section, L"Data", entry.second);
    }
}

void CXTPImageManager::DoPropExchange(CXTPPropExchange* pPX)
{
    std::unique_ptr<CXTPPropExchangeEnumerator> pEnumerator(pPX->GetEnumerator(L"IconSet"));
    if (pPX->IsStoring()) {
        // A set without icons holds nothing to keep, and in a keyed store it would leave no trace of itself
        // (an empty section), so that the stored count would overstate the sets there.
        auto sets = m_mapImages.GetEntries();
        sets.erase(std::remove_if(sets.begin(), sets.end(), [&](const auto& entry) { return StoredIcons(entry.first).empty(); }),
                   sets.end());
        POSITION pos = pEnumerator->GetPosition(static_cast<DWORD>(sets.size()));
        for (auto& entry : sets) {
            CXTPPropExchangeSection section(pEnumerator->GetNext(pos));
            UINT nCommand = entry.first;
            ExchangeUInt(&section, L"Id", nCommand, 0);
            DoPropExchange(nCommand, &section);
        }
        return;
    }
    // Everything is read before the store is replaced: a damaged list leaves the store as it was.
    std::vector<CXTPImageManagerIconSet*> sets;
    UINT nCustomID = m_nCustomID;
    try {
        POSITION pos = pEnumerator->GetPosition(0);
        while (pos) {
            // A damaged count would otherwise have empty sets made for ever.
            if (!pEnumerator->IsNextStored(pos))
                AfxThrowArchiveException(CArchiveException::endOfFile);
            CXTPPropExchangeSection section(pEnumerator->GetNext(pos));
            UINT nCommand = 0;
            ExchangeUInt(&section, L"Id", nCommand, 0);
            sets.push_back(ReadIconSet(nCommand, &section));
            nCustomID = std::max(nCustomID, nCommand);
        }
    } catch (...) {
        for (CXTPImageManagerIconSet* pIconSet : sets)
            pIconSet->InternalRelease();
        throw;
    }
    for (auto& entry : m_mapImages.GetEntries())
        entry.second->InternalRelease();
    m_mapImages.RemoveAll();
    for (CXTPImageManagerIconSet* pIconSet : sets) {
        if (CXTPImageManagerIconSet* pOld = m_mapImages.Lookup(pIconSet->GetID()))
            pOld->InternalRelease();
        m_mapImages.SetAt(pIconSet->GetID(), pIconSet);
    }
    m_nCustomID = nCustomID;
}

void CXTPImageManager::Serialize(CArchive& ar)
{
    CXTPPropExchangeArchive px(ar);
    DoPropExchange(&px);
}

void CXTPImageManager::DoPropExchange(UINT nCommand, CArchive& ar)
{
    CXTPPropExchangeArchive px(ar);
    DoPropExchange(nCommand, &px);
}

CLIPFORMAT CXTPImageManager::GetClipboardFormat()
{
    static const CLIPFORMAT cfToolBarImage = static_cast<CLIPFORMAT>(::RegisterClipboardFormatW(L"Toolbar Button Image"));
    return cfToolBarImage;
}

CLIPFORMAT CXTPImageManager::GetAlphaBitmapFormat()
{
    static const CLIPFORMAT cfAlphaBitmap = static_cast<CLIPFORMAT>(::RegisterClipboardFormatW(L"Alpha Bitmap Image"));
    return cfAlphaBitmap;
}

BOOL CXTPImageManager::CopyToClipboard(UINT nCommand)
{
    if (!m_mapImages.Lookup(nCommand))
        return FALSE;
    CMemFile file(1024);
    CArchive ar(&file, CArchive::store);
    DoPropExchange(nCommand, ar);
    ar.Close();
    SIZE_T nBytes = static_cast<SIZE_T>(file.GetPosition());
    HGLOBAL hGlobal = ::GlobalAlloc(GMEM_MOVEABLE, nBytes);
    void* pTarget = hGlobal ? ::GlobalLock(hGlobal) : nullptr;
    if (!pTarget) {
        if (hGlobal)
            ::GlobalFree(hGlobal);
        return FALSE;
    }
    file.SeekToBegin();
    file.Read(pTarget, static_cast<UINT>(nBytes));
    ::GlobalUnlock(hGlobal);
    if (!::SetClipboardData(GetClipboardFormat(), hGlobal)) {
        ::GlobalFree(hGlobal);
        return FALSE;
    }
    return TRUE;
}

UINT CXTPImageManager::PasteFromClipboard(COleDataObject& data)
{
    HGLOBAL hGlobal = data.GetGlobalData(GetClipboardFormat());
    if (!hGlobal)
        return 0;
    UINT nCommand = m_nCustomID + 1;
    CXTPImageManagerIconSet* pIconSet = nullptr;
    try {
        CSharedFile file;
        file.SetHandle(hGlobal);
        CArchive ar(&file, CArchive::load);
        CXTPPropExchangeArchive px(ar);
        pIconSet = ReadIconSet(nCommand, &px);
        ar.Close();
    } catch (...) {
        if (pIconSet)
            pIconSet->InternalRelease();
        ::GlobalFree(hGlobal);
        throw;
    }
    ::GlobalFree(hGlobal);
    // Nothing to paste: no new id is taken.
    if (pIconSet->GetIcons()->IsEmpty()) {
        pIconSet->InternalRelease();
        return 0;
    }
    m_nCustomID = nCommand;
    m_mapImages.SetAt(nCommand, pIconSet);
    return nCommand;
}
