// The three value types and the conversions every instruction and routine uses.
#include "script/fwkScript.h"
#include "services/fwkText.h"

parameter ScriptInteger(int32_t value) {
  parameter result;
  result.type = kScriptTypeInteger;
  result.integer = value;
  return result;
}

parameter ScriptBoolean(bool value) {
  parameter result;
  result.type = kScriptTypeBoolean;
  result.boolean = value ? 1 : 0;
  return result;
}

parameter ScriptString(const std::string& value) {
  parameter result;
  result.type = kScriptTypeString;
  result.string = value;
  return result;
}

int32_t ScriptValueToInt(const parameter& value) {
  if (value.type == kScriptTypeInteger) return value.integer;
  if (value.type == kScriptTypeBoolean) return value.boolean != 0 ? 1 : 0;
  if (value.type == kScriptTypeString) {
    int32_t converted = 0;
    return TextToInteger(value.string, converted) ? converted : 0;
  }
  return 0;
}

bool ScriptValueToBool(const parameter& value) {
  if (value.type == kScriptTypeInteger) return value.integer != 0;
  if (value.type == kScriptTypeBoolean) return value.boolean != 0;
  if (value.type == kScriptTypeString) return TextUpper(value.string) == "TRUE";
  return false;
}

std::string ScriptValueToString(const parameter& value) {
  if (value.type == kScriptTypeInteger) return std::to_string(value.integer);
  if (value.type == kScriptTypeBoolean) return value.boolean != 0 ? "true" : "false";
  if (value.type == kScriptTypeString) return value.string;
  return std::string();
}
