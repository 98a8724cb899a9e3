// Draws the program's splash bitmap plainly with GDI and writes it as a 24-bit BMP:
//   make_splash.exe <out.bmp>      (run under Wine: scripts/make-splash)
// The bitmap is committed (res/splash.bmp); run this again only after changing the drawing.
#include <windows.h>

#include <cstdio>
#include <vector>

namespace
{
const int Width = 420;
const int Height = 260;

void DrawText(HDC hdc, LPCWSTR text, int height, int weight, COLORREF colour, RECT rc, UINT format)
{
    HFONT font = ::CreateFontW(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH, L"Tahoma");
    HGDIOBJ old = ::SelectObject(hdc, font);
    ::SetTextColor(hdc, colour);
    ::DrawTextW(hdc, text, -1, &rc, format | DT_NOPREFIX);
    ::SelectObject(hdc, old);
    ::DeleteObject(font);
}

void Draw(HDC hdc)
{
    // A vertical gradient from deep to lighter blue, a thin frame and the titles.
    for (int y = 0; y < Height; ++y) {
        int t = y * 255 / (Height - 1);
        RECT line = { 0, y, Width, y + 1 };
        HBRUSH brush = ::CreateSolidBrush(RGB(16 + t / 8, 48 + t / 5, 112 + t / 3));
        ::FillRect(hdc, &line, brush);
        ::DeleteObject(brush);
    }
    RECT frame = { 0, 0, Width, Height };
    ::FrameRect(hdc, &frame, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::SetBkMode(hdc, TRANSPARENT);
    DrawText(hdc, L"Quarzel08", 44, FW_BOLD, RGB(255, 255, 255), { 0, 60, Width, 120 }, DT_CENTER | DT_SINGLELINE);
    DrawText(hdc, L"Verifica Vorsa 2008", 22, FW_NORMAL, RGB(225, 235, 255), { 0, 125, Width, 160 },
             DT_CENTER | DT_SINGLELINE);
    DrawText(hdc, L"Lumetra Solutions", 13, FW_NORMAL, RGB(190, 205, 235), { 0, 220, Width - 14, 245 },
             DT_RIGHT | DT_SINGLELINE);
}
} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_splash <out.bmp>\n");
        return 2;
    }
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = Width;
    info.bmiHeader.biHeight = Height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC hdc = ::CreateCompatibleDC(nullptr);
    HBITMAP bitmap = ::CreateDIBSection(hdc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!hdc || !bitmap) {
        std::fprintf(stderr, "make_splash: no drawing surface\n");
        return 1;
    }
    HGDIOBJ old = ::SelectObject(hdc, bitmap);
    Draw(hdc);
    ::GdiFlush();

    const DWORD stride = ((Width * 3) + 3) & ~3u;
    const DWORD imageSize = stride * Height;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;   // "BM"
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + imageSize;
    info.bmiHeader.biSizeImage = imageSize;
    FILE* out = _wfopen(argv[1], L"wb");
    bool ok = out && std::fwrite(&file, sizeof(file), 1, out) == 1 &&
              std::fwrite(&info.bmiHeader, sizeof(info.bmiHeader), 1, out) == 1 &&
              std::fwrite(bits, imageSize, 1, out) == 1;
    if (out)
        ok = (std::fclose(out) == 0) && ok;
    ::SelectObject(hdc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(hdc);
    if (!ok) {
        std::fprintf(stderr, "make_splash: cannot write the bitmap\n");
        return 1;
    }
    return 0;
}
