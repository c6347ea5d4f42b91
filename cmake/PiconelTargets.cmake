# Helpers that turn a source folder into one library and a test folder into
# one test program, so a new file needs no CMake edit.
#
# Naming rules the helpers rely on:
#   *_win32.cpp   includes <windows.h>; built only for Windows
#   *_posix.cpp   POSIX counterpart; built only for Linux
#   main*.cpp     program entry points; never part of a library
#   *_win32_test.cpp  tests that need Win32; built only for Windows (run under Wine)

# The folders of src/ from the bottom up (src/README.md draws them): each is
# one library and may include headers of its own folder and those before it,
# never of one after it (the test "layers" checks every file).
set(PICONEL_LAYERS packing store image project window canvas output dialogs app cli)

function(piconel_platform_filter out_var)
  set(kept)
  foreach(file IN LISTS ARGN)
    get_filename_component(name "${file}" NAME)
    if(name MATCHES "^main.*\\.cpp$")
      continue()
    endif()
    if(name MATCHES "_win32(_test)?\\.cpp$" AND NOT WIN32)
      continue()
    endif()
    if(name MATCHES "_posix(_test)?\\.cpp$" AND WIN32)
      continue()
    endif()
    list(APPEND kept "${file}")
  endforeach()
  set(${out_var} ${kept} PARENT_SCOPE)
endfunction()

# piconel_library(<name> [DEPENDS <lib>...] [SYSTEM_LIBS <lib>...])
# Builds every .cpp of the current source folder into library piconel_<name>.
function(piconel_library name)
  cmake_parse_arguments(ARG "" "" "DEPENDS;SYSTEM_LIBS;WIN32_LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp")
  piconel_platform_filter(sources ${sources})
  if(sources)
    add_library(piconel_${name} STATIC ${sources})
    target_include_directories(piconel_${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
    set(visibility PUBLIC)
  else()
    add_library(piconel_${name} INTERFACE)
    target_include_directories(piconel_${name} INTERFACE "${PROJECT_SOURCE_DIR}/src")
    set(visibility INTERFACE)
  endif()
  foreach(dep IN LISTS ARG_DEPENDS)
    target_link_libraries(piconel_${name} ${visibility} piconel_${dep})
  endforeach()
  if(ARG_SYSTEM_LIBS)
    target_link_libraries(piconel_${name} ${visibility} ${ARG_SYSTEM_LIBS})
  endif()
  if(WIN32 AND ARG_WIN32_LIBS)
    target_link_libraries(piconel_${name} ${visibility} ${ARG_WIN32_LIBS})
  endif()
endfunction()

# piconel_test_suite(<name> DEPENDS <lib>...)
# Builds every *_test.cpp of the current test folder into one GoogleTest
# program <name>_tests and registers it with CTest (under Wine when cross
# compiling, through CMAKE_CROSSCOMPILING_EMULATOR).
function(piconel_test_suite name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "DEPENDS;SYSTEM_LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp")
  piconel_platform_filter(sources ${sources})
  file(GLOB helpers CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*_helpers.cpp")
  if(NOT sources)
    return()
  endif()
  add_executable(${name}_tests ${sources} ${helpers})
  foreach(dep IN LISTS ARG_DEPENDS)
    target_link_libraries(${name}_tests PRIVATE piconel_${dep})
  endforeach()
  target_link_libraries(${name}_tests PRIVATE ${ARG_SYSTEM_LIBS} piconel_gtest_main)
  target_include_directories(${name}_tests PRIVATE "${PROJECT_SOURCE_DIR}/tests")
  target_compile_definitions(${name}_tests PRIVATE
    PICONEL_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data"
    PICONEL_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  add_test(NAME ${name} COMMAND ${name}_tests)
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 600)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT})
  if(WIN32)
    # Every Windows suite shares one virtual display, and window tests press
    # real keys and move the real pointer there: two at once would take each
    # other's input and focus.
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK piconel_display)
  endif()
endfunction()
