rr_add_cli_bench(listfill_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/listfill_bench.cpp LIBS rr_app)
