# Run by cpack on the packages it made: the members of each .deb (an ar
# archive) get mode 644, where cpack gave them the mode the umask gave the
# files it wrote them from. Each member is a 60-byte header (the mode in
# octal at byte 40, the size in decimal at byte 48) and its data, padded to
# an even length.
find_program(dd dd REQUIRED)
set(mode ${CPACK_TOPLEVEL_DIRECTORY}/ar-member-mode)
file(WRITE ${mode} "100644  ")
set(magic_length 8)  # "!<arch>\n"
foreach(deb IN LISTS CPACK_PACKAGE_FILES)
  file(SIZE ${deb} size)
  set(at ${magic_length})
  while(at LESS size)
    file(READ ${deb} header OFFSET ${at} LIMIT 60)
    string(SUBSTRING "${header}" 48 10 length)
    string(STRIP "${length}" length)
    math(EXPR mode_at "${at} + 40")
    execute_process(COMMAND ${dd} if=${mode} of=${deb} bs=1 seek=${mode_at} conv=notrunc status=none
      COMMAND_ERROR_IS_FATAL ANY)
    math(EXPR at "${at} + 60 + ${length} + ${length} % 2")
  endwhile()
endforeach()
