rr_add_cli_bench(web_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/web_bench.cpp LIBS rr_web_core)
