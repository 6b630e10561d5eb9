# orvane_add_fuzzer(NAME name LABEL label SOURCES ... COVERED ... LIBS ... CORPUS dir)
# A libFuzzer program (clang, ORVANE_FUZZ=ON). COVERED are product sources
# compiled again with coverage so that the fuzzer is guided through them;
# LIBS supply the rest. The program is also a CTest test that fuzzes for
# ORVANE_FUZZ_SECONDS from the committed seed corpus with a fixed seed; new
# inputs go to the build tree, never into the sources.
set(ORVANE_FUZZ_SECONDS 20 CACHE STRING "How long each fuzz test runs")
set(orvane_fuzz_sanitizers -fsanitize=address,undefined -fno-sanitize-recover=all)

function(orvane_add_fuzzer)
    cmake_parse_arguments(F "" "NAME;LABEL;CORPUS" "SOURCES;COVERED;LIBS" ${ARGN})
    add_executable(${F_NAME} ${F_SOURCES} ${F_COVERED})
    set_source_files_properties(${F_SOURCES} ${F_COVERED} TARGET_DIRECTORY ${F_NAME}
        PROPERTIES COMPILE_OPTIONS "-fsanitize=fuzzer-no-link")
    target_compile_options(${F_NAME} PRIVATE ${orvane_fuzz_sanitizers} -fno-omit-frame-pointer -g)
    target_link_options(${F_NAME} PRIVATE -fsanitize=fuzzer ${orvane_fuzz_sanitizers})
    target_link_libraries(${F_NAME} PRIVATE ${F_LIBS})
    target_include_directories(${F_NAME} PRIVATE ${CMAKE_SOURCE_DIR}/tests/settings/fuzz
        ${CMAKE_SOURCE_DIR}/tests/support)
    set(work ${CMAKE_CURRENT_BINARY_DIR}/${F_NAME}-corpus)
    file(MAKE_DIRECTORY ${work})
    add_test(NAME ${F_LABEL}.${F_NAME}
        COMMAND ${F_NAME} -seed=1 -max_total_time=${ORVANE_FUZZ_SECONDS} -timeout=10
                -rss_limit_mb=2048 -print_final_stats=1 ${work} ${F_CORPUS})
    set_tests_properties(${F_LABEL}.${F_NAME} PROPERTIES LABELS "${F_LABEL};fuzz"
        TIMEOUT 300 ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
