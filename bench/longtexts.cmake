rr_add_cli_bench(longtexts_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/longtexts_bench.cpp LIBS rr_app Qt6::Test)
