// Keyboard and mouse events in the Windows shapes, hooks, system metrics and joysticks of
// the platform contract.
#pragma once
