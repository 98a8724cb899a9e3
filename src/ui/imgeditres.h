// Resource ids of the button image editor (script: imgedit.rc2). Its command and control ids are also the ids
// of their tips and colour names in the string table.
#pragma once

#define XTP_IDD_IMAGEEDITOR_DIALOG      9351
#define XTP_IDB_IMAGEEDITOR_TOOLS       9352    // 16 images of 16 x 16: the twelve tools, then the four moves
#define XTP_IDB_IMAGEEDITOR_TOOLS32     9353    // the same images with per-pixel alpha

// Frames (hidden statics) and controls; the move and colour frames share the move commands' ids.
#define XTP_IDC_IMAGEEDITOR_MOVEFRAME   9354
#define XTP_IDC_IMAGEEDITOR_COLORFRAME  9357
#define XTP_IDC_IMAGEEDITOR_TOOLSFRAME  9358
#define XTP_IDC_IMAGEEDITOR_TRANSPARENT 9359
#define XTP_IDC_IMAGEEDITOR_CUSTOMCOLOR 9360
#define XTP_IDC_IMAGEEDITOR_PICTURE     9361
#define XTP_IDC_IMAGEEDITOR_PREVIEW     9362

// Commands of the tool bars
#define XTP_ID_IMAGEEDITOR_LEFT         9354
#define XTP_ID_IMAGEEDITOR_DOWN         9355
#define XTP_ID_IMAGEEDITOR_UP           9356
#define XTP_ID_IMAGEEDITOR_RIGHT        9357
#define XTP_ID_IMAGEEDITOR_PENCIL       9363
#define XTP_ID_IMAGEEDITOR_FILL         9364
#define XTP_ID_IMAGEEDITOR_GETCOLOR     9365
#define XTP_ID_IMAGEEDITOR_LINE         9366
#define XTP_ID_IMAGEEDITOR_RECTANGLE    9367
#define XTP_ID_IMAGEEDITOR_CIRCLE       9368
#define XTP_ID_IMAGEEDITOR_COPY         9369
#define XTP_ID_IMAGEEDITOR_PASTE        9370
#define XTP_ID_IMAGEEDITOR_CLEAR        9371
#define XTP_ID_IMAGEEDITOR_UNDO         9372
#define XTP_ID_IMAGEEDITOR_REDO         9373
#define XTP_ID_IMAGEEDITOR_OPEN         9374

// Cursors over the picture
#define XTP_IDC_IMAGEEDITOR_LINE        9375    // line, rectangle and ellipse
#define XTP_IDC_IMAGEEDITOR_PICKCOLOR   9376
#define XTP_IDC_IMAGEEDITOR_FILL        9377
#define XTP_IDC_IMAGEEDITOR_PENCIL      9378

#define XTP_IDS_IMAGEEDITOR_BADFILE     9379    // an import whose file holds no picture that can be read
#define XTP_IDS_IMAGEEDITOR_FILTER      9396    // the import dialog's filter

// The palette: each cell's control id is the string id of its colour's name.
#define XTP_IDS_CLR_BLACK               9450
#define XTP_IDS_CLR_DARK_BLUE           9455
#define XTP_IDS_CLR_DARK_RED            9458
#define XTP_IDS_CLR_DARK_YELLOW         9460
#define XTP_IDS_CLR_GREEN               9461
#define XTP_IDS_CLR_TEAL                9462
#define XTP_IDS_CLR_BLUE                9463
#define XTP_IDS_CLR_GRAY50              9465
#define XTP_IDS_CLR_RED                 9466
#define XTP_IDS_CLR_VIOLET              9472
#define XTP_IDS_CLR_PINK                9474
#define XTP_IDS_CLR_YELLOW              9476
#define XTP_IDS_CLR_BRIGHT_GREEN        9477
#define XTP_IDS_CLR_TURQUOISE           9478
#define XTP_IDS_CLR_GRAY25              9481
#define XTP_IDS_CLR_WHITE               9489
