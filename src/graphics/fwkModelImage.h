// Image models: a flat compiled model with one quad per texture tile, so that drawn at (x, y)
// the image's top-left pixel lies at (x, y) and each image pixel covers one unit.
#pragma once

#include <cstdint>
#include <string>

struct model;

// The model, or none (the display is not registered with the model store, or the file cannot
// be read as an image; one log line says which).
model* ModelOpenImage(int32_t displayId, const std::string& fileName, bool smooth);
