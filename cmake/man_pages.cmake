# vellumin_man_page(TEMPLATE): installs the manual page TEMPLATE (NAME.1.in)
# with the version filled in, compressed as Debian keeps manual pages:
# gzip -9n stores no name or time, so the same page always gives the same
# bytes. The uncompressed page stays in the build folder for man -l.
function(vellumin_man_page template)
  get_filename_component(name ${template} NAME_WLE)
  set(page ${CMAKE_CURRENT_BINARY_DIR}/${name})
  configure_file(${template} ${page} @ONLY)
  add_custom_command(OUTPUT ${page}.gz
    COMMAND gzip -9nkf ${page}
    DEPENDS ${page}
    COMMENT "Compressing the manual page ${name}")
  add_custom_target(man-${name} ALL DEPENDS ${page}.gz)
  install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()

# vellumin_man_text(TEMPLATE): the same manual page as a text file for the
# Windows package, NAME.txt in this build folder (scripts/man-text.sh), made
# by the target man-text-NAME.
function(vellumin_man_text template)
  get_filename_component(name ${template} NAME_WLE)
  get_filename_component(base ${name} NAME_WLE)
  set(page ${CMAKE_CURRENT_BINARY_DIR}/${name})
  configure_file(${template} ${page} @ONLY)
  add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/${base}.txt
    COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/man-text.sh ${page} ${CMAKE_CURRENT_BINARY_DIR}/${base}.txt
    DEPENDS ${page} ${PROJECT_SOURCE_DIR}/scripts/man-text.sh
    COMMENT "The manual page ${name} as ${base}.txt")
  add_custom_target(man-text-${base} ALL DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/${base}.txt)
endfunction()
