// Displays and monitors: the OpenGL side of every render window (device and rendering
// context, monitor, name, video mode), the per-monitor lists of video modes, fullscreen
// resolution changes, the fixed OpenGL state the graphics modules rely on, and the frame
// brackets GraphicsRenderBegin / GraphicsRenderEnd.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform_video.h"

struct graphicsMode {
  int32_t width = 0;
  int32_t height = 0;
  int32_t bitsPerPixel = 0;
  int32_t modeNumber = 0;  // the monitor's enumeration index of the mode
};

struct graphicsDisplay {
  int32_t id = 0;
  platformWindow window = 0;
  platformDC deviceContext = 0;
  platformGLContext renderingContext = 0;
  int32_t monitor = 0;
  std::string name;
  graphicsMode mode;
};

struct graphicsMonitor {
  std::vector<graphicsMode> allModes;       // in insertion order (see GraphicsModeInsert)
  std::vector<graphicsMode> distinctModes;  // runs of equal width, height and depth collapsed
};

void GraphicsInit();
void GraphicsFinal();

bool GraphicsHardwareAccelerated(platformWindow window);
int32_t GraphicsDisplayAdd(platformWindow window, const std::string& name, int32_t monitor);
void GraphicsDisplayClose(int32_t display);
bool GraphicsDisplayCreateRC(int32_t display);
bool GraphicsDisplayFreeRC(int32_t displayIndex);
void GraphicsDisplaysFreeRC();
void GraphicsDisplaysCreateRC();
int32_t GraphicsDisplayGet(int32_t display);
bool GraphicsDisplayExists(int32_t display);
bool GraphicsDisplayMakeCurrent(int32_t display);
int32_t GraphicsDisplayCurrent();
platformWindow GraphicsDisplayWindow(int32_t display);
void GraphicsDisplaySetWindow(int32_t display, platformWindow window);
void GraphicsDisplaySetMode(int32_t display, const graphicsMode& mode);
int32_t GraphicsDisplayModeIndex(int32_t display);
graphicsMode GraphicsDisplayMode(int32_t display, int32_t index);
int32_t GraphicsDisplayWidth(int32_t display);
int32_t GraphicsDisplayHeight(int32_t display);
int32_t GraphicsDisplayCount();

graphicsMode GraphicsMonitorFindMode(int32_t monitor, int32_t width, int32_t height,
                                     int32_t bitsPerPixel);
graphicsMode GraphicsMonitorMode(int32_t monitor, int32_t index);
int32_t GraphicsMonitorModeIndex(int32_t monitor, int32_t width, int32_t height,
                                 int32_t bitsPerPixel);
std::string GraphicsMonitorModeText(int32_t monitor, int32_t index);
int32_t GraphicsMonitorCount();
// The monitor's lists as built at start-up (empty lists for an index out of range).
const graphicsMonitor& GraphicsMonitorLists(int32_t monitor);
bool GraphicsMonitorSetResolution(int32_t monitor, int32_t modeNumber);
bool GraphicsMonitorsRestoreDesktop();

void GraphicsSetFullscreen(bool fullscreen);
bool GraphicsIsFullscreen();
void GraphicsSetChanging(bool changing);
void GraphicsDisplayLost();
bool GraphicsDisplayLostTake();

void GraphicsRenderBegin(int32_t display);
void GraphicsRenderEnd(int32_t display);
void GraphicsSetCullMode(int32_t mode);
void GraphicsSet2D(int32_t width, int32_t height);
std::string GraphicsErrorText(uint32_t code);

// The insertion rule of the mode lists: in front of the first entry that is not smaller in
// width, then (from there) in height, then in depth.
void GraphicsModeInsert(std::vector<graphicsMode>& modes, const graphicsMode& mode);
std::vector<graphicsMode> GraphicsModesDistinct(const std::vector<graphicsMode>& modes);

// Other modules that keep per-display tables register here once (their registration
// survives GraphicsInit). GraphicsDisplayAdd tells the model store, then the fonts, then the
// pointer input; GraphicsDisplayClose tells the fonts, the pointer input, then the model store.
using graphicsDisplayAddProc = void (*)(int32_t display, platformWindow window);
using graphicsDisplayRemoveProc = void (*)(int32_t display);
void GraphicsSetFontHooks(graphicsDisplayAddProc add, graphicsDisplayRemoveProc remove);
void GraphicsSetPointerHooks(graphicsDisplayAddProc add, graphicsDisplayRemoveProc remove);
