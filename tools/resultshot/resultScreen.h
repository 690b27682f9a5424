// The result screens as a screenshot shows them: the game draws its 1280 x 720 picture with the
// "You Win" or "You Are Dead" picture centred on it.
#pragma once

#include <string>

// The share (0 to 1) of the picture's opaque pixels that the screenshot (the bytes of a 24-bit
// bottom-up BMP of 1280 x 720, as the program writes them) shows in place, each colour within a
// small tolerance; 0 when the picture cannot be read or the screenshot is not of that size.
double ResultPictureShown(const std::string& shot, const std::string& picturePath);

// "won", "died", or "" for neither; contentFolder holds Bin/Sprites/ with both pictures.
std::string ResultScreenOf(const std::string& shot, const std::string& contentFolder);
