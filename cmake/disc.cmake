# Shared compile settings and the helpers every module uses to declare tests,
# benchmarks and fuzz targets.

add_compile_options(-Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)
if(DISC_WERROR)
    add_compile_options(-Werror)
endif()

if(DISC_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

if(DISC_FUZZ AND NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "DISC_FUZZ needs clang (configure with CXX=clang++)")
endif()
# The libraries a fuzz target links carry the coverage counters too, or the fuzzer runs blind
# through the code it is meant to explore.
if(DISC_FUZZ)
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

set(DISC_TEST_DIR ${CMAKE_BINARY_DIR}/tests)
set(DISC_BENCH_DIR ${CMAKE_BINARY_DIR}/bench)
set(DISC_FUZZ_DIR ${CMAKE_BINARY_DIR}/fuzz)

# disc_test(<name> SOURCES <files...> LIBS <targets...> [LABELS <labels...>])
# One GoogleTest program, registered with CTest under <name>.
function(disc_test name)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${DISC_TEST_DIR})
    add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
    if(T_LABELS)
        set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
    endif()
endfunction()

# disc_bench(<name> SOURCES <files...> LIBS <targets...>): a Google Benchmark program,
# built only with DISC_BENCH and run by `make bench`.
function(disc_bench name)
    cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
    if(NOT DISC_BENCH)
        return()
    endif()
    add_executable(${name} ${B_SOURCES})
    target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${DISC_BENCH_DIR})
endfunction()

# disc_fuzz(<name> SOURCES <files...> LIBS <targets...>): a libFuzzer target, built only
# with DISC_FUZZ and run for a bounded time by `make fuzz`.
function(disc_fuzz name)
    cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
    if(NOT DISC_FUZZ)
        return()
    endif()
    add_executable(${name} ${F_SOURCES})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_libraries(${name} PRIVATE ${F_LIBS})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${DISC_FUZZ_DIR})
endfunction()
