# A demonstration screen drawn through the real renderer in a window (Xvfb).
add_executable(test_ui_gl ${CMAKE_SOURCE_DIR}/tests/engine/ui/gl/test_uiScreenGl.cpp
  ${CMAKE_SOURCE_DIR}/tests/engine/render/gl/glWindow.cpp)
target_link_libraries(test_ui_gl PRIVATE zx_testsupport zx_all GTest::gtest)
target_include_directories(test_ui_gl PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests
  ${CMAKE_SOURCE_DIR}/tests/engine/render/gl ${CMAKE_SOURCE_DIR}/tests/engine/ui)
target_compile_definitions(test_ui_gl PRIVATE ZX_UI_TEST_LAYOUTS="${CMAKE_SOURCE_DIR}/tests/engine/ui/layouts/")
add_dependencies(test_ui_gl zx_data)
add_test(NAME ui_screen_xvfb
  COMMAND xvfb-run -a -s "-screen 0 1280x720x24" $<TARGET_FILE:test_ui_gl>
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
# X, D-Bus and Mesa keep allocations past exit; the headless UI tests check our leaks.
set_tests_properties(ui_screen_xvfb PROPERTIES
  ENVIRONMENT "SDL_VIDEODRIVER=x11;SDL_AUDIODRIVER=dummy;ZORBEX_DATA=${CMAKE_BINARY_DIR}/data;ASAN_OPTIONS=detect_leaks=0"
  TIMEOUT 120)
