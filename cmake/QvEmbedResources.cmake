# qv_embed_resources(TARGET MANIFEST)
# Turns the files listed in MANIFEST (lines "<id> <path relative to the manifest>", '#' starts a
# comment) into a static library TARGET whose generated source defines FindResource(id) over a
# toolkit-free table of bytes (declared in platform/resources.h). A program links exactly one such
# library: the installer the one of resources/, a test the one of its own fixture files.
function(qv_embed_resources target manifest)
  get_filename_component(manifest "${manifest}" ABSOLUTE)
  get_filename_component(base_dir "${manifest}" DIRECTORY)
  file(STRINGS "${manifest}" lines)
  set(inputs "${manifest}")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "#.*$" "" line "${line}")
    string(STRIP "${line}" line)
    if(line STREQUAL "")
      continue()
    endif()
    if(NOT line MATCHES "^([0-9]+)[ \t]+(.+)$")
      message(FATAL_ERROR "${manifest}: bad line '${line}'")
    endif()
    list(APPEND inputs "${base_dir}/${CMAKE_MATCH_2}")
  endforeach()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${manifest}")

  set(output "${CMAKE_CURRENT_BINARY_DIR}/${target}_table.cpp")
  add_custom_command(
    OUTPUT "${output}"
    COMMAND qv-embed-resources "${manifest}" "${output}"
    DEPENDS qv-embed-resources ${inputs}
    COMMENT "Embedding resources of ${manifest}"
    VERBATIM)
  add_library(${target} STATIC "${output}")
  target_link_libraries(${target} PUBLIC qv_platform)
endfunction()
