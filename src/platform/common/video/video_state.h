// What the shared part keeps while the video part runs: whether it started and runs headless,
// the last failure, and the record of every window and context. The records are the backend's
// own types, derived from windowRecord and contextRecord with its system's handles added; the
// backend makes them (AddRecord) and reads them back as its type (RecordAs), the shared part
// keeps the lists, finds records and lets them go.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/common/video/gl_contexts.h"
#include "platform/common/video/window_record.h"
#include "platform/platform_video.h"

struct videoState {
  bool started = false;
  bool headless = false;
  std::string lastError;
  std::map<platformWindow, std::unique_ptr<windowRecord>> windows;
  std::map<platformGLContext, std::unique_ptr<contextRecord>> contexts;
};

videoState& VideoState();
// Starts the video part on first use: the backend's system (NativeVideoStart), then the
// application's state and the monitor lists. False, with the last error recorded, when the
// system cannot start.
bool VideoStart();

// The record of a handle as the backend's type; nullptr when there is none. Only the backend
// that made the records asks for its own type.
template <typename Record, typename Records>
Record* RecordAs(Records& records, typename Records::key_type handle) {
  auto found = records.find(handle);
  return found == records.end() ? nullptr : static_cast<Record*>(found->second.get());
}

// Records a new handle with the backend's record for it (replacing any kept under the handle).
template <typename Record, typename Records>
Record& AddRecord(Records& records, typename Records::key_type handle, Record record = {}) {
  auto made = std::make_unique<Record>(std::move(record));
  Record& added = *made;
  records[handle] = std::move(made);
  return added;
}

// The keys of a record list, in order: a copy to walk while handlers may change the list.
template <typename Records>
std::vector<typename Records::key_type> RecordHandles(const Records& records) {
  std::vector<typename Records::key_type> handles;
  handles.reserve(records.size());
  for (const auto& entry : records) {
    handles.push_back(entry.first);
  }
  return handles;
}
