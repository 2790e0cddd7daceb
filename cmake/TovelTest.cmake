# tovel_add_test(<name> SOURCES ... LIBRARIES ... [LABELS ...] [ENVIRONMENT ...])
# Builds one GoogleTest executable with the shared test main (which creates a
# QApplication) and registers it with CTest, run on the offscreen platform.
function(tovel_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES;LABELS;ENVIRONMENT" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(${name} PRIVATE tovel::testmain ${ARG_LIBRARIES})
  tovel_warnings(${name})
  # Test code builds without optimisation, in half the time; the code under test comes
  # optimised from its libraries and programs as users get it.
  target_compile_options(${name} PRIVATE -O0)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TOVEL_SESSION=${name};TOVEL_TEST_DATA=${CMAKE_SOURCE_DIR}/tests/data;TOVEL_PROGRAM_BIN=${TOVEL_PROGRAM_DIR};TOVEL_SQL_DIR=${CMAKE_SOURCE_DIR}/src/caller/sql;${ARG_ENVIRONMENT}"
    LABELS "${ARG_LABELS}"
    TIMEOUT 600)
endfunction()

# tovel_add_xvfb_test(<name> <test executable> [arguments...])
# Runs a test executable once more on a real X server (xvfb-run), for what the offscreen
# platform cannot do: popups that grab the pointer and keyboard, focus between windows,
# input methods, window sizing.
function(tovel_add_xvfb_test name target)
  add_test(NAME ${name} COMMAND xvfb-run -a -s "-screen 0 1280x800x24" $<TARGET_FILE:${target}> ${ARGN})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=xcb;TOVEL_SESSION=${name}"
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    TIMEOUT 300)
endfunction()

# A test program's cases run on a real X server with the accessibility bus up, where Qt
# delivers accessibility events (tests/scripts/with_accessibility_bus.sh).
function(tovel_add_accessibility_test name target)
  add_test(NAME ${name} COMMAND xvfb-run -a -s "-screen 0 1280x800x24"
    bash ${PROJECT_SOURCE_DIR}/tests/scripts/with_accessibility_bus.sh $<TARGET_FILE:${target}> ${ARGN})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=xcb;TOVEL_SESSION=${name}"
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    TIMEOUT 300)
endfunction()
