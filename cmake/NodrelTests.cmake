# nd_add_tests(NAME SOURCES a.cpp b.cpp LIBS x y [LABELS threads])
# Builds one GoogleTest executable and registers each of its tests with ctest.
# The label "threads" marks the executables whose tests start threads (the
# workspace loader, the pulse and autosave threads, the updater's workers):
# `make test-tsan` builds and runs those under ThreadSanitizer.
function(nd_add_tests name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main Threads::Threads)
    set(properties TIMEOUT 600)
    if(ARG_LABELS)
        list(APPEND properties LABELS "${ARG_LABELS}")
        set_property(GLOBAL APPEND PROPERTY ND_THREAD_TEST_TARGETS ${name})
    endif()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ${properties})
endfunction()

# nd_add_bench(NAME SOURCES a.cpp LIBS x y)
# A Google Benchmark program under build/bench/, built by `make bench`.
function(nd_add_bench name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    if(NOT TARGET benchmark::benchmark)
        return()
    endif()
    add_executable(${name} EXCLUDE_FROM_ALL ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark Threads::Threads)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
    add_dependencies(benchmarks ${name})
endfunction()

# nd_add_display_tests(TARGET NAME SOURCES a.cpp LIBS x y TIMEOUT s [DEFINES D=v])
# A GoogleTest program that drives the real nodrel (and nodrel-tool) on a
# private Xvfb server: ctest runs it whole, as test NAME, under
# tools/testing/with-xvfb.sh.
function(nd_add_display_tests target)
    cmake_parse_arguments(ARG "" "NAME;TIMEOUT" "SOURCES;LIBS;DEFINES" ${ARGN})
    add_executable(${target} ${ARG_SOURCES})
    target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${target} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main
                                            Threads::Threads)
    target_compile_definitions(${target} PRIVATE
        ND_NODREL_PATH="$<TARGET_FILE:nodrel>"
        ND_TOOL_PATH="$<TARGET_FILE:nodrel-tool>"
        ${ARG_DEFINES})
    add_dependencies(${target} nodrel nodrel-tool)
    add_test(NAME ${ARG_NAME}
             COMMAND ${PROJECT_SOURCE_DIR}/tools/testing/with-xvfb.sh $<TARGET_FILE:${target}>)
    set_tests_properties(${ARG_NAME} PROPERTIES TIMEOUT ${ARG_TIMEOUT})
endfunction()
