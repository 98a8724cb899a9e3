// Resource ids of the tool-bar tests (ToolBarTest.rc).
#pragma once

#define IDR_TEST_TOOLBAR            9801
#define IDR_TEST_TOOLBAR_NOIMAGES   9802
#define IDR_TEST_TOOLBAR_DAMAGED    9803
