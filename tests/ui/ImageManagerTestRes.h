// Resource ids of the icon store's tests (ImageManagerTest.rc).
#pragma once

#define IDR_IMAGETEST_TOOLBAR           30101
#define IDR_IMAGETEST_ALPHASTRIP        30102
#define IDR_IMAGETEST_SHORTTOOLBAR      30103
#define IDI_IMAGETEST_EQUALIDS          30110
#define IDR_IMAGETEST_RETOUCHED         30104
