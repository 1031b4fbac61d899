# Same floating point everywhere: SSE2 arithmetic, no contraction into FMA, no fast-math.
add_compile_options(-Wall -Wextra -ffp-contract=off -fno-fast-math)
if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(i[3-6]86|x86)$")
  add_compile_options(-msse2 -mfpmath=sse)
endif()
if(WIN32)
  # Everything but Windows' own DLLs is linked in.
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()
if(OSTRABEL_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
