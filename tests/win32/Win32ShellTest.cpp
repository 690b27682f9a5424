// Message boxes, window pictures painted by GDI, and the keep-awake pulse.
#include <thread>

#include "platform/platform_shell.h"
#include "win32/Win32VideoFixture.h"

namespace {

TEST_F(Win32Headless, MessageBoxesAreAnsweredOnStandardError) {
  PlatformMessageBoxHistoryClear();
  PlatformSetArguments({"-headless"});
  testing::internal::CaptureStderr();
  EXPECT_EQ(
      PlatformMessageBox("Quit the game?", "Sanguor", kPlatformBoxYesNo | kPlatformBoxIconQuestion),
      kPlatformAnswerYes);
  PlatformSetArguments({"-headless", "-answerno"});
  EXPECT_EQ(PlatformMessageBox("Quit the game?", "Sanguor", kPlatformBoxYesNo), kPlatformAnswerNo);
  EXPECT_EQ(PlatformMessageBox("Saved.", "Sanguor", kPlatformBoxOk | kPlatformBoxIconInformation),
            kPlatformAnswerOk);
  std::string written = testing::internal::GetCapturedStderr();
  EXPECT_NE(written.find("[Sanguor] Quit the game?\n[Sanguor] answered Yes"), std::string::npos)
      << written;
  EXPECT_NE(written.find("[Sanguor] answered No"), std::string::npos);
  ASSERT_EQ(PlatformMessageBoxHistory().size(), 3u);
  EXPECT_EQ(PlatformMessageBoxHistory()[1].answer, kPlatformAnswerNo);
  EXPECT_EQ(PlatformMessageBoxHistory()[2].flags, kPlatformBoxOk | kPlatformBoxIconInformation);
  PlatformSetArguments({});
  PlatformMessageBoxHistoryClear();
}

TEST_F(Win32Windows, MessageBoxesAreRealBoxesInAWindowSession) {
  PlatformMessageBoxHistoryClear();
  // Somebody at the desktop answers No once the box is up.
  std::thread user([] {
    for (int tries = 0; tries < 500; ++tries) {
      if (HWND box = FindWindowA("#32770", "Sanguor question")) {
        PostMessageA(box, WM_COMMAND, IDNO, 0);
        return;
      }
      Sleep(10);
    }
  });
  int32_t answer = PlatformMessageBox("Quit the game?", "Sanguor question",
                                      kPlatformBoxYesNo | kPlatformBoxIconQuestion);
  user.join();
  EXPECT_EQ(answer, kPlatformAnswerNo);
  ASSERT_EQ(PlatformMessageBoxHistory().size(), 1u);
  EXPECT_EQ(PlatformMessageBoxHistory()[0].answer, kPlatformAnswerNo);
  PlatformMessageBoxHistoryClear();
}

TEST_F(Win32Windows, PicturesArePaintedIntoTheWindow) {
  platformWindow window = Window(40, 20, PLATFORM_BORDER_NONE);
  PlatformWindowShow(window);
  Settle();
  std::vector<uint32_t> pixels(40 * 20, 0x00204080u);
  for (int x = 0; x < 40; ++x) pixels[x] = 0x00FF0000u;  // a red top row
  PlatformWindowSetPicture(window, 40, 20, pixels);
  Settle();
  HDC dc = GetDC(Hwnd(window));
  EXPECT_EQ(GetPixel(dc, 5, 0), RGB(0xFF, 0, 0));
  EXPECT_EQ(GetPixel(dc, 20, 10), RGB(0x20, 0x40, 0x80));
  // Covered and shown again: the window paints its picture once more.
  RECT all{0, 0, 40, 20};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(GetPixel(dc, 20, 10), RGB(0, 0, 0));
  InvalidateRect(Hwnd(window), nullptr, FALSE);
  Settle();
  EXPECT_EQ(GetPixel(dc, 20, 10), RGB(0x20, 0x40, 0x80));
  ReleaseDC(Hwnd(window), dc);

  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> kept;
  ASSERT_TRUE(PlatformWindowPicture(window, width, height, kept));
  EXPECT_EQ(kept, pixels);
  PlatformWindowSetPicture(window, 0, 0, {});
  EXPECT_FALSE(PlatformWindowPicture(window, width, height, kept));
}

TEST_F(Win32Windows, TheKeepAwakePulseIsInputTheSystemSees) {
  PlatformKeepAwakePulseCountReset();
  LASTINPUTINFO before{sizeof(LASTINPUTINFO), 0};
  GetLastInputInfo(&before);
  Sleep(50);
  PlatformKeepAwakePulse();
  LASTINPUTINFO after{sizeof(LASTINPUTINFO), 0};
  GetLastInputInfo(&after);
  EXPECT_GT(after.dwTime, before.dwTime);
  EXPECT_EQ(PlatformKeepAwakePulseCount(), 1u);
  EXPECT_TRUE(PlatformKeepAwakeHeld());
  PlatformKeepAwakePulseCountReset();
  EXPECT_EQ(PlatformKeepAwakePulseCount(), 0u);
}

TEST_F(Win32Headless, HeadlessPulsesAreCountedButSendNothing) {
  // The last input time belongs to the whole X display, which other programs' windows and
  // input may move at any moment; a pulse that sent input would move it on every try, so one
  // quiet try shows that the pulses sent nothing.
  LASTINPUTINFO before{sizeof(LASTINPUTINFO), 0};
  LASTINPUTINFO after{sizeof(LASTINPUTINFO), 0};
  for (int tries = 0; tries < 5; ++tries) {
    PlatformKeepAwakePulseCountReset();
    GetLastInputInfo(&before);
    Sleep(50);
    PlatformKeepAwakePulse();
    PlatformKeepAwakePulse();
    Sleep(50);
    GetLastInputInfo(&after);
    if (after.dwTime == before.dwTime) break;
  }
  EXPECT_EQ(after.dwTime, before.dwTime);
  EXPECT_EQ(PlatformKeepAwakePulseCount(), 2u);
  PlatformKeepAwakePulseCountReset();
}

}  // namespace
