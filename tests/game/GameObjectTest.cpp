// A level script's objects in the running game: drawn over the level, hit by the menu pointer
// and told about presses, clicks, enters, leaves and slider drags made with real mouse input
// (injected into the platform's event queue and delivered through the message pump).
#include <gtest/gtest.h>

#include "GameLevels.h"
#include "GameTestSupport.h"
#include "graphics/fwkGraphics.h"
#include "input/fwkInput.h"
#include "platform/platform.h"
#include "script/fwkScript.h"
#include "services/fwkState.h"
#include "vmcAsm.h"

namespace {

// Script coordinates are 1280 x 720 (BestFit); the test window is 640 x 480, so script (x, y)
// lies at window (x / 2, y / 2 + 60).
const char* kObjectScript = R"(
.event handler
.thread watch
.object screen, screen
    prop width, 1280
    prop height, 720
    prop fit, "bestfit"
.end
.object panel, box
    layer 1
    prop x, 100
    prop y, 100
    prop width, 200
    prop height, 100
    prop colour, 0x802020
    prop flag1, true
    prop flag2, true
.end
.object over, box
    layer 2
    prop x, 150
    prop y, 120
    prop width, 50
    prop height, 50
    prop colour, 0x2020C0
    prop flag1, true
    prop flag2, true
.end
.object vol, slider
    layer 3
    frameset
    frame "track"
    model "Bin\\Menu\\track.tga"
    frameset
    frame "knob"
    model "Bin\\Menu\\knob.tga"
    prop x, 400
    prop y, 300
    prop maximum, 100
    prop flag1, true
    prop flag2, true
.end
.object cam, camera
    layer 4
    child inner
    prop enabled, true
    prop left, 800
    prop top, 100
    prop width, 200
    prop height, 200
    prop scrollx, 50
.end
.object inner, box
    prop x, 60
    prop y, 10
    prop width, 40
    prop height, 40
    prop flag1, true
    prop flag2, true
.end
.object btn, button
    frameset
    frame "only"
    model "Bin\\Menu\\knob.tga"
.end
.object lst, list
.end
handler:
    jeq [base-1], 5, raise
    jeq [base-1], 6, checks
    jeq [base-1], -1, done
    jeq [base-1], -7, done
    push [base-2]
    push [base-1]
    callapp Event
    pop
    pop
done:
    return
raise:
    set panel, layer, 9
    return
checks:
    set btn, 2, 0
    get btn, 2
    push 2
    callapp Event
    pop
    pop
    set vol, 4, 500
    get vol, 4
    push 4
    callapp Event
    pop
    pop
    set lst, 17, 7
    push ""
    push 120
    push 830
    builtin 39
    pop
    pop
    push 39
    callapp Event
    pop
    pop
    return
watch:
    get vol, 6
    push "volume"
    push 4
    builtin 31
    pop
    pop
    pop
    yield
    jump watch
)";

std::vector<std::string> events;

int32_t RecordEvent(int32_t scriptId, int32_t threadId) {
  events.push_back(std::to_string(ScriptParamInt(scriptId, threadId, 1)) + " " +
                   ScriptParamString(scriptId, threadId, 2));
  return 1;
}

void DeliverMessage(platformWindow window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  InputMessage(window, message, wParam, lParam);
}

class GameObjects : public testing::Test {
 protected:
  virtual const char* Script() const { return kObjectScript; }

  void SetUp() override {
    events.clear();
    game.WriteStandardContent();
    game.WriteTga("Bin\\Menu\\track.tga", 200, 20, 0xFF404040u);
    game.WriteTga("Bin\\Menu\\knob.tga", 20, 20, 0xFFE0E0E0u);
    game.WriteTga("Bin\\Menu\\item.tga", 200, 40, 0xFF303030u);
    game.WriteTga("Bin\\Menu\\selected.tga", 200, 40, 0xFFC08020u);
    game.WriteTga("Bin\\Menu\\over.tga", 200, 40, 0xFF2080C0u);
    game.Write("Bin\\Maps\\Map1.map", StandardTiles() + RoomMap(Room(20, 8)) +
                                          Lines({"#PC", "3,7", "#OBJECTIVE", "LOCATION=15,7"}));
    std::vector<uint8_t> bytes;
    std::vector<std::string> errors;
    ASSERT_TRUE(VmcAssemble(Script(), "objects.vasm", bytes, errors)) << errors[0];
    game.Write("Bin\\Scripts\\Map1.vmc", std::string(bytes.begin(), bytes.end()));
    ASSERT_TRUE(game.Start());
    ScriptAppRoutineRegister("Event", RecordEvent);
    game.EnterPlay();
    ASSERT_EQ(StateGet(), kStatePlay);
    // The menu controls drive the objects, as while the pause panel is up.
    InputControlSetActivate(InputControlSetFind("Menu Controls"));
    PlatformInputSetMessageHandler(DeliverMessage);
    InputMouseHookOn();
    window = GraphicsDisplayWindow(Game().display);
    ASSERT_EQ(Take(), (std::vector<std::string>{"1 APPSCRIPTENTER"}));
  }

  void TearDown() override {
    PlatformInputSetMessageHandler(nullptr);
    InputMouseHookOff();
    game.Stop();
  }

  // Moves the pointer to script coordinates, presses or releases (button 0: none), and lets
  // one play step look at it.
  void Pointer(int32_t x, int32_t y, int32_t button = 0, bool down = false) {
    ASSERT_TRUE(PlatformInputInjectMouseMove(window, x / 2, y / 2 + 60));
    if (button != 0) {
      ASSERT_TRUE(PlatformInputInjectMouseButton(window, button, down, x / 2, y / 2 + 60));
    }
    PlatformPumpMessages();
    game.Steps(1);
  }

  std::vector<std::string> Take() {
    std::vector<std::string> taken;
    taken.swap(events);
    return taken;
  }

  gameSandbox game;
  platformWindow window = 0;
};

using list = std::vector<std::string>;

TEST_F(GameObjects, PressingOnOneObjectAndReleasingOnAnotherIsNoClick) {
  Pointer(160, 140);
  EXPECT_EQ(Take(), (list{"-5 OVER"}));
  Pointer(160, 140, 1, true);
  EXPECT_EQ(Take(), (list{"-3 OVER"}));
  // Pressed, the pointer leaves OVER for PANEL: only the pressed object hears of it.
  Pointer(120, 180);
  EXPECT_EQ(Take(), (list{"-6 OVER"}));
  // Released away from OVER: no click; with nothing pressed PANEL is entered at once.
  Pointer(120, 180, 1, false);
  EXPECT_EQ(Take(), (list{"-5 PANEL"}));
  Pointer(120, 180, 1, true);
  Pointer(120, 180, 1, false);
  EXPECT_EQ(Take(), (list{"-3 PANEL", "-4 PANEL"}));
  // The top layer wins where boxes overlap; leaving goes before entering.
  Pointer(170, 150);
  EXPECT_EQ(Take(), (list{"-6 PANEL", "-5 OVER"}));
  Pointer(700, 600);
  EXPECT_EQ(Take(), (list{"-6 OVER"}));
  // A release with nothing pressed raises nothing.
  Pointer(700, 600, 1, false);
  EXPECT_TRUE(Take().empty());
}

TEST_F(GameObjects, DraggingTheKnobSetsTheSliderValue) {
  Pointer(410, 310);
  Pointer(410, 310, 1, true);
  EXPECT_EQ(Take(), (list{"-5 VOL", "-3 VOL"}));
  EXPECT_EQ(StateVariableGetInteger(kStatePlay, "VOLUME"), 0);
  // 100 pixels of a 180-pixel span (200 track - 20 knob).
  Pointer(510, 310);
  EXPECT_EQ(Take(), (list{"-2 VOL"}));
  game.Steps(1);
  EXPECT_EQ(StateVariableGetInteger(kStatePlay, "VOLUME"), 55);
  // Past the end the knob stops at the span and the value at the maximum.
  Pointer(900, 350);
  EXPECT_EQ(Take(), (list{"-2 VOL"}));
  game.Steps(1);
  EXPECT_EQ(StateVariableGetInteger(kStatePlay, "VOLUME"), 100);
  Pointer(900, 350, 1, false);
  EXPECT_EQ(Take(), (list{"-10 VOL"}));
  // The knob is drawn where it was dragged to: the track's right end, script x 580..600.
  EXPECT_EQ(game.PixelAt(295, 215), 0xE0E0E0u);
  EXPECT_EQ(game.PixelAt(285, 215), 0x404040u);
}

TEST_F(GameObjects, ObjectsAreDrawnOverTheLevelInLayerOrder) {
  game.Steps(1);
  EXPECT_EQ(game.PixelAt(55, 115), 0x802020u);
  EXPECT_EQ(game.PixelAt(85, 125), 0x2020C0u);
  // The panel raised above the small box covers it, and takes its place under the pointer.
  ScriptRoutineRun(Game().scriptId, 5, "raise");
  EXPECT_EQ(ScriptDrawOrderNames(Game().scriptId),
            (list{"screen", "inner", "btn", "lst", "over", "vol", "cam", "panel"}));
  Pointer(170, 150);
  EXPECT_EQ(Take(), (list{"-5 PANEL"}));
  EXPECT_EQ(game.PixelAt(85, 125), 0x802020u);
}

TEST_F(GameObjects, CamerasClampingAndTheObjectUnderAPoint) {
  ScriptRoutineRun(Game().scriptId, 6, "checks");
  // A bad frame shows frame 1; a minimum above the maximum meets it; the camera's child is
  // found through the camera's rectangle and scroll.
  EXPECT_EQ(Take(), (list{"2 1", "4 100", "39 inner"}));
  const std::string log = game.Log();
  EXPECT_NE(
      log.find(
          "Error: ScriptCodeObjectButtonAttributeSet - Script attempted to set invalid frame number.  "
          "Clamping to first frame."),
      std::string::npos);
  EXPECT_NE(
      log.find("Error: ScriptCodeObjectListAttributeSet - Invalid text mode 7 ignored on list."),
      std::string::npos);
  Pointer(830, 120);
  EXPECT_EQ(Take(), (list{"-5 INNER"}));
  Pointer(790, 120);
  EXPECT_EQ(Take(), (list{"-6 INNER"}));
}

TEST_F(GameObjects, APlacedPointerLiesOnTheScriptPointItWasGiven) {
  // Script (160, 140) is window (80, 130) through the BestFit screen: OVER is entered there.
  ASSERT_TRUE(ScriptPointerPlace(Game().scriptId, 160, 140));
  int32_t display = 0;
  int32_t x = 0;
  int32_t y = 0;
  InputPointerGet(InputControlSetFind("Menu Controls"), display, x, y);
  EXPECT_EQ(display, Game().display);
  EXPECT_EQ(x, 80);
  EXPECT_EQ(y, 130);
  game.Steps(1);
  EXPECT_EQ(Take(), (list{"-5 OVER"}));
  // A point the half-size window cannot show exactly goes to the next window pixel; one
  // outside the window stays on its edge.
  ASSERT_TRUE(ScriptPointerPlace(Game().scriptId, 161, 141));
  InputPointerGet(InputControlSetFind("Menu Controls"), display, x, y);
  EXPECT_EQ(x, 81);
  EXPECT_EQ(y, 131);
  ASSERT_TRUE(ScriptPointerPlace(Game().scriptId, 5000, -200));
  InputPointerGet(InputControlSetFind("Menu Controls"), display, x, y);
  EXPECT_EQ(x, 639);
  EXPECT_EQ(y, 0);
  EXPECT_FALSE(ScriptPointerPlace(0, 1, 1));
}

// A vertical list of four items, three shown, each item text ten of the test font's solid
// glyphs in green.
const char* kListScript = R"(
.event handler
.thread fill
.object screen, screen
    prop width, 1280
    prop height, 720
    prop fit, "bestfit"
.end
.object menu, list
    font "Bin\\Fonts\\Menu Description Small.fot"
    frameset
    frame "item"
    model "Bin\\Menu\\item.tga"
    frameset
    frame "selected"
    model "Bin\\Menu\\selected.tga"
    frame "over"
    model "Bin\\Menu\\over.tga"
    prop x, 100
    prop y, 400
    prop visible, 3
    prop textmode, 2
    prop g, 0xFF00FF00
    prop frameselected, 1
    prop framemouseover, 2
    prop flag1, true
    prop flag2, true
.end
handler:
    jeq [base-1], -1, done
    jeq [base-1], -7, done
    jeq [base-1], 7, left_texts
    push [base-2]
    push [base-1]
    callapp Event
    pop
    pop
    jne [base-1], -4, done
    push "selected"
    get menu, 6
    callapp Event
    pop
    pop
done:
    return
left_texts:
    set menu, 17, 1
    set menu, 7, 1
    return
fill:
    push 0
fill_next:
    push "1111111111"
    set menu, 5, [1], [0]
    pop
    add 1, [0]
    jlt [0], 4, fill_next
    return
)";

class GameLists : public GameObjects {
 protected:
  const char* Script() const override { return kListScript; }
};

constexpr uint32_t kItem = 0x303030u;
constexpr uint32_t kSelected = 0xC08020u;
constexpr uint32_t kOver = 0x2080C0u;
constexpr uint32_t kText = 0x00FF00u;

// The list lies at script (100, 400), items 200 x 40: window x 50..150, each slot 20 rows from
// row 260; item texts are 16 script rows tall, centred in the item (window rows 266..273).
TEST_F(GameLists, ItemsHighlightsAndTextsAreDrawn) {
  game.Steps(1);
  EXPECT_EQ(game.PixelAt(55, 262), kItem);
  EXPECT_EQ(game.PixelAt(55, 285), kItem);
  EXPECT_EQ(game.PixelAt(55, 305), kItem);
  // Three of the four items are shown.
  EXPECT_NE(game.PixelAt(55, 325), kItem);
  // Centred texts: 70 script pixels wide in the middle of the item.
  EXPECT_EQ(game.PixelAt(100, 270), kText);
  EXPECT_EQ(game.PixelAt(100, 310), kText);
  EXPECT_EQ(game.PixelAt(60, 270), kItem);
  // The item under the pointer wears the mouse-over frame, under its text.
  Pointer(150, 470);
  EXPECT_EQ(Take(), (list{"-5 MENU"}));
  EXPECT_EQ(game.PixelAt(55, 285), kOver);
  EXPECT_EQ(game.PixelAt(100, 290), kText);
  EXPECT_EQ(game.PixelAt(55, 262), kItem);
  // A click selects it; the selected frame stays when the pointer has gone.
  Pointer(150, 470, 1, true);
  Pointer(150, 470, 1, false);
  EXPECT_EQ(Take(), (list{"-3 MENU", "-4 MENU", "1 selected"}));
  Pointer(700, 650);
  EXPECT_EQ(Take(), (list{"-6 MENU"}));
  EXPECT_EQ(game.PixelAt(55, 285), kSelected);
  EXPECT_EQ(game.PixelAt(55, 262), kItem);
  // Scrolled by one with texts on the left: item 1 (selected) is at the top, items 2 and 3
  // below it, and nothing after them.
  ScriptRoutineRun(Game().scriptId, 7, "left");
  game.Steps(1);
  EXPECT_EQ(game.PixelAt(55, 262), kSelected);
  EXPECT_EQ(game.PixelAt(60, 270), kText);
  EXPECT_EQ(game.PixelAt(100, 270), kSelected);
  EXPECT_EQ(game.PixelAt(55, 285), kItem);
  EXPECT_EQ(game.PixelAt(55, 305), kItem);
  EXPECT_NE(game.PixelAt(55, 325), kItem);
}

// Four lists of one item size (200 x 40): "menu" shows three items and carries a 200 x 100 mat
// whose rows 0-39 are entry 0 "First", 40-79 entry 1 "second", 80-89 entry 2 (no name) and the
// rest, which no run reaches, entry 0; "plain" has no mat, "broken" a damaged one and "lost" one
// that does not exist. A click records the list's selected item and its selected item text.
const char* kListMatScript = R"(
.event handler
.object screen, screen
    prop width, 1280
    prop height, 720
    prop fit, "bestfit"
.end
.object menu, list
    frameset
    frame "item"
    model "Bin\\Menu\\item.tga"
    prop x, 100
    prop y, 400
    prop visible, 3
    prop mat, "Bin\\Mats\\list.mat"
    prop flag1, true
    prop flag2, true
.end
.object plain, list
    frameset
    frame "item"
    model "Bin\\Menu\\item.tga"
    prop x, 400
    prop y, 400
    prop flag1, true
    prop flag2, true
.end
.object broken, list
    frameset
    frame "item"
    model "Bin\\Menu\\item.tga"
    prop x, 700
    prop y, 400
    prop mat, "Bin\\Mats\\broken.mat"
    prop flag1, true
    prop flag2, true
.end
.object lost, list
    frameset
    frame "item"
    model "Bin\\Menu\\item.tga"
    prop x, 1000
    prop y, 400
    prop MAT, "Bin\\Mats\\missing.mat"
    prop flag1, true
    prop flag2, true
.end
handler:
    jeq [base-1], 1, entered
    jeq [base-1], 7, scroll
    jne [base-1], -4, done
    jeq [base-2], "MENU", menu_text
    jeq [base-2], "PLAIN", plain_text
    jeq [base-2], "BROKEN", broken_text
    get lost, 16
    get lost, 6
    jump record
menu_text:
    get menu, 16
    get menu, 6
    jump record
plain_text:
    get plain, 16
    get plain, 6
    jump record
broken_text:
    get broken, 16
    get broken, 6
record:
    callapp Event
    pop
    pop
done:
    return
entered:
    push [base-2]
    push [base-1]
    jump record
scroll:
    set menu, 7, 1
    return
)";

struct matRun {
  uint16_t length;
  uint8_t entry;
};

std::string MatFile(uint8_t minor, int32_t width, int32_t height,
                    const std::vector<std::string>& names, const std::vector<matRun>& runs) {
  std::string bytes = "MAT";
  bytes += static_cast<char>(1);
  bytes += static_cast<char>(minor);
  const auto i32 = [&bytes](uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>((v >> shift) & 0xFFu);
  };
  i32(static_cast<uint32_t>(width));
  i32(static_cast<uint32_t>(height));
  bytes += static_cast<char>(names.size());
  for (const std::string& name : names) {
    i32(0xFF000000u);
    bytes += static_cast<char>(name.size());
    bytes += name;
  }
  for (const matRun& run : runs) {
    bytes += static_cast<char>(run.length & 0xFF);
    bytes += static_cast<char>(run.length >> 8);
    bytes += static_cast<char>(run.entry);
  }
  return bytes;
}

class GameListMats : public GameObjects {
 protected:
  const char* Script() const override { return kListMatScript; }
  void SetUp() override {
    game.Write("Bin\\Mats\\list.mat",
               MatFile(0, 200, 100, {"First", "second", ""}, {{8000, 0}, {8000, 1}, {2000, 2}}));
    game.Write("Bin\\Mats\\broken.mat", MatFile(1, 200, 40, {"First"}, {{8000, 0}}));
    GameObjects::SetUp();
  }
  list Click(int32_t x, int32_t y) {
    Pointer(x, y, 1, true);
    Pointer(x, y, 1, false);
    return Take();
  }
};

TEST_F(GameListMats, TheMatCellUnderThePointerGivesTheSelectedText) {
  EXPECT_EQ(Click(150, 420), (list{"0 FIRST"}));
  EXPECT_EQ(Click(150, 470), (list{"1 SECOND"}));
  // An entry without a name gives its number.
  EXPECT_EQ(Click(150, 484), (list{"2 2"}));
  // The item lies past the mat's last row: an item but no text.
  EXPECT_EQ(Click(150, 510), (list{"2 "}));
  EXPECT_EQ(Click(450, 420), (list{"0 "}));
}

// The mat covers the items, not the slots: scrolled by one, the top slot shows item 1 and the
// mat's rows 40-79.
TEST_F(GameListMats, TheMatScrollsWithTheItems) {
  ScriptRoutineRun(Game().scriptId, 7, "scroll");
  game.Steps(1);
  EXPECT_EQ(Click(150, 420), (list{"1 SECOND"}));
  EXPECT_EQ(Click(150, 444), (list{"2 2"}));
  EXPECT_EQ(Click(150, 470), (list{"2 "}));
}

TEST_F(GameListMats, ADamagedOrMissingMatIsLoggedAndGivesNoText) {
  const std::string log = game.Log();
  EXPECT_NE(log.find("Error: MatOpenRaw - Unsupported mat minor version \"1\"."), std::string::npos)
      << log;
  EXPECT_NE(log.find("Error: MatOpenRaw - Unable to open \"Bin\\Mats\\missing.mat\"."),
            std::string::npos)
      << log;
  EXPECT_EQ(log.find("Unknown property"), std::string::npos) << log;
  EXPECT_EQ(Click(750, 420), (list{"0 "}));
  EXPECT_EQ(Click(1050, 420), (list{"0 "}));
}

// Values a script may choose at the ends of the integer range, and a routine that closes the
// script while the pointer pass is delivering its events.
const char* kExtremesScript = R"(
.routine Shut
.event handler
.object screen, screen
    prop width, 1280
    prop height, 720
    prop fit, "bestfit"
.end
.object menu, list
    frameset
    frame "item"
    model "Bin\\Menu\\item.tga"
    prop x, 100
    prop y, 400
    prop visible, 3
    prop first, 0x7FFFFFFF
    prop flag1, true
    prop flag2, true
.end
.object cam, camera
    child inner
    prop enabled, true
    prop left, 800
    prop top, 100
    prop width, 200
    prop height, 200
    prop scrollx, 0x7FFFFFFF
    prop scrolly, -2147483648
.end
.object inner, box
    prop x, 60
    prop y, 10
    prop width, 40
    prop height, 40
    prop flag1, true
    prop flag2, true
.end
.object belt, atex
    frameset
    frame "belt"
    model "Bin\\Menu\\item.tga"
    prop moving, true
    prop velocity1, -2147483648
    prop velocity2, -2147483648
.end
.object shut, box
    prop x, 100
    prop y, 100
    prop width, 100
    prop height, 100
    prop flag1, true
    prop flag2, true
.end
handler:
    jne [base-1], 1, clicked
    push [base-2]
    push [base-1]
    callapp Event
    pop
    pop
    return
clicked:
    jne [base-1], -4, pressed
    jne [base-2], "MENU", done
    push "selected"
    get menu, 6
    callapp Event
    pop
    pop
    return
pressed:
    jne [base-1], -3, done
    jne [base-2], "SHUT", done
    callapp Shut
done:
    return
)";

int32_t ShutScript(int32_t scriptId, int32_t) {
  ScriptClose(scriptId);
  return 1;
}

class GameExtremes : public GameObjects {
 protected:
  const char* Script() const override { return kExtremesScript; }
};

TEST_F(GameExtremes, ItemsScrolledToTheEndOfTheRangeStayThere) {
  ScriptAppRoutineRegister("Shut", ShutScript);
  // The second slot of a list scrolled to the last item number is that number, not a wrap.
  Pointer(150, 450, 1, true);
  Pointer(150, 450, 1, false);
  EXPECT_EQ(Take(), (list{"2147483647 selected"}));
  // The camera's scroll puts its child out of reach instead of wrapping it back in.
  Pointer(870, 120);
  Pointer(830, 120);
  game.Steps(3);
  EXPECT_TRUE(Take().empty());
}

TEST_F(GameExtremes, ARoutineThatClosesTheScriptInAnEventEndsThePointerPass) {
  ScriptAppRoutineRegister("Shut", ShutScript);
  const int32_t id = Game().scriptId;
  Pointer(150, 150, 1, true);
  EXPECT_LT(ScriptFind(id), 0);
  // The game goes on without its script.
  Pointer(150, 150, 1, false);
  game.Steps(2);
  EXPECT_EQ(StateGet(), kStatePlay);
}

}  // namespace
