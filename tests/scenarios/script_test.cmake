# armavo_script_test(NAME SCRIPT EXPECT [STATUS n]): runs `armavo --script SCRIPT` with a
# fresh settings file and checks its transcript against EXPECT (see check_transcript.py).
# SCRIPT and EXPECT are relative to the calling folder. Any test folder may include this
# file, whatever the order in which the folders are added.
include_guard(GLOBAL)
find_package(Python3 REQUIRED COMPONENTS Interpreter)

function(armavo_script_test name script expect)
  cmake_parse_arguments(arg "" "STATUS" "" ${ARGN})
  if(NOT DEFINED arg_STATUS)
    set(arg_STATUS 0)
  endif()
  add_test(NAME scenario.${name}
           COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tests/scenarios/check_transcript.py
                   $<TARGET_FILE:armavo> ${CMAKE_CURRENT_SOURCE_DIR}/${script}
                   ${CMAKE_CURRENT_SOURCE_DIR}/${expect} --status ${arg_STATUS})
endfunction()
