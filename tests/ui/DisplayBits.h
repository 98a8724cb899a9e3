// For its lifetime, a DC (every DC when none is named) reads as having the given bits per pixel: the test
// display has no 8-bit mode, so the low-colour paths are reached through this stand-in.
#pragma once

#include "ui/themes/DrawHelpers.h"

class CDisplayBits
{
public:
    explicit CDisplayBits(int nBits, HDC hOnly = nullptr) : m_pfnPrevious(SetBitsPerPixelSource(Bits))
    {
        s_nBits = nBits;
        s_hOnly = hOnly;
    }
    ~CDisplayBits() { SetBitsPerPixelSource(m_pfnPrevious); }
    CDisplayBits(const CDisplayBits&) = delete;
    CDisplayBits& operator=(const CDisplayBits&) = delete;

private:
    static int Bits(HDC hDC) { return !s_hOnly || hDC == s_hOnly ? s_nBits : ::GetDeviceCaps(hDC, BITSPIXEL); }

    static inline int s_nBits = 0;
    static inline HDC s_hOnly = nullptr;
    XTP_BITSPIXEL_SOURCE m_pfnPrevious;
};
