# kibic_add_test(NAME sources... [GUI] [LABELS l...] [TIMEOUT s])
# One QtTest executable under CTest. Logic tests link kibic_core only; GUI tests link kibic_gui.
# Every test runs with the offscreen platform and a private registry folder.
# The outside sample files live beside the project's folder; tests that use them skip when absent.
set(KIBIC_SAMPLES_DIR "${PROJECT_SOURCE_DIR}/../shared/samples")
if(NOT EXISTS "${KIBIC_SAMPLES_DIR}" AND EXISTS "/work/shared/samples")
  set(KIBIC_SAMPLES_DIR "/work/shared/samples")
endif()

function(kibic_add_test name)
  cmake_parse_arguments(ARG "GUI" "TIMEOUT" "LABELS;LIBS" ${ARGN})
  add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
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
  add_test(NAME ${name} COMMAND ${name})
  set(timeout 120)
  if(ARG_TIMEOUT)
    set(timeout ${ARG_TIMEOUT})
  endif()
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp;UBSAN_OPTIONS=print_stacktrace=1"
    TIMEOUT ${timeout})
  if(ARG_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABELS}")
  endif()
endfunction()
