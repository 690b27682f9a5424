// Windows, message pump, OpenGL contexts, monitors, message boxes and the keep-awake pulse
// of the platform contract.
#pragma once
