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
add_executable(test_play_gl ${zx_play_gl_srcs} ${CMAKE_SOURCE_DIR}/tests/engine/render/gl/glWindow.cpp)
target_link_libraries(test_play_gl PRIVATE zx_testsupport zx_all GTest::gtest)
target_include_directories(test_play_gl PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests
  ${CMAKE_SOURCE_DIR}/tests/engine/render/gl)
add_dependencies(test_play_gl zx_data)
add_test(NAME play_gl_xvfb
  COMMAND xvfb-run -a -s "-screen 0 1280x720x24" $<TARGET_FILE:test_play_gl>
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
set_tests_properties(play_gl_xvfb PROPERTIES
  ENVIRONMENT "SDL_VIDEODRIVER=x11;SDL_AUDIODRIVER=dummy;ZORBEX_DATA=${CMAKE_BINARY_DIR}/data;ASAN_OPTIONS=detect_leaks=0"
  TIMEOUT 300)
