# The hardening Debian builds its packages with (dpkg-buildflags' "hardening"
# set): fortified C library calls where the build optimises, a stack
# protector, read-only relocations bound at load time, position-independent
# executables. Not with the sanitizers (they intercept the same calls) nor in
# the browser build (no ELF there).
include_guard(GLOBAL)
if(QUARNEX_SANITIZE OR QUARNEX_FUZZ OR EMSCRIPTEN)
  return()
endif()
add_compile_options($<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-D_FORTIFY_SOURCE=2>
                    -fstack-protector-strong)
add_link_options(-Wl,-z,relro,-z,now)
include(CheckPIESupported)
check_pie_supported()
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
