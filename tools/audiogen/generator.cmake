# The sound effects and built-in music: composed and encoded at build time by
# zx_audiogen_tool. The synthesiser and encoder library is shared with the
# audio tests and benchmarks, which make their own test files with it.
set(zx_audiogen_dir ${CMAKE_SOURCE_DIR}/tools/audiogen)
file(GLOB zx_audiogen_srcs CONFIGURE_DEPENDS ${zx_audiogen_dir}/lib/*.cpp)
add_library(zx_audiogen STATIC ${zx_audiogen_srcs})
target_include_directories(zx_audiogen PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(zx_audiogen PUBLIC PkgConfig::FFMPEG PkgConfig::TAGLIB Threads::Threads)
# Composing runs on every clean build; keep it quick even in debug builds.
target_compile_options(zx_audiogen PRIVATE -O2)

add_executable(zx_audiogen_tool ${zx_audiogen_dir}/main.cpp)
target_compile_options(zx_audiogen_tool PRIVATE -O2)
target_link_libraries(zx_audiogen_tool PRIVATE zx_audiogen)

set(zx_audiogen_stamp ${CMAKE_BINARY_DIR}/audiogen.stamp)
add_custom_command(OUTPUT ${zx_audiogen_stamp}
  COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0 $<TARGET_FILE:zx_audiogen_tool> ${ZX_DATA_DIR}
  COMMAND ${CMAKE_COMMAND} -E touch ${zx_audiogen_stamp}
  DEPENDS zx_audiogen_tool
  COMMENT "Composing sound effects and built-in music")
add_custom_target(zx_audio_data DEPENDS ${zx_audiogen_stamp})
add_dependencies(zx_data zx_audio_data)
