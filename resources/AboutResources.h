// Resource ids of the About and copyright dialogs, shared by About.rc and
// the code. Dialog and control ids double as language text ids.
#pragma once

// The About dialog and its controls.
#define IDD_APP_ABOUT 3106
#define IDC_ABOUT_PICTURE 3102
#define IDC_ABOUT_ICON 3089
#define IDC_ABOUT_NAME 150
#define IDC_ABOUT_VERSION 1000
#define IDC_ABOUT_NOTE 3088
#define IDS_VADRIN_COPYRIGHT 3084
#define IDS_PRODUCT_URL 3082
#define IDC_CONTACT_SUPPORT 3083
#define IDC_CHECK_UPDATE 3090
#define IDC_SUPPORT_HOMEPAGE 3100
#define IDC_COPYRIGHTS 3101

// The picture at the top of the About dialog (tools/make_about_bitmap.py).
#define IDB_ABOUT_PICTURE 3103

// The copyright dialog and its controls.
#define IDD_COPYRIGHT 121
#define IDS_LIBRARY_ 135
#define IDC_COPYRIGHT_TEXT 145
