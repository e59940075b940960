// The manager's sources: the list, the default, and a source opened by its identity, with the
// exact triplets; a failed or endless list ends with a failure.
#include <algorithm>
#include <cstring>

#include "scenario.h"
#include "session/lifecycle.h"
#include "session/source_directory.h"
#include "session/twain_session.h"

namespace {

class SourceDirectory : public Scenario {
  protected:
    void SetUp() override {
        Scenario::SetUp();
        ASSERT_TRUE(registerDemo());
        resetScanner();
    }
};

std::string names(const std::vector<TW_IDENTITY>& sources) {
    std::string text;
    for (const TW_IDENTITY& source : sources) {
        text += std::string(text.empty() ? "" : ", ") + source.ProductName;
    }
    return text;
}

TEST_F(SourceDirectory, TheListAsksForTheFirstThenTheNextUntilTheEnd) {
    std::vector<TW_IDENTITY> sources;
    ASSERT_TRUE(listSources(sources));
    // The folder of sources may hold others besides the virtual one (Wine's camera, say).
    const auto virtualScanner =
        std::find_if(sources.begin(), sources.end(), [](const TW_IDENTITY& source) {
            return std::strcmp(source.ProductName, "Virtual Scanner") == 0;
        });
    ASSERT_NE(virtualScanner, sources.end()) << names(sources);
    EXPECT_STREQ(virtualScanner->Manufacturer, "scanlink32");
    const auto sent = requests();
    ASSERT_EQ(sent.size(), sources.size() + 1) << requestNames();
    EXPECT_TRUE(sent[0].is(DG_CONTROL, DAT_IDENTITY, MSG_GETFIRST));
    for (std::size_t i = 1; i < sent.size(); ++i) {
        EXPECT_TRUE(sent[i].is(DG_CONTROL, DAT_IDENTITY, MSG_GETNEXT)) << requestNames();
        EXPECT_FALSE(sent[i].header.toSource);
    }
    EXPECT_EQ(sent.back().header.resultCode, TWRC_ENDOFLIST);
    EXPECT_EQ(twainSession.state, kStateManagerOpen);

    TW_IDENTITY fallback = {};
    ASSERT_TRUE(findDefaultSource(fallback));
    EXPECT_STREQ(fallback.ProductName, "Virtual Scanner");
}

TEST_F(SourceDirectory, AFailedOrEndlessListIsAFailure) {
    std::vector<TW_IDENTITY> sources;
    vscan_script(DG_CONTROL, DAT_IDENTITY, MSG_GETNEXT, TWRC_FAILURE, TWCC_BUMMER, 1);
    EXPECT_FALSE(listSources(sources));
    EXPECT_EQ(twainSession.resultCode, TWRC_FAILURE);
    EXPECT_EQ(twainSession.conditionCode, TWCC_BUMMER);
    // A manager that never says the list has ended is asked no more than the longest list.
    resetScanner();
    vscan_script(DG_CONTROL, DAT_IDENTITY, MSG_GETNEXT, TWRC_SUCCESS, TWCC_SUCCESS, -1);
    EXPECT_FALSE(listSources(sources));
    EXPECT_EQ(requests().size(), kMostSources);
    EXPECT_EQ(twainSession.state, kStateManagerOpen);
}

TEST_F(SourceDirectory, ASourceOpensByItsListedIdentityAndAnUnknownNameIsRefused) {
    std::vector<TW_IDENTITY> sources;
    ASSERT_TRUE(listSources(sources));
    // The last of the virtual sources: on the host not the default one.
    const auto last = std::find_if(sources.rbegin(), sources.rend(), [](const TW_IDENTITY& source) {
        return std::strcmp(source.Manufacturer, "scanlink32") == 0;
    });
    ASSERT_NE(last, sources.rend()) << names(sources);
    const TW_IDENTITY wanted = *last;
    resetScanner();

    TW_IDENTITY unknown = {};
    std::strcpy(unknown.ProductName, "No Such Scanner");
    EXPECT_FALSE(openSourceAs(unknown));
    EXPECT_EQ(twainSession.state, kStateManagerOpen);
    EXPECT_EQ(twainSession.conditionCode, TWCC_NODS);

    TW_IDENTITY byId = {};
    byId.Id = wanted.Id;
    std::memcpy(byId.ProductName, wanted.ProductName, sizeof(byId.ProductName));
    ASSERT_TRUE(openSourceAs(byId)) << names(sources);
    EXPECT_EQ(twainSession.state, kStateSourceOpen);
    EXPECT_EQ(twainSession.sourceIdentity.Id, wanted.Id);
    EXPECT_STREQ(twainSession.sourceIdentity.ProductName, wanted.ProductName);
    const auto sent = requests();
    ASSERT_EQ(sent.size(), 2u) << requestNames();
    for (const Triplet& open : sent) {
        EXPECT_TRUE(open.is(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS));
    }
    TW_IDENTITY asked = {};
    ASSERT_EQ(sent[1].data.size(), sizeof(asked));
    std::memcpy(&asked, sent[1].data.data(), sizeof(asked));
    EXPECT_EQ(asked.Id, wanted.Id);
    // With a source open, another open answers as openSource does: sends nothing, changes nothing.
    resetScanner();
    EXPECT_TRUE(openSourceAs(unknown));
    EXPECT_EQ(vscan_logSize(), 0u);
    EXPECT_EQ(twainSession.sourceIdentity.Id, wanted.Id);
}

}  // namespace
