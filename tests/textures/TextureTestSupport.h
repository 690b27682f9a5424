// Shared by the texture and font drawing tests: a data folder of their own, image files written
// by a small TGA writer of the tests (independent of the readers), and log line counting.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

// Makes an empty data folder for this test process, points the program folder at it and starts
// the data-file module there. Returns the folder (ending in '/').
std::string TextureTestDataFolder();
// Closes the data files and removes the folder again.
void TextureTestRemoveDataFolder(const std::string& folder);

// For a suite that draws: starts the graphics, font and texture modules, makes the suite's data
// folder (returned in dataFolder) and opens a headless display of the given size, returned.
int32_t TextureTestSuiteStart(int32_t width, int32_t height, std::string& dataFolder);
// Stops what TextureTestSuiteStart started and removes the data folder.
void TextureTestSuiteStop(const std::string& dataFolder);

// Writes an uncompressed top-down TGA of 24 or 32 bits whose pixel (x, y) is colour(x, y)
// (0xAARRGGBB; the alpha byte is written only at 32 bits).
void TextureTestWriteTga(const std::string& path, int32_t width, int32_t height, int32_t bits,
                         const std::function<uint32_t(int32_t, int32_t)>& colour);

void TextureTestWriteFile(const std::string& path, const std::string& bytes);

// A colour distinct from its neighbours in every direction, opaque.
uint32_t TextureTestPattern(int32_t x, int32_t y);

// Number of log lines that are exactly line (line ends not counted).
int32_t TextureTestLogCount(const std::string& line);
