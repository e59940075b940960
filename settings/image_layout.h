// The scan frame to the fraction of a unit: DG_IMAGE / DAT_IMAGELAYOUT sent with each edge the
// nearest 1/65536 (toFix32), and read back, so that the caller learns what the source took. The
// whole-unit frame of TwainEx.setFrame stays as it is (session/frame.cpp).
#ifndef SCANLINK_SETTINGS_IMAGE_LAYOUT_H
#define SCANLINK_SETTINGS_IMAGE_LAYOUT_H

#include <optional>

#include "twain/twain.h"

// The frame of four edges in the source's current units; every edge must fit a TW_FIX32
// (fitsFix32), which the caller checks.
TW_FRAME fix32Frame(double left, double top, double right, double bottom);

// MSG_SET of a layout holding the frame, as document 1, page 1, frame 1. True when the source
// took it, exactly (TWRC_SUCCESS) or changed (TWRC_CHECKSTATUS), as the session's codes tell.
// Both requests need an open source: without one nothing is sent and the codes stay as they were.
bool sendFrame(const TW_FRAME& frame);

// MSG_GET of the layout: the frame the source scans now; none when the request failed.
std::optional<TW_FRAME> readFrame();

#endif
