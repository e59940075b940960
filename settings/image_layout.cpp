#include "settings/image_layout.h"

#include "session/dsm_binding.h"
#include "session/twain_session.h"
#include "settings/capability_access.h"

TW_FRAME fix32Frame(double left, double top, double right, double bottom) {
    return TW_FRAME{toFix32(left), toFix32(top), toFix32(right), toFix32(bottom)};
}

bool sendFrame(const TW_FRAME& frame) {
    if (twainSession.state < kStateSourceOpen) {
        return false;
    }
    TW_IMAGELAYOUT layout = {};
    layout.Frame = frame;
    layout.DocumentNumber = 1;
    layout.PageNumber = 1;
    layout.FrameNumber = 1;
    return dsmCall(&twainSession.sourceIdentity, DG_IMAGE, DAT_IMAGELAYOUT, MSG_SET, &layout);
}

std::optional<TW_FRAME> readFrame() {
    TW_IMAGELAYOUT layout = {};
    if (twainSession.state < kStateSourceOpen ||
        !dsmCall(&twainSession.sourceIdentity, DG_IMAGE, DAT_IMAGELAYOUT, MSG_GET, &layout)) {
        return std::nullopt;
    }
    return layout.Frame;
}
