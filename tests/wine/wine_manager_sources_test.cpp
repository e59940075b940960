// The sources through Wine's own manager: its list holds the virtual source, which opens by the
// identity listed, and its capabilities answer with their whole containers.
#include <cstring>

#include "session/lifecycle.h"
#include "session/source_directory.h"
#include "session/twain_session.h"
#include "settings/capability_requests.h"
#include "wine_manager_support.h"

namespace {

using WineManagerSources = Scenario;

const TW_IDENTITY* named(const std::vector<TW_IDENTITY>& sources, const char* name) {
    for (const TW_IDENTITY& source : sources) {
        if (std::strcmp(source.ProductName, name) == 0) {
            return &source;
        }
    }
    return nullptr;
}

TEST_F(WineManagerSources, TheListHoldsTheVirtualSourceWhichOpensByTheIdentityListed) {
    ASSERT_TRUE(registerDemo());
    std::vector<TW_IDENTITY> sources;
    ASSERT_TRUE(listSources(sources));
    const TW_IDENTITY* listed = named(sources, "Virtual Scanner");
    ASSERT_NE(listed, nullptr);
    EXPECT_STREQ(listed->Manufacturer, "scanlink32");
    EXPECT_EQ(twainSession.resultCode, TWRC_ENDOFLIST);

    TW_IDENTITY wanted = {};
    wanted.Id = listed->Id;
    std::memcpy(wanted.ProductName, listed->ProductName, sizeof(wanted.ProductName));
    ASSERT_TRUE(openSourceAs(wanted));
    EXPECT_EQ(twainSession.state, kStateSourceOpen);
    EXPECT_EQ(vscan_sourceState(), 4);
    EXPECT_STREQ(twainSession.sourceIdentity.ProductName, "Virtual Scanner");
    // Wine's manager lists its sources without an Id and gives one when a source is opened, so
    // the name is what finds it.
    EXPECT_EQ(listed->Id, 0u);
    EXPECT_NE(twainSession.sourceIdentity.Id, 0u);
}

TEST_F(WineManagerSources, CapabilitiesAnswerWithTheirWholeContainersThroughWine) {
    openThroughWine();
    const auto pixelTypes = readCapability(ICAP_PIXELTYPE, MSG_GET);
    ASSERT_TRUE(pixelTypes && pixelTypes->ok()) << (pixelTypes ? pixelTypes->fault : "failed");
    EXPECT_EQ(pixelTypes->container.conType, TWON_ENUMERATION);
    EXPECT_EQ(pixelTypes->container.size(), 3u);
    const auto brightness = readCapability(ICAP_BRIGHTNESS, MSG_GET);
    ASSERT_TRUE(brightness && brightness->ok());
    EXPECT_EQ(brightness->container.conType, TWON_RANGE);
    EXPECT_EQ(brightness->container.numbers[1], 1000 << 16);
}

}  // namespace
