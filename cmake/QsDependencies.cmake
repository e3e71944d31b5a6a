# Third-party libraries. Natively they are Debian's -dev packages; for
# MinGW they come from the cache that tools/build-deps.sh fills
# (build/deps/<triplet>, already on CMAKE_FIND_ROOT_PATH). Each is exposed
# as an imported target qs::NAME.

function(qs_import name header lib)
  find_path(${name}_INCLUDE ${header} PATH_SUFFIXES openjpeg-2.5 REQUIRED)
  find_library(${name}_LIBRARY NAMES ${lib} REQUIRED)
  add_library(qs::${name} UNKNOWN IMPORTED GLOBAL)
  set_target_properties(qs::${name} PROPERTIES IMPORTED_LOCATION ${${name}_LIBRARY}
                        INTERFACE_INCLUDE_DIRECTORIES ${${name}_INCLUDE})
endfunction()

if(WIN32 AND NOT EXISTS "${QS_DEPS_PREFIX}/.stamp")
  message(FATAL_ERROR "The cross-built libraries are missing: run tools/build-deps.sh ${QS_TRIPLET}")
endif()

qs_import(zlib zlib.h z)
qs_import(png png.h "png16;png")
qs_import(jpeg jpeglib.h jpeg)
qs_import(gif gif_lib.h gif)
qs_import(openjp2 openjpeg.h openjp2)
qs_import(deflate libdeflate.h deflate)
set_property(TARGET qs::png APPEND PROPERTY INTERFACE_LINK_LIBRARIES qs::zlib)
if(WIN32)
  set_property(TARGET qs::openjp2 APPEND PROPERTY INTERFACE_COMPILE_DEFINITIONS OPJ_STATIC)
  set_property(TARGET qs::deflate APPEND PROPERTY INTERFACE_COMPILE_DEFINITIONS LIBDEFLATE_STATIC)
endif()

if(QS_TESTS)
  if(WIN32)
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  else()
    find_package(GTest REQUIRED)
    include(GoogleTest)
  endif()
endif()
if(QS_BENCH)
  find_package(benchmark REQUIRED)
endif()
