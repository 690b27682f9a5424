#include "services/fwkText.h"

#include "services/fwkUtilities.h"

#include <algorithm>

std::string TextUpper(const std::string& text) {
  std::string upper = text;
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

std::string TextQuoted(const std::string& text) { return "\"" + text + "\""; }

// Compared in place: the look-ups of textures and fonts by name call this for every entry.
bool TextSameIgnoringCase(const std::string& a, const std::string& b) {
  const auto upper = [](char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [&](char x, char y) { return upper(x) == upper(y); });
}

bool TextToInteger(const std::string& text, int32_t& value) {
  if (!UtilIsInteger(text)) return false;
  const bool negative = text[0] == '-';
  // One past INT32_MAX is allowed for the negative side.
  const int64_t limit = negative ? 2147483648LL : 2147483647LL;
  int64_t magnitude = 0;
  for (size_t i = negative ? 1 : 0; i < text.size(); ++i) {
    magnitude = magnitude * 10 + (text[i] - '0');
    if (magnitude > limit) return false;
  }
  value = static_cast<int32_t>(negative ? -magnitude : magnitude);
  return true;
}
