# Icon runs: one Vardeck at a time against a few downloads in flight, on two local
# sites served by the tests' own HTTP server (127.0.0.1 only).
rr_add_cli_bench(icons_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/icons_bench.cpp
  ${PROJECT_SOURCE_DIR}/tests/support/httpserver.cpp LIBS rr_media_core Qt6::Network)
target_include_directories(icons_bench PRIVATE ${PROJECT_SOURCE_DIR}/tests)
