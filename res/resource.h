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
#define IDS_CASSA                       1028
#define IDS_COMPETENZA                  1029
#define IDS_TOT_TIT1_ENTRATE            1062
#define IDS_TOT_TIT2_ENTRATE            1063
#define IDS_TOT_TIT3_ENTRATE            1064
#define IDS_TOT_TIT4_ENTRATE            1065
#define IDS_TIT4_ENTRATE_CAT6           1067
#define IDS_TOT_TIT1_SPESE              1068
#define IDS_TIT1_SPESE_UFFICI_GIUD      1069
#define IDS_TOT_TIT2_SPESE              1070
#define IDS_TIT2_SPESE_UFFICI_GIUD      1071
#define IDS_TIT2_SPESE_CREDITI          1072
#define IDS_TIT4_ENTRATE_UFFICI_GIUD    1073
#define IDP_SALDI_INCONGRUENTI          2091
#define IDP_RECORD_NOT_FOUND            10000
#define IDP_AMOUNT_OUT_OF_RANGE         10001
#define IDR_SCHEMA_PROG03               900     // RCDATA: Jet SQL of a new program database
#define IDR_SCHEMA_ARCHIVIO             901     // RCDATA: Jet SQL of a new data archive

// Imports and their option dialogs; budget-chapter, accounting-settings and responsible-centre dialogs
#define IDD_EXTRA_IMP_CON               136
#define IDD_CENTRO_SERV                 137
#define IDD_CAPITOLO                    141
#define IDD_IMP_GEST                    224
#define IDD_IMP_CERT                    225
#define IDD_IMP_REL                     232
#define IDD_CAPITOLI                    234
#define IDC_ITEM_LIST                   1002
#define IDC_ITEM_ADD                    1003
#define IDC_ITEM_MODIFY                 1004
#define IDC_CENTRO_NAME                 1004
#define IDC_RESP_NAME                   1005
#define IDC_MODE_STRUTTURA              1006
#define IDC_MODE_CAPITOLI               1007
#define IDC_TIPO_RESP                   1007
#define IDC_RESP_LABEL                  1008
#define IDC_CAP_NUMBER                  1009
#define IDC_CAP_DESCRIPTION             1010
#define IDC_CAP_CODUEB                  1011
#define IDC_ITEM_DELETE                 1012
#define IDC_IMP_REVENUE_PATH            1097
#define IDC_IMP_REVENUE_BROWSE          1098
#define IDC_IMP_EXPENSE_PATH            1099
#define IDC_IMP_EXPENSE_BROWSE          1100
#define IDC_IMP_OPTION_ERASE            1101
#define IDC_IMP_OPTION_SOURCE           1102
#define IDC_IMP_OPTION_EMPTY            1103
#define IDC_IMP_CERT_PATH               1104
#define IDC_IMP_CERT_BROWSE             1105
#define IDC_IMP_CERT_GROUP              1106
#define IDC_IMP_NOTE                    1111
#define IDS_IMPCERT_BROWSE_TITLE        1032
#define IDS_IMPORT_TXT_FILTER           1033
#define IDS_IMPGEST_REVENUE_TITLE       1036
#define IDS_IMPGEST_EXPENSE_TITLE       1037
#define IDS_COL_CENTRO                  1040
#define IDS_COL_RESPONSABILE            1041
#define IDS_COL_TIPOLOGIA               1049
#define IDS_COL_CARICA                  1050
#define IDS_KIND_ENTRATA                1054
#define IDS_KIND_SPESA                  1055
#define IDS_COL_CAPITOLO                1056
#define IDS_COL_DESCRIZIONE             1057
#define IDS_CHIUDI                      1058
#define IDS_COL_CODUEB                  1061
#define IDP_IMPORT_LINE_ERROR           2055
#define IDP_CENTRI_DELETE               2058
#define IDP_IMPORT_OTHER_YEAR           2075
#define IDP_IMPORT_DONE                 2076
#define IDS_IMPREL_NOTE                 2079
#define IDP_CAPITOLI_DELETE             2083
#define IDP_UEB_ENTRATA_TITLE           2085
#define IDP_UEB_SPESA_TITLE             2086
#define IDP_UEB_LENGTH                  2087
#define IDP_CAPITOLO_MODIFY             2092
#define IDP_IMPORT_READ_FAILED          2160
#define IDP_IMPORT_NOT_TEXT             2161
#define IDP_IMPORT_FILE_EMPTY           2162
#define IDP_IMPORT_NO_DATA              2163
#define IDP_IMPREL_NOT_FOUND            2164
#define IDP_CAPITOLO_DUPLICATE          2165
#define IDP_FIELD_REQUIRED              2166
#define IDP_IMPORT_NO_GEST_DATA         2167
