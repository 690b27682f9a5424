// Text measuring, word wrapping and line placement over a font's glyph widths. Pure code: fwkFont
// draws what these functions place, and tests check the placement without a display.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct fontMetrics {
  uint8_t first = 0;
  uint8_t last = 0;
  int32_t height = 0;
  std::array<uint8_t, 256> widths{};  // width of glyph i, character code first + i
};

// Index of the glyph for a character, or -1 when the character is outside first .. last.
int32_t FontGlyphIndex(const fontMetrics& metrics, char c);

// Sum of (width - 1) over the characters inside first .. last.
int32_t FontMeasure(const fontMetrics& metrics, const std::string& text);

struct fontPlacedGlyph {
  int32_t glyph;
  int32_t x;  // pen position relative to the start of the line
};
// The glyphs one line draws, stopping before the first that would pass maximumWidth (when
// maximumWidth is above 0).
std::vector<fontPlacedGlyph> FontPlaceLine(const fontMetrics& metrics, const std::string& text,
                                           int32_t maximumWidth);

std::vector<std::string> FontWrap(const fontMetrics& metrics, int32_t width,
                                  const std::string& text);

// Horizontal offset of a line in a box: 1 centres (rounded toward zero), 2 aligns right.
int32_t FontAlignOffset(int32_t boxWidth, int32_t lineWidth, int32_t alignment);

struct fontPlacedLine {
  int32_t line;  // 0-based index into the lines
  int32_t x;
  int32_t y;
};
// The lines FontDrawLines draws from firstLine (1-based) on, with their positions.
std::vector<fontPlacedLine> FontPlaceLines(const fontMetrics& metrics, int32_t x, int32_t y,
                                           const std::vector<std::string>& lines, int32_t firstLine,
                                           int32_t boxWidth, int32_t maximumHeight,
                                           int32_t alignment);
