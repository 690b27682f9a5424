# Makes the game's data archive from the sources. Run by the build (and by the tests, which
# make it a second time to compare the bytes):
#   cmake -DCONTENTGEN=... -DSOUNDGEN=... -DFOT=... -DQZA=... -DSOURCE=content -DFONT=x.ttf -DPIXELS=22
#         -DVMCASM=... -DSTAGE=folder -DARCHIVE=Sanguor.qza -P Pack.cmake
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

# The level scripts: every level gets content/scripts/Common.vasm (the pause panel, the hint
# panel, the event handler) followed by the files its part names in "; uses FILE" lines and by
# the part itself, content/scripts/Map<N>.vasm, or an empty part where a level has none.
file(MAKE_DIRECTORY ${STAGE}/Bin/Scripts)
set(script_work ${STAGE}-scripts)
file(REMOVE_RECURSE ${script_work})
file(MAKE_DIRECTORY ${script_work})
file(READ ${SOURCE}/scripts/Common.vasm common)
foreach(level ${levels})
  get_filename_component(name ${level} NAME_WE)
  set(part "level_enter:\n    return\n")
  if(EXISTS ${SOURCE}/scripts/${name}.vasm)
    file(READ ${SOURCE}/scripts/${name}.vasm part)
  endif()
  set(text "${common}")
  # A semicolon would split the matches into list items: scan a copy without them.
  string(REPLACE ";" "#" scan "${part}")
  string(REGEX MATCHALL "# uses [^\n]+" uses "${scan}")
  foreach(use ${uses})
    string(REPLACE "# uses " "" used "${use}")
    file(READ ${SOURCE}/scripts/${used} used_text)
    string(APPEND text "${used_text}")
  endforeach()
  string(APPEND text "${part}")
  file(WRITE ${script_work}/${name}.vasm "${text}")
  run(${VMCASM} ${script_work}/${name}.vasm ${STAGE}/Bin/Scripts/${name}.vmc)
endforeach()

# The sounds: synthesised and encoded to Ogg Vorbis under Bin\Sounds.
run(${SOUNDGEN} ${STAGE})

run(${QZA} pack ${STAGE} ${ARCHIVE})
