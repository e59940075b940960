// A bridge program started as its parent starts it, serving a session of the virtual scanner,
// and what its tests ask of it. The program and its pointer width are the test program's
// (BRIDGE_PROGRAM, BRIDGE_BITS): the host's own bridge, or under Wine the 32-bit bridge that a
// 64-bit parent starts.
#ifndef SCANLINK_TESTS_BRIDGE_SESSION_H
#define SCANLINK_TESTS_BRIDGE_SESSION_H

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bridge_child.h"
#include "bridge_client.h"
#include "scenario.h"

// How long a bridge may take to end once it has been told to, or killed.
inline constexpr int kExitBound = 10000;

class BridgeProcess : public Scenario {
  protected:
    void SetUp() override;
    void TearDown() override;

    // A bridge whose scanner has `knob` on top of the knobs of this process's environment.
    void startBridgeWithKnob(const char* knob);
    void startBridge();

    // Registers, hides the source's interface and opens the default source: state 4.
    void openTheSource();
    // Registers and opens the source of that product name by the identity the bridge listed.
    void openListed(const char* product);
    // Whether the source shows its interface at the next enable. Shown, the virtual user scans
    // until the feeder is empty; hidden, the source scans once per enable.
    void showInterface(bool shown);

    std::unique_ptr<BridgeChild> child_;
    std::optional<BridgeClient> client_;
};

// The page that the library takes in this process from its default source with that pixel type.
std::vector<std::uint8_t> pageInProcess(TW_UINT16 pixelType);

#endif
