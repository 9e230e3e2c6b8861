# QV_SANITIZE selects an instrumented build of everything (our code, GoogleTest, test fixtures):
#   ""          normal build
#   "address"   AddressSanitizer + UndefinedBehaviorSanitizer
#   "thread"    ThreadSanitizer
#   "fuzzer"    the fuzz targets' build (clang only): AddressSanitizer + UndefinedBehaviorSanitizer
#               with libFuzzer's coverage instrumentation; the fuzz targets link libFuzzer itself
set(QV_SANITIZE "" CACHE STRING "Sanitizer build: empty, address, thread or fuzzer")
set_property(CACHE QV_SANITIZE PROPERTY STRINGS "" address thread fuzzer)

if(QV_SANITIZE STREQUAL "address")
  set(_qv_san_flags -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
elseif(QV_SANITIZE STREQUAL "thread")
  set(_qv_san_flags -fsanitize=thread -fno-omit-frame-pointer)
elseif(QV_SANITIZE STREQUAL "fuzzer")
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "QV_SANITIZE=fuzzer needs clang (the fuzz preset sets it)")
  endif()
  set(_qv_san_flags -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(-fsanitize=fuzzer-no-link)
elseif(NOT QV_SANITIZE STREQUAL "")
  message(FATAL_ERROR "QV_SANITIZE must be empty, address, thread or fuzzer (got '${QV_SANITIZE}')")
endif()

if(_qv_san_flags)
  add_compile_options(${_qv_san_flags})
  add_link_options(${_qv_san_flags})
endif()
