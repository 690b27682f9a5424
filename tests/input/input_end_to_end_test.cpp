// Real SDL events pushed into SDL's queue travel through the platform's message pump, the
// keyboard hook and the shell-style message hook into a set like the game's.
#include <SDL.h>

#include <tuple>

#include "input_fixture.h"
#include "platform/platform.h"

namespace {

void ShellMessageHook(platformWindow window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  InputMessage(window, message, wParam, lParam);
}

class EndToEnd : public InputTest {
 protected:
  void SetUp() override {
    InputTest::SetUp();
    platformWindowParams params;
    params.caption = "Primary";
    params.width = 640;
    params.height = 360;
    window = PlatformWindowCreate(params);
    ASSERT_NE(window, 0u) << PlatformLastVideoError();
    PlatformWindowShow(window);
    InputPointerWindowAdd(1, window);
    PlatformInputSetMessageHandler(ShellMessageHook);
    game = InputControlSetNew("Game", true);
    const std::pair<const char*, ControlCode> actions[] = {
        {"Bite", 32}, {"Down", 98}, {"Left", 11}, {"Power", 95}, {"Right", 29}, {"Start", 104}};
    for (const auto& [name, code] : actions) InputActionBind(InputActionNew(game, name), code, 100);
    InputControlSetActivate(game);
    InputKeyboardHookOn();
    InputMouseHookOn();
    PlatformPumpMessages();  // whatever the window's creation queued
    TakeControls(game);
  }

  void TearDown() override {
    PlatformWindowDestroy(window);
    InputTest::TearDown();
  }

  void Push(SDL_Event event) {
    // Each SDL event type keeps the window in the same place of its record.
    if (event.type == SDL_KEYDOWN || event.type == SDL_KEYUP)
      event.key.windowID = static_cast<Uint32>(window);
    ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
  }

  platformWindow window = 0;
  int32_t game = 0;
};

TEST_F(EndToEnd, AKeyPressBecomesAGameActionEvent) {
  Push(KeyEvent(SDL_SCANCODE_E, true));
  Push(KeyEvent(SDL_SCANCODE_E, true, KMOD_NONE, true));
  Push(KeyEvent(SDL_SCANCODE_E, true, KMOD_NONE, true));
  Push(KeyEvent(SDL_SCANCODE_E, false));
  Push(KeyEvent(SDL_SCANCODE_D, true));
  PlatformPumpMessages();
  const int32_t bite = InputActionFind(game, "Bite");
  const int32_t right = InputActionFind(game, "Right");
  EXPECT_EQ(TakeActions(game),
            (std::vector<std::pair<int32_t, int32_t>>{{bite, 100}, {bite, 0}, {right, 100}}));
  EXPECT_EQ(InputActionValue(right), 100);
  EXPECT_EQ(InputActionValue(bite), 0);
}

TEST_F(EndToEnd, NothingIsPostedWhileTheHookIsOff) {
  InputKeyboardHookOff();  // the application was paused
  Push(KeyEvent(SDL_SCANCODE_SPACE, true));
  PlatformPumpMessages();
  EXPECT_TRUE(TakeActions(game).empty());
  InputKeyboardHookOn();
  Push(KeyEvent(SDL_SCANCODE_SPACE, false));
  PlatformPumpMessages();
  EXPECT_EQ(TakeActions(game),
            (std::vector<std::pair<int32_t, int32_t>>{{InputActionFind(game, "Start"), 0}}));
}

TEST_F(EndToEnd, MouseEventsArriveAsWindowMessages) {
  Push(MotionEvent(static_cast<Uint32>(window), 100, 50));
  Push(MotionEvent(static_cast<Uint32>(window), 97, 50));
  Push(ButtonEvent(static_cast<Uint32>(window), SDL_BUTTON_RIGHT, true, 97, 50));
  Push(WheelEvent(static_cast<Uint32>(window), 0, -1));
  PlatformPumpMessages();
  EXPECT_EQ(InputControlValue(game, 120), 300);
  EXPECT_EQ(InputControlValue(game, 116), 100);
  EXPECT_EQ(InputControlValue(game, 124), 100);
}

TEST_F(EndToEnd, InjectedInputTakesTheSameRoad) {
  using controlPairs = std::vector<std::pair<int32_t, int32_t>>;
  const std::tuple<uint32_t, bool, ControlCode> keys[] = {
      {PLATFORM_VK_END, false, 73},     {PLATFORM_VK_NUMPAD0 + 1, false, 73},
      {PLATFORM_VK_END, true, 33},      {PLATFORM_VK_RETURN, true, 83},
      {PLATFORM_VK_RSHIFT, false, 102}, {'E', false, 32}};
  for (const auto& [key, extended, code] : keys) {
    ASSERT_TRUE(PlatformInputInjectKey(key, extended, true));
    ASSERT_TRUE(PlatformInputInjectKey(key, extended, true));  // repeats
    ASSERT_TRUE(PlatformInputInjectKey(key, extended, false));
    PlatformPumpMessages();
    EXPECT_EQ(TakeControls(game), (controlPairs{{code, 100}, {code, 0}})) << key;
  }
  EXPECT_FALSE(PlatformInputInjectKey(PLATFORM_VK_NUMPAD0 + 1, true, true));
  EXPECT_FALSE(PlatformInputInjectKey(0xFF, false, true));
  EXPECT_FALSE(PlatformInputInjectMouseButton(window, 6, true, 0, 0));

  ASSERT_TRUE(PlatformInputInjectMouseMove(window, 20, 30));
  ASSERT_TRUE(PlatformInputInjectMouseButton(window, 1, true, 20, 30));
  ASSERT_TRUE(PlatformInputInjectMouseWheel(window, 1, 0));
  PlatformPumpMessages();
  EXPECT_EQ(TakeControls(game), (controlPairs{{121, 2100}, {119, 3100}, {114, 100}, {123, 100}}));

  ASSERT_TRUE(PlatformInputInjectKey(PLATFORM_VK_LMENU, false, true));
  ASSERT_TRUE(PlatformInputInjectKey(PLATFORM_VK_TAB, false, true));
  PlatformPumpMessages();
  EXPECT_FALSE(InputKeyboardHookInstalled());
  ASSERT_TRUE(PlatformInputInjectKey(PLATFORM_VK_TAB, false, false));
  ASSERT_TRUE(PlatformInputInjectKey(PLATFORM_VK_LMENU, false, false));
  PlatformPumpMessages();
  EXPECT_EQ(TakeControls(game), (controlPairs{{12, 100}}));
}

}  // namespace
