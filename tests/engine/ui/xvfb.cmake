# A demonstration screen drawn through the real renderer in a window (Xvfb).
zx_gl_test(test_ui_gl ui_screen_xvfb 120 ${CMAKE_SOURCE_DIR}/tests/engine/ui/gl/test_uiScreenGl.cpp)
