# A script that drives the real game under Xvfb at 1280 x 720, given the game,
# the tools named after the time limit, the data folder and its screenshot
# folder (<build>/screenshots/<shots>). Each road runs the whole game under the
# sanitizers: these run alone, not beside the rest of the suite.
function(zx_xvfb_road name script shots timeout)
  set(tools)
  foreach(tool IN LISTS ARGN)
    list(APPEND tools $<TARGET_FILE:${tool}>)
  endforeach()
  add_test(NAME ${name}
    COMMAND xvfb-run -a -s "-screen 0 1280x720x24"
            bash ${CMAKE_SOURCE_DIR}/tests/screens/${script} $<TARGET_FILE:zorbex> ${tools}
            ${CMAKE_BINARY_DIR}/data ${CMAKE_BINARY_DIR}/screenshots/${shots})
  set_tests_properties(${name} PROPERTIES TIMEOUT ${timeout} RUN_SERIAL TRUE)
endfunction()

# A save whose profile starts with the given experience.
add_executable(zx_seed_progress_save ${CMAKE_SOURCE_DIR}/tests/screens/xvfb/seedProgressSave.cpp)
target_link_libraries(zx_seed_progress_save PRIVATE zx_testsupport zx_all)
target_include_directories(zx_seed_progress_save PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)

zx_xvfb_road(options_xvfb_kept_across_restart optionsUnderXvfb.sh options 240 check_loading_shot)
zx_xvfb_road(road_xvfb_challenge roadChallengeUnderXvfb.sh challenge 300 zx_local_service)
zx_xvfb_road(road_xvfb_ship_editor shipEditorUnderXvfb.sh shipEditor 300 zx_local_service)
zx_xvfb_road(road_xvfb_online_trouble roadOnlineTroubleUnderXvfb.sh online 240 zx_local_service)
zx_xvfb_road(road_xvfb_keys_and_mouse roadKeysAndMouseUnderXvfb.sh keysMouse 540
             zx_local_service zx_make_music_folder zx_seed_progress_save)

# Checks the picture the loading screen saved once (the switch ZORBEX_TEST_LOADING_SHOT).
add_executable(check_loading_shot ${CMAKE_SOURCE_DIR}/tests/screens/xvfb/checkLoadingShot.cpp)
target_link_libraries(check_loading_shot PRIVATE PkgConfig::SDL2)

# Screens drawn by the real renderer in a window under Xvfb; pictures in screenshots/share.
file(GLOB zx_screens_gl_srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/screens/gl/*.cpp)
zx_gl_test(test_screens_gl share_moment_gl_xvfb 180 ${zx_screens_gl_srcs})
target_include_directories(test_screens_gl PRIVATE ${CMAKE_SOURCE_DIR}/tests/screens)
set_tests_properties(share_moment_gl_xvfb PROPERTIES RUN_SERIAL TRUE)
