// Derived icon images (faded, shadow, generated disabled) by their formulas, for icons and alpha bitmaps, and
// how an entry draws: pre-multiplied alpha, a height that follows the width, mirroring, silhouettes.
#include "DisplayBits.h"
#include "IconPixels.h"
#include "PixelCanvas.h"

#include "ui/themes/ColorTable.h"

#include <gtest/gtest.h>

namespace
{
// The shadow colour comes from colour 31 of the table: pinned here, restored afterwards.
class IconStatesTest : public ::testing::Test
{
protected:
    IconStatesTest() { GetColorTable()->SetColor(31, RGB(200, 100, 40)); }
    ~IconStatesTest() override { GetColorTable()->SetColor(31, XTP_COLOR_NONE); }

    // An entry of 4 × 1 pixels: white, black, red, and one transparent (mask) pixel.
    CXTPImageManagerIcon* IconEntry()
    {
        HICON hIcon = MakeIcon(4, 1, [](int x, int) {
            const COLORREF colors[] = {RGB(255, 255, 255), RGB(0, 0, 0), RGB(255, 0, 0), kClear};
            return colors[x];
        });
        m_images.SetIcon(CXTPImageManagerIconHandle(hIcon), 1);
        ::DestroyIcon(hIcon);
        return m_images.GetImage(1, 4);
    }
    // The same colours as an alpha bitmap, the fourth pixel transparent black.
    CXTPImageManagerIcon* AlphaEntry()
    {
        HBITMAP hBitmap = MakeAlphaBitmap(4, 1, [](int x, int) {
            const DWORD pixels[] = {MakePixel(255, 255, 255, 255), MakePixel(0, 0, 0, 255), MakePixel(255, 0, 0, 255),
                                    MakePixel(0, 0, 0, 0)};
            return pixels[x];
        });
        m_images.SetIcon(CXTPImageManagerIconHandle(hBitmap), 2);
        ::DeleteObject(hBitmap);
        return m_images.GetImage(2, 4);
    }

    CXTPImageManager m_images;
};

const COLORREF kShadow = RGB(150, 75, 30);   // colour 31 × 0.75
}

TEST_F(IconStatesTest, DerivedImagesFollowTheirFormulas)
{
    const struct
    {
        const char* what;
        CXTPImageManagerIconHandle& (CXTPImageManagerIcon::*get)();
        COLORREF expected[4];   // white, black, red, and the transparent black of the alpha bitmap
    } cases[] = {
        {"faded", &CXTPImageManagerIcon::GetFadedIcon, {RGB(255, 255, 255), RGB(76, 76, 76), RGB(255, 76, 76), RGB(76, 76, 76)}},
        {"shadow", &CXTPImageManagerIcon::GetShadowIcon, {kShadow, kShadow, kShadow, kShadow}},
        {"disabled", nullptr, {RGB(255, 255, 255), RGB(0, 0, 0), RGB(139, 139, 139), RGB(0, 0, 0)}},
    };
    for (BOOL bAlpha : {FALSE, TRUE}) {
        CXTPImageManagerIcon* pIcon = bAlpha ? AlphaEntry() : IconEntry();
        ASSERT_NE(nullptr, pIcon);
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(bAlpha ? "alpha " : "icon ") + c.what);
            CXTPImageManagerIconHandle& hImage = c.get ? (pIcon->*c.get)() : pIcon->GetDisabledIcon();
            ASSERT_FALSE(hImage.IsEmpty());
            EXPECT_EQ(bAlpha, hImage.IsAlpha());
            for (int x = 0; x < 3; ++x)
                EXPECT_EQ(c.expected[x], PixelColor(ImagePixel(hImage, x, 0))) << x;
            if (bAlpha) {
                // A transparent pixel keeps alpha 0; its colour bytes change all the same.
                DWORD clear = ImagePixel(hImage, 3, 0);
                EXPECT_EQ(0, PixelAlpha(clear));
                EXPECT_EQ(c.expected[3], PixelColor(clear));
            } else {
                // Transparent icon pixels are left as they were.
                EXPECT_EQ(RGB(0, 0, 0), PixelColor(ImagePixel(hImage, 3, 0)));
            }
        }
    }
}

// Derived images of icons are drawn from their pixels and become icons only when asked for: the icon made
// then shows the same pixels through the system's drawing, its mask included (rows wider than a word).
TEST_F(IconStatesTest, DerivedIconsDrawTheSameAsTheIconsMadeOfThem)
{
    HICON hIcon = MakeIcon(21, 2, [](int x, int y) { return (x + y) % 3 == 0 ? kClear : RGB(10 * x, 200 - 5 * x, 40 + y); });
    m_images.SetIcon(CXTPImageManagerIconHandle(hIcon), 5);
    ::DestroyIcon(hIcon);
    CXTPImageManagerIcon* pIcon = m_images.GetImage(5, 21);
    ASSERT_NE(nullptr, pIcon);
    const struct
    {
        const char* what;
        CXTPImageManagerIconHandle& (CXTPImageManagerIcon::*get)();
    } cases[] = {
        {"faded", &CXTPImageManagerIcon::GetFadedIcon},
        {"shadow", &CXTPImageManagerIcon::GetShadowIcon},
        {"disabled", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CXTPImageManagerIconHandle& hImage = c.get ? (pIcon->*c.get)() : pIcon->GetDisabledIcon();
        CPixelCanvas blended(21, 2, RGB(9, 8, 7));
        pIcon->Draw(&blended, CPoint(0, 0), hImage);
        CPixelCanvas system(21, 2, RGB(9, 8, 7));
        ASSERT_TRUE(::DrawIconEx(system.GetSafeHdc(), 0, 0, hImage.GetIcon(), 21, 2, 0, nullptr, DI_NORMAL));
        for (int y = 0; y < 2; ++y) {
            for (int x = 0; x < 21; ++x) {
                EXPECT_EQ(system.At(x, y), blended.At(x, y)) << x << "," << y;
                if ((x + y) % 3 == 0) {
                    EXPECT_EQ(RGB(9, 8, 7), blended.At(x, y)) << x << "," << y;
                }
            }
        }
    }
}

TEST_F(IconStatesTest, LowColourScreenFadesToAnUnchangedCopy)
{
    CDisplayBits bits(8);
    CXTPImageManagerIcon* pIcon = IconEntry();
    EXPECT_EQ(RGB(0, 0, 0), PixelColor(ImagePixel(pIcon->GetFadedIcon(), 1, 0)));
}

TEST_F(IconStatesTest, ColourChangeRebuildsTheShadow)
{
    CXTPImageManagerIcon* pIcon = IconEntry();
    EXPECT_EQ(kShadow, PixelColor(ImagePixel(pIcon->GetShadowIcon(), 0, 0)));
    GetColorTable()->SetColor(31, RGB(100, 200, 0));
    EXPECT_EQ(kShadow, PixelColor(ImagePixel(pIcon->GetShadowIcon(), 0, 0)));   // cached until refreshed
    m_images.RefreshAll();
    EXPECT_EQ(RGB(75, 150, 0), PixelColor(ImagePixel(pIcon->GetShadowIcon(), 0, 0)));
}

TEST_F(IconStatesTest, ShadowIsMadeFromTheHotImageWhenThereIsOne)
{
    CXTPImageManagerIcon* pIcon = IconEntry();
    HICON hHot = MakeIcon(4, 1, [](int x, int) { return x == 0 ? kClear : RGB(1, 1, 1); });
    pIcon->SetHotIcon(CXTPImageManagerIconHandle(hHot));
    ::DestroyIcon(hHot);
    CPixelCanvas canvas(4, 1, RGB(9, 9, 9));
    pIcon->Draw(&canvas, CPoint(0, 0), pIcon->GetShadowIcon());
    EXPECT_EQ(RGB(9, 9, 9), canvas.At(0, 0));
    EXPECT_EQ(kShadow, canvas.At(1, 0));
}

TEST_F(IconStatesTest, AlphaImagesAreDrawnPreMultiplied)
{
    ASSERT_TRUE(m_images.IsAlphaIconsSupported());
    HBITMAP hBitmap = MakeAlphaBitmap(2, 1, [](int x, int) { return x == 0 ? MakePixel(200, 100, 50, 128) : MakePixel(0, 0, 0, 0); });
    m_images.SetIcon(CXTPImageManagerIconHandle(hBitmap), 3);
    ::DeleteObject(hBitmap);
    CPixelCanvas canvas(2, 1, RGB(0, 0, 255));
    m_images.GetImage(3, 2)->Draw(&canvas, CPoint(0, 0));
    // Source pre-multiplied (c × 128 / 255) over the destination × (1 − 128/255).
    COLORREF clr = canvas.At(0, 0);
    EXPECT_NEAR(100, GetRValue(clr), 1);
    EXPECT_NEAR(50, GetGValue(clr), 1);
    EXPECT_NEAR(25 + 127, GetBValue(clr), 1);
    EXPECT_EQ(RGB(0, 0, 255), canvas.At(1, 0));
}

// Drawing leaves the blended copies free: each can be selected into another DC afterwards.
TEST_F(IconStatesTest, DrawnImagesStayFreeForOtherDCs)
{
    CXTPImageManagerIcon* entries[] = {IconEntry(), AlphaEntry()};
    for (CXTPImageManagerIcon* pIcon : entries) {
        ASSERT_NE(nullptr, pIcon);
        SCOPED_TRACE(pIcon->IsAlpha() ? "alpha" : "icon");
        CPixelCanvas canvas(4, 1);
        pIcon->Draw(&canvas, CPoint(0, 0));
        HBITMAP hBlended = pIcon->GetIcon().PreMultiply();
        ASSERT_NE(nullptr, hBlended);
        HDC hDC = ::CreateCompatibleDC(nullptr);
        HGDIOBJ hOld = ::SelectObject(hDC, hBlended);
        EXPECT_NE(nullptr, hOld);
        if (hOld)
            ::SelectObject(hDC, hOld);
        ::DeleteDC(hDC);
    }
}

TEST_F(IconStatesTest, HeightFollowsTheWidthInWholePixels)
{
    HICON hIcon = MakeIcon(16, 15, [](int, int) { return RGB(255, 0, 0); });
    m_images.SetIcon(CXTPImageManagerIconHandle(hIcon), 4);
    ::DestroyIcon(hIcon);
    CXTPImageManagerIcon* pIcon = m_images.GetImage(4, 16);
    CPixelCanvas canvas(30, 30);
    pIcon->Draw(&canvas, CPoint(0, 0), pIcon->GetIcon(), CSize(24, 0));   // 15 × 24 / 16 = 22.5: 22 rows
    EXPECT_EQ(RGB(255, 0, 0), canvas.At(23, 21));
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(23, 22));
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(24, 0));
}

TEST_F(IconStatesTest, MirroredIconsStartAtTheRightEdgeAndAlphaIsNotMirrored)
{
    HICON hIcon = MakeIcon(16, 16, [](int x, int) { return x < 8 ? RGB(255, 0, 0) : RGB(0, 0, 255); });
    m_images.SetIcon(CXTPImageManagerIconHandle(hIcon), 5);
    ::DestroyIcon(hIcon);
    HBITMAP hBitmap = MakeAlphaBitmap(16, 16, [](int x, int) { return x < 8 ? MakePixel(255, 0, 0, 255) : MakePixel(0, 0, 255, 255); });
    m_images.SetIcon(CXTPImageManagerIconHandle(hBitmap), 6);
    ::DeleteObject(hBitmap);
    m_images.DrawReverted(TRUE);
    const struct
    {
        UINT nCommand;
        COLORREF clrLeft;
        COLORREF clrRight;
    } cases[] = {{5, RGB(0, 0, 255), RGB(255, 0, 0)}, {6, RGB(255, 0, 0), RGB(0, 0, 255)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nCommand);
        CPixelCanvas canvas(40, 20);
        m_images.GetImage(c.nCommand, 16)->Draw(&canvas, CPoint(10, 2));
        // Inside the icon's place; the device rounds the edges of a mirrored copy its own way.
        EXPECT_EQ(c.clrLeft, canvas.At(12, 5));
        EXPECT_EQ(c.clrRight, canvas.At(23, 5));
        EXPECT_EQ(RGB(255, 255, 255), canvas.At(12, 1));
        EXPECT_EQ(RGB(255, 255, 255), canvas.At(30, 5));
    }
}

TEST_F(IconStatesTest, MonoSilhouetteInOneColourAndNothingForAlpha)
{
    CXTPImageManagerIcon* pIcon = IconEntry();
    CPixelCanvas canvas(4, 1, RGB(9, 9, 9));
    pIcon->DrawMono(&canvas, CPoint(0, 0), pIcon->GetIcon(), RGB(0, 200, 0));
    EXPECT_EQ(RGB(0, 200, 0), canvas.At(2, 0));
    EXPECT_EQ(RGB(9, 9, 9), canvas.At(3, 0));
    CXTPImageManagerIcon* pAlpha = AlphaEntry();
    CPixelCanvas alphaCanvas(4, 1, RGB(9, 9, 9));
    pAlpha->DrawMono(&alphaCanvas, CPoint(0, 0), pAlpha->GetIcon(), RGB(0, 200, 0));
    EXPECT_EQ(RGB(9, 9, 9), alphaCanvas.At(2, 0));
}

TEST_F(IconStatesTest, IconThatInvertsPixelsIsStillDrawnByTheSystem)
{
    // Mask white over a white colour: the screen's pixel is inverted, which no blended copy can do.
    HBITMAP hColor = MakeAlphaBitmap(4, 4, [](int, int) { return MakePixel(255, 255, 255, 0); });
    std::vector<BYTE> maskBits(4 * 2, 0xFF);
    HBITMAP hMask = ::CreateBitmap(4, 4, 1, 1, maskBits.data());
    ICONINFO info = {TRUE, 0, 0, hMask, hColor};
    HICON hIcon = ::CreateIconIndirect(&info);
    ::DeleteObject(hColor);
    ::DeleteObject(hMask);
    m_images.SetIcon(CXTPImageManagerIconHandle(hIcon), 8);
    ::DestroyIcon(hIcon);
    CXTPImageManagerIcon* pIcon = m_images.GetImage(8, 4);
    EXPECT_EQ(nullptr, pIcon->GetIcon().PreMultiply());
    CPixelCanvas canvas(4, 4, RGB(10, 20, 30));
    pIcon->Draw(&canvas, CPoint(0, 0));
    EXPECT_EQ(RGB(245, 235, 225), canvas.At(1, 1));
}

TEST_F(IconStatesTest, BarPainterDrawsTheStatesThroughItsInterface)
{
    CXTPImageManagerIcon* pEntry = IconEntry();
    CXTPBarImages* pImages = &m_images;
    CXTPBarIcon* pIcon = pImages->GetIcon(1, 4);
    ASSERT_EQ(pEntry, pIcon);
    EXPECT_EQ(nullptr, pImages->GetIcon(99, 4));
    EXPECT_TRUE(pIcon->HasImage(CXTPBarIcon::imageNormal));
    EXPECT_FALSE(pIcon->HasImage(CXTPBarIcon::imageHot));
    EXPECT_FALSE(pIcon->HasImage(CXTPBarIcon::imageDisabled));
    const struct
    {
        int nImage;
        COLORREF clrRed;   // what the red pixel becomes
    } cases[] = {{CXTPBarIcon::imageNormal, RGB(255, 0, 0)},   {CXTPBarIcon::imageHot, RGB(255, 0, 0)},
                 {CXTPBarIcon::imageFaded, RGB(255, 76, 76)},  {CXTPBarIcon::imageShadow, kShadow},
                 {CXTPBarIcon::imageDisabled, RGB(139, 139, 139)}};
    for (const auto& c : cases) {
        CPixelCanvas canvas(4, 1, RGB(9, 9, 9));
        pIcon->Draw(&canvas, CPoint(0, 0), c.nImage, CSize(4, 1));
        EXPECT_EQ(c.clrRed, canvas.At(2, 0)) << c.nImage;
        EXPECT_EQ(RGB(9, 9, 9), canvas.At(3, 0)) << c.nImage;
    }
    CPixelCanvas canvas(4, 1, RGB(9, 9, 9));
    pIcon->DrawMono(&canvas, CPoint(0, 0), CSize(4, 1), RGB(0, 200, 0));
    EXPECT_EQ(RGB(0, 200, 0), canvas.At(2, 0));
}
