// The icon store: icons cut from toolbar and bitmap resources, the width choice, state rules, separators, alpha
// strips, custom ids and the parsing of icon and bitmap files.
#include "IconPixels.h"
#include "ImageManagerTestRes.h"
#include "PixelCanvas.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
HICON SolidIcon(int cx, int cy, COLORREF clr)
{
    return MakeIcon(cx, cy, [clr](int, int) { return clr; });
}

// Stores an owning icon for the command at its extent; the temporary icon is destroyed.
void AddIcon(CXTPImageManager& images, UINT nCommand, int cx, int cy, COLORREF clr, int imageState = xtpImageNormal)
{
    HICON hIcon = SolidIcon(cx, cy, clr);
    images.SetIcon(CXTPImageManagerIconHandle(hIcon), nCommand, CSize(cx, cy), imageState);
    ::DestroyIcon(hIcon);
}
}

TEST(ImageManagerTest, MissingToolbarAddsNothingAndMaskColourAnswersThePreviousOne)
{
    // An id no resource of the test program uses (the program's own tool bars are linked in too).
    const UINT nMissing = 0x7FF0;
    CXTPImageManager images;
    EXPECT_FALSE(images.SetIcons(nMissing, 0));
    EXPECT_FALSE(images.IsIconExist(nMissing));
    EXPECT_EQ(0xFFFFFFFFu, images.SetMaskColor(0xC0C0C0));
    EXPECT_EQ(0xC0C0C0u, images.SetMaskColor(0x00FF00));
    EXPECT_EQ(0x00FF00u, images.GetMaskColor());
    // A count of ids the resource does not hold.
    EXPECT_FALSE(images.SetIcons(IDR_IMAGETEST_SHORTTOOLBAR, 0));
}

TEST(ImageManagerTest, ToolbarIconsShowTheBackgroundUnderTheMask)
{
    CXTPImageManager images;
    images.SetMaskColor(0xC0C0C0);
    ASSERT_TRUE(images.SetIcons(IDR_IMAGETEST_TOOLBAR, 0));
    // The separator takes no image: the bitmap is cut by the three commands.
    EXPECT_FALSE(images.IsIconExist(0));
    const struct
    {
        UINT nCommand;
        COLORREF clr;
    } cases[] = {{101, RGB(255, 0, 0)}, {102, RGB(0, 128, 0)}, {103, RGB(0, 0, 255)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nCommand);
        CXTPImageManagerIcon* pIcon = images.GetImage(c.nCommand, 16);
        ASSERT_NE(nullptr, pIcon);
        EXPECT_EQ(CSize(16, 15), CSize(pIcon->GetWidth(), pIcon->GetHeight()));
        CPixelCanvas canvas(20, 20, RGB(10, 20, 30));
        pIcon->Draw(&canvas, CPoint(0, 0));
        EXPECT_EQ(RGB(10, 20, 30), canvas.At(0, 0));
        EXPECT_EQ(RGB(10, 20, 30), canvas.At(15, 14));
        EXPECT_EQ(c.clr, canvas.At(4, 3));
        EXPECT_EQ(c.clr, canvas.At(11, 10));
    }
}

TEST(ImageManagerTest, AlphaStripSplitsBetweenTheToolbarsCommands)
{
    CXTPImageManager images;
    ASSERT_TRUE(images.SetIcons(IDR_IMAGETEST_ALPHASTRIP, 0));
    CXTPImageManagerIcon* pFirst = images.GetImage(201, 16);
    CXTPImageManagerIcon* pSecond = images.GetImage(202, 16);
    ASSERT_NE(nullptr, pFirst);
    ASSERT_NE(nullptr, pSecond);
    EXPECT_TRUE(pFirst->IsAlpha());
    EXPECT_EQ(RGB(255, 255, 255), PixelColor(ImagePixel(pFirst->GetIcon(), 5, 5)));
    EXPECT_EQ(RGB(255, 0, 0), PixelColor(ImagePixel(pSecond->GetIcon(), 5, 5)));
    EXPECT_EQ(128, PixelAlpha(ImagePixel(pSecond->GetIcon(), 0, 0)));
}

TEST(ImageManagerTest, IconResourceWhoseImageIdEqualsItsGroupIdLoadsEverySize)
{
    CXTPImageManager images;
    ASSERT_TRUE(images.LoadIcons(IDI_IMAGETEST_EQUALIDS, 500, CSize(16, 16)));
    CXTPImageManagerIcon* pSmall = images.GetImage(500, 16);
    CXTPImageManagerIcon* pLarge = images.GetImage(500, 32);
    ASSERT_NE(nullptr, pSmall);
    ASSERT_NE(nullptr, pLarge);
    EXPECT_TRUE(pSmall->IsAlpha());
    EXPECT_EQ(RGB(220, 0, 0), PixelColor(ImagePixel(pSmall->GetIcon(), 2, 2)));
    EXPECT_EQ(0, PixelAlpha(ImagePixel(pSmall->GetIcon(), 12, 2)));
    EXPECT_EQ(CSize(32, 32), CSize(pLarge->GetWidth(), pLarge->GetHeight()));
    EXPECT_EQ(RGB(0, 200, 0), PixelColor(ImagePixel(pLarge->GetIcon(), 5, 5)));
    CXTPImageManagerIcon icon(600, 16, 16);
    EXPECT_TRUE(icon.LoadIcon(IDI_IMAGETEST_EQUALIDS, 32, 32));
    EXPECT_EQ(RGB(0, 200, 0), PixelColor(ImagePixel(icon.GetIcon(), 5, 5)));
}

TEST(ImageManagerTest, AlphaSplittingHandsPiecesToIdsAndSkipsSeparators)
{
    const struct
    {
        const char* what;
        std::vector<UINT> ids;   // empty: no id array
        int nCount;
        int nStripWidth;
        BOOL bResult;
        std::vector<UINT> stored;
    } cases[] = {
        {"no ids: indexes", {}, 0, 32, TRUE, {0, 1}},
        {"a separator takes no piece", {201, 0, 202}, 3, 32, TRUE, {201, 202}},
        {"as many ids as pieces: a zero id takes one", {201, 0}, 2, 32, TRUE, {201, 0}},
        {"pieces run out", {201, 202, 203}, 3, 32, TRUE, {201, 202}},
        {"width not a multiple of the icon", {201}, 1, 30, FALSE, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CXTPImageManager images;
        HBITMAP hStrip = MakeAlphaBitmap(c.nStripWidth, 16, [](int x, int) { return MakePixel(x, 0, 0, 255); });
        EXPECT_EQ(c.bResult, images.AddIconsFromBitmap(hStrip, c.ids.empty() ? nullptr : c.ids.data(), c.nCount,
                                                        CSize(16, 16), xtpImageNormal, TRUE));
        ::DeleteObject(hStrip);
        for (size_t i = 0; i < c.stored.size(); ++i) {
            CXTPImageManagerIcon* pIcon = images.GetImage(c.stored[i], 16);
            ASSERT_NE(nullptr, pIcon);
            // Piece i starts at x = 16 × i of the strip.
            EXPECT_EQ(static_cast<int>(16 * i), PixelRed(ImagePixel(pIcon->GetIcon(), 0, 0)));
        }
        for (UINT nCommand : {0u, 1u, 201u, 202u, 203u}) {
            bool bExpected = std::find(c.stored.begin(), c.stored.end(), nCommand) != c.stored.end();
            EXPECT_EQ(bExpected, !!images.IsIconExist(nCommand)) << nCommand;
        }
    }
}

TEST(ImageManagerTest, WidthChoiceTakesTheNearestAndTheFirstInTheWalkOnATie)
{
    const struct
    {
        const char* what;
        std::vector<int> widths;
        int nRequested;
        COLORREF clrSource;   // each width's colour is RGB(width, 0, 0)
        CSize szResult;
    } cases[] = {
        {"exact", {16, 32}, 32, RGB(32, 0, 0), CSize(32, 30)},
        {"tie: bucket of 16 walks first", {32, 16}, 24, RGB(16, 0, 0), CSize(24, 23)},
        {"nearer wins", {16, 32}, 30, RGB(32, 0, 0), CSize(30, 28)},
        {"smaller than all (MulDiv rounds)", {16, 32}, 8, RGB(16, 0, 0), CSize(8, 8)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CXTPImageManager images;
        for (int nWidth : c.widths)
            AddIcon(images, 1, nWidth, nWidth * 15 / 16, RGB(nWidth, 0, 0));
        CXTPImageManagerIcon* pIcon = images.GetImage(1, c.nRequested);
        ASSERT_NE(nullptr, pIcon);
        EXPECT_EQ(c.szResult, CSize(pIcon->GetWidth(), pIcon->GetHeight()));
        EXPECT_EQ(c.clrSource, PixelColor(ImagePixel(pIcon->GetIcon(), 2, 2)));
        // The copy answers the next request directly.
        EXPECT_EQ(pIcon, images.GetImage(1, c.nRequested));
    }
}

TEST(ImageManagerTest, AlphaEntryIsNeverRescaledAndAnEmptySetAnswersNull)
{
    CXTPImageManager images;
    HBITMAP hBitmap = MakeAlphaBitmap(16, 16, [](int, int) { return MakePixel(1, 2, 3, 255); });
    images.SetIcon(CXTPImageManagerIconHandle(hBitmap), 7);
    ::DeleteObject(hBitmap);
    CXTPImageManagerIcon* pIcon = images.GetImage(7, 24);
    ASSERT_NE(nullptr, pIcon);
    EXPECT_EQ(16, pIcon->GetWidth());
    EXPECT_EQ(pIcon, images.GetImage(7, 16));

    CXTPImageManagerIconSet emptySet(9, &images);
    EXPECT_EQ(nullptr, emptySet.GetIcon(16));
}

TEST(ImageManagerTest, ScaledCopyMadeFromAScaledCopyKeepsItsSourceAlive)
{
    CXTPImageManager images;
    AddIcon(images, 1, 16, 15, RGB(200, 0, 0));
    images.SetIcon(CXTPImageManagerIconHandle(SolidIcon(16, 15, RGB(0, 200, 0))), 1, CSize(16, 15), xtpImageHot);
    CXTPImageManagerIcon* p24 = images.GetImage(1, 24);
    ASSERT_NE(nullptr, p24);
    EXPECT_TRUE(p24->IsScaled());
    // 20 is as near to 24 as to 16; 24 is the newer key of the same bucket, so the copy is made from the copy,
    // which the set releases while the new copy is filled.
    CXTPImageManagerIcon* p20 = images.GetImage(1, 20);
    ASSERT_NE(nullptr, p20);
    EXPECT_EQ(20, p20->GetWidth());
    EXPECT_EQ(RGB(200, 0, 0), PixelColor(ImagePixel(p20->GetIcon(), 5, 5)));
    EXPECT_EQ(RGB(0, 200, 0), PixelColor(ImagePixel(p20->GetHotIcon(), 5, 5)));
    // At most one scaled copy at a time.
    EXPECT_EQ(2, images.GetIconSet(1)->GetIcons()->GetCount());
}

TEST(ImageManagerTest, StateRules)
{
    CXTPImageManager images;
    // A state image never starts a set.
    HICON hHot = SolidIcon(16, 15, RGB(0, 255, 0));
    EXPECT_FALSE(images.SetIcon(CXTPImageManagerIconHandle(hHot), 5, CSize(16, 15), xtpImageHot));
    EXPECT_FALSE(images.IsIconExist(5));

    AddIcon(images, 5, 16, 15, RGB(255, 0, 0));
    CXTPImageManagerIcon* pIcon = images.GetImage(5, 16);
    const struct
    {
        const char* what;
        std::function<CXTPImageManagerIconHandle&()> get;
        COLORREF clrBefore;   // before the hot image is set
        COLORREF clrAfter;    // with the hot image
    } cases[] = {
        {"hot falls back to normal", [&]() -> CXTPImageManagerIconHandle& { return pIcon->GetHotIcon(); }, RGB(255, 0, 0), RGB(0, 255, 0)},
        {"checked falls back to hot", [&]() -> CXTPImageManagerIconHandle& { return pIcon->GetCheckedIcon(); }, RGB(255, 0, 0), RGB(0, 255, 0)},
        {"normal stays", [&]() -> CXTPImageManagerIconHandle& { return pIcon->GetIcon(); }, RGB(255, 0, 0), RGB(255, 0, 0)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.clrBefore, PixelColor(ImagePixel(c.get(), 3, 3))) << c.what;
    EXPECT_TRUE(images.SetIcon(CXTPImageManagerIconHandle(hHot), 5, CSize(16, 15), xtpImageHot));
    for (const auto& c : cases)
        EXPECT_EQ(c.clrAfter, PixelColor(ImagePixel(c.get(), 3, 3))) << c.what;
    EXPECT_FALSE(pIcon->HasDisabledIcon());
    images.SetIcon(CXTPImageManagerIconHandle(hHot), 5, CSize(16, 15), xtpImageDisabled);
    EXPECT_TRUE(pIcon->HasDisabledIcon());
    images.GetImage(5, 24);
    ASSERT_EQ(2, images.GetIconSet(5)->GetIcons()->GetCount());

    // A new normal image drops the hot, checked and disabled images and every scaled copy.
    AddIcon(images, 5, 16, 15, RGB(0, 0, 255));
    EXPECT_EQ(RGB(0, 0, 255), PixelColor(ImagePixel(pIcon->GetHotIcon(), 3, 3)));
    EXPECT_FALSE(pIcon->HasDisabledIcon());
    EXPECT_EQ(1, images.GetIconSet(5)->GetIcons()->GetCount());
    ::DestroyIcon(hHot);
}

TEST(ImageManagerTest, CustomIconsTakeIdsFrom68267)
{
    CXTPImageManager images;
    HICON hIcon = SolidIcon(16, 16, RGB(1, 2, 3));
    EXPECT_EQ(68267u, images.AddCustomIcon(CXTPImageManagerIconHandle(hIcon)));
    EXPECT_EQ(68268u, images.AddCustomIcon(CXTPImageManagerIconHandle(hIcon)));
    ::DestroyIcon(hIcon);
    EXPECT_EQ(16, images.GetImage(68267, 16)->GetWidth());
}

TEST(ImageManagerTest, ImageListRecordsServeTheirRangeOfIds)
{
    CXTPImageManager images;
    HIMAGELIST hList = ::ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 2, 0);
    HICON hIcon = SolidIcon(16, 16, RGB(9, 9, 9));
    ::ImageList_ReplaceIcon(hList, -1, hIcon);
    ::ImageList_ReplaceIcon(hList, -1, hIcon);
    ::DestroyIcon(hIcon);
    images.AddImageList(hList, 500, TRUE);
    EXPECT_TRUE(images.IsIconExist(501));
    EXPECT_FALSE(images.IsIconExist(502));
    CXTPImageManagerIcon* pIcon = images.GetImage(501, 24);
    ASSERT_NE(nullptr, pIcon);
    EXPECT_EQ(16, pIcon->GetWidth());
    CPixelCanvas canvas(20, 20);
    pIcon->Draw(&canvas, CPoint(0, 0));
    EXPECT_EQ(RGB(9, 9, 9), canvas.At(8, 8));
}

TEST(ImageManagerTest, DamagedBitmapAndIconFilesGiveNoImage)
{
    CTempFolder folder;
    auto le16 = [](int v) { return std::string{char(v & 0xFF), char((v >> 8) & 0xFF)}; };
    auto le32 = [&](long v) { return le16(v & 0xFFFF) + le16((v >> 16) & 0xFFFF); };
    std::string bmpInfo = le32(40) + le32(2) + le32(2) + le16(1) + le16(32) + le32(0) + le32(16) + le32(0) + le32(0) + le32(0) + le32(0);
    std::string bmp = "BM" + le32(14 + 40 + 16) + le32(0) + le32(54) + bmpInfo + std::string(16, '\x7F');
    // One 32-bit 2 × 2 image: directory entry, then its header (height doubled) and 4 pixels.
    std::string iconImage = le32(40) + le32(2) + le32(4) + le16(1) + le16(32) + std::string(24, '\0') + std::string(16, '\x40');
    auto icon = [&](long nBytes, long nOffset) {
        return le16(0) + le16(1) + le16(1) + std::string{2, 2, 0, 0} + le16(1) + le16(32) + le32(nBytes) + le32(nOffset);
    };
    std::string goodIcon = icon(static_cast<long>(iconImage.size()), 22) + iconImage;
    EXPECT_TRUE(CXTPImageManager::IsAlphaBitmapFile(folder.Write(L"buono.bmp", bmp)));
    HBITMAP hGood = CXTPImageManager::LoadAlphaIconFile(folder.Write(L"buono.ico", goodIcon), 2);
    ASSERT_NE(nullptr, hGood);
    EXPECT_EQ(CSize(2, 2), CSize(XTPGetBitmapSize(hGood)));
    ::DeleteObject(hGood);

    const struct
    {
        const char* what;
        std::string bytes;
    } bitmaps[] = {{"empty", ""}, {"file header only", bmp.substr(0, 14)}, {"cut in the info", bmp.substr(0, 30)},
                   {"not a bitmap", "XX" + bmp.substr(2)}};
    for (const auto& c : bitmaps)
        EXPECT_FALSE(CXTPImageManager::IsAlphaBitmapFile(folder.Write(L"guasto.bmp", c.bytes))) << c.what;
    EXPECT_FALSE(CXTPImageManager::IsAlphaBitmapFile(folder.File(L"assente.bmp")));

    const struct
    {
        const char* what;
        std::string bytes;
    } icons[] = {
        {"empty", ""},
        {"directory beyond the file", goodIcon.substr(0, 10)},
        {"image beyond the file", icon(4000, 22) + iconImage},
        {"offset beyond the file", icon(static_cast<long>(iconImage.size()), 9000) + iconImage},
        {"pixels cut short", goodIcon.substr(0, goodIcon.size() - 5)},
        {"height of zero", icon(static_cast<long>(iconImage.size()), 22) + le32(40) + le32(2) + le32(0) + iconImage.substr(12)},
    };
    for (const auto& c : icons)
        EXPECT_EQ(nullptr, CXTPImageManager::LoadAlphaIconFile(folder.Write(L"guasto.ico", c.bytes), 2)) << c.what;
}

TEST(ImageManagerTest, OpaqueCopyTakesTheBackgroundBelowAlpha120)
{
    HBITMAP hBitmap = MakeAlphaBitmap(2, 1, [](int x, int) { return x == 0 ? MakePixel(255, 128, 0, 119) : MakePixel(255, 128, 0, 120); });
    HBITMAP hOpaque = CXTPImageManager::CreateOpaqueBitmap(hBitmap, RGB(0, 0, 255));
    ASSERT_NE(nullptr, hOpaque);
    EXPECT_EQ(24, XTPGetBitmapBitCount(hOpaque));
    std::vector<DWORD> pixels;
    SIZE size;
    ASSERT_TRUE(XTPReadPixels(hOpaque, pixels, size));
    EXPECT_EQ(RGB(0, 0, 255), PixelColor(pixels[0]));
    EXPECT_EQ(RGB(254, 127, 0), PixelColor(pixels[1]));
    ::DeleteObject(hBitmap);
    ::DeleteObject(hOpaque);
}
