// Arbitrary bytes as the code of a well-formed script whose event handler and one start-up
// thread begin at position 0: the interpreter faults, yields or ends, and every step stays
// inside its instruction limit.
#include <vector>

#include "ScriptFuzzSetup.h"
#include "script/fwkScript.h"
#include "script/scriptVmc.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ScriptFuzzStart();
  if (size < 2) return 0;
  vmcProgram program;
  program.version = data[0] < 128 ? 9 : 8;
  program.code.assign(data + 1, data + size);
  program.routineNames = {"Report", "Unknown"};
  program.hasEventHandler = true;
  program.threadEntries = {0};
  program.objects.resize(2);
  // Object 1 is a list, whose item attributes read an index reference from the code.
  program.objects[1].kind = kVmcKindList;
  const int32_t id = ScriptOpenBytes("code.vmc", VmcWrite(program));
  if (id <= 0) return 0;
  ScriptFuzzDrive(id);
  return 0;
}
