#include "ui/themes/InputSource.h"

namespace
{
// Null means the system's: constant initialisers, valid before dynamic initialisation.
CXTPInputSource::PFN_TICKCOUNT g_pfnTickCount = nullptr;
CXTPInputSource::PFN_CURSORPOS g_pfnCursorPos = nullptr;
}

DWORD CXTPInputSource::GetTickCount()
{
    return g_pfnTickCount ? g_pfnTickCount() : ::GetTickCount();
}

BOOL CXTPInputSource::GetCursorPos(LPPOINT lpPoint)
{
    return g_pfnCursorPos ? g_pfnCursorPos(lpPoint) : ::GetCursorPos(lpPoint);
}

CXTPInputSource::PFN_TICKCOUNT CXTPInputSource::SetTickCountSource(PFN_TICKCOUNT pfn)
{
    PFN_TICKCOUNT pfnPrevious = g_pfnTickCount;
    g_pfnTickCount = pfn;
    return pfnPrevious;
}

CXTPInputSource::PFN_CURSORPOS CXTPInputSource::SetCursorPosSource(PFN_CURSORPOS pfn)
{
    PFN_CURSORPOS pfnPrevious = g_pfnCursorPos;
    g_pfnCursorPos = pfn;
    return pfnPrevious;
}
