# The fuzz targets: fuzz/<name>.cpp each defines LLVMFuzzerTestOneInput and checks an invariant of
# what a control reads from outside; fuzz/corpus/<name>/ holds its seed inputs.
#
# kivo_add_fuzz_targets(): called once, after every library is added.
# - In a test build, fuzz_replay_<name> links the target with a small main that feeds it every file
#   of its corpus, against the objects the test build already has, and the CTest test
#   FuzzCorpus.<name> runs it: a regression among inputs that once failed is caught at almost no cost.
# - With KIVO_FUZZ (clang, see scripts/fuzz), fuzz_<name> is the libFuzzer program.
option(KIVO_FUZZ "Build the coverage-guided fuzz targets with clang's libFuzzer (scripts/fuzz)" OFF)

function(kivo_add_fuzz_targets)
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/fuzz/*.cpp)
  list(FILTER sources EXCLUDE REGEX "/replay_main\\.cpp$")
  foreach(source IN LISTS sources)
    get_filename_component(name ${source} NAME_WE)
    set(programs)
    if(KIVO_TESTS)
      add_executable(fuzz_replay_${name} ${source} ${PROJECT_SOURCE_DIR}/fuzz/replay_main.cpp)
      list(APPEND programs fuzz_replay_${name})
      add_test(NAME FuzzCorpus.${name} COMMAND fuzz_replay_${name} ${PROJECT_SOURCE_DIR}/fuzz/corpus/${name})
      set_tests_properties(FuzzCorpus.${name} PROPERTIES ENVIRONMENT
        "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/scripts/lsan.supp;UBSAN_OPTIONS=print_stacktrace=1")
    endif()
    if(KIVO_FUZZ)
      add_executable(fuzz_${name} ${source})
      target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
      list(APPEND programs fuzz_${name})
    endif()
    foreach(program IN LISTS programs)
      kivo_link_suite(${program} OBJECTS)
      # Private helpers some targets reach (the grid's date reader, the mask's parts).
      target_include_directories(${program} PRIVATE ${PROJECT_SOURCE_DIR}/fuzz ${PROJECT_SOURCE_DIR}/Platform/src
        ${PROJECT_SOURCE_DIR}/OmbriGrid/src ${PROJECT_SOURCE_DIR}/KivoMaskedTextField/src)
      set_target_properties(${program} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/fuzz)
    endforeach()
  endforeach()
endfunction()
