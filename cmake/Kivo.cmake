# Shared helpers: one shared library per folder, its version symbols, its test executable.

# kivo_add_library(<target> <folder-name> [LINK ...])
# Sources: every .cpp below src/ (globbed, so adding a file needs no CMake edit).
function(kivo_add_library target)
  cmake_parse_arguments(ARG "" "" "LINK;PRIVATE_LINK" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/src/*.cpp)
  string(MAKE_C_IDENTIFIER "${target}" ident)
  set(KIVO_VERSION_IDENT ${ident})
  set(KIVO_VERSION_STRING "${PROJECT_VERSION}")
  set(KIVO_VERSION_NUMBER "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}")
  configure_file(${PROJECT_SOURCE_DIR}/cmake/version.cpp.in ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.cpp @ONLY)
  add_library(${target} SHARED ${sources} ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.cpp)
  target_include_directories(${target} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/include PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/src)
  target_link_libraries(${target} PUBLIC ${ARG_LINK} PRIVATE ${ARG_PRIVATE_LINK})
endfunction()

# kivo_add_tests(<target> <library>): every .cpp below tests/ into one GoogleTest executable.
function(kivo_add_tests target library)
  if(NOT KIVO_TESTS)
    return()
  endif()
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${target} ${sources})
  target_include_directories(${target} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/src ${CMAKE_CURRENT_SOURCE_DIR}/tests)
  target_link_libraries(${target} PRIVATE ${library} PlatformTesting GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(${target} PRIVATE KIVO_SOURCE_DIR="${PROJECT_SOURCE_DIR}" KIVO_BINARY_DIR="${PROJECT_BINARY_DIR}")
  gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/scripts/lsan.supp;UBSAN_OPTIONS=print_stacktrace=1")
endfunction()
