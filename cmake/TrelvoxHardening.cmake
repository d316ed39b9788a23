# Debian builds its programs hardened, and so does this build for the programs it ships:
# fortified libc calls, a stack protector, read-only relocations bound at start. Only the code
# of the shipped programs gets it, never GoogleTest or the benchmarks.
#   trelvox_hardening_compile: the compile flags, for the libraries the programs are made of
#                              (linked PRIVATE, so that their users' own code goes without);
#   trelvox_hardening:         those and the link flags, for the programs themselves.
# Linux only (the Windows programs need none of it), and not in Debug or sanitizer builds,
# where fortification gets in the way of the checks.
add_library(trelvox_hardening_compile INTERFACE)
add_library(trelvox_hardening INTERFACE)
target_link_libraries(trelvox_hardening INTERFACE trelvox_hardening_compile)

if(CMAKE_SYSTEM_NAME STREQUAL "Linux" AND NOT CMAKE_BUILD_TYPE STREQUAL "Debug"
   AND NOT CMAKE_CXX_FLAGS MATCHES "-fsanitize")
  # Compilers that define _FORTIFY_SOURCE themselves (Ubuntu's GCC) would warn about the
  # redefinition, an error with TRELVOX_WERROR: take theirs back first.
  target_compile_options(trelvox_hardening_compile INTERFACE
                         -U_FORTIFY_SOURCE -D_FORTIFY_SOURCE=2 -fstack-protector-strong)
  target_link_options(trelvox_hardening INTERFACE LINKER:-z,relro,-z,now)
endif()
