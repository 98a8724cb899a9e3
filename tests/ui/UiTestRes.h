// Resource ids of the ui tests' own resources (UiTest.rc).
#pragma once

#define IDR_UITEST_MENU                 30001
#define IDD_UITEST_DIALOG               30001
#define IDS_UITEST_LONGTIP              30002   // a tool tip longer than a tip notification holds
