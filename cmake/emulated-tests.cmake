# Tests of a cross build run under an emulator (qemu-user). Each folder
# that adds tests calls fp_emulated_tests() once; when the folder's
# CMakeLists.txt is done, every test added there gets
# FRONTPANEL_TEST_TIMEOUT_SCALE times its own timeout, and the benchmarks
# are disabled: they start armhf helper programs, which qemu-user cannot
# start (QProcess there even signals the wrong processes).
set(FRONTPANEL_TEST_TIMEOUT_SCALE 10 CACHE STRING "Factor on every test timeout under an emulator")

function(fp_emulated_tests)
  if(CMAKE_CROSSCOMPILING_EMULATOR)
    cmake_language(DEFER CALL fp_emulated_folder_tests)
  endif()
endfunction()

function(fp_emulated_folder_tests)
  get_property(tests DIRECTORY PROPERTY TESTS)
  foreach(test ${tests})
    get_test_property(${test} TIMEOUT timeout)
    if(NOT timeout MATCHES "^[0-9]+$")
      set(timeout 1500) # CTest's own default
    endif()
    math(EXPR timeout "${timeout} * ${FRONTPANEL_TEST_TIMEOUT_SCALE}")
    set_tests_properties(${test} PROPERTIES TIMEOUT ${timeout})
    get_test_property(${test} LABELS labels)
    if("benchmark" IN_LIST labels)
      set_tests_properties(${test} PROPERTIES DISABLED TRUE)
    endif()
  endforeach()
endfunction()
