// The tables and conversions of the Windows input part: the US layout's scan codes and the
// multimedia joystick interface's readings, with no device plugged in.
#include <gtest/gtest.h>

#include "platform/common/joystick_controls.h"
#include "platform/platform.h"
#include "platform/win32/input/win32_joystick_reading.h"

namespace {

TEST(Win32InputTables, ScanCodesMapToTheKeysOfTheUsLayout) {
  EXPECT_EQ(PlatformMapScanCodeToVirtualKeyEx(0x36), PLATFORM_VK_RSHIFT);
  EXPECT_EQ(PlatformMapScanCodeToVirtualKeyEx(0x2A), PLATFORM_VK_LSHIFT);
  EXPECT_EQ(PlatformMapScanCodeToVirtualKeyEx(0x1D), PLATFORM_VK_LCONTROL);
  EXPECT_EQ(PlatformMapScanCodeToVirtualKeyEx(0x45), PLATFORM_VK_NUMLOCK);
  EXPECT_EQ(PlatformMapScanCodeToVirtualKeyEx(0x47), PLATFORM_VK_HOME);
  EXPECT_EQ(PlatformMapScanCodeToVirtualKeyEx(0x37), PLATFORM_VK_MULTIPLY);
  EXPECT_EQ(PlatformMapScanCodeToVirtualKeyEx(0x76), PLATFORM_VK_F24);
  // The system's own table differs here under Wine (0 gives a media key).
  EXPECT_EQ(PlatformMapScanCodeToVirtualKeyEx(0x00), 0u);
  EXPECT_EQ(PlatformMapScanCodeToVirtualKeyEx(0x7F), 0u);
}

TEST(Win32InputTables, PointOfViewAnglesBecomeHatDirections) {
  EXPECT_EQ(JoystickPovDirections(0), JOYSTICK_HAT_UP);
  EXPECT_EQ(JoystickPovDirections(4500), JOYSTICK_HAT_UP | JOYSTICK_HAT_RIGHT);
  EXPECT_EQ(JoystickPovDirections(9000), JOYSTICK_HAT_RIGHT);
  EXPECT_EQ(JoystickPovDirections(18000), JOYSTICK_HAT_DOWN);
  EXPECT_EQ(JoystickPovDirections(22500), JOYSTICK_HAT_DOWN | JOYSTICK_HAT_LEFT);
  EXPECT_EQ(JoystickPovDirections(27000), JOYSTICK_HAT_LEFT);
  EXPECT_EQ(JoystickPovDirections(31500), JOYSTICK_HAT_LEFT | JOYSTICK_HAT_UP);
  EXPECT_EQ(JoystickPovDirections(0xFFFF), 0u);
}

TEST(Win32InputTables, AxisPositionsSpanTheSignedRangeWhateverTheDevicesRange) {
  EXPECT_EQ(JoystickAxisValue(0, 0, 65535), -32767);
  EXPECT_EQ(JoystickAxisValue(65535, 0, 65535), 32767);
  EXPECT_EQ(JoystickAxisValue(50, 0, 100), 0);
  EXPECT_EQ(JoystickAxisValue(10, 0, 100), -26213);  // 80 % toward the minimum
  EXPECT_EQ(JoystickAxisValue(500, 0, 100), 32767);
  EXPECT_EQ(JoystickAxisValue(7, 7, 7), 0);
}

TEST(Win32InputTables, OnlyPadsWithAHatAndEightButtonsUseThePadLayout) {
  EXPECT_TRUE(JoystickIsGamePad(10, PLATFORM_JOYCAPS_HASPOV | PLATFORM_JOYCAPS_HASZ));
  EXPECT_FALSE(JoystickIsGamePad(10, PLATFORM_JOYCAPS_HASZ));
  EXPECT_FALSE(JoystickIsGamePad(4, PLATFORM_JOYCAPS_HASPOV));
}

TEST(Win32InputTables, AbsentJoysticksAreNeitherReadNorNamed) {
  // Wine answers JOYERR_PARMS for ids without a device, Windows JOYERR_UNPLUGGED.
  const int32_t count = PlatformJoystickDeviceCount();
  ASSERT_GE(count, 0);
  for (int32_t id = 0; id < count; ++id) {
    platformJoystickPosition position;
    platformJoystickCaps caps;
    EXPECT_FALSE(PlatformJoystickPosition(id, position));
    EXPECT_FALSE(PlatformJoystickCapabilities(id, caps));
    EXPECT_EQ(PlatformJoystickInstance(id), -1);
  }
  EXPECT_EQ(PlatformJoystickInstance(count), -1);
  EXPECT_EQ(PlatformJoystickPadControl(0, PLATFORM_PAD_SOUTH), 0);
}

}  // namespace
