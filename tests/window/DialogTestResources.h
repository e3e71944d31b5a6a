// Resource ids of the dialog and menu tests. Dialog and control ids are
// language ids, so the templates' texts are replaced by the language's.
#pragma once

// A dialog whose title is IDD_OPTIONS.
#define IDD_TEST_DIALOG 119
// The same controls in a child dialog (a page) without a title text.
#define IDD_TEST_PAGE 3500
// A dialog without controls, for the layout and footer tests.
#define IDD_TEST_EMPTY 3501
// A dialog id that has no template.
#define IDD_TEST_MISSING 3599

#define IDC_TEST_LABEL 180        // IDS_SAVE_FILE_NAME_ "File Name:"
#define IDC_TEST_CENTER 3063      // IDC_DEFAULT_SETTING_LANGUAGE_ "Language:"
#define IDC_TEST_RIGHT 3061       // IDS_SAFE_FILE_PATH_ "Save Path:"
#define IDC_TEST_RECT 3084        // a black rectangle: stays a system static
#define IDC_TEST_GROUP 3027       // IDC_DEFAULT_SETTING "Default"
#define IDC_TEST_CAPTURE 140      // IDC_CAPTURE "Capture"
#define IDC_TEST_CHECK 3019       // IDC_CHECK_COPY_CLIPBOARD "Copy to clipboard"
#define IDC_TEST_RADIO 3080       // IDC_ASSOCIATED_PROGRAM_RADIO_USER "Other program:"
#define IDC_TEST_OWNERDRAW 3051   // IDC_CHECK_CONFIRM_SAVING: type 11 stays a system button
#define IDC_TEST_EDIT 3058        // IDS_SAVE_FILE: an edit keeps its text
#define IDC_TEST_COMBO 3060       // IDS_SAVE_FILE_FORMAT_: a combo box keeps its text
#define IDC_TEST_BLEND 45058      // IDS_BLEND_ "&Blend:": a mnemonic of its own

// A menu with localised items.
#define IDM_TEST_MENU 3600
