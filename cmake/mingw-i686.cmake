# Cross-compiling for 32-bit Windows with the posix-thread mingw-w64 compilers.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)

# The cross-built libpng and libjpeg live under the cache scripts/bootstrap.sh
# fills: LINKWRIGHT_CACHE (given to CMake or in the environment), else
# /var/cache/linkwright.
if(NOT LINKWRIGHT_CACHE)
  if(DEFINED ENV{LINKWRIGHT_CACHE} AND NOT "$ENV{LINKWRIGHT_CACHE}" STREQUAL "")
    set(LINKWRIGHT_CACHE "$ENV{LINKWRIGHT_CACHE}")
  else()
    set(LINKWRIGHT_CACHE /var/cache/linkwright)
  endif()
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES LINKWRIGHT_CACHE)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32 ${LINKWRIGHT_CACHE}/deps/i686)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
