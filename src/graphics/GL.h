// The OpenGL entry-point table: every OpenGL 1.1 function, resolved by name from the
// platform's OpenGL library. The framework calls OpenGL only through `gl` (gl.Begin(...)), so
// no OpenGL library is linked into it and any backend's library can serve.
#pragma once

#include <cstdint>
#include <string>

#include "graphics/GLConstants.h"
#include "graphics/GLTypes.h"
#include "platform/platform_video.h"

struct glEntryPoints {
// A type and a parameter list cannot take parentheses.
// NOLINTBEGIN(bugprone-macro-parentheses)
#define SANGUOR_GL_ENTRY(result, name, parameters) result(SANGUOR_GLAPI* name) parameters;
// NOLINTEND(bugprone-macro-parentheses)
#include "graphics/GLEntries.h"
#undef SANGUOR_GL_ENTRY
  // The pixel-format chooser of the library, or the platform's own when it has none.
  int32_t (*ChoosePixelFormat)(platformDC dc, const platformPixelFormat& wanted);
};

// An entry the library does not export does nothing and returns zero, so a missing library
// never crashes the program; the shell reports it when the game starts.
extern glEntryPoints gl;

constexpr int32_t glEntryCount = 336;

// Masks floating-point exceptions and loads the platform's OpenGL library.
void GLInit();
void GLFinal();
// Clears the table, loads the library and resolves every entry. False when the library
// cannot be loaded; `error` then holds "Could not load OpenGL from " + the library name.
bool GLLoad(const std::string& libraryName, std::string* error = nullptr);
// Clears the table (every entry back to its empty stand-in).
void GLUnload();
// "glAccum" .. "glViewport": the name of entry i in table order.
const char* GLEntryName(int32_t index);
bool GLEntryResolved(int32_t index);
int32_t GLResolvedCount();
