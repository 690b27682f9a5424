#include "graphics/fwkFont.h"

#include "graphics/fwkFontFormat.h"
#include "graphics/fwkFontText.h"
#include "graphics/fwkGraphics.h"
#include "graphics/fwkModel.h"
#include "graphics/fwkTexture.h"
#include "services/fwkDataFile.h"
#include "services/fwkLog.h"
#include "services/fwkText.h"

#include <algorithm>
#include <array>
#include <memory>

namespace {

constexpr float glyphDepth = -5.0f;

struct fontData {
  int32_t id = 0;
  int32_t displayId = 0;
  std::string fileName;
  std::string fontName;
  uint32_t colour = 0xFF000000;  // opaque black
  int32_t glyphCount = 0;
  fontMetrics metrics;
  std::array<model*, fontMaxGlyphs> glyphs{};
};

struct fontDisplay {
  int32_t displayId = 0;
  std::vector<std::unique_ptr<fontData>> fonts;  // ids increase along the list
};

std::vector<fontDisplay> fontDisplays;
int32_t nextFontId = 1;

fontDisplay* FindDisplay(int32_t displayId) {
  for (fontDisplay& display : fontDisplays)
    if (display.displayId == displayId) return &display;
  return nullptr;
}

// Ids grow along each list and entries are only removed, so a font sits at or before index
// id - 1: try that index first, then bisect below it.
fontData* FindFont(int32_t fontId) {
  if (fontId <= 0) return nullptr;
  for (fontDisplay& display : fontDisplays) {
    auto& fonts = display.fonts;
    if (fonts.empty()) continue;
    int32_t high = std::min<int32_t>(fontId - 1, static_cast<int32_t>(fonts.size()) - 1);
    if (fonts[high]->id == fontId) return fonts[high].get();
    int32_t low = 0;
    while (low <= high) {
      const int32_t middle = (low + high) / 2;
      const int32_t id = fonts[middle]->id;
      if (id == fontId) return fonts[middle].get();
      if (id < fontId)
        low = middle + 1;
      else
        high = middle - 1;
    }
  }
  return nullptr;
}

fontReader DataFileReader(int32_t file) {
  fontReader reader;
  reader.read = [file](void* destination, int32_t count) {
    return DataFileRead(file, destination, count);
  };
  reader.atEnd = [file]() { return DataFileEof(file); };
  return reader;
}

void SetGlyphColour(model* glyph, uint32_t colour) {
  ModelSetColour(glyph, static_cast<uint8_t>(colour >> 16), static_cast<uint8_t>(colour >> 8),
                 static_cast<uint8_t>(colour), static_cast<uint8_t>(colour >> 24));
}

modelPolygon GlyphTriangle(texture* fontTexture, int32_t tile, int32_t a, int32_t b, int32_t c) {
  modelPolygon polygon;
  polygon.textures.push_back({fontTexture, tile});
  polygon.corners = {modelCorner{a, 0, a}, modelCorner{b, 0, b}, modelCorner{c, 0, c}};
  return polygon;
}

// One quad showing the glyph's (width - 1) x (height - 1) texels from (x, row) of the tile.
model* MakeGlyph(const fontData& font, texture* fontTexture, int32_t tile, int32_t width,
                 fontGlyphPlace place) {
  model* glyph = ModelNew(font.displayId, 2);
  if (!glyph) return nullptr;
  ModelSetName(glyph, font.fontName);
  SetGlyphColour(glyph, font.colour);
  const float right = static_cast<float>(width - 1);
  const float bottom = static_cast<float>(font.metrics.height - 1);
  const float side = static_cast<float>(fontImageSide);
  const float u1 = place.x / side;
  const float u2 = (place.x + width - 1) / side;
  const float v1 = place.row / side;
  const float v2 = (place.row + font.metrics.height - 1) / side;
  ModelSetVertex(glyph, 0, 0, 0, glyphDepth);
  ModelSetVertex(glyph, 1, 0, bottom, glyphDepth);
  ModelSetVertex(glyph, 2, right, bottom, glyphDepth);
  ModelSetVertex(glyph, 3, right, 0, glyphDepth);
  ModelSetTexCoord(glyph, 0, u1, v1);
  ModelSetTexCoord(glyph, 1, u1, v2);
  ModelSetTexCoord(glyph, 2, u2, v2);
  ModelSetTexCoord(glyph, 3, u2, v1);
  ModelSetPolygon(glyph, 0, GlyphTriangle(fontTexture, tile, 0, 1, 2));
  ModelSetPolygon(glyph, 1, GlyphTriangle(fontTexture, tile, 0, 2, 3));
  ModelCompile(glyph);
  return glyph;
}

// Adds one image of the file to the font: a tile of the font texture and the image's glyphs.
// Glyphs past the 256 the tables hold can never be drawn and are dropped, and an image holding
// only such glyphs is not uploaded.
void AddImage(fontData& font, texture*& fontTexture, const fontFileImage& image) {
  if (font.glyphCount >= fontMaxGlyphs) return;
  if (!fontTexture) {
    fontTexture = TextureNew(font.displayId);
    TextureSetName(fontTexture, font.fileName);
    TextureSetDepth(fontTexture, 32);
    TextureSetSmooth(fontTexture, true);
    TextureSetRepeat(fontTexture, true);
    TextureSetTileSize(fontTexture, fontImageSide, fontImageSide);
  }
  const int32_t tile = TextureAddTile(fontTexture);
  TextureUpload(fontTexture, tile, image.pixels.data(), fontImageSide, fontImageSide);
  const auto places = FontLayoutImage(image.widths, font.metrics.height);
  for (size_t k = 0; k < image.widths.size() && font.glyphCount < fontMaxGlyphs; ++k) {
    const int32_t i = font.glyphCount;
    font.metrics.widths[i] = image.widths[k];
    font.glyphs[i] = MakeGlyph(font, fontTexture, tile, image.widths[k], places[k]);
    ++font.glyphCount;
  }
}

void DrawPlaced(const fontData& font, int32_t x, int32_t y,
                const std::vector<fontPlacedGlyph>& placed) {
  for (const fontPlacedGlyph& glyph : placed) {
    model* m = font.glyphs[glyph.glyph];
    ModelSetPosition(m, static_cast<float>(x + glyph.x), static_cast<float>(y), glyphDepth);
    ModelDraw(m);
  }
}

}  // namespace

void FontInit() {
  LogVersionAdd("fwkFont - Version 1.0");
  GraphicsSetFontHooks([](int32_t displayId, platformWindow) { FontDisplayAdd(displayId); },
                       FontDisplayRemove);
  // Textures have no place of their own in the start-up order; they join the model store here,
  // just before it starts (ModelInit keeps what was registered).
  TextureInit();
  fontDisplays.clear();
  nextFontId = 1;
}

void FontFinal() { fontDisplays.clear(); }

void FontDisplayAdd(int32_t displayId) {
  if (!FindDisplay(displayId)) fontDisplays.push_back({displayId, {}});
}

void FontDisplayRemove(int32_t displayId) {
  for (fontDisplay* display = FindDisplay(displayId); display && !display->fonts.empty();
       display = FindDisplay(displayId))
    FontClose(display->fonts.front()->id);
  fontDisplays.erase(
      std::remove_if(fontDisplays.begin(), fontDisplays.end(),
                     [displayId](const fontDisplay& d) { return d.displayId == displayId; }),
      fontDisplays.end());
}

int32_t FontOpen(int32_t displayId, const std::string& fileName) {
  fontDisplay* display = FindDisplay(displayId);
  if (!display) return 0;
  if (const int32_t existing = FontFindByFile(displayId, fileName)) return existing;
  const int32_t file = DataFileOpen(fileName);
  if (!file) {
    LogError("FontOpen - Unable to load font \"" + fileName + "\".");
    return 0;
  }
  const fontReader reader = DataFileReader(file);
  fontFileHeader header;
  std::string message;
  if (!FontFileReadHeader(reader, fileName, header, message)) {
    DataFileClose(file);
    LogError(message);
    return 0;
  }
  auto created = std::make_unique<fontData>();
  fontData& font = *created;
  font.id = nextFontId++;
  font.displayId = displayId;
  font.fileName = fileName;
  font.fontName = header.name;
  font.metrics.first = header.first;
  font.metrics.last = header.last;
  font.metrics.height = header.height;
  display->fonts.push_back(std::move(created));

  texture* fontTexture = nullptr;
  while (!DataFileEof(file)) {
    fontFileImage image;
    if (!FontFileReadImage(reader, fileName, image, message)) {
      DataFileClose(file);
      FontClose(font.id);
      LogError(message);
      return 0;
    }
    AddImage(font, fontTexture, image);
  }
  DataFileClose(file);
  return font.id;
}

void FontClose(int32_t fontId) {
  fontData* font = FindFont(fontId);
  if (!font) return;
  for (model*& glyph : font->glyphs) ModelFree(glyph);
  fontDisplay* display = FindDisplay(font->displayId);
  auto& fonts = display->fonts;
  fonts.erase(std::find_if(fonts.begin(), fonts.end(),
                           [fontId](const auto& f) { return f->id == fontId; }));
}

int32_t FontFindByFile(int32_t displayId, const std::string& fileName) {
  if (const fontDisplay* display = FindDisplay(displayId))
    for (const auto& font : display->fonts)
      if (TextSameIgnoringCase(font->fileName, fileName)) return font->id;
  return 0;
}

int32_t FontFindByName(int32_t displayId, const std::string& fontName) {
  if (const fontDisplay* display = FindDisplay(displayId))
    for (const auto& font : display->fonts)
      if (TextSameIgnoringCase(font->fontName, fontName)) return font->id;
  return 0;
}

int32_t FontHeight(int32_t fontId) {
  const fontData* font = FindFont(fontId);
  return font ? font->metrics.height : 0;
}

int32_t FontTextWidth(int32_t fontId, const std::string& text) {
  const fontData* font = FindFont(fontId);
  return font ? FontMeasure(font->metrics, text) : 0;
}

void FontSetColour(int32_t fontId, uint32_t colour) {
  fontData* font = FindFont(fontId);
  if (!font || font->colour == colour) return;
  font->colour = colour;
  for (model* glyph : font->glyphs)
    if (glyph) SetGlyphColour(glyph, colour);
}

void FontDrawText(int32_t fontId, int32_t x, int32_t y, const std::string& text) {
  FontDrawTextClipped(fontId, x, y, 0, text);
}

void FontDrawTextClipped(int32_t fontId, int32_t x, int32_t y, int32_t maximumWidth,
                         const std::string& text) {
  if (const fontData* font = FindFont(fontId))
    DrawPlaced(*font, x, y, FontPlaceLine(font->metrics, text, maximumWidth));
}

utilArrayString FontWrapText(int32_t fontId, int32_t width, const std::string& text) {
  const fontData* font = FindFont(fontId);
  return font ? FontWrap(font->metrics, width, text) : utilArrayString();
}

void FontDrawLines(int32_t fontId, int32_t x, int32_t y, const utilArrayString& lines,
                   int32_t firstLine, int32_t boxWidth, int32_t maximumHeight, int32_t alignment) {
  const fontData* font = FindFont(fontId);
  if (!font) return;
  for (const fontPlacedLine& line :
       FontPlaceLines(font->metrics, x, y, lines, firstLine, boxWidth, maximumHeight, alignment))
    DrawPlaced(*font, line.x, line.y, FontPlaceLine(font->metrics, lines[line.line], 0));
}

void FontDrawWrapped(int32_t fontId, int32_t x, int32_t y, int32_t width, const std::string& text) {
  FontDrawLines(fontId, x, y, FontWrapText(fontId, width, text), 1, width, 0, 0);
}

int32_t FontRebuildStart(int32_t displayId, const std::string& fileName, int32_t& file) {
  file = DataFileOpen(fileName);
  if (!file) {
    LogError("FontRebuildStart - Unable to load font \"" + fileName + "\".");
    return 0;
  }
  if (!FontFileSkipHeader(DataFileReader(file))) {
    DataFileClose(file);
    file = 0;
    return 0;
  }
  return FontFindByFile(displayId, fileName);
}

void FontRebuildTexel(int32_t fontId, int32_t& file, texture* fontTexture, int32_t tile) {
  fontData* font = FindFont(fontId);
  if (!font || !file) return;
  std::vector<uint32_t> pixels;
  const fontTexelResult result = FontFileReadTexels(DataFileReader(file), pixels);
  if (result == fontTexelResult::ok) {
    TextureUpload(fontTexture, tile, pixels.data(), fontImageSide, fontImageSide);
    return;
  }
  const char* what = "";
  switch (result) {
    case fontTexelResult::noChunkId:
      what = "FontRebuildTexel -Could not read chunk ID when rebuilding font ";
      break;
    case fontTexelResult::badChunkId:
      what = "FontRebuildTexel -Invalid chunk ID encountered when rebuilding font ";
      break;
    case fontTexelResult::noLength:
      what = "FontRebuildTexel -Could not read chunk size when rebuilding font ";
      break;
    case fontTexelResult::noPixels:
      what = "FontRebuildTexel -Could not read pixel data when rebuilding font ";
      break;
    case fontTexelResult::noBlock:
      what = "FontRebuildTexel -Could not read to end of image data when rebuilding font ";
      break;
    case fontTexelResult::noRemainder:
    case fontTexelResult::ok:
      what = "FontRebuildTexel -Could not read to end of chunk when rebuilding font ";
      break;
  }
  DataFileClose(file);
  file = 0;
  const std::string fileName = font->fileName;
  LogError(what + ("\"" + fileName + "\".  Font deleted."));
  FontClose(fontId);
}

void FontRebuildEnd(int32_t file) { DataFileClose(file); }
