// Readers of the instruction stream. Each reads at the position and advances it; a read that
// would pass the end of the code, or a malformed operand, sets the position to -1 (which ends
// the thread) and returns false.
#pragma once

#include <cstdint>
#include <vector>

#include "script/fwkScript.h"

struct scriptThread;

struct scriptCodeReader {
  const std::vector<uint8_t>& code;
  int32_t version;
  int32_t& position;

  bool Byte(uint8_t& value);
  bool U16(uint16_t& value);
  bool I32(int32_t& value);
  bool Literal(parameter& value);
  // The slot a stack reference names; it must exist on the thread's stack.
  bool StackReference(const scriptThread& thread, int32_t& slot);
  // A copy of the slot when isReference, else a literal.
  bool Value(const scriptThread& thread, bool isReference, parameter& value);
  // A list item's number from an index reference: mode 0 the integer value of slot n, 1 of
  // slot base - n, 2 of slot base + n, 3 the number n itself; any other mode is a fault.
  bool ItemIndex(const scriptThread& thread, int32_t& item);
  // A code position that lies inside the code.
  bool Target(int32_t& target);

  bool Fail();
};
