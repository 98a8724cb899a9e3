// Small drawing tools shared by the framework's painters.
#pragma once

#include <windows.h>

// TRUE when the device context (the desktop's when none is given) has 1 to 8 bits per pixel.
BOOL IsLowColorDisplay(HDC hDC = nullptr);
