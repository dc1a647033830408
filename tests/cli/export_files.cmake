# Runs "morvane-astro-cli export" into a fresh folder and compares the files it wrote, and the
# paths it printed, with the expected set. PDF=1 adds --pdf.
set(out "${WORK_DIR}/export-${PDF}")
file(REMOVE_RECURSE "${out}")
set(extra)
if(PDF)
  set(extra --pdf)
endif()
execute_process(COMMAND "${CLI}" export --out "${out}" --place Cherafir --date 720-3-4 --time 09:45 ${extra}
  OUTPUT_VARIABLE printed ERROR_VARIABLE errors RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "export failed with ${status}: ${errors}")
endif()
if(NOT errors STREQUAL "")
  message(FATAL_ERROR "export wrote to standard error: ${errors}")
endif()

set(expected
  "Horoscope - Cherafir - 720-03-04 09-45.svg"
  "Planets - Cherafir - 720-03-04 09-45.txt"
  "Positions - Cherafir - 720-03-04 09-45.txt"
  "Star Map - Cherafir - 720-03-04 09-45.svg"
  "Sun & Moon - Cherafir - 720-03-04 09-45.txt")
if(PDF)
  list(APPEND expected
    "Horoscope - Cherafir - 720-03-04 09-45.pdf"
    "Planets - Cherafir - 720-03-04 09-45.pdf"
    "Positions - Cherafir - 720-03-04 09-45.pdf"
    "Star Map - Cherafir - 720-03-04 09-45.pdf"
    "Sun & Moon - Cherafir - 720-03-04 09-45.pdf")
endif()
list(SORT expected)
file(GLOB written RELATIVE "${out}" "${out}/*")
list(SORT written)
if(NOT written STREQUAL expected)
  message(FATAL_ERROR "wrote: ${written}\nexpected: ${expected}")
endif()
string(REGEX MATCHALL "[^\n]+" lines "${printed}")
list(LENGTH lines printedCount)
list(LENGTH expected expectedCount)
if(NOT printedCount EQUAL expectedCount)
  message(FATAL_ERROR "printed ${printedCount} paths, expected ${expectedCount}: ${printed}")
endif()
foreach(line IN LISTS lines)
  if(NOT EXISTS "${line}")
    message(FATAL_ERROR "printed a path that does not exist: ${line}")
  endif()
  # The renderer is a program of its own: what it leaves must be a PDF, not its input.
  if(line MATCHES "\\.pdf$")
    file(READ "${line}" head LIMIT 5 HEX)
    if(NOT head STREQUAL "255044462d")  # "%PDF-"
      message(FATAL_ERROR "not a PDF file: ${line}")
    endif()
  endif()
endforeach()
