// The application window (PlatformAppWindow) for the parts of a backend below its video part:
// the Windows input part posts its injected input there. The video part names the function
// that gives the window when it starts, before any window exists, so the input library needs
// no call into the video library and the two depend on each other in one direction only.
#pragma once

#include "platform/platform_video.h"

using appWindowSource = platformWindow (*)();

void AppWindowSourceSet(appWindowSource source);
// The application window, made on first use as PlatformAppWindow makes it; 0 while no video
// part has started (there is no window to post to then).
platformWindow AppWindowFromSource();
