# QV_SANITIZE selects an instrumented build of everything (our code, GoogleTest, test fixtures):
#   ""          normal build
#   "address"   AddressSanitizer + UndefinedBehaviorSanitizer
#   "thread"    ThreadSanitizer
set(QV_SANITIZE "" CACHE STRING "Sanitizer build: empty, address or thread")
set_property(CACHE QV_SANITIZE PROPERTY STRINGS "" address thread)

if(QV_SANITIZE STREQUAL "address")
  set(_qv_san_flags -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
elseif(QV_SANITIZE STREQUAL "thread")
  set(_qv_san_flags -fsanitize=thread -fno-omit-frame-pointer)
elseif(NOT QV_SANITIZE STREQUAL "")
  message(FATAL_ERROR "QV_SANITIZE must be empty, address or thread (got '${QV_SANITIZE}')")
endif()

if(_qv_san_flags)
  add_compile_options(${_qv_san_flags})
  add_link_options(${_qv_san_flags})
endif()
