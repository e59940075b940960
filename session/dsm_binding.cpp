#include "session/dsm_binding.h"

#include <cstring>

#include "session/twain_session.h"

namespace {

constexpr UINT kPathBufferSize = MAX_PATH;
constexpr char kManagerFileName[] = "Twain_32.dll";

// The manager's full path: the Windows folder, a backslash unless it already ends in one, and the
// file name. False when the folder cannot be read or the whole path does not fit the buffer.
bool managerPath(char (&path)[kPathBufferSize]) {
    const UINT length = GetWindowsDirectoryA(path, kPathBufferSize);
    if (length == 0 || length >= kPathBufferSize) {
        return false;
    }
    const bool needsSeparator = path[length - 1] != '\\';
    const std::size_t needed = length + (needsSeparator ? 1 : 0) + sizeof(kManagerFileName);
    if (needed > kPathBufferSize) {
        return false;
    }
    char* end = path + length;
    if (needsSeparator) {
        *end++ = '\\';
    }
    std::memcpy(end, kManagerFileName, sizeof(kManagerFileName));
    return true;
}

bool inSuccessSet(TW_UINT16 resultCode) {
    return resultCode == TWRC_SUCCESS || resultCode == TWRC_CHECKSTATUS ||
           resultCode == TWRC_XFERDONE;
}

}  // namespace

bool loadSourceManager() {
    TwainSession& s = twainSession;
    if (s.state > kStateManagerNotLoaded) {
        return true;
    }
    s.state = kStateManagerNotLoaded;
    char path[kPathBufferSize] = {};
    if (!managerPath(path)) {
        return false;
    }
    s.dsmModule = LoadLibraryA(path);
    if (!s.dsmModule) {
        return false;
    }
    // A void(void) function pointer is the agreed way between two unrelated function types.
    s.dsmEntry = reinterpret_cast<DSMENTRYPROC>(
        reinterpret_cast<void (*)()>(GetProcAddress(s.dsmModule, "DSM_Entry")));
    if (s.dsmEntry) {
        s.state = kStateManagerLoaded;
    } else {
        FreeLibrary(s.dsmModule);
        s.dsmModule = {};
    }
    return s.state >= kStateManagerLoaded;
}

bool dsmCall(pTW_IDENTITY destination, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data) {
    TwainSession& s = twainSession;
    s.resultCode = TWRC_FAILURE;
    s.conditionCode = TWCC_BUMMER;
    if (s.state < kStateManagerLoaded) {
        return false;
    }
    s.resultCode = s.dsmEntry(&s.appIdentity, destination, dg, dat, msg, data);

    // The state is still the one the triplet was sent in: callers move it only afterwards.
    pTW_IDENTITY statusTarget = nullptr;
    bool askStatus = false;
    if (s.state >= kStateSourceOpen) {
        statusTarget = &s.sourceIdentity;
        askStatus = true;
    } else if (s.state == kStateManagerOpen) {
        askStatus = true;
    }
    if (askStatus) {
        TW_STATUS status = {};
        if (s.dsmEntry(&s.appIdentity, statusTarget, DG_CONTROL, DAT_STATUS, MSG_GET, &status) ==
            TWRC_SUCCESS) {
            s.conditionCode = status.ConditionCode;
        }
    }
    return inSuccessSet(s.resultCode);
}
