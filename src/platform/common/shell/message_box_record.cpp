#include "platform/common/shell/message_box_record.h"

#include <cctype>
#include <cstdio>
#include <vector>

#include "platform/platform_system.h"

namespace {

std::vector<platformMessageBoxRecord> history;

bool CommandLineAnswersNo() {
  for (const std::string& argument : PlatformArguments()) {
    std::string upper = argument;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (upper == "-ANSWERNO") return true;
  }
  return false;
}

}  // namespace

bool MessageBoxIsYesNo(uint32_t flags) { return (flags & 0x0F) == kPlatformBoxYesNo; }

int32_t MessageBoxAnswerOnStandardError(const std::string& text, const std::string& caption,
                                        uint32_t flags) {
  const int32_t answer = MessageBoxIsYesNo(flags)
                             ? (CommandLineAnswersNo() ? kPlatformAnswerNo : kPlatformAnswerYes)
                             : kPlatformAnswerOk;
  const char* answerText = answer == kPlatformAnswerYes  ? "Yes"
                           : answer == kPlatformAnswerNo ? "No"
                                                         : "OK";
  std::fprintf(stderr, "[%s] %s\n[%s] answered %s\n", caption.c_str(), text.c_str(),
               caption.c_str(), answerText);
  std::fflush(stderr);
  return answer;
}

void MessageBoxRemember(const std::string& text, const std::string& caption, uint32_t flags,
                        int32_t answer) {
  history.push_back({text, caption, flags, answer});
}

const std::vector<platformMessageBoxRecord>& PlatformMessageBoxHistory() { return history; }

void PlatformMessageBoxHistoryClear() { history.clear(); }
