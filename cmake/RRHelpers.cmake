# Common compile settings for every target of the project.
function(rr_target_defaults target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wno-unused-parameter)
  if(RR_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-sanitize-recover=undefined
                                             -fno-omit-frame-pointer)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()

# Adds a library made of every source of the calling folder's list.
function(rr_add_library target)
  cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC_LIBS" ${ARGN})
  add_library(${target} STATIC ${ARG_SOURCES})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${target} PUBLIC ${ARG_PUBLIC_LIBS})
  rr_target_defaults(${target})
  rr_precompile(${target})
endfunction()

# The Qt headers make most of a source's compile time: each library compiles the
# ones its sources share once. A library that links the widgets gets the window set.
option(RR_PRECOMPILED_HEADERS "Compile the shared Qt headers once per library" ON)
function(rr_precompile target)
  if(NOT RR_PRECOMPILED_HEADERS)
    return()
  endif()
  get_target_property(libs ${target} LINK_LIBRARIES)
  set(header ${PROJECT_SOURCE_DIR}/cmake/pch/core.h)
  foreach(lib IN LISTS libs)
    if(lib MATCHES "Widgets|_ui$|^rr_controls$|^rr_platform_gui$|^rr_shell$|^rr_explorer$|^rr_dialogs$")
      set(header ${PROJECT_SOURCE_DIR}/cmake/pch/gui.h)
    endif()
  endforeach()
  target_precompile_headers(${target} PRIVATE ${header})
endfunction()
