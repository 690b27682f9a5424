// Saved control sets in the settings file, and joysticks: listing, codes, names and the
// bindings the built-in set gives them.
#include <SDL.h>

#include <sstream>

#include "input_fixture.h"
#include "services/fwkIni.h"

namespace {

std::vector<std::string> SectionLines(const std::string& text, const std::string& section) {
  std::istringstream in(text);
  std::vector<std::string> lines;
  std::string line;
  bool inside = false;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line.front() == '[') {
      inside = line == "[" + section + "]";
      continue;
    }
    if (inside && !line.empty()) lines.push_back(line);
  }
  return lines;
}

std::vector<ControlCode> Bindings(int32_t action) {
  std::vector<ControlCode> codes;
  for (int32_t k = 0; InputActionBinding(action, k) != 0; ++k)
    codes.push_back(InputActionBinding(action, k));
  return codes;
}

// A set like the game's: two actions, one without bindings, and pointer bindings.
int32_t GameLikeSet() {
  const int32_t game = InputControlSetNew("Game", true);
  const int32_t bite = InputActionNew(game, "Bite");
  InputActionBind(bite, 32, 100);
  InputActionBind(bite, 92, 50);
  InputActionNew(game, "Fog");
  InputPointerActionBind(game, kPointerLeft, 15, 50);
  InputPointerActionBind(game, kPointerUp, 17, 25);
  return game;
}

class SavedSets : public InputTest {};

TEST_F(SavedSets, KeysAreWrittenInOrderWithoutJoysticks) {
  GameLikeSet();
  InputControlSetSave(InputControlSetFind("Game"));
  InputControlSetSave(99);
  EXPECT_EQ(SectionLines(SettingsText(), "Input Control Set Game"),
            (std::vector<std::string>{
                "Game Controllers=0", "Action Count=2", "Action 1=Bite", "Action 1 Controls=2",
                "Action 1 Control 1=E 100", "Action 1 Control 2=Page Up 50", "Action 2=Fog",
                "Action 2 Controls=0", "Pointer Map Mouse=No", "Pointer Action 1 Controls=0",
                "Pointer Action 2 Controls=1", "Pointer Action 2 Control 1=Left Arrow 50",
                "Pointer Action 3 Controls=0", "Pointer Action 4 Controls=1",
                "Pointer Action 4 Control 1=Up Arrow 25"}));
  EXPECT_EQ(SettingsText().find("Controller "), std::string::npos);
}

TEST_F(SavedSets, ShutdownSavesOnlyTheSetsMarkedForSaving) {
  GameLikeSet();
  const int32_t scratch = InputControlSetNew("Scratch", false);
  InputActionNew(scratch, "Nothing");
  InputPointerActionBind(scratch, kPointerDown, 119, 100);
  InputFinal();
  EXPECT_FALSE(SectionLines(SettingsText(), "Input Control Set Game").empty());
  EXPECT_TRUE(SectionLines(SettingsText(), "Input Control Set Scratch").empty());
  EXPECT_TRUE(SectionLines(SettingsText(), "Input Control Set Menu Controls").empty());
  EXPECT_EQ(InputControlSetFind("Game"), -1);  // released
  InputControlSetSave(scratch);
  EXPECT_TRUE(SectionLines(SettingsText(), "Input Control Set Scratch").empty());
  InputInit();
  const int32_t again = InputControlSetNew("Scratch", false);
  InputPointerActionBind(again, kPointerDown, 119, 100);
  InputControlSetSave(again);
  const std::vector<std::string> lines = SectionLines(SettingsText(), "Input Control Set Scratch");
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[2], "Pointer Map Mouse=Yes");
  EXPECT_EQ(IniReadBool("Input Control Set Scratch", "Pointer Map Mouse", false), true);
}

TEST_F(SavedSets, ABindingOfAControllerNotPluggedInKeepsItsNameAndScale) {
  const int32_t game = InputControlSetNew("Game", true);
  InputActionBind(InputActionNew(game, "Gone"), 400, 80);
  InputControlSetSave(game);
  EXPECT_NE(SettingsText().find("Action 1 Control 1=Controller7 Button 4 80\r\n"),
            std::string::npos)
      << SettingsText();
}

class Joysticks : public InputTest {
 protected:
  // A 4-button stick with only X and Y, then a pad with six axes, ten buttons and a hat.
  void TwoJoysticks() {
    RestartWithJoysticks(
        {{2, 4, 0, 0x0001, 0x0002, "Stick"}, {6, 10, 1, 0x045E, 0x028E, "Test Pad"}});
  }
};

TEST_F(Joysticks, NoneFoundMeansNoJoystickCodes) {
  EXPECT_EQ(InputJoystickCount(), 0);
  for (int32_t sub = 0; sub <= 46; ++sub) EXPECT_EQ(InputJoystickControl(0, sub), -1);
  EXPECT_EQ(InputJoystickName(0), "");
  EXPECT_EQ(InputControlSaveName(127), "");
}

TEST_F(Joysticks, AJoystickWithoutANameIsNamedByItsAxesAndButtons) {
  RestartWithJoysticks({{3, 12, 0, 0, 0, ""}});
  ASSERT_EQ(InputJoystickCount(), 1);
  EXPECT_EQ(InputJoystickName(0), "3-axis, 12-button joystick");
  EXPECT_EQ(InputControlName(138), "Button 12 (3-axis, 12-button joystick)");
}

TEST_F(Joysticks, SubControlsExistAsTheCapabilitiesSay) {
  TwoJoysticks();
  ASSERT_EQ(InputJoystickCount(), 2);
  EXPECT_EQ(InputJoystickName(0), "Stick");
  EXPECT_EQ(InputJoystickName(1), "Test Pad");
  EXPECT_EQ(InputJoystickControl(0, 4), 130);
  EXPECT_EQ(InputJoystickControl(0, 5), -1);
  EXPECT_EQ(InputJoystickControl(0, 45), -1);
  EXPECT_EQ(InputJoystickControl(0, 33), -1);
  EXPECT_EQ(InputJoystickControl(0, 34), -1);
  EXPECT_EQ(InputJoystickControl(0, 40), 166);
  EXPECT_EQ(InputJoystickControl(0, 43), 169);
  EXPECT_EQ(InputJoystickControl(1, 10), 181);
  EXPECT_EQ(InputJoystickControl(1, 11), -1);
  EXPECT_EQ(InputJoystickControl(1, 33), 204);
  for (int32_t sub = 34; sub <= 45; ++sub)
    EXPECT_EQ(InputJoystickControl(1, sub), 171 + sub) << sub;
  EXPECT_EQ(InputJoystickControl(1, 0), -1);
  EXPECT_EQ(InputJoystickControl(1, 46), -1);
  EXPECT_EQ(InputJoystickControl(2, 1), -1);
  EXPECT_EQ(InputJoystickControl(-1, 1), -1);
}

TEST_F(Joysticks, NamesOfJoystickCodes) {
  TwoJoysticks();
  EXPECT_EQ(InputControlName(127), "Button 1 (Stick)");
  EXPECT_EQ(InputControlSaveName(127), "Controller1 Button 1");
  EXPECT_EQ(InputControlName(130), "Button 4 (Stick)");
  EXPECT_EQ(InputControlName(131), "");  // button 5 of a 4-button stick
  EXPECT_EQ(InputControlSaveName(131), "");
  EXPECT_EQ(InputControlName(166), "X-axis Left (Stick)");
  EXPECT_EQ(InputControlName(171), "");  // no Z axis
  EXPECT_EQ(InputControlName(204), "POV Hat (Test Pad)");
  EXPECT_EQ(InputControlSaveName(210), "Controller2 V-axis Up");
  EXPECT_EQ(InputControlSaveName(216), "Controller2 Z-axis Up");
  EXPECT_EQ(InputControlName(217), "");  // a third joystick
}

TEST_F(Joysticks, DirectionalControlsIncludeEveryJoystickAxis) {
  TwoJoysticks();
  const std::vector<ControlCode> expected = {120, 121, 126, 119, 125, 124, 122, 123,
                                             166, 167, 169, 168, 211, 212, 214, 213,
                                             216, 215, 206, 205, 208, 207, 210, 209};
  for (size_t n = 0; n < expected.size(); ++n)
    EXPECT_EQ(InputAxisControl(static_cast<int32_t>(n)), expected[n]) << n;
  EXPECT_EQ(InputAxisControl(static_cast<int32_t>(expected.size())), 0);
}

TEST_F(Joysticks, TheMenuSetBindsEveryJoystickThatHasTheControl) {
  TwoJoysticks();
  const inputMenuActions& menu = InputMenuActions();
  EXPECT_EQ(Bindings(menu.scrollUp), (std::vector<ControlCode>{125, 92, 216}));
  EXPECT_EQ(Bindings(menu.scrollDown), (std::vector<ControlCode>{124, 91, 215}));
  EXPECT_EQ(Bindings(menu.exit), (std::vector<ControlCode>{36}));
  EXPECT_EQ(Bindings(menu.selectItem), (std::vector<ControlCode>{114, 34, 127, 172}));
  EXPECT_EQ(Bindings(menu.selectItemSecondary), (std::vector<ControlCode>{116, 128, 173}));
  const int32_t menuSet = InputControlSetFind("Menu Controls");
  InputControlSetSave(menuSet);
  const std::vector<std::string> lines =
      SectionLines(SettingsText(), "Input Control Set Menu Controls");
  const std::vector<std::string> pointerLines(lines.end() - 17, lines.end());
  EXPECT_EQ(pointerLines,
            (std::vector<std::string>{
                "Pointer Map Mouse=Yes", "Pointer Action 1 Controls=3",
                "Pointer Action 1 Control 1=Down Arrow 50",
                "Pointer Action 1 Control 2=Controller1 Y-axis Down 100",
                "Pointer Action 1 Control 3=Controller2 Y-axis Down 100",
                "Pointer Action 2 Controls=3", "Pointer Action 2 Control 1=Left Arrow 50",
                "Pointer Action 2 Control 2=Controller1 X-axis Left 100",
                "Pointer Action 2 Control 3=Controller2 X-axis Left 100",
                "Pointer Action 3 Controls=3", "Pointer Action 3 Control 1=Right Arrow 50",
                "Pointer Action 3 Control 2=Controller1 X-axis Right 100",
                "Pointer Action 3 Control 3=Controller2 X-axis Right 100",
                "Pointer Action 4 Controls=3", "Pointer Action 4 Control 1=Up Arrow 50",
                "Pointer Action 4 Control 2=Controller1 Y-axis Up 100",
                "Pointer Action 4 Control 3=Controller2 Y-axis Up 100"}));
}

TEST_F(Joysticks, SavedSetsNameTheControllers) {
  TwoJoysticks();
  const int32_t game = GameLikeSet();
  InputActionBind(InputActionFind(game, "Fog"), 174, 100);
  InputControlSetSave(game);
  const std::vector<std::string> lines = SectionLines(SettingsText(), "Input Control Set Game");
  ASSERT_GE(lines.size(), 11u);
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 4),
            (std::vector<std::string>{"Game Controllers=2", "Controller 1=1;2",
                                      "Controller 2=1118;654", "Action Count=2"}));
  EXPECT_EQ(lines[9], "Action 2 Controls=1");
  EXPECT_EQ(lines[10], "Action 2 Control 1=Controller2 Button 3 100");
}

TEST_F(Joysticks, JoystickCodesHaveValuesButJoysticksPostNothing) {
  TwoJoysticks();
  const int32_t game = GameLikeSet();
  InputControlSetActivate(game);
  SDL_Joystick* pad = SDL_JoystickOpen(1);
  ASSERT_NE(pad, nullptr);
  SDL_JoystickSetVirtualButton(pad, 0, SDL_PRESSED);
  SDL_JoystickSetVirtualAxis(pad, 0, -32768);
  SDL_JoystickUpdate();
  SDL_Event event;
  while (SDL_PollEvent(&event) != 0) {
  }
  EXPECT_TRUE(TakeControls(game).empty());
  platformJoystickPosition position;
  ASSERT_TRUE(PlatformJoystickPosition(1, position));
  EXPECT_EQ(position.buttons, 1u);
  EXPECT_EQ(position.x, 0u);
  SDL_JoystickClose(pad);
  // Posted by hand, a joystick code is a level control like a key.
  InputControlPost(game, 172, 100);
  EXPECT_EQ(InputControlValue(game, 172), 100);
}

}  // namespace
