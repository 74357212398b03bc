# Assembles <build>/data from the hand-written data/ folder and the generators.
set(ZX_DATA_DIR ${CMAKE_BINARY_DIR}/data)
file(GLOB_RECURSE zx_data_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/*)
set(zx_data_stamp ${CMAKE_BINARY_DIR}/data.stamp)
add_custom_command(OUTPUT ${zx_data_stamp}
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/data ${ZX_DATA_DIR}
  COMMAND ${CMAKE_COMMAND} -E touch ${zx_data_stamp}
  DEPENDS ${zx_data_sources}
  COMMENT "Copying data/")
add_custom_target(zx_data ALL DEPENDS ${zx_data_stamp})

# Generators add themselves here: each is a custom target that writes into
# ${ZX_DATA_DIR} and is made a dependency of zx_data.
file(GLOB zx_data_generators CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/*/generator.cmake)
foreach(gen ${zx_data_generators})
  include(${gen})
endforeach()
