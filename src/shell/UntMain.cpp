#include "shell/UntMain.h"

#include "audio/fwkAudio.h"
#include "graphics/fwkGraphics.h"
#include "input/fwkInput.h"
#include "platform/platform.h"
#include "services/fwkDataFile.h"
#include "services/fwkLog.h"
#include "services/fwkState.h"
#include "services/fwkUtilities.h"
#include "shell/GameEntry.h"
#include "shell/LauncherOutline.h"

TmainForm* mainForm = nullptr;

namespace {

constexpr int32_t kFatalErrorState = 3;
constexpr uint32_t kKeepAwakeInterval = 10000;
constexpr uint32_t kBackgroundRest = 50;

std::string applicationTitle;
mainPassHook passHook = nullptr;

// The application's message hook: every keyboard and mouse message goes to the input module.
constexpr uint32_t kVkF11 = 0x7A;
constexpr intptr_t kKeyRepeatBit = intptr_t{1} << 30;

// Alt+Enter (a system key: Alt is held) and F11, not their auto-repeat.
bool FullscreenKey(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  if ((lParam & kKeyRepeatBit) != 0) return false;
  return (message == PLATFORM_WM_SYSKEYDOWN && wParam == PLATFORM_VK_RETURN) ||
         ((message == PLATFORM_WM_KEYDOWN || message == PLATFORM_WM_SYSKEYDOWN) &&
          wParam == kVkF11);
}

void MainOnMessage(platformWindow window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  if (FullscreenKey(message, wParam, lParam)) GameFullscreenKey();
  InputMessage(window, message, wParam, lParam);
}

}  // namespace

TmainForm::TmainForm() {
  platformWindowParams params;
  params.caption = "Sanguor";
  params.width = kLauncherWidth;
  params.height = kLauncherHeight;
  params.border = PLATFORM_BORDER_NONE;
  params.shaped = true;
  handle_ = PlatformWindowCreate(params);
  if (handle_ != 0) PlatformWindowSetHandler(handle_, OnWindowEvent, this);
  LauncherCreateComponents();
}

TmainForm::~TmainForm() {
  while (!displays.empty()) {
    TrenderForm* form = displays.back().form;
    displays.pop_back();
    delete form;
  }
  DestroyWindow();
}

std::string TmainForm::Caption() const {
  return handle_ != 0 ? PlatformWindowCaption(handle_) : std::string("Sanguor");
}

void TmainForm::DestroyWindow() {
  if (handle_ == 0) return;
  PlatformWindowDestroy(handle_);
  handle_ = 0;
}

void TmainForm::Close() {
  if (handle_ == 0) return;
  // Closing the main window ends the application unless the close handler says otherwise.
  closeAction action = caFree;
  MainFormClose(action);
  if (action == caHide) PlatformWindowHide(handle_);
  if (action == caFree) DestroyWindow();
}

void TmainForm::OnWindowEvent(platformWindow, const platformWindowEvent& event, void* context) {
  auto* form = static_cast<TmainForm*>(context);
  switch (event.kind) {
    case PLATFORM_EVENT_CLOSE: form->Close(); break;
    case PLATFORM_EVENT_MOUSE_MOVE:
    case PLATFORM_EVENT_MOUSE_UP:
      form->MainInterfaceMouseMove(event.buttons, event.x, event.y);
      break;
    case PLATFORM_EVENT_DISPLAY_CHANGE: form->MainOnDisplayChange(); break;
    default: break;
  }
}

void TmainForm::OnAppEvent(platformAppEventKind kind, void* context) {
  auto* form = static_cast<TmainForm*>(context);
  switch (kind) {
    case PLATFORM_APP_ACTIVATE: form->MainAppActivate(); break;
    case PLATFORM_APP_DEACTIVATE: form->MainAppDeactivate(); break;
    case PLATFORM_APP_RESTORE: form->MainAppRestore(); break;
  }
}

void TmainForm::MainFormCreate() {
  firstActivate = true;
  applicationTitle = Caption();
  displays.clear();
  gameRunning = false;
  appPaused = false;
  stateWasPaused = false;
  closeRequested = false;
  keyboardHookDropped = false;
  gameDir = UtilAppFolder();
  keepAwakeTick = 0;
  if (!PlatformSetCurrentFolder(gameDir))
    LogError("Unable to set game directory \"" + gameDir + "\" as current directory.");
  MainInterfaceDrawRegions();
  // The Play button takes the Install button's place, above it.
  imgPlay.top = imgInstall.top;
  std::erase(zOrder, &imgPlay);
  zOrder.insert(zOrder.begin(), &imgPlay);
  MainInterfaceUpdateButtons();
  MainInterfaceAddPointer();
  MainGameStart();
}

void TmainForm::MainGameStart() {
  const std::string title = MainApplicationTitle();
  if (!UtilLibraryExists(PlatformGLLibraryName())) {
    PlatformMessageBox("OpenGL is not currently installed on your system.  " + title +
                           " requires OpenGL to display graphics.",
                       title, kPlatformBoxOk | kPlatformBoxIconInformation);
    return;
  }
  if (!GraphicsHardwareAccelerated(handle_)) {
    const std::string text =
        "Your system does not have hardware acceleration for OpenGL.  " + title +
        " can be run but at reduced performance levels.\r\n\r\n"
        "You may be able to correct this by updating your video drivers from your "
        "vendor's website.\r\n\r\nWould you like to run " +
        title + " anyway?";
    if (PlatformMessageBox(text, title, kPlatformBoxYesNo | kPlatformBoxIconQuestion) ==
        kPlatformAnswerNo)
      return;
  }
  if (!GameInit()) return;
  gameStarted = true;
  gameRunning = true;
  InputKeyboardHookOn();
  InputMouseHookOn();
  PlatformAppSetHandler(OnAppEvent, this);
  PlatformInputSetMessageHandler(MainOnMessage);
  loopDone = false;
  everActive = false;
  while (!loopDone) {
    if (passHook != nullptr) passHook();
    if (PlatformAppIsMinimized()) {
      MainAppPause();
      // A close while minimised (the session ending) still ends the game.
      if (closeRequested) {
        closeRequested = false;
        loopDone = true;
      }
    } else {
      if (PlatformAppIsActive()) {
        everActive = true;
        MainAppResume();
        MainKeyboardHookRestore();
        MainKeepAwake();
      } else {
        MainAppPause();
      }
      if (closeRequested) {
        closeRequested = false;
        loopDone = true;
      } else {
        loopDone = !GameRun();
      }
    }
    // Streamed sounds are fed between passes; their queues hold more than a late pass.
    AudioUpdate();
    // Paused in the background, the loop rests until the system has something for it.
    if (appPaused && !loopDone) PlatformWaitForEvents(kBackgroundRest);
    const bool keyboardHooked = InputKeyboardHookInstalled();
    MainFormProcessMessages();
    keyboardHookDropped = keyboardHooked && !InputKeyboardHookInstalled();
    PlatformLoopPass();
  }
  GameCleanup();
  if (StateGet() == kFatalErrorState) {
    PlatformMessageBox(
        "A fatal error has occurred.  Please consult the file " + LogFileName() + " for details.",
        title, kPlatformBoxOk | kPlatformBoxIconInformation);
  }
  PlatformAppSetHandler(nullptr, nullptr);
  PlatformInputSetMessageHandler(nullptr);
  gameRunning = false;
  Close();
}

void TmainForm::MainAppPause() {
  if (!gameRunning || appPaused) return;
  stateWasPaused = StateIsPaused();
  AudioPausePlaying();
  StateTimerPause();
  InputKeyboardHookOff();
  if (GraphicsIsFullscreen() && everActive) GameMinimize();
  MainDisplayShowMouse(true);
  appPaused = true;
}

void TmainForm::MainAppResume() {
  if (!gameRunning || !appPaused) return;
  if (GraphicsIsFullscreen()) GraphicsDisplayLost();
  InputKeyboardHookOn();
  if (!stateWasPaused) {
    AudioResumePaused();
    StateTimerResume();
  }
  MainDisplayShowMouse(false);
  appPaused = false;
}

void TmainForm::MainKeepAwake() {
  if (!PlatformAppIsActive()) return;
  // Measured as a 32-bit difference, so the pulse keeps its rhythm across the wrap of the
  // tick counter.
  const uint32_t now = PlatformTickCount();
  if (now - keepAwakeTick > kKeepAwakeInterval) {
    PlatformKeepAwakePulse();
    keepAwakeTick = now;
  }
}

// The hook takes itself off at Alt+Tab so that the switch goes ahead; when the application is
// still active a pass later, no switch happened (a tiling window manager, a cancelled switch)
// and nothing else would put it back.
void TmainForm::MainKeyboardHookRestore() {
  if (keyboardHookDropped && !appPaused) InputKeyboardHookOn();
  keyboardHookDropped = false;
}

void TmainForm::MainFormClose(closeAction& action) {
  if (gameRunning) {
    // A close while the game runs only asks for the end; a repeated one changes nothing
    // while the loop still runs.
    closeRequested = true;
    action = caNone;
    return;
  }
  windowRegion.clear();
  action = caFree;
}

void TmainForm::MainAppAskToClose() {
  if (PlatformAppIsMinimized()) PlatformAppRestore();
  closeRequested = true;
}

void TmainForm::MainOnDisplayChange() {
  if (gameRunning) GraphicsDisplayLost();
}

void TmainForm::MainAppActivate() {}
void TmainForm::MainAppDeactivate() {}
void TmainForm::MainAppRestore() {}

void TmainForm::MainFormProcessMessages() { PlatformPumpMessages(); }

void TmainForm::MainInterfaceClickPlay() { MainGameStart(); }

void TmainForm::MainInterfaceClickExit() { Close(); }

std::string MainApplicationTitle() { return applicationTitle; }

void MainSetPassHook(mainPassHook hook) { passHook = hook; }

int MainApplicationRun() {
  applicationTitle = "Sanguor";
  mainForm = new TmainForm();
  mainForm->MainFormCreate();
  const bool started = mainForm->gameStarted;
  if (!mainForm->Closed()) {
    if (PlatformHeadless()) {
      // Nobody can close the launcher of a headless run.
      mainForm->Close();
    } else {
      PlatformWindowShow(mainForm->Handle());
    }
  }
  while (!mainForm->Closed()) {
    mainForm->MainFormProcessMessages();
    PlatformWindowPaintPicture(mainForm->Handle());
    PlatformSleep(10);
  }
  delete mainForm;
  mainForm = nullptr;
  if (!started) return kExitNotStarted;
  return StateGet() == kFatalErrorState ? kExitFatalError : kExitGameEnded;
}

int32_t MainGetPrimaryMonitorId() {
  return mainForm != nullptr ? mainForm->MainGetPrimaryMonitorId() : 0;
}

int32_t MainThreadDisplayAdd(int32_t monitor, const std::string& name, bool createContext) {
  return mainForm != nullptr ? mainForm->MainThreadDisplayAdd(monitor, name, createContext) : -1;
}

void MainThreadDisplayClose(int32_t id) {
  if (mainForm != nullptr) mainForm->MainThreadDisplayClose(id);
}

void MainThreadDisplayResize(int32_t id, int32_t width, int32_t height) {
  if (mainForm != nullptr) mainForm->MainThreadDisplayResize(id, width, height);
}

void MainThreadDisplaySetFullscreen(bool on) {
  if (mainForm != nullptr) mainForm->MainThreadDisplaySetFullscreen(on);
}

void MainThreadMinimize() {
  if (mainForm != nullptr) mainForm->MainThreadMinimize();
}

void MainDisplayShowMouse(bool show) {
  if (mainForm != nullptr) mainForm->MainDisplayShowMouse(show);
}

std::string MainThreadDisplayScreenshot() {
  return mainForm != nullptr ? mainForm->MainThreadDisplayScreenshot() : std::string();
}

void MainAppAskToClose() {
  if (mainForm != nullptr) mainForm->MainAppAskToClose();
}
