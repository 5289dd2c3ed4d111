rr_add_cli_bench(startup_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/startup_bench.cpp LIBS rr_storage)
target_compile_definitions(startup_bench PRIVATE RR_APP_BINARY="$<TARGET_FILE:razuzezu-revidod>")
add_dependencies(startup_bench razuzezu-revidod)
