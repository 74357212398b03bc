# The real game under Xvfb: opens its 1280 x 720 window with a GL context,
# runs, and exits with 0 on SIGTERM with "GameMode = " lines in its log.
add_test(NAME game_xvfb_window_and_sigterm
  COMMAND xvfb-run -a -s "-screen 0 1920x1080x24"
          bash ${CMAKE_SOURCE_DIR}/tests/game/runUnderXvfb.sh $<TARGET_FILE:zorbex> ${CMAKE_BINARY_DIR}/data)
set_tests_properties(game_xvfb_window_and_sigterm PROPERTIES TIMEOUT 60)
