# sanguor_add_subfolders(FOLDER [EXCLUDE_FROM_ALL TARGET]) adds every direct subfolder of FOLDER
# that holds a CMakeLists.txt, in name order. With EXCLUDE_FROM_ALL their targets are built only
# when asked for, and the custom target TARGET builds them all.
function(sanguor_add_subfolders folder)
  cmake_parse_arguments(ARG "" "EXCLUDE_FROM_ALL" "" ${ARGN})
  file(GLOB children LIST_DIRECTORIES true CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*)
  list(SORT children)
  set(all_targets "")
  foreach(child ${children})
    if(IS_DIRECTORY ${child} AND EXISTS ${child}/CMakeLists.txt)
      if(ARG_EXCLUDE_FROM_ALL)
        add_subdirectory(${child} EXCLUDE_FROM_ALL)
        get_property(targets DIRECTORY ${child} PROPERTY BUILDSYSTEM_TARGETS)
        list(APPEND all_targets ${targets})
      else()
        add_subdirectory(${child})
      endif()
    endif()
  endforeach()
  if(ARG_EXCLUDE_FROM_ALL)
    add_custom_target(${ARG_EXCLUDE_FROM_ALL})
    if(all_targets)
      add_dependencies(${ARG_EXCLUDE_FROM_ALL} ${all_targets})
    endif()
  endif()
endfunction()

# Code that only tests (test programs, fuzz targets' harnesses) is compiled at -O1 with line
# tables only in the optimised build with debug information: that halves its compile time
# (docs/performance.md, "Building the test programs"). The framework's own sources, also where a
# test or fuzz program compiles one itself, keep the build's flags, so the tests exercise the
# code the game runs.
set(SANGUOR_TEST_CODE_OPTIONS $<$<CONFIG:RelWithDebInfo>:-O1$<SEMICOLON>-g1>)

# Gives TARGET's own sources under FOLDERS (paths in the project), and those generated in the
# build folder, the test code's options.
function(sanguor_test_code_options target)
  get_target_property(sources ${target} SOURCES)
  get_target_property(source_dir ${target} SOURCE_DIR)
  foreach(source ${sources})
    get_filename_component(path ${source} ABSOLUTE BASE_DIR ${source_dir})
    file(RELATIVE_PATH relative ${CMAKE_SOURCE_DIR} ${path})
    string(FIND "${path}" "${CMAKE_BINARY_DIR}/" in_build)
    if(path MATCHES "\\.cpp$" AND (relative MATCHES "^(tests|fuzz)/" OR in_build EQUAL 0))
      set_property(SOURCE ${path} DIRECTORY ${source_dir} PROPERTY COMPILE_OPTIONS ${SANGUOR_TEST_CODE_OPTIONS})
    else()
      # The precompiled headers were made with the test code's options, which a framework
      # source does not have (GCC would refuse them and read the headers again).
      set_property(SOURCE ${path} DIRECTORY ${source_dir} PROPERTY SKIP_PRECOMPILE_HEADERS ON)
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

# Test programs are compiled as one translation unit each (all their test sources included in one
# file; framework sources they compile themselves stay apart, at the build's own flags): GoogleTest's headers and the templates its macros expand to are then compiled once per
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
    if(path MATCHES "\\.cpp$" AND relative MATCHES "^tests/")
      string(APPEND content "#include \"${relative}\"\n")
    else()
      list(APPEND rest ${source})
    endif()
  endforeach()
  set(unity ${CMAKE_CURRENT_BINARY_DIR}/${name}_unity.cpp)
  file(CONFIGURE OUTPUT ${unity} CONTENT "${content}" @ONLY)
  set(${out} ${unity} ${rest} PARENT_SCOPE)
endfunction()

# GoogleTest's headers and the standard headers most tests include, compiled once and read by
# every test program's sources as their first include: parsing them again took about a second per
# source (docs/performance.md). Only standard and GoogleTest headers go in, so no test sees a name
# it did not include itself from elsewhere.
option(SANGUOR_PRECOMPILED_TEST_HEADERS "Precompile GoogleTest's headers once for all test programs" ON)
if(SANGUOR_PRECOMPILED_TEST_HEADERS AND SANGUOR_TESTS AND NOT WIN32)
  add_library(sanguor_test_headers OBJECT ${CMAKE_SOURCE_DIR}/tests/TestHeaders.cpp)
  target_link_libraries(sanguor_test_headers PRIVATE GTest::gtest)
  target_compile_options(sanguor_test_headers PRIVATE ${SANGUOR_TEST_CODE_OPTIONS})
  target_precompile_headers(sanguor_test_headers PRIVATE
    <gtest/gtest.h> <algorithm> <cstdint> <filesystem> <fstream> <sstream> <string> <vector>)
endif()

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
  if(TARGET sanguor_test_headers)
    target_precompile_headers(${name} REUSE_FROM sanguor_test_headers)
  endif()
  # At the end of the folder, so sources its CMakeLists.txt adds afterwards are counted too.
  cmake_language(EVAL CODE "cmake_language(DEFER CALL sanguor_test_code_options [[${name}]])")
  if(WIN32)
    # Under Wine every process start costs about a second: one CTest test per program.
    add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
  else()
    gtest_discover_tests(${name} WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
      PROPERTIES ENVIRONMENT "SDL_VIDEODRIVER=offscreen"
      DISCOVERY_TIMEOUT 60)
  endif()
endfunction()
