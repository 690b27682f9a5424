#include "graphics/fwkGraphics.h"

#include "graphics/GL.h"
#include "graphics/fwkGraphicsState.h"
#include "graphics/fwkModel.h"
#include "services/fwkLog.h"
#include "services/fwkUtilities.h"
#include "services/fwkText.h"

namespace {

struct displayHooks {
  graphicsDisplayAddProc add = nullptr;
  graphicsDisplayRemoveProc remove = nullptr;
};

displayHooks fontHooks;
displayHooks pointerHooks;

graphicsDisplay* Find(int32_t id) {
  for (graphicsDisplay& display : GraphicsState().displays) {
    if (display.id == id) {
      return &display;
    }
  }
  return nullptr;
}

void DiscardGLErrors() {
  // Bounded: without a context some drivers keep answering an error.
  for (int i = 0; i < 32 && gl.GetError() != GL_NO_ERROR; ++i) {
  }
}

// The extension string is read once so that drivers which set up lazily do it at start-up.
// The context has only the settings every new one gets, so the first display may take it over.
void OpenTemporaryDisplay() {
  graphicsState& state = GraphicsState();
  int32_t id = GraphicsDisplayAdd(PlatformAppWindow(), "application", 0);
  if (GraphicsDisplayCreateRC(id)) {
    gl.GetString(GL_EXTENSIONS);
    PlatformGLKeepNextDeletedContext();
  }
  GraphicsDisplayClose(id);
  state.nextId = 1;
}

}  // namespace

graphicsState& GraphicsState() {
  static graphicsState state;
  return state;
}

void GraphicsSetFontHooks(graphicsDisplayAddProc add, graphicsDisplayRemoveProc remove) {
  fontHooks = {add, remove};
}

void GraphicsSetPointerHooks(graphicsDisplayAddProc add, graphicsDisplayRemoveProc remove) {
  pointerHooks = {add, remove};
}

void GraphicsInit() {
  graphicsState& state = GraphicsState();
  while (!state.displays.empty()) {
    GraphicsDisplayClose(state.displays.front().id);
  }
  LogVersionAdd("fwkGraphics - Version Alpha.0");
  if (GLResolvedCount() == 0) {
    GLInit();
  }
  state = graphicsState{};
  state.flush = UtilCommandLineHas("-flush");
  state.finish = UtilCommandLineHas("-finish");
  DiscardGLErrors();
  GraphicsMonitorsEnumerate();
  OpenTemporaryDisplay();
}

void GraphicsFinal() {
  graphicsState& state = GraphicsState();
  if (state.fullscreen) {
    GraphicsMonitorsRestoreDesktop();
  }
  while (!state.displays.empty()) {
    GraphicsDisplayClose(state.displays.front().id);
  }
  state.monitors.clear();
}

bool GraphicsHardwareAccelerated(platformWindow window) {
  platformDC dc = PlatformGetDC(window);
  if (dc == 0) {
    return false;
  }
  platformPixelFormat format;
  int32_t count = PlatformDescribePixelFormat(dc, 1, &format);
  for (int32_t n = 1; n <= count; ++n) {
    if (PlatformDescribePixelFormat(dc, n, &format) != 0 &&
        (format.flags & PLATFORM_PF_SUPPORT_OPENGL) != 0 &&
        (format.flags & PLATFORM_PF_GENERIC_FORMAT) == 0) {
      PlatformReleaseDC(window, dc);
      return true;
    }
  }
  PlatformReleaseDC(window, dc);
  return false;
}

int32_t GraphicsDisplayAdd(platformWindow window, const std::string& name, int32_t monitor) {
  graphicsState& state = GraphicsState();
  graphicsDisplay display;
  display.id = state.nextId++;
  display.window = window;
  display.monitor = monitor;
  display.name = name;
  state.displays.push_back(display);
  ModelDisplayAdd(display.id);
  if (fontHooks.add != nullptr) {
    fontHooks.add(display.id, window);
  }
  if (pointerHooks.add != nullptr) {
    pointerHooks.add(display.id, window);
  }
  return display.id;
}

void GraphicsDisplayClose(int32_t id) {
  if (Find(id) == nullptr) {
    return;
  }
  if (fontHooks.remove != nullptr) {
    fontHooks.remove(id);
  }
  if (pointerHooks.remove != nullptr) {
    pointerHooks.remove(id);
  }
  ModelDisplayRemove(id);
  int32_t index = GraphicsDisplayGet(id);
  if (index < 0) {
    return;
  }
  if (!GraphicsDisplayFreeRC(index)) {
    LogError("GraphicsDisplayClose - Rendering context release failed on display index \"" +
             std::to_string(index) + "\".");
  }
  auto& displays = GraphicsState().displays;
  displays.erase(displays.begin() + index);
  if (GraphicsState().current == id) {
    GraphicsState().current = -1;
  }
}

bool GraphicsDisplayCreateRC(int32_t id) {
  const std::string where = "GraphicsDisplayCreateRC - ";
  graphicsDisplay* display = Find(id);
  if (display == nullptr) {
    LogError(where + "Can't get display " + std::to_string(id) + ".");
    return false;
  }
  platformDC dc = PlatformGetDC(display->window);
  if (dc == 0) {
    LogError(where + "Can't create a GL device context for display " + TextQuoted(display->name) +
             ": " + LogWindowsError());
    return false;
  }
  platformPixelFormat wanted;
  wanted.flags = PLATFORM_PF_DRAW_TO_WINDOW | PLATFORM_PF_SUPPORT_OPENGL | PLATFORM_PF_DOUBLEBUFFER;
  wanted.colorBits = 32;
  wanted.depthBits = 16;
  wanted.stencilBits = 1;
  int32_t format = gl.ChoosePixelFormat(dc, wanted);
  if (format == 0) {
    LogError(where + "Can't find a suitable pixel format for display " + TextQuoted(display->name) +
             ": " + LogWindowsError());
    PlatformReleaseDC(display->window, dc);
    return false;
  }
  display->deviceContext = dc;
  display->renderingContext = 0;
  if (!PlatformSetPixelFormat(dc, format, wanted)) {
    LogError(where + "Can't set pixel format on display " + TextQuoted(display->name) + ": " +
             LogWindowsError());
    return false;
  }
  platformGLContext context = PlatformGLCreateContext(dc);
  if (context == 0) {
    LogError(where + "Cant't create a GL rendering context for display " +
             TextQuoted(display->name) + ": " + LogWindowsError());
    return false;
  }
  display->renderingContext = context;
  if (!GraphicsDisplayMakeCurrent(id)) {
    LogError(where + "Cant't activate the GL rendering context for display " +
             TextQuoted(display->name) + ": " + LogWindowsError());
    return false;
  }
  gl.ClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  gl.Enable(GL_BLEND);
  gl.BlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  gl.Enable(GL_TEXTURE_2D);
  GraphicsSetCullMode(5);
  gl.Enable(GL_DEPTH_TEST);
  gl.DepthFunc(GL_LEQUAL);
  return true;
}

bool GraphicsDisplayFreeRC(int32_t index) {
  const std::string where = "GraphicsDisplayFreeRC - ";
  auto& displays = GraphicsState().displays;
  if (index < 0 || index >= static_cast<int32_t>(displays.size())) {
    LogError(where + "Invalid display Index \"" + std::to_string(index) + ".");
    return false;
  }
  graphicsDisplay& display = displays[static_cast<size_t>(index)];
  bool failed = false;
  if (display.renderingContext != 0) {
    if (!PlatformGLMakeCurrent(display.deviceContext, 0)) {
      LogError(where + "Release of display " + TextQuoted(display.name) +
               " DC and RC failed: " + LogWindowsError());
      failed = true;
    }
    if (!PlatformGLDeleteContext(display.renderingContext)) {
      LogError(where + "Release of display " + TextQuoted(display.name) +
               " Rendering Context failed: " + LogWindowsError());
      failed = true;
    }
    display.renderingContext = 0;
    if (GraphicsState().current == display.id) {
      GraphicsState().current = -1;
    }
  }
  if (display.deviceContext != 0) {
    if (PlatformReleaseDC(display.window, display.deviceContext) != 1) {
      LogError(where + "Release of display " + TextQuoted(display.name) +
               " Device Context failed: " + LogWindowsError());
      failed = true;
    }
    display.deviceContext = 0;
  }
  return !failed;
}

void GraphicsDisplaysFreeRC() {
  int32_t count = static_cast<int32_t>(GraphicsState().displays.size());
  for (int32_t index = 0; index < count; ++index) {
    if (!GraphicsDisplayFreeRC(index)) {
      LogError("GraphicsDisplaysFreeRC - Rendering context release failed on display index \"" +
               std::to_string(index) + "\".");
    }
  }
}

void GraphicsDisplaysCreateRC() {
  std::vector<int32_t> ids;
  for (const graphicsDisplay& display : GraphicsState().displays) {
    ids.push_back(display.id);
  }
  for (int32_t id : ids) {
    if (GraphicsDisplayCreateRC(id)) {
      const graphicsDisplay* display = Find(id);
      gl.Viewport(0, 0, display->mode.width, display->mode.height);
    }
  }
}

int32_t GraphicsDisplayGet(int32_t id) {
  const auto& displays = GraphicsState().displays;
  for (size_t i = 0; i < displays.size(); ++i) {
    if (displays[i].id == id) {
      return static_cast<int32_t>(i);
    }
  }
  return -1;
}

bool GraphicsDisplayExists(int32_t id) { return Find(id) != nullptr; }

int32_t GraphicsDisplayCount() { return static_cast<int32_t>(GraphicsState().displays.size()); }

bool GraphicsDisplayMakeCurrent(int32_t id) {
  graphicsDisplay* display = Find(id);
  if (display == nullptr || display->renderingContext == 0 ||
      !PlatformGLMakeCurrent(display->deviceContext, display->renderingContext)) {
    return false;
  }
  GraphicsState().current = id;
  return true;
}

int32_t GraphicsDisplayCurrent() { return GraphicsState().current; }

platformWindow GraphicsDisplayWindow(int32_t id) {
  const graphicsDisplay* display = Find(id);
  return display != nullptr ? display->window : 0;
}

void GraphicsDisplaySetWindow(int32_t id, platformWindow window) {
  if (graphicsDisplay* display = Find(id)) {
    display->window = window;
  }
}

void GraphicsDisplaySetMode(int32_t id, const graphicsMode& mode) {
  graphicsDisplay* display = Find(id);
  if (display == nullptr || mode.width == 0) {
    return;
  }
  display->mode = mode;
  if (GraphicsDisplayMakeCurrent(id)) {
    gl.Viewport(0, 0, mode.width, mode.height);
  }
}

int32_t GraphicsDisplayModeIndex(int32_t id) {
  const graphicsDisplay* display = Find(id);
  if (display == nullptr) {
    return -1;
  }
  return GraphicsMonitorModeIndex(display->monitor, display->mode.width, display->mode.height,
                                  display->mode.bitsPerPixel);
}

graphicsMode GraphicsDisplayMode(int32_t id, int32_t index) {
  const graphicsDisplay* display = Find(id);
  if (display == nullptr) {
    return {0, 0, 0, -1};
  }
  return GraphicsMonitorMode(display->monitor, index);
}

int32_t GraphicsDisplayWidth(int32_t id) {
  int32_t width = GraphicsDisplayMode(id, GraphicsDisplayModeIndex(id)).width;
  return width != 0 ? width : 1;
}

int32_t GraphicsDisplayHeight(int32_t id) {
  int32_t height = GraphicsDisplayMode(id, GraphicsDisplayModeIndex(id)).height;
  return height != 0 ? height : 1;
}

void GraphicsSetChanging(bool changing) { GraphicsState().changing = changing; }

void GraphicsDisplayLost() {
  graphicsState& state = GraphicsState();
  if (!state.changing) {
    state.displayLost = true;
  }
}

bool GraphicsDisplayLostTake() {
  graphicsState& state = GraphicsState();
  bool lost = state.displayLost;
  state.displayLost = false;
  return lost;
}

void GraphicsRenderBegin(int32_t id) {
  const graphicsDisplay* display = Find(id);
  if (display == nullptr) {
    return;
  }
  if (GraphicsDisplayMakeCurrent(id)) {
    gl.Clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    return;
  }
  LogError("GraphicsRenderBegin - Unable to make RC current on display " +
           TextQuoted(display->name) + ": " + LogWindowsError());
  LogWrite("  Handle = " + std::to_string(display->window));
  LogWrite("  DC = " + std::to_string(display->deviceContext));
  LogWrite("  RC = " + std::to_string(display->renderingContext));
}

void GraphicsRenderEnd(int32_t id) {
  const graphicsDisplay* display = Find(id);
  if (display == nullptr) {
    return;
  }
  const graphicsState& state = GraphicsState();
  if (state.flush) {
    gl.Flush();
  }
  if (state.finish) {
    gl.Finish();
  }
  if (!PlatformGLSwapBuffers(display->deviceContext)) {
    LogError("GraphicsRenderEnd - Unable to SwapBuffers on display " + TextQuoted(display->name) +
             ": " + LogWindowsError());
  }
}

void GraphicsSetCullMode(int32_t mode) {
  if (UtilCommandLineHas("-nocull")) {
    mode = 0;
  }
  if (mode < 1 || mode > 4) {
    gl.Disable(GL_CULL_FACE);
    return;
  }
  gl.Enable(GL_CULL_FACE);
  gl.FrontFace(mode == 1 || mode == 3 ? GL_CCW : GL_CW);
  gl.CullFace(mode <= 2 ? GL_BACK : GL_FRONT);
}

void GraphicsSet2D(int32_t width, int32_t height) {
  gl.MatrixMode(GL_PROJECTION);
  gl.LoadIdentity();
  gl.Ortho(0.0, width, height, 0.0, -500.0, 500.0);
  gl.MatrixMode(GL_MODELVIEW);
  gl.LoadIdentity();
  gl.Disable(GL_DEPTH_TEST);
  gl.Enable(GL_TEXTURE_2D);
  gl.Enable(GL_BLEND);
}

std::string GraphicsErrorText(uint32_t code) {
  const std::string number = std::to_string(code);
  switch (code) {
    case GL_INVALID_ENUM:
      return "Invalid enumerated value passed to OpenGL function.  Error = " + number;
    case GL_INVALID_VALUE: return "Invalid value passed to OpenGL function.  Error = " + number;
    case GL_INVALID_OPERATION:
      return "Invalid operation for current OpenGL state.  Error = " + number;
    case GL_OUT_OF_MEMORY: return "Insufficient memory for OpenGL operation.  Error = " + number;
    default: return "Unrecgoznied OpenGL error " + number + ".";
  }
}
