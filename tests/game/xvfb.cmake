# A session played by the scripted pilot in a real window (run under Xvfb):
# the built-in track through the music player, drawn by the GL renderer, and
# a screenshot of the field after twenty seconds.
file(GLOB zx_play_gl_srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/game/gl/*.cpp)
zx_gl_test(test_play_gl play_gl_xvfb 300 ${zx_play_gl_srcs})
