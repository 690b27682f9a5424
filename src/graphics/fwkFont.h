// Bitmap fonts read from ".fot" files: each glyph is a compiled model showing its part of one
// shared font texture (one 64 x 64 tile per image of the file). Text is measured, wrapped into
// lines and drawn by moving and drawing the glyph models.
#pragma once

#include <cstdint>
#include <string>

#include "services/fwkUtilities.h"

struct texture;

// Registers the version text and forgets every font; font ids start again at 1.
void FontInit();
void FontFinal();

// Called by fwkGraphics when a display is added and when it is closed.
void FontDisplayAdd(int32_t displayId);
void FontDisplayRemove(int32_t displayId);

// Font id, or 0 (one log line says why). A file already open on the display gives its font.
int32_t FontOpen(int32_t displayId, const std::string& fileName);
void FontClose(int32_t fontId);
int32_t FontFindByFile(int32_t displayId, const std::string& fileName);
int32_t FontFindByName(int32_t displayId, const std::string& fontName);

int32_t FontHeight(int32_t fontId);
// Sum of (width - 1) over the characters of the text that the font covers.
int32_t FontTextWidth(int32_t fontId, const std::string& text);
// Colour 0xAARRGGBB of every glyph.
void FontSetColour(int32_t fontId, uint32_t colour);

// Text with its top-left corner at (x, y). The clipped form stops before the first character
// that would end past maximumWidth (0: no limit).
void FontDrawText(int32_t fontId, int32_t x, int32_t y, const std::string& text);
void FontDrawTextClipped(int32_t fontId, int32_t x, int32_t y, int32_t maximumWidth,
                         const std::string& text);

// Word wrap for a box width; carriage returns, line feeds and both together break lines.
utilArrayString FontWrapText(int32_t fontId, int32_t width, const std::string& text);
// Draws lines from firstLine (1-based) on, one font height apart; alignment 0 left, 1 centred,
// 2 right within boxWidth. With maximumHeight above 0, a line is drawn only while the lines
// drawn so far and the next one fit in it (the first is always drawn).
void FontDrawLines(int32_t fontId, int32_t x, int32_t y, const utilArrayString& lines,
                   int32_t firstLine, int32_t boxWidth, int32_t maximumHeight, int32_t alignment);
void FontDrawWrapped(int32_t fontId, int32_t x, int32_t y, int32_t width, const std::string& text);

// Rebuilding a font texture after a context rebuild. Start opens the file and skips its header:
// it returns the font id (0 when the display has no font of that file) and sets file to the
// open data file, or 0 when the file cannot be read. Texel reads the next image into a tile;
// on failure it deletes the font, and with it the texture, and sets file to 0. End closes file.
int32_t FontRebuildStart(int32_t displayId, const std::string& fileName, int32_t& file);
void FontRebuildTexel(int32_t fontId, int32_t& file, texture* fontTexture, int32_t tile);
void FontRebuildEnd(int32_t file);
