// The probe that the scenarios' leak checks rely on must see what it is there for: global memory
// from the program and from the virtual scanner's library, and the program's windows.
#include <windows.h>

#include "platform_probe.h"
#include "scenario.h"
#include "session/dsm_binding.h"
#include "session/lifecycle.h"
#include "session/twain_session.h"

namespace {

using PlatformProbe = Scenario;

TEST_F(PlatformProbe, CountsGlobalMemoryOfTheProgramUntilItIsFreed) {
    const std::size_t before = liveGlobalHandles();
    const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 16);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(liveGlobalHandles(), before + 1);
    GlobalFree(block);
    EXPECT_EQ(liveGlobalHandles(), before);
}

TEST_F(PlatformProbe, CountsGlobalMemoryThatTheSourceHandsOver) {
    ASSERT_TRUE(registerDemo());
    ASSERT_TRUE(openSource());
    TW_CAPABILITY request = {ICAP_PIXELTYPE, TWON_ONEVALUE, {}};
    ASSERT_TRUE(dsmCall(&twainSession.sourceIdentity, DG_CONTROL, DAT_CAPABILITY, MSG_GETCURRENT,
                        &request));
    ASSERT_TRUE(request.hContainer);
    EXPECT_EQ(liveGlobalHandles(), 1u);
    GlobalFree(request.hContainer);
    EXPECT_EQ(liveGlobalHandles(), 0u);
}

TEST_F(PlatformProbe, CountsTheProgramsWindowsUntilTheyAreDestroyed) {
    const std::size_t before = liveWindows();
    const HWND window = CreateWindowExA(0, "STATIC", "Counted", WS_POPUP, 0, 0, 10, 10, nullptr,
                                        nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(liveWindows(), before + 1);
    const HWND messageOnly = CreateWindowExA(0, "STATIC", "Counted too", 0, 0, 0, 0, 0,
                                             HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(messageOnly, nullptr);
    EXPECT_EQ(liveWindows(), before + 2);
    DestroyWindow(messageOnly);
    DestroyWindow(window);
    EXPECT_EQ(liveWindows(), before);
}

}  // namespace
