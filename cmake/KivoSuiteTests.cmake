# Read by CTest (not by CMake) for one test program: lists the program's tests and adds one CTest test
# per suite, which runs the whole suite in one process. Starting a sanitizer build with its shared
# libraries and fonts costs about a second, far more than most tests take, so a process per test
# would spend most of the run starting. Tests stay independent of each other in one process (the
# test main resets the process-wide state before each), which the shuffled runs of scripts/test check.
# Variables set by the including file: KIVO_SUITE_PROGRAM, KIVO_SUITE_PREFIX, KIVO_SUITE_ENV.
if(NOT EXISTS "${KIVO_SUITE_PROGRAM}")
  add_test("${KIVO_SUITE_PREFIX}_NOT_BUILT" "${KIVO_SUITE_PROGRAM}")
  return()
endif()
execute_process(COMMAND "${KIVO_SUITE_PROGRAM}" --gtest_list_tests
                OUTPUT_VARIABLE listing ERROR_VARIABLE errors RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(WARNING "${KIVO_SUITE_PROGRAM} --gtest_list_tests failed (${result}): ${errors}")
  add_test("${KIVO_SUITE_PREFIX}_LISTING_FAILED" "${KIVO_SUITE_PROGRAM}" --gtest_list_tests)
  return()
endif()
string(REPLACE ";" "\\;" listing "${listing}")
string(REPLACE "\n" ";" lines "${listing}")
foreach(line IN LISTS lines)
  # A suite line starts in the first column and ends with "." (typed suites add "  # TypeParam = …").
  if(line MATCHES "^([^ #][^ ]*)\\.( .*)?$")
    set(suite "${CMAKE_MATCH_1}")
    add_test("${suite}" "${KIVO_SUITE_PROGRAM}" "--gtest_filter=${suite}.*" --gtest_brief=1)
    set_tests_properties("${suite}" PROPERTIES ENVIRONMENT "${KIVO_SUITE_ENV}")
  endif()
endforeach()
