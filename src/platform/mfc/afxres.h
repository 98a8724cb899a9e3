// Resource ids of the framework's own strings (the program's resource script includes afxres.rc2).
#pragma once

#define AFX_IDS_APP_TITLE               0xE000  // 57344: caption of every message box

// Exception texts
#define AFX_IDS_MEMORY_EXCEPTION        0xF000
#define AFX_IDS_NOT_SUPPORTED_EXCEPTION 0xF001
#define AFX_IDS_RESOURCE_EXCEPTION      0xF002
#define AFX_IDS_USER_EXCEPTION          0xF003
#define AFX_IDS_INVALID_ARG_EXCEPTION   0xF004
#define AFX_IDS_UNKNOWN_EXCEPTION       0xF005

// File exception texts by cause (CFileException::m_cause), %1 = file name
#define AFX_IDP_FILE_NONE               0xF010
#define AFX_IDP_FILE_GENERIC            0xF011
#define AFX_IDP_FILE_NOT_FOUND          0xF012
#define AFX_IDP_FILE_BAD_PATH           0xF013
#define AFX_IDP_FILE_TOO_MANY_OPEN      0xF014
#define AFX_IDP_FILE_ACCESS_DENIED      0xF015
#define AFX_IDP_FILE_INVALID_FILE       0xF016
#define AFX_IDP_FILE_REMOVE_CURRENT     0xF017
#define AFX_IDP_FILE_DIR_FULL           0xF018
#define AFX_IDP_FILE_BAD_SEEK           0xF019
#define AFX_IDP_FILE_HARD_IO            0xF01A
#define AFX_IDP_FILE_SHARING            0xF01B
#define AFX_IDP_FILE_LOCKING            0xF01C
#define AFX_IDP_FILE_DISKFULL           0xF01D
#define AFX_IDP_FILE_EOF                0xF01E

// Archive exception texts by cause (CArchiveException::m_cause), %1 = file name
#define AFX_IDP_ARCH_NONE               0xF020
#define AFX_IDP_ARCH_GENERIC            0xF021
#define AFX_IDP_ARCH_READONLY           0xF022
#define AFX_IDP_ARCH_ENDOFFILE          0xF023
#define AFX_IDP_ARCH_WRITEONLY          0xF024
#define AFX_IDP_ARCH_BADINDEX           0xF025
#define AFX_IDP_ARCH_BADCLASS           0xF026
#define AFX_IDP_ARCH_BADSCHEMA          0xF027

// Standard commands
#define ID_FILE_NEW                     0xE100
#define ID_FILE_OPEN                    0xE101
#define ID_FILE_CLOSE                   0xE102
#define ID_FILE_SAVE                    0xE103
#define ID_FILE_SAVE_AS                 0xE104
#define ID_FILE_PAGE_SETUP              0xE105
#define ID_FILE_PRINT_SETUP             0xE106
#define ID_FILE_PRINT                   0xE107
#define ID_FILE_PRINT_DIRECT            0xE108
#define ID_FILE_PRINT_PREVIEW           0xE109
#define ID_FILE_MRU_FILE1               0xE110  // the recent files take 0xE110 to 0xE11F
#define ID_EDIT_CLEAR                   0xE120
#define ID_EDIT_COPY                    0xE122
#define ID_EDIT_CUT                     0xE123
#define ID_EDIT_PASTE                   0xE125
#define ID_EDIT_SELECT_ALL              0xE12A
#define ID_EDIT_UNDO                    0xE12B
#define ID_EDIT_REDO                    0xE12C
#define ID_APP_ABOUT                    0xE140
#define ID_APP_EXIT                     0xE141
#define ID_OLE_VERB_FIRST               0xE210  // the verbs of an OLE item take 0xE210 to 0xE21F

// Status-bar indicators
#define ID_SEPARATOR                    0
#define ID_INDICATOR_CAPS               0xE701
#define ID_INDICATOR_NUM                0xE702
#define ID_INDICATOR_SCRL               0xE703

// Child window ids of a frame: its bars, then the panes of its client area (the view is the first pane)
#define AFX_IDW_CONTROLBAR_FIRST        0xE800
#define AFX_IDW_TOOLBAR                 0xE800
#define AFX_IDW_STATUS_BAR              0xE801
#define AFX_IDW_REBAR                   0xE804
#define AFX_IDW_DOCKBAR_TOP             0xE81B
#define AFX_IDW_CONTROLBAR_LAST         0xE8FF
#define AFX_IDW_PANE_FIRST              0xE900
#define AFX_IDM_FIRST_MDICHILD          0xFF00  // the first document window of an MDI client
#define AFX_IDW_PANE_LAST               0xE9FF

// Prompts of the dialog data exchange; %1 and %2 are the bounds, or %1 the maximum length
#define AFX_IDP_PARSE_INT               0xF110
#define AFX_IDP_PARSE_REAL              0xF111
#define AFX_IDP_PARSE_INT_RANGE         0xF112
#define AFX_IDP_PARSE_REAL_RANGE        0xF113
#define AFX_IDP_PARSE_STRING_SIZE       0xF114

// Documents
#define AFX_IDS_UNTITLED                0xF120  // title of a document without a name
#define AFX_IDP_ASK_TO_SAVE             0xF121  // %1 = document title
#define AFX_IDS_SAVEFILE                0xF122  // caption of the save-as dialog
#define AFX_IDS_OPENFILE                0xF123  // caption of the open dialog
#define AFX_IDS_ALLFILTER               0xF124  // the all-files entry of the file dialogs' filters

// Help contexts that WM_HELPHITTEST answers: a command's id, or a control's (child window's) id, on its own base.
#define HID_BASE_COMMAND                0x00010000
#define HID_BASE_CONTROL                0x00050000
