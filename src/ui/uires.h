// Resource ids of the user-interface framework's own resources (script: uires.rc2).
#pragma once

#include "ui/imgeditres.h"

// Cursors
#define XTP_IDC_DRAGCOPY                9008
#define XTP_IDC_DRAGMOVE                9009
#define XTP_IDC_DRAGNONE                9011
#define XTP_IDC_HSPLITBAR               9970    // panes side by side: drag left and right
#define XTP_IDC_VSPLITBAR               9971    // panes stacked: drag up and down
#define XTP_IDC_CUSTOMIZE_RESIZE        9972    // a control's edge dragged to a new width in customise mode
#define XTP_IDC_HAND                    9973    // for systems without a hand cursor
// A tab dragged onto its own group would open a new group below / beside it
#define XTP_IDC_WORKSPACE_NEWHORIZ      9425
#define XTP_IDC_WORKSPACE_NEWVERT       9426
// The customise drag of a control: copy, move, no place to drop
#define XTP_IDC_CUSTOMIZE_DRAGCOPY      9301
#define XTP_IDC_CUSTOMIZE_DRAGMOVE      9302
#define XTP_IDC_CUSTOMIZE_DRAGNONE      9303

// Bitmaps of the docking markers; pure green is transparent (drawn by tools/make_docking_art.py)
#define XTP_IDB_DOCKINGPANE_MARKER_CENTRE   9903    // style 0: the square under the four arrows
#define XTP_IDB_DOCKINGPANE_MARKER_BLUE     9904    // style 0 arrows and tabs, blue and classic schemes
#define XTP_IDB_DOCKINGPANE_MARKER_OLIVE    9905
#define XTP_IDB_DOCKINGPANE_MARKER_SILVER   9906
#define XTP_IDB_DOCKINGPANE_MARKERS         9910    // style 1: every piece

// Icons of the new-group commands (9422, 9423), 16 pixels each (drawn by tools/make_workspace_art.py)
#define XTP_IDB_WORKSPACE_ICONS         9422
// The customise sheet's icons offered for buttons, 16 pixels wide each; magenta is transparent
// (drawn by tools/make_customize_icons.py)
#define XTP_IDB_CUSTOMIZE_ICONS         9322
// Icons of the window commands restore, minimise, maximise and close, 16 pixels each on silver (drawn by
// tools/make_window_icons.py)
#define XTP_IDB_MENUBAR_ICONS           9407

// Menus: the popups of the framework's controls; submenu 2 is the header's ("RClickHeader").
#define XTP_IDR_MENU_POPUPS             9014
#define XTP_SUBMENU_HEADER              2

// Strings
#define XTP_IDS_TOOLKIT_TITLE           9001    // before the version in the long version text

// Shell errors of the hyperlink control, by ShellExecute code
#define XTP_IDS_SE_0                    9037
#define XTP_IDS_SE_ERR_FNF              9038
#define XTP_IDS_SE_ERR_PNF              9039
#define XTP_IDS_SE_ERR_ACCESSDENIED     9040
#define XTP_IDS_SE_ERR_OOM              9041
#define XTP_IDS_SE_ERR_BAD_FORMAT       9042
#define XTP_IDS_SE_ERR_SHARE            9043
#define XTP_IDS_SE_ERR_ASSOCINCOMPLETE  9044
#define XTP_IDS_SE_ERR_DDETIMEOUT       9045
#define XTP_IDS_SE_ERR_DDEFAIL          9046
#define XTP_IDS_SE_ERR_DDEBUSY          9047
#define XTP_IDS_SE_ERR_NOASSOC          9048
#define XTP_IDS_SE_ERR_DLLNOTFOUND      9049
#define XTP_IDS_SE_ERR_UNKOWN           9050    // "%d": the code

// Command bars
#define XTP_IDS_ADDORREMOVE             9300    // the expand popup's Add-or-remove-buttons entry
// The customise context menu's commands
#define XTP_ID_CUSTOMIZE_RESET              9315
#define XTP_ID_CUSTOMIZE_DELETE             9316
#define XTP_ID_CUSTOMIZE_NAME               9317
#define XTP_ID_CUSTOMIZE_COPYBUTTONIMAGE    9318
#define XTP_ID_CUSTOMIZE_PASTEBUTTONIMAGE   9319
#define XTP_ID_CUSTOMIZE_RESETBUTTONIMAGE   9320
#define XTP_ID_CUSTOMIZE_EDITBUTTONIMAGE    9321
#define XTP_ID_CUSTOMIZE_CHANGEBUTTONIMAGE  9322
#define XTP_ID_CUSTOMIZE_DEFAULTSTYLE       9323
#define XTP_ID_CUSTOMIZE_IMAGEANDTEXT       9324
#define XTP_ID_CUSTOMIZE_TEXTONLY           9325
#define XTP_ID_CUSTOMIZE_BEGINAGROUP        9326
// The customise sheet, its pages and the toolbar-name dialog
#define XTP_IDD_PAGE_TOOLBARS           9304
#define XTP_IDC_LIST_TOOLBARS           9305
#define XTP_IDS_CUSTOMIZE_CLOSE         9307    // the sheet's Cancel button
#define XTP_IDC_BUTTON_NEW              9308
#define XTP_IDC_BUTTON_RENAME           9309
#define XTP_IDC_BUTTON_DELETE           9310
#define XTP_IDC_BUTTON_RESET            9311
#define XTP_IDS_CUSTOMIZE               9312    // the sheet's caption
#define XTP_IDD_PAGE_COMMANDS           9313
#define XTP_IDS_NEWMENU                 9314
#define XTP_IDC_LIST_COMMANDS           9327
#define XTP_IDD_NEWTOOLBAR              9328
#define XTP_IDC_TOOLBAR_NAME            9329
#define XTP_IDS_CUSTOM_BAR              9330    // "%d": the number of a new toolbar's proposed name
#define XTP_IDS_ERROR_BLANKNAME         9331
#define XTP_IDS_ERROR_LIMIT             9332
#define XTP_IDS_ERROR_EXISTS            9333    // "|": the name
#define XTP_IDS_RENAMETOOLBAR           9334
#define XTP_IDS_CONFIRM_DELETE_TOOLBAR  9335    // "|": the toolbar's title
#define XTP_IDR_CUSTOMIZE_MENU          9336    // the context menu of a control in customise mode
#define XTP_IDS_ALLCOMMANDS             9337
#define XTP_IDC_LIST_CATEGORIES         9338
#define XTP_IDS_CONFIRM_RESET           9349    // question before a toolbar goes back to its buttons
#define XTP_IDS_CONFIRM_UPDATE          9394    // "%s": a customised toolbar the program has changed since
#define XTP_IDS_RESET_TOOLBAR           9395    // the Add-or-remove list's reset entry
#define XTP_IDS_ERROR_SAVE_CONTROLS     9397    // the customised buttons could not be saved

// Tooltips of the bars' own buttons (ids of their controls)
#define XTP_IDS_TOOLBAR_EXPAND          9400
#define XTP_IDS_TOOLBAR_HIDE            9401
#define XTP_IDS_MDI_CLOSE               9403
#define XTP_IDS_MDI_RESTORE             9404
#define XTP_IDS_MDI_MINIMIZE            9405
// Status prompts of the window commands: 0xEF00 + (command - 0xF000) / 16
#define XTP_IDS_SCSIZE                  0xEF00
#define XTP_IDS_SCMOVE                  0xEF01
#define XTP_IDS_SCMINIMIZE              0xEF02
#define XTP_IDS_SCMAXIMIZE              0xEF03
#define XTP_IDS_SCNEXTWINDOW            0xEF04
#define XTP_IDS_SCPREVWINDOW            0xEF05
#define XTP_IDS_SCCLOSE                 0xEF06
#define XTP_IDS_SCRESTORE               0xEF12
#define XTP_IDS_SCTASKLIST              0xEF13

// The customise command of the site: offered by the expand popups when the site handles it.
#define XTP_ID_CUSTOMIZE                35001

// The tabbed MDI client's commands; the generated list of those the client allows
#define XTP_ID_WORKSPACE_MOVEPREVIOUS   9420
#define XTP_ID_WORKSPACE_MOVENEXT       9421
#define XTP_ID_WORKSPACE_NEWHORIZONTAL  9422
#define XTP_ID_WORKSPACE_NEWVERTICAL    9423
#define XTP_ID_WORKSPACE_CANCEL         9424
#define XTP_ID_WORKSPACE_ACTIONS        35002

// Tooltips of the docking caption buttons, under the buttons' own ids
#define XTP_IDS_DOCKINGTIP_AUTOHIDE    9900
#define XTP_IDS_DOCKINGTIP_CLOSE       9901
#define XTP_IDS_DOCKINGTIP_MAXIMIZE    9907
#define XTP_IDS_DOCKINGTIP_RESTORE     9908
#define XTP_IDS_DOCKINGTIP_MENU        9909
