// The platform contract: every service the framework takes from the operating system.
// The framework includes only this header, never SDL or windows.h. A backend (sdl/ on Linux,
// win32/ on Windows) implements all of it, with what both share in common/; headless runs are a
// mode of each backend.
#pragma once

#include "platform/platform_system.h"
#include "platform/platform_video.h"
#include "platform/platform_input.h"
#include "platform/platform_shell.h"
