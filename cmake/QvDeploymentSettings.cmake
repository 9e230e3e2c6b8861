# Deployment settings of the installer: build-time cache variables written into a generated
# header. The installer reads no environment variables and no command-line options of its own;
# the defaults are the production placeholders, the demo and the tests build with loopback values.

set(QV_API_BASE_URL "https://api.qvorvane.example" CACHE STRING "Scheme and host (and port) of the web API")
set(QV_STATS_BASE_URL "http://stat.qvorvane.example" CACHE STRING "Scheme and host of the statistics service")
set(QV_CDN_HOST "cdn.qvorvane.example" CACHE STRING "Static content host inside the two download markers")
set(QV_PROBE_URL "https://www.wikipedia.org/" CACHE STRING "Connectivity probe URL")
set(QV_HOME_URL "https://www.qvorvane.example/" CACHE STRING "Platform home page (HelpLink, URLInfoAbout)")
set(QV_GAME_WEB_BASE_URL "https://tov3.qvorvane.example" CACHE STRING "Scheme and host of the featured game's web page")
set(QV_CA_BUNDLE "" CACHE STRING "Optional CA file for verified transfers; empty means the system store")
set(QV_MACHINE_ROOT_DEFAULT "/var/lib/qvorvane" CACHE STRING "Default machine root of the stand-in platform")

foreach(_qv_setting IN ITEMS QV_API_BASE_URL QV_STATS_BASE_URL QV_CDN_HOST QV_PROBE_URL QV_HOME_URL
                             QV_GAME_WEB_BASE_URL QV_CA_BUNDLE QV_MACHINE_ROOT_DEFAULT)
  if("${${_qv_setting}}" MATCHES "[\"\\\\\n]")
    message(FATAL_ERROR "${_qv_setting} must not contain a double quote, a backslash or a line break")
  endif()
endforeach()

configure_file("${CMAKE_CURRENT_LIST_DIR}/deployment_settings.h.in"
               "${CMAKE_BINARY_DIR}/generated/qv/deployment_settings.h" @ONLY)

add_library(qv_settings INTERFACE)
target_include_directories(qv_settings INTERFACE "${CMAKE_BINARY_DIR}/generated")
