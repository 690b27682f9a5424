// Injected input of the Windows backend travels through the message pump, the input module's
// keyboard hook and the shell-style message hook into the actions of a set like the game's.
#include <gtest/gtest.h>

#include <filesystem>
#include <utility>
#include <vector>

#include "input/fwkInput.h"
#include "platform/platform.h"
#include "services/fwkIni.h"
#include "services/fwkLog.h"
#include "services/fwkUtilities.h"

namespace {

using pairs = std::vector<std::pair<int32_t, int32_t>>;

void ShellMessageHook(platformWindow window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  InputMessage(window, message, wParam, lParam);
}

pairs TakeActions(int32_t set) {
  inputBuffer buffer;
  InputActionEventsTake(set, buffer);
  pairs taken;
  for (const inputEvent& event : buffer.events)
    taken.emplace_back(InputActionName(event.identifier) == "Bite" ? 1 : 2, event.value);
  return taken;
}

class Win32InputModule : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::filesystem::path root =
        std::filesystem::current_path() / "win32-input-sandbox" /
        testing::UnitTest::GetInstance()->current_test_info()->name();
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root / "app");
    PlatformSetArguments({"-userdatainapp"});
    PlatformSetExecutablePath((root / "app" / "sanguor.exe").string());
    PlatformSetHeadless(true);
    PlatformClockSetVirtual(true, 50000);
    UtilInit();
    LogInit();
    IniInit();
    InputInit();
    platformWindowParams params;
    params.caption = "Primary";
    window = PlatformWindowCreate(params);
    ASSERT_NE(window, 0u) << PlatformLastVideoError();
    PlatformWindowShow(window);
    PlatformHeadlessSetForegroundWindow(window);
    InputPointerWindowAdd(1, window);
    PlatformInputSetMessageHandler(ShellMessageHook);
    game = InputControlSetNew("Game", true);
    InputActionBind(InputActionNew(game, "Bite"), 32, 100);   // E
    InputActionBind(InputActionNew(game, "Grab"), 114, 100);  // left mouse button
    InputControlSetActivate(game);
    InputKeyboardHookOn();
    InputMouseHookOn();
    PlatformPumpMessages();
    TakeActions(game);
  }

  void TearDown() override {
    PlatformInputSetMessageHandler(nullptr);
    PlatformWindowDestroy(window);
    PlatformPumpMessages();
    InputFinal();
    PlatformHeadlessSetForegroundWindow(0);
  }

  platformWindow window = 0;
  int32_t game = 0;
};

TEST_F(Win32InputModule, AnInjectedKeyHeldDownBecomesOnePressAndOneRelease) {
  ASSERT_TRUE(InputKeyboardHookInstalled());
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(PlatformInputInjectKey('E', false, true));
  ASSERT_TRUE(PlatformInputInjectKey('E', false, false));
  PlatformPumpMessages();
  EXPECT_EQ(TakeActions(game), (pairs{{1, 100}, {1, 0}}));
}

TEST_F(Win32InputModule, AnInjectedClickBecomesAnAction) {
  ASSERT_TRUE(PlatformInputInjectMouseButton(window, 1, true, 30, 40));
  ASSERT_TRUE(PlatformInputInjectMouseButton(window, 1, false, 30, 40));
  PlatformPumpMessages();
  EXPECT_EQ(TakeActions(game), (pairs{{2, 100}, {2, 0}}));
}

TEST_F(Win32InputModule, AltTabRemovesTheKeyboardHookUntilItIsPutBack) {
  ASSERT_TRUE(PlatformInputInjectKey(PLATFORM_VK_LMENU, false, true));
  ASSERT_TRUE(PlatformInputInjectKey(PLATFORM_VK_TAB, false, true));
  ASSERT_TRUE(PlatformInputInjectKey(PLATFORM_VK_TAB, false, false));
  ASSERT_TRUE(PlatformInputInjectKey(PLATFORM_VK_LMENU, false, false));
  ASSERT_TRUE(PlatformInputInjectKey('E', false, true));
  PlatformPumpMessages();
  EXPECT_FALSE(InputKeyboardHookInstalled());
  EXPECT_TRUE(TakeActions(game).empty());
  InputKeyboardHookOn();
  ASSERT_TRUE(PlatformInputInjectKey('E', false, false));
  ASSERT_TRUE(PlatformInputInjectKey('E', false, true));
  PlatformPumpMessages();
  EXPECT_EQ(TakeActions(game), (pairs{{1, 0}, {1, 100}}));
}

}  // namespace
