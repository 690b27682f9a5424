// What every backend's message box shares: the history of boxes shown and the answer a box
// gets when nobody can see it (headless runs, or no display to show it on).
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform_shell.h"

bool MessageBoxIsYesNo(uint32_t flags);
// Writes the box to standard error and answers it with its default button, or No for a
// Yes/No box when the command line has "-answerno".
int32_t MessageBoxAnswerOnStandardError(const std::string& text, const std::string& caption,
                                        uint32_t flags);
void MessageBoxRemember(const std::string& text, const std::string& caption, uint32_t flags,
                        int32_t answer);
