// Backend-internal: how the pieces of the Windows input part reach each other.
#pragma once

#include <windows.h>

#include "platform/platform_input.h"

// The input part's own posted message: one injected event waits at the front of the queue.
constexpr UINT kWin32InjectedInput = WM_APP + 0x100;

// True while a system hook of the kind feeds the program's chain: device input then reaches
// the chain there, before any window sees it, and must not run through it again.
bool Win32SystemHookActive(platformHookKind kind);
// A device message of the kind reached a window: a key's press (WM_KEYDOWN) or release
// (WM_KEYUP), or a mouse button or wheel message, stamped messageTime (GetMessageTime). True
// when the system hook did not see it, having been removed by the system: it is then installed
// again, and the caller runs the chain for this message itself.
bool Win32SystemHookMissed(platformHookKind kind, UINT message, DWORD messageTime);
// The system mouse hook is given up while the program is inactive and taken again on its
// return; called by every pump pass.
void Win32SystemHooksFollowActivity(bool active);
// Removes the system hook the way Windows does when it times out: the program keeps its
// handle and is not told. For tests (Wine never removes a hook).
void Win32SystemHookDropSilently(platformHookKind kind);

// Hands a message that no hook swallowed to the application's message handler.
void Win32InputDeliver(platformWindow window, uint32_t message, uintptr_t wParam, intptr_t lParam);
// A mouse message, real or injected, through the mouse hooks (unless a system hook has seen
// it already) and on to the handler. True when a hook swallowed it.
bool Win32InputMouseMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                            bool hooksSeen);
// Sends an injected mouse message that the hooks have passed to its window, whose procedure
// then hands it on without running the hooks again.
void Win32InputReplay(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the injected event at the front of the queue (the posted message has arrived).
void Win32InputInjectedArrived();

// The joystick poll of every pump pass.
void Win32JoysticksPoll();
