#include "services/fwkLog.h"

#include "platform/platform_system.h"
#include "services/fwkText.h"
#include "services/fwkUtilities.h"

#include <cstdint>
#include <cstdio>
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

LogState state;
// Modules started before the log register their versions through it, so the log sets
// itself up on first use; LogInit then keeps what those modules wrote.
bool setUp = false;
bool initCalled = false;

std::string LogPath() { return state.folder + state.fileName; }

void AppendLine(const std::string& line) {
  FILE* file = std::fopen(LogPath().c_str(), "ab");
  if (file == nullptr) return;
  std::fwrite(line.data(), 1, line.size(), file);
  std::fwrite("\r\n", 1, 2, file);
  std::fclose(file);
}

void SetUp() {
  setUp = true;
  LogSetFolder(UtilUserDataFolder());
  LogSetFileName("results.log");
  std::remove(LogPath().c_str());
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
  std::string block = "Application \"" + PlatformExecutablePath() + "\" started on " + state.startText +
                      " (version " SANGUOR_VERSION ")\r\n";
  block += "Parameters:\r\n";
  const std::vector<std::string>& parameters = PlatformArguments();
  if (parameters.empty()) block += "    (None)\r\n";
  for (const std::string& parameter : parameters) block += "    " + parameter + "\r\n";
  std::fwrite(block.data(), 1, block.size(), file);
  std::fclose(file);
}

void LogWrite(const std::string& text) {
  LogStartInfoWrite();
  AppendLine(state.traceIndent + text);
}

void LogError(const std::string& text) { LogWrite("Error: " + text); }

void LogMemory(const std::string& text) {
  LogWrite(text + " (Memory Usage = " + std::to_string(PlatformWorkingSetBytes()) + ")");
}

std::string LogWindowsError() {
  const uint32_t code = PlatformLastError();
  const std::string text = PlatformErrorText(code);
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
    LogWrite("Time (ms): " + std::to_string(now - entry.start) + "\t" + std::string(2 * (i + 2), ' ') +
             entry.name);
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
