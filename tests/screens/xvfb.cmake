# The real game under Xvfb: the loading screen saves its picture once (the
# switch ZORBEX_TEST_LOADING_SHOT), and the picture and the log are checked.
# A copy of the picture stays in the build folder as loading_xvfb.png.
add_executable(check_loading_shot ${CMAKE_SOURCE_DIR}/tests/screens/xvfb/checkLoadingShot.cpp)
target_link_libraries(check_loading_shot PRIVATE PkgConfig::SDL2)
add_test(NAME loading_screen_xvfb
  COMMAND xvfb-run -a -s "-screen 0 1920x1080x24"
          bash ${CMAKE_SOURCE_DIR}/tests/screens/xvfb/loadingUnderXvfb.sh $<TARGET_FILE:zorbex> ${CMAKE_BINARY_DIR}/data
          $<TARGET_FILE:check_loading_shot> ${CMAKE_BINARY_DIR}/loading_xvfb.png)
set_tests_properties(loading_screen_xvfb PROPERTIES TIMEOUT 90)
