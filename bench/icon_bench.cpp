// Time to build the derived images (faded, shadow, generated disabled) of 100 plain and 100 alpha 16 × 16 icons,
// and to draw cached icons 1,000 times into a memory DC. Prints milliseconds beside the targets (100 and 20).
#include "BenchSupport.h"

#include "ui/persist/ImageManager.h"
#include "ui/persist/ImageManagerPixels.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace
{
const int kIcons = 100;
const int kSize = 16;
const int kRuns = 15;

template <class F>
std::vector<double> Time(F f)
{
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        double dStart = BenchNow();
        f();
        times.push_back(BenchNow() - dStart);
    }
    std::sort(times.begin(), times.end());
    return times;
}

// A target of 0: a part of the line above, shown to tell where the time goes.
void Report(const char* pszWhat, const std::vector<double>& times, double dTarget = 0)
{
    std::printf("%-46s min %7.2f ms   median %7.2f ms   max %7.2f ms", pszWhat, times.front(), times[times.size() / 2],
                times.back());
    if (dTarget > 0)
        std::printf("   (target %.0f ms)", dTarget);
    std::printf("\n");
}

// A strip of kIcons icons: each a coloured square on the mask colour, or with soft alpha edges.
HBITMAP MakeStrip(BOOL bAlpha)
{
    std::vector<DWORD> pixels(static_cast<size_t>(kIcons) * kSize * kSize);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kIcons * kSize; ++x) {
            int i = x / kSize, ix = x % kSize;
            BOOL bInside = ix >= 2 && ix < 14 && y >= 2 && y < 14;
            DWORD colour = MakePixel(i * 2, 255 - i * 2, (i * 37) % 256, 0);
            if (bAlpha)
                pixels[static_cast<size_t>(y) * kIcons * kSize + x] = (colour & 0xFFFFFF) | (static_cast<DWORD>(bInside ? 255 : ix * 8) << 24);
            else
                pixels[static_cast<size_t>(y) * kIcons * kSize + x] = bInside ? colour : MakePixel(192, 192, 192, 0);
        }
    }
    HBITMAP hBitmap = XTPCreateDIB32(kIcons * kSize, kSize);
    XTPWritePixels(hBitmap, pixels, {kIcons * kSize, kSize});
    return hBitmap;
}
}

int main()
{
    CXTPImageManager images;
    images.SetMaskColor(RGB(192, 192, 192));
    std::vector<UINT> plainIds, alphaIds;
    for (int i = 0; i < kIcons; ++i) {
        plainIds.push_back(1000 + i);
        alphaIds.push_back(2000 + i);
    }
    HBITMAP hPlain = MakeStrip(FALSE);
    HBITMAP hAlpha = MakeStrip(TRUE);
    BOOL bOk = images.AddIconsFromBitmap(hPlain, plainIds.data(), kIcons, CSize(kSize, kSize), xtpImageNormal, FALSE) &&
               images.AddIconsFromBitmap(hAlpha, alphaIds.data(), kIcons, CSize(kSize, kSize), xtpImageNormal, TRUE);
    ::DeleteObject(hPlain);
    ::DeleteObject(hAlpha);
    std::vector<CXTPImageManagerIcon*> icons;
    for (UINT nId : plainIds)
        icons.push_back(images.GetImage(nId, kSize));
    for (UINT nId : alphaIds)
        icons.push_back(images.GetImage(nId, kSize));
    if (!bOk || std::count(icons.begin(), icons.end(), nullptr) != 0) {
        std::printf("the icons could not be made\n");
        return 1;
    }

    Report("derived images of 100 plain + 100 alpha icons", Time([&]() {
        images.RefreshAll();
        for (CXTPImageManagerIcon* pIcon : icons) {
            pIcon->GetFadedIcon();
            pIcon->GetShadowIcon();
            pIcon->GetDisabledIcon();
        }
    }), 100);
    for (int nKind = 0; nKind < 2; ++nKind) {
        Report(nKind ? "  of them the 100 alpha icons" : "  of them the 100 plain icons", Time([&]() {
            images.RefreshAll();
            for (int i = 0; i < kIcons; ++i) {
                CXTPImageManagerIcon* pIcon = icons[nKind * kIcons + i];
                pIcon->GetFadedIcon();
                pIcon->GetShadowIcon();
                pIcon->GetDisabledIcon();
            }
        }));
    }

    HDC hScreen = ::GetDC(nullptr);
    CDC dc;
    dc.Attach(::CreateCompatibleDC(hScreen));
    HBITMAP hCanvas = ::CreateCompatibleBitmap(hScreen, 400, 100);
    ::ReleaseDC(nullptr, hScreen);
    HGDIOBJ hOld = ::SelectObject(dc.GetSafeHdc(), hCanvas);
    for (CXTPImageManagerIcon* pIcon : icons)
        pIcon->Draw(&dc, CPoint(0, 0));   // the pre-multiplied caches are made once
    Report("1,000 draws of cached icons into a memory DC", Time([&]() {
        for (int i = 0; i < 1000; ++i)
            icons[i % icons.size()]->Draw(&dc, CPoint((i % 20) * 18, (i / 20 % 5) * 18));
    }), 20);
    Report("  of them 1,000 draws of plain icons", Time([&]() {
        for (int i = 0; i < 1000; ++i)
            icons[i % kIcons]->Draw(&dc, CPoint((i % 20) * 18, (i / 20 % 5) * 18));
    }));
    Report("  of them 1,000 draws of alpha icons", Time([&]() {
        for (int i = 0; i < 1000; ++i)
            icons[kIcons + i % kIcons]->Draw(&dc, CPoint((i % 20) * 18, (i / 20 % 5) * 18));
    }));
    ::SelectObject(dc.GetSafeHdc(), hOld);
    ::DeleteObject(hCanvas);
    ::DeleteDC(dc.Detach());
    return 0;
}
