// Resource ids of the test frame (FrameTest.rc): its menu, toolbar, bitmap and accelerators share one id.
#pragma once

#define IDR_FRAMETEST                   30201
#define IDR_FRAMETEST_CONTEXT           30202
// A toolbar of two 24 x 24 buttons, with their bitmap.
#define IDR_FRAMETEST_LARGE             30203

// Commands of the test frame.
#define ID_FT_NEW       31001
#define ID_FT_OPEN      31002
#define ID_FT_PRINT     31003
#define ID_FT_RECENT1   31011
#define ID_FT_RECENT2   31012
#define ID_FT_EXIT      31004
#define ID_FT_CUT       31021
#define ID_FT_COPY      31022
#define ID_FT_GRID      31023
#define ID_FT_LONG      31100   // 31100 to 31129: the long menu
