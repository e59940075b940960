#include "manager.h"

#include <cstring>

#include "scanner.h"

namespace vscan {
void Manager::recordConditionCode(pTW_IDENTITY destination, TW_UINT16 code) {
    if (destination != nullptr && addressesOpenSource(destination)) {
        source_.setConditionCode(code);
    } else {
        conditionCode_ = code;
    }
}

void Manager::powerCycle() {
    if (source_.isOpen()) {
        source_.forceClose();
    }
    forgetApplication();
}

bool Manager::addressesOpenSource(pTW_IDENTITY destination) const {
    return source_.isOpen() && destination->Id == source_.id();
}

TW_UINT16 Manager::toSource(pTW_IDENTITY, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg,
                            TW_MEMREF data) {
    return source_.handle(dg, dat, msg, data);
}

void Manager::opened() {
    sourceIds_.clear();
    for (std::size_t i = 0; i < sourceModels().size(); ++i) {
        sourceIds_.push_back(nextId_++);
    }
    nextListed_ = 0;
}

void Manager::closing() {
    if (source_.isOpen()) {
        source_.forceClose();
    }
}

TW_UINT16 Manager::identity(pTW_IDENTITY origin, TW_UINT16 msg, TW_IDENTITY* identity) {
    if (!isApplication(origin)) {
        return fail(TWCC_SEQERROR);
    }
    if (identity == nullptr) {
        return fail(TWCC_BADVALUE);
    }
    switch (msg) {
        case MSG_USERSELECT:
            if (const TW_UINT16 choice = askUser(); choice != TWRC_SUCCESS) {
                return choice;
            }
            // The user picks the default source.
            *identity = listed(0);
            return TWRC_SUCCESS;
        case MSG_GETDEFAULT:
            *identity = listed(0);
            return TWRC_SUCCESS;
        case MSG_GETFIRST:
            nextListed_ = 0;
            [[fallthrough]];
        case MSG_GETNEXT:
            if (nextListed_ >= sourceModels().size()) {
                return TWRC_ENDOFLIST;
            }
            *identity = listed(nextListed_++);
            return TWRC_SUCCESS;
        case MSG_OPENDS:
            return openSource(*identity);
        case MSG_CLOSEDS:
            if (!addressesOpenSource(identity)) {
                return fail(TWCC_NODS);
            }
            return source_.close();
        default:
            return fail(TWCC_BADPROTOCOL);
    }
}

TW_IDENTITY Manager::listed(std::size_t index) const {
    TW_IDENTITY identity;
    describeModel(identity, sourceIds_.at(index), sourceModels()[index]);
    if (script_.knob("manager.sameNames").value_or(0) != 0) {
        std::memcpy(identity.ProductName, sourceModels()[0].productName,
                    std::strlen(sourceModels()[0].productName) + 1);
    }
    return identity;
}

std::optional<std::size_t> Manager::wanted(const TW_IDENTITY& identity) const {
    if (identity.Id != 0) {
        for (std::size_t i = 0; i < sourceIds_.size(); ++i) {
            if (sourceIds_[i] == identity.Id) {
                return i;
            }
        }
        return std::nullopt;
    }
    if (identity.ProductName[0] == '\0') {
        return 0;
    }
    for (std::size_t i = 0; i < sourceIds_.size(); ++i) {
        if (std::strncmp(identity.ProductName, listed(i).ProductName,
                         sizeof(identity.ProductName)) == 0) {
            return i;
        }
    }
    return std::nullopt;
}

TW_UINT16 Manager::openSource(TW_IDENTITY& identity) {
    const auto index = wanted(identity);
    if (!index) {
        return fail(TWCC_NODS);
    }
    const TW_IDENTITY chosen = listed(*index);
    if (source_.open(chosen, sourceModels()[*index], appWindow_) != TWRC_SUCCESS) {
        return fail(TWCC_MAXCONNECTIONS);
    }
    identity = chosen;
    return TWRC_SUCCESS;
}

}  // namespace vscan
