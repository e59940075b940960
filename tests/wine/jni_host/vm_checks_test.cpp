// The host's VM sees the faults it is there to see, and its color models answer as
// java.awt.image does (the values are those of OpenJDK's classes).
#include <gtest/gtest.h>
#include <jni.h>

#include <string>
#include <thread>
#include <vector>

#include "java_objects.h"
#include "vm.h"

namespace {

using Faults = std::vector<std::string>;

}  // namespace

TEST(JniHostVm, ReferencesDeletedTwiceUnknownOrOfAnEndedCallAreFaults) {
    host::FaultRecorder recorder;
    jclass kept = nullptr;
    {
        host::NativeFrame frame;
        JNIEnv* env = frame.env();
        const jclass exception = env->FindClass("java/lang/Exception");
        ASSERT_NE(exception, nullptr);
        env->DeleteLocalRef(exception);
        env->DeleteLocalRef(exception);
        int notAReference = 0;
        env->DeleteLocalRef(reinterpret_cast<jobject>(&notAReference));
        EXPECT_EQ(recorder.take(),
                  (Faults{"DeleteLocalRef given a reference that was deleted or whose call ended",
                          "DeleteLocalRef given a reference the VM never made"}));
        kept = env->FindClass("java/lang/Exception");
        jclass foreign = nullptr;
        std::thread([&] {
            host::NativeFrame other;
            foreign = other.env()->FindClass("java/lang/Exception");
            std::thread([&] {
                host::NativeFrame third;
                third.env()->DeleteLocalRef(foreign);
            }).join();
        }).join();
        EXPECT_EQ(recorder.take(),
                  (Faults{"DeleteLocalRef given a local reference of another thread"}));
    }
    host::NativeFrame next;
    EXPECT_EQ(next.env()->GetMethodID(kept, "<init>", "()V"), nullptr);
    EXPECT_EQ(recorder.take(),
              (Faults{"GetMethodID given a reference that was deleted or whose call ended"}));
    next.thrown();
}

TEST(JniHostVm, ACallWithAnExceptionPendingIsAFaultExceptTheFewJniAllows) {
    host::FaultRecorder recorder;
    host::NativeFrame frame;
    JNIEnv* env = frame.env();
    const jclass exception = env->FindClass("java/lang/Exception");
    env->ThrowNew(exception, "pending");
    const jthrowable pending = env->ExceptionOccurred();
    EXPECT_TRUE(env->ExceptionCheck());
    env->DeleteLocalRef(pending);
    EXPECT_EQ(recorder.take(), Faults{});
    env->NewByteArray(1);
    EXPECT_EQ(
        recorder.take(),
        (Faults{"NewByteArray called with an exception pending (java/lang/Exception: pending)"}));
    env->ExceptionClear();
    EXPECT_FALSE(env->ExceptionCheck());
}

TEST(JniHostVm, ElementsNeverReleasedAndTooManyLocalReferencesAreFaults) {
    host::FaultRecorder recorder;
    {
        host::NativeFrame frame;
        JNIEnv* env = frame.env();
        const jbyteArray array = env->NewByteArray(4);
        jbyte* elements = env->GetByteArrayElements(array, nullptr);
        elements[0] = 7;
        env->ReleaseByteArrayElements(array, elements, JNI_COMMIT);
        for (std::size_t i = 1; i < host::kLocalCapacity; ++i) {
            env->FindClass("java/lang/Exception");
        }
        EXPECT_EQ(recorder.take(), Faults{});
        env->FindClass("java/lang/Exception");
    }
    EXPECT_EQ(recorder.take(),
              (Faults{"a native call holds 17 local references at once; a VM guarantees 16",
                      "the elements of a [B were never released by the native call that took "
                      "them"}));
}

TEST(JniHostVm, AnyOtherFunctionOfTheTableEndsTheProcess) {
    EXPECT_DEATH(host::currentEnv()->GetVersion(), "JNIEnv function 4, which the host has not");
}

TEST(JniHostVm, ColorModelsAnswerAsJavaAwtImageDoes) {
    host::ColorModel rgb565;
    rgb565.masks[0] = 0xF800;
    rgb565.masks[1] = 0x07E0;
    rgb565.masks[2] = 0x001F;
    EXPECT_EQ(rgb565.rgb(0x8410), 0x848284u);
    EXPECT_EQ(rgb565.rgb(0xFFFF), 0xFFFFFFu);
    EXPECT_EQ(rgb565.rgb(0xF800), 0xFF0000u);
    host::ColorModel wide;
    wide.masks[0] = 0xFFE00000;
    wide.masks[1] = 0x001FFC00;
    wide.masks[2] = 0x000003FF;
    EXPECT_EQ(wide.rgb(0x80100200), 0x808080u);
    EXPECT_EQ(wide.rgb(0x80000000), 0x800000u);
    host::ColorModel indexed;
    indexed.indexed = true;
    indexed.map = {0x010203, 0xFF007F};
    indexed.map.resize(256);
    EXPECT_EQ(indexed.rgb(1), 0xFF007Fu);
    EXPECT_EQ(indexed.rgb(200), 0u);
}
