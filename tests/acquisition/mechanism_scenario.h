// The virtual scanner's source open for a test of one transfer mechanism: a small page of a pixel
// type enabled for that mechanism, and the requests of a kind the source received.
#ifndef SCANLINK_TESTS_MECHANISM_SCENARIO_H
#define SCANLINK_TESTS_MECHANISM_SCENARIO_H

#include <gtest/gtest.h>

#include <cstddef>

#include "scenario.h"
#include "session/acquisition.h"
#include "session/lifecycle.h"
#include "settings/capability_access.h"

class MechanismScenario : public Scenario {
  protected:
    void SetUp() override {
        Scenario::SetUp();
        ASSERT_TRUE(registerDemo());
        ASSERT_TRUE(openSource());
    }
    // A page at 75 dpi of the pixel type, the source enabled to transfer it by `mechanism`.
    static void enableFor(TW_UINT16 pixelType, TW_UINT16 mechanism) {
        ASSERT_TRUE(setCapabilityValue(ICAP_PIXELTYPE, TWTY_UINT16, pixelType));
        ASSERT_TRUE(setCapabilityValue(ICAP_XRESOLUTION, TWTY_FIX32, 75));
        ASSERT_TRUE(setCapabilityValue(ICAP_YRESOLUTION, TWTY_FIX32, 75));
        ASSERT_TRUE(setCapabilityValue(ICAP_XFERMECH, TWTY_UINT16, mechanism));
        ASSERT_TRUE(prepareTransfer());
    }
    static std::size_t countOf(TW_UINT16 dat, TW_UINT16 msg) {
        std::size_t count = 0;
        for (const Triplet& t : requests()) {
            count += t.header.dat == dat && t.header.msg == msg ? 1 : 0;
        }
        return count;
    }
};

#endif
