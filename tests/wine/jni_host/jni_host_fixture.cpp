#include "jni_host_fixture.h"

#include <virtual_scanner_control.h>

void JniHost::SetUp() { vscan_reset(); }

void JniHost::TearDown() {
    EXPECT_TRUE(library.step("unregister"));
    EXPECT_EQ(library.getState(), kManagerNotLoaded);
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
