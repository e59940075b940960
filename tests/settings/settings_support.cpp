#include "settings_support.h"

#include <cstring>

#include "session/dsm_binding.h"
#include "session/lifecycle.h"
#include "session/twain_session.h"

void setCapabilityKnob(const std::string& capability, const std::string& field, int64_t value) {
    vscan_setKnob((capability + "." + field).c_str(), value);
}

void openDemoSource() {
    ASSERT_TRUE(registerDemo());
    ASSERT_TRUE(openSource());
}

TW_UINT16 SourceAnswer::u16(size_t offset) const {
    return static_cast<TW_UINT16>(container.at(offset) | container.at(offset + 1) << 8);
}

TW_UINT32 SourceAnswer::u32(size_t offset) const {
    return u16(offset) | static_cast<TW_UINT32>(u16(offset + 2)) << 16;
}

SourceAnswer askSource(TW_UINT16 msg, TW_UINT16 capability) {
    TW_CAPABILITY request = {capability, TWON_ONEVALUE, {}};
    dsmCall(&twainSession.sourceIdentity, DG_CONTROL, DAT_CAPABILITY, msg, &request);
    SourceAnswer answer;
    answer.resultCode = twainSession.resultCode;
    answer.conditionCode = twainSession.conditionCode;
    answer.conType = request.ConType;
    if (request.hContainer) {
        const auto* bytes = static_cast<const uint8_t*>(GlobalLock(request.hContainer));
        if (bytes != nullptr) {
            answer.container.assign(bytes, bytes + GlobalSize(request.hContainer));
            GlobalUnlock(request.hContainer);
        }
        GlobalFree(request.hContainer);
    }
    return answer;
}

TW_IMAGELAYOUT currentLayout() {
    TW_IMAGELAYOUT layout = {};
    EXPECT_TRUE(
        dsmCall(&twainSession.sourceIdentity, DG_IMAGE, DAT_IMAGELAYOUT, MSG_GETCURRENT, &layout));
    return layout;
}
