# The sound libraries of the Windows folder: OpenAL Soft, libogg and libvorbis, cross-built from
# the upstream tarballs of Debian's source packages with the project's own MinGW-w64 toolchain.
# Each tarball must match the SHA-256 its Debian source package lists, or the build stops.
# The downloads and the built DLLs stay in the build folder, so a second build neither downloads
# nor compiles them; a change of version or checksum below makes them again.
include(ExternalProject)

set(SANGUOR_DEBIAN_POOL http://deb.debian.org/debian/pool/main)

# Debian 13's openal-soft 1:1.24.2-1: the archive here no longer serves the tarball of
# Debian 12's 1:1.19.1-2.
set(SANGUOR_OPENAL_VERSION 1.24.2)
set(SANGUOR_OPENAL_URL ${SANGUOR_DEBIAN_POOL}/o/openal-soft/openal-soft_${SANGUOR_OPENAL_VERSION}.orig.tar.gz)
set(SANGUOR_OPENAL_SHA256 7efd383d70508587fbc146e4c508771a2235a5fc8ae05bf6fe721c20a348bd7c)
# libogg 1.3.5-3
set(SANGUOR_OGG_VERSION 1.3.5)
set(SANGUOR_OGG_URL ${SANGUOR_DEBIAN_POOL}/libo/libogg/libogg_${SANGUOR_OGG_VERSION}.orig.tar.xz)
set(SANGUOR_OGG_SHA256 c4d91be36fc8e54deae7575241e03f4211eb102afb3fc0775fbbc1b740016705)
# libvorbis 1.3.7-1
set(SANGUOR_VORBIS_VERSION 1.3.7)
set(SANGUOR_VORBIS_URL ${SANGUOR_DEBIAN_POOL}/libv/libvorbis/libvorbis_${SANGUOR_VORBIS_VERSION}.orig.tar.gz)
set(SANGUOR_VORBIS_SHA256 0e982409a9c3fc82ee06e08205b1355e5c6aa4c36bca58146ef399621b0ce5ab)

set(SANGUOR_AUDIO_ROOT ${CMAKE_BINARY_DIR}/audio-libraries)
# What the folder ships: the four DLLs (in bin/), their licences and a note of their sources.
set(SANGUOR_AUDIO_STAGE ${SANGUOR_AUDIO_ROOT}/stage)
set(SANGUOR_AUDIO_DLLS OpenAL32.dll libogg.dll libvorbis.dll libvorbisfile.dll)
list(TRANSFORM SANGUOR_AUDIO_DLLS PREPEND ${SANGUOR_AUDIO_STAGE}/bin/ OUTPUT_VARIABLE SANGUOR_AUDIO_DLL_PATHS)

# Stripped release DLLs with the C and C++ runtimes and winpthread linked in, so no MinGW DLL
# is needed. The host's pkg-config would offer Linux libraries to the cross build, so it finds
# nothing.
set(SANGUOR_AUDIO_CMAKE_ARGS
  -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/windows-toolchain.cmake
  -DCMAKE_BUILD_TYPE=Release
  -DCMAKE_INSTALL_PREFIX=${SANGUOR_AUDIO_STAGE}
  -DBUILD_SHARED_LIBS=ON
  -DBUILD_TESTING=OFF
  "-DCMAKE_SHARED_LINKER_FLAGS=-static-libgcc -static-libstdc++ -static -s"
  -DPKG_CONFIG_EXECUTABLE=/bin/false)
if(SANGUOR_CCACHE)
  list(APPEND SANGUOR_AUDIO_CMAKE_ARGS -DCMAKE_C_COMPILER_LAUNCHER=${SANGUOR_CCACHE}
       -DCMAKE_CXX_COMPILER_LAUNCHER=${SANGUOR_CCACHE})
endif()
set(SANGUOR_AUDIO_COMMON
  DOWNLOAD_DIR ${SANGUOR_AUDIO_ROOT}/downloads
  DOWNLOAD_EXTRACT_TIMESTAMP ON
  INACTIVITY_TIMEOUT 60
  LOG_DOWNLOAD ON LOG_CONFIGURE ON LOG_BUILD ON LOG_INSTALL ON LOG_OUTPUT_ON_FAILURE ON)
set(SANGUOR_AUDIO_LICENCES ${SANGUOR_AUDIO_STAGE}/licences)
# The Xiph libraries' export lists name their DLL "ogg" and "" (which GNU ld refuses); without
# the line each DLL, and what imports from it, takes the file name the program loads.
set(SANGUOR_XIPH_DEF_PATCH sed -i "/^LIBRARY/d")

# The library only: no utilities, examples, configuration sample, HRTF or preset files, EAX.
# Its outputs are the ones Windows has (WASAPI, DirectSound, WinMM) and the null and wave-file
# ones the tests use.
ExternalProject_Add(openal_soft
  URL ${SANGUOR_OPENAL_URL}
  URL_HASH SHA256=${SANGUOR_OPENAL_SHA256}
  PREFIX ${SANGUOR_AUDIO_ROOT}/openal-soft
  ${SANGUOR_AUDIO_COMMON}
  CMAKE_ARGS ${SANGUOR_AUDIO_CMAKE_ARGS}
    -DALSOFT_UTILS=OFF -DALSOFT_EXAMPLES=OFF -DALSOFT_TESTS=OFF -DALSOFT_EAX=OFF
    -DALSOFT_INSTALL_CONFIG=OFF -DALSOFT_INSTALL_HRTF_DATA=OFF -DALSOFT_INSTALL_AMBDEC_PRESETS=OFF
    -DALSOFT_INSTALL_EXAMPLES=OFF -DALSOFT_INSTALL_UTILS=OFF -DALSOFT_EMBED_HRTF_DATA=OFF
    -DALSOFT_BUILD_IMPORT_LIB=OFF -DALSOFT_UPDATE_BUILD_VERSION=OFF
    -DALSOFT_STATIC_LIBGCC=ON -DALSOFT_STATIC_STDCXX=ON -DALSOFT_STATIC_WINPTHREAD=ON
  INSTALL_COMMAND ${CMAKE_COMMAND} --install <BINARY_DIR>
    COMMAND ${CMAKE_COMMAND} -E copy <SOURCE_DIR>/COPYING ${SANGUOR_AUDIO_LICENCES}/OpenAL-Soft-COPYING.txt
  BUILD_BYPRODUCTS ${SANGUOR_AUDIO_STAGE}/bin/OpenAL32.dll)

ExternalProject_Add(libogg
  URL ${SANGUOR_OGG_URL}
  URL_HASH SHA256=${SANGUOR_OGG_SHA256}
  PREFIX ${SANGUOR_AUDIO_ROOT}/libogg
  ${SANGUOR_AUDIO_COMMON}
  PATCH_COMMAND ${SANGUOR_XIPH_DEF_PATCH} <SOURCE_DIR>/win32/ogg.def
  CMAKE_ARGS ${SANGUOR_AUDIO_CMAKE_ARGS}
    -DINSTALL_DOCS=OFF -DINSTALL_PKG_CONFIG_MODULE=OFF -DINSTALL_CMAKE_PACKAGE_MODULE=OFF
  INSTALL_COMMAND ${CMAKE_COMMAND} --install <BINARY_DIR>
    COMMAND ${CMAKE_COMMAND} -E copy <SOURCE_DIR>/COPYING ${SANGUOR_AUDIO_LICENCES}/libogg-COPYING.txt
  BUILD_BYPRODUCTS ${SANGUOR_AUDIO_STAGE}/bin/libogg.dll ${SANGUOR_AUDIO_STAGE}/lib/libogg.dll.a)

# libvorbis and libvorbisfile import from the libogg.dll above, so the three load side by side.
# The encoder library is not shipped, so it is not built.
ExternalProject_Add(libvorbis
  URL ${SANGUOR_VORBIS_URL}
  URL_HASH SHA256=${SANGUOR_VORBIS_SHA256}
  PREFIX ${SANGUOR_AUDIO_ROOT}/libvorbis
  ${SANGUOR_AUDIO_COMMON}
  DEPENDS libogg
  PATCH_COMMAND ${SANGUOR_XIPH_DEF_PATCH} <SOURCE_DIR>/win32/vorbis.def <SOURCE_DIR>/win32/vorbisfile.def
  CMAKE_ARGS ${SANGUOR_AUDIO_CMAKE_ARGS}
    -DOGG_INCLUDE_DIR=${SANGUOR_AUDIO_STAGE}/include
    -DOGG_LIBRARY=${SANGUOR_AUDIO_STAGE}/lib/libogg.dll.a
  BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target vorbisfile
  INSTALL_COMMAND ${CMAKE_COMMAND} -E copy <BINARY_DIR>/lib/libvorbis.dll <BINARY_DIR>/lib/libvorbisfile.dll
      ${SANGUOR_AUDIO_STAGE}/bin
    COMMAND ${CMAKE_COMMAND} -E copy <SOURCE_DIR>/COPYING ${SANGUOR_AUDIO_LICENCES}/libvorbis-COPYING.txt
  BUILD_BYPRODUCTS ${SANGUOR_AUDIO_STAGE}/bin/libvorbis.dll ${SANGUOR_AUDIO_STAGE}/bin/libvorbisfile.dll)

# Where the libraries come from, shipped beside their licences (OpenAL Soft's LGPL asks for it).
configure_file(${CMAKE_SOURCE_DIR}/tools/windows/audio-libraries.txt.in
  ${SANGUOR_AUDIO_LICENCES}/audio-libraries.txt @ONLY)

# The tests run in bin/, beside the programs.
add_custom_target(audio_libraries ALL
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${SANGUOR_AUDIO_DLL_PATHS} ${CMAKE_BINARY_DIR}/bin
  COMMENT "Putting the sound libraries beside the programs")
add_dependencies(audio_libraries openal_soft libvorbis)
