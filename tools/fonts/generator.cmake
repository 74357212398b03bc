# Copies the fonts the game draws with (Debian's fonts-dejavu-core and
# fonts-wqy-microhei, installed by scripts/install-deps.sh) into data/fonts.
set(zx_font_names DejaVuSans.ttf DejaVuSans-Bold.ttf DejaVuSansMono.ttf wqy-microhei.ttc)
set(zx_font_files)
foreach(name ${zx_font_names})
  find_file(ZX_FONT_${name} ${name}
    PATHS /usr/share/fonts/truetype/dejavu /usr/share/fonts/truetype/wqy
    NO_DEFAULT_PATH)
  if(ZX_FONT_${name})
    list(APPEND zx_font_files ${ZX_FONT_${name}})
  else()
    message(WARNING "Font ${name} not found: run scripts/install-deps.sh")
  endif()
endforeach()
set(zx_fonts_stamp ${CMAKE_BINARY_DIR}/fonts.stamp)
add_custom_command(OUTPUT ${zx_fonts_stamp}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ZX_DATA_DIR}/fonts
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${zx_font_files} ${ZX_DATA_DIR}/fonts/
  COMMAND ${CMAKE_COMMAND} -E touch ${zx_fonts_stamp}
  DEPENDS ${zx_font_files}
  COMMENT "Copying fonts")
add_custom_target(zx_fonts DEPENDS ${zx_fonts_stamp})
add_dependencies(zx_data zx_fonts)
