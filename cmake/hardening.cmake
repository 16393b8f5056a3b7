# The hardening Debian builds its packages with (dpkg-buildflags with
# hardening=+all), for what a host loads and what reads untrusted input:
# the library, natcall and the engines' hosts, in every configuration. Flags a compiler does not
# take for its target (-fcf-protection outside x86) are left out.
include(CheckCXXCompilerFlag)
include(CheckPIESupported)
check_pie_supported(LANGUAGES CXX)

set(math_n_hardening_compile -fstack-protector-strong -Wformat -Werror=format-security)
foreach(flag -fstack-clash-protection -fcf-protection)
  string(MAKE_C_IDENTIFIER "math_n_has${flag}" supported)
  check_cxx_compiler_flag(${flag} ${supported})
  if(${supported})
    list(APPEND math_n_hardening_compile ${flag})
  endif()
endforeach()
# No build directory in any file (debug information, assertion texts), so
# that two builds from different places give the same bytes.
# The link step compiles again under link-time optimisation: it needs the
# same map.
set(math_n_path_map -ffile-prefix-map=${PROJECT_SOURCE_DIR}=.)
string(FIND "${PROJECT_BINARY_DIR}/" "${PROJECT_SOURCE_DIR}/" inside)
if(NOT inside EQUAL 0)
  list(APPEND math_n_path_map -ffile-prefix-map=${PROJECT_BINARY_DIR}=build)
endif()
list(APPEND math_n_hardening_compile ${math_n_path_map})
set(math_n_hardening_link -Wl,-z,relro -Wl,-z,now -Wl,-z,noexecstack ${math_n_path_map})
# The checked copies of memcpy and friends need optimisation, and would hide
# the accesses they check from the sanitizers.
if(MATH_N_SANITIZED)
  set(math_n_fortify "")
else()
  set(math_n_fortify $<$<NOT:$<CONFIG:Debug>>:_FORTIFY_SOURCE=2>)
endif()

# Hardens `target`; a program is also position independent.
function(math_n_harden target)
  target_compile_options(${target} PRIVATE ${math_n_hardening_compile})
  target_compile_definitions(${target} PRIVATE ${math_n_fortify})
  target_link_options(${target} PRIVATE ${math_n_hardening_link})
  set_target_properties(${target} PROPERTIES POSITION_INDEPENDENT_CODE ON)
endfunction()
