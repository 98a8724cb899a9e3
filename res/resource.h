// Resource ids of the program.
#pragma once

#define IDR_MAINFRAME                   128
#define IDB_SPLASH                      135     // splash bitmap, drawn by tools/make_splash.cpp

#define IDS_APP_SUBTITLE                100     // main frame title
#define IDP_SAVE_CHANGES                1024
#define IDP_FILE_NOT_FOUND              1025
#define IDP_MAINTENANCE_DONE            2060
#define IDP_ARCHIVE_VERSION             2082

// Data layer: responsible-centre types, the not-found message of the record sets, the database schemas
#define IDS_CARICA_CAPOAREA             1046
#define IDS_CARICA_CAPOSETTORE          1047
#define IDS_CARICA_CAPOSERVIZI          1048
#define IDS_TIPO_AREA                   1051
#define IDS_TIPO_SETTORE                1052
#define IDS_TIPO_SERVIZI                1053
#define IDP_RECORD_NOT_FOUND            10000
#define IDR_SCHEMA_PROG03               900     // RCDATA: Jet SQL of a new program database
#define IDR_SCHEMA_ARCHIVIO             901     // RCDATA: Jet SQL of a new data archive
