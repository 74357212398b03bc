# A script that drives the real game under Xvfb at 1280 x 720, given the game,
# the tools named after the time limit, the data folder and its screenshot
# folder. Each road runs the whole game under the sanitizers: these run alone,
# not beside the rest of the suite.
function(zx_xvfb_road name script shots timeout)
  set(tools)
  foreach(tool IN LISTS ARGN)
    list(APPEND tools $<TARGET_FILE:${tool}>)
  endforeach()
  add_test(NAME ${name}
    COMMAND xvfb-run -a -s "-screen 0 1280x720x24"
            bash ${CMAKE_SOURCE_DIR}/tests/screens/${script} $<TARGET_FILE:zorbex> ${tools}
            ${CMAKE_BINARY_DIR}/data ${CMAKE_BINARY_DIR}/screenshots/${shots})
  set_tests_properties(${name} PROPERTIES TIMEOUT ${timeout} RUN_SERIAL TRUE)
endfunction()

# The real game from loading to the main menu under Xvfb, with keys sent by
# xdotool and the local web service running in its own small program. The
# screenshots of the title and sign-in screens are left in screenshots/road.
add_executable(zx_local_service ${CMAKE_SOURCE_DIR}/tests/screens/tools/localServiceMain.cpp)
target_link_libraries(zx_local_service PRIVATE zx_online_service zx_all)
zx_xvfb_road(road_xvfb_title_to_main_menu roadUnderXvfb.sh road 180 zx_local_service)
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
zx_xvfb_road(options_xvfb_kept_across_restart optionsUnderXvfb.sh options 240)
# The real game from the title to the music and leaderboard screens under
# Xvfb: a folder of generated tracks picked in the (answered) folder dialog,
# found, browsed by album and played. Screenshots in screenshots/music.
add_executable(zx_make_music_folder ${CMAKE_SOURCE_DIR}/tests/screens/tools/makeMusicFolder.cpp)
target_link_libraries(zx_make_music_folder PRIVATE zx_audiogen)
zx_xvfb_road(road_xvfb_music roadMusicUnderXvfb.sh music 240 zx_local_service zx_make_music_folder)
# A party of two under Xvfb: the keyboard and a virtual controller join, choose
# a head-to-head game and play a short track to its end. Screenshots in
# screenshots/party.
zx_xvfb_road(road_xvfb_party partyUnderXvfb.sh party 300 zx_local_service zx_make_music_folder)
# The real game from the title to the challenge and ship screens under Xvfb,
# against a local service that runs a daily challenge. Screenshots in
# screenshots/ships.
zx_xvfb_road(road_xvfb_ships roadShipsUnderXvfb.sh ships 240 zx_local_service)
# The real game under Xvfb to the Twitter link screen from the main menu and
# from the options menu. Screenshots in screenshots/twitter.
zx_xvfb_road(twitter_xvfb_from_menus twitterUnderXvfb.sh twitter 180 zx_local_service)
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
zx_xvfb_road(road_xvfb_track roadTrackUnderXvfb.sh track 300 zx_local_service)
# The daily challenge under Xvfb, heard through the test capture source:
# attempted, scored onto its board, won a day later and its reward taken
# once. Screenshots in screenshots/challenge.
zx_xvfb_road(road_xvfb_challenge roadChallengeUnderXvfb.sh challenge 300 zx_local_service)
# A game over with a new best left by the desktop ending the game, then a
# restart over the same save folder. Screenshots in screenshots/kept.
zx_xvfb_road(road_xvfb_kept roadKeptUnderXvfb.sh kept 300 zx_local_service)
# After a track under Xvfb: a player seeded just below a rank plays a short
# track to its end; the rank-up bar crosses the rank and the perk unlock
# follows. Screenshots in screenshots/progress.
add_executable(zx_seed_progress_save ${CMAKE_SOURCE_DIR}/tests/screens/tools/seedProgressSave.cpp)
target_link_libraries(zx_seed_progress_save PRIVATE zx_testsupport zx_all)
target_include_directories(zx_seed_progress_save PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
zx_xvfb_road(road_xvfb_progress roadProgressUnderXvfb.sh progress 300 zx_local_service zx_make_music_folder zx_seed_progress_save)
# The real game under Xvfb from the title to the ship editor: a new ship with
# a generated hull picture chosen in the (answered) file dialog, a test flight
# and its return, and the ship published to the local workshop. Screenshots
# in screenshots/shipEditor.
zx_xvfb_road(road_xvfb_ship_editor shipEditorUnderXvfb.sh shipEditor 240 zx_local_service)
# The real game under Xvfb with the local service stalling on board downloads
# and player look-ups: each screen says so and Back never waits. Screenshots
# in screenshots/online.
zx_xvfb_road(road_xvfb_online_trouble roadOnlineTroubleUnderXvfb.sh online 240 zx_local_service)
# The real game under Xvfb: German and then Japanese chosen from Options ->
# Language, each with the options, the main menu, the HUD and the pause.
# Screenshots in screenshots/language.
zx_xvfb_road(road_xvfb_language languageUnderXvfb.sh language 240 zx_local_service)
# The main menu's tiles one after another and back by keys alone; then a track
# paused, resumed and played to its end, and the game over, rank-up, perk
# unlock and main menu clicked with the mouse. Screenshots in screenshots/keysMouse.
zx_xvfb_road(road_xvfb_keys_and_mouse roadKeysAndMouseUnderXvfb.sh keysMouse 360 zx_local_service zx_make_music_folder zx_seed_progress_save)
# The keyboard alone after Configure Keyboard moved the moves: every tile, a
# track chosen and played, the pause and its quit question, a restart, then
# RESET CONTROLLERS. Screenshots in screenshots/keyboardSetUp.
zx_xvfb_road(road_xvfb_keyboard_set_up roadKeyboardSetUpUnderXvfb.sh keyboardSetUp 360 zx_local_service zx_make_music_folder)
# A ship with a hull picture made in the editor and published to the local
# workshop, then the game started again over the same save folder: the hull
# is drawn from the saved picture. Screenshots in screenshots/hull.
zx_xvfb_road(road_xvfb_hull_after_restart roadHullUnderXvfb.sh hull 300 zx_local_service)
