// Resource ids of the platform tests' own templates.
#pragma once

#define IDR_TESTFRAME       9100
#define ID_TEST_FRAMECMD    9101
#define ID_TEST_VIEWCMD     9102
#define ID_TEST_DOCCMD      9103
#define ID_TEST_APPCMD      9104
#define ID_TEST_NOHANDLER   9105

#define IDD_TEST_DIALOG     9200
#define IDC_TEST_NAME       9201
#define IDC_TEST_COUNT      9202
#define IDC_TEST_CHECK      9203
#define IDC_TEST_COMBO      9204

#define IDD_TEST_FORM       9210
#define IDC_TEST_FORMEDIT   9211
#define IDC_TEST_FORMBUTTON 9212

#define IDD_TEST_PAGE       9220
#define IDC_TEST_PAGENAME   9221
