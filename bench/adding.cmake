rr_add_cli_bench(adding_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/adding_bench.cpp LIBS rr_app)
