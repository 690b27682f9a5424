# Makes the game's data archive from the sources. Run by the build (and by the tests, which
# make it a second time to compare the bytes):
#   cmake -DCONTENTGEN=... -DSOUNDGEN=... -DFOT=... -DQZA=... -DSOURCE=content -DFONT=x.ttf -DPIXELS=22
#         -DSTAGE=folder -DARCHIVE=Sanguor.qza -P Pack.cmake
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "failed (${result}): ${ARGN}")
  endif()
endfunction()

# A fresh stage each time, so a picture dropped from the sources leaves the archive too.
file(REMOVE_RECURSE ${STAGE})
run(${CONTENTGEN} --art ${SOURCE}/art ${STAGE})
file(MAKE_DIRECTORY ${STAGE}/Bin/Fonts)
run(${FOT} build ${FONT} ${PIXELS} 32 126 "${STAGE}/Bin/Fonts/Menu Description Small.fot"
    --name "Menu Description Small")

# The levels get CR LF line ends, which is how the game reads lines (a carriage return ends
# a line); the sources keep plain line ends for editing.
file(GLOB levels ${SOURCE}/levels/Map*.map)
file(MAKE_DIRECTORY ${STAGE}/Bin/Maps)
foreach(level ${levels})
  get_filename_component(name ${level} NAME)
  file(READ ${level} text)
  string(REPLACE "\r" "" text "${text}")
  string(REPLACE "\n" "\r\n" text "${text}")
  file(WRITE ${STAGE}/Bin/Maps/${name} "${text}")
endforeach()

# The sounds: synthesised and encoded to Ogg Vorbis under Bin\Sounds.
run(${SOUNDGEN} ${STAGE})

run(${QZA} pack ${STAGE} ${ARCHIVE})
