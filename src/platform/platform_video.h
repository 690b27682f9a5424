// Windows, the message pump, OpenGL contexts and monitors of the platform contract.
//
// Handles are plain integers so that every backend can map its own objects onto them: the SDL
// backend uses SDL window ids (so input events name their window directly), a Win32 backend
// would store HWND, HDC and HGLRC values. 0 is "none" for every handle.
//
// The shape follows the Win32 calls the framework was written against (device contexts, pixel
// formats, ChangeDisplaySettingsEx result codes), so fwkGraphics keeps the algorithms it is
// specified with and a native backend is a direct mapping.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using platformWindow = uintptr_t;
using platformDC = uintptr_t;
using platformGLContext = uintptr_t;

struct platformPoint {
  int32_t x = 0;
  int32_t y = 0;
};

struct platformRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
};

// ---------------------------------------------------------------------------------------------
// Windows

enum platformBorderStyle : int32_t {
  PLATFORM_BORDER_NONE = 0,    // borderless popup at the given position and size
  PLATFORM_BORDER_DIALOG = 1,  // fixed-size window with a caption bar
  // Borderless and covering the monitor that holds the window's top-left corner, in that
  // monitor's current mode (the one applied by PlatformMonitorApplyMode, else the desktop).
  PLATFORM_BORDER_FULLSCREEN = 2,
};

// Places a window at the centre of the primary monitor when given as x or y.
constexpr int32_t PLATFORM_POSITION_CENTRED = INT32_MIN;

struct platformWindowParams {
  std::string caption;
  int32_t x = PLATFORM_POSITION_CENTRED;  // window's top-left corner, screen pixels
  int32_t y = PLATFORM_POSITION_CENTRED;
  int32_t width = 640;  // client size
  int32_t height = 480;
  platformBorderStyle border = PLATFORM_BORDER_DIALOG;
  // The window will be given an outline (PlatformWindowSetShape). Every window can carry an
  // OpenGL context (it keeps its own device context for OpenGL).
  bool shaped = false;
};

enum platformWindowEventKind : int32_t {
  PLATFORM_EVENT_CLOSE = 1,       // the user asked to close the window; nothing is closed
  PLATFORM_EVENT_ACTIVATE = 2,    // the window got the input focus
  PLATFORM_EVENT_DEACTIVATE = 3,  // the window lost the input focus
  PLATFORM_EVENT_MINIMIZE = 4,
  PLATFORM_EVENT_RESTORE = 5,
  PLATFORM_EVENT_RESIZE = 6,           // width, height: the new client size
  PLATFORM_EVENT_MOUSE_DOWN = 7,       // x, y (client), button
  PLATFORM_EVENT_MOUSE_UP = 8,         // x, y (client), button
  PLATFORM_EVENT_MOUSE_MOVE = 9,       // x, y (client), buttons held
  PLATFORM_EVENT_DISPLAY_CHANGE = 10,  // the desktop resolution changed (sent to every window)
};

// Mouse buttons as numbers (event button) and as bits (event buttons).
constexpr int32_t PLATFORM_MOUSE_LEFT = 1;
constexpr int32_t PLATFORM_MOUSE_MIDDLE = 2;
constexpr int32_t PLATFORM_MOUSE_RIGHT = 3;
constexpr uint32_t PlatformMouseBit(int32_t button) { return 1u << (button - 1); }

struct platformWindowEvent {
  platformWindowEventKind kind = PLATFORM_EVENT_CLOSE;
  int32_t x = 0;
  int32_t y = 0;
  int32_t button = 0;
  uint32_t buttons = 0;
  int32_t width = 0;
  int32_t height = 0;
};

using platformWindowHandler = void (*)(platformWindow window, const platformWindowEvent& event,
                                       void* context);

// Creates a hidden window; 0 on failure (PlatformLastVideoError tells why).
platformWindow PlatformWindowCreate(const platformWindowParams& params);
// Destroys the window and the OpenGL objects the platform keeps for it.
void PlatformWindowDestroy(platformWindow window);
bool PlatformWindowExists(platformWindow window);
void PlatformWindowShow(platformWindow window);
void PlatformWindowHide(platformWindow window);
bool PlatformWindowIsVisible(platformWindow window);
void PlatformWindowSetCaption(platformWindow window, const std::string& caption);
std::string PlatformWindowCaption(platformWindow window);
void PlatformWindowSetPosition(platformWindow window, int32_t x, int32_t y);
platformPoint PlatformWindowPosition(platformWindow window);
void PlatformWindowSetClientSize(platformWindow window, int32_t width, int32_t height);
// Client size in pixels; (0, 0) for an unknown window.
platformRect PlatformWindowClientRect(platformWindow window);
void PlatformWindowSetBorder(platformWindow window, platformBorderStyle border);
platformBorderStyle PlatformWindowBorder(platformWindow window);
// Hides the mouse cursor while it is over the window (false) or shows it (true).
void PlatformWindowSetCursorVisible(platformWindow window, bool visible);
bool PlatformWindowCursorVisible(platformWindow window);
// Gives the window a non-rectangular outline: a polygon in window coordinates, filled with
// the winding rule. Mouse events outside it do not reach the window. An empty outline
// makes the window rectangular again.
void PlatformWindowSetShape(platformWindow window, const std::vector<platformPoint>& outline);
// True when the window point lies inside the window's outline (or the window has none).
bool PlatformWindowShapeContains(platformWindow window, int32_t x, int32_t y);
void PlatformWindowMinimize(platformWindow window);
void PlatformWindowRestore(platformWindow window);
bool PlatformWindowIsMinimized(platformWindow window);
// Brings the window to the front and gives it the input focus.
void PlatformWindowSetForeground(platformWindow window);
// Starts moving the window with the mouse until the left button is released (what a press
// on a caption bar does).
void PlatformWindowBeginDrag(platformWindow window);
// One handler per window; nullptr removes it. Events reach handlers only inside
// PlatformPumpMessages, except the display-change notice of a mode change.
void PlatformWindowSetHandler(platformWindow window, platformWindowHandler handler, void* context);

// The application: active while one of its windows has the input focus; minimised while
// every shown window is minimised.
enum platformAppEventKind : int32_t {
  PLATFORM_APP_ACTIVATE = 1,
  PLATFORM_APP_DEACTIVATE = 2,
  PLATFORM_APP_RESTORE = 3,
};
using platformAppHandler = void (*)(platformAppEventKind kind, void* context);
void PlatformAppSetHandler(platformAppHandler handler, void* context);
bool PlatformAppIsActive();
bool PlatformAppIsMinimized();
void PlatformAppMinimize();
void PlatformAppRestore();
// The application's own hidden window (created on first use, never shown); it can carry an
// OpenGL context like any other window.
platformWindow PlatformAppWindow();

// Processes every pending event once: window events go to the window handlers, keyboard,
// mouse and joystick events also to the input translation of the backend.
void PlatformPumpMessages();
// Waits up to ms for an event for PlatformPumpMessages, returning as soon as one arrives: the
// rest of a program paused in the background. Headless runs and the virtual clock return at once.
void PlatformWaitForEvents(uint32_t ms);

// Text of the last failure of a video call ("" when the backend has none).
std::string PlatformLastVideoError();

// ---------------------------------------------------------------------------------------------
// OpenGL

// Pixel-format flags, numbered as the Win32 descriptor numbers them.
constexpr uint32_t PLATFORM_PF_DOUBLEBUFFER = 0x01;
constexpr uint32_t PLATFORM_PF_DRAW_TO_WINDOW = 0x04;
constexpr uint32_t PLATFORM_PF_SUPPORT_OPENGL = 0x20;
constexpr uint32_t PLATFORM_PF_GENERIC_FORMAT = 0x40;  // the system's software renderer

struct platformPixelFormat {
  uint32_t flags = 0;
  int32_t colorBits = 0;
  int32_t depthBits = 0;
  int32_t stencilBits = 0;
};

// A device context for drawing into the window; 0 when the window cannot draw with OpenGL.
platformDC PlatformGetDC(platformWindow window);
// 1 when released, 0 otherwise (ReleaseDC's results).
int32_t PlatformReleaseDC(platformWindow window, platformDC dc);
// Describes pixel format number `format` (1-based) into `out` when given; returns the number
// of formats the device context offers, 0 on failure.
int32_t PlatformDescribePixelFormat(platformDC dc, int32_t format, platformPixelFormat* out);
// The closest format the device context offers to `wanted`; 0 when none.
int32_t PlatformChoosePixelFormat(platformDC dc, const platformPixelFormat& wanted);
bool PlatformSetPixelFormat(platformDC dc, int32_t format, const platformPixelFormat& wanted);
platformGLContext PlatformGLCreateContext(platformDC dc);
// Makes the context current on the device context; a context of 0 makes none current.
bool PlatformGLMakeCurrent(platformDC dc, platformGLContext context);
bool PlatformGLDeleteContext(platformGLContext context);
// Headless runs: the next context deleted is kept, and the next context created takes it
// instead of making another (making one costs as much as the rest of the start-up). Only for a
// context that had nothing set on it but what every new context is given. Elsewhere it does
// nothing.
void PlatformGLKeepNextDeletedContext();
bool PlatformGLSwapBuffers(platformDC dc);
// Name of the OpenGL library the backend loads ("opengl32.dll" on Windows).
std::string PlatformGLLibraryName();
// Loads the OpenGL library once for the whole run; true when it is loaded.
bool PlatformGLLoadLibrary(const std::string& name);
void* PlatformGLGetProcAddress(const std::string& name);
// Masks every floating-point exception (round to nearest, extended precision where the
// processor has it) so that OpenGL drivers run inside the program.
void PlatformMaskFloatingPointExceptions();

// Pixels of the current context's back buffer (what has been drawn since the last swap), top
// row first, 0xAARRGGBB; false when no context is current.
bool PlatformGLReadBackBuffer(int32_t& width, int32_t& height, std::vector<uint32_t>& pixels);
// Pixels of the window's client area as last presented (after the last swap), top row first,
// 0xAARRGGBB; a window without OpenGL presents black. False for an unknown window.
bool PlatformWindowReadPixels(platformWindow window, int32_t& width, int32_t& height,
                              std::vector<uint32_t>& pixels);

// ---------------------------------------------------------------------------------------------
// Monitors and video modes

struct platformDisplayMode {
  int32_t width = 0;
  int32_t height = 0;
  int32_t bitsPerPixel = 0;
  int32_t refreshRate = 0;
};

// Result codes of a mode change, numbered as ChangeDisplaySettingsEx numbers them.
constexpr int32_t PLATFORM_DISP_CHANGE_SUCCESSFUL = 0;
constexpr int32_t PLATFORM_DISP_CHANGE_RESTART = 1;
constexpr int32_t PLATFORM_DISP_CHANGE_FAILED = -1;
constexpr int32_t PLATFORM_DISP_CHANGE_BADMODE = -2;
constexpr int32_t PLATFORM_DISP_CHANGE_NOTUPDATED = -3;
constexpr int32_t PLATFORM_DISP_CHANGE_BADFLAGS = -4;
constexpr int32_t PLATFORM_DISP_CHANGE_BADPARAM = -5;

// Monitors in the system's order, counted when the video part starts.
int32_t PlatformMonitorCount();
// The monitor's rectangle on the desktop, in its current mode; all zero when out of range.
platformRect PlatformMonitorRect(int32_t monitor);
bool PlatformMonitorIsPrimary(int32_t monitor);
// The display device of the monitor (EnumDisplayDevices); false when there is none.
bool PlatformMonitorDeviceName(int32_t monitor, std::string& name);
// Mode number `modeNumber` (0-based) of the monitor's device; false past the last one.
bool PlatformMonitorEnumMode(int32_t monitor, int32_t modeNumber, platformDisplayMode& mode);
// Switches the monitor to the mode temporarily (fullscreen); a PLATFORM_DISP_CHANGE_ code.
// When the desktop mode changes, every window's handler gets PLATFORM_EVENT_DISPLAY_CHANGE
// before this returns (the system sends its notice during the change, not through the pump).
int32_t PlatformMonitorApplyMode(int32_t monitor, int32_t modeNumber,
                                 const platformDisplayMode& mode);
// Returns every monitor to its desktop settings; a PLATFORM_DISP_CHANGE_ code. Notifies the
// windows as PlatformMonitorApplyMode does.
int32_t PlatformMonitorsRestoreDesktop();

// Stops the video part: destroys every window and context. The next video call starts it again
// (and reads the headless choice afresh).
void PlatformVideoShutdown();

// ---------------------------------------------------------------------------------------------
// Headless controls (for tests and "-headless" runs; ignored by real backends where noted)

struct platformVirtualMonitor {
  platformRect rect;
  bool primary = false;
  std::string deviceName;
  std::vector<platformDisplayMode> modes;  // in enumeration order; the index is the mode number
};

struct platformModeChange {
  int32_t monitor = -1;  // -1: back to the desktop settings
  int32_t modeNumber = -1;
  platformDisplayMode mode;
  int32_t result = 0;
};

// One primary 1920 x 1080 monitor at (0, 0) with 640x480, 800x600, 1024x768, 1280x720,
// 1280x1024 and 1920x1080, each at 16 and 32 bits and 60 and 75 Hz.
std::vector<platformVirtualMonitor> PlatformHeadlessDefaultMonitors();
// Replaces the virtual monitors (headless only); also forgets applied modes and recorded
// changes. Takes effect at once; fwkGraphics reads monitors when it starts.
void PlatformHeadlessSetMonitors(const std::vector<platformVirtualMonitor>& monitors);
// Every mode change and desktop restore in call order, with the result it gave.
const std::vector<platformModeChange>& PlatformHeadlessModeChanges();
void PlatformHeadlessClearModeChanges();
// The result the next mode changes and restores give (default successful).
void PlatformHeadlessSetModeChangeResult(int32_t result);
// Queues a window event (close, activate, deactivate, minimise, restore, display change)
// that the next PlatformPumpMessages delivers like a real one, with the state changes it
// implies (minimised, active).
void PlatformHeadlessInjectWindowEvent(platformWindow window, platformWindowEventKind kind);
// Overrides the hardware-acceleration answer of the pixel formats: 1 accelerated,
// 0 software, -1 (default) the real renderer's answer.
void PlatformHeadlessSetAccelerated(int32_t accelerated);
