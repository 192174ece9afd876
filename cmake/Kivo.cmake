# Shared helpers: one shared library per folder, its version symbols, its test executable.

include(GenerateExportHeader)

# kivo_add_library(<target> EXPORT_MACRO <NAME_EXPORT> EXPORT_HEADER <Folder/FileExport.h> [LINK ...] [PRIVATE_LINK ...]
#                  [FOLDERS <dir> ...])
# Sources: every .cpp below src/ (globbed, so adding a file needs no CMake edit). The export header is
# generated into the build tree; every public class carries its library's export macro. FOLDERS (paths
# relative to the calling CMakeLists.txt) builds one library from several folders, each with its own
# include/, src/ and tests/; without it the calling folder is the one folder.
function(kivo_add_library target)
  cmake_parse_arguments(ARG "" "EXPORT_MACRO;EXPORT_HEADER" "LINK;PRIVATE_LINK;FOLDERS" ${ARGN})
  if(NOT ARG_EXPORT_MACRO OR NOT ARG_EXPORT_HEADER)
    message(FATAL_ERROR "kivo_add_library(${target}): EXPORT_MACRO and EXPORT_HEADER are required")
  endif()
  kivo_folders(folders ${ARG_FOLDERS})
  list(TRANSFORM folders APPEND /src/*.cpp OUTPUT_VARIABLE patterns)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${patterns})
  string(MAKE_C_IDENTIFIER "${target}" ident)
  set(KIVO_VERSION_IDENT ${ident})
  set(KIVO_VERSION_STRING "${PROJECT_VERSION}")
  set(KIVO_VERSION_NUMBER "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}")
  set(KIVO_VERSION_EXPORT_HEADER ${ARG_EXPORT_HEADER})
  set(KIVO_VERSION_EXPORT_MACRO ${ARG_EXPORT_MACRO})
  configure_file(${PROJECT_SOURCE_DIR}/cmake/version.cpp.in ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.cpp @ONLY)
  add_library(${target} SHARED ${sources} ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.cpp)
  foreach(folder IN LISTS folders)
    target_include_directories(${target} PUBLIC ${folder}/include PRIVATE ${folder}/src)
  endforeach()
  target_link_libraries(${target} PUBLIC ${ARG_LINK} PRIVATE ${ARG_PRIVATE_LINK})
  generate_export_header(${target} EXPORT_MACRO_NAME ${ARG_EXPORT_MACRO}
    EXPORT_FILE_NAME ${CMAKE_CURRENT_BINARY_DIR}/include/${ARG_EXPORT_HEADER})
  target_include_directories(${target} PUBLIC ${CMAKE_CURRENT_BINARY_DIR}/include)
  set_property(GLOBAL APPEND PROPERTY KIVO_LIBRARIES ${target})
endfunction()

# kivo_link_suite(<target>): links every library made by kivo_add_library (the platform, the core and
# each control library), for the programs that show or measure the whole suite (gallery, benchmarks).
# Call it from a folder added after the libraries' folders.
function(kivo_link_suite target)
  get_property(libraries GLOBAL PROPERTY KIVO_LIBRARIES)
  target_link_libraries(${target} PRIVATE ${libraries})
endfunction()

# The absolute folders of a library: the FOLDERS given (relative to the calling CMakeLists.txt), else
# the calling folder.
function(kivo_folders out)
  set(folders)
  foreach(folder IN LISTS ARGN)
    get_filename_component(folder ${folder} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    list(APPEND folders ${folder})
  endforeach()
  if(NOT folders)
    set(folders ${CMAKE_CURRENT_SOURCE_DIR})
  endif()
  set(${out} ${folders} PARENT_SCOPE)
endfunction()

# kivo_add_tests(<target> <library> [FOLDERS <dir> ...]): every .cpp below tests/ (of each folder) into
# one GoogleTest executable.
function(kivo_add_tests target library)
  if(NOT KIVO_TESTS)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "FOLDERS" ${ARGN})
  kivo_folders(folders ${ARG_FOLDERS})
  list(TRANSFORM folders APPEND /tests/*.cpp OUTPUT_VARIABLE patterns)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${patterns})
  if(NOT sources)
    return()
  endif()
  add_executable(${target} ${sources})
  foreach(folder IN LISTS folders)
    target_include_directories(${target} PRIVATE ${folder}/src ${folder}/tests)
  endforeach()
  target_link_libraries(${target} PRIVATE ${library} PlatformTestMain GTest::gtest GTest::gmock)
  if(KIVO_PCH)
    # GoogleTest and GoogleMock cost every test file 1 to 3 s of a sanitizer build; parsed once per program.
    target_precompile_headers(${target} PRIVATE <gtest/gtest.h> <gmock/gmock.h> <functional> <memory> <string> <vector>)
  endif()
  target_compile_definitions(${target} PRIVATE KIVO_SOURCE_DIR="${PROJECT_SOURCE_DIR}" KIVO_BINARY_DIR="${PROJECT_BINARY_DIR}")
  set_property(GLOBAL APPEND PROPERTY KIVO_TEST_PROGRAMS ${target})
  gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/scripts/lsan.supp;UBSAN_OPTIONS=print_stacktrace=1")
endfunction()

# Writes <build>/test_programs.txt, one test executable per line, for the runs that follow CTest in
# scripts/test (every program once more in a single process, in shuffled order). Called once, at the
# end of the top-level CMakeLists.txt, when every library has added its tests.
function(kivo_write_test_program_list)
  get_property(programs GLOBAL PROPERTY KIVO_TEST_PROGRAMS)
  list(TRANSFORM programs REPLACE "^(.+)$" "$<TARGET_FILE:\\1>")
  list(JOIN programs "\n" content)
  file(GENERATE OUTPUT ${PROJECT_BINARY_DIR}/test_programs.txt CONTENT "${content}\n")
endfunction()
