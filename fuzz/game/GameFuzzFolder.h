// A data folder of the fuzz run's own, with the data-file module and the log started on it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Starts the modules once; later calls only return the folder (ends in '/').
const std::string& GameFuzzFolder();
// Writes the bytes as a file of the folder (the name uses '\' between folders).
void GameFuzzWrite(const std::string& name, const uint8_t* data, size_t size);
