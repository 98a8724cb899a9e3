// Resource ids of the MDI menu-bar tests (MenuBarMdiTest.rc): the frame's menu and the menus of two document
// types, whose ids are also the document types' template ids.
#pragma once

#define IDR_MDITEST_FRAME   30401
#define IDR_MDITEST_SHEET   30402
#define IDR_MDITEST_TEXT    30403

#define ID_MT_NEW       31401
#define ID_MT_CASCADE   31402
#define ID_MT_SORT      31403
#define ID_MT_FONT      31404
#define ID_MT_CLOSE     31405
