# The interval's rounding and the places of the pictures must come out bit for bit the same in every
# build. Each compiler is held to IEEE single and double precision, rounded at every operation:
# - GCC and clang: no fused multiply-add contraction, whatever instruction set a build is given. The
#   32-bit MinGW toolchains add SSE2 arithmetic in place of the x87 unit's 80-bit intermediates.
# - MSVC: precise floating point; its 32-bit target computes in SSE2 by default (/arch:SSE2).
if(MSVC)
  add_compile_options(/fp:precise)
else()
  add_compile_options(-ffp-contract=off)
endif()
