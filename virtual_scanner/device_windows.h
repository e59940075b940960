// The device's own windows, as drivers make them: a dialog with a Scan (IDOK) and a Cancel
// (IDCANCEL) button, and a progress window. Each is created on the calling thread, as drivers
// create theirs on the application's thread inside its triplets, and belongs to it: only that
// thread can destroy it, and a message sent to it from another thread waits until that thread
// takes messages. A press of a button is a WM_COMMAND posted to the dialog, as a click makes it.
#ifndef VIRTUAL_SCANNER_DEVICE_WINDOWS_H
#define VIRTUAL_SCANNER_DEVICE_WINDOWS_H

#include <windows.h>

namespace vscan {

// What the device sends its own windows from inside triplets: the dialog's status line, the
// progress window's percentage.
inline constexpr UINT kStatusMessage = WM_USER + 0x51;
inline constexpr UINT kProgressMessage = WM_USER + 0x52;

// A window with this title on the calling thread; 0 when it cannot be made.
HWND createDeviceWindow(const char* title);

// Destroyed by its own thread at once; from any other thread it is asked to close, which it does
// when its thread next takes its messages, as on Windows.
void closeDeviceWindow(HWND window);

// The button pressed in a dialog that is not run modally (a WM_COMMAND taken from the application's
// queue and offered to the source), or 0 for any other message.
int pressIn(HWND dialog, const MSG& msg);

// Runs the calling thread's messages until a button of the dialog is pressed: that button. 0 when
// the dialog went away or WM_QUIT came, which is posted again for the loop outside.
int runModal(HWND dialog);

// The name of the device's window class once it is registered, else null. A module that is
// unloaded unregisters it, so that one loaded again at the same address can register it anew.
const char* registeredDeviceClass();

// How many messages the device's windows have received that it sent them itself.
long deviceMessagesReceived();

}  // namespace vscan

#endif
