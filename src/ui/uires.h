// Resource ids of the user-interface framework's own resources (script: uires.rc2).
#pragma once

// Cursors
#define XTP_IDC_DRAGCOPY                9008
#define XTP_IDC_DRAGMOVE                9009
#define XTP_IDC_DRAGNONE                9011
#define XTP_IDC_HSPLITBAR               9970    // panes side by side: drag left and right
#define XTP_IDC_VSPLITBAR               9971    // panes stacked: drag up and down
#define XTP_IDC_HAND                    9973    // for systems without a hand cursor

// Strings
#define XTP_IDS_TOOLKIT_TITLE           9001    // before the version in the long version text
