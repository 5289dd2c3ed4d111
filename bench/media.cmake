# Thumbnail encoding: palette build and GIF coding of page-sized pictures.
rr_add_bench(media_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/media_bench.cpp LIBS rr_media_image)
