// Native side of the Java test harness: hands a Java byte array to deliverImage as a scan would, in
// a native block of exactly the array's length with an inaccessible page right after it.
#include <jni.h>

#include <cstdint>
#include <vector>

#include "guarded_block.h"
#include "image/consume.h"

extern "C" {

// Returns the result of deliverImage; the exception it left pending, if any, is taken out and put
// into thrown[0] so that Java sees the result and the exception together.
JNIEXPORT jboolean JNICALL Java_scanlink_imagetest_DibHarness_deliverNative(JNIEnv* env, jclass,
                                                                            jobject consumer,
                                                                            jbyteArray dib,
                                                                            jobjectArray thrown) {
    jboolean result = JNI_FALSE;
    if (dib == nullptr) {
        result = deliverImage(env, consumer, nullptr, 0);
    } else {
        const jsize length = env->GetArrayLength(dib);
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length));
        env->GetByteArrayRegion(dib, 0, length, reinterpret_cast<jbyte*>(bytes.data()));
        const GuardedBlock block(bytes);
        result = deliverImage(env, consumer, block.data(), block.size());
    }
    const jthrowable pending = env->ExceptionOccurred();
    if (pending != nullptr) {
        env->ExceptionClear();
        env->SetObjectArrayElement(thrown, 0, pending);
        env->DeleteLocalRef(pending);
    }
    return result;
}

}  // extern "C"
