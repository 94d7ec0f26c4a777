# Floating point: IEEE double, every operation rounded on its own (no fused
# multiply-add), SSE2 only on x86. These apply to everything the project
# compiles.
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  add_compile_options(-ffp-contract=off -fno-math-errno)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4 AND NOT CMAKE_SYSTEM_PROCESSOR STREQUAL "wasm32")
    add_compile_options(-msse2 -mfpmath=sse)
  endif()
elseif(MSVC)
  add_compile_options(/fp:precise)
endif()

# Warnings for the project's own targets.
function(rodadero_warnings target)
  if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_compile_options(${target} PRIVATE -Wall -Wextra)
  elseif(MSVC)
    target_compile_options(${target} PRIVATE /W4)
  endif()
endfunction()

# Sanitizer build of the model and its tests (host compiler only).
option(RODADERO_SANITIZE "Build with address and undefined-behaviour sanitizers" OFF)
if(RODADERO_SANITIZE AND CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  set(RODADERO_SANITIZERS -fsanitize=address,undefined -fno-sanitize-recover=all)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    list(APPEND RODADERO_SANITIZERS -fsanitize=float-cast-overflow)
  endif()
  add_compile_options(${RODADERO_SANITIZERS} -fno-omit-frame-pointer)
  add_link_options(${RODADERO_SANITIZERS})
endif()
