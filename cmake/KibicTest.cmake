# kibic_add_test(NAME sources... [GUI] [LABELS l...] [TIMEOUT s])
# One QtTest executable under CTest. Logic tests link kibic_core only; GUI tests link kibic_gui.
# Every test runs with the offscreen platform and a private registry folder.
# The outside sample files live beside the project's folder; tests that use them skip when absent.
get_filename_component(KIBIC_SAMPLES_DIR "${PROJECT_SOURCE_DIR}/../shared/samples" ABSOLUTE)

# The environment of every test. The Windows build's tests run under wine (the toolchain's emulator),
# in a wine prefix of the build's own; wine hands a variable QT_x to the program only as WINEQT_x, and
# QtTest prints through OutputDebugString unless told otherwise. Scoring databases made by the tests
# are SQLite files there too (wine has no Access driver).
set(KIBIC_TEST_ENVIRONMENT
  "QT_QPA_PLATFORM=offscreen"
  "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0"
  "UBSAN_OPTIONS=print_stacktrace=1")
if(WIN32)
  set(KIBIC_WINEPREFIX "${PROJECT_BINARY_DIR}/wine" CACHE PATH "The wine prefix the Windows tests run in")
  list(APPEND KIBIC_TEST_ENVIRONMENT
    "WINEPREFIX=${KIBIC_WINEPREFIX}" "WINEDEBUG=-all" "WINEDLLOVERRIDES=mscoree,mshtml="
    "WINEQT_QPA_PLATFORM=offscreen" "WINEQT_FORCE_STDERR_LOGGING=1"
    "WINEQT_QPA_FONTDIR=/usr/share/fonts/truetype/dejavu"
    "KIBIC_DB_BACKEND=sqlite")
  # Each test program runs through scripts/wine-test, which ends the test when the program ends even
  # while wine's own background processes, started by the first program of the session, live on.
  set(KIBIC_WINE_TEST "${PROJECT_SOURCE_DIR}/scripts/wine-test")
endif()

function(kibic_add_test name)
  cmake_parse_arguments(ARG "GUI" "TIMEOUT" "LABELS;LIBS" ${ARGN})
  add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
  if(WIN32)
    kibic_windows_resource(${name} "Kibic - test")
  endif()
  if(ARG_GUI)
    target_link_libraries(${name} PRIVATE kibic_gui Qt6::Test ${ARG_LIBS})
  else()
    target_link_libraries(${name} PRIVATE kibic_core Qt6::Test ${ARG_LIBS})
  endif()
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE
    KIBIC_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data"
    KIBIC_SAMPLES_DIR="${KIBIC_SAMPLES_DIR}"
    KIBIC_BINARY_DIR="${PROJECT_BINARY_DIR}")
  if(WIN32)
    set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR "${KIBIC_WINE_TEST}")
  endif()
  add_test(NAME ${name} COMMAND ${name})
  set(timeout 120)
  if(ARG_TIMEOUT)
    set(timeout ${ARG_TIMEOUT})
  endif()
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "${KIBIC_TEST_ENVIRONMENT}"
    TIMEOUT ${timeout})
  if(ARG_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABELS}")
  endif()
endfunction()

# kibic_add_odbc_variant(NAME TARGET [ARGS...] [LABELS l...]): the test program once more, through
# unixODBC and the SQLite ODBC driver, so that the ODBC path runs for real. Under wine no ODBC driver is
# installed (neither that one nor the Access driver), so in the Windows build the variant is disabled.
function(kibic_add_odbc_variant name target)
  cmake_parse_arguments(ARG "" "" "LABELS" ${ARGN})
  add_test(NAME ${name} COMMAND ${target} ${ARG_UNPARSED_ARGUMENTS})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;KIBIC_DB_BACKEND=odbc;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0"
    TIMEOUT 120)
  if(ARG_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABELS}")
  endif()
  if(WIN32)
    set_tests_properties(${name} PROPERTIES DISABLED TRUE)
  endif()
endfunction()

# The environment that makes the Jet stand-in (tools/jet-standin) the registered "Microsoft Access
# Driver (*.mdb)" through the build's own odbcinst.ini (never the system's), with the scoring databases
# on the Access path and lock waits shortened to 3 tries 20 ms apart (the driver's default is Jet's,
# 20 tries 100 ms apart).
set(KIBIC_ACCESS_TEST_ENVIRONMENT
  "QT_QPA_PLATFORM=offscreen"
  "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0"
  "UBSAN_OPTIONS=print_stacktrace=1"
  "ODBCSYSINI=${PROJECT_BINARY_DIR}/jet-standin"
  "ODBCINSTINI=odbcinst.ini"
  "KIBIC_DB_BACKEND=access"
  "KIBIC_JET_LOCK_RETRY=3"
  "KIBIC_JET_LOCK_DELAY_MS=20")

# kibic_use_access_environment(TEST): an existing test runs with the Access environment above.
function(kibic_use_access_environment name)
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${KIBIC_ACCESS_TEST_ENVIRONMENT}")
  if(WIN32)
    set_tests_properties(${name} PROPERTIES DISABLED TRUE)
  endif()
endfunction()

# kibic_add_access_variant(NAME TARGET [ARGS...] [LABELS l...]): the test program once more, on the
# Access path through the Jet stand-in. Under wine there is no ODBC driver, so in the Windows build the
# variant is disabled.
function(kibic_add_access_variant name target)
  cmake_parse_arguments(ARG "" "" "LABELS" ${ARGN})
  add_test(NAME ${name} COMMAND ${target} ${ARG_UNPARSED_ARGUMENTS})
  set_tests_properties(${name} PROPERTIES TIMEOUT 120)
  kibic_use_access_environment(${name})
  if(ARG_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABELS}")
  endif()
  if(NOT WIN32)
    add_dependencies(${target} kibic_jet_standin)
  endif()
endfunction()
