# Adds every direct subfolder of FOLDER that holds a CMakeLists.txt, in name order.
function(sanguor_add_subfolders folder)
  file(GLOB children LIST_DIRECTORIES true CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*)
  list(SORT children)
  foreach(child ${children})
    if(IS_DIRECTORY ${child} AND EXISTS ${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()

# sanguor_library(NAME folder-relative sources... DEPS libs...)
# A framework module library; src/ is the include root ("services/fwkLog.h").
function(sanguor_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
endfunction()

# sanguor_test(NAME SOURCES... DEPS libs...)
# One GoogleTest program registered with CTest. Tests run in their own build folder so the
# files they write never touch the source tree.
function(sanguor_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES} ${CMAKE_SOURCE_DIR}/tests/TestEnvironment.cpp ${SANGUOR_VERSION_RESOURCE})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main Threads::Threads)
  if(WIN32)
    # Under Wine every process start costs about a second: one CTest test per program.
    add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
  else()
    gtest_discover_tests(${name} WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
      PROPERTIES ENVIRONMENT "SDL_VIDEODRIVER=offscreen"
      DISCOVERY_TIMEOUT 60)
  endif()
endfunction()
