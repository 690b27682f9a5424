// What every script fuzz target needs: the log in a temporary folder (emptied now and then, as
// every refused input writes a line), the script module started, and a run of a loaded script
// the way the game drives it.
#pragma once

#include <cstdint>

void ScriptFuzzStart();
// Raises the game's entry event and runs a few frames, then closes the script.
void ScriptFuzzDrive(int32_t scriptId);
