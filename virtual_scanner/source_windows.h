// What the source does with windows while it is enabled, as real drivers do, each behaviour
// switched on by a knob:
// - "ui.dialog": with its interface shown, its own dialog, made on the thread that enabled it;
//   with "ui.modal" it runs that dialog's message loop inside MSG_ENABLEDS until Scan or Cancel;
//   with "ui.manual" (or modal) the virtual user does not press Scan by itself, so a test presses
//   the buttons, and the presses reach the source as messages offered with MSG_PROCESSEVENT;
// - "ui.progress": a progress window from the native transfer to its end while CAP_INDICATORS is
//   TRUE;
// - "ui.disable_parent": the application's window disabled at MSG_ENABLEDS and enabled again at
//   MSG_DISABLEDS, which from another thread is a message sent to the window's own thread;
// - "ui.send_messages": messages sent to its own windows from inside its triplets.
// Windows are made and destroyed by the thread of the triplet, whichever that is: a dialog made on
// one thread and destroyed from another stays, as it does under Windows.
#ifndef VIRTUAL_SCANNER_SOURCE_WINDOWS_H
#define VIRTUAL_SCANNER_SOURCE_WINDOWS_H

#include <windows.h>

#include "source_core.h"

namespace vscan {

class SourceWindows {
  public:
    explicit SourceWindows(SourceCore& core) : core_(core) {}

    // Whether the first scan of this enable waits for Scan in the dialog, and whether every scan
    // does (the user is left to a test).
    bool waitsForUser() const;
    bool userIsManual() const;
    // The source has just been enabled. The button pressed in a modal dialog, else 0.
    int enabled();
    // The source has just been disabled.
    void disabled();
    // The source is closed whatever its state: its windows close, by their own threads.
    void abandon();
    // The button a message offered to the source presses in its dialog, or 0.
    int pressIn(const MSG& msg) const;
    // The source took one of its own messages.
    void notifyDialog();
    void transferStarting(bool indicators);
    void transferEnded();

    HWND dialog() const { return dialog_; }
    HWND progress() const { return progress_; }

  private:
    bool knob(const char* name) const;
    bool dialogShown() const;
    HWND parent() const;
    void send(HWND window, UINT message, WPARAM wParam);

    SourceCore& core_;
    HWND dialog_ = {};
    HWND progress_ = {};
};

}  // namespace vscan

#endif
