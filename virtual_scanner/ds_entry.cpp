// The one export a TWAIN data source has, for the virtual source running under a manager of its
// own, as a Windows manager loads it from its folder of sources. The log records what the source
// receives, and the notices it sends to the manager the TWAIN 2 way (DG_CONTROL / DAT_NULL, which
// a source never receives).
#include <virtual_scanner_control.h>

#include "scanner.h"

using namespace vscan;

namespace {

// The manager that loaded the source, as a TWAIN 2 source without the manager's entry points finds
// it: the TWAIN 2 manager, or twain_32.dll, the 32-bit manager and the file in which Wine keeps its
// 64-bit one. None when neither is loaded.
DSMENTRYPROC loadedManagerEntry() {
    for (const char* name : {"TWAINDSM.dll", "twain_32.dll"}) {
        if (const HMODULE module = GetModuleHandleA(name)) {
            return reinterpret_cast<DSMENTRYPROC>(
                reinterpret_cast<void (*)()>(GetProcAddress(module, "DSM_Entry")));
        }
    }
    return nullptr;
}

// The identity triplets a manager sends to a source itself; everything else is the source's
// business as it is under the virtual manager.
TW_UINT16 sourceEntry(Scanner& s, pTW_IDENTITY origin, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg,
                      TW_MEMREF data) {
    VirtualSource& source = s.source;
    if (dg != DG_CONTROL || dat != DAT_IDENTITY) {
        return source.handle(dg, dat, msg, data);
    }
    auto* identity = static_cast<TW_IDENTITY*>(data);
    if (identity == nullptr) {
        source.setConditionCode(TWCC_BADPROTOCOL);
        return TWRC_FAILURE;
    }
    switch (msg) {
        case MSG_GET:
            VirtualSource::describe(*identity, identity->Id);
            return TWRC_SUCCESS;
        case MSG_OPENDS: {
            // The identity is the one the application gave the manager, with the Id the manager
            // assigned: all but the Id is zero when the application asked for the default source.
            // The source takes any, and writes its own into it.
            if (origin == nullptr) {
                source.setConditionCode(TWCC_BADPROTOCOL);
                return TWRC_FAILURE;
            }
            const TW_UINT16 result = source.open(identity->Id, {});
            if (result == TWRC_SUCCESS) {
                VirtualSource::describe(*identity, identity->Id);
                source.serveThrough(loadedManagerEntry(), *origin);
            }
            return result;
        }
        case MSG_CLOSEDS:
            // Asked while enabled, the source closes all the same, as drivers do: a manager
            // unloads a source it closed whatever the source answered, and none of its threads
            // may run on in the unloaded module.
            if (source.state() > 4) {
                source.forceClose();
                return TWRC_SUCCESS;
            }
            return source.close();
        default:
            source.setConditionCode(TWCC_BADPROTOCOL);
            return TWRC_FAILURE;
    }
}

// Sends a notice to the manager, outside the scanner's lock since the manager may call the source
// back, and logs it with the manager's answer.
void sendManagerNotice(TW_UINT16 notice) {
    DSMENTRYPROC managerEntry = nullptr;
    TW_IDENTITY self = {};
    TW_IDENTITY application = {};
    {
        std::lock_guard lock(scannerMutex());
        managerEntry = scanner().source.managerEntry();
        self = scanner().source.identity();
        application = scanner().source.application();
    }
    if (managerEntry == nullptr) {
        return;
    }
    LoggedTriplet entry = recordTriplet(&self, &application, DG_CONTROL, DAT_NULL, notice, nullptr);
    const TW_UINT16 result =
        managerEntry(&self, &application, DG_CONTROL, DAT_NULL, notice, nullptr);
    std::lock_guard lock(scannerMutex());
    logAnswer(scanner(), std::move(entry), result, nullptr);
}

}  // namespace

extern "C" VSCAN_API TW_UINT16 PASCAL DS_Entry(pTW_IDENTITY origin, TW_UINT32 dg, TW_UINT16 dat,
                                               TW_UINT16 msg, TW_MEMREF data) {
    TW_UINT16 result;
    std::optional<TW_UINT16> notice;
    {
        std::lock_guard lock(scannerMutex());
        Scanner& s = scanner();
        TW_IDENTITY self = s.source.identity();
        LoggedTriplet entry = recordTriplet(origin, &self, dg, dat, msg, data);
        if (refusedForThread(s, &self, dg, dat)) {
            entry.refusedForThread = true;
            s.source.setConditionCode(TWCC_SEQERROR);
            result = TWRC_FAILURE;
        } else if (auto answer = s.script.take(dg, dat, msg)) {
            result = scriptedResult(*answer, dg, dat, data,
                                    [&](TW_UINT16 code) { s.source.setConditionCode(code); });
        } else {
            result = sourceEntry(s, origin, dg, dat, msg, data);
        }
        logAnswer(s, std::move(entry), result, data);
        notice = s.source.takeManagerNotice();
    }
    if (notice) {
        sendManagerNotice(*notice);
    }
    return result;
}
