# A server library: loaded by path like a COM server, no "lib" prefix, and it
# exports exactly the four Dll entry points.
function(voxamen_add_server name)
  add_library(${name} MODULE ${ARGN})
  set_target_properties(${name} PROPERTIES PREFIX "")
  target_link_options(${name} PRIVATE -Wl,--version-script=${PROJECT_SOURCE_DIR}/cmake/server.map)
  # Every symbol resolved at link time, except in fuzzing builds, where the
  # sanitizer runtime of the host program provides them.
  if(NOT VOXAMEN_FUZZ)
    target_link_options(${name} PRIVATE -Wl,--no-undefined)
  endif()
endfunction()
