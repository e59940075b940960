// Knobs set for the whole process through VIRTUAL_SCANNER_KNOBS, which this program runs with:
// ui.dialog=1 and page.delay_ms=0x10. A test's own knob overrides them, and a reset forgets only
// what tests set.
#include <gtest/gtest.h>

#include "app.h"

namespace {

class EnvironmentKnobs : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(app.openManager(), TWRC_SUCCESS);
        ASSERT_EQ(app.openSource(), TWRC_SUCCESS);
    }
    void TearDown() override { vscan_powerCycle(); }
    bool enableShowsADialog() {
        TW_USERINTERFACE ui = {1, 0, {}};
        EXPECT_EQ(app.toSource(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui), TWRC_SUCCESS);
        const bool shown = vscan_window("source.dialog") != 0;
        EXPECT_EQ(app.toSource(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui), TWRC_SUCCESS);
        return shown;
    }
    App app;
};

TEST_F(EnvironmentKnobs, TheEnvironmentSwitchesABehaviourOn) { EXPECT_TRUE(enableShowsADialog()); }

TEST_F(EnvironmentKnobs, ATestsKnobOverridesItUntilTheReset) {
    vscan_setKnob("ui.dialog", 0);
    EXPECT_FALSE(enableShowsADialog());
    vscan_reset();
    EXPECT_TRUE(enableShowsADialog());
}

}  // namespace
