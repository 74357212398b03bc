# The GL backend needs a real window: its tests run under Xvfb.
file(GLOB zx_render_gl_srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/engine/render/gl/*.cpp)
zx_gl_test(test_render_gl render_gl_xvfb 120 ${zx_render_gl_srcs})
