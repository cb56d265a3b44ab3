# render_icon(SIZE OUTPUT): a rule that renders the scalable icon as a
# SIZE x SIZE PNG at OUTPUT, for the icon theme and for the window alike.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
set(WORDLOOM_ICON_SVG ${CMAKE_CURRENT_LIST_DIR}/../data/wordloom.svg)

function(render_icon size output)
  get_filename_component(folder ${output} DIRECTORY)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND ${RSVG_CONVERT} --width=${size} --height=${size} --output=${output} ${WORDLOOM_ICON_SVG}
    DEPENDS ${WORDLOOM_ICON_SVG}
    COMMENT "Rendering the ${size} x ${size} icon")
endfunction()
