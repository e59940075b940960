#include "trace/triplet_trace.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "settings/capability_access.h"
#include "trace/container_text.h"
#include "trace/joined.h"
#include "trace/trace.h"
#include "trace/twain_names.h"

namespace {

std::string identityText(const TW_IDENTITY& identity) {
    char text[128];
    std::snprintf(text, sizeof(text), "\"%.33s\" (Id %lu)", identity.ProductName,
                  static_cast<unsigned long>(identity.Id));
    return text;
}

// A frame's edges to the fraction that their TW_FIX32 carry.
std::string frameText(const TW_FRAME& frame) {
    char text[128];
    std::snprintf(text, sizeof(text), "frame %.10g, %.10g, %.10g, %.10g", fromFix32(frame.Left),
                  fromFix32(frame.Top), fromFix32(frame.Right), fromFix32(frame.Bottom));
    return text;
}

// What DAT_IMAGEINFO tells of the page, the fields that a page is checked against.
std::string imageInfoText(const TW_IMAGEINFO& info) {
    char text[256];
    std::snprintf(text, sizeof(text),
                  "XResolution %.10g YResolution %.10g ImageWidth %ld ImageLength %ld "
                  "SamplesPerPixel %d BitsPerPixel %d PixelType %d Compression %u",
                  fromFix32(info.XResolution), fromFix32(info.YResolution),
                  static_cast<long>(info.ImageWidth), static_cast<long>(info.ImageLength),
                  info.SamplesPerPixel, info.BitsPerPixel, info.PixelType, info.Compression);
    return text;
}

// What the application sends, before the triplet goes out.
std::string requestText(TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data) {
    if (data == nullptr) {
        return "";
    }
    switch (dat) {
        case DAT_CAPABILITY: {
            const auto& capability = *static_cast<const TW_CAPABILITY*>(data);
            std::string text = joined(" ", capabilityName(capability.Cap));
            if (msg == MSG_SET) {
                text.append(" ").append(
                    describeContainer(capability.ConType, capability.hContainer));
            }
            return text;
        }
        case DAT_USERINTERFACE: {
            const auto& ui = *static_cast<const TW_USERINTERFACE*>(data);
            return joined(" ShowUI ", std::to_string(ui.ShowUI), " ModalUI ",
                          std::to_string(ui.ModalUI));
        }
        case DAT_IMAGELAYOUT:
            return msg == MSG_SET
                       ? joined(" ", frameText(static_cast<const TW_IMAGELAYOUT*>(data)->Frame))
                       : "";
        case DAT_EVENT: {
            const auto* message =
                static_cast<const MSG*>(static_cast<const TW_EVENT*>(data)->pEvent);
            char text[32];
            std::snprintf(text, sizeof(text), " message 0x%04X",
                          message ? static_cast<unsigned>(message->message) : 0u);
            return text;
        }
        default:
            return "";
    }
}

// What the source or the manager gave back.
std::string answerText(TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data, TW_UINT16 resultCode) {
    if (data == nullptr) {
        return "";
    }
    const bool succeeded = resultCode == TWRC_SUCCESS || resultCode == TWRC_CHECKSTATUS;
    switch (dat) {
        case DAT_CAPABILITY: {
            const auto& capability = *static_cast<const TW_CAPABILITY*>(data);
            return msg != MSG_SET && succeeded
                       ? joined(": ", describeContainer(capability.ConType, capability.hContainer))
                       : "";
        }
        case DAT_IDENTITY:
            return (msg == MSG_OPENDS || msg == MSG_USERSELECT) && succeeded
                       ? joined(": ", identityText(*static_cast<const TW_IDENTITY*>(data)))
                       : "";
        case DAT_EVENT: {
            const TW_UINT16 notice = static_cast<const TW_EVENT*>(data)->TWMessage;
            return notice != MSG_NULL ? joined(": ", messageName(notice)) : "";
        }
        case DAT_IMAGELAYOUT:
            return msg != MSG_SET && succeeded
                       ? joined(": ", frameText(static_cast<const TW_IMAGELAYOUT*>(data)->Frame))
                       : "";
        case DAT_IMAGEINFO:
            return succeeded ? joined(": ", imageInfoText(*static_cast<const TW_IMAGEINFO*>(data)))
                             : "";
        case DAT_PENDINGXFERS:
            return succeeded
                       ? joined(": Count ",
                                std::to_string(static_cast<const TW_PENDINGXFERS*>(data)->Count))
                       : "";
        default:
            return "";
    }
}

}  // namespace

TracedTriplet::TracedTriplet(std::int32_t stateBefore, pTW_IDENTITY destination, TW_UINT32 dg,
                             TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data)
    : dat_(dat),
      msg_(msg),
      data_(data),
      stateBefore_(stateBefore),
      sent_(std::chrono::system_clock::now()),
      started_(std::chrono::steady_clock::now()) {
    writeHeldLine();
    try {
        text_ = joined(dataGroupName(dg), "/", dataArgumentName(dat), "/", messageName(msg),
                       destination ? " to source" : " to manager", requestText(dat, msg, data));
    } catch (...) {
        text_.clear();  // the trace never stands in the session's way
    }
}

void TracedTriplet::answered(TW_UINT16 resultCode, bool conditionKnown, TW_UINT16 conditionCode) {
    const double millis =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started_)
            .count();
    try {
        char duration[32];
        std::snprintf(duration, sizeof(duration), " (%.2f ms)", millis);
        const std::string text =
            joined(text_, " -> ", resultName(resultCode),
                   conditionKnown ? joined(" ", conditionName(conditionCode)) : std::string(),
                   answerText(dat_, msg_, data_, resultCode), duration);
        holdLine(sent_, stateBefore_, text);
    } catch (...) {
    }
}
