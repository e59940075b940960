// The one TWAIN session of the process: the bound manager, the codes of the last triplet, the
// state number and the records that travel with every call.
#ifndef SCANLINK_SESSION_TWAIN_SESSION_H
#define SCANLINK_SESSION_TWAIN_SESSION_H

#include <atomic>
#include <cstdint>

#include "twain/twain.h"

// Session state numbers: 0 is the library as loaded, before any register; 1 to 7 are the TWAIN
// states.
enum SessionState : int32_t {
    kStateLoaded = 0,
    kStateManagerNotLoaded = 1,
    kStateManagerLoaded = 2,
    kStateManagerOpen = 3,
    kStateSourceOpen = 4,
    kStateSourceEnabled = 5,
    kStateTransferReady = 6,
    kStateTransferring = 7,
};

// The state, the codes and the interface setting are atomic so that any thread reads them (and
// sets the setting) at any time, without waiting for a call under way; the rest belongs to the
// thread that runs the session's calls.
struct TwainSession {
    HMODULE dsmModule;
    DSMENTRYPROC dsmEntry;
    std::atomic<TW_UINT16> resultCode;
    std::atomic<TW_UINT16> conditionCode;
    std::atomic<int32_t> state;
    TW_IDENTITY appIdentity;
    TW_IDENTITY sourceIdentity;
    TW_USERINTERFACE userInterface;
    // Whether the next enable shows the source's interface; userInterface.ShowUI takes it at
    // MSG_ENABLEDS, so that a setting made meanwhile never changes the record a triplet carries.
    // Last, so that the records keep the alignment they had.
    std::atomic<bool> showUserInterface;
};

// Zero-filled at load: static storage duration, constant initialisation.
extern TwainSession twainSession;

#endif
