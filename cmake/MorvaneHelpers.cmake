# Shared settings for every target of our own.
#
# -ffp-contract=off: a fused multiply-add changes the last bits of a result, and the last bits
# decide a rounded second or a pixel; every machine must print the same bytes.
#
# MORVANE_WARNING_EXCEPTIONS: sanitizer builds switch off the two diagnostics whose flow
# analysis the instrumentation confuses (GCC then reports uninitialised or overlapping
# accesses inside the standard library that cannot happen).
set(MORVANE_WARNING_EXCEPTIONS "" CACHE STRING "Warnings switched off in this build")
function(morvane_target_defaults target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror -ffp-contract=off -fno-fast-math
                                           ${MORVANE_WARNING_EXCEPTIONS})
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

# morvane_add_test(name [QT_MAIN] SOURCES … LIBS … LABELS …): one GoogleTest program, each case a
# CTest test. QT_MAIN runs the cases inside a QCoreApplication, for code that needs an event loop.
function(morvane_add_test name)
  cmake_parse_arguments(ARG "QT_MAIN" "" "SOURCES;LIBS;LABELS" ${ARGN})
  if(ARG_QT_MAIN)
    add_executable(${name} ${ARG_SOURCES} "${PROJECT_SOURCE_DIR}/tests/support/qt_test_main.cpp")
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt6::Core GTest::gtest)
  else()
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  endif()
  morvane_target_defaults(${name})
  target_include_directories(${name} PRIVATE "${PROJECT_SOURCE_DIR}/tests")
  if(NOT ARG_LABELS)
    set(ARG_LABELS unit)
  endif()
  gtest_discover_tests(${name} PROPERTIES LABELS "${ARG_LABELS}" DISCOVERY_TIMEOUT 60)
endfunction()
