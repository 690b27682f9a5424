# Copies content/levels/MapN.map into the stage with CR LF line ends, which is how the game
# reads lines (a carriage return ends a line). The sources keep plain line ends for editing.
file(GLOB levels ${LEVELS}/Map*.map)
file(MAKE_DIRECTORY ${OUT})
foreach(level ${levels})
  get_filename_component(name ${level} NAME)
  file(READ ${level} text)
  string(REPLACE "\r" "" text "${text}")
  string(REPLACE "\n" "\r\n" text "${text}")
  file(WRITE ${OUT}/${name} "${text}")
endforeach()
