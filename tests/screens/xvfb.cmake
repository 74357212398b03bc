# The real game from loading to the main menu under Xvfb, with keys sent by
# xdotool and the local web service running in its own small program. The
# screenshots of the title and sign-in screens are left in screenshots/road.
add_executable(zx_local_service ${CMAKE_SOURCE_DIR}/tests/screens/tools/localServiceMain.cpp)
target_link_libraries(zx_local_service PRIVATE zx_online_service zx_all)
add_test(NAME road_xvfb_title_to_main_menu
  COMMAND xvfb-run -a -s "-screen 0 1280x720x24"
          bash ${CMAKE_SOURCE_DIR}/tests/screens/roadUnderXvfb.sh $<TARGET_FILE:zorbex>
          $<TARGET_FILE:zx_local_service> ${CMAKE_BINARY_DIR}/data ${CMAKE_BINARY_DIR}/screenshots/road)
# Each road runs the whole game under the sanitizers: these run alone, not beside the rest of the suite.
set_tests_properties(road_xvfb_title_to_main_menu PROPERTIES TIMEOUT 180 RUN_SERIAL TRUE)
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
# The options screens under Xvfb from the title's OPTIONS button, a changed
# volume kept across a restart; screenshots in screenshots/options.
add_test(NAME options_xvfb_kept_across_restart
  COMMAND xvfb-run -a -s "-screen 0 1280x720x24"
          bash ${CMAKE_SOURCE_DIR}/tests/screens/optionsUnderXvfb.sh $<TARGET_FILE:zorbex>
          ${CMAKE_BINARY_DIR}/data ${CMAKE_BINARY_DIR}/screenshots/options)
set_tests_properties(options_xvfb_kept_across_restart PROPERTIES TIMEOUT 240 RUN_SERIAL TRUE)
# The real game from the title to the music and leaderboard screens under
# Xvfb: a folder of generated tracks picked in the (answered) folder dialog,
# found, browsed by album and played. Screenshots in screenshots/music.
add_executable(zx_make_music_folder ${CMAKE_SOURCE_DIR}/tests/screens/tools/makeMusicFolder.cpp)
target_link_libraries(zx_make_music_folder PRIVATE zx_audiogen)
add_test(NAME road_xvfb_music
  COMMAND xvfb-run -a -s "-screen 0 1280x720x24"
          bash ${CMAKE_SOURCE_DIR}/tests/screens/roadMusicUnderXvfb.sh $<TARGET_FILE:zorbex>
          $<TARGET_FILE:zx_local_service> $<TARGET_FILE:zx_make_music_folder> ${CMAKE_BINARY_DIR}/data
          ${CMAKE_BINARY_DIR}/screenshots/music)
set_tests_properties(road_xvfb_music PROPERTIES TIMEOUT 240 RUN_SERIAL TRUE)
# A party of two under Xvfb: the keyboard and a virtual controller join, choose
# a head-to-head game and play a short track to its end. Screenshots in
# screenshots/party.
add_test(NAME road_xvfb_party
  COMMAND xvfb-run -a -s "-screen 0 1280x720x24"
          bash ${CMAKE_SOURCE_DIR}/tests/screens/partyUnderXvfb.sh $<TARGET_FILE:zorbex>
          $<TARGET_FILE:zx_local_service> $<TARGET_FILE:zx_make_music_folder> ${CMAKE_BINARY_DIR}/data
          ${CMAKE_BINARY_DIR}/screenshots/party)
set_tests_properties(road_xvfb_party PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE)
# The real game from the title to the challenge and ship screens under Xvfb,
# against a local service that runs a daily challenge. Screenshots in
# screenshots/ships.
add_test(NAME road_xvfb_ships
  COMMAND xvfb-run -a -s "-screen 0 1280x720x24"
          bash ${CMAKE_SOURCE_DIR}/tests/screens/roadShipsUnderXvfb.sh $<TARGET_FILE:zorbex>
          $<TARGET_FILE:zx_local_service> ${CMAKE_BINARY_DIR}/data ${CMAKE_BINARY_DIR}/screenshots/ships)
set_tests_properties(road_xvfb_ships PROPERTIES TIMEOUT 240 RUN_SERIAL TRUE)
# The real game under Xvfb to the Twitter link screen from the main menu and
# from the options menu. Screenshots in screenshots/twitter.
add_test(NAME twitter_xvfb_from_menus
  COMMAND xvfb-run -a -s "-screen 0 1280x720x24"
          bash ${CMAKE_SOURCE_DIR}/tests/screens/twitterUnderXvfb.sh $<TARGET_FILE:zorbex>
          $<TARGET_FILE:zx_local_service> ${CMAKE_BINARY_DIR}/data ${CMAKE_BINARY_DIR}/screenshots/twitter)
set_tests_properties(twitter_xvfb_from_menus PROPERTIES TIMEOUT 180 RUN_SERIAL TRUE)
# The share screen, the Twitter link screen's modes, the special-ship, module
# unlock and rank-up screens drawn by the real renderer in a window under
# Xvfb; pictures in screenshots/share, screenshots/twitter and
# screenshots/unlock.
file(GLOB zx_screens_gl_srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/screens/gl/*.cpp)
add_executable(test_screens_gl ${zx_screens_gl_srcs})
find_package(OpenSSL REQUIRED)
target_link_libraries(test_screens_gl PRIVATE zx_testsupport zx_all GTest::gtest OpenSSL::SSL OpenSSL::Crypto)
target_include_directories(test_screens_gl PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests
  ${CMAKE_SOURCE_DIR}/tests/screens)
add_dependencies(test_screens_gl zx_data)
add_test(NAME share_moment_gl_xvfb
  COMMAND xvfb-run -a -s "-screen 0 1280x720x24" $<TARGET_FILE:test_screens_gl>
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
set_tests_properties(share_moment_gl_xvfb PROPERTIES
  ENVIRONMENT "SDL_VIDEODRIVER=x11;SDL_AUDIODRIVER=dummy;ZORBEX_DATA=${CMAKE_BINARY_DIR}/data;ASAN_OPTIONS=detect_leaks=0"
  TIMEOUT 180 RUN_SERIAL TRUE)
# The road of one track under Xvfb: the main menu, game type, settings, the
# countdown, play with the HUD and a pause, the game over and the rank-up,
# back to the main menu. Screenshots in screenshots/track.
add_test(NAME road_xvfb_track
  COMMAND xvfb-run -a -s "-screen 0 1280x720x24"
          bash ${CMAKE_SOURCE_DIR}/tests/screens/roadTrackUnderXvfb.sh $<TARGET_FILE:zorbex>
          $<TARGET_FILE:zx_local_service> ${CMAKE_BINARY_DIR}/data ${CMAKE_BINARY_DIR}/screenshots/track)
set_tests_properties(road_xvfb_track PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE)
# The daily challenge under Xvfb, heard through the test capture source:
# attempted, scored onto its board, won a day later and its reward taken
# once. Screenshots in screenshots/challenge.
add_test(NAME road_xvfb_challenge
  COMMAND xvfb-run -a -s "-screen 0 1280x720x24"
          bash ${CMAKE_SOURCE_DIR}/tests/screens/roadChallengeUnderXvfb.sh $<TARGET_FILE:zorbex>
          $<TARGET_FILE:zx_local_service> ${CMAKE_BINARY_DIR}/data ${CMAKE_BINARY_DIR}/screenshots/challenge)
set_tests_properties(road_xvfb_challenge PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE)
# A game over with a new best left by the desktop ending the game, then a
# restart over the same save folder. Screenshots in screenshots/kept.
add_test(NAME road_xvfb_kept
  COMMAND xvfb-run -a -s "-screen 0 1280x720x24"
          bash ${CMAKE_SOURCE_DIR}/tests/screens/roadKeptUnderXvfb.sh $<TARGET_FILE:zorbex>
          $<TARGET_FILE:zx_local_service> ${CMAKE_BINARY_DIR}/data ${CMAKE_BINARY_DIR}/screenshots/kept)
set_tests_properties(road_xvfb_kept PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE)
# After a track under Xvfb: a player seeded just below a rank plays a short
# track to its end; the rank-up bar crosses the rank and the perk unlock
# follows. Screenshots in screenshots/progress.
add_executable(zx_seed_progress_save ${CMAKE_SOURCE_DIR}/tests/screens/tools/seedProgressSave.cpp)
target_link_libraries(zx_seed_progress_save PRIVATE zx_testsupport zx_all)
target_include_directories(zx_seed_progress_save PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
add_test(NAME road_xvfb_progress
  COMMAND xvfb-run -a -s "-screen 0 1280x720x24"
          bash ${CMAKE_SOURCE_DIR}/tests/screens/roadProgressUnderXvfb.sh $<TARGET_FILE:zorbex>
          $<TARGET_FILE:zx_local_service> $<TARGET_FILE:zx_make_music_folder> $<TARGET_FILE:zx_seed_progress_save>
          ${CMAKE_BINARY_DIR}/data ${CMAKE_BINARY_DIR}/screenshots/progress)
set_tests_properties(road_xvfb_progress PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE)
# The real game under Xvfb from the title to the ship editor: a new ship with
# a generated hull picture chosen in the (answered) file dialog, a test flight
# and its return, and the ship published to the local workshop. Screenshots
# in screenshots/shipEditor.
add_test(NAME road_xvfb_ship_editor
  COMMAND xvfb-run -a -s "-screen 0 1280x720x24"
          bash ${CMAKE_SOURCE_DIR}/tests/screens/shipEditorUnderXvfb.sh $<TARGET_FILE:zorbex>
          $<TARGET_FILE:zx_local_service> ${CMAKE_BINARY_DIR}/data ${CMAKE_BINARY_DIR}/screenshots/shipEditor)
set_tests_properties(road_xvfb_ship_editor PROPERTIES TIMEOUT 240 RUN_SERIAL TRUE)
# The real game under Xvfb with the local service stalling on board downloads
# and player look-ups: each screen says so and Back never waits. Screenshots
# in screenshots/online.
add_test(NAME road_xvfb_online_trouble
  COMMAND xvfb-run -a -s "-screen 0 1280x720x24"
          bash ${CMAKE_SOURCE_DIR}/tests/screens/roadOnlineTroubleUnderXvfb.sh $<TARGET_FILE:zorbex>
          $<TARGET_FILE:zx_local_service> ${CMAKE_BINARY_DIR}/data ${CMAKE_BINARY_DIR}/screenshots/online)
set_tests_properties(road_xvfb_online_trouble PROPERTIES TIMEOUT 240 RUN_SERIAL TRUE)
# The real game under Xvfb: German and then Japanese chosen from Options ->
# Language, each with the options, the main menu, the HUD and the pause.
# Screenshots in screenshots/language.
add_test(NAME road_xvfb_language
  COMMAND xvfb-run -a -s "-screen 0 1280x720x24"
          bash ${CMAKE_SOURCE_DIR}/tests/screens/languageUnderXvfb.sh $<TARGET_FILE:zorbex>
          $<TARGET_FILE:zx_local_service> ${CMAKE_BINARY_DIR}/data ${CMAKE_BINARY_DIR}/screenshots/language)
set_tests_properties(road_xvfb_language PROPERTIES TIMEOUT 240 RUN_SERIAL TRUE)
# The main menu's tiles one after another and back by keys alone; then a track
# paused, resumed and played to its end, and the game over, rank-up, perk
# unlock and main menu clicked with the mouse. Screenshots in screenshots/keysMouse.
add_test(NAME road_xvfb_keys_and_mouse
  COMMAND xvfb-run -a -s "-screen 0 1280x720x24"
          bash ${CMAKE_SOURCE_DIR}/tests/screens/roadKeysAndMouseUnderXvfb.sh $<TARGET_FILE:zorbex>
          $<TARGET_FILE:zx_local_service> $<TARGET_FILE:zx_make_music_folder> $<TARGET_FILE:zx_seed_progress_save>
          ${CMAKE_BINARY_DIR}/data ${CMAKE_BINARY_DIR}/screenshots/keysMouse)
set_tests_properties(road_xvfb_keys_and_mouse PROPERTIES TIMEOUT 360 RUN_SERIAL TRUE)
# The keyboard alone after Configure Keyboard moved the moves: every tile, a
# track chosen and played, the pause and its quit question, a restart, then
# RESET CONTROLLERS. Screenshots in screenshots/keyboardSetUp.
add_test(NAME road_xvfb_keyboard_set_up
  COMMAND xvfb-run -a -s "-screen 0 1280x720x24"
          bash ${CMAKE_SOURCE_DIR}/tests/screens/roadKeyboardSetUpUnderXvfb.sh $<TARGET_FILE:zorbex>
          $<TARGET_FILE:zx_local_service> $<TARGET_FILE:zx_make_music_folder>
          ${CMAKE_BINARY_DIR}/data ${CMAKE_BINARY_DIR}/screenshots/keyboardSetUp)
set_tests_properties(road_xvfb_keyboard_set_up PROPERTIES TIMEOUT 360 RUN_SERIAL TRUE)
# A ship with a hull picture made in the editor and published to the local
# workshop, then the game started again over the same save folder: the hull
# is drawn from the saved picture. Screenshots in screenshots/hull.
add_test(NAME road_xvfb_hull_after_restart
  COMMAND xvfb-run -a -s "-screen 0 1280x720x24"
          bash ${CMAKE_SOURCE_DIR}/tests/screens/roadHullUnderXvfb.sh $<TARGET_FILE:zorbex>
          $<TARGET_FILE:zx_local_service> ${CMAKE_BINARY_DIR}/data ${CMAKE_BINARY_DIR}/screenshots/hull)
set_tests_properties(road_xvfb_hull_after_restart PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE)
