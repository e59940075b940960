// The steps of a transfer one at a time, for a program that checks what a source does at each: the
// page's description (state 6 or 7), a native transfer left unended (state 7) and its end alone.
#ifndef SCANLINK_SESSION_TRANSFER_STEPS_H
#define SCANLINK_SESSION_TRANSFER_STEPS_H

#include <optional>

#include "twain/twain.h"

// DG_IMAGE / DAT_IMAGEINFO / MSG_GET. True when the source described the page.
bool readImageInfo(TW_IMAGEINFO& info);
// Takes the announced page by native transfer and frees it at once, leaving the transfer in state
// 7 for the caller to end or cancel. True in state 7.
bool transferWithoutEnding();
// DG_CONTROL / DAT_PENDINGXFERS / MSG_ENDXFER in state 7, and nothing more: state 6 while the
// source reports transfers pending, else 5. The Count it reports, or none when it refused.
std::optional<TW_UINT16> endTransfer();

#endif
