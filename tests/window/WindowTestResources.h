// Resource ids of qs_window_tests.exe.
#pragma once

#define IDB_TEST_SKIN_GLYPH 107
#define IDD_TEST_TEMPLATE 200
#define IDC_TEST_TOOLKIT_BUTTON 201
#define IDC_TEST_TOOLKIT_WINDOW 202
#define IDC_TEST_EDIT 203
