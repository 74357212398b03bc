# The GL backend needs a real window: its tests run under Xvfb.
file(GLOB zx_render_gl_srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/engine/render/gl/*.cpp)
add_executable(test_render_gl ${zx_render_gl_srcs})
target_link_libraries(test_render_gl PRIVATE zx_testsupport zx_all GTest::gtest)
target_include_directories(test_render_gl PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
add_dependencies(test_render_gl zx_data)
add_test(NAME render_gl_xvfb
  COMMAND xvfb-run -a -s "-screen 0 1280x720x24" $<TARGET_FILE:test_render_gl>
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
# The X, D-Bus and Mesa libraries keep allocations past exit that the leak
# checker reports; our own code's leaks are caught by the headless tests.
set_tests_properties(render_gl_xvfb PROPERTIES
  ENVIRONMENT "SDL_VIDEODRIVER=x11;SDL_AUDIODRIVER=dummy;ZORBEX_DATA=${CMAKE_BINARY_DIR}/data;ASAN_OPTIONS=detect_leaks=0"
  TIMEOUT 120)
