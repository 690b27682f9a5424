// The keep-awake bookkeeping every backend shares: pulses are counted, and a pulse holds the
// screen saver off until it is older than the game's pulse interval with some margin, so a
// paused or minimised game lets the screen saver start as any other program would.
#pragma once

// Counts the pulse and starts (or extends) the hold.
void KeepAwakeNotePulse();
// True once when the hold has just lapsed: the backend then lets the screen saver run again.
bool KeepAwakeHoldLapsed();
bool KeepAwakeHolding();
