#include "jni_host_fixture.h"

#include <virtual_scanner_control.h>

void JniHost::SetUp() { vscan_reset(); }

// A library never registered stays in state 0; every other one goes back to 1.
void JniHost::TearDown() {
    const jint before = library.getState();
    EXPECT_TRUE(library.step("unregister"));
    EXPECT_EQ(library.getState(), before == 0 ? 0 : kManagerNotLoaded);
}

void JniHost::openSource() {
    ASSERT_TRUE(library.registerApplication(1, 0, host::newString(u"Acme"),
                                            host::newString(u"Office tools"),
                                            host::newString(u"JNI host")));
    ASSERT_TRUE(library.step("openSource"));
    ASSERT_EQ(library.getState(), kSourceOpen);
}

void expectOnePage(const host::RecordingConsumer& consumer, jint width, jint height) {
    const auto& calls = consumer.calls();
    ASSERT_EQ(calls.size(), static_cast<std::size_t>(height) + 4);
    EXPECT_EQ(calls[0].method, "setDimensions");
    EXPECT_EQ(calls[0].ints, (std::vector<jint>{width, height}));
    EXPECT_EQ(calls[1].method, "setHints");
    EXPECT_EQ(calls[1].ints, (std::vector<jint>{host::kSingleFrame | host::kCompleteScanLines |
                                                host::kSinglePass | host::kTopDownLeftRight}));
    EXPECT_EQ(calls[2].method, "setColorModel");
    const host::Object* model = calls[2].model;
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->kind, host::Kind::ColorModel);
    for (jint y = 0; y < height; ++y) {
        const host::ConsumerCall& row = calls[static_cast<std::size_t>(y) + 3];
        ASSERT_EQ(row.method, "setPixels") << "row " << y;
        EXPECT_EQ(row.ints, (std::vector<jint>{0, y, width, 1, 0, width})) << "row " << y;
        EXPECT_EQ(row.model, model) << "row " << y;
    }
    EXPECT_EQ(calls.back().method, "imageComplete");
    EXPECT_EQ(calls.back().ints, (std::vector<jint>{host::kStaticImageDone}));
}
