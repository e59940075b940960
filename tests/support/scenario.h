// A scenario against the virtual scanner: it starts from a library that was never registered and
// a scanner with an empty log, and proves at its end that the session came down cleanly and left
// no global memory handle and no window behind.
#ifndef SCANLINK_TESTS_SCENARIO_H
#define SCANLINK_TESTS_SCENARIO_H

#include <gtest/gtest.h>
#include <virtual_scanner_control.h>

#include <cstdint>
#include <string>
#include <vector>

#include "twain/twain.h"

struct Triplet {
    VscanTriplet header;
    std::vector<uint8_t> data;
    std::vector<uint8_t> origin;
    std::vector<uint8_t> container;

    bool is(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg) const {
        return header.dg == dg && header.dat == dat && header.msg == msg;
    }
    bool isStatus() const { return is(DG_CONTROL, DAT_STATUS, MSG_GET); }
};

class Scenario : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Everything the scanner received since the scenario began, or since the last resetScanner().
    static std::vector<Triplet> log();
    // The same without the status requests that follow each triplet.
    static std::vector<Triplet> requests();
    // Forgets the scanner's log, scripts and knobs; the session stays as it is.
    static void resetScanner() { vscan_reset(); }
    // "MSG_OPENDSM, MSG_OPENDS, ..." for the requests, for readable failure messages.
    static std::string requestNames();

  private:
    size_t windowsBefore_ = 0;
};

// Brings the session to state 3 with a plain identity.
bool registerDemo();
// The same under the session's thread rules, as the register native runs it: the calling thread
// becomes the session's owner.
bool registerAsNative();

#endif
