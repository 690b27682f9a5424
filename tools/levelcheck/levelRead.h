// The checker's reading of a level file: the game's own reader, and on top of it what only a
// level's author needs to hear: human sheets that cannot be opened, a missing player start,
// humans without a place or pictures, and a file the game reads as one line.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "game/gameLevelRead.h"

// Answers whether a content path ("Bin\Tiles\Stone Block.tga") can be opened.
using levelContentExists = std::function<bool(const std::string& contentPath)>;

levelData LevelRead(const std::vector<std::string>& lines, const levelContentExists& exists);
// The same from a file's bytes; a file with line feeds but no carriage return is one line to
// the game, which is reported first.
levelData LevelReadBytes(const std::string& bytes, const levelContentExists& exists);
