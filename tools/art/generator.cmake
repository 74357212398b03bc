# The game's pictures: tools/art/generate.py draws every row of
# tools/art/manifest.txt into ${ZX_DATA_DIR} (sprites into its sprites/ folder).
# Debian's python3 is used on purpose: it is the one with python3-pil and
# python3-numpy, whatever else is first on PATH.
find_program(ZX_SYSTEM_PYTHON3 NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH)
if(NOT ZX_SYSTEM_PYTHON3)
  message(FATAL_ERROR "The sprite generator needs /usr/bin/python3 with python3-pil and python3-numpy (scripts/install-deps.sh)")
endif()

set(zx_art_dir ${CMAKE_SOURCE_DIR}/tools/art)
file(GLOB zx_art_scripts CONFIGURE_DEPENDS ${zx_art_dir}/*.py)
set(zx_art_manifest ${zx_art_dir}/manifest.txt)
set(zx_art_stamp ${CMAKE_BINARY_DIR}/art.stamp)

add_custom_command(OUTPUT ${zx_art_stamp}
  COMMAND ${ZX_SYSTEM_PYTHON3} ${zx_art_dir}/generate.py
          --manifest ${zx_art_manifest} --data ${ZX_DATA_DIR}
          --record ${CMAKE_BINARY_DIR}/art_files.txt
  COMMAND ${CMAKE_COMMAND} -E touch ${zx_art_stamp}
  DEPENDS ${zx_art_scripts} ${zx_art_manifest}
  COMMENT "Drawing the game's sprites"
  VERBATIM)
add_custom_target(zx_art DEPENDS ${zx_art_stamp})
add_dependencies(zx_data zx_art)

if(ZX_TESTS)
  # Every picture the manifest names is in the built data folder, a PNG of its size.
  add_test(NAME art_sprites_built
    COMMAND ${ZX_SYSTEM_PYTHON3} ${zx_art_dir}/generate.py
            --manifest ${zx_art_manifest} --data ${ZX_DATA_DIR} --check)
  # Two separate runs draw the same bytes.
  add_test(NAME art_sprites_deterministic
    COMMAND ${CMAKE_COMMAND} -DPYTHON=${ZX_SYSTEM_PYTHON3} -DSCRIPT=${zx_art_dir}/generate.py
            -DMANIFEST=${zx_art_manifest} -DWORK=${CMAKE_BINARY_DIR}/art_deterministic
            -P ${zx_art_dir}/sameTwice.cmake)
  set_tests_properties(art_sprites_built art_sprites_deterministic PROPERTIES LABELS art)
endif()
