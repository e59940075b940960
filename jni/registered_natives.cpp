#include "jni/registered_natives.h"

#include <iterator>
#include <string>

#include "build_version.h"
#include "image/consume.h"
#include "image/local_ref.h"
#include "jni/capability_natives.h"
#include "jni/frame_natives.h"
#include "jni/page_natives.h"
#include "jni/java_record.h"
#include "jni/source_natives.h"
#include "jni/transfer_natives.h"
#include "jni/transfer_step_natives.h"
#include "session/jstring.h"
#include "session/native_guard.h"
#include "session/refusal.h"
#include "session/session_thread.h"
#include "trace/trace.h"

namespace {

// QZ.korvel.twain.PageWait.cancel(): ends the session thread's wait for a page from any thread,
// sending nothing from the caller's.
void JNICALL cancelWait(JNIEnv* env, jclass) { guardedNative(env, "cancel", cancelPageWait); }

// QZ.korvel.twain.BridgePages.deliver(): a page that a bridge process sent, in a direct buffer,
// decoded and delivered as acquireImage delivers the session's own. A null buffer stands for an
// image the source's handle did not give, which the decoder refuses as it does here.
jboolean JNICALL deliverBridgePage(JNIEnv* env, jclass, jobject dib, jlong size,
                                   jobject consumer) {
    return guardedNative(env, "deliver", jboolean{JNI_FALSE}, [&]() -> jboolean {
        void* bytes = dib != nullptr ? env->GetDirectBufferAddress(dib) : nullptr;
        const jlong capacity = dib != nullptr ? env->GetDirectBufferCapacity(dib) : 0;
        if (dib != nullptr && (bytes == nullptr || size < 0 || size > capacity)) {
            throwIllegalArgument(env, "not a page in a direct buffer");
            return JNI_FALSE;
        }
        return deliverImage(env, consumer, bytes, static_cast<std::size_t>(bytes ? size : 0));
    });
}

// QZ.korvel.twain.TraceNatives: the trace is the library's, not the session's, so any thread
// starts and stops it at once. The file's name is in the system's code page, as the C library
// opens it.
jboolean JNICALL startTraceTo(JNIEnv* env, jclass, jstring path) {
    return guardedNative(env, "startTrace", jboolean{JNI_FALSE}, [env, path] {
        const JString file(env, path);
        return file.get() != nullptr && startTrace(file.get()) ? JNI_TRUE : JNI_FALSE;
    });
}

void JNICALL stopTracing(JNIEnv* env, jclass) { guardedNative(env, "stopTrace", stopTrace); }

// A line of the binding's own, such as a failure that Java found before anything was sent.
void JNICALL traceJavaLine(JNIEnv* env, jclass, jstring text) {
    guardedNative(env, "line", [env, text] {
        if (!traceOn()) {
            return;
        }
        const JString line(env, text);
        if (line.get() != nullptr) {
            traceEvent(line.get());
        }
    });
}

// What the binding tells of the system and the VM, for the trace's header.
void JNICALL describeHost(JNIEnv* env, jclass, jstring text) {
    guardedNative(env, "describeHost", [env, text] {
        const JString description(env, text);
        if (description.get() != nullptr) {
            traceHostIs(description.get());
        }
    });
}

// QZ.korvel.twain.NativeVersion.library(): the version the library was built as.
jstring JNICALL libraryVersion(JNIEnv* env, jclass) {
    return guardedNative(env, "library", jstring{},
                         [env] { return env->NewStringUTF(SCANLINK_VERSION); });
}

// QZ.korvel.twain.SessionStates.lastRefusal(): why the session last refused a call, or null.
jstring JNICALL lastRefusalText(JNIEnv* env, jclass) {
    return guardedNative(env, "lastRefusal", jstring{}, [env] {
        const std::string text = lastRefusal();
        return text.empty() ? nullptr : env->NewStringUTF(text.c_str());
    });
}

struct NativeClass {
    const char* name;
    JNINativeMethod* methods;
    jint count;
};

JNINativeMethod pageWaitMethods[] = {
    {const_cast<char*>("cancel"), const_cast<char*>("()V"), reinterpret_cast<void*>(cancelWait)},
};

JNINativeMethod bridgePageMethods[] = {
    {const_cast<char*>("deliver"),
     const_cast<char*>("(Ljava/nio/ByteBuffer;JLjava/awt/image/ImageConsumer;)Z"),
     reinterpret_cast<void*>(deliverBridgePage)},
};

JNINativeMethod traceMethods[] = {
    {const_cast<char*>("startTrace"), const_cast<char*>("(Ljava/lang/String;)Z"),
     reinterpret_cast<void*>(startTraceTo)},
    {const_cast<char*>("stopTrace"), const_cast<char*>("()V"),
     reinterpret_cast<void*>(stopTracing)},
    {const_cast<char*>("line"), const_cast<char*>("(Ljava/lang/String;)V"),
     reinterpret_cast<void*>(traceJavaLine)},
    {const_cast<char*>("describeHost"), const_cast<char*>("(Ljava/lang/String;)V"),
     reinterpret_cast<void*>(describeHost)},
};

JNINativeMethod versionMethods[] = {
    {const_cast<char*>("library"), const_cast<char*>("()Ljava/lang/String;"),
     reinterpret_cast<void*>(libraryVersion)},
};

JNINativeMethod deviceMethods[] = {
    {const_cast<char*>("listSources"), const_cast<char*>("()[B"),
     reinterpret_cast<void*>(listSourcesNative)},
    {const_cast<char*>("defaultSource"), const_cast<char*>("()[B"),
     reinterpret_cast<void*>(defaultSourceNative)},
    {const_cast<char*>("openSource"), const_cast<char*>("([B)Z"),
     reinterpret_cast<void*>(openSourceNative)},
    {const_cast<char*>("readCapability"), const_cast<char*>("(II)[B"),
     reinterpret_cast<void*>(readCapabilityNative)},
    {const_cast<char*>("setCapability"), const_cast<char*>("(I[B)Z"),
     reinterpret_cast<void*>(setCapabilityNative)},
    {const_cast<char*>("setFractionalFrame"), const_cast<char*>("(DDDD)[B"),
     reinterpret_cast<void*>(setFractionalFrameNative)},
    {const_cast<char*>("transferFailure"), const_cast<char*>("()J"),
     reinterpret_cast<void*>(transferFailureNative)},
};

JNINativeMethod pageTransferMethods[] = {
    {const_cast<char*>("acquire"),
     const_cast<char*>("(LQZ/korvel/twain/PageBuilder;ILjava/lang/String;I)I"),
     reinterpret_cast<void*>(acquirePageNative)},
};

JNINativeMethod sessionStatesMethods[] = {
    {const_cast<char*>("lastRefusal"), const_cast<char*>("()Ljava/lang/String;"),
     reinterpret_cast<void*>(lastRefusalText)},
};

JNINativeMethod transferStepMethods[] = {
    {const_cast<char*>("awaitTransferReady"), const_cast<char*>("()Z"),
     reinterpret_cast<void*>(awaitTransferReadyNative)},
    {const_cast<char*>("imageInfo"), const_cast<char*>("()[B"),
     reinterpret_cast<void*>(imageInfoNative)},
    {const_cast<char*>("transferWithoutEnding"), const_cast<char*>("()Z"),
     reinterpret_cast<void*>(transferWithoutEndingNative)},
    {const_cast<char*>("endTransfer"), const_cast<char*>("()I"),
     reinterpret_cast<void*>(endTransferNative)},
};

// Classes without a static initialiser, every one (see registered_natives.h).
const NativeClass nativeClasses[] = {
    {"QZ/korvel/twain/PageWait", pageWaitMethods, static_cast<jint>(std::size(pageWaitMethods))},
    {"QZ/korvel/twain/BridgePages", bridgePageMethods,
     static_cast<jint>(std::size(bridgePageMethods))},
    {"QZ/korvel/twain/TraceNatives", traceMethods, static_cast<jint>(std::size(traceMethods))},
    {"QZ/korvel/twain/NativeVersion", versionMethods, static_cast<jint>(std::size(versionMethods))},
    {"QZ/korvel/twain/DeviceEx", deviceMethods, static_cast<jint>(std::size(deviceMethods))},
    {"QZ/korvel/twain/PageTransfers", pageTransferMethods,
     static_cast<jint>(std::size(pageTransferMethods))},
    {"QZ/korvel/twain/SessionStates", sessionStatesMethods,
     static_cast<jint>(std::size(sessionStatesMethods))},
    {"QZ/korvel/twain/TransferNatives", transferStepMethods,
     static_cast<jint>(std::size(transferStepMethods))},
};

}  // namespace

void registerNatives(JNIEnv* env) {
    for (const NativeClass& nativeClass : nativeClasses) {
        const LocalRef<jclass> found(env, env->FindClass(nativeClass.name));
        if (found.get() == nullptr) {
            env->ExceptionClear();
            continue;
        }
        if (env->RegisterNatives(found.get(), nativeClass.methods, nativeClass.count) != JNI_OK) {
            env->ExceptionClear();
        }
    }
}
