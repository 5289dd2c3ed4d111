# Button gallery: every style in every state and the window shapes, on screen and
# as a PNG, for looking at the button's drawing. A viewing tool, not a benchmark.
add_executable(button_gallery ${CMAKE_CURRENT_LIST_DIR}/button_gallery.cpp)
target_link_libraries(button_gallery PRIVATE rr_controls)
rr_target_defaults(button_gallery)
