// Resource ids of the application tests' own resources.
#pragma once

#define IDB_TEST_RGB24_BOTTOM_UP 201
#define IDB_TEST_BGRA32_TOP_DOWN 202
#define IDB_TEST_RGB565 203
#define IDB_TEST_PALETTE8 204
#define IDB_TEST_TRUNCATED24 205
#define IDB_TEST_BITFIELDS16 206
// An id with no bitmap behind it.
#define IDB_TEST_MISSING 299
