// The replay file: one control change per line, "TICK CONTROL VALUE", where TICK is the
// program time in ms at which the change is posted, CONTROL a decimal control code or a
// control's display name (in double quotes when it holds a blank, compared without regard to
// case) and VALUE a decimal integer. Blank lines and lines starting with '#' are ignored.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

struct replayEvent {
  uint32_t tick = 0;
  int32_t code = 0;
  int32_t value = 0;
  bool operator==(const replayEvent&) const = default;
};

// Files larger than this are refused rather than read into memory.
constexpr uint64_t kReplayFileLimit = 64ull * 1024 * 1024;

// Parses the text of a replay file. On the first malformed line returns false with its
// 1-based number and what is wrong with it; events then holds the lines before it.
bool ReplayParse(const std::string& text, std::vector<replayEvent>& events, int32_t& badLine,
                 std::string& problem);

// Reads and parses a file; on failure logs one line naming the file (and the line) and
// returns false.
bool ReplayRead(const std::string& path, std::vector<replayEvent>& events);

// The CONTROL field for a code: its display name, quoted when it holds a blank, or the code
// in decimal when the name is empty or would read back as a number.
std::string ReplayControlText(int32_t code);
// One line of the file, without the line end.
std::string ReplayFormat(const replayEvent& event);

// Writes events as they happen, one line each, after a header comment.
class replayWriter {
 public:
  // False (and one log line) when the file cannot be created.
  bool Open(const std::string& path);
  void Add(const replayEvent& event);
  // Writes what is buffered; called once per main-loop pass.
  void Flush();
  void Close();
  bool IsOpen() const { return file_.is_open(); }

 private:
  std::ofstream file_;
  std::string path_;
  bool failed_ = false;
};
