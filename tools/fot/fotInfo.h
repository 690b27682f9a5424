// Describing a ".fot" file: header and per-image glyph counts, read by the engine's own reader.
#pragma once

#include <string>

// Returns false with the reader's message in error when the file is not a valid font.
bool FotInfo(const std::string& path, std::string& report, std::string& error);
