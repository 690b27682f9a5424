#include "shell/UntRender.h"

#include "graphics/fwkGraphics.h"
#include "services/fwkLog.h"
#include "shell/UntMain.h"

namespace {
constexpr int32_t kCreateWidth = 512;
constexpr int32_t kCreateHeight = 408;
}  // namespace

TrenderForm::TrenderForm() {
  platformWindowParams params;
  params.caption = "renderForm";
  params.width = kCreateWidth;
  params.height = kCreateHeight;
  params.border = PLATFORM_BORDER_DIALOG;
  // Centred over the main window.
  if (mainForm != nullptr && !mainForm->Closed()) {
    const platformPoint at = PlatformWindowPosition(mainForm->Handle());
    const platformRect size = PlatformWindowClientRect(mainForm->Handle());
    params.x = at.x + (size.width - kCreateWidth) / 2;
    params.y = at.y + (size.height - kCreateHeight) / 2;
  }
  handle_ = PlatformWindowCreate(params);
  if (handle_ != 0) PlatformWindowSetHandler(handle_, OnWindowEvent, this);
  RenderFormCreate();
}

TrenderForm::~TrenderForm() {
  if (handle_ != 0) PlatformWindowDestroy(handle_);
}

void TrenderForm::Show() {
  PlatformWindowShow(handle_);
  // Showing a window activates it.
  PlatformWindowSetForeground(handle_);
  RenderFormActivate();
}

bool TrenderForm::Close() {
  bool canClose = true;
  RenderFormCloseQuery(canClose);
  if (!canClose) return false;
  closeAction action = caHide;
  RenderFormClose(action);
  if (action == caHide) PlatformWindowHide(handle_);
  if (action != caFree) return false;
  if (mainForm != nullptr) mainForm->RenderFormFreed(this);
  delete this;
  return true;
}

void TrenderForm::OnWindowEvent(platformWindow, const platformWindowEvent& event, void* context) {
  auto* form = static_cast<TrenderForm*>(context);
  switch (event.kind) {
    case PLATFORM_EVENT_CLOSE: form->Close(); break;
    case PLATFORM_EVENT_ACTIVATE: form->RenderFormActivate(); break;
    default: break;
  }
}

void TrenderForm::RenderFormCreate() {
  PlatformWindowSetCursorVisible(handle_, false);
  if (mainForm != nullptr) PlatformWindowSetCaption(handle_, mainForm->Caption());
  monitor = ::MainGetPrimaryMonitorId();
  displayId = -1;
  const platformRect client = PlatformWindowClientRect(handle_);
  windowedWidth = client.width;
  windowedHeight = client.height;
}

void TrenderForm::RenderFormActivate() {
  if (mainForm != nullptr && !mainForm->Closed()) PlatformWindowHide(mainForm->Handle());
}

void TrenderForm::RenderFormCloseQuery(bool& canClose) {
  if (GraphicsDisplayExists(displayId)) {
    canClose = false;
    ::MainAppAskToClose();
  }
}

void TrenderForm::RenderFormClose(closeAction& action) { action = caFree; }

void TrenderForm::RenderFormSetDisplayId(int32_t id) {
  if (displayId == -1) displayId = id;
}

void TrenderForm::RenderFormSetMonitor(int32_t m) {
  // A negative index names no monitor either; it gets the same treatment as one too large.
  if (m < 0 || m >= PlatformMonitorCount()) {
    LogError("renderForm.SetMonitor - Invalid monitor ID \"" + std::to_string(m) +
             "\".  Defaulting to primary monitor.");
    m = ::MainGetPrimaryMonitorId();
  }
  monitor = m;
  const platformRect target = PlatformMonitorRect(m);
  const platformRect first = PlatformMonitorRect(0);
  const platformPoint at = PlatformWindowPosition(handle_);
  PlatformWindowSetPosition(handle_, at.x + target.left - first.left,
                            at.y + target.top - first.top);
}

void TrenderForm::RenderFormSetResolution(bool fullscreen, int32_t w, int32_t h) {
  const platformRect area = PlatformMonitorRect(monitor);
  if (fullscreen) {
    PlatformWindowSetPosition(handle_, area.left, area.top);
    PlatformWindowSetClientSize(handle_, w, h);
    PlatformWindowSetBorder(handle_, PLATFORM_BORDER_FULLSCREEN);
  } else {
    PlatformWindowSetBorder(handle_, PLATFORM_BORDER_DIALOG);
    PlatformWindowSetClientSize(handle_, w, h);
    PlatformWindowSetPosition(handle_, (area.width - w) / 2 + area.left,
                              (area.height - h) / 2 + area.top);
  }
  // The fullscreen size is the monitor's: the window gets its own size back when it leaves
  // fullscreen during play.
  if (!fullscreen) {
    windowedWidth = w;
    windowedHeight = h;
  }
}

void TrenderForm::RenderFormSetFullscreen() {
  const platformRect area = PlatformMonitorRect(monitor);
  RenderFormSetResolution(true, area.width, area.height);
}

void TrenderForm::RenderFormSetWindowed() {
  RenderFormSetResolution(false, windowedWidth, windowedHeight);
}
