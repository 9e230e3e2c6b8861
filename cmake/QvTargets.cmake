# Helpers that give every target of our own the same language level and warning policy.

set(QV_WARNING_FLAGS -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast
    -Wcast-align -Woverloaded-virtual -Wformat=2 -Wimplicit-fallthrough -Werror)

function(qv_apply_warnings target)
  target_compile_options(${target} PRIVATE ${QV_WARNING_FLAGS})
endfunction()

# qv_add_layer(NAME SOURCES... [DEPENDS libs...])
# One static library per layer; its public include root is src/, so headers are included as
# "util/text_conversion.h" and a lower layer can never reach a higher one unless it links it.
function(qv_add_layer name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
  target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
  target_compile_features(${name} PUBLIC cxx_std_20)
  qv_apply_warnings(${name})
endfunction()
