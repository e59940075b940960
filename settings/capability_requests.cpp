#include "settings/capability_requests.h"

#include <cstring>

#include "session/dsm_binding.h"
#include "session/twain_session.h"
#include "settings/global_memory.h"

bool isCapabilityRead(TW_UINT16 msg) {
    return msg == MSG_GET || msg == MSG_GETCURRENT || msg == MSG_GETDEFAULT || msg == MSG_RESET ||
           msg == MSG_QUERYSUPPORT;
}

std::optional<ContainerResult> readCapability(TW_UINT16 capability, TW_UINT16 msg) {
    TwainSession& s = twainSession;
    if (s.state < kStateSourceOpen || !isCapabilityRead(msg)) {
        return std::nullopt;
    }
    TW_CAPABILITY request = {capability, TWON_DONTCARE16, {}};
    // Only a request that succeeded hands the container over to the application.
    if (!inSuccessSet(sendTriplet(&s.sourceIdentity, DG_CONTROL, DAT_CAPABILITY, msg, &request))) {
        return std::nullopt;
    }
    const OwnedBlock container(request.hContainer);
    if (!container.get()) {
        return ContainerResult{{}, "the source answered without a container"};
    }
    const LockedBytes block(container.get());
    if (!block) {
        return ContainerResult{{}, "the source's container cannot be locked"};
    }
    return readContainer(request.ConType, block.data(), block.size());
}

bool setCapability(TW_UINT16 capability, TW_UINT16 conType, const std::vector<std::uint8_t>& laid) {
    TwainSession& s = twainSession;
    if (s.state < kStateSourceOpen) {
        return false;
    }
    const OwnedBlock container(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, laid.size()));
    if (!container.get()) {
        return false;
    }
    {
        // Unlocked again before the request, so that the source can lock it itself.
        const LockedBytes block(container.get());
        if (!block || block.size() < laid.size()) {
            return false;
        }
        std::memcpy(block.data(), laid.data(), laid.size());
    }
    TW_CAPABILITY request = {capability, conType, container.get()};
    return dsmCall(&s.sourceIdentity, DG_CONTROL, DAT_CAPABILITY, MSG_SET, &request);
}
