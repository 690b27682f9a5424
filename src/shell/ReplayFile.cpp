#include "shell/ReplayFile.h"

#include <cctype>
#include <limits>
#include <unordered_map>

#include "input/fwkInput.h"
#include "services/fwkLog.h"

namespace {

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool AllDigits(const std::string& text) {
  if (text.empty()) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

// A decimal number with an optional leading '-', within [low, high].
bool ParseNumber(const std::string& text, int64_t low, int64_t high, int64_t& out) {
  const bool negative = !text.empty() && text[0] == '-';
  const std::string digits = negative ? text.substr(1) : text;
  if (!AllDigits(digits) || digits.size() > 10) return false;
  int64_t value = 0;
  for (char c : digits) value = value * 10 + (c - '0');
  if (negative) value = -value;
  if (value < low || value > high) return false;
  out = value;
  return true;
}

// Every control the input module can name, by upper-cased display name.
std::unordered_map<std::string, int32_t> ControlNames() {
  std::unordered_map<std::string, int32_t> names;
  const int32_t last = kControlMouseLast + InputJoystickCount() * kControlsPerJoystick;
  for (int32_t code = 1; code <= last; ++code) {
    const std::string name = InputControlName(code);
    if (!name.empty()) names.emplace(Upper(name), code);
  }
  return names;
}

// Splits one line into its fields: blank-separated, a field starting with '"' runs to the
// next '"' and may hold blanks. False when a quote is not closed or a field touches a quote.
bool SplitFields(const std::string& line, std::vector<std::string>& fields,
                 std::vector<bool>& quoted) {
  size_t i = 0;
  while (true) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i == line.size()) return true;
    if (line[i] == '"') {
      const size_t end = line.find('"', i + 1);
      if (end == std::string::npos) return false;
      fields.push_back(line.substr(i + 1, end - i - 1));
      quoted.push_back(true);
      i = end + 1;
      if (i < line.size() && !IsBlank(line[i])) return false;
    } else {
      const size_t start = i;
      while (i < line.size() && !IsBlank(line[i])) {
        if (line[i] == '"') return false;
        ++i;
      }
      fields.push_back(line.substr(start, i - start));
      quoted.push_back(false);
    }
  }
}

}  // namespace

bool ReplayParse(const std::string& text, std::vector<replayEvent>& events, int32_t& badLine,
                 std::string& problem) {
  events.clear();
  std::unordered_map<std::string, int32_t> names;
  size_t pos = 0;
  // A byte order mark is allowed before the first line.
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) pos = 3;
  int32_t lineNumber = 0;
  uint32_t lastTick = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(pos, end - pos);
    pos = end + 1;
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    size_t first = 0;
    while (first < line.size() && IsBlank(line[first])) ++first;
    if (first == line.size() || line[first] == '#') continue;

    badLine = lineNumber;
    std::vector<std::string> fields;
    std::vector<bool> quoted;
    if (!SplitFields(line, fields, quoted)) {
      problem = "a double quote is not closed or touches another field";
      return false;
    }
    if (fields.size() != 3) {
      problem = "expected TICK CONTROL VALUE, found " + std::to_string(fields.size()) + " fields";
      return false;
    }
    replayEvent event;
    int64_t number = 0;
    if (!ParseNumber(fields[0], 0, std::numeric_limits<uint32_t>::max(), number) ||
        fields[0][0] == '-') {
      problem = "the tick \"" + fields[0] + "\" is not a number of milliseconds";
      return false;
    }
    event.tick = static_cast<uint32_t>(number);
    if (event.tick < lastTick) {
      problem = "the tick " + fields[0] + " is earlier than the line before";
      return false;
    }
    if (!quoted[1] && AllDigits(fields[1])) {
      if (!ParseNumber(fields[1], 1, std::numeric_limits<int32_t>::max(), number)) {
        problem = "the control code " + fields[1] + " is out of range";
        return false;
      }
      event.code = static_cast<int32_t>(number);
    } else {
      if (names.empty()) names = ControlNames();
      const auto found = names.find(Upper(fields[1]));
      if (found == names.end()) {
        problem = "unknown control \"" + fields[1] + "\"";
        return false;
      }
      event.code = found->second;
    }
    if (!ParseNumber(fields[2], std::numeric_limits<int32_t>::min(),
                     std::numeric_limits<int32_t>::max(), number)) {
      problem = "the value \"" + fields[2] + "\" is not a 32-bit integer";
      return false;
    }
    event.value = static_cast<int32_t>(number);
    lastTick = event.tick;
    events.push_back(event);
  }
  badLine = 0;
  problem.clear();
  return true;
}

bool ReplayRead(const std::string& path, std::vector<replayEvent>& events) {
  events.clear();
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    LogError("ReplayRead - Unable to open replay file \"" + path + "\".");
    return false;
  }
  file.seekg(0, std::ios::end);
  const std::streamoff size = file.tellg();
  if (size < 0 || static_cast<uint64_t>(size) > kReplayFileLimit) {
    LogError("ReplayRead - Replay file \"" + path + "\" is too large or unreadable.");
    return false;
  }
  std::string text(static_cast<size_t>(size), '\0');
  file.seekg(0);
  if (!file.read(text.data(), size)) {
    LogError("ReplayRead - Unable to read replay file \"" + path + "\".");
    return false;
  }
  int32_t badLine = 0;
  std::string problem;
  if (!ReplayParse(text, events, badLine, problem)) {
    LogError("ReplayRead - Replay file \"" + path + "\" line " + std::to_string(badLine) + ": " +
             problem + ".");
    events.clear();
    return false;
  }
  return true;
}

std::string ReplayControlText(int32_t code) {
  const std::string name = InputControlName(code);
  if (name.empty() || AllDigits(name) || name.find('"') != std::string::npos)
    return std::to_string(code);
  bool blank = false;
  for (char c : name) blank = blank || IsBlank(c);
  return blank ? "\"" + name + "\"" : name;
}

std::string ReplayFormat(const replayEvent& event) {
  return std::to_string(event.tick) + " " + ReplayControlText(event.code) + " " +
         std::to_string(event.value);
}

bool replayWriter::Open(const std::string& path) {
  path_ = path;
  failed_ = false;
  file_.open(path, std::ios::binary | std::ios::trunc);
  if (!file_) {
    LogError("ReplayRecord - Unable to create replay file \"" + path + "\".");
    return false;
  }
  file_ << "# Sanguor replay: TICK CONTROL VALUE\n";
  return true;
}

void replayWriter::Add(const replayEvent& event) {
  if (file_.is_open()) file_ << ReplayFormat(event) << '\n';
}

void replayWriter::Flush() {
  if (!file_.is_open()) return;
  file_.flush();
  if (!file_ && !failed_) {
    // Logged once: a full disk would otherwise log on every pass.
    failed_ = true;
    LogError("ReplayRecord - Unable to write replay file \"" + path_ + "\".");
  }
}

void replayWriter::Close() {
  Flush();
  if (file_.is_open()) file_.close();
}
