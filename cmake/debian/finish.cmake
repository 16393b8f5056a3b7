# Run by cpack on the staged packages, as Debian's packaging helpers would:
# man pages are compressed, and the programs and the hosts' modules lose
# their RUNPATH, since the packaged library lies in the multiarch directory
# the loader searches anyway (a plain `cmake --install` keeps it, for any
# other prefix).
set(staged ${CPACK_TEMPORARY_DIRECTORY})
set(usr ${CPACK_PACKAGING_INSTALL_PREFIX})
file(GLOB_RECURSE pages LIST_DIRECTORIES false ${staged}/*${usr}/share/man/*)
list(FILTER pages EXCLUDE REGEX "\\.gz$")
if(pages)
  find_program(gzip gzip REQUIRED)
  execute_process(COMMAND ${gzip} -9n ${pages} COMMAND_ERROR_IS_FATAL ANY)
endif()
file(GLOB programs LIST_DIRECTORIES false ${staged}/*${usr}/bin/*)
file(GLOB_RECURSE modules LIST_DIRECTORIES false ${staged}/*${usr}/lib/*.so)
foreach(file IN LISTS programs modules)
  if(NOT IS_SYMLINK ${file})
    file(RPATH_REMOVE FILE ${file})
  endif()
endforeach()
