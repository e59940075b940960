// What every part of the virtual source shares: its TWAIN state, its last condition code, and the
// application it serves.
#ifndef VIRTUAL_SCANNER_SOURCE_CORE_H
#define VIRTUAL_SCANNER_SOURCE_CORE_H

#include <cstdint>
#include <optional>

#include "script.h"
#include "twain/twain.h"

namespace vscan {

inline constexpr int32_t kSourceClosed = 0;

struct SourceCore {
    explicit SourceCore(const Script& script) : script(script) {}

    int32_t state = kSourceClosed;  // else a TWAIN state, 4 to 7
    TW_UINT16 conditionCode = TWCC_SUCCESS;
    TW_IDENTITY identity = {};
    HWND appWindow = {};                  // the window the application gave at MSG_OPENDSM
    DWORD openingThread = 0;              // the thread MSG_OPENDS came from
    TW_USERINTERFACE userInterface = {};  // as given with MSG_ENABLEDS
    const Script& script;

    // Where the source runs under a manager of its own (DS_Entry), that manager's entry point and
    // the application it opened the source for: the way notices travel the TWAIN 2 way.
    DSMENTRYPROC managerEntry = nullptr;
    TW_IDENTITY application = {};
    // A notice (MSG_XFERREADY, MSG_CLOSEDSREQ) waiting to be sent to that manager.
    std::optional<TW_UINT16> managerNotice;

    // Records the condition code for the next DAT_STATUS and answers TWRC_FAILURE.
    TW_UINT16 fail(TW_UINT16 code) {
        conditionCode = code;
        return TWRC_FAILURE;
    }
    bool inStates(int32_t lowest, int32_t highest) const {
        return state >= lowest && state <= highest;
    }
};

}  // namespace vscan

#endif
