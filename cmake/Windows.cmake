# The Windows build, cross-compiled on Linux: GoogleTest from Debian's sources, a static runtime
# (the folder runs without any DLL of the compiler), the Ogg Vorbis types, and the content
# archive and launcher picture that the Linux build of the same checkout makes.

if(SANGUOR_TESTS)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()
add_link_options(-static)

# libvorbisfile is found at run time; only its types are needed to build. Debian's headers are
# portable (they have a MinGW branch), but the cross compiler must not see the rest of
# /usr/include, so the two folders are copied on their own.
set(SANGUOR_VORBIS_INCLUDE ${CMAKE_BINARY_DIR}/vorbis-include)
file(COPY /usr/include/vorbis /usr/include/ogg DESTINATION ${SANGUOR_VORBIS_INCLUDE})

set(SANGUOR_NATIVE_BIN ${CMAKE_SOURCE_DIR}/build/bin CACHE PATH
    "Program folder of the Linux build whose content archive and launcher picture are shipped")
foreach(file Sanguor.qza Launcher.bmp)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/bin/${file}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${SANGUOR_NATIVE_BIN}/${file} ${CMAKE_BINARY_DIR}/bin/${file}
    DEPENDS ${SANGUOR_NATIVE_BIN}/${file}
    COMMENT "Taking ${file} from the Linux build")
endforeach()
add_custom_target(content ALL DEPENDS ${CMAKE_BINARY_DIR}/bin/Sanguor.qza)
add_custom_target(launcher_picture ALL DEPENDS ${CMAKE_BINARY_DIR}/bin/Launcher.bmp)

# The content tools run on the build machine, so the Windows build takes only the script
# assembler, whose library the script tests use, and the test folders that do not drive SDL or
# the Linux desktop.
set(SANGUOR_WINDOWS_TOOLS vmcasm)
# The image tests make their reference pictures with ImageMagick, which Windows programs under
# Wine cannot start; on Windows the decoders are checked through their fuzz corpora.
set(SANGUOR_WINDOWS_TESTS datafile script mats meshes textures graphics game win32)
# Fuzz folders whose targets need the Linux-only tools or SDL.
set(SANGUOR_FUZZ_REPLAYS_LEFT_OUT levels replaybot audio fonts)
function(sanguor_windows_tools_and_tests)
  if(NOT SANGUOR_TESTS)
    return()
  endif()
  sanguor_windows_posix_compat()
  foreach(tool ${SANGUOR_WINDOWS_TOOLS})
    add_subdirectory(${CMAKE_SOURCE_DIR}/tools/${tool})
  endforeach()
  foreach(folder ${SANGUOR_WINDOWS_TESTS})
    if(EXISTS ${CMAKE_SOURCE_DIR}/tests/${folder}/CMakeLists.txt)
      add_subdirectory(${CMAKE_SOURCE_DIR}/tests/${folder})
    endif()
  endforeach()
endfunction()

# Every program carries the version resource (the framework reads the company and product names
# from its own executable) and the application manifest, so the tests run as the game does.
# Its icon is the one the Linux build draws for the desktop, at every size in one .ico file.
enable_language(RC)
find_program(IMAGEMAGICK_CONVERT convert REQUIRED)
set(SANGUOR_ICON ${CMAKE_BINARY_DIR}/sanguor.ico)
set(SANGUOR_ICON_SOURCES)
foreach(size 32 48 64 128 256)
  list(APPEND SANGUOR_ICON_SOURCES ${SANGUOR_NATIVE_BIN}/../icons/${size}x${size}/sanguor.png)
endforeach()
# Made when the build is configured, so every program's resource finds it; the Linux build's
# icons are made first (make windows), and a change to them configures again.
foreach(png ${SANGUOR_ICON_SOURCES})
  if(NOT EXISTS ${png})
    message(FATAL_ERROR "${png} is missing: build the Linux build's icons first (make windows does)")
  endif()
endforeach()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${SANGUOR_ICON_SOURCES})
execute_process(COMMAND ${IMAGEMAGICK_CONVERT} ${SANGUOR_ICON_SOURCES} ${SANGUOR_ICON} COMMAND_ERROR_IS_FATAL ANY)
set(SANGUOR_MANIFEST ${CMAKE_SOURCE_DIR}/src/shell/windows/sanguor.manifest)
configure_file(${CMAKE_SOURCE_DIR}/src/shell/windows/sanguor.rc.in ${CMAKE_BINARY_DIR}/sanguor.rc @ONLY)
set_source_files_properties(${CMAKE_BINARY_DIR}/sanguor.rc PROPERTIES OBJECT_DEPENDS "${SANGUOR_MANIFEST};${SANGUOR_ICON}")
set(SANGUOR_VERSION_RESOURCE ${CMAKE_BINARY_DIR}/sanguor.rc)

# Tests run under Wine, each program in the build's own prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tools/windows/wine-run.sh ${CMAKE_BINARY_DIR}/wine)

include(cmake/windows-audio.cmake)

# The folder a person zips and runs: the program beside its content and sound libraries.
set(SANGUOR_WINDOWS_PACKAGE ${CMAKE_BINARY_DIR}/Sanguor)
add_custom_target(windows_package ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory ${SANGUOR_WINDOWS_PACKAGE}
  COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:sanguor> ${CMAKE_BINARY_DIR}/bin/Sanguor.qza
          ${CMAKE_BINARY_DIR}/bin/Launcher.bmp ${SANGUOR_AUDIO_DLL_PATHS} ${SANGUOR_WINDOWS_PACKAGE}
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${SANGUOR_AUDIO_LICENCES} ${SANGUOR_WINDOWS_PACKAGE}
  DEPENDS content launcher_picture
  COMMENT "Gathering the Windows folder in ${SANGUOR_WINDOWS_PACKAGE}")
add_dependencies(windows_package sanguor audio_libraries)

# Tests and fuzz replays are written for Linux; the Windows C runtime gets the POSIX calls they use.
macro(sanguor_windows_posix_compat)
  add_compile_options(-include ${CMAKE_SOURCE_DIR}/tests/windows/posix_compat.h)
  include_directories(${CMAKE_SOURCE_DIR}/tests/windows)
endmacro()
