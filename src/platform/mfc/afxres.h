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
