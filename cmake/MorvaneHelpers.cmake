# Shared settings for every target of our own.
#
# -ffp-contract=off: a fused multiply-add changes the last bits of a result, and the last bits
# decide a rounded second or a pixel; every machine must print the same bytes.
#
# MORVANE_WARNINGS_AS_ERRORS: our presets turn warnings into errors, so that none lands in the
# tree. A packager's build stays off: another compiler or optimisation level finds warnings of
# its own (some of them false), and those must not stop a build of a working program.
#
# MORVANE_WARNING_EXCEPTIONS: sanitizer builds switch off the two diagnostics whose flow
# analysis the instrumentation confuses (GCC then reports uninitialised or overlapping
# accesses inside the standard library that cannot happen).
set(MORVANE_WARNING_EXCEPTIONS "" CACHE STRING "Warnings switched off in this build")
function(morvane_target_defaults target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -ffp-contract=off -fno-fast-math
                                           ${MORVANE_WARNING_EXCEPTIONS})
  if(MORVANE_WARNINGS_AS_ERRORS)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  target_include_directories(${target} PRIVATE "${PROJECT_BINARY_DIR}/generated")
endfunction()

# morvane_add_library(name SOURCES … LIBS …): a static library whose headers are included as
# "<folder>/<file>.h" from src/.
function(morvane_add_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  morvane_target_defaults(${name})
endfunction()

# morvane_add_test(name [QT_MAIN | WEBENGINE_MAIN] SOURCES … LIBS … LABELS …): one GoogleTest
# program with gmock's matchers, each case a CTest test (label "unit" unless given).
#   QT_MAIN         runs the cases inside a QCoreApplication, for code that needs an event loop.
#   WEBENGINE_MAIN  runs them inside a QApplication with the web engine prepared, on the offscreen
#                   platform whatever the desktop, so real widgets and PDF rendering work headless.
function(morvane_add_test name)
  cmake_parse_arguments(ARG "QT_MAIN;WEBENGINE_MAIN" "" "SOURCES;LIBS;LABELS" ${ARGN})
  set(discovery_timeout 60)
  if(ARG_QT_MAIN)
    add_executable(${name} ${ARG_SOURCES} "${PROJECT_SOURCE_DIR}/tests/support/qt_test_main.cpp")
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt6::Core GTest::gmock)
  elseif(ARG_WEBENGINE_MAIN)
    add_executable(${name} ${ARG_SOURCES}
                           "${PROJECT_SOURCE_DIR}/tests/support/webengine_test_main.cpp")
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} morvane_export_flow GTest::gmock)
    set(test_environment ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
    # Listing the cases starts the web engine, which takes its time on a busy machine.
    set(discovery_timeout 120)
  else()
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gmock GTest::gtest_main)
  endif()
  morvane_target_defaults(${name})
  target_include_directories(${name} PRIVATE "${PROJECT_SOURCE_DIR}/tests")
  if(NOT ARG_LABELS)
    set(ARG_LABELS unit)
  endif()
  gtest_discover_tests(${name} PROPERTIES LABELS "${ARG_LABELS}" ${test_environment}
                       DISCOVERY_TIMEOUT ${discovery_timeout})
endfunction()
