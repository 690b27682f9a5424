#include "script/scriptVmc.h"

#include <cstring>

namespace {

class vmcReader {
 public:
  vmcReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  bool Bytes(void* out, size_t count) {
    if (count > size_ - position_) return Fail();
    if (count > 0) std::memcpy(out, data_ + position_, count);
    position_ += count;
    return true;
  }
  bool U8(uint8_t& value) { return Bytes(&value, 1); }
  bool U16(uint16_t& value) {
    uint8_t b[2];
    if (!Bytes(b, 2)) return false;
    value = static_cast<uint16_t>(b[0] | (b[1] << 8));
    return true;
  }
  bool U32(uint32_t& value) {
    uint8_t b[4];
    if (!Bytes(b, 4)) return false;
    value = static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
            (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24);
    return true;
  }
  bool I32(int32_t& value) {
    uint32_t raw = 0;
    if (!U32(raw)) return false;
    value = static_cast<int32_t>(raw);
    return true;
  }
  bool Str(std::string& text) {
    uint16_t length = 0;
    if (!U16(length)) return false;
    if (length > size_ - position_) return Fail();
    text.assign(reinterpret_cast<const char*>(data_ + position_), length);
    position_ += length;
    return true;
  }
  bool Strings(std::vector<std::string>& list) {
    uint16_t count = 0;
    if (!U16(count)) return false;
    list.resize(0);
    for (uint16_t i = 0; i < count; ++i) {
      std::string text;
      if (!Str(text)) return false;
      list.push_back(std::move(text));
    }
    return true;
  }
  bool Literal(parameter& value) {
    uint8_t type = 0;
    if (!U8(type)) return false;
    if (type == kScriptTypeInteger) {
      value = ScriptInteger(0);
      return I32(value.integer);
    }
    if (type == kScriptTypeBoolean) {
      uint8_t flag = 0;
      if (!U8(flag) || flag > 1) return Fail();
      value = ScriptBoolean(flag == 1);
      return true;
    }
    if (type == kScriptTypeString) {
      value = ScriptString("");
      return Str(value.string);
    }
    return Fail();
  }
  size_t Left() const { return size_ - position_; }
  bool Failed() const { return failed_; }

 private:
  bool Fail() {
    failed_ = true;
    return false;
  }
  const uint8_t* data_;
  size_t size_;
  size_t position_ = 0;
  bool failed_ = false;
};

bool ReadFrame(vmcReader& in, vmcFrame& frame) {
  return in.Str(frame.name) && in.Strings(frame.names) && in.Str(frame.mat) &&
         in.Strings(frame.models);
}

bool ReadObject(vmcReader& in, vmcObject& object) {
  uint8_t hidden = 0;
  if (!in.Str(object.name) || !in.I32(object.kind) || !in.U8(object.display) ||
      !in.I32(object.layer) || !in.U8(hidden) || hidden > 1 || !in.Str(object.font))
    return false;
  object.hidden = hidden == 1;
  uint16_t properties = 0;
  if (!in.U16(properties)) return false;
  for (uint16_t i = 0; i < properties; ++i) {
    vmcProperty property;
    if (!in.Str(property.key) || !in.Literal(property.value)) return false;
    object.properties.push_back(std::move(property));
  }
  uint8_t sets = 0;
  if (!in.U8(sets)) return false;
  for (uint8_t s = 0; s < sets; ++s) {
    uint16_t frames = 0;
    if (!in.U16(frames)) return false;
    vmcFrameSet set;
    for (uint16_t f = 0; f < frames; ++f) {
      vmcFrame frame;
      if (!ReadFrame(in, frame)) return false;
      set.frames.push_back(std::move(frame));
    }
    object.frameSets.push_back(std::move(set));
  }
  return in.Strings(object.children);
}

bool ReadChunk(const std::string& tag, vmcReader& in, vmcProgram& program, std::string& reason) {
  if (tag == kVmcChunkCode) {
    if (in.Left() > kVmcCodeLimit) {
      reason = "code too long";
      return false;
    }
    program.code.resize(in.Left());
    return in.Bytes(program.code.data(), program.code.size());
  }
  if (tag == kVmcChunkRoutines) return in.Strings(program.routineNames);
  if (tag == kVmcChunkEvent) {
    program.hasEventHandler = true;
    return in.I32(program.eventEntry);
  }
  if (tag == kVmcChunkThreads) {
    uint16_t count = 0;
    if (!in.U16(count)) return false;
    for (uint16_t i = 0; i < count; ++i) {
      int32_t entry = 0;
      if (!in.I32(entry)) return false;
      program.threadEntries.push_back(entry);
    }
    return true;
  }
  if (tag == kVmcChunkObjects) {
    uint16_t count = 0;
    if (!in.U16(count)) return false;
    for (uint16_t i = 0; i < count; ++i) {
      vmcObject object;
      if (!ReadObject(in, object)) return false;
      program.objects.push_back(std::move(object));
    }
    return true;
  }
  if (tag == kVmcChunkControlSet) return in.Str(program.controlSet);
  return true;
}

bool Known(const std::string& tag) {
  return tag == kVmcChunkCode || tag == kVmcChunkRoutines || tag == kVmcChunkEvent ||
         tag == kVmcChunkThreads || tag == kVmcChunkObjects || tag == kVmcChunkControlSet;
}

class vmcWriter {
 public:
  void U8(uint8_t value) { bytes.push_back(value); }
  void U16(uint16_t value) {
    U8(static_cast<uint8_t>(value));
    U8(static_cast<uint8_t>(value >> 8));
  }
  void I32(int32_t value) {
    const uint32_t raw = static_cast<uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) U8(static_cast<uint8_t>(raw >> shift));
  }
  void Str(const std::string& text) {
    U16(static_cast<uint16_t>(text.size()));
    bytes.insert(bytes.end(), text.begin(), text.end());
  }
  void Strings(const std::vector<std::string>& list) {
    U16(static_cast<uint16_t>(list.size()));
    for (const std::string& text : list) Str(text);
  }
  void Literal(const parameter& value) {
    U8(static_cast<uint8_t>(value.type));
    if (value.type == kScriptTypeInteger) I32(value.integer);
    if (value.type == kScriptTypeBoolean) U8(value.boolean);
    if (value.type == kScriptTypeString) Str(value.string);
  }
  void Chunk(const char* tag, const vmcWriter& body) {
    bytes.insert(bytes.end(), tag, tag + 4);
    I32(static_cast<int32_t>(body.bytes.size()));
    bytes.insert(bytes.end(), body.bytes.begin(), body.bytes.end());
  }
  std::vector<uint8_t> bytes;
};

void WriteObject(vmcWriter& out, const vmcObject& object) {
  out.Str(object.name);
  out.I32(object.kind);
  out.U8(object.display);
  out.I32(object.layer);
  out.U8(object.hidden ? 1 : 0);
  out.Str(object.font);
  out.U16(static_cast<uint16_t>(object.properties.size()));
  for (const vmcProperty& property : object.properties) {
    out.Str(property.key);
    out.Literal(property.value);
  }
  out.U8(static_cast<uint8_t>(object.frameSets.size()));
  for (const vmcFrameSet& set : object.frameSets) {
    out.U16(static_cast<uint16_t>(set.frames.size()));
    for (const vmcFrame& frame : set.frames) {
      out.Str(frame.name);
      out.Strings(frame.names);
      out.Str(frame.mat);
      out.Strings(frame.models);
    }
  }
  out.Strings(object.children);
}

}  // namespace

bool VmcRead(const std::vector<uint8_t>& bytes, vmcProgram& program, std::string& reason) {
  program = vmcProgram();
  vmcReader in(bytes.data(), bytes.size());
  char magic[4] = {};
  uint16_t format = 0;
  if (!in.Bytes(magic, 4) || std::memcmp(magic, kVmcMagic, 4) != 0) {
    reason = "not a compiled script";
    return false;
  }
  if (!in.U16(format) || format != kVmcFormat) {
    reason = "unknown container format";
    return false;
  }
  if (!in.I32(program.version)) {
    reason = "truncated header";
    return false;
  }
  std::vector<std::string> seen;
  while (in.Left() > 0) {
    char tagBytes[4] = {};
    uint32_t length = 0;
    if (!in.Bytes(tagBytes, 4) || !in.U32(length) || length > in.Left()) {
      reason = "truncated chunk";
      return false;
    }
    const std::string tag(tagBytes, 4);
    std::vector<uint8_t> body(length);
    in.Bytes(body.data(), length);
    if (!Known(tag)) continue;
    for (const std::string& earlier : seen) {
      if (earlier == tag) {
        reason = "chunk " + tag + " twice";
        return false;
      }
    }
    seen.push_back(tag);
    vmcReader chunk(body.data(), body.size());
    if (!ReadChunk(tag, chunk, program, reason) || chunk.Left() != 0) {
      if (reason.empty()) reason = "malformed chunk " + tag;
      return false;
    }
  }
  const int32_t codeLength = static_cast<int32_t>(program.code.size());
  if (program.hasEventHandler && (program.eventEntry < 0 || program.eventEntry >= codeLength)) {
    reason = "event entry outside the code";
    return false;
  }
  for (int32_t entry : program.threadEntries) {
    if (entry < 0 || entry >= codeLength) {
      reason = "thread entry outside the code";
      return false;
    }
  }
  if (program.threadEntries.size() + 1 > 256) {
    reason = "too many threads";
    return false;
  }
  return true;
}

std::vector<uint8_t> VmcWrite(const vmcProgram& program) {
  vmcWriter out;
  out.bytes.insert(out.bytes.end(), kVmcMagic, kVmcMagic + 4);
  out.U16(kVmcFormat);
  out.I32(program.version);
  vmcWriter code;
  code.bytes = program.code;
  out.Chunk(kVmcChunkCode, code);
  if (!program.routineNames.empty()) {
    vmcWriter routines;
    routines.Strings(program.routineNames);
    out.Chunk(kVmcChunkRoutines, routines);
  }
  if (program.hasEventHandler) {
    vmcWriter event;
    event.I32(program.eventEntry);
    out.Chunk(kVmcChunkEvent, event);
  }
  if (!program.threadEntries.empty()) {
    vmcWriter threads;
    threads.U16(static_cast<uint16_t>(program.threadEntries.size()));
    for (int32_t entry : program.threadEntries) threads.I32(entry);
    out.Chunk(kVmcChunkThreads, threads);
  }
  if (!program.objects.empty()) {
    vmcWriter objects;
    objects.U16(static_cast<uint16_t>(program.objects.size()));
    for (const vmcObject& object : program.objects) WriteObject(objects, object);
    out.Chunk(kVmcChunkObjects, objects);
  }
  if (!program.controlSet.empty()) {
    vmcWriter set;
    set.Str(program.controlSet);
    out.Chunk(kVmcChunkControlSet, set);
  }
  return out.bytes;
}
