# Windows x86_64 cross build with mingw-w64 (posix thread model: GCC 12's
# win32 model has no std::mutex, which GoogleTest needs). Tests run under the
# 64-bit Wine loader.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh")
# Release at -O2, not CMake's -O3: GCC 12 at -O3 reports false
# -Warray-bounds/-Wrestrict errors inside libstdc++'s vector and string code,
# which -Werror turns into failed builds.
# (CMake appends its own -O3 to the *_INIT flags, so the cache entries are
# set directly; a -D on the command line still wins.)
set(CMAKE_C_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "C flags of Release builds")
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "C++ flags of Release builds")
