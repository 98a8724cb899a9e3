// Resource ids of the program.
#pragma once

#define IDR_MAINFRAME                   128

#define IDS_APP_SUBTITLE                100     // main frame title
#define IDP_SAVE_CHANGES                1024
#define IDP_FILE_NOT_FOUND              1025
#define IDP_ARCHIVE_VERSION             2082
