# libFuzzer targets (clang only). Each fuzz_<name>.cpp of a folder becomes a
# target and a ctest test of the same name that runs it for
# DELVAR_FUZZ_SECONDS over its corpus folder in the build tree. A source whose
# first line is "// seeds: <folder>" also reads the shared recordings of that
# folder; targets that write their own seeds do so into the corpus folder
# when they start (LLVMFuzzerInitialize).
set(DELVAR_FUZZ_SECONDS 5 CACHE STRING "Seconds each fuzz target runs under ctest")

# delvar_add_fuzz_targets(LIBRARIES lib... [INCLUDES dir...] [OPTIONS flag...])
# OPTIONS are extra libFuzzer flags for every target of the folder.
function(delvar_add_fuzz_targets)
  cmake_parse_arguments(FZ "" "" "LIBRARIES;INCLUDES;OPTIONS" ${ARGN})
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(WARNING "DELVAR_FUZZ needs clang; fuzz targets in ${CMAKE_CURRENT_SOURCE_DIR} skipped")
    return()
  endif()
  string(JOIN " " options ${FZ_OPTIONS})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_*.cpp)
  foreach(src ${sources})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/fuzz ${FZ_INCLUDES})
    target_link_libraries(${name} PRIVATE ${FZ_LIBRARIES})
    set(seeds "")
    file(STRINGS ${src} seedline LIMIT_COUNT 1 REGEX "^// seeds: ")
    if(seedline)
      string(REPLACE "// seeds: " "" seeddir "${seedline}")
      set(seeds ${DELVAR_TESTDATA}/${seeddir})
    endif()
    set(corpus ${CMAKE_CURRENT_BINARY_DIR}/${name}_corpus)
    # Undefined behaviour stops the run like a crash does, so it fails the test.
    add_test(NAME ${name}
             COMMAND sh -c "mkdir -p '${corpus}'; S=''; [ -n '${seeds}' ] && [ -d '${seeds}' ] && S='${seeds}'; ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 '$<TARGET_FILE:${name}>' -max_total_time=${DELVAR_FUZZ_SECONDS} -rss_limit_mb=2048 -max_len=65536 ${options} '${corpus}' $S > '${corpus}.log' 2>&1; rc=$?; tail -n 4 '${corpus}.log'; exit $rc")
  endforeach()
endfunction()
