// The pointer: windows it travels over, steps from bound controls, and the mouse mapped onto it.
#include "input_fixture.h"
#include "platform/platform.h"

namespace {

class Pointer : public InputTest {
 protected:
  void TearDown() override {
    for (platformWindow window : windows) PlatformWindowDestroy(window);
    InputTest::TearDown();
  }

  platformWindow Window(int32_t width, int32_t height) {
    platformWindowParams params;
    params.caption = "pointer";
    params.width = width;
    params.height = height;
    const platformWindow window = PlatformWindowCreate(params);
    EXPECT_NE(window, 0u) << PlatformLastVideoError();
    windows.push_back(window);
    return window;
  }

  // A set whose Right, Left, Down and Up pointer actions are D, A, S and W at full scale, so a
  // press moves the pointer 0.8 pixels per millisecond since the previous step.
  int32_t SteeredSet() {
    const int32_t set = InputControlSetNew("Steer", false);
    InputPointerActionBind(set, kPointerRight, 29, 100);
    InputPointerActionBind(set, kPointerLeft, 11, 100);
    InputPointerActionBind(set, kPointerDown, 98, 100);
    InputPointerActionBind(set, kPointerUp, 110, 100);
    InputPointerActionBind(set, kPointerRight, 121, 100);  // only maps the mouse
    InputControlSetActivate(set);
    return set;
  }

  // Places the pointer through the mapped mouse.
  void Place(platformWindow window, int32_t x, int32_t y) {
    InputMessage(window, PLATFORM_WM_MOUSEMOVE, 0, static_cast<intptr_t>(PlatformMakeLong(x, y)));
  }

  void Press(int32_t set, ControlCode code, uint32_t afterMs) {
    PlatformClockAdvance(afterMs);
    InputControlPost(set, code, 100);
  }

  void ExpectPointer(int32_t set, int32_t window, int32_t x, int32_t y) {
    int32_t w = -1;
    int32_t px = -1;
    int32_t py = -1;
    InputPointerGet(set, w, px, py);
    EXPECT_EQ(w, window);
    EXPECT_EQ(px, x);
    EXPECT_EQ(py, y);
  }

  std::vector<platformWindow> windows;
};

TEST_F(Pointer, NewSetsStartAtTheCentreOfTheFirstWindow) {
  const int32_t before = InputControlSetNew("Before", false);
  ExpectPointer(before, 0, 0, 0);
  const platformWindow first = Window(200, 101);
  InputPointerWindowAdd(7, first);
  ExpectPointer(before, 7, 0, 0);  // took the window, kept its place
  InputPointerWindowAdd(8, Window(50, 50));
  const int32_t after = InputControlSetNew("After", false);
  ExpectPointer(after, 7, 100, 50);
  int32_t width = 0;
  int32_t height = 0;
  InputPointerWindowSize(7, width, height);
  EXPECT_EQ(width, 200);
  EXPECT_EQ(height, 101);
  InputPointerWindowSize(9, width, height);
  EXPECT_EQ(width, 0);
  EXPECT_EQ(height, 0);
  ExpectPointer(99, 0, 0, 0);
}

TEST_F(Pointer, WindowsAreReplacedInPlaceAndRemovedInOrder) {
  const platformWindow a = Window(100, 100);
  const platformWindow b = Window(200, 100);
  const platformWindow c = Window(300, 100);
  InputPointerWindowAdd(1, a);
  InputPointerWindowAdd(2, b);
  InputPointerWindowAdd(3, c);
  InputPointerWindowAdd(1, c);  // same id: handle replaced, position kept
  int32_t width = 0;
  int32_t height = 0;
  InputPointerWindowSize(1, width, height);
  EXPECT_EQ(width, 300);
  InputPointerWindowSetHandle(1, a);
  InputPointerWindowSetHandle(42, b);
  InputPointerWindowSize(1, width, height);
  EXPECT_EQ(width, 100);
  InputPointerWindowRemove(2);
  InputPointerWindowRemove(42);
  InputPointerWindowSize(2, width, height);
  EXPECT_EQ(width, 0);
  // 1 and 3 are now neighbours: leaving 1 to the right enters 3.
  const int32_t set = SteeredSet();
  Place(a, 90, 10);
  Press(set, 29, 25);  // 20 pixels
  ExpectPointer(set, 3, 10, 10);
}

TEST_F(Pointer, StepsGrowWithTheTimeSinceThePreviousStep) {
  InputPointerWindowAdd(1, Window(1000, 1000));
  const int32_t set = SteeredSet();
  ExpectPointer(set, 1, 500, 500);
  Press(set, 29, 100);  // 80 pixels right
  ExpectPointer(set, 1, 580, 500);
  Press(set, 29, 10);  // 8 more, not 88: the set has been active for 110 ms
  ExpectPointer(set, 1, 588, 500);
  Press(set, 98, 50);  // down 40
  Press(set, 110, 5);  // up 4
  Press(set, 11, 0);   // no time has passed: no step
  ExpectPointer(set, 1, 588, 536);
  // Releases post 0 and do not move; activation restarts the clock.
  PlatformClockAdvance(500);
  InputControlPost(set, 29, 0);
  PlatformClockAdvance(1000);
  InputControlSetActivate(set);
  Press(set, 29, 10);
  ExpectPointer(set, 1, 596, 536);
}

TEST_F(Pointer, ScaleAndValueEnterTheDistance) {
  InputPointerWindowAdd(1, Window(1000, 1000));
  const int32_t set = SteeredSet();
  InputPointerActionBind(set, kPointerRight, 16, 50);
  PlatformClockAdvance(100);
  InputControlPost(set, 16, 100);  // 100 * 50 * 100 * 8 / 100 / 1000 = 40
  ExpectPointer(set, 1, 540, 500);
  PlatformClockAdvance(100);
  InputControlPost(set, 16, 33);  // 13.2 truncated
  ExpectPointer(set, 1, 553, 500);
}

TEST_F(Pointer, ThePointerStopsAtTheOuterEdgesOfTwoWindows) {
  const platformWindow left = Window(200, 100);
  const platformWindow right = Window(300, 150);
  InputPointerWindowAdd(1, left);
  InputPointerWindowAdd(2, right);
  const int32_t set = SteeredSet();
  Place(left, 10, 90);
  Press(set, 11, 25);  // 20 left, past x = 0 of the first window
  ExpectPointer(set, 1, 0, 90);
  Place(left, 190, 90);
  Press(set, 29, 25);  // 20 right: into the second window
  ExpectPointer(set, 2, 10, 90);
  Press(set, 98, 100);  // 80 down: the second window is taller
  ExpectPointer(set, 2, 10, 149);
  Press(set, 11, 25);  // back into the first window, whose height clamps y
  ExpectPointer(set, 1, 190, 99);
  Place(right, 290, 5);
  Press(set, 29, 25);  // past the right edge of the last window
  ExpectPointer(set, 2, 299, 5);
  Press(set, 110, 25);
  ExpectPointer(set, 2, 299, 0);
}

TEST_F(Pointer, ALongStepCrossesWholeWindows) {
  const platformWindow a = Window(100, 100);
  const platformWindow b = Window(100, 100);
  const platformWindow c = Window(100, 100);
  InputPointerWindowAdd(1, a);
  InputPointerWindowAdd(2, b);
  InputPointerWindowAdd(3, c);
  const int32_t set = SteeredSet();
  Place(c, 50, 50);
  Press(set, 11, 250);  // 200 left: through b into a
  ExpectPointer(set, 1, 50, 50);
  Press(set, 29, 250);
  ExpectPointer(set, 3, 50, 50);
}

TEST_F(Pointer, APointerOffTheListIsNotClamped) {
  const int32_t set = SteeredSet();
  ExpectPointer(set, 0, 0, 0);
  Press(set, 11, 100);
  Press(set, 110, 100);
  ExpectPointer(set, 0, -80, -80);
}

TEST_F(Pointer, TheMappedMouseSetsWindowAndPlace) {
  const platformWindow listed = Window(300, 300);
  InputPointerWindowAdd(4, listed);
  const int32_t set = InputControlSetNew("Mapped", false);
  InputControlSetActivate(set);
  Place(listed, 40, 50);
  ExpectPointer(set, 4, 150, 150);  // map-mouse is off
  InputPointerActionBind(set, kPointerUp, 126, 100);
  Place(listed, 41, 50);
  ExpectPointer(set, 4, 41, 50);
  Place(999, 7, 8);
  ExpectPointer(set, 0, 7, 8);
  InputPointerActionBind(set, kPointerUp, 0, 100);
  InputPointerActionBind(set, 5, 17, 100);
  InputPointerActionBind(77, kPointerUp, 17, 100);
}

TEST_F(Pointer, ACodeBelongsToOnePointerActionAtATime) {
  InputPointerWindowAdd(1, Window(1000, 1000));
  const int32_t set = SteeredSet();
  InputPointerActionBind(set, kPointerLeft, 29, 100);  // D moves from Right to Left
  Press(set, 29, 100);
  ExpectPointer(set, 1, 420, 500);
  InputPointerActionBind(set, kPointerLeft, 29, 10);  // already there: the scale stays
  Press(set, 29, 100);
  ExpectPointer(set, 1, 340, 500);
}

TEST_F(Pointer, TheMenuSetSteersWithTheArrowsAtHalfSpeed) {
  // The built-in set is made before any display: it takes the first window when one comes.
  const platformWindow window = Window(640, 480);
  InputPointerWindowAdd(1, window);
  const int32_t menu = InputControlSetFind("Menu Controls");
  ExpectPointer(menu, 1, 0, 0);
  InputControlSetActivate(menu);
  Press(menu, 17, 100);  // Up Arrow: clamped at the top
  Press(menu, 14, 100);  // Down Arrow, scale 50: 40 pixels
  Press(menu, 16, 50);   // Right Arrow: 20
  ExpectPointer(menu, 1, 20, 40);
  Place(window, 300, 200);  // the mouse is mapped
  ExpectPointer(menu, 1, 300, 200);
}

}  // namespace
