// The display operations of the main window: render windows for displays, their size and
// fullscreen state, the mouse cursor over them, the primary monitor and screenshots.
#include "graphics/fwkGraphics.h"
#include "input/fwkInput.h"
#include "platform/platform.h"
#include "shell/Screenshot.h"
#include "shell/UntMain.h"

#include <algorithm>

int32_t TmainForm::MainThreadDisplayAdd(int32_t monitor, const std::string& name,
                                        bool createContext) {
  displays.push_back({-1, nullptr});
  auto* form = new TrenderForm();
  displays.back().form = form;
  form->Show();
  form->RenderFormSetMonitor(monitor);
  if (GraphicsIsFullscreen()) form->RenderFormSetFullscreen();
  const int32_t id = GraphicsDisplayAdd(form->Handle(), name, form->monitor);
  for (mainDisplayEntry& entry : displays)
    if (entry.form == form) entry.displayId = id;
  form->RenderFormSetDisplayId(id);
  if (id != -1 && createContext) GraphicsDisplayCreateRC(id);
  return id;
}

void TmainForm::MainThreadDisplayClose(int32_t id) {
  GraphicsDisplayClose(id);
  std::vector<TrenderForm*> closing;
  for (const mainDisplayEntry& entry : displays)
    if (entry.displayId == id) closing.push_back(entry.form);
  for (TrenderForm* form : closing) {
    // The close query allows it now, since the id no longer names a display.
    if (!form->Close()) {
      RenderFormFreed(form);
      delete form;
    }
  }
}

void TmainForm::MainThreadDisplayResize(int32_t id, int32_t width, int32_t height) {
  for (const mainDisplayEntry& entry : displays)
    if (entry.displayId == id) entry.form->RenderFormSetResolution(false, width, height);
}

void TmainForm::MainThreadDisplaySetFullscreen(bool on) {
  for (const mainDisplayEntry& entry : displays) {
    if (on)
      entry.form->RenderFormSetFullscreen();
    else
      entry.form->RenderFormSetWindowed();
    GraphicsDisplaySetWindow(entry.displayId, entry.form->Handle());
    InputPointerWindowSetHandle(entry.displayId, entry.form->Handle());
  }
}

void TmainForm::MainThreadMinimize() { PlatformAppMinimize(); }

void TmainForm::MainDisplayShowMouse(bool show) {
  for (const mainDisplayEntry& entry : displays)
    PlatformWindowSetCursorVisible(entry.form->Handle(), show);
}

int32_t TmainForm::MainGetPrimaryMonitorId() const {
  const int32_t count = PlatformMonitorCount();
  for (int32_t monitor = 0; monitor < count; ++monitor)
    if (PlatformMonitorIsPrimary(monitor)) return monitor;
  return 0;
}

std::string TmainForm::MainThreadDisplayScreenshot() {
  std::vector<screenshotPart> parts;
  for (const mainDisplayEntry& entry : displays) {
    screenshotPart part;
    if (!PlatformWindowReadPixels(entry.form->Handle(), part.width, part.height, part.pixels))
      continue;
    parts.push_back(std::move(part));
  }
  return ScreenshotSave(parts);
}

void TmainForm::RenderFormFreed(TrenderForm* form) {
  std::erase_if(displays, [form](const mainDisplayEntry& entry) { return entry.form == form; });
}
