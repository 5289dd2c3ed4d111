rr_add_cli_bench(web_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/web_bench.cpp LIBS rr_web_core)
rr_add_cli_bench(webaspect_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/webaspect_bench.cpp LIBS rr_web_ui Qt6::WebEngineWidgets)
rr_add_cli_bench(webswitch_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/webswitch_bench.cpp LIBS rr_web_ui Qt6::WebEngineWidgets)
