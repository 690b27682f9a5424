// Real Win32 windows: styles, geometry, the messages the window procedure turns into events,
// and window regions.
#include "win32/Win32VideoFixture.h"

namespace {

TEST_F(Win32Windows, BorderStylesGeometryAndCaptionReachTheSystemWindow) {
  platformWindow window = Window(320, 200);
  HWND hwnd = Hwnd(window);
  ASSERT_TRUE(IsWindow(hwnd));
  EXPECT_FALSE(IsWindowVisible(hwnd));
  LONG_PTR style = GetWindowLongPtrA(hwnd, GWL_STYLE);
  EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
  EXPECT_EQ(style & WS_SYSMENU, WS_SYSMENU);
  RECT client;
  ASSERT_TRUE(GetClientRect(hwnd, &client));
  EXPECT_EQ(client.right, 320);
  EXPECT_EQ(client.bottom, 200);
  RECT outer;
  ASSERT_TRUE(GetWindowRect(hwnd, &outer));
  EXPECT_EQ(outer.left, 100);
  EXPECT_EQ(outer.top, 80);

  PlatformWindowShow(window);
  EXPECT_TRUE(IsWindowVisible(hwnd));
  PlatformWindowSetCaption(window, "Sanguor");
  char caption[32] = {};
  GetWindowTextA(hwnd, caption, sizeof(caption));
  EXPECT_STREQ(caption, "Sanguor");

  PlatformWindowSetBorder(window, PLATFORM_BORDER_NONE);
  style = GetWindowLongPtrA(hwnd, GWL_STYLE);
  EXPECT_EQ(style & WS_CAPTION, 0);
  EXPECT_EQ(style & WS_POPUP, WS_POPUP);
  EXPECT_TRUE(IsWindowVisible(hwnd)) << "changing the border keeps the window shown";
  PlatformWindowSetClientSize(window, 400, 300);
  PlatformWindowSetPosition(window, 30, 40);
  ASSERT_TRUE(GetWindowRect(hwnd, &outer));
  EXPECT_EQ(outer.left, 30);
  EXPECT_EQ(outer.top, 40);
  EXPECT_EQ(outer.right - outer.left, 400) << "a borderless window is all client area";
  EXPECT_EQ(PlatformWindowClientRect(window).height, 300);

  PlatformWindowSetBorder(window, PLATFORM_BORDER_FULLSCREEN);
  ASSERT_TRUE(GetWindowRect(hwnd, &outer));
  EXPECT_EQ(outer.right - outer.left, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(outer.bottom - outer.top, GetSystemMetrics(SM_CYSCREEN));

  PlatformWindowHide(window);
  EXPECT_FALSE(IsWindowVisible(hwnd));
  PlatformWindowDestroy(window);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_FALSE(PlatformWindowExists(window));
}

TEST_F(Win32Windows, SystemMessagesBecomeEventsOnlyInsideThePump) {
  win32EventLog log;
  platformWindow window = Window(200, 150);
  PlatformWindowSetHandler(window, &LogWindowEvent, &log);
  PlatformWindowShow(window);
  Settle();
  log.events.clear();

  PostMessageA(Hwnd(window), WM_CLOSE, 0, 0);
  PostMessageA(Hwnd(window), WM_DISPLAYCHANGE, 32, MAKELPARAM(1024, 768));
  PlatformWindowSetClientSize(window, 220, 170);
  EXPECT_TRUE(log.events.empty()) << "a size change outside the pump waits for it";
  PumpUntil(log, 3);
  ASSERT_EQ(log.Kinds(),
            (std::vector<platformWindowEventKind>{PLATFORM_EVENT_RESIZE, PLATFORM_EVENT_CLOSE,
                                                  PLATFORM_EVENT_DISPLAY_CHANGE}));
  EXPECT_EQ(log.events[0].width, 220);
  EXPECT_EQ(log.events[0].height, 170);
  EXPECT_TRUE(IsWindow(Hwnd(window))) << "a close request closes nothing";

  log.events.clear();
  PlatformWindowMinimize(window);
  EXPECT_TRUE(IsIconic(Hwnd(window)));
  EXPECT_TRUE(PlatformWindowIsMinimized(window));
  EXPECT_TRUE(PlatformAppIsMinimized());
  PlatformWindowRestore(window);
  EXPECT_FALSE(IsIconic(Hwnd(window)));
  PumpUntil(log, 2);
  std::vector<platformWindowEventKind> kinds = log.Kinds();
  EXPECT_NE(std::find(kinds.begin(), kinds.end(), PLATFORM_EVENT_MINIMIZE), kinds.end());
  EXPECT_NE(std::find(kinds.begin(), kinds.end(), PLATFORM_EVENT_RESTORE), kinds.end());
  EXPECT_FALSE(PlatformAppIsMinimized());

  platformWindow hidden = Window(50, 50);
  PlatformWindowMinimize(hidden);
  EXPECT_TRUE(PlatformWindowIsMinimized(hidden));
  EXPECT_FALSE(IsWindowVisible(Hwnd(hidden))) << "minimising does not show a hidden window";
  PlatformWindowShow(hidden);
  EXPECT_TRUE(IsIconic(Hwnd(hidden)));
  PlatformWindowRestore(hidden);
  EXPECT_FALSE(IsIconic(Hwnd(hidden)));
  EXPECT_FALSE(PlatformWindowIsMinimized(hidden));
}

TEST_F(Win32Windows, MouseMessagesReachTheHandlerOnlyInsideTheOutline) {
  win32EventLog log;
  platformWindow window = Window(100, 100, PLATFORM_BORDER_NONE);
  PlatformWindowSetHandler(window, &LogWindowEvent, &log);
  // A square with a triangular notch cut from its top edge.
  PlatformWindowSetShape(window, {{0, 20}, {50, 0}, {100, 20}, {100, 100}, {0, 100}});
  PostMessageA(Hwnd(window), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  PostMessageA(Hwnd(window), WM_RBUTTONDOWN, MK_RBUTTON | MK_LBUTTON, MAKELPARAM(50, 60));
  PostMessageA(Hwnd(window), WM_MOUSEMOVE, MK_RBUTTON, MAKELPARAM(51, 61));
  PostMessageA(Hwnd(window), WM_RBUTTONUP, 0, MAKELPARAM(51, 61));
  PumpUntil(log, 3);
  ASSERT_EQ(log.Kinds(),
            (std::vector<platformWindowEventKind>{
                PLATFORM_EVENT_MOUSE_DOWN, PLATFORM_EVENT_MOUSE_MOVE, PLATFORM_EVENT_MOUSE_UP}));
  EXPECT_EQ(log.events[0].button, PLATFORM_MOUSE_RIGHT);
  EXPECT_EQ(log.events[0].x, 50);
  EXPECT_EQ(log.events[0].y, 60);
  EXPECT_EQ(log.events[0].buttons,
            PlatformMouseBit(PLATFORM_MOUSE_LEFT) | PlatformMouseBit(PLATFORM_MOUSE_RIGHT));
  EXPECT_EQ(log.events[1].buttons, PlatformMouseBit(PLATFORM_MOUSE_RIGHT));
  EXPECT_EQ(log.events[2].button, PLATFORM_MOUSE_RIGHT);
}

TEST_F(Win32Windows, TheOutlineBecomesTheWindowRegion) {
  platformWindow window = Window(100, 100, PLATFORM_BORDER_NONE);
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(Hwnd(window), region), ERROR) << "no region before an outline";
  PlatformWindowSetShape(window, {{0, 20}, {50, 0}, {100, 20}, {100, 100}, {0, 100}});
  ASSERT_NE(GetWindowRgn(Hwnd(window), region), ERROR);
  int disagreements = 0;
  for (int y = 1; y < 100; y += 3) {
    for (int x = 1; x < 100; x += 3) {
      if (PtInRegion(region, x, y) != PlatformWindowShapeContains(window, x, y)) ++disagreements;
    }
  }
  // The system rasterises the polygon edges its own way; only pixels on an edge may differ.
  EXPECT_LE(disagreements, 12);
  EXPECT_FALSE(PtInRegion(region, 3, 3));
  EXPECT_TRUE(PtInRegion(region, 50, 3));
  PlatformWindowSetShape(window, {});
  EXPECT_EQ(GetWindowRgn(Hwnd(window), region), ERROR);
  EXPECT_TRUE(PlatformWindowShapeContains(window, 3, 3));
  DeleteObject(region);
}

TEST_F(Win32Windows, TheApplicationFollowsTheFocusOfItsWindows) {
  std::vector<platformAppEventKind> kinds;
  PlatformAppSetHandler(
      [](platformAppEventKind kind, void* context) {
        static_cast<std::vector<platformAppEventKind>*>(context)->push_back(kind);
      },
      &kinds);
  platformWindow window = Window(120, 90);
  PlatformWindowShow(window);
  PlatformWindowSetForeground(window);
  Settle();
  EXPECT_TRUE(PlatformAppIsActive());
  ASSERT_FALSE(kinds.empty());
  EXPECT_EQ(kinds.back(), PLATFORM_APP_ACTIVATE);
  platformWindow app = PlatformAppWindow();
  EXPECT_TRUE(IsWindow(Hwnd(app)));
  EXPECT_FALSE(IsWindowVisible(Hwnd(app)));
}

}  // namespace

namespace {

void SendMouse(DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  SendInput(1, &input, sizeof(input));
}

TEST_F(Win32Windows, DraggingFollowsTheMouseUntilTheButtonIsReleased) {
  platformWindow window = Window(100, 60, PLATFORM_BORDER_NONE, 200, 150);
  PlatformWindowShow(window);
  Settle();
  SetCursorPos(220, 160);
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  Settle();
  PlatformWindowBeginDrag(window);
  SetCursorPos(250, 180);
  Settle();
  EXPECT_EQ(PlatformWindowPosition(window).x, 230);
  EXPECT_EQ(PlatformWindowPosition(window).y, 170);
  SendMouse(MOUSEEVENTF_LEFTUP);
  Settle();
  SetCursorPos(300, 300);
  Settle();
  RECT outer;
  ASSERT_TRUE(GetWindowRect(Hwnd(window), &outer));
  EXPECT_EQ(outer.left, 230) << "the drag ended with the button";
  EXPECT_EQ(outer.top, 170);
}

}  // namespace
