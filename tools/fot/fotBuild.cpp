#include "fotBuild.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>

namespace {

// Unicode of the Windows-1252 codes 0x80 .. 0x9F; the rest of the code page is Latin-1.
constexpr uint16_t windows1252[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

constexpr uint32_t transparentWhite = 0x00FFFFFF;

struct faceHandle {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  ~faceHandle() {
    if (face) FT_Done_Face(face);
    if (library) FT_Done_FreeType(library);
  }
};

int32_t CeilPixels(FT_Pos value) { return static_cast<int32_t>((value + 63) >> 6); }

// Copies the rendered coverage into the glyph's cell, keeping the ink inside the drawn
// (width - 1) x (height - 1) area: ink that overhangs the advance by a pixel is nudged in,
// anything larger is clipped.
void PlaceBitmap(FT_GlyphSlot slot, int32_t ascender, int32_t height, fotGlyph& glyph) {
  const FT_Bitmap& bitmap = slot->bitmap;
  const int32_t advance = glyph.width - 1;
  const int32_t inkWidth = static_cast<int32_t>(bitmap.width);
  const int32_t dx = std::max(0, std::min<int32_t>(slot->bitmap_left, advance - inkWidth));
  const int32_t dy = ascender - slot->bitmap_top;
  for (int32_t row = 0; row < static_cast<int32_t>(bitmap.rows); ++row) {
    const int32_t y = dy + row;
    if (y < 0 || y >= height - 1) continue;
    const uint8_t* source = bitmap.buffer + row * bitmap.pitch;
    for (int32_t column = 0; column < inkWidth; ++column) {
      const int32_t x = dx + column;
      if (x >= 0 && x < advance) glyph.coverage[y * glyph.width + x] = source[column];
    }
  }
}

}  // namespace

uint32_t FotCodePoint(uint8_t code) {
  if (code >= 0x80 && code <= 0x9F) return windows1252[code - 0x80];
  return code;
}

bool FotRender(const std::string& ttfPath, int32_t pixels, int32_t first, int32_t last,
               fotFont& font, std::string& error) {
  if (pixels < 1 || pixels > 255) {
    error = "the pixel size must be 1 to 255";
    return false;
  }
  if (first < 0 || last > 255 || first > last) {
    error = "the codes must satisfy 0 <= FIRST <= LAST <= 255";
    return false;
  }
  faceHandle handle;
  if (FT_Init_FreeType(&handle.library) != 0) {
    error = "FreeType could not start";
    return false;
  }
  if (FT_New_Face(handle.library, ttfPath.c_str(), 0, &handle.face) != 0) {
    error = "cannot read the font file " + ttfPath;
    return false;
  }
  FT_Face face = handle.face;
  if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixels)) != 0) {
    error = "the font has no size of " + std::to_string(pixels) + " pixels";
    return false;
  }
  const int32_t ascender = CeilPixels(face->size->metrics.ascender);
  const int32_t descender = CeilPixels(-face->size->metrics.descender);
  // One blank row below the descender: the engine draws height - 1 rows and spaces lines by
  // the full height.
  const int32_t height = ascender + descender + 1;
  if (height > fontImageSide) {
    error = "glyphs " + std::to_string(height) + " pixels high do not fit a 64 x 64 image";
    return false;
  }
  font = fotFont();
  font.header.first = static_cast<uint8_t>(first);
  font.header.last = static_cast<uint8_t>(last);
  font.header.height = static_cast<uint8_t>(height);
  font.header.name =
      std::string(face->family_name ? face->family_name : "Font") + " " + std::to_string(pixels);
  for (int32_t code = first; code <= last; ++code) {
    fotGlyph glyph;
    glyph.code = static_cast<uint8_t>(code);
    const uint32_t codePoint = FotCodePoint(glyph.code);
    const FT_UInt index = codePoint ? FT_Get_Char_Index(face, codePoint) : 0;
    if (index != 0) {
      if (FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT) != 0) {
        error = "cannot render character " + std::to_string(code);
        return false;
      }
      const int32_t advance = static_cast<int32_t>((face->glyph->advance.x + 32) >> 6);
      if (advance + 1 > fontImageSide) {
        error = "character " + std::to_string(code) + " is too wide for a 64 x 64 image";
        return false;
      }
      glyph.width = static_cast<uint8_t>(std::max(advance, 0) + 1);
    }
    glyph.coverage.assign(glyph.width * height, 0);
    if (index != 0) PlaceBitmap(face->glyph, ascender, height, glyph);
    font.glyphs.push_back(std::move(glyph));
  }
  return true;
}

bool FotPack(const fotFont& font, std::vector<fontFileImage>& images, std::string& error) {
  images.clear();
  const int32_t height = font.header.height;
  const size_t count = font.glyphs.size();
  size_t next = 0;
  while (next < count) {
    std::vector<uint8_t> widths;
    std::vector<fontGlyphPlace> places;
    for (size_t k = next; k < count; ++k) {
      std::vector<uint8_t> trial = widths;
      trial.push_back(font.glyphs[k].width);
      std::vector<fontGlyphPlace> trialPlaces = FontLayoutImage(trial, height);
      const fontGlyphPlace& place = trialPlaces.back();
      if (place.row + height > fontImageSide || place.x + trial.back() > fontImageSide) break;
      widths = std::move(trial);
      places = std::move(trialPlaces);
    }
    if (widths.empty()) {
      error =
          "character " + std::to_string(font.glyphs[next].code) + " does not fit a 64 x 64 image";
      return false;
    }
    fontFileImage image;
    image.pixels.assign(fontImagePixels, transparentWhite);
    image.first = font.glyphs[next].code;
    image.last = font.glyphs[next + widths.size() - 1].code;
    image.widths = widths;
    for (size_t k = 0; k < widths.size(); ++k) {
      const fotGlyph& glyph = font.glyphs[next + k];
      for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < glyph.width; ++x) {
          const uint32_t alpha = glyph.coverage[y * glyph.width + x];
          image.pixels[(places[k].row + y) * fontImageSide + places[k].x + x] =
              alpha << 24 | transparentWhite;
        }
    }
    images.push_back(std::move(image));
    next += widths.size();
  }
  return true;
}

std::string FotWrite(const fotFont& font, const std::vector<fontFileImage>& images) {
  std::string out = FontFileWriteStart(font.header);
  for (const fontFileImage& image : images) out += FontFileWriteImage(image);
  return out;
}
