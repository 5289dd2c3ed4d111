rr_add_cli_bench(storage_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/storage_bench.cpp LIBS rr_storage)
