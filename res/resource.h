// Resource ids of the program.
#pragma once

#define IDR_MAINFRAME                   128
#define IDB_SPLASH                      135     // splash bitmap, drawn by tools/make_splash.cpp

#define IDS_APP_SUBTITLE                100     // main frame title
#define IDP_SAVE_CHANGES                1024
#define IDP_FILE_NOT_FOUND              1025
#define IDP_MAINTENANCE_DONE            2060
// Backup and restore of the data archive
#define IDP_BACKUP_FOLDER_REFUSED       2061
#define IDP_RESTORE_CONFIRM             2064
#define IDP_ZIP_ADD_FAILED              2068
#define IDP_UNZIP_FAILED                2069
#define IDP_ZIP_CREATE_FAILED           2072
#define IDP_ZIP_OPEN_FAILED             2073
#define IDP_RESTORE_UNSAFE_NAME         2117
#define IDP_RESTORE_UNEXPECTED_FILE     2118
#define IDP_RESTORE_NO_ARCHIVE          2119
#define IDP_RESTORE_ENCRYPTED           2121
#define IDP_RESTORE_BAD_SIZE            2122
#define IDP_RESTORE_BAD_CRC             2123
#define IDP_RESTORE_NO_SPACE            2124
#define IDP_RESTORE_NOT_AN_ARCHIVE      2126
#define IDP_RESTORE_BAD_ITEM            2127
#define IDP_DATABASES_LOST              2128
#define IDS_ZIP_FILTER                  1045
#define IDP_ARCHIVE_VERSION             2082

// Data layer: responsible-centre types, the not-found message of the record sets, the database schemas
#define IDS_CARICA_CAPOAREA             1046
#define IDS_CARICA_CAPOSETTORE          1047
#define IDS_CARICA_CAPOSERVIZI          1048
#define IDS_TIPO_AREA                   1051
#define IDS_TIPO_SETTORE                1052
#define IDS_TIPO_SERVIZI                1053
#define IDP_RECORD_NOT_FOUND            10000
#define IDP_AMOUNT_OUT_OF_RANGE         10001
#define IDR_SCHEMA_PROG03               900     // RCDATA: Jet SQL of a new program database
#define IDR_SCHEMA_ARCHIVIO             901     // RCDATA: Jet SQL of a new data archive
