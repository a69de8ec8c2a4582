# Compiler flags shared by every target.
#
# Floating point stays IEEE everywhere: pixels, SVG numbers and file bytes are
# compared exactly, so no fused multiply-add contraction, no fast-math and no
# host-specific instruction selection.
add_compile_options(-Wall -Wextra -ffp-contract=off -fno-fast-math)

if(PENWICK_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

if(PENWICK_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "PENWICK_FUZZ needs clang (use the fuzz preset)")
    endif()
    # Every library gets coverage instrumentation; only fuzz targets link the fuzzer's main.
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

# Registers one GoogleTest executable with CTest.
#   penwick_test(NAME model_tests SOURCES a_test.cpp ... LIBS penwick_model)
function(penwick_test)
    cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} penwick_test_support
        GTest::gtest GTest::gtest_main)
    target_compile_definitions(${T_NAME} PRIVATE
        PENWICK_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
        PENWICK_BINARY_DIR="${PROJECT_BINARY_DIR}")
    gtest_discover_tests(${T_NAME} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
endfunction()
