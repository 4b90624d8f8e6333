# Run by CPack on the staged files of the package, before it is built: removes the .comment and
# .note sections from the programs, as Debian's own packaging does (dh_strip). CPack's stripping
# (CPACK_STRIP_FILES) removes the symbols but leaves these, and nobody reads them.
file(GLOB_RECURSE files LIST_DIRECTORIES false "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
foreach(file IN LISTS files)
  if(IS_SYMLINK ${file})
    continue()
  endif()
  file(READ ${file} magic LIMIT 4 HEX)
  if(magic STREQUAL "7f454c46")
    execute_process(COMMAND ${CPACK_KESTRUNE_STRIP} --remove-section=.comment --remove-section=.note ${file}
                    COMMAND_ERROR_IS_FATAL ANY)
  endif()
endforeach()
