// Resource and control ids of the tool window and the capture frame, shared
// by resources/ToolWindow.rc and the program's code.
#pragma once

// Dialog templates.
#define IDD_MAIN_TOOL_WINDOW 115
#define IDD_CAPTURE_FRAME 111

// Bitmaps: the strip of 14 button tiles and the maker's logo.
#define IDB_TOOL_TILES 109
#define IDB_LOGO 134

// Controls of the tool window.
#define IDC_CAPTURE 140
#define IDC_STATUS 160
#define IDC_NORMAL_CAPTURE 1005
#define IDC_CAPTURE_FRAME 1006
#define IDC_CAPTURE_WINDOW 3001
#define IDC_CAPTURE_FULL_SCREEN 3002
#define IDC_CAPTURE_FRAME_CANCEL 3046
#define IDC_OPEN_SAVE_FOLDER 3050
#define IDC_CHECK_CONFIRM_SAVING 3051
#define IDC_CHECK_SEND_TO_ASSOCIATED_PROGRAM 3052
#define IDC_OPTIONS 3056
#define IDC_VADRIN 3087

// The About item of the tool window's system menu.
#define ID_ABOUT 32774
