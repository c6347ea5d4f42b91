# Windows i686 cross build (the one that loads 32-bit *.spi plug-ins). These
# machines cannot run 32-bit programs, so this build is compiled only.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Release at -O2, not CMake's -O3: GCC 12 at -O3 reports false
# -Warray-bounds/-Wrestrict errors inside libstdc++'s vector and string code,
# which -Werror turns into failed builds.
# (CMake appends its own -O3 to the *_INIT flags, so the cache entries are
# set directly; a -D on the command line still wins.)
set(CMAKE_C_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "C flags of Release builds")
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "C++ flags of Release builds")
