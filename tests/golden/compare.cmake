# Runs the program with the arguments of CASE_DIR/args (one per line) and compares standard
# output and the exit status with CASE_DIR/expected.out and CASE_DIR/expected.status.
# With the environment variable MORVANE_UPDATE_GOLDEN=1 it writes them instead.
#
# A differing output is kept for inspection in OUT_DIR/<case>/actual.out, OUT_DIR defaulting to
# the working directory: under CTest the build folder of the test, so that a failed run leaves
# the checkout clean and two build trees never overwrite each other's output.
file(STRINGS "${CASE_DIR}/args" case_args ENCODING UTF-8)
execute_process(COMMAND "${CLI}" ${case_args}
  OUTPUT_VARIABLE actual ERROR_VARIABLE errors RESULT_VARIABLE status)

if("$ENV{MORVANE_UPDATE_GOLDEN}" STREQUAL "1")
  file(WRITE "${CASE_DIR}/expected.out" "${actual}")
  file(WRITE "${CASE_DIR}/expected.status" "${status}\n")
  message(STATUS "updated ${CASE_DIR}")
  return()
endif()

get_filename_component(case_name "${CASE_DIR}" NAME)
if(NOT OUT_DIR)
  set(OUT_DIR "${CMAKE_CURRENT_BINARY_DIR}")  # the working directory in script mode
endif()
set(actual_file "${OUT_DIR}/golden/${case_name}/actual.out")
file(REMOVE "${actual_file}")  # what a passing run leaves is never a stale failure

file(READ "${CASE_DIR}/expected.out" expected)
file(STRINGS "${CASE_DIR}/expected.status" expected_status)
if(NOT status STREQUAL expected_status)
  message(FATAL_ERROR "exit status ${status}, expected ${expected_status}; stderr: ${errors}")
endif()
if(NOT actual STREQUAL expected)
  file(WRITE "${actual_file}" "${actual}")
  message(FATAL_ERROR "output differs from ${CASE_DIR}/expected.out; see\n  diff -u "
                      "${CASE_DIR}/expected.out ${actual_file}")
endif()
