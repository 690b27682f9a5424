// The keyboard and mouse hooks and the mouse messages, fed with SDL-shaped events through the
// platform's input translation.
#include "input_fixture.h"
#include "platform/platform.h"
#include "platform/sdl/sdl_input.h"

namespace {

struct message {
  platformWindow window;
  uint32_t number;
  uintptr_t wParam;
  intptr_t lParam;
};
std::vector<message> delivered;

void Record(platformWindow window, uint32_t number, uintptr_t wParam, intptr_t lParam) {
  delivered.push_back({window, number, wParam, lParam});
}

// The shell's message hook: every message goes to the input module.
void ShellHook(platformWindow window, uint32_t number, uintptr_t wParam, intptr_t lParam) {
  Record(window, number, wParam, lParam);
  InputMessage(window, number, wParam, lParam);
}

bool fullscreen = false;
platformWindow currentWindow = 0;
bool IsFullscreen() { return fullscreen; }
platformWindow CurrentWindow() { return currentWindow; }

using pairs = std::vector<std::pair<int32_t, int32_t>>;

class Hooks : public InputTest {
 protected:
  void SetUp() override {
    InputTest::SetUp();
    delivered.clear();
    fullscreen = false;
    currentWindow = 0;
    InputSetDisplayQueries(IsFullscreen, CurrentWindow);
    PlatformInputSetMessageHandler(ShellHook);
    game = InputControlSetNew("Game", true);
    InputControlSetActivate(game);
    InputKeyboardHookOn();
    InputMouseHookOn();
  }

  void Tap(SDL_Scancode key, Uint16 mod = KMOD_NONE) {
    SdlInputHandleEvent(KeyEvent(key, true, mod));
    SdlInputHandleEvent(KeyEvent(key, false, mod));
  }

  int32_t game = 0;
};

TEST_F(Hooks, AHeldKeyGivesOnePressAndOneRelease) {
  SdlInputHandleEvent(KeyEvent(SDL_SCANCODE_E, true));
  for (int i = 0; i < 30; ++i) SdlInputHandleEvent(KeyEvent(SDL_SCANCODE_E, true, KMOD_NONE, true));
  SdlInputHandleEvent(KeyEvent(SDL_SCANCODE_E, false));
  EXPECT_EQ(TakeControls(game), (pairs{{32, 100}, {32, 0}}));
  EXPECT_EQ(delivered.size(), 32u);  // the window still sees every repeat
  EXPECT_EQ(delivered[1].lParam & PLATFORM_KF_REPEAT, PLATFORM_KF_REPEAT);
  EXPECT_EQ(delivered[0].lParam & PLATFORM_KF_REPEAT, 0);
}

TEST_F(Hooks, PrintScreenIsPassedOnAndNeverPosted) {
  Tap(SDL_SCANCODE_PRINTSCREEN);
  EXPECT_TRUE(TakeControls(game).empty());
  ASSERT_EQ(delivered.size(), 2u);
  EXPECT_EQ(delivered[0].wParam, PLATFORM_VK_SNAPSHOT);
}

TEST_F(Hooks, WindowsKeysAreSwallowedOnlyInFullScreen) {
  Tap(SDL_SCANCODE_LGUI);
  Tap(SDL_SCANCODE_RGUI);
  EXPECT_EQ(delivered.size(), 4u);
  fullscreen = true;
  Tap(SDL_SCANCODE_LGUI);
  Tap(SDL_SCANCODE_RGUI);
  EXPECT_EQ(delivered.size(), 4u);
  EXPECT_TRUE(TakeControls(game).empty());
  Tap(SDL_SCANCODE_A);  // other keys still reach the window in full screen
  EXPECT_EQ(delivered.size(), 6u);
}

TEST_F(Hooks, AltTabRemovesTheKeyboardHookUntilItIsPutBack) {
  SdlInputHandleEvent(KeyEvent(SDL_SCANCODE_LALT, true, KMOD_LALT));
  SdlInputHandleEvent(KeyEvent(SDL_SCANCODE_TAB, true, KMOD_LALT));
  EXPECT_FALSE(InputKeyboardHookInstalled());
  EXPECT_TRUE(InputMouseHookInstalled());
  ASSERT_EQ(delivered.size(), 2u);  // the switch itself goes through
  EXPECT_EQ(delivered[1].number, PLATFORM_WM_SYSKEYDOWN);
  EXPECT_EQ(delivered[1].wParam, PLATFORM_VK_TAB);
  SdlInputHandleEvent(KeyEvent(SDL_SCANCODE_TAB, false, KMOD_LALT));
  SdlInputHandleEvent(KeyEvent(SDL_SCANCODE_LALT, false));
  Tap(SDL_SCANCODE_E);
  EXPECT_EQ(TakeControls(game), (pairs{{12, 100}}));
  InputKeyboardHookOn();
  Tap(SDL_SCANCODE_E);
  EXPECT_EQ(TakeControls(game), (pairs{{32, 100}, {32, 0}}));
  // Tab alone is an ordinary key.
  Tap(SDL_SCANCODE_TAB);
  EXPECT_TRUE(InputKeyboardHookInstalled());
  EXPECT_EQ(TakeControls(game), (pairs{{106, 100}, {106, 0}}));
}

TEST_F(Hooks, KeysWithoutControlsAndKeysWithoutAnActiveSetPostNothing) {
  Tap(SDL_SCANCODE_NONUSBACKSLASH);
  Tap(SDL_SCANCODE_VOLUMEUP);
  EXPECT_TRUE(TakeControls(game).empty());
  InputInit();  // no set active
  PlatformInputSetMessageHandler(ShellHook);
  InputKeyboardHookOn();
  Tap(SDL_SCANCODE_A);
  SdlInputHandleEvent(MotionEvent(0, 5, 5));
  SdlInputHandleEvent(ButtonEvent(0, SDL_BUTTON_LEFT, true, 5, 5));
  EXPECT_TRUE(TakeControls(InputControlSetFind("Menu Controls")).empty());
}

TEST_F(Hooks, HooksAreInstalledOnceAndRemovedOnce) {
  InputKeyboardHookOn();
  InputMouseHookOn();
  Tap(SDL_SCANCODE_A);
  EXPECT_EQ(TakeControls(game), (pairs{{11, 100}, {11, 0}}));
  InputKeyboardHookOff();
  InputKeyboardHookOff();
  InputMouseHookOff();
  InputMouseHookOff();
  Tap(SDL_SCANCODE_A);
  EXPECT_TRUE(TakeControls(game).empty());
  EXPECT_EQ(delivered.size(), 4u);
}

TEST_F(Hooks, TheOlderKeyboardHookStandsInWhenTheLowLevelOneIsRefused) {
  InputKeyboardHookOff();
  PlatformHookSetRefused(PLATFORM_HOOK_KEYBOARD_LL, true);
  InputKeyboardHookOn();
  ASSERT_TRUE(InputKeyboardHookInstalled());
  SdlInputHandleEvent(KeyEvent(SDL_SCANCODE_RSHIFT, true, KMOD_RSHIFT));
  SdlInputHandleEvent(KeyEvent(SDL_SCANCODE_RSHIFT, true, KMOD_RSHIFT, true));
  SdlInputHandleEvent(KeyEvent(SDL_SCANCODE_RSHIFT, false));
  Tap(SDL_SCANCODE_RCTRL);
  Tap(SDL_SCANCODE_KP_ENTER);
  Tap(SDL_SCANCODE_PRINTSCREEN);
  Tap(SDL_SCANCODE_LGUI);
  EXPECT_EQ(TakeControls(game),
            (pairs{{102, 100}, {102, 0}, {28, 100}, {28, 0}, {83, 100}, {83, 0}}));
  // A Tab held down does not unhook; Alt+Tab does.
  SdlInputHandleEvent(KeyEvent(SDL_SCANCODE_TAB, true));
  SdlInputHandleEvent(KeyEvent(SDL_SCANCODE_TAB, true, KMOD_NONE, true));
  SdlInputHandleEvent(KeyEvent(SDL_SCANCODE_TAB, false));
  EXPECT_TRUE(InputKeyboardHookInstalled());
  SdlInputHandleEvent(KeyEvent(SDL_SCANCODE_TAB, true, KMOD_LALT));
  EXPECT_FALSE(InputKeyboardHookInstalled());
  EXPECT_EQ(TakeControls(game), (pairs{{106, 100}, {106, 0}}));
}

TEST_F(Hooks, RefusedHooksAreLoggedAndTriedAgainNextTime) {
  InputKeyboardHookOff();
  InputMouseHookOff();
  PlatformHookSetRefused(PLATFORM_HOOK_KEYBOARD_LL, true);
  PlatformHookSetRefused(PLATFORM_HOOK_KEYBOARD, true);
  PlatformHookSetRefused(PLATFORM_HOOK_MOUSE_LL, true);
  InputKeyboardHookOn();
  InputMouseHookOn();
  EXPECT_FALSE(InputKeyboardHookInstalled());
  EXPECT_FALSE(InputMouseHookInstalled());
  const std::string log = LogText();
  EXPECT_NE(
      log.find("Error: InputKeyboardHookOn - Unable to hook keyboard.  Operation not permitted"),
      std::string::npos)
      << log;
  EXPECT_NE(log.find("Error: InputMouseHookOn - Unable to hook mouse.  Operation not permitted"),
            std::string::npos);
  // Mouse messages still arrive through the shell.
  SdlInputHandleEvent(ButtonEvent(0, SDL_BUTTON_LEFT, true, 1, 1));
  EXPECT_EQ(TakeControls(game), (pairs{{114, 100}}));
  PlatformHookSetRefused(PLATFORM_HOOK_KEYBOARD_LL, false);
  InputKeyboardHookOn();
  EXPECT_TRUE(InputKeyboardHookInstalled());
}

TEST_F(Hooks, MouseMovementAccumulatesFromTheLastPosition) {
  SdlInputHandleEvent(MotionEvent(0, 10, 20));  // the first move starts from (-1, -1)
  EXPECT_EQ(TakeControls(game), (pairs{{121, 1100}, {119, 2100}}));
  SdlInputHandleEvent(MotionEvent(0, 7, 20));
  EXPECT_EQ(TakeControls(game), (pairs{{120, 300}}));
  EXPECT_EQ(InputControlValue(game, 120), 300);
  SdlInputHandleEvent(MotionEvent(0, 4, 18));
  SdlInputHandleEvent(MotionEvent(0, 4, 18));  // no change, nothing posted
  EXPECT_EQ(TakeControls(game), (pairs{{120, 300}, {126, 200}}));
  EXPECT_EQ(InputControlValue(game, 120), 600);
  EXPECT_EQ(InputControlValue(game, 126), 200);
  EXPECT_EQ(InputControlValue(game, 121), 1100);
  ASSERT_EQ(delivered.back().number, PLATFORM_WM_MOUSEMOVE);
  EXPECT_EQ(delivered.back().lParam, static_cast<intptr_t>((18 << 16) | 4));
}

TEST_F(Hooks, ButtonsAndWheelsPostTheirControls) {
  const Uint8 buttons[] = {SDL_BUTTON_LEFT, SDL_BUTTON_RIGHT, SDL_BUTTON_MIDDLE, SDL_BUTTON_X1,
                           SDL_BUTTON_X2};
  for (Uint8 button : buttons) {
    SdlInputHandleEvent(ButtonEvent(0, button, true, 3, 4));
    SdlInputHandleEvent(ButtonEvent(0, button, false, 3, 4));
  }
  SdlInputHandleEvent(WheelEvent(0, 0, 1));
  SdlInputHandleEvent(WheelEvent(0, 0, -2));
  SdlInputHandleEvent(WheelEvent(0, 1, 0));
  SdlInputHandleEvent(WheelEvent(0, -1, 0));
  EXPECT_EQ(TakeControls(game), (pairs{{114, 100},
                                       {114, 0},
                                       {116, 100},
                                       {116, 0},
                                       {115, 100},
                                       {115, 0},
                                       {117, 100},
                                       {117, 0},
                                       {118, 100},
                                       {118, 0},
                                       {125, 100},
                                       {124, 100},
                                       {123, 100},
                                       {122, 100}}));
  // The messages as Windows builds them.
  EXPECT_EQ(delivered[0].number, PLATFORM_WM_LBUTTONDOWN);
  EXPECT_EQ(delivered[0].wParam, PLATFORM_MK_LBUTTON);
  EXPECT_EQ(delivered[0].lParam, static_cast<intptr_t>((4 << 16) | 3));
  EXPECT_EQ(delivered[1].wParam, 0u);
  EXPECT_EQ(delivered[6].number, PLATFORM_WM_XBUTTONDOWN);
  EXPECT_EQ(delivered[6].wParam, (PLATFORM_XBUTTON1 << 16) | PLATFORM_MK_XBUTTON1);
  EXPECT_EQ(delivered[8].wParam, (PLATFORM_XBUTTON2 << 16) | PLATFORM_MK_XBUTTON2);
  EXPECT_EQ(delivered[10].number, PLATFORM_WM_MOUSEWHEEL);
  EXPECT_EQ(delivered[10].wParam, 120u << 16);
  EXPECT_EQ(delivered[11].wParam, static_cast<uint32_t>(0x10000 - 240) << 16);
  EXPECT_EQ(delivered[12].number, PLATFORM_WM_MOUSEHWHEEL);
  EXPECT_EQ(InputControlValue(game, 124), 100);  // one message, one notch's worth
}

TEST_F(Hooks, MovesOutsideTheClientAreaReachNoWindow) {
  platformWindowParams params;
  params.width = 100;
  params.height = 80;
  const platformWindow window = PlatformWindowCreate(params);
  ASSERT_NE(window, 0u);
  const Uint32 id = static_cast<Uint32>(window);
  SdlInputHandleEvent(MotionEvent(id, 99, 79));
  SdlInputHandleEvent(MotionEvent(id, -3, 10));  // dragged past the edge with a button held
  SdlInputHandleEvent(MotionEvent(id, 100, 10));
  SdlInputHandleEvent(MotionEvent(id, 10, 80));
  SdlInputHandleEvent(ButtonEvent(id, SDL_BUTTON_LEFT, false, -3, 10));  // releases always arrive
  ASSERT_EQ(delivered.size(), 2u);
  EXPECT_EQ(delivered[0].lParam, static_cast<intptr_t>((79 << 16) | 99));
  EXPECT_EQ(delivered[1].number, PLATFORM_WM_LBUTTONUP);
  EXPECT_EQ(InputControlValue(game, 120), 0);
  PlatformWindowDestroy(window);
}

TEST_F(Hooks, MessagesTheInputModuleDoesNotKnowAreIgnored) {
  InputMessage(0, 0x0203, 0, 0);  // a double click
  InputMessage(0, PLATFORM_WM_KEYDOWN, 'A', 0);
  InputMessage(0, PLATFORM_WM_XBUTTONDOWN, 3 << 16, 0);
  EXPECT_TRUE(TakeControls(game).empty());
}

TEST_F(Hooks, InFullScreenTheCursorStaysInTheCurrentWindow) {
  platformWindowParams params;
  params.width = 320;
  params.height = 200;
  params.x = 100;
  params.y = 50;
  const platformWindow window = PlatformWindowCreate(params);
  ASSERT_NE(window, 0u);
  PlatformWindowShow(window);
  PlatformHeadlessSetForegroundWindow(window);
  currentWindow = window;
  const platformPoint corner = PlatformWindowPosition(window);
  const platformMouseHookEvent inside{corner.x + 5, corner.y + 5, 0, 0, 0};
  const platformMouseHookEvent outside{corner.x - 30, corner.y + 400, 0, 0, 0};
  EXPECT_EQ(InputMouseHookProc(PLATFORM_HC_ACTION, PLATFORM_WM_MOUSEMOVE, outside), 0);  // windowed
  fullscreen = true;
  EXPECT_EQ(InputMouseHookProc(PLATFORM_HC_ACTION, PLATFORM_WM_MOUSEMOVE, inside), 0);
  EXPECT_EQ(InputMouseHookProc(PLATFORM_HC_ACTION, PLATFORM_WM_MOUSEMOVE, outside), 1);
  int32_t x = 0;
  int32_t y = 0;
  ASSERT_TRUE(PlatformCursorPosition(x, y));
  EXPECT_EQ(x, corner.x);
  EXPECT_EQ(y, corner.y + 199);
  EXPECT_EQ(InputMouseHookProc(PLATFORM_HC_ACTION, PLATFORM_WM_LBUTTONDOWN, outside), 0);
  // Through the platform: the motion past the left edge puts the cursor back on it.
  PlatformCursorSetPosition(0, 0);
  SdlInputHandleEvent(MotionEvent(static_cast<Uint32>(window), -40, 10));
  ASSERT_TRUE(PlatformCursorPosition(x, y));
  EXPECT_EQ(x, corner.x);
  // Only the foreground window holds the cursor, and only while it is not minimised.
  PlatformHeadlessSetForegroundWindow(0);
  EXPECT_EQ(InputMouseHookProc(PLATFORM_HC_ACTION, PLATFORM_WM_MOUSEMOVE, outside), 0);
  PlatformHeadlessSetForegroundWindow(window);
  PlatformWindowMinimize(window);
  EXPECT_EQ(InputMouseHookProc(PLATFORM_HC_ACTION, PLATFORM_WM_MOUSEMOVE, outside), 0);
  PlatformHeadlessSetForegroundWindow(0);
  PlatformWindowDestroy(window);
}

}  // namespace
