#include "graphics/fwkFontText.h"

#include <algorithm>

int32_t FontGlyphIndex(const fontMetrics& metrics, char c) {
  const uint8_t code = static_cast<uint8_t>(c);
  if (code < metrics.first || code > metrics.last) return -1;
  return code - metrics.first;
}

int32_t FontMeasure(const fontMetrics& metrics, const std::string& text) {
  int32_t width = 0;
  for (char c : text) {
    const int32_t i = FontGlyphIndex(metrics, c);
    if (i >= 0) width += metrics.widths[i] - 1;
  }
  return width;
}

std::vector<fontPlacedGlyph> FontPlaceLine(const fontMetrics& metrics, const std::string& text,
                                           int32_t maximumWidth) {
  std::vector<fontPlacedGlyph> placed;
  int32_t pen = 0;
  for (char c : text) {
    const int32_t i = FontGlyphIndex(metrics, c);
    if (i < 0) continue;
    const int32_t advance = metrics.widths[i] - 1;
    if (maximumWidth > 0 && pen + advance > maximumWidth) break;
    placed.push_back({i, pen});
    pen += advance;
  }
  return placed;
}

namespace {

// "\r\n" and a lone "\n" both become "\r", in one pass over the text.
std::string NormaliseBreaks(const std::string& source) {
  std::string text;
  text.reserve(source.size());
  for (size_t i = 0; i < source.size(); ++i) {
    if (source[i] == '\r' && i + 1 < source.size() && source[i + 1] == '\n') ++i;
    text += source[i] == '\n' ? '\r' : source[i];
  }
  return text;
}

// The next occurrence of a character at or after a cursor that only moves forward: the search
// starts where the previous one ended, so all searches together read the text once.
class nextOf {
 public:
  nextOf(const std::string& text, char c) : text_(text), c_(c) {}
  // 1-based position of the character counted from at, or the remaining length + 1.
  size_t From(size_t at) {
    if (found_ < at || !searched_) {
      const size_t where = text_.find(c_, at);
      found_ = where == std::string::npos ? text_.size() : where;
      searched_ = true;
    }
    return found_ - at + 1;
  }

 private:
  const std::string& text_;
  char c_;
  size_t found_ = 0;
  bool searched_ = false;
};

}  // namespace

// Words collect in a pending line; a carriage return ends the pending line only when a word
// precedes it, so a break right after a space leaves the pending words for the next line.
// The text is walked once with a cursor (no copies of what is left), so the work is linear in
// its length whatever it holds.
std::vector<std::string> FontWrap(const fontMetrics& metrics, int32_t width,
                                  const std::string& source) {
  std::vector<std::string> lines;
  const std::string text = NormaliseBreaks(source);
  nextOf nextBreak(text, '\r');
  nextOf nextSpace(text, ' ');
  std::string line;
  int32_t lineWidth = 0;
  const int32_t space = FontMeasure(metrics, " ");
  bool atBreak = true;
  size_t at = 0;
  while (at < text.size()) {
    const size_t b = nextBreak.From(at);
    const size_t s = nextSpace.From(at);
    if (b == 1) {
      lines.emplace_back();
      ++at;
      atBreak = true;
      continue;
    }
    if (s == 1 && atBreak) {
      ++at;
      line += ' ';
      lineWidth += space;
      continue;
    }
    const bool byBreak = b < s;
    atBreak = byBreak;
    const size_t p = byBreak ? b : s;
    const std::string word = text.substr(at, p - 1);
    at += std::min(p, text.size() - at);
    const int32_t wordWidth = FontMeasure(metrics, word);
    const int32_t need = lineWidth <= 0 ? lineWidth : lineWidth + space;
    if (need + wordWidth < width) {
      if (byBreak) {
        lines.push_back(line + (lineWidth > 0 ? " " : "") + word);
        line.clear();
        lineWidth = 0;
      } else {
        if (lineWidth > 0) {
          line += ' ';
          lineWidth += space;
        }
        line += word;
        lineWidth += wordWidth;
      }
    } else if (lineWidth == 0) {
      lines.push_back(word);
    } else {
      lines.push_back(line);
      if (byBreak) {
        lines.push_back(word);
        line.clear();
        lineWidth = 0;
      } else {
        line = word;
        lineWidth = wordWidth;
      }
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

int32_t FontAlignOffset(int32_t boxWidth, int32_t lineWidth, int32_t alignment) {
  if (alignment == 1) return (boxWidth - lineWidth) / 2;
  if (alignment == 2) return boxWidth - lineWidth;
  return 0;
}

std::vector<fontPlacedLine> FontPlaceLines(const fontMetrics& metrics, int32_t x, int32_t y,
                                           const std::vector<std::string>& lines, int32_t firstLine,
                                           int32_t boxWidth, int32_t maximumHeight,
                                           int32_t alignment) {
  std::vector<fontPlacedLine> placed;
  const int32_t h = metrics.height;
  int32_t total = h;
  // Line numbers below 1 name no line; drawing starts at the first line that exists.
  for (int32_t k = std::max(firstLine, 1) - 1; k < static_cast<int32_t>(lines.size()); ++k) {
    const int32_t offset = FontAlignOffset(boxWidth, FontMeasure(metrics, lines[k]), alignment);
    placed.push_back({k, x + offset, y});
    y += h;
    total += h;
    if (maximumHeight > 0 && total > maximumHeight) break;
  }
  return placed;
}
