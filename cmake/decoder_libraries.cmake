# The PNG and GIF libraries behind the built-in decoders, as targets
# PNG::PNG and GIF::GIF.
#
# Linux: Debian's libpng-dev and libgif-dev.
# Windows: Debian ships neither for mingw, so the same upstream versions are
# compiled here from Debian's source packages, which scripts/setup.sh --all
# unpacks (scripts/decoder-sources.sh), against zlib from libz-mingw-w64-dev.
# Both link statically into the executables. Using the same libraries on both
# platforms (instead of the Windows Imaging Component, whose GIF decoder and
# format conversions differ between Windows and Wine) gives the same pixels
# and palettes from the same files everywhere.

if(NOT WIN32)
  find_package(PNG REQUIRED)
  find_package(GIF REQUIRED)
  return()
endif()

set(PICONEL_DECODER_SOURCES "/usr/local/src/piconel-decoders"
    CACHE PATH "Unpacked libpng and giflib sources for the Windows builds")
set(png_source "${PICONEL_DECODER_SOURCES}/libpng")
set(gif_source "${PICONEL_DECODER_SOURCES}/giflib")
if(NOT EXISTS "${png_source}/png.c" OR NOT EXISTS "${gif_source}/dgif_lib.c")
  message(FATAL_ERROR "No libpng/giflib sources in ${PICONEL_DECODER_SOURCES}; "
                      "run scripts/setup.sh --all")
endif()
# libz.a, not the import library of zlib1.dll: the executables stay
# self-contained.
set(ZLIB_USE_STATIC_LIBS ON)
find_package(ZLIB REQUIRED)

# libpng's default configuration (what its own builds use when not told
# otherwise); no hardware-specific filter code is enabled by it.
configure_file("${png_source}/scripts/pnglibconf.h.prebuilt"
               "${CMAKE_BINARY_DIR}/decoders/pnglibconf.h" COPYONLY)
set(png_files png.c pngerror.c pngget.c pngmem.c pngpread.c pngread.c pngrio.c pngrtran.c
              pngrutil.c pngset.c pngtrans.c pngwio.c pngwrite.c pngwtran.c pngwutil.c)
list(TRANSFORM png_files PREPEND "${png_source}/")
add_library(piconel_libpng STATIC ${png_files})
target_include_directories(piconel_libpng PUBLIC "${png_source}" "${CMAKE_BINARY_DIR}/decoders")
target_link_libraries(piconel_libpng PUBLIC ZLIB::ZLIB)
# Outside code: built as it comes, its warnings are not ours to fix.
target_compile_options(piconel_libpng PRIVATE -w)
add_library(PNG::PNG ALIAS piconel_libpng)

# The reading half of giflib.
set(gif_files dgif_lib.c gif_err.c gifalloc.c gif_hash.c openbsd-reallocarray.c)
list(TRANSFORM gif_files PREPEND "${gif_source}/")
add_library(piconel_giflib STATIC ${gif_files})
target_include_directories(piconel_giflib PUBLIC "${gif_source}")
target_compile_options(piconel_giflib PRIVATE -w)
add_library(GIF::GIF ALIAS piconel_giflib)
