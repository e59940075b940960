// What both virtual managers do alike: the modal "Select Source" dialog of MSG_USERSELECT, and
// the answer to a status request.
#ifndef VIRTUAL_SCANNER_MANAGER_DIALOG_H
#define VIRTUAL_SCANNER_MANAGER_DIALOG_H

#include "script.h"
#include "twain/twain.h"

namespace vscan {

// With the knob "manager.dialog", shows the dialog on the calling thread, with the application's
// window disabled meanwhile as real managers do, and answers the button pressed: IDOK or IDCANCEL.
// The virtual user presses OK at once unless "ui.manual" leaves the buttons to a test. Without
// the knob there is no dialog and the answer is IDOK. `shown` holds the dialog while it is up.
// The caller holds the scanner's lock, which is let go while the dialog runs.
int selectSourceDialog(const Script& script, HWND owner, HWND& shown);

// Fills a status record with the manager's condition code, which it reports once, then forgets
// while open. False for a request that is not MSG_GET with a record.
bool reportStatus(TW_UINT16 msg, TW_STATUS* status, TW_UINT16& conditionCode, bool open);

}  // namespace vscan

#endif
