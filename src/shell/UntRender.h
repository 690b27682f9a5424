// The render window: a plain black window that OpenGL draws into, one per display, placed on a
// chosen monitor either as a bordered window of a given client size or borderless over the
// whole monitor.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform_video.h"

// What a window does once its close has been allowed.
enum closeAction : int32_t { caNone = 0, caHide = 1, caFree = 2 };

class TrenderForm {
 public:
  // Creates the window (hidden) at the main window's centre and runs RenderFormCreate.
  TrenderForm();
  ~TrenderForm();
  TrenderForm(const TrenderForm&) = delete;
  TrenderForm& operator=(const TrenderForm&) = delete;

  int32_t monitor = 0;
  int32_t displayId = -1;
  int32_t windowedWidth = 0;
  int32_t windowedHeight = 0;

  platformWindow Handle() const { return handle_; }
  void Show();
  // Asks the window to close as the system's close command does; true when it closed and
  // freed itself (the object is deleted then).
  bool Close();

  void RenderFormCreate();
  void RenderFormActivate();
  void RenderFormCloseQuery(bool& canClose);
  void RenderFormClose(closeAction& action);
  void RenderFormSetDisplayId(int32_t id);
  void RenderFormSetMonitor(int32_t m);
  void RenderFormSetResolution(bool fullscreen, int32_t w, int32_t h);
  void RenderFormSetFullscreen();
  void RenderFormSetWindowed();

 private:
  static void OnWindowEvent(platformWindow window, const platformWindowEvent& event, void* context);
  platformWindow handle_ = 0;
};
