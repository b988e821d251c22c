# The menu icon as the target platform's bundle ships it, rendered from
# bundle/MenuIcon.svg whenever it changes: MenuIcon.png at 16 points with its
# @2x for Retina screens, in colour, and MenuIconTemplate.png with its @2x,
# black with alpha, which AppKit draws as a template in the menu's own colour
# (so that it stays visible in dark menus). Sets `menu_icons` to the four.
find_program(VDL_RSVG_CONVERT rsvg-convert)
set(menu_icons "")
if(NOT VDL_RSVG_CONVERT)
  return()
endif()
set(svg "${PROJECT_SOURCE_DIR}/bundle/MenuIcon.svg")
set(css "${CMAKE_CURRENT_LIST_DIR}/menu_icon_template.css")
set(icons "${CMAKE_CURRENT_BINARY_DIR}/icons")
foreach(kind colour template)
  foreach(scale 1 2)
    set(name MenuIcon)
    set(style "")
    if(kind STREQUAL "template")
      set(name MenuIconTemplate)
      set(style --stylesheet "${css}")
    endif()
    if(scale EQUAL 2)
      string(APPEND name "@2x")
    endif()
    add_custom_command(OUTPUT "${icons}/${name}.png"
      COMMAND ${CMAKE_COMMAND} -E make_directory "${icons}"
      COMMAND "${VDL_RSVG_CONVERT}" --zoom ${scale} ${style} --output "${icons}/${name}.png" "${svg}"
      DEPENDS "${svg}" "${css}"
      COMMENT "Rendering ${name}.png"
      VERBATIM)
    list(APPEND menu_icons "${icons}/${name}.png")
  endforeach()
endforeach()
add_custom_target(vdl_menu_icons ALL DEPENDS ${menu_icons})
