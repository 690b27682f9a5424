// The ".vmc" container: a header and tagged chunks holding one compiled script. The loader
// reads it; the assembler writes it. docs/scripts.md describes the layout byte by byte.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "script/fwkScript.h"

constexpr char kVmcMagic[4] = {'V', 'M', 'C', 0x1A};
constexpr uint16_t kVmcFormat = 1;
// Chunk tags, four characters each.
constexpr char kVmcChunkCode[] = "CODE";
constexpr char kVmcChunkRoutines[] = "RTNS";
constexpr char kVmcChunkEvent[] = "EVNT";
constexpr char kVmcChunkThreads[] = "THRD";
constexpr char kVmcChunkObjects[] = "OBJS";
constexpr char kVmcChunkControlSet[] = "CSET";
// Code positions are int32 and every code read is bounds-checked; this keeps files sane.
constexpr size_t kVmcCodeLimit = 16u * 1024u * 1024u;
constexpr size_t kVmcObjectLimit = 65535;

// The object kind whose item attributes name their item with an index reference (a mode byte
// and an int32) written after the instruction's other operands.
constexpr int32_t kVmcKindList = 5;
constexpr bool VmcAttributeTakesItem(int32_t kind, int32_t attribute, bool set) {
  if (kind != kVmcKindList) return false;
  return set ? attribute == 5 || attribute == 15 || attribute == 16
             : attribute == 5 || attribute == 20 || attribute == 21;
}

struct vmcFrame {
  std::string name;
  std::vector<std::string> names;
  std::string mat;
  std::vector<std::string> models;
};

struct vmcFrameSet {
  std::vector<vmcFrame> frames;
};

struct vmcProperty {
  std::string key;
  parameter value;
};

struct vmcObject {
  std::string name;
  int32_t kind = 0;
  uint8_t display = 0;
  int32_t layer = 0;
  bool hidden = false;
  std::string font;
  std::vector<vmcProperty> properties;
  std::vector<vmcFrameSet> frameSets;
  std::vector<std::string> children;
};

struct vmcProgram {
  int32_t version = 9;
  std::vector<uint8_t> code;
  std::vector<std::string> routineNames;
  bool hasEventHandler = false;
  int32_t eventEntry = 0;
  std::vector<int32_t> threadEntries;
  std::vector<vmcObject> objects;
  std::string controlSet;
};

// False, with a reason, for anything that is not a well-formed container.
bool VmcRead(const std::vector<uint8_t>& bytes, vmcProgram& program, std::string& reason);
std::vector<uint8_t> VmcWrite(const vmcProgram& program);
