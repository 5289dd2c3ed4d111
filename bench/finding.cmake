rr_add_cli_bench(finding_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/finding_bench.cpp LIBS rr_finding_core)
rr_add_cli_bench(searchwindow_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/searchwindow_bench.cpp LIBS rr_app)
