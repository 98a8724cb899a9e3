// The docking bitmaps as the program carries them: sizes that hold every piece of the marker tables, green as
// the transparent colour, and no pure black, which would cut holes into the marker windows' shapes.
#include "resource.h"
#include "ui/uires.h"

#include "platform/mfc/afxwin.h"

#include <gtest/gtest.h>

#include <vector>

TEST(DockingArtworkTest, BitmapsHoldTheirPiecesWithGreenTransparentAndNoBlack)
{
    struct CASE
    {
        UINT nID;
        int cx, cy;
    };
    const CASE cases[] = {
        {IDB_NAVIGATION_PANE, 16, 16},
        {XTP_IDB_DOCKINGPANE_MARKER_CENTRE, 43, 43},
        {XTP_IDB_DOCKINGPANE_MARKER_BLUE, 120, 109},
        {XTP_IDB_DOCKINGPANE_MARKER_OLIVE, 120, 109},
        {XTP_IDB_DOCKINGPANE_MARKER_SILVER, 120, 109},
        {XTP_IDB_DOCKINGPANE_MARKERS, 161, 122},
    };
    for (const CASE& c : cases) {
        HBITMAP hBitmap = static_cast<HBITMAP>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(c.nID),
                                                            IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        ASSERT_NE(nullptr, hBitmap) << c.nID;
        BITMAP bm = {};
        ::GetObjectW(hBitmap, sizeof(bm), &bm);
        EXPECT_EQ(c.cx, bm.bmWidth) << c.nID;
        EXPECT_EQ(c.cy, bm.bmHeight) << c.nID;

        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = bm.bmWidth;
        info.bmiHeader.biHeight = -bm.bmHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        std::vector<DWORD> pixels(static_cast<size_t>(bm.bmWidth) * bm.bmHeight);
        HDC hDC = ::GetDC(nullptr);
        ::GetDIBits(hDC, hBitmap, 0, bm.bmHeight, pixels.data(), &info, DIB_RGB_COLORS);
        ::ReleaseDC(nullptr, hDC);
        ::DeleteObject(hBitmap);

        const DWORD green = 0x00FF00;
        EXPECT_EQ(green, pixels.front() & 0xFFFFFF) << c.nID;
        size_t nBlack = 0, nGreen = 0;
        for (DWORD p : pixels) {
            nBlack += (p & 0xFFFFFF) == 0;
            nGreen += (p & 0xFFFFFF) == green;
        }
        EXPECT_EQ(0u, nBlack) << c.nID;
        EXPECT_LT(nGreen, pixels.size()) << c.nID;
    }
}
