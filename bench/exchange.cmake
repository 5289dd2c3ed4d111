rr_add_cli_bench(exchange_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/exchange_bench.cpp LIBS rr_exchange_core)
rr_add_cli_bench(favexport_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/favexport_bench.cpp LIBS rr_exchange_core)
