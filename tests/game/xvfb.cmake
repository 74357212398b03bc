# The real game under Xvfb: opens its 1280 x 720 window with a GL context,
# runs, and exits with 0 on SIGTERM with "GameMode = " lines in its log.
add_test(NAME game_xvfb_window_and_sigterm
  COMMAND xvfb-run -a -s "-screen 0 1920x1080x24"
          bash ${CMAKE_SOURCE_DIR}/tests/game/runUnderXvfb.sh $<TARGET_FILE:zorbex> ${CMAKE_BINARY_DIR}/data)
set_tests_properties(game_xvfb_window_and_sigterm PROPERTIES TIMEOUT 60)

# A session played by the scripted pilot in a real window (run under Xvfb):
# the built-in track through the music player, drawn by the GL renderer, and
# a screenshot of the field after twenty seconds.
file(GLOB zx_play_gl_srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/game/gl/*.cpp)
zx_gl_test(test_play_gl play_gl_xvfb 300 ${zx_play_gl_srcs})
