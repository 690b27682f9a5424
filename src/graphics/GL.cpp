#include "graphics/GL.h"

#include <array>
#include <type_traits>

namespace {

template <typename Result>
Result EmptyResult() {
  if constexpr (!std::is_void_v<Result>) {
    return Result{};
  }
}

#define SANGUOR_GL_ENTRY(result, name, parameters) \
  result SANGUOR_GLAPI Empty##name parameters { return EmptyResult<result>(); }
#include "graphics/GLEntries.h"
#undef SANGUOR_GL_ENTRY

constexpr std::array<const char*, glEntryCount> entryNames = {
#define SANGUOR_GL_ENTRY(result, name, parameters) "gl" #name,
#include "graphics/GLEntries.h"
#undef SANGUOR_GL_ENTRY
};

std::array<bool, glEntryCount> resolved{};

template <typename Entry>
void Resolve(Entry& entry, int32_t& index) {
  if (void* address = PlatformGLGetProcAddress(entryNames[index])) {
    entry = reinterpret_cast<Entry>(address);
    resolved[index] = true;
  }
  ++index;
}

glEntryPoints EmptyTable() {
  glEntryPoints table{};
#define SANGUOR_GL_ENTRY(result, name, parameters) table.name = &Empty##name;
#include "graphics/GLEntries.h"
#undef SANGUOR_GL_ENTRY
  table.ChoosePixelFormat = &PlatformChoosePixelFormat;
  return table;
}

}  // namespace

// Usable before GLInit: every entry starts as its empty stand-in.
glEntryPoints gl = EmptyTable();

bool GLLoad(const std::string& libraryName, std::string* error) {
  GLUnload();
  if (!PlatformGLLoadLibrary(libraryName)) {
    if (error != nullptr) {
      *error = "Could not load OpenGL from " + libraryName;
    }
    return false;
  }
  int32_t index = 0;
#define SANGUOR_GL_ENTRY(result, name, parameters) Resolve(gl.name, index);
#include "graphics/GLEntries.h"
#undef SANGUOR_GL_ENTRY
  return true;
}

void GLUnload() {
  gl = EmptyTable();
  resolved.fill(false);
}

void GLInit() {
  PlatformMaskFloatingPointExceptions();
  // A missing library is reported by the shell when the game starts, not here.
  GLLoad(PlatformGLLibraryName());
}

void GLFinal() { GLUnload(); }

const char* GLEntryName(int32_t index) {
  return index >= 0 && index < glEntryCount ? entryNames[index] : "";
}

bool GLEntryResolved(int32_t index) {
  return index >= 0 && index < glEntryCount && resolved[index];
}

int32_t GLResolvedCount() {
  int32_t count = 0;
  for (bool entry : resolved) {
    count += entry ? 1 : 0;
  }
  return count;
}
