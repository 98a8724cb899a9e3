// Resource ids of the resource library of the loader tests (UiTestLibrary.rc) and of the tool bar that only the
// test program holds (ResourceLoaderTest.rc).
#pragma once

#define IDS_LIBRARY_ONLY        9851
#define IDR_LIBRARY_TOOLBAR     9852
#define IDR_PROGRAM_TOOLBAR     9853
#define IDR_LIBRARY_ICON        9854
