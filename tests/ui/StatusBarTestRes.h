// Resource ids of the status-bar tests (StatusBarTest.rc).
#pragma once

#define IDS_STATUSTEST_TEXT    30101
#define IDS_STATUSTEST_MISSING 30102   // no string has it
