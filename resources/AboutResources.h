// Resource ids of the About dialog's art, shared by About.rc and the code.
#pragma once

// The picture at the top of the About dialog (tools/make_about_bitmap.py).
#define IDB_ABOUT_PICTURE 3103
