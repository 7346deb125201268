# Collects the modules. A file whose name ends in _win.cpp (or an assembly .S file)
# touches the platform and is built only for Windows; every other .cpp is pure and
# is built in both builds.
set(LW_MODULE_DIRS runtime/core runtime/ui web regex app)

set(lw_pure_sources)
set(lw_platform_sources)
foreach(dir ${LW_MODULE_DIRS})
  file(GLOB_RECURSE found CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp ${CMAKE_SOURCE_DIR}/${dir}/*.S)
  foreach(f ${found})
    if(f MATCHES "_win\\.cpp$" OR f MATCHES "\\.S$")
      list(APPEND lw_platform_sources ${f})
    else()
      list(APPEND lw_pure_sources ${f})
    endif()
  endforeach()
endforeach()

# Pure modules: no <windows.h>, built natively too.
add_library(lw_pure STATIC ${lw_pure_sources})
target_compile_definitions(lw_pure PUBLIC
  LINKWRIGHT_SHARE_HOST="${LINKWRIGHT_SHARE_HOST}"
  LINKWRIGHT_FEED_HOST="${LINKWRIGHT_FEED_HOST}"
  LINKWRIGHT_QR_HOST="${LINKWRIGHT_QR_HOST}"
  LINKWRIGHT_NOTICE_URL="${LINKWRIGHT_NOTICE_URL}")

# The PNG and JPEG decoders are libpng's and libjpeg's: cross-built static
# libraries for Windows (scripts/bootstrap.sh), the system packages natively.
if(LW_WINDOWS)
  set(ZLIB_USE_STATIC_LIBS ON)
endif()
find_package(ZLIB REQUIRED)
find_package(PNG REQUIRED)
find_package(JPEG REQUIRED)
target_link_libraries(lw_pure PUBLIC PNG::PNG JPEG::JPEG)

# The QR encoder: cross-built into the deps folder for Windows, Debian's natively.
find_path(QRCODEGEN_INCLUDE_DIR qrcodegen.h PATH_SUFFIXES qrcodegen REQUIRED)
find_library(QRCODEGEN_LIBRARY qrcodegen REQUIRED)
target_include_directories(lw_pure PUBLIC ${QRCODEGEN_INCLUDE_DIR})
target_link_libraries(lw_pure PUBLIC ${QRCODEGEN_LIBRARY})

if(LW_WINDOWS)
  # The whole runtime: pure modules plus the platform edge.
  add_library(lw_runtime STATIC ${lw_platform_sources})
  target_link_libraries(lw_runtime PUBLIC lw_pure)
  target_link_libraries(lw_runtime PUBLIC
    ole32 oleaut32 oleacc uuid comctl32 comdlg32 gdi32 user32 kernel32 shell32 msimg32 windowscodecs)
endif()
