# One layout for every prefix on Debian: the multiarch library directory
# that the packages have (GNUInstallDirs picks it only for /usr, and never
# when cross compiling), so `cmake --install` anywhere matches the packages.
# A directory the caller gives stands (debhelper passes one without a type,
# which a cache PATH would turn into a path below the build directory).
if(EXISTS /etc/debian_version AND CMAKE_LIBRARY_ARCHITECTURE AND NOT DEFINED CMAKE_INSTALL_LIBDIR)
  set(CMAKE_INSTALL_LIBDIR lib/${CMAKE_LIBRARY_ARCHITECTURE} CACHE PATH "Object code libraries")
endif()
include(GNUInstallDirs)

# Gives `target`, installed into `destination` below the prefix, a RUNPATH
# to the library's directory, relative to itself so that the prefix can
# move; in the build tree too, so that no build directory is recorded.
function(math_n_runpath_to_library target destination)
  file(RELATIVE_PATH to_library ${CMAKE_INSTALL_PREFIX}/${destination} ${CMAKE_INSTALL_FULL_LIBDIR})
  if(to_library)
    string(PREPEND to_library /)
  endif()
  set_target_properties(${target} PROPERTIES BUILD_RPATH_USE_ORIGIN ON INSTALL_RPATH "$ORIGIN${to_library}")
endfunction()
