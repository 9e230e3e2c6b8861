# qv_embed_resources(TARGET MANIFEST)
# Makes the files listed in MANIFEST (lines "<id> <path relative to the manifest> [icon]", '#'
# starts a comment) the resources of the programs that link TARGET, each under its id, read
# through FindResource(id) (platform/resources.h). A program links exactly one such target: the
# installer the one of resources/, a test the one of its own fixture files.
#   Linux:   a static library whose generated source (tools/embed-resources) holds the files as
#            byte arrays and defines FindResource over them.
#   Windows: an object library of one compiled resource script
#            (tools/embed-resources/write_resource_script.py): entries marked "icon" are ICON
#            resources, the rest are of the type "Binary"; FindResource is src/platform/win32's.
#            An object library, since a resource object has no symbol that would pull it out of a
#            static archive into the program.
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
    if(NOT line MATCHES "^([0-9]+)[ \t]+([^ \t]+)([ \t]+icon)?$")
      message(FATAL_ERROR "${manifest}: bad line '${line}'")
    endif()
    list(APPEND inputs "${base_dir}/${CMAKE_MATCH_2}")
  endforeach()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${manifest}")

  if(WIN32)
    find_package(Python3 REQUIRED COMPONENTS Interpreter)
    set(script "${PROJECT_SOURCE_DIR}/tools/embed-resources/write_resource_script.py")
    set(output "${CMAKE_CURRENT_BINARY_DIR}/${target}.rc")
    add_custom_command(
      OUTPUT "${output}"
      COMMAND Python3::Interpreter "${script}" "${manifest}" "${output}"
              "${CMAKE_CURRENT_BINARY_DIR}/${target}_icons"
      DEPENDS "${script}" ${inputs}
      COMMENT "Writing the resource script of ${manifest}"
      VERBATIM)
    add_library(${target} OBJECT "${output}")
    # The script names every file it holds: a changed file compiles it again.
    set_source_files_properties("${output}" PROPERTIES OBJECT_DEPENDS "${inputs}")
  else()
    set(output "${CMAKE_CURRENT_BINARY_DIR}/${target}_table.cpp")
    add_custom_command(
      OUTPUT "${output}"
      COMMAND qv-embed-resources "${manifest}" "${output}"
      DEPENDS qv-embed-resources ${inputs}
      COMMENT "Embedding resources of ${manifest}"
      VERBATIM)
    # Objects, not an archive: the table is linked whole into each program that names it, even
    # when the first use of FindResource comes later on the link line than the target.
    add_library(${target} OBJECT "${output}")
  endif()
  target_link_libraries(${target} PUBLIC qv_platform)
endfunction()
