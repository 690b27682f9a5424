// Rendering a TrueType font into ".fot" glyph images.
#pragma once

#include "graphics/fwkFontFormat.h"

#include <cstdint>
#include <string>
#include <vector>

// One glyph cell: width columns by the font's height rows of coverage (0..255). The last
// column and the last row stay empty: the engine draws a glyph as (width - 1) x (height - 1)
// pixels and advances the pen by width - 1.
struct fotGlyph {
  uint8_t code = 0;
  uint8_t width = 1;
  std::vector<uint8_t> coverage;
};

struct fotFont {
  fontFileHeader header;
  std::vector<fotGlyph> glyphs;  // one per code, first .. last
};

// Renders the codes first .. last (Windows-1252 characters) at the given pixel size; on failure
// returns false with a one-line reason.
bool FotRender(const std::string& ttfPath, int32_t pixels, int32_t first, int32_t last,
               fotFont& font, std::string& error);

// Packs glyphs into as few 64 x 64 images as the engine's layout rule allows, in code order.
// Fails when a glyph cannot fit an image at all.
bool FotPack(const fotFont& font, std::vector<fontFileImage>& images, std::string& error);

std::string FotWrite(const fotFont& font, const std::vector<fontFileImage>& images);

// The Unicode character a Windows-1252 code stands for; 0 for the five unassigned codes.
uint32_t FotCodePoint(uint8_t code);
