# Compiler settings shared by every target, and the helpers that declare
# the project's libraries and test executables.

add_library(qs_options INTERFACE)
target_include_directories(qs_options INTERFACE ${PROJECT_SOURCE_DIR})
target_compile_options(qs_options INTERFACE -Wall -Wextra -Wno-unused-parameter)
if(WIN32)
  target_compile_definitions(qs_options INTERFACE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                             _WIN32_WINNT=0x0A00 WINVER=0x0A00)
  target_link_options(qs_options INTERFACE -static -static-libgcc -static-libstdc++)
endif()
if(QS_SANITIZE)
  target_compile_options(qs_options INTERFACE -fsanitize=address,undefined -fno-sanitize-recover=undefined
                         -fno-omit-frame-pointer -O1)
  target_link_options(qs_options INTERFACE -fsanitize=address,undefined)
endif()
if(QS_FUZZ)
  # Every library is instrumented for coverage and checked by the sanitizers;
  # only the fuzz targets themselves link libFuzzer's main.
  target_compile_options(qs_options INTERFACE -fsanitize=fuzzer-no-link,address,undefined
                         -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(qs_options INTERFACE -fsanitize=address,undefined)
endif()
find_package(Threads REQUIRED)
target_link_libraries(qs_options INTERFACE Threads::Threads)

# qs_library(NAME [DEPS ...]): a static library of every .cpp in the current
# folder; on Windows also of every .cpp in its win32/ subfolder (code that
# only makes sense there, such as the registry store).
function(qs_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(WIN32)
    file(GLOB win_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/win32/*.cpp)
    list(APPEND sources ${win_sources})
  endif()
  if(sources)
    add_library(${name} STATIC ${sources})
    target_link_libraries(${name} PUBLIC qs_options ${ARG_DEPS})
  else()
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE qs_options ${ARG_DEPS})
  endif()
endfunction()

# qs_gtest(NAME [UNMANAGED_WINDOWS] SOURCES ... LIBS ... [SESSION COMMAND...]):
# a GoogleTest executable. Natively its cases are registered one by one; for
# Windows the whole executable is one ctest test, run under wine64 by
# tools/wine-exec.sh, which fails it unless GoogleTest printed its summary.
# It runs in the wine session ctest was started in, or inside the SESSION
# command given (for example a wine session of its own on another X server).
# UNMANAGED_WINDOWS: its X11 windows are unmanaged, which saves the 2 s wait
# of every hide and close of a captioned window (for tests that drive their
# windows by messages, not by keys through the X server).
function(qs_gtest name)
  cmake_parse_arguments(ARG "UNMANAGED_WINDOWS" "" "SOURCES;LIBS;SESSION" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE qs_options qs_testsupport ${ARG_LIBS} GTest::gtest GTest::gmock)
  if(WIN32)
    set(windows "")
    if(ARG_UNMANAGED_WINDOWS)
      set(windows --unmanaged-windows)
    endif()
    add_test(NAME ${name} COMMAND ${ARG_SESSION} ${PROJECT_SOURCE_DIR}/tools/wine-exec.sh --gtest ${windows}
             $<TARGET_FILE:${name}> WORKING_DIRECTORY $<TARGET_FILE_DIR:${name}>)
  else()
    gtest_discover_tests(${name} WORKING_DIRECTORY $<TARGET_FILE_DIR:${name}> DISCOVERY_TIMEOUT 60)
  endif()
endfunction()
