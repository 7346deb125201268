# The modules, one library per floor of the house, each linking only the floors
# below it. The floors, their libraries and what each links are listed once, in
# cmake/floors.txt; this file makes the libraries from that list and adds what lies
# outside the house (zlib, libpng, libjpeg, PCRE2, the QR encoder, the platform's
# libraries). The program image and its entry are program/CMakeLists.txt.
#
# The build also checks the includes against the same list (scripts/check_floors.sh):
# a file that includes a header from a floor above its own fails the build.
#
# A file whose name ends in _win.cpp (or an assembly .S file) touches the platform
# and is built only for Windows; every other .cpp is pure and is built in both builds,
# the native one under the sanitizers.

# lw_floor(<target> <folder> [<floor below>...])
function(lw_floor target dir)
  file(GLOB_RECURSE found CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp ${CMAKE_SOURCE_DIR}/${dir}/*.S)
  set(sources)
  foreach(f ${found})
    if(f MATCHES "_win\\.cpp$" OR f MATCHES "\\.S$")
      if(LW_WINDOWS)
        list(APPEND sources ${f})
      endif()
    else()
      list(APPEND sources ${f})
    endif()
  endforeach()
  add_library(${target} STATIC ${sources})
  target_link_libraries(${target} PUBLIC ${ARGN})
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
  add_dependencies(${target} lw_floor_check)
endfunction()

# The include check runs before any floor compiles, so an include that reaches up
# stops the build at its first step.
add_custom_target(lw_floor_check
  COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/check_floors.sh ${CMAKE_SOURCE_DIR}
  COMMENT "Checking that no floor includes one above it"
  VERBATIM)

# The PNG and JPEG decoders are libpng's and libjpeg's: cross-built static
# libraries for Windows (scripts/bootstrap.sh), the system packages natively.
if(LW_WINDOWS)
  set(ZLIB_USE_STATIC_LIBS ON)
endif()
find_package(ZLIB REQUIRED)
find_package(PNG REQUIRED)
find_package(JPEG REQUIRED)
# The QR encoder: cross-built into the deps folder for Windows, Debian's natively.
find_path(QRCODEGEN_INCLUDE_DIR qrcodegen.h PATH_SUFFIXES qrcodegen REQUIRED)
find_library(QRCODEGEN_LIBRARY qrcodegen REQUIRED)
# PCRE2's 16-bit library, with its JIT compiler: cross-built static into the deps
# folder for Windows, Debian's libpcre2-16 natively.
find_path(PCRE2_INCLUDE_DIR pcre2.h REQUIRED)
find_library(PCRE2_16_LIBRARY pcre2-16 REQUIRED)

# One library per row of the floors' list that names one.
file(STRINGS ${CMAKE_SOURCE_DIR}/cmake/floors.txt lw_floor_rows REGEX "^[^# \t]")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/cmake/floors.txt)
foreach(row ${lw_floor_rows})
  string(REGEX REPLACE "[ \t]+" ";" fields "${row}")
  list(GET fields 0 dir)
  list(GET fields 2 library)
  if(library STREQUAL "-")
    continue()
  endif()
  list(SUBLIST fields 3 -1 links)
  list(REMOVE_ITEM links "-")
  lw_floor(${library} ${dir} ${links})
endforeach()
target_link_libraries(runtime_picture PUBLIC PNG::PNG JPEG::JPEG)

# PUBLIC, so that the static link of every program above the regex floor takes the
# library after it, and any file that reaches pcre2.h through a regex header sees
# the same code unit width.
target_include_directories(regex PUBLIC ${PCRE2_INCLUDE_DIR})
target_link_libraries(regex PUBLIC ${PCRE2_16_LIBRARY})
target_compile_definitions(regex PUBLIC PCRE2_CODE_UNIT_WIDTH=16)
if(LW_WINDOWS)
  target_compile_definitions(regex PUBLIC PCRE2_STATIC)
endif()

target_include_directories(app PUBLIC ${QRCODEGEN_INCLUDE_DIR})
target_link_libraries(app PUBLIC ${QRCODEGEN_LIBRARY})
# Endpoints of the services the program talks to; a publisher sets them at configure time.
target_compile_definitions(app PUBLIC
  LINKWRIGHT_SHARE_HOST="${LINKWRIGHT_SHARE_HOST}"
  LINKWRIGHT_FEED_HOST="${LINKWRIGHT_FEED_HOST}"
  LINKWRIGHT_QR_HOST="${LINKWRIGHT_QR_HOST}"
  LINKWRIGHT_NOTICE_URL="${LINKWRIGHT_NOTICE_URL}")

# OLE's libraries, the accessibility library, the shell and the common dialogs are
# not linked: the routines the program calls in them are bound on first use
# (runtime/core/libraries/late_imports_i686.S), so a routine not listed there fails the link
# instead of bringing its library back into every start.
if(LW_WINDOWS)
  target_link_libraries(runtime_core PUBLIC uuid user32 kernel32)
  target_link_libraries(runtime_ui PUBLIC comctl32 gdi32 msimg32 windowscodecs)
endif()
