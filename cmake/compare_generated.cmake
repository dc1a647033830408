# cmake -DGENERATOR=<program> -DSCRIPT=<script> -DCOMMITTED=<file> -DOUTPUT=<file> -DHOW=<command>
#       -P compare_generated.cmake
#
# Runs GENERATOR SCRIPT and compares what it prints on standard output, byte for byte, with the
# COMMITTED file. A generated file that is edited by hand, or a generator changed without
# regenerating, would otherwise go unnoticed until the next regeneration silently undid it.
# The fresh output is kept in OUTPUT (in the build folder) for a diff; HOW tells how to
# regenerate. The generator's standard error is its log, shown only when it fails.
foreach(variable GENERATOR SCRIPT COMMITTED OUTPUT HOW)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "compare_generated.cmake needs -D${variable}=…")
  endif()
endforeach()

get_filename_component(output_dir "${OUTPUT}" DIRECTORY)
file(MAKE_DIRECTORY "${output_dir}")
execute_process(COMMAND "${GENERATOR}" "${SCRIPT}"
  OUTPUT_FILE "${OUTPUT}" ERROR_VARIABLE log RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${GENERATOR} ${SCRIPT} failed (${status}):\n${log}")
endif()

execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${COMMITTED}" "${OUTPUT}"
  RESULT_VARIABLE differs)
if(NOT differs EQUAL 0)
  message(FATAL_ERROR "${COMMITTED} is not what ${SCRIPT} prints. Regenerate it with\n"
                      "  ${HOW}\n"
                      "and commit the result (this run's output: ${OUTPUT}).")
endif()
