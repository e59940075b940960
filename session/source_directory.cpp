#include "session/source_directory.h"

#include "session/dsm_binding.h"
#include "session/twain_session.h"

bool listSources(std::vector<TW_IDENTITY>& sources) {
    sources.clear();
    if (twainSession.state < kStateManagerOpen) {
        return false;
    }
    TW_UINT16 msg = MSG_GETFIRST;
    while (sources.size() < kMostSources) {
        TW_IDENTITY identity = {};
        const TW_UINT16 result = sendTriplet(nullptr, DG_CONTROL, DAT_IDENTITY, msg, &identity);
        if (result == TWRC_ENDOFLIST) {
            return true;
        }
        if (result != TWRC_SUCCESS) {
            return false;
        }
        sources.push_back(identity);
        msg = MSG_GETNEXT;
    }
    return false;
}

bool findDefaultSource(TW_IDENTITY& source) {
    source = {};
    return twainSession.state >= kStateManagerOpen &&
           dsmCall(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_GETDEFAULT, &source);
}
