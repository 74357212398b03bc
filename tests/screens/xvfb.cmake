# The real game from loading to the main menu under Xvfb, with keys sent by
# xdotool and the local web service running in its own small program. The
# screenshots of the title and sign-in screens are left in screenshots/road.
add_executable(zx_local_service ${CMAKE_SOURCE_DIR}/tests/screens/tools/localServiceMain.cpp)
target_link_libraries(zx_local_service PRIVATE zx_online_service zx_all)
add_test(NAME road_xvfb_title_to_main_menu
  COMMAND xvfb-run -a -s "-screen 0 1280x720x24"
          bash ${CMAKE_SOURCE_DIR}/tests/screens/roadUnderXvfb.sh $<TARGET_FILE:zorbex>
          $<TARGET_FILE:zx_local_service> ${CMAKE_BINARY_DIR}/data ${CMAKE_BINARY_DIR}/screenshots/road)
set_tests_properties(road_xvfb_title_to_main_menu PROPERTIES TIMEOUT 180)
