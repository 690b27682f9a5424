// The platform contract: every service the framework takes from the operating system.
// The framework includes only this header, never SDL or windows.h. A backend (sdl/ now,
// win32/ later) implements all of it; headless runs are a mode of the SDL backend.
#pragma once

#include "platform/platform_system.h"
#include "platform/platform_video.h"
#include "platform/platform_input.h"
#include "platform/platform_shell.h"
