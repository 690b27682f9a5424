#include <float.h>

#include "platform/common/video/native_video.h"
#include "platform/platform_system.h"
#include "platform/win32/video/win32_video_state.h"

namespace {

win32Painter painter = nullptr;

BOOL CALLBACK CountMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  auto* monitors = reinterpret_cast<std::vector<win32Monitor>*>(data);
  MONITORINFOEXA info{};
  info.cbSize = sizeof(info);
  if (GetMonitorInfoA(monitor, &info)) {
    monitors->push_back({info.szDevice, (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
  }
  return TRUE;
}

bool RegisterWindowClass() {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  // One device context per window, kept for its life: OpenGL draws through it.
  windowClass.style = CS_OWNDC | CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  windowClass.lpfnWndProc = Win32WindowProcedure;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  windowClass.hIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1));
  windowClass.lpszClassName = Win32WindowClassName();
  if (RegisterClassExA(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS) {
    return true;
  }
  Win32SetSystemError("RegisterClassExA");
  return false;
}

}  // namespace

win32VideoState& Win32Video() {
  static win32VideoState state;
  return state;
}

const char* Win32WindowClassName() { return "SanguorWindow"; }

void Win32SetError(const std::string& text, DWORD code) {
  VideoState().lastError = text;
  SetLastError(code);
}

void Win32SetSystemError(const std::string& what) {
  DWORD code = GetLastError();
  std::string text = PlatformErrorText(code);
  Win32SetError(text.empty() ? what + " failed" : text, code);
}

void NativeSetError(const std::string& text) { Win32SetError(text); }

void Win32SetPainter(win32Painter newPainter) { painter = newPainter; }

win32Painter Win32Painter() { return painter; }

bool NativeVideoStart(bool headless, int32_t& realMonitors) {
  win32VideoState& state = Win32Video();
  if (!RegisterWindowClass()) {
    return false;
  }
  state.monitors.clear();
  if (!headless) {
    Win32SessionGuardStart();
    EnumDisplayMonitors(nullptr, nullptr, CountMonitor, reinterpret_cast<LPARAM>(&state.monitors));
  }
  realMonitors = static_cast<int32_t>(state.monitors.size());
  return true;
}

void NativeVideoStop() {
  win32VideoState& state = Win32Video();
  // Messages the destroyed windows left behind must not reach the next start.
  MSG message;
  while (PeekMessageA(&message, nullptr, kWin32InjectedWindowEvent, kWin32InjectedWindowEvent,
                      PM_REMOVE)) {
  }
  if (state.glLibrary != nullptr) {
    FreeLibrary(state.glLibrary);
  }
  state = win32VideoState{};
}

std::string PlatformGLLibraryName() { return "opengl32.dll"; }

bool PlatformGLLoadLibrary(const std::string& name) {
  win32VideoState& state = Win32Video();
  if (!VideoStart()) {
    return false;
  }
  if (state.glLibrary != nullptr) {
    return true;
  }
  state.glLibrary = LoadLibraryA(name.c_str());
  if (state.glLibrary == nullptr) {
    Win32SetSystemError("LoadLibraryA");
    return false;
  }
  return true;
}

void* PlatformGLGetProcAddress(const std::string& name) {
  if (!PlatformGLLoadLibrary(PlatformGLLibraryName())) {
    return nullptr;
  }
  // The context's driver hands out extension functions; the library itself exports the
  // OpenGL 1.1 ones, which the driver may not return (some drivers answer 1, 2, 3 or -1).
  PROC address = wglGetProcAddress(name.c_str());
  auto value = reinterpret_cast<intptr_t>(address);
  if (value >= -1 && value <= 3) {
    address = GetProcAddress(Win32Video().glLibrary, name.c_str());
  }
  return reinterpret_cast<void*>(address);
}

void PlatformMaskFloatingPointExceptions() {
  _controlfp(_MCW_EM, _MCW_EM);
  _controlfp(_RC_NEAR, _MCW_RC);
#if defined(__i386__) || defined(__x86_64__)
  // The x87 control word the framework's drivers expect: every exception masked, 64-bit
  // extended precision, round to nearest. The precision cannot be set through _controlfp on
  // 64-bit Windows.
  uint16_t controlWord = 0x133F;
  __asm__ volatile("fldcw %0" : : "m"(controlWord));
#endif
}
