#include "settings/capability_requests.h"

#include <cstring>

#include "session/dsm_binding.h"
#include "session/twain_session.h"
#include "settings/global_memory.h"

bool isCapabilityRead(TW_UINT16 msg) {
    return msg == MSG_GET || msg == MSG_GETCURRENT || msg == MSG_GETDEFAULT || msg == MSG_RESET ||
           msg == MSG_QUERYSUPPORT;
}

bool requestContainer(TW_UINT16 capability, TW_UINT16 msg, TW_UINT16 asked,
                      const std::function<void(const LockedBytes* block, TW_UINT16 conType)>& use) {
    TwainSession& s = twainSession;
    if (s.state < kStateSourceOpen) {
        return false;
    }
    TW_CAPABILITY request = {capability, asked, {}};
    if (!dsmCall(&s.sourceIdentity, DG_CONTROL, DAT_CAPABILITY, msg, &request)) {
        return false;
    }
    const OwnedBlock container(request.hContainer);
    if (!container.get()) {
        use(nullptr, request.ConType);
        return true;
    }
    const LockedBytes block(container.get());
    use(&block, request.ConType);
    return true;
}

std::optional<ContainerResult> readCapability(TW_UINT16 capability, TW_UINT16 msg) {
    if (!isCapabilityRead(msg)) {
        return std::nullopt;
    }
    ContainerResult result;
    const auto read = [&](const LockedBytes* block, TW_UINT16 conType) {
        if (block == nullptr) {
            result.fault = "the source answered without a container";
        } else if (!*block) {
            result.fault = "the source's container cannot be locked";
        } else {
            result = readContainer(conType, block->data(), block->size());
        }
    };
    if (!requestContainer(capability, msg, TWON_DONTCARE16, read)) {
        return std::nullopt;
    }
    return result;
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
