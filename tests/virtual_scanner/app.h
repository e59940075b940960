// A bare application that talks to the virtual manager directly, triplet by triplet.
#ifndef SCANLINK_TESTS_VIRTUAL_SCANNER_APP_H
#define SCANLINK_TESTS_VIRTUAL_SCANNER_APP_H

#include <virtual_scanner_control.h>

#include <cstring>

#include "twain/twain.h"

extern "C" TW_UINT16 DSM_Entry(pTW_IDENTITY origin, pTW_IDENTITY destination, TW_UINT32 dg,
                               TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data);

struct App {
    TW_IDENTITY identity = {};
    TW_IDENTITY source = {};
    HWND window = 0x1234;

    App() {
        vscan_reset();
        std::strcpy(identity.ProductName, "Test App");
        identity.SupportedGroups = DG_CONTROL | DG_IMAGE;
    }
    TW_UINT16 toManager(TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data) {
        return DSM_Entry(&identity, nullptr, DG_CONTROL, dat, msg, data);
    }
    TW_UINT16 toSource(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data) {
        return DSM_Entry(&identity, &source, dg, dat, msg, data);
    }
    TW_UINT16 managerStatus() {
        TW_STATUS status = {};
        toManager(DAT_STATUS, MSG_GET, &status);
        return status.ConditionCode;
    }
    TW_UINT16 sourceStatus() {
        TW_STATUS status = {};
        toSource(DG_CONTROL, DAT_STATUS, MSG_GET, &status);
        return status.ConditionCode;
    }
    TW_UINT16 openManager() { return toManager(DAT_PARENT, MSG_OPENDSM, &window); }
    TW_UINT16 openSource() {
        std::memset(&source, 0, sizeof(source));
        return toManager(DAT_IDENTITY, MSG_OPENDS, &source);
    }
    // Leaves the manager closed whatever state it was left in.
    ~App() {
        toManager(DAT_PARENT, MSG_CLOSEDSM, &window);
        vscan_reset();
    }
};

#endif
