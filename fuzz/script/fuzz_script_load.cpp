// Arbitrary bytes as a ".vmc" file: refused with a log line or loaded and run for a few frames,
// never reading outside the container or running without end.
#include <vector>

#include "ScriptFuzzSetup.h"
#include "script/fwkScript.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ScriptFuzzStart();
  const int32_t id = ScriptOpenBytes("fuzz.vmc", std::vector<uint8_t>(data, data + size));
  if (id > 0) ScriptFuzzDrive(id);
  return 0;
}
