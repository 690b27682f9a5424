// The game on a player's desktop: pads through SDL's virtual joysticks and the real event path
// (SDL event, message pump, input module, "Game" set), bindings read back from the settings
// file, and the pointers over the "Primary" window.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "GameLevels.h"
#include "GameTestSupport.h"
#include "graphics/fwkGraphics.h"
#include "input/fwkInput.h"
#include "platform/platform.h"
#include "services/fwkIni.h"
#include "services/fwkState.h"
#include "vmcAsm.h"

namespace {

// A pad as SDL knows game controllers: buttons A, B, X, Y, Back, Guide, Start, the sticks'
// buttons, the shoulders and the d-pad; the two sticks and two triggers.
SDL_Joystick* AttachPad(const char* name) {
  if (SDL_WasInit(SDL_INIT_JOYSTICK) == 0) SDL_InitSubSystem(SDL_INIT_JOYSTICK);
  SDL_VirtualJoystickDesc desc{};
  desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
  desc.naxes = SDL_CONTROLLER_AXIS_MAX;
  desc.nbuttons = SDL_CONTROLLER_BUTTON_DPAD_RIGHT + 1;
  desc.vendor_id = 0x1234;
  desc.product_id = 0x5678;
  desc.name = name;
  const int device = SDL_JoystickAttachVirtualEx(&desc);
  if (device < 0) return nullptr;
  return SDL_JoystickOpen(device);
}

void Detach(SDL_Joystick* pad) {
  const SDL_JoystickID instance = SDL_JoystickInstanceID(pad);
  SDL_JoystickClose(pad);
  for (int device = 0; device < SDL_NumJoysticks(); ++device)
    if (SDL_JoystickGetDeviceInstanceID(device) == instance) SDL_JoystickDetachVirtual(device);
}

// Main-loop passes with the message pump, as the shell runs them.
void Passes(int32_t n) {
  for (int32_t i = 0; i < n; ++i) {
    GameRun();
    PlatformPumpMessages();
    PlatformLoopPass();
  }
}

std::string SimpleLevel(const std::string& extra) {
  return StandardTiles() + RoomMap(Room(30, 8)) + Lines({"#PC", "3,7"}) + extra;
}

std::string SettingsPath() {
  return std::string(std::getenv("XDG_DATA_HOME")) + "/Nightshade Forge/Sanguor/settings.ini";
}

void WriteSettings(const std::string& text) {
  std::filesystem::create_directories(std::filesystem::path(SettingsPath()).parent_path());
  std::ofstream(SettingsPath(), std::ios::binary) << text;
}

class GameDesktop : public testing::Test {
 protected:
  void SetUp() override {
    game.WriteStandardContent();
    game.Write("Bin\\Maps\\Map1.map",
               SimpleLevel(Lines({"#BRIEFING", "Walk.", "#OBJECTIVE", "LOCATION=28,7"})));
  }
  void TearDown() override {
    game.Stop();
    for (SDL_Joystick* pad : pads) Detach(pad);
  }
  gameSandbox game;
  std::vector<SDL_Joystick*> pads;
};

TEST_F(GameDesktop, APadLeavesTheBriefingWalksBitesAndIsPickedUpAndLetGoWhilePlaying) {
  SDL_Joystick* first = AttachPad("First Pad");
  ASSERT_NE(first, nullptr) << SDL_GetError();
  pads.push_back(first);
  ASSERT_TRUE(game.Start());
  ASSERT_EQ(InputJoystickCount(), 1);
  const gameActions& actions = Game().actions;
  // Start is the pad's seventh button, Back the fifth, south the first, east the second (codes
  // from 127 on).
  EXPECT_EQ(InputActionOfControl(actions.set, 127 + SDL_CONTROLLER_BUTTON_START), actions.start);
  EXPECT_EQ(InputActionOfControl(actions.set, 127 + SDL_CONTROLLER_BUTTON_A), actions.bite);
  EXPECT_EQ(InputActionOfControl(actions.set, 127 + SDL_CONTROLLER_BUTTON_B), actions.power);
  EXPECT_EQ(InputActionOfControl(actions.set, 127 + SDL_CONTROLLER_BUTTON_BACK), actions.menu);
  // While paused the menu controls are active: Back there leaves the panel as Escape does.
  EXPECT_EQ(
      InputActionOfControl(InputControlSetFind("Menu Controls"), 127 + SDL_CONTROLLER_BUTTON_BACK),
      InputMenuActions().exit);
  EXPECT_EQ(InputActionOfControl(actions.set, 127 + SDL_CONTROLLER_BUTTON_DPAD_LEFT), actions.left);
  EXPECT_EQ(InputActionOfControl(actions.set, 127 + SDL_CONTROLLER_BUTTON_DPAD_DOWN), actions.down);
  EXPECT_EQ(InputActionOfControl(actions.set, InputJoystickControl(0, 41)), actions.right);

  ASSERT_TRUE(game.RunUntilState(kStateBriefing, 5));
  SDL_JoystickSetVirtualButton(first, SDL_CONTROLLER_BUTTON_START, 1);
  Passes(2);
  EXPECT_EQ(StateGet(), kStateBriefing);
  SDL_JoystickSetVirtualButton(first, SDL_CONTROLLER_BUTTON_START, 0);
  Passes(2);
  ASSERT_EQ(StateGet(), kStatePlay);

  // The left stick pushed fully right walks right; a stick near its centre does nothing.
  const int32_t startX = Game().agents[0].x;
  SDL_JoystickSetVirtualAxis(first, SDL_CONTROLLER_AXIS_LEFTX, 4000);
  Passes(10);
  EXPECT_EQ(Game().agents[0].x, startX);
  SDL_JoystickSetVirtualAxis(first, SDL_CONTROLLER_AXIS_LEFTX, 32767);
  Passes(10);
  EXPECT_GT(Game().agents[0].x, startX);
  EXPECT_EQ(InputActionValue(actions.right), 100);
  SDL_JoystickSetVirtualAxis(first, SDL_CONTROLLER_AXIS_LEFTX, 0);
  Passes(2);
  EXPECT_EQ(InputActionValue(actions.right), 0);

  // The d-pad walks left too.
  const int32_t rightX = Game().agents[0].x;
  SDL_JoystickSetVirtualButton(first, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 1);
  Passes(10);
  EXPECT_LT(Game().agents[0].x, rightX);
  SDL_JoystickSetVirtualButton(first, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 0);
  Passes(2);

  // A second pad plugged in during play gets the same bindings on its own codes.
  SDL_Joystick* second = AttachPad("Second Pad");
  ASSERT_NE(second, nullptr) << SDL_GetError();
  pads.push_back(second);
  Passes(2);
  ASSERT_EQ(InputJoystickCount(), 2);
  EXPECT_EQ(InputJoystickName(1), "Second Pad");
  const ControlCode secondSouth = 127 + 45 + SDL_CONTROLLER_BUTTON_A;
  EXPECT_EQ(InputActionOfControl(actions.set, secondSouth), actions.bite);
  SDL_JoystickSetVirtualButton(second, SDL_CONTROLLER_BUTTON_A, 1);
  Passes(1);
  EXPECT_EQ(InputActionValue(actions.bite), 100);

  // Pulled out while its button is held: the button is let go, and the codes stay its own.
  Detach(second);
  pads.pop_back();
  Passes(2);
  EXPECT_EQ(InputActionValue(actions.bite), 0);
  EXPECT_EQ(InputJoystickCount(), 2);
  EXPECT_EQ(InputControlName(secondSouth), "");
  EXPECT_EQ(game.Log().find("Error: "), std::string::npos) << game.Log();
}

TEST_F(GameDesktop, APadsStickAndDpadStepThePanelsPointerWhilePaused) {
  // The level's script keeps the name of the last step event (3) in the play state's PAD.
  std::vector<uint8_t> bytes;
  std::vector<std::string> errors;
  ASSERT_TRUE(
      VmcAssemble(".event h\nh:\n jne [base-1], 3, done\n push [base-2]\n push \"pad\"\n push 4\n"
                  " builtin 32\n pop\n pop\n pop\ndone:\n return\n",
                  "pad.vasm", bytes, errors));
  game.Write("Bin\\Scripts\\Map1.vmc", std::string(bytes.begin(), bytes.end()));
  SDL_Joystick* pad = AttachPad("Menu Pad");
  ASSERT_NE(pad, nullptr) << SDL_GetError();
  pads.push_back(pad);
  ASSERT_TRUE(game.Start());
  game.EnterPlay();
  GamePauseSet(true);
  const auto stepAfter = [&](auto push, auto letGo) {
    StateVariableSetString(kStatePlay, "pad", "");
    push();
    Passes(4);
    const std::string step = StateVariableGetString(kStatePlay, "pad");
    StateVariableSetString(kStatePlay, "pad", "");
    Passes(4);  // held: no second step
    EXPECT_EQ(StateVariableGetString(kStatePlay, "pad"), "");
    letGo();
    Passes(4);
    return step;
  };
  EXPECT_EQ(stepAfter([&] { SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTY, 32767); },
                      [&] { SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTY, 0); }),
            "14");
  EXPECT_EQ(stepAfter([&] { SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTY, -32768); },
                      [&] { SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTY, 0); }),
            "17");
  EXPECT_EQ(
      stepAfter([&] { SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 1); },
                [&] { SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 0); }),
      "15");
  EXPECT_EQ(
      stepAfter([&] { SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 1); },
                [&] { SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 0); }),
      "16");
  // Not paused, the pad walks and steps nothing.
  GamePauseSet(false);
  EXPECT_EQ(stepAfter([&] { SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTY, 32767); },
                      [&] { SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTY, 0); }),
            "");
}

TEST_F(GameDesktop, BindingsEditedInTheSettingsFileReplaceTheDefaultsAndBadEntriesKeepThem) {
  WriteSettings(
      "[Input Control Set Game]\r\n"
      "Action Count=3\r\n"
      "Action 1=Bite\r\nAction 1 Controls=2\r\nAction 1 Control 1=F 100\r\n"
      "Action 1 Control 2=controller1 button 3 100\r\n"
      "Action 2=Left\r\nAction 2 Controls=2\r\nAction 2 Control 1=Left Arrow 100\r\n"
      "Action 2 Control 2=Left Arow 100\r\n"
      "Action 3=Jump\r\nAction 3 Controls=1\r\nAction 3 Control 1=J 100\r\n"
      "[Input Control Set Menu Controls]\r\n"
      "Action Count=1\r\nAction 1=Exit\r\nAction 1 Controls=1\r\nAction 1 Control 1=Backspace 50\r\n");
  ASSERT_TRUE(game.Start());
  const gameActions& actions = Game().actions;
  EXPECT_EQ(InputActionOfControl(actions.set, 37), actions.bite);   // F
  EXPECT_EQ(InputActionOfControl(actions.set, 32), -1);             // E no longer
  EXPECT_EQ(InputActionOfControl(actions.set, 129), actions.bite);  // a pad not plugged in
  EXPECT_EQ(InputActionOfControl(actions.set, 11), actions.left);   // the default A stays
  EXPECT_EQ(InputActionOfControl(actions.set, 15), -1);
  const int32_t menu = InputControlSetFind("Menu Controls");
  EXPECT_EQ(InputActionOfControl(menu, 20), InputMenuActions().exit);
  EXPECT_EQ(InputActionOfControl(menu, 36), -1);
  const std::string log = game.Log();
  EXPECT_NE(
      log.find(
          "Error: InputControlSetLoad - Unable to read \"Left Arow 100\" as a control for \"Action 2 "
          "Control 2\" of \"Input Control Set Game\"; the default stays."),
      std::string::npos)
      << log;
  EXPECT_NE(log.find("Error: InputControlSetLoad - No action \"Jump\""), std::string::npos) << log;

  // F bites in play, and the bindings are written back as they were read.
  ASSERT_TRUE(game.RunUntilState(kStateBriefing, 5));
  game.Tap(kKeySpace);
  game.Run(1);
  ASSERT_EQ(StateGet(), kStatePlay);
  InputControlPost(actions.set, 37, 100);
  EXPECT_EQ(InputActionValue(actions.bite), 100);
  InputControlPost(actions.set, 37, 0);
  game.Stop();
  std::ifstream saved(SettingsPath(), std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(saved)), std::istreambuf_iterator<char>());
  EXPECT_NE(
      text.find("Action 1 Control 1=F 100\r\nAction 1 Control 2=Controller1 Button 3 100\r\n"),
      std::string::npos)
      << text;
}

TEST_F(GameDesktop, EveryPointerStartsOnThePrimaryWindowAndMovesOverIt) {
  ASSERT_TRUE(game.Start());
  const int32_t display = Game().display;
  int32_t width = 0;
  int32_t height = 0;
  InputPointerWindowSize(display, width, height);
  EXPECT_EQ(width, game.videoWidth);
  EXPECT_EQ(height, game.videoHeight);
  int32_t window = 0;
  int32_t x = 0;
  int32_t y = 0;
  for (const char* name : {"Menu Controls", "Game"}) {
    InputPointerGet(InputControlSetFind(name), window, x, y);
    EXPECT_EQ(window, display) << name;
  }
  InputPointerGet(Game().actions.set, window, x, y);
  EXPECT_EQ(x, width / 2);
  EXPECT_EQ(y, height / 2);
  // The menu set follows the mouse over the window.
  const int32_t menu = InputControlSetFind("Menu Controls");
  InputControlSetActivate(menu);
  InputMessage(GraphicsDisplayWindow(display), PLATFORM_WM_MOUSEMOVE, 0, PlatformMakeLong(30, 40));
  InputPointerGet(menu, window, x, y);
  EXPECT_EQ(window, display);
  EXPECT_EQ(x, 30);
  EXPECT_EQ(y, 40);
}

}  // namespace
