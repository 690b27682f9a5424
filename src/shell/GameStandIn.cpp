// A stand-in for the game until the game module exists: it has the game's shape (display mode
// from the "Video" settings, the "Primary" display, the play and exit states, the clean-up that
// saves the mode and closes the display) and draws a quad that crosses the screen during a few
// seconds of play time, then ends.
//
// Every function the shell takes from the game lives in this one file, so a program that
// brings its own game entry points (the shell's tests do) never links this one.
#include "graphics/GL.h"
#include "graphics/fwkGraphics.h"
#include "platform/platform.h"
#include "services/fwkIni.h"
#include "services/fwkLog.h"
#include "services/fwkState.h"
#include "services/fwkUtilities.h"
#include "shell/GameEntry.h"
#include "shell/UntMain.h"

namespace {

constexpr int32_t kStatePlay = 4;
constexpr int32_t kStateExit = 6;
constexpr int32_t kStateFatal = 3;
constexpr uint32_t kPlayTime = 4000;

int32_t display = -1;
int32_t sleepTime = 0;

void GameSetFullscreen(bool on) {
    GraphicsSetChanging(true);
    GraphicsDisplaysFreeRC();
    GraphicsSetFullscreen(on);
    MainThreadDisplaySetFullscreen(on);
    GraphicsDisplaysCreateRC();
    GraphicsSetChanging(false);
}

void DrawFrame(uint32_t time) {
    GraphicsRenderBegin(display);
    gl.ClearColor(0.05f, 0.02f, 0.12f, 1.0f);
    gl.Clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    GraphicsSet2D(1280, 720);
    gl.Disable(GL_TEXTURE_2D);
    const float x = 100.0f + 980.0f * static_cast<float>(time % kPlayTime) / kPlayTime;
    gl.Begin(GL_QUADS);
    gl.Color4ub(200, 16, 32, 255);
    gl.Vertex3f(x, 260.0f, -5.0f);
    gl.Vertex3f(x, 460.0f, -5.0f);
    gl.Vertex3f(x + 200.0f, 460.0f, -5.0f);
    gl.Vertex3f(x + 200.0f, 260.0f, -5.0f);
    gl.End();
    GraphicsRenderEnd(display);
}

void PlayUpdate() {
    const uint32_t time = StateTime(kStatePlay);
    if (time > kPlayTime) {
        StateSet(kStateExit);
        return;
    }
    DrawFrame(time);
}

void ExitUpdate() {
    StateSet(0);
}

}  // namespace

bool GameInit() {
    LogMemory("GameInit - Start");
    const int32_t monitor = MainGetPrimaryMonitorId();
    graphicsMode mode = GraphicsMonitorFindMode(monitor, IniReadInteger("Video", "Width", 1280),
                                                IniReadInteger("Video", "Height", 720),
                                                IniReadInteger("Video", "BPP", 32));
    if (mode.width == 0) mode = GraphicsMonitorFindMode(monitor, 800, 600, 32);
    if (mode.width == 0) {
        LogError("GameInit - Unable to find suitable display mode.");
        return false;
    }
    display = MainThreadDisplayAdd(monitor, "Primary", true);
    if (display == -1) {
        LogError("GameInit - Unable to add \"Primary\" display.");
        return false;
    }
    MainThreadDisplayResize(display, mode.width, mode.height);
    GraphicsDisplaySetMode(display, mode);
    if (GraphicsIsFullscreen() || IniReadBool("Video", "Fullscreen", false)) GameSetFullscreen(true);
    sleepTime = UtilCommandLineValue("-sleep", 0);
    GraphicsSetCullMode(1);
    StateSetUpdateHandler(kStatePlay, PlayUpdate);
    StateSetSaveName(kStatePlay, "Game");
    StateSetUpdateHandler(kStateExit, ExitUpdate);
    StateSet(kStatePlay);
    LogMemory("GameInit - End");
    return true;
}

bool GameRun() {
    const int32_t state = StateGet();
    if (state == kStateExit || state == kStateFatal) return false;
    if (GraphicsDisplayLostTake()) GameSetFullscreen(GraphicsIsFullscreen());
    StateRun();
    PlatformSleep(static_cast<uint32_t>(std::max(0, sleepTime)));
    return true;
}

void GameCleanup() {
    LogMemory("GameCleanup - Start");
    const graphicsMode mode = GraphicsDisplayMode(display, GraphicsDisplayModeIndex(display));
    IniWriteInteger("Video", "Width", mode.width);
    IniWriteInteger("Video", "Height", mode.height);
    IniWriteInteger("Video", "BPP", mode.bitsPerPixel);
    IniWriteBool("Video", "Fullscreen", GraphicsIsFullscreen());
    MainThreadDisplayClose(display);
    display = -1;
    LogMemory("GameCleanup - End");
}

// The stand-in draws the same picture every run: there is nothing to seed.
void GameSeed(uint32_t) {}

void GameMinimize() {
    if (!GraphicsIsFullscreen()) return;
    GraphicsSetChanging(true);
    GraphicsMonitorsRestoreDesktop();
    GraphicsSetChanging(false);
    MainThreadMinimize();
}
