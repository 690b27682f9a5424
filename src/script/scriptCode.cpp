#include "script/scriptCode.h"

#include "script/scriptInternal.h"

bool scriptCodeReader::Fail() {
  position = -1;
  return false;
}

bool scriptCodeReader::Byte(uint8_t& value) {
  if (position < 0 || static_cast<size_t>(position) >= code.size()) return Fail();
  value = code[static_cast<size_t>(position)];
  ++position;
  return true;
}

bool scriptCodeReader::U16(uint16_t& value) {
  if (position < 0 || static_cast<size_t>(position) + 1 >= code.size()) return Fail();
  const size_t at = static_cast<size_t>(position);
  value = static_cast<uint16_t>(code[at] | (code[at + 1] << 8));
  position += 2;
  return true;
}

bool scriptCodeReader::I32(int32_t& value) {
  if (position < 0 || static_cast<size_t>(position) + 3 >= code.size()) return Fail();
  const size_t at = static_cast<size_t>(position);
  const uint32_t raw =
      static_cast<uint32_t>(code[at]) | (static_cast<uint32_t>(code[at + 1]) << 8) |
      (static_cast<uint32_t>(code[at + 2]) << 16) | (static_cast<uint32_t>(code[at + 3]) << 24);
  value = static_cast<int32_t>(raw);
  position += 4;
  return true;
}

bool scriptCodeReader::Literal(parameter& value) {
  uint8_t type = 0;
  if (!Byte(type)) return false;
  if (type == kScriptTypeInteger) {
    int32_t number = 0;
    if (!I32(number)) return false;
    value = ScriptInteger(number);
    return true;
  }
  if (type == kScriptTypeBoolean) {
    uint8_t flag = 0;
    if (!Byte(flag)) return false;
    if (flag > 1) return Fail();
    value = ScriptBoolean(flag == 1);
    return true;
  }
  if (type != kScriptTypeString) return Fail();
  int32_t length = 0;
  if (version < 9) {
    uint8_t shortLength = 0;
    if (!Byte(shortLength)) return false;
    length = shortLength;
  } else {
    uint16_t longLength = 0;
    if (!U16(longLength)) return false;
    length = longLength;
  }
  if (static_cast<size_t>(position) + static_cast<size_t>(length) > code.size()) return Fail();
  const char* text = reinterpret_cast<const char*>(code.data()) + position;
  value = ScriptString(std::string(text, static_cast<size_t>(length)));
  position += length;
  return true;
}

bool scriptCodeReader::StackReference(const scriptThread& thread, int32_t& slot) {
  uint8_t mode = 0;
  int32_t n = 0;
  if (!Byte(mode) || !I32(n)) return false;
  int64_t named = n;
  if (mode == 2) named = static_cast<int64_t>(thread.base) + n;
  if (mode == 1) named = static_cast<int64_t>(thread.base) - n;
  if (named < 0 || named >= static_cast<int64_t>(thread.stack.size())) return Fail();
  slot = static_cast<int32_t>(named);
  return true;
}

bool scriptCodeReader::Value(const scriptThread& thread, bool isReference, parameter& value) {
  if (!isReference) return Literal(value);
  int32_t slot = 0;
  if (!StackReference(thread, slot)) return false;
  value = thread.stack[static_cast<size_t>(slot)];
  return true;
}

bool scriptCodeReader::ItemIndex(const scriptThread& thread, int32_t& item) {
  uint8_t mode = 0;
  int32_t n = 0;
  if (!Byte(mode) || !I32(n)) return false;
  if (mode == 3) {
    item = n;
    return true;
  }
  if (mode > 3) return Fail();
  int64_t named = n;
  if (mode == 2) named = static_cast<int64_t>(thread.base) + n;
  if (mode == 1) named = static_cast<int64_t>(thread.base) - n;
  if (named < 0 || named >= static_cast<int64_t>(thread.stack.size())) return Fail();
  // A string is read whole to convert it.
  ScriptBudgetCharge(thread.stack[static_cast<size_t>(named)].string.size());
  item = ScriptValueToInt(thread.stack[static_cast<size_t>(named)]);
  return true;
}

bool scriptCodeReader::Target(int32_t& target) {
  if (!I32(target)) return false;
  if (target < 0 || static_cast<size_t>(target) >= code.size()) return Fail();
  return true;
}
