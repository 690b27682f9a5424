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

# Test programs are compiled as one translation unit each (all their C++ sources included in one
# file): GoogleTest's headers and the templates its macros expand to are then compiled once per
# program instead of once per source, which took the test programs' compile time to about half
# (docs/performance.md). The file includes the sources by their path in the project, through the
# project folder on the include path, so it is the same in every checkout and the compiler cache
# shares it.
option(SANGUOR_UNITY_TESTS "Compile each test program as one translation unit" ON)

function(sanguor_unity_sources name out)
  set(content "// Generated: the C++ sources of ${name}, compiled as one.\n")
  set(rest "")
  foreach(source ${ARGN})
    get_filename_component(path ${source} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    file(RELATIVE_PATH relative ${CMAKE_SOURCE_DIR} ${path})
    if(path MATCHES "\\.cpp$" AND NOT relative MATCHES "^\\.\\.")
      string(APPEND content "#include \"${relative}\"\n")
    else()
      list(APPEND rest ${source})
    endif()
  endforeach()
  set(unity ${CMAKE_CURRENT_BINARY_DIR}/${name}_unity.cpp)
  file(CONFIGURE OUTPUT ${unity} CONTENT "${content}" @ONLY)
  set(${out} ${unity} ${rest} PARENT_SCOPE)
endfunction()

# sanguor_test(NAME SOURCES... [SEPARATE sources...] DEPS libs...)
# One GoogleTest program registered with CTest. Tests run in their own build folder so the
# files they write never touch the source tree. SEPARATE sources are compiled on their own, not
# with the rest: those that give a helper the same name as another source of the program does.
function(sanguor_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;SEPARATE;DEPS" ${ARGN})
  set(sources ${ARG_SOURCES} ${CMAKE_SOURCE_DIR}/tests/TestEnvironment.cpp)
  if(SANGUOR_UNITY_TESTS AND NOT WIN32)
    sanguor_unity_sources(${name} sources ${sources})
  endif()
  add_executable(${name} ${sources} ${ARG_SEPARATE} ${SANGUOR_VERSION_RESOURCE})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR})
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
