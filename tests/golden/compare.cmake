# Runs the program with the arguments of CASE_DIR/args (one per line) and compares standard
# output and the exit status with CASE_DIR/expected.out and CASE_DIR/expected.status.
# With the environment variable MORVANE_UPDATE_GOLDEN=1 it writes them instead.
file(STRINGS "${CASE_DIR}/args" case_args ENCODING UTF-8)
execute_process(COMMAND "${CLI}" ${case_args}
  OUTPUT_VARIABLE actual ERROR_VARIABLE errors RESULT_VARIABLE status)

if("$ENV{MORVANE_UPDATE_GOLDEN}" STREQUAL "1")
  file(WRITE "${CASE_DIR}/expected.out" "${actual}")
  file(WRITE "${CASE_DIR}/expected.status" "${status}\n")
  message(STATUS "updated ${CASE_DIR}")
  return()
endif()

file(READ "${CASE_DIR}/expected.out" expected)
file(STRINGS "${CASE_DIR}/expected.status" expected_status)
if(NOT status STREQUAL expected_status)
  message(FATAL_ERROR "exit status ${status}, expected ${expected_status}; stderr: ${errors}")
endif()
if(NOT actual STREQUAL expected)
  file(WRITE "${CASE_DIR}/actual.out" "${actual}")
  message(FATAL_ERROR "output differs from ${CASE_DIR}/expected.out; "
                      "see actual.out beside it (diff -u expected.out actual.out)")
endif()
