# cmake -DLIBRARY=<file.so> -DNM=<nm> -P CheckExports.cmake: fails when the shared library exports a
# symbol of the private namespaces (kivo::detail, plat::detail), whether the symbol is declared there or
# merely takes or instantiates one of their types. Those live in the library's objects, which its tests
# link directly; applications see only what the public headers declare.
if(NOT LIBRARY OR NOT NM)
  message(FATAL_ERROR "usage: cmake -DLIBRARY=<file.so> -DNM=<nm> -P CheckExports.cmake")
endif()
execute_process(COMMAND ${NM} -D --defined-only --demangle ${LIBRARY}
                OUTPUT_VARIABLE symbols ERROR_VARIABLE errors RESULT_VARIABLE result)
if(NOT result EQUAL 0 OR symbols STREQUAL "")
  message(FATAL_ERROR "${NM} could not list the symbols of ${LIBRARY}: ${errors}")
endif()
string(REGEX REPLACE "\n$" "" symbols "${symbols}")
string(REPLACE "\n" ";" lines "${symbols}")
list(LENGTH lines count)
set(private)
foreach(line IN LISTS lines)
  if(line MATCHES "(kivo|plat)::detail::")
    list(APPEND private "${line}")
  endif()
endforeach()
if(private)
  list(LENGTH private private_count)
  list(JOIN private "\n  " listed)
  message(FATAL_ERROR "${LIBRARY} exports ${private_count} of its ${count} symbols from a private namespace:\n  ${listed}")
endif()
message(STATUS "${LIBRARY}: ${count} exported symbols, none from a private namespace")
