// Arbitrary text for the assembler: either errors that each name the file and a line, or a
// container the loader takes.
#include <cstdlib>
#include <string>
#include <vector>

#include "ScriptFuzzSetup.h"
#include "script/fwkScript.h"
#include "vmcAsm.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ScriptFuzzStart();
  std::vector<uint8_t> out;
  std::vector<std::string> errors;
  if (!VmcAssemble(std::string(reinterpret_cast<const char*>(data), size), "fuzz.vasm", out,
                   errors)) {
    if (errors.empty()) std::abort();
    for (const std::string& error : errors)
      if (error.rfind("fuzz.vasm:", 0) != 0) std::abort();
    return 0;
  }
  const int32_t id = ScriptOpenBytes("fuzz.vmc", out);
  if (id <= 0) std::abort();
  ScriptFuzzDrive(id);
  return 0;
}
