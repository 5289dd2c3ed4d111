rr_add_cli_bench(dialogs_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/dialogs_bench.cpp LIBS rr_dialogs)
