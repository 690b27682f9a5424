// The script assembler: the readable text form of a script (docs/scripts.md) turned into a
// ".vmc" container. Shared by the vmcasm tool, the tests and the fuzz target.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Assembles text; fileName names the source in messages ("file:line: message"). Returns false
// with at least one message when the text has errors; out then holds nothing useful.
bool VmcAssemble(const std::string& text, const std::string& fileName, std::vector<uint8_t>& out,
                 std::vector<std::string>& errors);
