// What a shell backend supplies to the shared message-box and window-picture calls
// (common/shell/), defined once per backend in its shell library, as native_video.h is for the
// video part.
#pragma once

#include <cstdint>
#include <string>

#include "platform/common/window_picture_store.h"
#include "platform/platform_shell.h"

// Shows a box on the desktop (never called headless) and gives the answer; 0 when the system
// cannot show one.
int32_t NativeMessageBox(const std::string& text, const std::string& caption, uint32_t flags);
// Draws the window's kept picture now (nothing in headless runs).
void NativePaintPicture(platformWindow window, const windowPicture& picture);
