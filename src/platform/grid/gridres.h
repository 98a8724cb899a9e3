// Resource ids of the grid's own strings (script: gridres.rc2, included by the program's resource script).
#pragma once

// Workbook files: reading and writing
#define GRID_IDS_FILE_DAMAGED           0xF400  // %s: what is wrong
#define GRID_IDS_FILE_UNREADABLE        0xF401  // %s: path, %s: system error text
#define GRID_IDS_FILE_NOT_LOADED        0xF402  // %s: path, %s: what is wrong
#define GRID_IDS_FILE_UNWRITABLE        0xF403  // %s: path, %s: system error text
#define GRID_IDS_SYSTEM_ERROR           0xF404  // %lu: system error code without a text

// Faults of a damaged workbook, as GRID_IDS_FILE_DAMAGED names them
#define GRID_IDS_VTS_NOT_WORKBOOK       0xF410
#define GRID_IDS_VTS_NO_SHEETS          0xF411
#define GRID_IDS_VTS_NOT_JSON           0xF412  // %u: character
#define GRID_IDS_VTS_VERSION            0xF413  // %lld: the file's version, %d: this one
#define GRID_IDS_VTS_UNKNOWN_KEY        0xF414  // %s: key
#define GRID_IDS_VTS_OBJECT_EXPECTED    0xF415
#define GRID_IDS_VTS_LIST_EXPECTED      0xF416  // %s: key
#define GRID_IDS_VTS_BAD_VALUE          0xF417  // %s: key
#define GRID_IDS_VTS_BAD_COLOR          0xF418  // %s: key
#define GRID_IDS_VTS_EMPTY_FORMAT       0xF419
#define GRID_IDS_VTS_BAD_ADDRESS        0xF41A  // %s: address
#define GRID_IDS_VTS_TWO_CONTENTS       0xF41B  // %s: address
#define GRID_IDS_VTS_FORMULA_SIGN       0xF41C  // %s: address
#define GRID_IDS_VTS_BAD_SHEET_NAME     0xF41D  // %s: name
#define GRID_IDS_VTS_BAD_COLUMN         0xF41E  // %s: column
#define GRID_IDS_VTS_ROW_NUMBER         0xF41F
#define GRID_IDS_VTS_CELL_TWICE         0xF420  // %s: address
#define GRID_IDS_VTS_CELL_BAD_VALUE     0xF421  // %s: address, %s: key
#define GRID_IDS_VTS_KEY_TWICE          0xF425  // %s: key
#define GRID_IDS_VTS_TOO_DEEP           0xF426
#define GRID_IDS_VTS_FORMULA_TOO_COMPLEX 0xF427 // %s: address
// Where the fault is
#define GRID_IDS_VTS_AT_FORMAT          0xF422  // %u: format number
#define GRID_IDS_VTS_AT_SHEET           0xF423  // %u: sheet number
#define GRID_IDS_VTS_AT_SHEET_NAME      0xF424  // %s: sheet name
#define GRID_IDS_VTS_AT_TOP             0xF428

// Calls of the grid control that cannot be carried out (CF1Book raises them as dispatch exceptions)
#define GRID_IDS_NO_WINDOW              0xF430
#define GRID_IDS_BAD_SHEET              0xF431
#define GRID_IDS_BAD_CELL               0xF432
#define GRID_IDS_BAD_RANGE              0xF433
#define GRID_IDS_BAD_VALUE              0xF434
#define GRID_IDS_EDIT_NOT_ENDED         0xF435
#define GRID_IDS_NOT_SUPPORTED          0xF436
#define GRID_IDS_ROWS_FULL              0xF437
#define GRID_IDS_NOTHING_COPIED         0xF438
#define GRID_IDS_FORMULA_TOO_COMPLEX    0xF439
#define GRID_IDS_XLS_TOO_LARGE          0xF43A  // %s: path
#define GRID_IDS_PRINT_FAILED           0xF43B
#define GRID_IDS_NO_PRINTER             0xF43C
