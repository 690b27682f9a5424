// A data folder of the fuzz run's own with the data-file module, the log and the model store
// started on it, and one display registered with the store (no window: models are never
// compiled, which the readers do not need).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Starts the modules once; returns the display id.
int32_t GraphicsFuzzStart();
// Writes the bytes as the file of that name in the folder, and empties the log.
void GraphicsFuzzWrite(const std::string& name, const uint8_t* data, size_t size);
