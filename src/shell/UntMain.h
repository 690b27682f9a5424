// The main window and the program's spine: start-up checks, the cooperative main loop with
// pause, resume and keep-awake, the close protocol, the fatal-error report, the launcher
// appearance and the display operations the game calls.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform_video.h"
#include "shell/UntRender.h"

// Exit codes of the program.
constexpr int kExitGameEnded = 0;
constexpr int kExitNotStarted = 2;
constexpr int kExitFatalError = 3;

// One picture of the launcher: an image, or an image button when it has a picture list.
struct launcherImage {
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
  bool visible = true;
  bool enabled = true;
  int32_t tag = -1;  // index of the list picture shown, -1 for none yet
  std::vector<uint32_t> picture;
};

// The three pictures of one button: 0 inactive, 1 normal, 2 mouse over.
struct launcherImageList {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<std::vector<uint32_t>> pictures;
};

struct mainDisplayEntry {
  int32_t displayId = -1;
  TrenderForm* form = nullptr;
};

class TmainForm {
 public:
  // Creates the window (hidden) and runs its creation handler, which runs the whole game.
  TmainForm();
  ~TmainForm();
  TmainForm(const TmainForm&) = delete;
  TmainForm& operator=(const TmainForm&) = delete;

  // Launcher components, in declaration order.
  launcherImage imgBackground;
  launcherImage imgPlay;
  launcherImageList imgListInstallGame;
  launcherImageList imgListPlayGame;
  launcherImageList imgListCases;
  launcherImageList imgListManual;
  launcherImageList imgListUninstall;
  launcherImageList imgListExit;
  launcherImage imgInstall;
  launcherImage imgCases;
  launcherImage imgManual;
  launcherImage imgUninstall;
  launcherImage imgExit;
  launcherImageList ImageList1;
  // Front to back; "bring to front" moves an image to the start.
  std::vector<launcherImage*> zOrder;

  std::vector<mainDisplayEntry> displays;
  bool firstActivate = false;
  std::string gameDir;
  bool gameRunning = false;
  bool loopDone = false;
  uint32_t keepAwakeTick = 0;
  bool appPaused = false;
  bool stateWasPaused = false;
  // The game's window has had the input focus since the game started: only losing a focus it
  // had minimises a fullscreen game (a window system gives a new fullscreen window the focus
  // some passes after it appears, and one without a window manager never minimises it back).
  bool everActive = false;
  bool closeRequested = false;
  // The keyboard hook took itself off during the last message pump (Alt+Tab).
  bool keyboardHookDropped = false;
  std::vector<platformPoint> windowRegion;

  // Whether GameInit succeeded in this run (decides the exit code).
  bool gameStarted = false;

  platformWindow Handle() const { return handle_; }
  std::string Caption() const;
  // True once the window has closed and freed itself.
  bool Closed() const { return handle_ == 0; }
  // Asks the window to close as the system's close command does.
  void Close();

  void MainFormCreate();
  void MainFormClose(closeAction& action);
  void MainGameStart();
  void MainAppPause();
  void MainAppResume();
  void MainKeepAwake();
  void MainKeyboardHookRestore();
  void MainAppAskToClose();
  void MainOnDisplayChange();
  void MainAppActivate();
  void MainAppDeactivate();
  void MainAppRestore();
  void MainFormProcessMessages();
  void MainInterfaceClickPlay();
  void MainInterfaceClickExit();

  void MainInterfaceDrawRegions();
  void MainInterfaceMouseMove(uint32_t buttons, int32_t x, int32_t y);
  void MainInterfaceUpdateButtons();
  void MainInterfaceAddPointer();
  bool MainInterfaceMouseInImage(int32_t x, int32_t y, const launcherImage& image) const;
  void MainInterfaceSetButtonImage(launcherImage& image, const launcherImageList& list,
                                   int32_t index);

  int32_t MainThreadDisplayAdd(int32_t monitor, const std::string& name, bool createContext);
  void MainThreadDisplayClose(int32_t id);
  void MainThreadDisplayResize(int32_t id, int32_t width, int32_t height);
  void MainThreadDisplaySetFullscreen(bool on);
  void MainThreadMinimize();
  void MainDisplayShowMouse(bool show);
  int32_t MainGetPrimaryMonitorId() const;
  // The path written, or "" when no screenshot was written.
  std::string MainThreadDisplayScreenshot();

  // A render window that freed itself leaves the display list.
  void RenderFormFreed(TrenderForm* form);
  // Composes the visible launcher images and hands the picture to the window.
  void LauncherRepaint();

 private:
  static void OnWindowEvent(platformWindow window, const platformWindowEvent& event, void* context);
  static void OnAppEvent(platformAppEventKind kind, void* context);
  void LauncherCreateComponents();
  void DestroyWindow();
  platformWindow handle_ = 0;
  bool dragging_ = false;
};

// The one main window of the run (nullptr before it is created and after it is freed).
extern TmainForm* mainForm;

// The process entry after the modules have started: application title, the main window (which
// runs the game), then the message loop until the main window is gone. Returns the exit code.
int MainApplicationRun();
// The application title: "Sanguor", then the main window's caption.
std::string MainApplicationTitle();

// Called at the start of every main-loop pass, before anything else the pass does; replays
// and tests feed their input here. nullptr removes it.
using mainPassHook = void (*)();
void MainSetPassHook(mainPassHook hook);

// The display operations the game calls, on the main window.
int32_t MainGetPrimaryMonitorId();
int32_t MainThreadDisplayAdd(int32_t monitor, const std::string& name, bool createContext);
void MainThreadDisplayClose(int32_t id);
void MainThreadDisplayResize(int32_t id, int32_t width, int32_t height);
void MainThreadDisplaySetFullscreen(bool on);
void MainThreadMinimize();
void MainDisplayShowMouse(bool show);
std::string MainThreadDisplayScreenshot();
void MainAppAskToClose();
