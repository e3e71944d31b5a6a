# Cross-compiling with MinGW-w64 GCC (posix thread model) for i686 Windows.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(QS_TRIPLET i686-w64-mingw32)
set(CMAKE_C_COMPILER ${QS_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QS_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${QS_TRIPLET}-windres)
set(QS_DEPS_PREFIX "${CMAKE_CURRENT_LIST_DIR}/../build/deps/${QS_TRIPLET}")
set(CMAKE_FIND_ROOT_PATH /usr/${QS_TRIPLET} ${QS_DEPS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Every Windows version the program supports requires SSE2; using it also
# makes floating-point results match the x86_64 build (no x87 excess precision).
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
