#include "services/fwkText.h"

#include "services/fwkUtilities.h"

std::string TextUpper(const std::string& text) {
  std::string upper = text;
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

bool TextSameIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && TextUpper(a) == TextUpper(b);
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
