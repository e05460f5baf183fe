# The Windows programs' resources. The icon is made from
# packaging/icon/velquior.svg at build time (rsvg-convert, icotool); every
# version number comes from project(VERSION).
#
#   velquior_windows_resources(<target> "<description>")
# gives the program the icon (resource 1), the manifest and a VERSIONINFO
# naming it.

find_program(VELQUIOR_RSVG rsvg-convert REQUIRED)
find_program(VELQUIOR_ICOTOOL icotool REQUIRED)

set(VELQUIOR_ICON_SVG ${CMAKE_SOURCE_DIR}/packaging/icon/velquior.svg)
set(VELQUIOR_MANIFEST ${CMAKE_SOURCE_DIR}/packaging/windows/velquior.manifest)
set(VELQUIOR_ICO ${CMAKE_BINARY_DIR}/icon/velquior.ico)
set(VELQUIOR_COMPANY "Velquior")
set(VELQUIOR_COPYRIGHT "© 2026 los autores de Velquior")

# The sizes Windows asks for from 100 % to 200 % scale; 256 is kept as PNG,
# as Windows stores its large icons.
set(icon_pngs)
set(icon_commands)
foreach(size 16 24 32 48 64 256)
  set(png ${CMAKE_BINARY_DIR}/icon/velquior-${size}.png)
  list(APPEND icon_commands COMMAND ${VELQUIOR_RSVG} -w ${size} -h ${size} -o ${png} ${VELQUIOR_ICON_SVG})
  if(size EQUAL 256)
    list(APPEND icon_pngs --raw=${png})
  else()
    list(APPEND icon_pngs ${png})
  endif()
endforeach()
add_custom_command(
  OUTPUT ${VELQUIOR_ICO}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icon
  ${icon_commands}
  COMMAND ${VELQUIOR_ICOTOOL} -c -o ${VELQUIOR_ICO} ${icon_pngs}
  DEPENDS ${VELQUIOR_ICON_SVG}
  COMMENT "Making the icon velquior.ico"
  VERBATIM)
add_custom_target(velquior_icon DEPENDS ${VELQUIOR_ICO})

function(velquior_windows_resources target description)
  set(name ${target})
  set(rc ${CMAKE_BINARY_DIR}/resources/${target}.rc)
  configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/resources.rc.in ${rc} @ONLY)
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${VELQUIOR_ICO};${VELQUIOR_MANIFEST}")
  target_sources(${target} PRIVATE ${rc})
  add_dependencies(${target} velquior_icon)
endfunction()
