// Resource ids of the program's own controls (script: controls.rc2).
#pragma once

// Sort arrows of the list headers, drawn by tools/make_sort_arrows.py: per sort key an ascending and a
// descending arrow.
#define IDI_SORT_ASC3                   194
#define IDI_SORT_DESC2                  195
#define IDI_SORT_DESC3                  196
#define IDI_SORT_ASC1                   197
#define IDI_SORT_ASC2                   198
#define IDI_SORT_DESC1                  199

// A cell text that was handed over unreadable
#define IDS_LIST_INVALID_TEXT           10310
