#include "game/gameText.h"

#include <algorithm>
#include <cstdint>
#include <limits>

bool GameParseInteger(const std::string& text, int32_t& value) {
  size_t i = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (negative) i = 1;
  if (i >= text.size()) return false;
  int64_t magnitude = 0;
  constexpr int64_t kLimit = static_cast<int64_t>(std::numeric_limits<int32_t>::max()) + 1;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') return false;
    if (magnitude < kLimit) magnitude = magnitude * 10 + (c - '0');
  }
  if (negative) {
    value = static_cast<int32_t>(-std::min(magnitude, kLimit));
  } else {
    value = static_cast<int32_t>(std::min(magnitude, kLimit - 1));
  }
  return true;
}

bool GameParsePair(const std::string& text, int32_t& first, int32_t& second) {
  const size_t comma = text.find(',');
  if (comma == std::string::npos) return false;
  int32_t a = 0;
  int32_t b = 0;
  if (!GameParseInteger(text.substr(0, comma), a) || !GameParseInteger(text.substr(comma + 1), b))
    return false;
  first = a;
  second = b;
  return true;
}

std::string GameTrim(const std::string& text) {
  // Blanks are spaces and control characters, as in the tools that write level files.
  auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  size_t start = 0;
  size_t end = text.size();
  while (start < end && blank(text[start])) ++start;
  while (end > start && blank(text[end - 1])) --end;
  return text.substr(start, end - start);
}

std::string GameUpper(const std::string& text) {
  std::string upper = text;
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return upper;
}
