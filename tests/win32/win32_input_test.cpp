// The Windows input part with real windows, real posted messages and real system input, all
// delivered by PlatformPumpMessages.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "platform/platform.h"
#include "platform/win32/input/win32_input_parts.h"
#include "platform/win32/win32_input.h"

namespace {

struct message {
  platformWindow window;
  uint32_t number;
  uintptr_t wParam;
  intptr_t lParam;
};

struct keyHookCall {
  uint32_t message;
  platformKeyboardHookEvent event;
};

std::vector<message> delivered;
std::vector<keyHookCall> newerCalls;
std::vector<keyHookCall> olderCalls;
std::vector<std::pair<uint32_t, uint32_t>> legacyCalls;
std::vector<std::pair<uint32_t, platformMouseHookEvent>> mouseCalls;
platformHook newer = 0;
platformHook older = 0;
platformHook legacy = 0;
platformHook mouse = 0;
uint32_t swallowKey = 0;

void Record(platformWindow window, uint32_t number, uintptr_t wParam, intptr_t lParam) {
  delivered.push_back({window, number, wParam, lParam});
}

intptr_t Newer(int32_t, uint32_t message, const platformKeyboardHookEvent& event) {
  newerCalls.push_back({message, event});
  if (event.virtualKey == swallowKey) return 1;
  return PlatformHookCallNext(newer);
}

intptr_t Older(int32_t, uint32_t message, const platformKeyboardHookEvent& event) {
  olderCalls.push_back({message, event});
  return PlatformHookCallNext(older);
}

intptr_t Legacy(int32_t, uint32_t virtualKey, uint32_t flags) {
  legacyCalls.emplace_back(virtualKey, flags);
  return PlatformHookCallNext(legacy);
}

intptr_t Mouse(int32_t, uint32_t message, const platformMouseHookEvent& event) {
  mouseCalls.emplace_back(message, event);
  return PlatformHookCallNext(mouse);
}

void Pump() {
  for (int i = 0; i < 5; ++i) {
    PlatformPumpMessages();
    Sleep(5);
  }
}

std::vector<uint32_t> KeysDelivered() {
  std::vector<uint32_t> keys;
  for (const message& m : delivered) {
    if (m.number >= PLATFORM_WM_KEYDOWN && m.number <= PLATFORM_WM_SYSKEYUP)
      keys.push_back(static_cast<uint32_t>(m.wParam));
  }
  return keys;
}

class Win32Input : public ::testing::Test {
 protected:
  void SetUp() override {
    delivered.clear();
    newerCalls.clear();
    olderCalls.clear();
    legacyCalls.clear();
    mouseCalls.clear();
    swallowKey = 0;
    PlatformSetHeadless(headless);
    platformWindowParams params;
    params.caption = "input";
    params.x = 40;
    params.y = 30;
    params.width = 200;
    params.height = 150;
    params.border = PLATFORM_BORDER_NONE;
    window = PlatformWindowCreate(params);
    ASSERT_NE(window, 0u);
    PlatformWindowShow(window);
    PlatformInputSetMessageHandler(Record);
    Pump();
    delivered.clear();
  }

  void TearDown() override {
    for (platformHook* hook : {&newer, &older, &legacy, &mouse}) {
      if (*hook != 0) PlatformHookRemove(*hook);
      *hook = 0;
    }
    PlatformHookSetRefused(PLATFORM_HOOK_KEYBOARD_LL, false);
    PlatformInputSetMessageHandler(nullptr);
    PlatformWindowDestroy(window);
    Pump();
    PlatformSetHeadless(false);
  }

  void InstallKeyHooks() {
    older = PlatformKeyboardHookInstall(Older);
    newer = PlatformKeyboardHookInstall(Newer);
    ASSERT_NE(older, 0);
    ASSERT_NE(newer, 0);
  }

  void Tap(uint32_t virtualKey, bool extended = false) {
    ASSERT_TRUE(PlatformInputInjectKey(virtualKey, extended, true));
    ASSERT_TRUE(PlatformInputInjectKey(virtualKey, extended, false));
  }

  bool headless = true;
  platformWindow window = 0;
};

class Win32InputDesktop : public Win32Input {
 protected:
  void SetUp() override {
    headless = false;
    Win32Input::SetUp();
    HWND hwnd = reinterpret_cast<HWND>(window);
    SetForegroundWindow(hwnd);
    SetFocus(hwnd);
    Pump();
    delivered.clear();
  }
};

TEST_F(Win32Input, InjectedKeysRunTheChainNewestFirstThenReachTheWindowShape) {
  InstallKeyHooks();
  Tap(PLATFORM_VK_LSHIFT);
  Tap('A');
  Pump();
  ASSERT_EQ(newerCalls.size(), 4u);
  ASSERT_EQ(olderCalls.size(), 4u);
  EXPECT_EQ(newerCalls[0].event.virtualKey, PLATFORM_VK_LSHIFT);
  EXPECT_EQ(newerCalls[0].event.scanCode, 0x2Au);
  EXPECT_EQ(newerCalls[1].event.flags & PLATFORM_LLKHF_UP, PLATFORM_LLKHF_UP);
  EXPECT_EQ(newerCalls[2].message, PLATFORM_WM_KEYDOWN);
  EXPECT_EQ(newerCalls[2].event.scanCode, 0x1Eu);
  // The window hears of the keys as Windows tells windows: VK_SHIFT, with the key flags.
  EXPECT_EQ(KeysDelivered(),
            (std::vector<uint32_t>{PLATFORM_VK_SHIFT, PLATFORM_VK_SHIFT, 'A', 'A'}));
  EXPECT_EQ(delivered[2].lParam & 0x00FF0000, 0x1E << 16);
  EXPECT_EQ(static_cast<uint32_t>(delivered[3].lParam) & (PLATFORM_KF_UP | PLATFORM_KF_REPEAT),
            PLATFORM_KF_UP | PLATFORM_KF_REPEAT);
}

TEST_F(Win32Input, ASwallowedKeyReachesNeitherOlderHooksNorTheWindow) {
  InstallKeyHooks();
  swallowKey = 'Q';
  Tap('Q');
  Tap(PLATFORM_VK_RETURN, true);
  Pump();
  EXPECT_EQ(newerCalls.size(), 4u);
  ASSERT_EQ(olderCalls.size(), 2u);
  EXPECT_EQ(olderCalls[0].event.flags & PLATFORM_LLKHF_EXTENDED, PLATFORM_LLKHF_EXTENDED);
  EXPECT_EQ(KeysDelivered(), (std::vector<uint32_t>{PLATFORM_VK_RETURN, PLATFORM_VK_RETURN}));
}

TEST_F(Win32Input, AltMakesSystemKeysAndARepeatedKeyIsMarked) {
  InstallKeyHooks();
  ASSERT_TRUE(PlatformInputInjectKey(PLATFORM_VK_LMENU, false, true));
  ASSERT_TRUE(PlatformInputInjectKey(PLATFORM_VK_TAB, false, true));
  ASSERT_TRUE(PlatformInputInjectKey(PLATFORM_VK_TAB, false, true));
  ASSERT_TRUE(PlatformInputInjectKey(PLATFORM_VK_TAB, false, false));
  ASSERT_TRUE(PlatformInputInjectKey(PLATFORM_VK_LMENU, false, false));
  Pump();
  ASSERT_EQ(newerCalls.size(), 5u);
  EXPECT_EQ(newerCalls[1].message, PLATFORM_WM_SYSKEYDOWN);
  EXPECT_EQ(newerCalls[1].event.flags & PLATFORM_LLKHF_ALTDOWN, PLATFORM_LLKHF_ALTDOWN);
  EXPECT_EQ(newerCalls[4].message, PLATFORM_WM_KEYUP);  // Alt's own release
  ASSERT_EQ(delivered.size(), 5u);
  EXPECT_EQ(delivered[1].lParam & PLATFORM_KF_REPEAT, 0);
  EXPECT_EQ(delivered[2].lParam & PLATFORM_KF_REPEAT, PLATFORM_KF_REPEAT);
}

TEST_F(Win32Input, UnknownKeysAndButtonsAreRefused) {
  EXPECT_FALSE(PlatformInputInjectKey(PLATFORM_VK_LWIN, false, true));  // only the E0 form exists
  EXPECT_FALSE(PlatformInputInjectKey(0xFF, false, true));
  EXPECT_FALSE(PlatformInputInjectMouseButton(window, 0, true, 1, 1));
  EXPECT_FALSE(PlatformInputInjectMouseButton(window, 6, true, 1, 1));
  Pump();
  EXPECT_TRUE(delivered.empty());
}

TEST_F(Win32Input, ARefusedLowLevelHookLeavesTheOlderKindToTheKeyMessages) {
  PlatformHookSetRefused(PLATFORM_HOOK_KEYBOARD_LL, true);
  EXPECT_EQ(PlatformKeyboardHookInstall(Newer), 0);
  legacy = PlatformKeyboardLegacyHookInstall(Legacy);
  ASSERT_NE(legacy, 0);
  Tap(PLATFORM_VK_RCONTROL, true);
  Pump();
  ASSERT_EQ(legacyCalls.size(), 2u);
  EXPECT_EQ(legacyCalls[0].first, PLATFORM_VK_CONTROL);
  EXPECT_EQ(legacyCalls[0].second & PLATFORM_KF_EXTENDED, PLATFORM_KF_EXTENDED);
  EXPECT_EQ(legacyCalls[1].second & PLATFORM_KF_UP, PLATFORM_KF_UP);
}

TEST_F(Win32Input, KeyMessagesPostedToTheWindowRunTheChainWithTheSideOfTheKey) {
  InstallKeyHooks();
  HWND hwnd = reinterpret_cast<HWND>(window);
  // Right Control: VK_CONTROL with the extended flag; Right Shift: VK_SHIFT with scan code 0x36.
  PostMessageA(hwnd, WM_KEYDOWN, VK_CONTROL, (0x1D << 16) | (1 << 24) | 1);
  PostMessageA(hwnd, WM_KEYDOWN, VK_SHIFT, (0x36 << 16) | 1);
  Pump();
  ASSERT_EQ(newerCalls.size(), 2u);
  EXPECT_EQ(newerCalls[0].event.virtualKey, PLATFORM_VK_RCONTROL);
  EXPECT_EQ(newerCalls[1].event.virtualKey, PLATFORM_VK_RSHIFT);
  ASSERT_EQ(delivered.size(), 2u);
  EXPECT_EQ(delivered[0].window, window);
  EXPECT_EQ(delivered[1].wParam, PLATFORM_VK_SHIFT);
}

TEST_F(Win32Input, AltF4IsLeftToTheSystemAndADoubleClickIsAPress) {
  HWND hwnd = reinterpret_cast<HWND>(window);
  const LPARAM altDown = (0x38 << 16) | (1 << 29) | 1;
  EXPECT_TRUE(Win32InputWindowMessage(hwnd, WM_SYSKEYDOWN, VK_MENU, altDown));
  EXPECT_FALSE(Win32InputWindowMessage(hwnd, WM_SYSKEYDOWN, VK_F4, (0x3E << 16) | (1 << 29) | 1));
  EXPECT_TRUE(Win32InputWindowMessage(hwnd, WM_SYSCHAR, 'x', altDown));
  PostMessageA(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, static_cast<LPARAM>(PlatformMakeLong(3, 4)));
  Pump();
  ASSERT_EQ(delivered.size(), 3u);
  EXPECT_EQ(delivered[1].wParam, PLATFORM_VK_F1 + 3);
  EXPECT_EQ(delivered[2].number, PLATFORM_WM_LBUTTONDOWN);
  EXPECT_EQ(static_cast<uint32_t>(delivered[2].lParam), PlatformMakeLong(3, 4));
}

TEST_F(Win32Input, InjectedMouseMessagesCarryClientPointsAndWheelsScreenPoints) {
  mouse = PlatformMouseHookInstall(Mouse);
  ASSERT_NE(mouse, 0);
  ASSERT_TRUE(PlatformInputInjectMouseMove(window, 10, 20));
  ASSERT_TRUE(PlatformInputInjectMouseButton(window, 5, true, 12, 22));
  ASSERT_TRUE(PlatformInputInjectMouseWheel(window, 0, -2));
  ASSERT_TRUE(PlatformInputInjectMouseButton(window, 5, false, 12, 22));
  Pump();
  POINT origin{0, 0};
  ClientToScreen(reinterpret_cast<HWND>(window), &origin);
  ASSERT_EQ(mouseCalls.size(), 4u);
  EXPECT_EQ(mouseCalls[0].second.x, origin.x + 10);
  EXPECT_EQ(mouseCalls[0].second.y, origin.y + 20);
  EXPECT_EQ(mouseCalls[1].second.mouseData, PLATFORM_XBUTTON2 << 16);
  ASSERT_EQ(delivered.size(), 4u);
  EXPECT_EQ(delivered[0].number, PLATFORM_WM_MOUSEMOVE);
  EXPECT_EQ(delivered[0].window, window);
  EXPECT_EQ(static_cast<uint32_t>(delivered[0].lParam), PlatformMakeLong(10, 20));
  EXPECT_EQ(delivered[1].wParam, PlatformMakeLong(PLATFORM_MK_XBUTTON2, PLATFORM_XBUTTON2));
  EXPECT_EQ(delivered[2].number, PLATFORM_WM_MOUSEWHEEL);
  EXPECT_EQ(static_cast<int16_t>(PlatformHighWord(delivered[2].wParam)), -2 * PLATFORM_WHEEL_DELTA);
  EXPECT_EQ(static_cast<uint32_t>(delivered[2].lParam),
            PlatformMakeLong(origin.x + 12, origin.y + 22));
  EXPECT_EQ(PlatformLowWord(delivered[3].wParam), 0u);
}

TEST_F(Win32Input, ASwallowedMouseMessageNeverReachesTheWindow) {
  mouse = PlatformMouseHookInstall(
      [](int32_t, uint32_t message, const platformMouseHookEvent&) -> intptr_t {
        return message == PLATFORM_WM_LBUTTONDOWN ? 1 : PlatformHookCallNext(mouse);
      });
  ASSERT_TRUE(PlatformInputInjectMouseButton(window, 1, true, 5, 5));
  ASSERT_TRUE(PlatformInputInjectMouseButton(window, 1, false, 5, 5));
  ASSERT_TRUE(PlatformInputInjectMouseMove(window, 500, 5));  // outside the client area
  Pump();
  ASSERT_EQ(delivered.size(), 1u);
  EXPECT_EQ(delivered[0].number, PLATFORM_WM_LBUTTONUP);
}

TEST_F(Win32Input, HeadlessRunsAnswerFromTheirOverrides) {
  PlatformHeadlessSetForegroundWindow(window);
  EXPECT_EQ(PlatformForegroundWindow(), window);
  PlatformHeadlessSetForegroundWindow(0);
  EXPECT_EQ(PlatformForegroundWindow(), 0u);
  ASSERT_TRUE(PlatformCursorSetPosition(-5, 7000));
  int32_t x = 0;
  int32_t y = 0;
  ASSERT_TRUE(PlatformCursorPosition(x, y));
  EXPECT_EQ(x, -5);
  EXPECT_EQ(y, 7000);
  PlatformSetMouseMetrics(true, false, true);
  EXPECT_TRUE(PlatformMouseButtonsSwapped());
  EXPECT_FALSE(PlatformMouseWheelPresent());
  EXPECT_TRUE(PlatformMouseHorizontalWheelPresent());
}

TEST_F(Win32InputDesktop, DeviceKeysPassTheHooksOnceAndReachTheWindow) {
  InstallKeyHooks();
  legacy = PlatformKeyboardLegacyHookInstall(Legacy);
  INPUT inputs[2] = {};
  for (INPUT& input : inputs) {
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = 'B';
    input.ki.wScan = 0x30;
  }
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ASSERT_EQ(SendInput(2, inputs, sizeof(INPUT)), 2u);
  Pump();
  ASSERT_EQ(newerCalls.size(), 2u);
  EXPECT_EQ(olderCalls.size(), 2u);
  EXPECT_EQ(newerCalls[0].event.virtualKey, static_cast<uint32_t>('B'));
  EXPECT_EQ(newerCalls[0].event.flags & PLATFORM_LLKHF_INJECTED, PLATFORM_LLKHF_INJECTED);
  EXPECT_EQ(legacyCalls.size(), 2u);
  EXPECT_EQ(KeysDelivered(), (std::vector<uint32_t>{'B', 'B'}));
  // A key the program injects itself never passes the system hook: still once.
  Tap('C');
  Pump();
  EXPECT_EQ(newerCalls.size(), 4u);
  EXPECT_EQ(KeysDelivered().size(), 4u);
}

TEST_F(Win32InputDesktop, ASwallowedDeviceKeyNeverReachesTheWindow) {
  InstallKeyHooks();
  swallowKey = 'D';
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = 'D';
  ASSERT_EQ(SendInput(1, &input, sizeof(INPUT)), 1u);
  input.ki.dwFlags = KEYEVENTF_KEYUP;
  ASSERT_EQ(SendInput(1, &input, sizeof(INPUT)), 1u);
  Pump();
  EXPECT_EQ(newerCalls.size(), 2u);
  EXPECT_TRUE(olderCalls.empty());
  EXPECT_TRUE(KeysDelivered().empty());
}

void SendKey(WORD virtualKey) {
  INPUT inputs[2] = {};
  for (INPUT& input : inputs) {
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
  }
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ASSERT_EQ(SendInput(2, inputs, sizeof(INPUT)), 2u);
}

// Windows removes a low-level hook that timed out without telling the program, which Wine never
// does: the backend's seam removes it the same way.
TEST_F(Win32InputDesktop, AHookTheSystemRemovedIsNoticedAndInstalledAgain) {
  InstallKeyHooks();
  ASSERT_TRUE(Win32SystemHookActive(PLATFORM_HOOK_KEYBOARD_LL));
  Win32SystemHookDropSilently(PLATFORM_HOOK_KEYBOARD_LL);
  // Windows drops a hook after it timed out, never in the millisecond it was installed.
  Sleep(20);
  SendKey('E');
  Pump();
  // The keys reached the window without the hook: they run the chain there, once each.
  ASSERT_EQ(newerCalls.size(), 2u);
  EXPECT_EQ(newerCalls[0].event.virtualKey, static_cast<uint32_t>('E'));
  EXPECT_EQ(newerCalls[0].event.flags & PLATFORM_LLKHF_INJECTED, 0u)
      << "seen at the window, not by the hook";
  EXPECT_EQ(KeysDelivered(), (std::vector<uint32_t>{'E', 'E'}));
  EXPECT_TRUE(Win32SystemHookActive(PLATFORM_HOOK_KEYBOARD_LL));
  // The next keys pass the new system hook again, still once each.
  SendKey('F');
  Pump();
  ASSERT_EQ(newerCalls.size(), 4u);
  EXPECT_EQ(newerCalls[2].event.flags & PLATFORM_LLKHF_INJECTED, PLATFORM_LLKHF_INJECTED);
  EXPECT_EQ(KeysDelivered().size(), 4u);
}

// Every pump pass tells the hooks whether the program is active; here the pass's answer is given
// through the backend's seam, between passes.
TEST_F(Win32InputDesktop, TheSystemMouseHookIsHeldOnlyWhileTheProgramIsActive) {
  mouse = PlatformMouseHookInstall(Mouse);
  ASSERT_NE(mouse, 0);
  Pump();
  ASSERT_TRUE(PlatformAppIsActive());
  EXPECT_TRUE(Win32SystemHookActive(PLATFORM_HOOK_MOUSE_LL));
  Win32SystemHooksFollowActivity(false);
  EXPECT_FALSE(Win32SystemHookActive(PLATFORM_HOOK_MOUSE_LL));
  // Meanwhile a press on the window still runs the program's chain, from the message.
  PostMessageA(reinterpret_cast<HWND>(window), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 4));
  PlatformPumpMessages();
  EXPECT_EQ(mouseCalls.size(), 1u);
  // The pass found the program active again and took the hook back.
  EXPECT_TRUE(Win32SystemHookActive(PLATFORM_HOOK_MOUSE_LL));
  PlatformHookRemove(mouse);
  mouse = 0;
  EXPECT_FALSE(Win32SystemHookActive(PLATFORM_HOOK_MOUSE_LL));
  Win32SystemHooksFollowActivity(false);
  Win32SystemHooksFollowActivity(true);
  EXPECT_FALSE(Win32SystemHookActive(PLATFORM_HOOK_MOUSE_LL))
      << "no hook without the program's hooks";
}

TEST_F(Win32InputDesktop, TheCursorAndTheForegroundWindowAreTheSystemsOwn) {
  ASSERT_TRUE(PlatformCursorSetPosition(123, 77));
  int32_t x = 0;
  int32_t y = 0;
  ASSERT_TRUE(PlatformCursorPosition(x, y));
  EXPECT_EQ(x, 123);
  EXPECT_EQ(y, 77);
  EXPECT_EQ(PlatformForegroundWindow(), window);
  PlatformSetMouseMetrics(false, true, false);
  EXPECT_TRUE(PlatformMouseWheelPresent());
}

}  // namespace
