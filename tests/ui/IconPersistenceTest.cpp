// Icon sets saved and loaded through every store and the clipboard: the archive layout of an entry, schema 7
// data, scaled copies left out, and every kind of damaged data refused with the manager left as it was.
#include "IconPixels.h"
#include "PixelCanvas.h"
#include "PropExchangeStores.h"

#include "platform/mfc/afxoledataobj.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace
{
const UINT kCommand = 120;

HICON SolidIcon(int cx, int cy, COLORREF clr, BOOL bClearCorner = TRUE)
{
    return MakeIcon(cx, cy, [=](int x, int y) { return bClearCorner && x == 0 && y == 0 ? kClear : clr; });
}

// A manager holding an icon set for kCommand: 16 × 15 red (hot green) and an alpha icon at 32.
void Fill(CXTPImageManager& images)
{
    HICON hNormal = SolidIcon(16, 15, RGB(200, 0, 0));
    HICON hHot = SolidIcon(16, 15, RGB(0, 200, 0));
    images.SetIcon(CXTPImageManagerIconHandle(hNormal), kCommand, CSize(16, 15));
    images.SetIcon(CXTPImageManagerIconHandle(hHot), kCommand, CSize(16, 15), xtpImageHot);
    ::DestroyIcon(hNormal);
    ::DestroyIcon(hHot);
    HBITMAP hAlpha = MakeAlphaBitmap(32, 32, [](int x, int) { return MakePixel(250, 0, 0, x < 16 ? 255 : 0); });
    images.SetIcon(CXTPImageManagerIconHandle(hAlpha), kCommand, CSize(32, 32));
    ::DeleteObject(hAlpha);
}

// What a manager shows of kCommand: the drawn pixels of both widths and the hot image.
void ExpectFilled(CXTPImageManager& images)
{
    CXTPImageManagerIconSet* pIconSet = images.GetIconSet(kCommand);
    ASSERT_NE(nullptr, pIconSet);
    EXPECT_EQ(2, pIconSet->GetIcons()->GetCount());
    CXTPImageManagerIcon* pIcon = images.GetImage(kCommand, 16);
    ASSERT_NE(nullptr, pIcon);
    EXPECT_EQ(CSize(16, 15), CSize(pIcon->GetWidth(), pIcon->GetHeight()));
    CPixelCanvas canvas(40, 40, RGB(1, 2, 3));
    pIcon->Draw(&canvas, CPoint(0, 0));
    EXPECT_EQ(RGB(1, 2, 3), canvas.At(0, 0));
    EXPECT_EQ(RGB(200, 0, 0), canvas.At(5, 5));
    pIcon->Draw(&canvas, CPoint(20, 0), pIcon->GetHotIcon());
    EXPECT_EQ(RGB(0, 200, 0), canvas.At(25, 5));
    EXPECT_TRUE(pIcon->GetCheckedIcon().GetIcon() == pIcon->GetHotIcon().GetIcon());
    CXTPImageManagerIcon* pAlpha = images.GetImage(kCommand, 32);
    ASSERT_NE(nullptr, pAlpha);
    EXPECT_TRUE(pAlpha->IsAlpha());
    EXPECT_EQ(250, PixelRed(ImagePixel(pAlpha->GetIcon(), 3, 3)));
    EXPECT_EQ(0, PixelAlpha(ImagePixel(pAlpha->GetIcon(), 20, 3)));
}

std::vector<BYTE> SaveCommand(CXTPImageManager& images, UINT nCommand)
{
    CArchiveBacking backing;
    backing.Save([&](CXTPPropExchange* px) { images.DoPropExchange(nCommand, px); });
    return backing.m_bytes;
}

// Loads one command's form from the bytes; answers the cause of the CArchiveException raised, or -1 without
// one (other exceptions fail the test).
int LoadCommand(CXTPImageManager& images, UINT nCommand, const std::vector<BYTE>& bytes)
{
    CArchiveBacking backing;
    backing.m_bytes = bytes;
    try {
        backing.Load([&](CXTPPropExchange* px) { images.DoPropExchange(nCommand, px); });
    } catch (CArchiveException* e) {
        int nCause = e->m_cause;
        e->Delete();
        return nCause;
    } catch (CException* e) {
        ADD_FAILURE() << "unexpected exception " << e->GetRuntimeClass()->m_lpszClassName;
        e->Delete();
    }
    return -1;
}

// The offset of the entry's height and schema in a saved form (height 15, schema 9).
size_t EntryOffset(const std::vector<BYTE>& bytes)
{
    const BYTE pattern[] = {15, 0, 0, 0, 9, 0, 0, 0};
    auto it = std::search(bytes.begin(), bytes.end(), std::begin(pattern), std::end(pattern));
    return static_cast<size_t>(it - bytes.begin());
}

template <class T>
void Poke(std::vector<BYTE>& bytes, size_t nOffset, T value)
{
    std::memcpy(&bytes[nOffset], &value, sizeof(value));
}

const std::vector<UINT> kColumns = {0, 1, 2, 3, 4};
std::unique_ptr<CStoreBacking> MakeBacking(UINT nColumn)
{
    switch (nColumn) {
    case 0: return std::make_unique<CArchiveBacking>();
    case 1: return std::make_unique<CRegistryBacking>();
    case 2: return std::make_unique<CXmlBacking>(TRUE);
    case 3: return std::make_unique<CXmlBacking>(FALSE);
    default: return std::make_unique<CIniBacking>();
    }
}
}

TEST(IconPersistenceTest, WholeStoreRoundTripsThroughEveryStore)
{
    for (UINT nColumn : kColumns) {
        SCOPED_TRACE(nColumn);
        CXTPImageManager saved;
        Fill(saved);
        HICON hOther = SolidIcon(16, 16, RGB(5, 5, 5));
        saved.SetIcon(CXTPImageManagerIconHandle(hOther), 70000);
        ::DestroyIcon(hOther);
        // A scaled copy is a cache: it is not saved.
        ASSERT_TRUE(saved.GetImage(kCommand, 24)->IsScaled());
        std::unique_ptr<CStoreBacking> backing = MakeBacking(nColumn);
        backing->Save([&](CXTPPropExchange* px) { saved.DoPropExchange(px); });

        CXTPImageManager loaded;
        HICON hStale = SolidIcon(16, 16, RGB(9, 9, 9));
        loaded.SetIcon(CXTPImageManagerIconHandle(hStale), 5);
        ::DestroyIcon(hStale);
        backing->Load([&](CXTPPropExchange* px) { loaded.DoPropExchange(px); });
        ExpectFilled(loaded);
        EXPECT_FALSE(loaded.IsIconExist(5));
        EXPECT_TRUE(loaded.IsIconExist(70000));
        // Restored ids keep later custom ids above them.
        EXPECT_EQ(70000u, loaded.GetCustomIconCounter());
    }
}

// A set without icons (here one read from an INI file that lists a set of id 0 without its icons) leaves no
// empty section behind: every store reads back what it wrote.
TEST(IconPersistenceTest, SetWithoutIconsIsLeftOutAndTheStoreReadsBack)
{
    CTempFolder folder;
    CString strIni = folder.File(L"icone.ini");
    ::WritePrivateProfileStringW(L"Icons", L"Count", L"1", strIni);
    ::WritePrivateProfileStringW(L"Icons\\IconSet0\\Icon0", L"Width", L"16", strIni);
    ::WritePrivateProfileStringW(nullptr, nullptr, nullptr, strIni);
    CXTPImageManager source;
    {
        CXTPPropExchangeIniFile px(TRUE, nullptr, L"Icons");
        ASSERT_TRUE(px.LoadFromFile(strIni));
        source.DoPropExchange(&px);
    }
    ASSERT_NE(nullptr, source.GetIconSet(0));
    Fill(source);
    for (UINT nColumn : kColumns) {
        SCOPED_TRACE(nColumn);
        std::unique_ptr<CStoreBacking> backing = MakeBacking(nColumn);
        backing->Save([&](CXTPPropExchange* px) { source.DoPropExchange(px); });
        CXTPImageManager loaded;
        backing->Load([&](CXTPPropExchange* px) { loaded.DoPropExchange(px); });
        ExpectFilled(loaded);
    }
}

TEST(IconPersistenceTest, ListOfNoSetsEmptiesTheManager)
{
    CXTPImageManager empty;
    CArchiveBacking backing;
    backing.Save([&](CXTPPropExchange* px) { empty.DoPropExchange(px); });
    CXTPImageManager images;
    Fill(images);
    backing.Load([&](CXTPPropExchange* px) { images.DoPropExchange(px); });
    EXPECT_FALSE(images.IsIconExist(kCommand));
}

TEST(IconPersistenceTest, ArchiveLayoutOfAnEntry)
{
    CXTPImageManager images;
    HICON hIcon = SolidIcon(16, 15, RGB(200, 0, 0));
    images.SetIcon(CXTPImageManagerIconHandle(hIcon), kCommand);
    ::DestroyIcon(hIcon);
    std::vector<BYTE> bytes = SaveCommand(images, kCommand);
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    CString strCheckSum;
    DWORD nCount = 0, nWidth = 0, nHeight = 0, nSchema = 0;
    ar >> strCheckSum >> nCount >> nWidth >> nHeight >> nSchema;
    EXPECT_EQ(CString(L"CXTPImageManagerIcons"), strCheckSum);
    EXPECT_EQ(1u, nCount);
    EXPECT_EQ(16u, nWidth);
    EXPECT_EQ(15u, nHeight);
    EXPECT_EQ(9u, nSchema);
    // Normal image: the colour bitmap as 32 bits, then the 1-bit mask with its true size (rows of 4 bytes).
    const struct
    {
        WORD nBitCount;
        DWORD nBits;
    } records[] = {{32, 16 * 4 * 15}, {1, 4 * 15}};
    for (const auto& record : records) {
        ASSERT_EQ(52u, ar.ReadCount());
        BITMAPINFOHEADER info;
        BYTE colors[12];
        ar.Read(&info, sizeof(info));
        ar.Read(colors, sizeof(colors));
        EXPECT_EQ(16, info.biWidth);
        EXPECT_EQ(15, info.biHeight);
        EXPECT_EQ(record.nBitCount, info.biBitCount);
        ASSERT_EQ(record.nBits, ar.ReadCount());
        std::vector<BYTE> bits(record.nBits);
        EXPECT_EQ(record.nBits, ar.Read(bits.data(), record.nBits));
    }
    // Disabled, hot and checked: two absent records each; nothing follows.
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(0u, ar.ReadCount());
    BYTE extra;
    EXPECT_EQ(0u, ar.Read(&extra, 1));
}

TEST(IconPersistenceTest, SchemaSevenDataHasNoCheckedRecord)
{
    CXTPImageManager images;
    HICON hIcon = SolidIcon(16, 15, RGB(200, 0, 0));
    images.SetIcon(CXTPImageManagerIconHandle(hIcon), kCommand);
    ::DestroyIcon(hIcon);
    std::vector<BYTE> bytes = SaveCommand(images, kCommand);
    Poke<DWORD>(bytes, EntryOffset(bytes) + 4, 7);
    bytes.resize(bytes.size() - 4);   // the checked record's two counts
    CXTPImageManager loaded;
    EXPECT_EQ(-1, LoadCommand(loaded, kCommand, bytes));
    CXTPImageManagerIcon* pIcon = loaded.GetImage(kCommand, 16);
    ASSERT_NE(nullptr, pIcon);
    EXPECT_EQ(RGB(200, 0, 0), PixelColor(ImagePixel(pIcon->GetIcon(), 5, 5)));
}

TEST(IconPersistenceTest, CommandWithoutIconsIsWrittenAsAnEmptyListAndTheArchiveStaysInStep)
{
    CXTPImageManager images;
    CArchiveBacking backing;
    backing.Save([&](CXTPPropExchange* px) {
        images.DoPropExchange(999, px);
        int n = 42;
        ExchangeInt(px, L"Next", n, 0);
    });
    backing.Load([&](CXTPPropExchange* px) {
        images.DoPropExchange(999, px);
        int n = 0;
        ExchangeInt(px, L"Next", n, 0);
        EXPECT_EQ(42, n);
    });
    EXPECT_EQ(nullptr, images.GetImage(999, 16));
}

TEST(IconPersistenceTest, ArchiveCutAtEveryByteIsRefusedAndChangesNothing)
{
    // A small set (4 × 4 icon with a hot image, and a 4 × 4 alpha icon), so that every cut is tried quickly.
    CXTPImageManager source;
    HICON hIcon = SolidIcon(4, 4, RGB(200, 0, 0));
    source.SetIcon(CXTPImageManagerIconHandle(hIcon), kCommand);
    source.SetIcon(CXTPImageManagerIconHandle(hIcon), kCommand, CSize(4, 4), xtpImageHot);
    ::DestroyIcon(hIcon);
    HBITMAP hAlpha = MakeAlphaBitmap(8, 4, [](int, int) { return MakePixel(1, 2, 3, 4); });
    source.SetIcon(CXTPImageManagerIconHandle(hAlpha), kCommand);
    ::DeleteObject(hAlpha);
    std::vector<BYTE> bytes = SaveCommand(source, kCommand);
    CXTPImageManager images;
    Fill(images);
    CXTPImageManagerIconSet* pBefore = images.GetIconSet(kCommand);
    for (size_t nCut = 0; nCut < bytes.size(); ++nCut) {
        std::vector<BYTE> cut(bytes.begin(), bytes.begin() + nCut);
        ASSERT_NE(-1, LoadCommand(images, kCommand, cut)) << "cut at " << nCut;
    }
    EXPECT_EQ(pBefore, images.GetIconSet(kCommand));
    ExpectFilled(images);
    EXPECT_EQ(-1, LoadCommand(images, kCommand, bytes));
    EXPECT_EQ(4, images.GetImage(kCommand, 4)->GetHeight());
}

TEST(IconPersistenceTest, DamagedRecordsAreRefusedWithTheirCause)
{
    CXTPImageManager source;
    HICON hIcon = SolidIcon(16, 15, RGB(200, 0, 0));
    source.SetIcon(CXTPImageManagerIconHandle(hIcon), kCommand);
    ::DestroyIcon(hIcon);
    const std::vector<BYTE> good = SaveCommand(source, kCommand);
    const size_t p = EntryOffset(good);
    const size_t nInfo = p + 10;   // after height, schema and the info count
    const struct
    {
        const char* what;
        std::function<void(std::vector<BYTE>&)> damage;
        int nCause;
    } cases[] = {
        {"foreign check sum", [](std::vector<BYTE>& b) { b[4] = 'Y'; }, CArchiveException::badClass},
        {"entry height 0", [&](std::vector<BYTE>& b) { Poke<DWORD>(b, p, 0); }, CArchiveException::genericException},
        {"info size 40", [&](std::vector<BYTE>& b) { Poke<WORD>(b, p + 8, 40); }, CArchiveException::genericException},
        {"header size 12", [&](std::vector<BYTE>& b) { Poke<DWORD>(b, nInfo, 12); }, CArchiveException::genericException},
        {"width 0", [&](std::vector<BYTE>& b) { Poke<LONG>(b, nInfo + 4, 0); }, CArchiveException::genericException},
        {"width 100000", [&](std::vector<BYTE>& b) { Poke<LONG>(b, nInfo + 4, 100000); }, CArchiveException::genericException},
        {"8 bits per pixel", [&](std::vector<BYTE>& b) { Poke<WORD>(b, nInfo + 14, 8); }, CArchiveException::genericException},
        {"bits fewer than the rows", [&](std::vector<BYTE>& b) { Poke<WORD>(b, nInfo + 52, 10); }, CArchiveException::genericException},
        {"bits beyond the stream", [&](std::vector<BYTE>& b) { Poke<WORD>(b, nInfo + 52, 0xFFFE); }, CArchiveException::genericException},
        {"icon count beyond the data", [&](std::vector<BYTE>& b) { Poke<DWORD>(b, p - 8, 5); }, CArchiveException::endOfFile},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<BYTE> bytes = good;
        c.damage(bytes);
        CXTPImageManager images;
        Fill(images);
        EXPECT_EQ(c.nCause, LoadCommand(images, kCommand, bytes));
        ExpectFilled(images);
    }
}

// A whole store whose stored count of sets is far beyond the one set there: every store refuses it (a keyed
// store at the first absent set, the archive at its end) and the manager keeps what it had.
TEST(IconPersistenceTest, SetCountBeyondTheStoredSetsIsRefusedByEveryStore)
{
    for (UINT nColumn : kColumns) {
        SCOPED_TRACE(nColumn);
        CXTPImageManager source;
        Fill(source);
        std::unique_ptr<CStoreBacking> backing = MakeBacking(nColumn);
        backing->Save([&](CXTPPropExchange* px) {
            DWORD nCount = 0x7FFFFFFF;
            ExchangeDWord(px, L"Count", nCount, 0);
            CXTPPropExchangeSection section(px, L"IconSet0");
            UINT nCommand = kCommand;
            ExchangeUInt(&section, L"Id", nCommand, 0);
            source.DoPropExchange(kCommand, &section);
        });
        CXTPImageManager images;
        Fill(images);
        CXTPImageManagerIconSet* pBefore = images.GetIconSet(kCommand);
        int nCause = -1;
        try {
            backing->Load([&](CXTPPropExchange* px) { images.DoPropExchange(px); });
        } catch (CArchiveException* e) {
            nCause = e->m_cause;
            e->Delete();
        }
        EXPECT_EQ(CArchiveException::endOfFile, nCause);
        EXPECT_EQ(pBefore, images.GetIconSet(kCommand));
        ExpectFilled(images);
    }
}

namespace
{
void PutOnClipboard(UINT cfFormat, const std::vector<BYTE>& bytes)
{
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    HGLOBAL hGlobal = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size() ? bytes.size() : 1);
    if (!bytes.empty())
        std::memcpy(::GlobalLock(hGlobal), bytes.data(), bytes.size());
    ::GlobalUnlock(hGlobal);
    ::SetClipboardData(cfFormat, hGlobal);
    ::CloseClipboard();
}
}

TEST(IconPersistenceTest, CopyAndPasteTwiceGivesTwoNewIdsWithTheSamePixels)
{
    CXTPImageManager images;
    Fill(images);
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    EXPECT_TRUE(images.CopyToClipboard(kCommand));
    EXPECT_FALSE(images.CopyToClipboard(4321));
    ::CloseClipboard();

    CXTPImageManager target;
    UINT nIds[2] = {};
    for (UINT& nId : nIds) {
        COleDataObject data;
        ASSERT_TRUE(data.AttachClipboard());
        nId = target.PasteFromClipboard(data);
    }
    EXPECT_EQ(68267u, nIds[0]);
    EXPECT_EQ(68268u, nIds[1]);
    for (UINT nId : nIds) {
        CXTPImageManagerIcon* pIcon = target.GetImage(nId, 16);
        ASSERT_NE(nullptr, pIcon);
        EXPECT_EQ(RGB(200, 0, 0), PixelColor(ImagePixel(pIcon->GetIcon(), 5, 5)));
        EXPECT_TRUE(target.GetImage(nId, 32)->IsAlpha());
    }
}

TEST(IconPersistenceTest, ForeignClipboardDataIsRefusedAndAddsNothing)
{
    CXTPImageManager source;
    Fill(source);
    std::vector<BYTE> good = SaveCommand(source, kCommand);
    const struct
    {
        const char* what;
        std::vector<BYTE> bytes;
    } cases[] = {
        {"text", {'c', 'i', 'a', 'o', 0}},
        {"cut", std::vector<BYTE>(good.begin(), good.begin() + good.size() / 2)},
        {"empty", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        PutOnClipboard(CXTPImageManager::GetClipboardFormat(), c.bytes);
        CXTPImageManager images;
        COleDataObject data;
        ASSERT_TRUE(data.AttachClipboard());
        BOOL bRaised = FALSE;
        try {
            images.PasteFromClipboard(data);
        } catch (CArchiveException* e) {
            bRaised = TRUE;
            e->Delete();
        }
        EXPECT_TRUE(bRaised);
        EXPECT_FALSE(images.IsIconExist(68267));
        EXPECT_EQ(68266u, images.GetCustomIconCounter());
    }
    // Without the format there is nothing to paste.
    PutOnClipboard(CF_TEXT, {'x', 0});
    CXTPImageManager images;
    COleDataObject data;
    ASSERT_TRUE(data.AttachClipboard());
    EXPECT_EQ(0u, images.PasteFromClipboard(data));
}

namespace
{
// The archive form of a 16 x 15 entry whose normal image is a colour bitmap of its own format (no mask) with a
// pattern of bytes; the other images absent.
std::vector<BYTE> EntryWithBitmap(WORD nBitCount, DWORD dwCompression, const DWORD (&masks)[3])
{
    return StoredArchive([&](CArchive& ar) {
        ar << static_cast<DWORD>(15) << static_cast<DWORD>(9);
        DWORD nBits = (16 * nBitCount + 31) / 32 * 4 * 15;
        BITMAPINFOHEADER header = {sizeof(header), 16, 15, 1, nBitCount, dwCompression, nBits, 0, 0, 0, 0};
        ar.WriteCount(52);
        ar.Write(&header, sizeof(header));
        ar.Write(masks, sizeof(masks));
        ar.WriteCount(nBits);
        for (DWORD i = 0; i < nBits; ++i)
            ar << static_cast<BYTE>(i * 7 + 3);
        for (int i = 0; i < 7; ++i)
            ar.WriteCount(0);
    });
}
}

// A colour bitmap of 16 or 24 bits stays in its own format: the entry holds it as such and writes back the record
// it was read from, byte for byte.
TEST(IconPersistenceTest, ColourBitmapsKeepTheirOwnFormat)
{
    const struct
    {
        const char* pszName;
        WORD nBitCount;
        DWORD dwCompression;
        DWORD masks[3];
    } cases[] = {
        {"16 bits 5-5-5", 16, BI_RGB, {0, 0, 0}},
        {"16 bits 5-6-5", 16, BI_BITFIELDS, {0xF800, 0x07E0, 0x001F}},
        {"24 bits", 24, BI_RGB, {0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszName);
        std::vector<BYTE> bytes = EntryWithBitmap(c.nBitCount, c.dwCompression, c.masks);
        CXTPImageManagerIcon entry(kCommand, 16, 15);
        {
            CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
            CArchive ar(&file, CArchive::load);
            entry.Serialize(ar);
        }
        DIBSECTION dib = {};
        ASSERT_EQ(static_cast<int>(sizeof(dib)), ::GetObjectW(entry.GetIcon().GetBitmap(), sizeof(dib), &dib));
        EXPECT_EQ(c.nBitCount, dib.dsBmih.biBitCount);
        std::vector<BYTE> written = StoredArchive([&](CArchive& ar) { entry.Serialize(ar); });
        EXPECT_TRUE(written == bytes);
    }
}
