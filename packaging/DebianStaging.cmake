# Run by CPack on the staged tree before it becomes the .deb: adds what Debian asks
# of every package and a plain install does not need.
set(root ${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX})
set(doc ${root}/share/doc/${CPACK_PACKAGE_NAME})
set(source ${CPACK_WORDLOOM_PACKAGING_DIR})

function(gzip_to output input)
  # -n leaves out the name and time stamp, so the same input gives the same bytes.
  execute_process(COMMAND gzip -9n -c ${input} OUTPUT_FILE ${output} COMMAND_ERROR_IS_FATAL ANY)
endfunction()

file(MAKE_DIRECTORY ${doc})
file(COPY ${source}/copyright DESTINATION ${doc})
# A version without a Debian revision makes this a native package, whose
# changelog is changelog.gz.
gzip_to(${doc}/changelog.gz ${source}/changelog)

file(GLOB manual_pages ${root}/share/man/man1/*.1)
foreach(page IN LISTS manual_pages)
  gzip_to(${page}.gz ${page})
  file(REMOVE ${page})
endforeach()

# As dh_strip does: no symbols, and none of the compiler's notes.
file(GLOB programs ${root}/bin/*)
foreach(program IN LISTS programs)
  execute_process(COMMAND ${CPACK_WORDLOOM_STRIP} --remove-section=.comment --remove-section=.note
                          ${program} COMMAND_ERROR_IS_FATAL ANY)
endforeach()

# As dh_fixperms does: the builder's umask must not reach the package.
file(CHMOD_RECURSE ${CPACK_TEMPORARY_DIRECTORY}
     FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ
     DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                           WORLD_READ WORLD_EXECUTE)
file(CHMOD ${programs} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                   WORLD_READ WORLD_EXECUTE)
