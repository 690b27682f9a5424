// The launcher window: its outline, its picture, its hidden buttons and their helpers.
#include <gtest/gtest.h>

#include "ShellTestSupport.h"
#include "images/fwkImage.h"
#include "platform/platform.h"
#include "shell/LauncherOutline.h"
#include "shell/UntMain.h"

namespace {

class ShellLauncher : public testing::Test {
 protected:
  void SetUp() override {
    box = ShellStart();
    mainForm = new TmainForm();
    mainForm->MainInterfaceDrawRegions();
  }
  void TearDown() override {
    delete mainForm;
    mainForm = nullptr;
    ShellStop();
  }
  shellSandbox box;
};

TEST_F(ShellLauncher, OutlineHasStraightSidesAndAnArchedTopWithinTheWindow) {
  const std::vector<platformPoint>& region = mainForm->windowRegion;
  ASSERT_GT(region.size(), 20u);
  int32_t highest = 1000;
  for (const platformPoint& point : region) {
    EXPECT_GE(point.x, 0);
    EXPECT_LE(point.x, 360);
    EXPECT_GE(point.y, -1);
    EXPECT_LE(point.y, 405);
    highest = std::min(highest, point.y);
  }
  EXPECT_LE(highest, 1);
  const platformWindow window = mainForm->Handle();
  EXPECT_EQ(PlatformWindowClientRect(window).width, 360);
  EXPECT_EQ(PlatformWindowClientRect(window).height, 405);
  // The corners above the arch are outside; the middle, the top centre and the bottom are inside.
  EXPECT_FALSE(PlatformWindowShapeContains(window, 2, 2));
  EXPECT_FALSE(PlatformWindowShapeContains(window, 357, 2));
  EXPECT_TRUE(PlatformWindowShapeContains(window, 180, 3));
  EXPECT_TRUE(PlatformWindowShapeContains(window, 180, 200));
  EXPECT_TRUE(PlatformWindowShapeContains(window, 2, 400));
  EXPECT_TRUE(PlatformWindowShapeContains(window, 357, 400));
}

TEST_F(ShellLauncher, ThePictureIsTheBackgroundFileWithEveryButtonHidden) {
  int32_t width = 0, height = 0;
  std::vector<uint32_t> shown;
  ASSERT_TRUE(PlatformWindowPicture(mainForm->Handle(), width, height, shown));
  ASSERT_EQ(width, 360);
  ASSERT_EQ(height, 405);
  imageData* file = nullptr;
  ImageOpen("Launcher.bmp", file);
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(file->width, 360);
  // Over the buttons' places too, the window shows the background.
  for (int32_t y : {5, 100, 270, 330, 370, 404})
    for (int32_t x : {0, 90, 180, 200, 359})
      EXPECT_EQ(shown[static_cast<size_t>(y) * 360 + x],
                file->pixels[static_cast<size_t>(y) * 360 + x] & 0xFFFFFFu)
          << x << "," << y;
  ImageFree(file);
}

TEST_F(ShellLauncher, ButtonsExistHiddenDisabledWithoutPictureAtTheirPlaces) {
  struct expected {
    const launcherImage* image;
    int32_t left, top, width, height;
  };
  const expected buttons[] = {
      {&mainForm->imgPlay, 80, 264, 201, 41},     {&mainForm->imgInstall, 80, 264, 201, 41},
      {&mainForm->imgCases, 80, 320, 89, 25},     {&mainForm->imgManual, 192, 320, 89, 25},
      {&mainForm->imgUninstall, 80, 360, 89, 25}, {&mainForm->imgExit, 192, 360, 89, 25}};
  for (const expected& button : buttons) {
    EXPECT_FALSE(button.image->visible);
    EXPECT_FALSE(button.image->enabled);
    EXPECT_EQ(button.image->tag, -1);
    EXPECT_EQ(button.image->left, button.left);
    EXPECT_EQ(button.image->top, button.top);
    EXPECT_EQ(button.image->width, button.width);
    EXPECT_EQ(button.image->height, button.height);
  }
  EXPECT_EQ(mainForm->imgListPlayGame.pictures.size(), 3u);
  EXPECT_EQ(mainForm->imgListExit.width, 89);
}

TEST_F(ShellLauncher, MouseInImageIncludesTheLastPixelAndNoMore) {
  const launcherImage& exit = mainForm->imgExit;
  EXPECT_TRUE(mainForm->MainInterfaceMouseInImage(192, 360, exit));
  EXPECT_TRUE(mainForm->MainInterfaceMouseInImage(280, 384, exit));
  EXPECT_FALSE(mainForm->MainInterfaceMouseInImage(281, 384, exit));
  EXPECT_FALSE(mainForm->MainInterfaceMouseInImage(280, 385, exit));
  EXPECT_FALSE(mainForm->MainInterfaceMouseInImage(191, 370, exit));
}

TEST_F(ShellLauncher, SetButtonImageTakesThePictureAndEnablesOnlyTheHoverOne) {
  launcherImage& exit = mainForm->imgExit;
  mainForm->MainInterfaceSetButtonImage(exit, mainForm->imgListExit, 2);
  EXPECT_EQ(exit.tag, 2);
  EXPECT_TRUE(exit.enabled);
  EXPECT_EQ(exit.picture, mainForm->imgListExit.pictures[2]);
  EXPECT_EQ(mainForm->zOrder.front(), &exit);
  mainForm->MainInterfaceSetButtonImage(exit, mainForm->imgListExit, 1);
  EXPECT_FALSE(exit.enabled);
  EXPECT_EQ(exit.picture, mainForm->imgListExit.pictures[1]);
  // The same index again changes nothing, not even the order.
  mainForm->MainInterfaceSetButtonImage(mainForm->imgCases, mainForm->imgListCases, 0);
  mainForm->MainInterfaceSetButtonImage(exit, mainForm->imgListExit, 1);
  EXPECT_EQ(mainForm->zOrder.front(), &mainForm->imgCases);
  // An index past the list shows no picture instead of reading past it.
  mainForm->MainInterfaceSetButtonImage(exit, mainForm->imgListExit, 7);
  EXPECT_TRUE(exit.picture.empty());
  EXPECT_EQ(exit.tag, 7);
}

TEST_F(ShellLauncher, ClosingTheLauncherWhenNoGameRunsFreesIt) {
  mainForm->Close();
  EXPECT_TRUE(mainForm->Closed());
  EXPECT_TRUE(mainForm->windowRegion.empty());
}

}  // namespace
