# A demonstration screen drawn through the real renderer in a window (Xvfb).
zx_gl_test(test_ui_gl ui_screen_xvfb 120 ${CMAKE_SOURCE_DIR}/tests/engine/ui/gl/test_uiScreenGl.cpp)
target_include_directories(test_ui_gl PRIVATE ${CMAKE_SOURCE_DIR}/tests/engine/ui)
target_compile_definitions(test_ui_gl PRIVATE ZX_UI_TEST_LAYOUTS="${CMAKE_SOURCE_DIR}/tests/engine/ui/layouts/")
