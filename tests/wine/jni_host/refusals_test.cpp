// Deliveries that acquireImage refuses, each with the exception a Java caller receives, class and
// message, after which the session goes on.
#include <virtual_scanner_control.h>

#include <string>

#include "host_environment.h"
#include "jni_host_fixture.h"

namespace {

using Refusals = JniHost;

void expectThrown(const host::Outcome<jboolean>& outcome, const char* className,
                  const char* message) {
    EXPECT_FALSE(outcome.value);
    ASSERT_NE(outcome.thrown, nullptr) << "nothing was thrown";
    EXPECT_EQ(outcome.thrown->className, className);
    EXPECT_EQ(outcome.thrown->message, message);
}

// Pages from these files of the BMP suite's folder, from the next opening of the source on.
void scanSuiteFiles(const std::string& first, const std::string& second) {
    const std::string suite = host::hostPathWithoutDrive("BMPSUITE_DIR");
    vscan_setPageFiles((suite + "\\" + first + ":" + suite + "\\" + second).c_str());
}

}  // namespace

TEST_F(Refusals, ANullConsumerIsRefusedAndThePageFreed) {
    openSource();
    ASSERT_TRUE(library.step("prepareTransfer"));
    expectThrown(library.acquireImage(nullptr), "java/lang/Exception", "Invalid consumer!");
    EXPECT_EQ(library.getState(), kSourceEnabled);
}

TEST_F(Refusals, AnInvalidDibIsRefusedAndTheNextPageStillComes) {
    scanSuiteFiles("b\\badbitcount.bmp", "g\\pal8.bmp");
    openSource();
    ASSERT_TRUE(library.step("prepareTransfer"));
    host::RecordingConsumer refused;
    expectThrown(library.acquireImage(refused.object()), "java/lang/Exception",
                 "Unsupported image type!");
    EXPECT_TRUE(refused.calls().empty());
    EXPECT_EQ(library.getState(), kSourceEnabled);

    host::RecordingConsumer next;
    const host::Outcome<jboolean> delivered = library.acquireImage(next.object());
    EXPECT_TRUE(delivered.value);
    EXPECT_EQ(delivered.thrown, nullptr);
    expectOnePage(next, 127, 64);
}

TEST_F(Refusals, AnImageThatCannotBeLockedIsRefused) {
    vscan_setKnob("transfer.bad_handle", 1);
    openSource();
    ASSERT_TRUE(library.step("prepareTransfer"));
    host::RecordingConsumer consumer;
    expectThrown(library.acquireImage(consumer.object()), "java/lang/Exception", "Invalid image!");
    EXPECT_TRUE(consumer.calls().empty());
    EXPECT_EQ(library.getState(), kSourceEnabled);
}

TEST_F(Refusals, AConsumerThatThrowsHasItsOwnExceptionThrownAndHearsNoMore) {
    openSource();
    ASSERT_TRUE(library.step("prepareTransfer"));
    host::RecordingConsumer consumer;
    host::Object* refusal = host::newThrowable("java/lang/IllegalStateException", "row 2 refused");
    consumer.throwAt(5, refusal);  // setDimensions, setHints, setColorModel, rows 0 and 1, row 2
    const host::Outcome<jboolean> outcome = library.acquireImage(consumer.object());
    EXPECT_FALSE(outcome.value);
    EXPECT_EQ(outcome.thrown, refusal) << "not the consumer's own exception";
    ASSERT_EQ(consumer.calls().size(), 6u);
    EXPECT_EQ(consumer.calls()[5].method, "setPixels");
    EXPECT_EQ(consumer.calls()[5].ints[1], 2);
    EXPECT_EQ(library.getState(), kSourceEnabled);
}
