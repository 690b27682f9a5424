// The input module: keyboard, mouse and joysticks become controls with integer codes and
// percentage values; changes are posted into the active control set, whose actions turn
// bound controls into action events and whose pointer can be steered over the display
// windows. Control sets marked for saving are written to the settings file at shutdown.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform_input.h"

// 1..113 keyboard keys, 114..126 mouse controls, 127 and up joystick controls (45 per
// joystick). 0 and negative values mean "no control".
using ControlCode = int32_t;

constexpr ControlCode kControlKeyLast = 113;
constexpr ControlCode kControlMouseLast = 126;
constexpr int32_t kControlsPerJoystick = 45;

// One queued change: a control code (control queue) or an action id (action queue), the
// value, and the handled flag (0 when queued).
struct inputEvent {
  int32_t identifier;
  int32_t value;
  int32_t handled;
};

struct inputBuffer {
  std::vector<inputEvent> events;
};

// Pointer actions, by number.
constexpr int32_t kPointerDown = 1;
constexpr int32_t kPointerLeft = 2;
constexpr int32_t kPointerRight = 3;
constexpr int32_t kPointerUp = 4;

// Joystick sub-controls 1..45 of one joystick.
constexpr int32_t kJoyButtonLast = 32;
constexpr int32_t kJoyPovHat = 33;
constexpr int32_t kJoyRAxisDown = 34;
constexpr int32_t kJoyRAxisUp = 35;
constexpr int32_t kJoyUAxisDown = 36;
constexpr int32_t kJoyUAxisUp = 37;
constexpr int32_t kJoyVAxisDown = 38;
constexpr int32_t kJoyVAxisUp = 39;
constexpr int32_t kJoyXAxisLeft = 40;
constexpr int32_t kJoyXAxisRight = 41;
constexpr int32_t kJoyYAxisDown = 42;
constexpr int32_t kJoyYAxisUp = 43;
constexpr int32_t kJoyZAxisDown = 44;
constexpr int32_t kJoyZAxisUp = 45;

void InputInit();
void InputFinal();

// The hooks need two facts the display layer owns: whether the program runs full screen,
// and the window of the display made current last. The graphics module supplies them at its
// start-up; until then the program counts as windowed with no current window.
using inputFullscreenQuery = bool (*)();
using inputCurrentWindowQuery = platformWindow (*)();
void InputSetDisplayQueries(inputFullscreenQuery isFullscreen,
                            inputCurrentWindowQuery currentWindow);

// Device side.
void InputMessage(platformWindow window, uint32_t message, uintptr_t wParam, intptr_t lParam);
void InputKeyboardHookOn();
void InputKeyboardHookOff();
void InputMouseHookOn();
void InputMouseHookOff();
bool InputKeyboardHookInstalled();
bool InputMouseHookInstalled();
// message is the key message, flags the key message flags (scan code in bits 16..23,
// extended flag in bit 24).
ControlCode InputKeyToControl(uint32_t message, uint32_t virtualKey, uint32_t flags);
bool InputMouseButtonsSwapped();

// The procedures the hooks run; the platform calls them for every event while installed.
intptr_t InputKeyboardHookProc(int32_t code, uint32_t message,
                               const platformKeyboardHookEvent& event);
intptr_t InputKeyboardLegacyHookProc(int32_t code, uint32_t virtualKey, uint32_t flags);
intptr_t InputMouseHookProc(int32_t code, uint32_t message, const platformMouseHookEvent& event);

// Control level.
void InputControlPost(int32_t set, ControlCode code, int32_t value);
int32_t InputControlValue(int32_t set, ControlCode code);
void InputControlEventsTake(int32_t set, inputBuffer& out);
bool InputControlIsAxis(ControlCode code);
ControlCode InputAxisControl(int32_t n);
std::string InputControlName(ControlCode code);
std::string InputControlSaveName(ControlCode code);

// Pointer.
void InputPointerWindowAdd(int32_t display, platformWindow window);
void InputPointerWindowRemove(int32_t display);
void InputPointerWindowSetHandle(int32_t display, platformWindow window);
void InputPointerWindowSize(int32_t display, int32_t& width, int32_t& height);
void InputPointerActionBind(int32_t set, int32_t pointerAction, ControlCode code, uint8_t scale);
void InputPointerGet(int32_t set, int32_t& window, int32_t& x, int32_t& y);
// Puts the set's pointer on a display window at (x, y), kept inside the window's client area
// when the window is listed; the keys and the mouse steer it on from there.
void InputPointerSet(int32_t set, int32_t window, int32_t x, int32_t y);

// Control sets.
int32_t InputControlSetNew(const std::string& name, bool save);
bool InputControlSetExists(const std::string& name);
int32_t InputControlSetFind(const std::string& name);
void InputControlSetActivate(int32_t set);
int32_t InputControlSetActive();

// Actions.
int32_t InputActionNew(int32_t set, const std::string& name);
int32_t InputActionFind(int32_t set, const std::string& name);
int32_t InputActionCount(int32_t set);
int32_t InputActionByIndex(int32_t set, int32_t index);
std::string InputActionName(int32_t action);
void InputActionBind(int32_t action, ControlCode code, uint8_t scale);
void InputActionUnbindAll(int32_t action);
ControlCode InputActionBinding(int32_t action, int32_t index);
int32_t InputActionOfControl(int32_t set, ControlCode code);
int32_t InputActionValue(int32_t action);

// Action event queues.
void InputActionEventsRead(int32_t set, inputBuffer& out, bool clear);
void InputActionEventsTake(int32_t set, inputBuffer& out);
void InputActionEventMarkHandled(int32_t set, int32_t index);

// Settings.
void InputControlSetSave(int32_t set);
void InputControlSetSaveAll();
// Reads the set back from its section of the settings file when the section exists: each
// action listed there gets the listed bindings, the pointer its map-mouse flag and bindings. An
// entry that does not read is logged and the bindings it belongs to stay as they were.
void InputControlSetLoad(int32_t set);
// One binding as the save writes it: a control's save name, a blank, the scale (0..255).
// Controller names read whether or not the controller is plugged in. False for anything else.
bool InputBindingRead(const std::string& text, ControlCode& code, uint8_t& scale);
// The code of a save name (any letter case); 0 when there is none.
ControlCode InputControlFromSaveName(const std::string& name);

// The actions of the built-in "Menu Controls" set (0 before InputInit).
struct inputMenuActions {
  int32_t scrollUp;
  int32_t scrollDown;
  int32_t exit;
  int32_t selectItem;
  int32_t selectItemSecondary;
};
const inputMenuActions& InputMenuActions();

// Joysticks, listed once at start-up.
void InputJoystickEnumerate();
int32_t InputJoystickCount();
ControlCode InputJoystickControl(int32_t joystick, int32_t subControl);
std::string InputJoystickName(int32_t joystick);
// The control of a pad's button by its place (south, east, start, d-pad), -1 when the
// controller is not plugged in or has no such button.
ControlCode InputJoystickPadControl(int32_t index, platformPadButton button);
