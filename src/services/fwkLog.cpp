#include "services/fwkLog.h"

#include "platform/platform_system.h"
#include "services/fwkText.h"
#include "services/fwkUtilities.h"

#include <cstdint>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

struct timeRec {
  std::string name;
  uint32_t start;
};

struct LogState {
  std::string folder;
  std::string fileName;
  std::string startText;
  bool startInfoWritten = false;
  bool versionsHeaderWritten = false;
  bool traceEnabled = false;
  std::string traceIndent;
  std::vector<timeRec> timers;
};

// Copies of one line in a row that are written; later copies are only counted, and the count is
// written once another line comes or the program ends.
constexpr int32_t kRepeatsWritten = 10;
// The most one run writes to its log. The last kNoticeRoom bytes of it are kept for the line that
// says the log is full and the closing count of what was left out.
constexpr size_t kNoticeRoom = 1024;

// What the log's size and repeat rules keep of the run so far.
struct LogVolume {
  std::string last;     // the last line that came, indent included
  int32_t copies = 0;   // lines equal to last in a row, written or not
  int64_t repeats = 0;  // copies counted, not yet reported
  bool full = false;    // the size limit was reached: later lines are left out
  int64_t leftOut = 0;  // lines left out since then
};

LogState state;
LogVolume volume;
bool exitHookSet = false;
// Modules started before the log register their versions through it, so the log sets
// itself up on first use; LogInit then keeps what those modules wrote.
bool setUp = false;
bool initCalled = false;

std::string LogPath() { return state.folder + state.fileName; }

// Appends one line unless the file would grow past limit bytes (false then). A file that cannot
// be opened loses the line silently.
bool AppendLine(const std::string& line, size_t limit = SIZE_MAX) {
  FILE* file = std::fopen(LogPath().c_str(), "ab");
  if (file == nullptr) return true;
  if (limit != SIZE_MAX && std::fseek(file, 0, SEEK_END) == 0) {
    const long size = std::ftell(file);
    if (size >= 0 && static_cast<size_t>(size) + line.size() + 2 > limit) {
      std::fclose(file);
      return false;
    }
  }
  std::fwrite(line.data(), 1, line.size(), file);
  std::fwrite("\r\n", 1, 2, file);
  std::fclose(file);
  return true;
}

// Writes a line while the file stays within the size limit (measured on the file itself, so a log
// emptied from outside starts afresh); the first line that would pass it is replaced by the
// notice that the log is full, and from then on lines are only counted (a repeat count stands for
// the lines it counts).
void AppendBounded(const std::string& line, int64_t lines = 1) {
  if (volume.full) {
    volume.leftOut += lines;
    return;
  }
  if (AppendLine(line, kLogLimitBytes - kNoticeRoom)) return;
  volume.full = true;
  volume.leftOut = lines;
  AppendLine("... the log has reached its limit of " + std::to_string(kLogLimitBytes) +
             " bytes: the lines after this one are left out");
}

void ReportRepeats() {
  if (volume.repeats == 0) return;
  const int64_t repeats = volume.repeats;
  volume.repeats = 0;
  AppendBounded("... the last line was repeated " + std::to_string(repeats) + " times", repeats);
}

// At the end of the program: the count of repeats still pending, or of the lines left out.
void ReportAtExit() {
  if (!setUp) return;
  ReportRepeats();
  if (volume.full && volume.leftOut > 0) {
    AppendLine("... " + std::to_string(volume.leftOut) + " lines were left out");
    volume.leftOut = 0;
  }
}

void SetUp() {
  setUp = true;
  LogSetFolder(UtilUserDataFolder());
  LogSetFileName("results.log");
  std::remove(LogPath().c_str());
  volume = LogVolume();
  if (!exitHookSet) {
    exitHookSet = true;
    std::atexit(ReportAtExit);
  }
  state.startInfoWritten = false;
  state.startText = PlatformShortDate() + " at " + PlatformLongTime();
  if (UtilCommandLineHas("-startinfo")) LogStartInfoWrite();
  state.versionsHeaderWritten = false;
  state.traceEnabled = UtilCommandLineHas("-trace");
  state.traceIndent.clear();
  state.timers.clear();
}

void EnsureSetUp() {
  if (!setUp) SetUp();
}

}  // namespace

void LogInit() {
  if (!setUp || initCalled) SetUp();
  initCalled = true;
  LogVersionAdd("fwkLog - Version 1.0");
}

void LogStartInfoWrite() {
  EnsureSetUp();
  if (state.startInfoWritten) return;
  state.startInfoWritten = true;
  FILE* file = std::fopen(LogPath().c_str(), "wb");
  if (file == nullptr) return;
  // The version closes the first line, so a log sent in with a fault report says which release wrote it.
  std::string block = "Application \"" + PlatformExecutablePath() + "\" started on " +
                      state.startText + " (version " SANGUOR_VERSION ")\r\n";
  block += "Parameters:\r\n";
  const std::vector<std::string>& parameters = PlatformArguments();
  if (parameters.empty()) block += "    (None)\r\n";
  for (const std::string& parameter : parameters) block += "    " + parameter + "\r\n";
  std::fwrite(block.data(), 1, block.size(), file);
  std::fclose(file);
  volume = LogVolume();
}

void LogWrite(const std::string& text) {
  LogStartInfoWrite();
  if (volume.full) {
    ++volume.leftOut;
    return;
  }
  std::string line = state.traceIndent + text;
  if (line == volume.last) {
    if (++volume.copies > kRepeatsWritten) {
      ++volume.repeats;
      return;
    }
  } else {
    ReportRepeats();
    volume.last = std::move(line);
    volume.copies = 1;
  }
  AppendBounded(volume.last);
}

void LogError(const std::string& text) { LogWrite("Error: " + text); }

void LogMemory(const std::string& text) {
  LogWrite(text + " (Memory Usage = " + std::to_string(PlatformWorkingSetBytes()) + ")");
}

std::string LogWindowsError() {
  const uint32_t code = PlatformLastError();
  std::string text = PlatformErrorText(code);
  if (text.empty()) return "Unrecognized windows error code: " + std::to_string(code);
  return text;
}

void LogTimerStart(const std::string& name) {
  EnsureSetUp();
  state.timers.push_back({name, PlatformTickCount()});
}

void LogTimerStop(const std::string& name) {
  EnsureSetUp();
  const uint32_t now = PlatformTickCount();
  for (size_t i = state.timers.size(); i-- > 0;) {
    const timeRec entry = state.timers[i];
    LogWrite("Time (ms): " + std::to_string(now - entry.start) + "\t" +
             std::string(2 * (i + 2), ' ') + entry.name);
    if (TextSameIgnoringCase(entry.name, name)) {
      state.timers.resize(i);
      return;
    }
  }
  state.timers.clear();
}

void LogTraceBegin(const std::string& name) {
  EnsureSetUp();
  if (!state.traceEnabled) return;
  LogWrite(name + "Begin");
  state.traceIndent += "  ";
}

void LogTraceEnd(const std::string& name) {
  EnsureSetUp();
  if (!state.traceEnabled) return;
  if (state.traceIndent.size() < 3) {
    state.traceIndent.clear();
  } else {
    state.traceIndent.resize(state.traceIndent.size() - 2);
  }
  LogWrite(name + "End");
}

void LogVersionAdd(const std::string& text) {
  EnsureSetUp();
  if (!UtilCommandLineHas("-ver")) return;
  if (!state.versionsHeaderWritten) {
    LogWrite("Framework Versions:");
    state.versionsHeaderWritten = true;
  }
  LogWrite("    " + text);
}

std::string LogFileName() {
  EnsureSetUp();
  return state.fileName;
}

std::string LogFolder() {
  EnsureSetUp();
  return state.folder;
}

void LogSetFolder(const std::string& folder) {
  EnsureSetUp();
  state.folder = folder;
  if (!folder.empty() && folder.back() != '\\' && folder.back() != '/')
    state.folder += PlatformPathSeparator();
}

void LogSetFileName(const std::string& name) {
  EnsureSetUp();
  state.fileName = name;
}
