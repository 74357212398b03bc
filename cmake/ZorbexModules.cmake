# zx_module_library(target src...) : the static library of a module (an empty
# source stands in when it has none yet).
function(zx_module_library target)
  set(srcs ${ARGN})
  if(NOT srcs)
    set(srcs ${CMAKE_SOURCE_DIR}/cmake/empty.cpp)
  endif()
  add_library(${target} STATIC ${srcs})
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/generated)
  target_link_libraries(${target} PUBLIC zx_deps)
endfunction()

# zx_module(target dir...) : a static library of every .cpp/.c directly in the dirs.
function(zx_module target)
  set(srcs)
  foreach(dir ${ARGN})
    file(GLOB found CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp ${CMAKE_SOURCE_DIR}/${dir}/*.c)
    list(APPEND srcs ${found})
  endforeach()
  zx_module_library(${target} ${srcs})
endfunction()

# zx_module_recursive(target dir) : the same for every .cpp/.c below dir.
function(zx_module_recursive target dir)
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp ${CMAKE_SOURCE_DIR}/${dir}/*.c)
  zx_module_library(${target} ${srcs})
endfunction()

# zx_test(name dir [LABELS ...]) : one gtest executable of every .cpp in tests/<dir>.
function(zx_test name dir)
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${dir}/*.cpp)
  if(NOT srcs)
    return()
  endif()
  add_executable(${name} ${srcs})
  target_link_libraries(${name} PRIVATE zx_testsupport zx_all GTest::gtest GTest::gmock)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
  add_dependencies(${name} zx_data)
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    PROPERTIES ENVIRONMENT "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy;ZORBEX_DATA=${CMAKE_BINARY_DIR}/data"
    DISCOVERY_TIMEOUT 60)
endfunction()
