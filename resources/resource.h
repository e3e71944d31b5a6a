// Resource ids of Quillsnapper.exe, shared by the resource script and the code.
#pragma once

// The program icon (also the tool window's class icon).
#define IDI_QUILLSNAPPER 100

// The skin's glyph picture (a circular arrow), drawn by tools/make_skin_glyph.py.
#define IDB_SKIN_GLYPH 107

// The version resource: type 16, id 1.
#define VS_VERSION_INFO_ID 1
