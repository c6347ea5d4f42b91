# Susie image plug-ins of our own for the plug-in host tests (Windows only).
# They are built as .dll files beside image_tests; the tests copy them into a
# temporary program folder under plug-in names (.sph in 64-bit builds, .spi in
# 32-bit builds) and let the host find them there.
if(WIN32)
  set(piconel_test_plugin_targets)

  # piconel_test_plugin(<name> <kind> [<extra definition>...])
  function(piconel_test_plugin name kind)
    set(target piconel_test_plugin_${name})
    add_library(${target} MODULE "${CMAKE_CURRENT_LIST_DIR}/plugins/test_plugin_win32.cpp")
    set_target_properties(${target} PROPERTIES PREFIX "" SUFFIX ".dll")
    target_compile_definitions(${target} PRIVATE PICONEL_TEST_PLUGIN_KIND=${kind} ${ARGN})
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
      # __stdcall exports are decorated (GetPicture@28); plug-in hosts look
      # them up by their plain names.
      target_link_options(${target} PRIVATE -Wl,--kill-at)
    endif()
    set(piconel_test_plugin_targets ${piconel_test_plugin_targets} ${target} PARENT_SCOPE)
  endfunction()

  piconel_test_plugin(decoder 1)
  piconel_test_plugin(refusing 2)
  piconel_test_plugin(version_00am 3 "PICONEL_TEST_VERSION=\"00AM\"")
  piconel_test_plugin(version_00im 3 "PICONEL_TEST_VERSION=\"00IM\"")
  piconel_test_plugin(version_short 3 "PICONEL_TEST_VERSION=\"00I\"")
  piconel_test_plugin(no_info 4)
  piconel_test_plugin(wrong_answers 5)

  add_custom_target(piconel_test_plugins DEPENDS ${piconel_test_plugin_targets})
  if(TARGET image_tests)
    add_dependencies(image_tests piconel_test_plugins)
  endif()
endif()
