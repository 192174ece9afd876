# Shared helpers: one shared library per folder, its version symbols, its test executable.

include(GenerateExportHeader)

# kivo_add_library(<target> EXPORT_MACRO <NAME_EXPORT> EXPORT_HEADER <Folder/FileExport.h> COMPONENT <Name>
#                  [LINK ...] [PRIVATE_LINK ...] [PKG_REQUIRES_PRIVATE ...] [PRECOMPILE <header> ...]
#                  [FOLDERS <dir> ...])
# Sources: every .cpp below src/ (globbed, so adding a file needs no CMake edit), compiled once into the
# object library <target>Objects. The shared library is made of those objects; the library's test
# program links the same objects (see kivo_add_tests), so the tests reach the library's private classes
# although the shared library exports only its public ones. <target>Headers carries what compiling
# against the library needs (its public headers, those of the libraries it stands on) and links nothing.
# The export header is generated into the build tree; every public class carries its library's export
# macro, nothing in a detail namespace or below src/ does. FOLDERS (paths
# relative to the calling CMakeLists.txt) builds one library from several folders, each with its own
# include/, src/ and tests/; without it the calling folder is the one folder.
# COMPONENT names the library for applications: the imported target Kivo::<Name> and the component
# <Name> of the KivoControls CMake package, and the pkg-config module kivo-<name>. The library, its
# public headers (include/ of each folder) and its export header are installed; PKG_REQUIRES_PRIVATE
# lists the pkg-config modules it links privately (for its .pc file). With KIVO_PCH, the standard
# headers most sources use and the PRECOMPILE headers (public headers of the libraries it stands on,
# which most of its sources include) are parsed once for the library rather than once per source.
function(kivo_add_library target)
  cmake_parse_arguments(ARG "" "EXPORT_MACRO;EXPORT_HEADER;COMPONENT" "LINK;PRIVATE_LINK;PKG_REQUIRES_PRIVATE;PRECOMPILE;FOLDERS"
                        ${ARGN})
  if(NOT ARG_EXPORT_MACRO OR NOT ARG_EXPORT_HEADER OR NOT ARG_COMPONENT)
    message(FATAL_ERROR "kivo_add_library(${target}): EXPORT_MACRO, EXPORT_HEADER and COMPONENT are required")
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
  # The version's declarations are an installed header beside the export header:
  # <Folder>/<target>Version.h.
  get_filename_component(export_folder ${ARG_EXPORT_HEADER} DIRECTORY)
  set(KIVO_VERSION_HEADER ${export_folder}/${target}Version.h)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/version.h.in ${CMAKE_CURRENT_BINARY_DIR}/include/${KIVO_VERSION_HEADER} @ONLY)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/version.cpp.in ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.cpp @ONLY)
  set(objects ${target}Objects)
  add_library(${objects} OBJECT ${sources} ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.cpp)
  add_library(${target} SHARED $<TARGET_OBJECTS:${objects}>)
  add_library(Kivo::${ARG_COMPONENT} ALIAS ${target})
  # The standard library's instantiations stay local (see the map).
  target_link_options(${target} PRIVATE "LINKER:--version-script=${PROJECT_SOURCE_DIR}/cmake/LocalSymbols.map")
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${PROJECT_SOURCE_DIR}/cmake/LocalSymbols.map)
  # <NAME>_NO_EXPORT (PLAT_NO_EXPORT, KIVO_CORE_NO_EXPORT, …) keeps a private member of a public class
  # out of the exported symbols, for the ones whose parameters are private types.
  string(REGEX REPLACE "_EXPORT$" "_NO_EXPORT" no_export_macro ${ARG_EXPORT_MACRO})
  generate_export_header(${target} EXPORT_MACRO_NAME ${ARG_EXPORT_MACRO} NO_EXPORT_MACRO_NAME ${no_export_macro}
    EXPORT_FILE_NAME ${CMAKE_CURRENT_BINARY_DIR}/include/${ARG_EXPORT_HEADER})
  # The objects are the shared library's: position-independent, and compiled as "building the library"
  # (the define CMake gives a shared library's own sources), so the public classes keep their default
  # visibility wherever the objects are linked.
  set_target_properties(${objects} PROPERTIES POSITION_INDEPENDENT_CODE ON)
  target_compile_definitions(${objects} PRIVATE ${target}_EXPORTS)

  # The public headers as a file set: their folders are the include folders of the library and of its
  # users, in the build tree and (installed) under the prefix.
  set(header_dirs ${CMAKE_CURRENT_BINARY_DIR}/include)
  set(headers ${CMAKE_CURRENT_BINARY_DIR}/include/${ARG_EXPORT_HEADER} ${CMAKE_CURRENT_BINARY_DIR}/include/${KIVO_VERSION_HEADER})
  foreach(folder IN LISTS folders)
    file(GLOB_RECURSE folder_headers CONFIGURE_DEPENDS ${folder}/include/*.h)
    list(APPEND header_dirs ${folder}/include)
    list(APPEND headers ${folder_headers})
    target_include_directories(${objects} PRIVATE ${folder}/src)
  endforeach()
  target_sources(${target} PUBLIC FILE_SET HEADERS BASE_DIRS ${header_dirs} FILES ${headers})
  target_compile_features(${target} PUBLIC cxx_std_20)

  # Compiling against the library without linking it: the libraries it stands on contribute their own
  # <name>Headers target, anything else (a system library) is used as it is.
  add_library(${target}Headers INTERFACE)
  target_include_directories(${target}Headers INTERFACE ${header_dirs})
  target_compile_features(${target}Headers INTERFACE cxx_std_20)
  set(link_headers)
  foreach(link IN LISTS ARG_LINK)
    if(TARGET ${link}Headers)
      list(APPEND link_headers ${link}Headers)
    else()
      list(APPEND link_headers ${link})
    endif()
  endforeach()
  target_link_libraries(${target}Headers INTERFACE ${link_headers})

  # The objects' private links (Cairo, ICU, …) travel with them to whatever links them.
  target_link_libraries(${objects} PUBLIC ${target}Headers PRIVATE ${ARG_PRIVATE_LINK})
  if(KIVO_PCH)
    target_precompile_headers(${objects} PRIVATE ${KIVO_PCH_STANDARD_HEADERS} ${ARG_PRECOMPILE})
  endif()
  set_target_properties(${target} PROPERTIES KIVO_PRECOMPILE "${ARG_PRECOMPILE}" KIVO_OBJECTS ${objects}
                                             KIVO_LINK "${ARG_LINK}")
  target_link_libraries(${target} PUBLIC ${ARG_LINK} PRIVATE ${ARG_PRIVATE_LINK})
  kivo_soversion(soversion)
  set_target_properties(${target} PROPERTIES
    VERSION ${PROJECT_VERSION}
    SOVERSION ${soversion}
    EXPORT_NAME ${ARG_COMPONENT}
    # Installed, the libraries find one another beside themselves, wherever the prefix is.
    INSTALL_RPATH "$ORIGIN")
  install(TARGETS ${target} EXPORT KivoControlsTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    FILE_SET HEADERS DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

  string(TOLOWER "kivo-${ARG_COMPONENT}" pkg_name)
  set_target_properties(${target} PROPERTIES KIVO_PKG_NAME ${pkg_name} KIVO_PKG_REQUIRES_PRIVATE "${ARG_PKG_REQUIRES_PRIVATE}")
  kivo_write_pkg_config(${target} ${pkg_name} "${ARG_LINK}" "${ARG_PKG_REQUIRES_PRIVATE}")

  set_property(GLOBAL APPEND PROPERTY KIVO_LIBRARIES ${target})
  set_property(GLOBAL APPEND PROPERTY KIVO_PUBLIC_HEADERS ${headers})

  if(KIVO_TESTS)
    # The public headers tell which members are private. The check runs as the library is linked, so
    # an exported private member fails the build that made it, and again under CTest.
    file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/${target}_public_headers.txt "${headers}")
    set(check ${CMAKE_COMMAND} -DLIBRARY=$<TARGET_FILE:${target}> -DNM=${CMAKE_NM}
              -DHEADERS=${CMAKE_CURRENT_BINARY_DIR}/${target}_public_headers.txt
              -P ${PROJECT_SOURCE_DIR}/cmake/CheckExports.cmake)
    add_custom_command(TARGET ${target} POST_BUILD COMMAND ${check} VERBATIM)
    add_test(NAME ExportedSymbols.${target}ExportsNothingPrivate COMMAND ${check})
  endif()
endfunction()

# The standard headers that a library source includes most (directly or through our headers).
set(KIVO_PCH_STANDARD_HEADERS <algorithm> <cmath> <functional> <map> <memory> <mutex> <optional> <string> <vector>)

# The SONAME's version: the major version; while it is 0, every minor version may change the
# interface, so the minor version too (libX.so.0.1).
function(kivo_soversion out)
  if(PROJECT_VERSION_MAJOR EQUAL 0)
    set(${out} ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR} PARENT_SCOPE)
  else()
    set(${out} ${PROJECT_VERSION_MAJOR} PARENT_SCOPE)
  endif()
endfunction()

# kivo_pc_dir(<prefix_out> <dir_out> LIBDIR|INCLUDEDIR): a .pc file's prefix and that folder.
function(kivo_pc_dir prefix_out dir_out kind)
  if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}" OR IS_ABSOLUTE "${CMAKE_INSTALL_INCLUDEDIR}")
    set(${prefix_out} "${CMAKE_INSTALL_PREFIX}" PARENT_SCOPE)
    set(${dir_out} "${CMAKE_INSTALL_FULL_${kind}}" PARENT_SCOPE)
  else()
    file(RELATIVE_PATH up "/prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/prefix")
    string(REGEX REPLACE "/$" "" up "${up}")
    set(${prefix_out} "\${pcfiledir}/${up}" PARENT_SCOPE)
    set(${dir_out} "\${prefix}/${CMAKE_INSTALL_${kind}}" PARENT_SCOPE)
  endif()
endfunction()

# Writes and installs <pkg_name>.pc: the library, the modules of the libraries it links publicly
# (Requires) and the modules it links privately (Requires.private). A sanitizer build's libraries need
# the sanitizers' run-time libraries in the application too, so their flags go with the link flags.
function(kivo_write_pkg_config target pkg_name links private_modules)
  set(requires)
  foreach(link IN LISTS links)
    if(TARGET ${link})
      get_target_property(dep_pkg ${link} KIVO_PKG_NAME)
      if(dep_pkg)
        list(APPEND requires ${dep_pkg})
      endif()
    endif()
  endforeach()
  list(JOIN requires " " KIVO_PC_REQUIRES)
  list(JOIN private_modules ", " KIVO_PC_REQUIRES_PRIVATE)
  string(REPLACE ">=" " >= " KIVO_PC_REQUIRES_PRIVATE "${KIVO_PC_REQUIRES_PRIVATE}")
  # Relocatable: the prefix is found from the .pc file's own place, unless the folders are absolute.
  kivo_pc_dir(KIVO_PC_PREFIX KIVO_PC_LIBDIR LIBDIR)
  kivo_pc_dir(KIVO_PC_PREFIX KIVO_PC_INCLUDEDIR INCLUDEDIR)
  set(KIVO_PC_NAME ${pkg_name})
  set(KIVO_PC_LIBRARY ${target})
  set(KIVO_PC_LINK_FLAGS "")
  if(KIVO_SANITIZE)
    set(KIVO_PC_LINK_FLAGS " -fsanitize=${KIVO_SANITIZERS}")
  endif()
  configure_file(${PROJECT_SOURCE_DIR}/cmake/library.pc.in ${PROJECT_BINARY_DIR}/pkgconfig/${pkg_name}.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/pkgconfig/${pkg_name}.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
  if(KIVO_SANITIZE)
    target_link_options(${target} INTERFACE $<INSTALL_INTERFACE:-fsanitize=${KIVO_SANITIZERS}>)
  endif()
endfunction()

# kivo_link_suite(<target> [OBJECTS]): links every library made by kivo_add_library (the platform, the
# core and each control library), for the programs that show or measure the whole suite (gallery,
# benchmarks). With OBJECTS it links every library's objects instead of its shared library, for a
# program that also reaches private classes (the benchmarks): one copy of each library either way.
# Call it from a folder added after the libraries' folders.
function(kivo_link_suite target)
  cmake_parse_arguments(ARG "OBJECTS" "" "" ${ARGN})
  get_property(libraries GLOBAL PROPERTY KIVO_LIBRARIES)
  if(ARG_OBJECTS)
    list(TRANSFORM libraries APPEND Objects)
  endif()
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
# one GoogleTest executable. It links the library's objects, not its shared library, so that it reaches
# the private classes too, and the shared libraries of the libraries below. Never both the objects and
# the shared library of one library: that would make two copies of its process-wide state (the
# testing helpers compile against <library>Headers for that reason).
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
  if(KIVO_SANITIZE)
    # The test files' own code only sets up and compares; the library code they exercise is linked
    # from its objects and keeps -O1. Unoptimised, the sanitizer build of the test files takes about
    # a third less time.
    target_compile_options(${target} PRIVATE -O0)
  endif()
  foreach(folder IN LISTS folders)
    target_include_directories(${target} PRIVATE ${folder}/src ${folder}/tests)
  endforeach()
  get_target_property(objects ${library} KIVO_OBJECTS)
  get_target_property(below ${library} KIVO_LINK)
  if(NOT below)
    set(below)
  endif()
  target_link_libraries(${target} PRIVATE ${objects} ${below} PlatformTestMain GTest::gtest GTest::gmock)
  if(KIVO_PCH)
    # GoogleTest and GoogleMock cost every test file 1 to 3 s of a sanitizer build; parsed once per
    # program, with the headers the library precompiles for itself.
    get_target_property(library_headers ${library} KIVO_PRECOMPILE)
    if(NOT library_headers)
      set(library_headers)
    endif()
    target_precompile_headers(${target} PRIVATE <gtest/gtest.h> <gmock/gmock.h> ${KIVO_PCH_STANDARD_HEADERS}
                              ${library_headers})
  endif()
  target_compile_definitions(${target} PRIVATE KIVO_SOURCE_DIR="${PROJECT_SOURCE_DIR}" KIVO_BINARY_DIR="${PROJECT_BINARY_DIR}")
  set_property(GLOBAL APPEND PROPERTY KIVO_TEST_PROGRAMS ${target})
  # One CTest test per suite, listed when CTest starts (see KivoSuiteTests.cmake).
  set(include_file ${CMAKE_CURRENT_BINARY_DIR}/${target}_suites.cmake)
  file(GENERATE OUTPUT ${include_file} CONTENT
"set(KIVO_SUITE_PROGRAM [==[$<TARGET_FILE:${target}>]==])
set(KIVO_SUITE_PREFIX [==[${target}]==])
set(KIVO_SUITE_ENV [==[LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/scripts/lsan.supp;UBSAN_OPTIONS=print_stacktrace=1]==])
include([==[${PROJECT_SOURCE_DIR}/cmake/KivoSuiteTests.cmake]==])
")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${include_file})
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

# Installs the CMake package KivoControls: the imported targets (Kivo::<Component>) of every library
# made by kivo_add_library, a config file that finds their dependencies again, and a version file.
# Called once, at the end of the top-level CMakeLists.txt.
function(kivo_install_package)
  include(CMakePackageConfigHelpers)
  set(destination ${CMAKE_INSTALL_LIBDIR}/cmake/KivoControls)
  install(EXPORT KivoControlsTargets NAMESPACE Kivo:: DESTINATION ${destination})

  get_property(libraries GLOBAL PROPERTY KIVO_LIBRARIES)
  set(components)
  set(modules)
  foreach(library IN LISTS libraries)
    get_target_property(component ${library} EXPORT_NAME)
    get_target_property(private_modules ${library} KIVO_PKG_REQUIRES_PRIVATE)
    list(APPEND components ${component})
    list(APPEND modules ${private_modules})
  endforeach()
  list(REMOVE_DUPLICATES modules)
  list(JOIN components " " KIVO_COMPONENTS)
  list(JOIN modules " " KIVO_PKG_MODULES)
  configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/KivoControlsConfig.cmake.in
    ${PROJECT_BINARY_DIR}/cmake/KivoControlsConfig.cmake INSTALL_DESTINATION ${destination})
  # While the major version is 0 a minor version may change the interface (as the SONAME says).
  if(PROJECT_VERSION_MAJOR EQUAL 0)
    set(compatibility SameMinorVersion)
  else()
    set(compatibility SameMajorVersion)
  endif()
  write_basic_package_version_file(${PROJECT_BINARY_DIR}/cmake/KivoControlsConfigVersion.cmake
    COMPATIBILITY ${compatibility})
  install(FILES ${PROJECT_BINARY_DIR}/cmake/KivoControlsConfig.cmake ${PROJECT_BINARY_DIR}/cmake/KivoControlsConfigVersion.cmake
    DESTINATION ${destination})
  # An application linked against a sanitizer build needs LeakSanitizer to overlook fontconfig's
  # process-wide cache, or it exits with status 1: LSAN_OPTIONS=suppressions=<prefix>/share/KivoControls/lsan.supp.
  install(FILES ${PROJECT_SOURCE_DIR}/scripts/lsan.supp DESTINATION ${CMAKE_INSTALL_DATADIR}/KivoControls)
endfunction()

# kivo_add_header_checks(): a generated translation unit per public header of every library, each
# including its header first (twice, for the include guard), compiled into one object library: a
# header that leans on something its includer happened to include first fails to compile here. Only
# the compiler's front end matters, so the sanitizers, debug information and code generation are left
# out. Called once, after every library is added.
function(kivo_add_header_checks)
  get_property(headers GLOBAL PROPERTY KIVO_PUBLIC_HEADERS)
  get_property(libraries GLOBAL PROPERTY KIVO_LIBRARIES)
  set(sources)
  foreach(header IN LISTS headers)
    string(REGEX REPLACE "^.*/include/" "" name "${header}")
    set(source ${PROJECT_BINARY_DIR}/header_checks/${name}.cpp)
    file(CONFIGURE OUTPUT ${source} CONTENT "#include \"${name}\"\n#include \"${name}\"\n" @ONLY)
    list(APPEND sources ${source})
  endforeach()
  add_library(KivoHeaderChecks OBJECT ${sources})
  target_link_libraries(KivoHeaderChecks PRIVATE ${libraries})
  # The front end alone: -fsyntax-only writes no object, so the launcher leaves an empty one in its
  # place (nothing links it) and ninja sees the check done.
  set(options -Wall -Wextra -Wno-unused-parameter -fsyntax-only)
  if(KIVO_WERROR)
    list(APPEND options -Werror)
  endif()
  set_property(TARGET KivoHeaderChecks PROPERTY COMPILE_OPTIONS ${options})
  set_property(TARGET KivoHeaderChecks PROPERTY CXX_COMPILER_LAUNCHER ${PROJECT_SOURCE_DIR}/cmake/syntax_only.sh)
endfunction()
