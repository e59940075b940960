// JNI side of the Java test controls: thin calls into the scanner's control functions.
#include <jni.h>
#include <win32_posix_test_hooks.h>

#include <vector>

#include "virtual_scanner_control.h"

namespace {

jbyteArray toByteArray(JNIEnv* env, size_t (*read)(size_t, uint8_t*, size_t), jint index) {
    const size_t size = read(static_cast<size_t>(index), nullptr, 0);
    std::vector<uint8_t> bytes(size);
    read(static_cast<size_t>(index), bytes.data(), bytes.size());
    jbyteArray array = env->NewByteArray(static_cast<jsize>(size));
    if (array != nullptr) {
        env->SetByteArrayRegion(array, 0, static_cast<jsize>(size),
                                reinterpret_cast<const jbyte*>(bytes.data()));
    }
    return array;
}

thread_local std::vector<UINT> recordedMessages;

LRESULT recordingProcedure(HWND, UINT message, WPARAM, LPARAM) {
    recordedMessages.push_back(message);
    return 0;
}

}  // namespace

extern "C" {

JNIEXPORT void JNICALL Java_scanlink_virtualscanner_VirtualScanner_setPageFiles(JNIEnv* env, jclass,
                                                                                jstring list) {
    const char* chars = env->GetStringUTFChars(list, nullptr);
    if (chars != nullptr) {
        vscan_setPageFiles(chars);
        env->ReleaseStringUTFChars(list, chars);
    }
}

JNIEXPORT jintArray JNICALL Java_scanlink_virtualscanner_VirtualScanner_expectedPage(JNIEnv* env,
                                                                                     jclass) {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> rgb(vscan_expectedPage(nullptr, 0, &width, &height));
    vscan_expectedPage(rgb.data(), rgb.size(), &width, &height);
    jintArray array = env->NewIntArray(static_cast<jsize>(rgb.size() + 2));
    if (array != nullptr) {
        const jint size[] = {width, height};
        env->SetIntArrayRegion(array, 0, 2, size);
        env->SetIntArrayRegion(array, 2, static_cast<jsize>(rgb.size()),
                               reinterpret_cast<const jint*>(rgb.data()));
    }
    return array;
}

// A window of the calling thread whose procedure counts what is dispatched to it.
JNIEXPORT jint JNICALL Java_scanlink_virtualscanner_VirtualScanner_createRecordingWindow(JNIEnv*,
                                                                                         jclass) {
    static const ATOM registered = [] {
        WNDCLASSA recording = {};
        recording.lpfnWndProc = recordingProcedure;
        recording.lpszClassName = "VirtualScannerTestWindow";
        return RegisterClassA(&recording);
    }();
    (void)registered;
    recordedMessages.clear();
    return static_cast<jint>(
        CreateWindowExA(0, "VirtualScannerTestWindow", "test", 0, 0, 0, 0, 0, 0, 0, 0, nullptr));
}

JNIEXPORT jint JNICALL Java_scanlink_virtualscanner_VirtualScanner_dispatchedTo(JNIEnv*, jclass,
                                                                                jint message) {
    jint count = 0;
    for (UINT recorded : recordedMessages) {
        count += recorded == static_cast<UINT>(message) ? 1 : 0;
    }
    return count;
}

JNIEXPORT jboolean JNICALL Java_scanlink_virtualscanner_VirtualScanner_destroyWindow(JNIEnv*,
                                                                                     jclass,
                                                                                     jint window) {
    return DestroyWindow(static_cast<HWND>(window)) ? JNI_TRUE : JNI_FALSE;
}

JNIEXPORT jboolean JNICALL Java_scanlink_virtualscanner_VirtualScanner_postMessage(JNIEnv*, jclass,
                                                                                   jint window,
                                                                                   jint message) {
    return PostMessageA(static_cast<HWND>(window), static_cast<UINT>(message), 0, 0) ? JNI_TRUE
                                                                                     : JNI_FALSE;
}

JNIEXPORT void JNICALL Java_scanlink_virtualscanner_VirtualScanner_postQuitMessage(JNIEnv*,
                                                                                   jclass) {
    PostQuitMessage(0);
}

JNIEXPORT jlong JNICALL Java_scanlink_virtualscanner_VirtualScanner_window(JNIEnv* env, jclass,
                                                                           jstring which) {
    const char* name = env->GetStringUTFChars(which, nullptr);
    if (name == nullptr) {
        return 0;
    }
    const uint64_t window = vscan_window(name);
    env->ReleaseStringUTFChars(which, name);
    return static_cast<jlong>(window);
}

JNIEXPORT jboolean JNICALL Java_scanlink_virtualscanner_VirtualScanner_press(JNIEnv* env, jclass,
                                                                             jstring which,
                                                                             jint button) {
    const char* name = env->GetStringUTFChars(which, nullptr);
    if (name == nullptr) {
        return JNI_FALSE;
    }
    const int pressed = vscan_press(name, button);
    env->ReleaseStringUTFChars(which, name);
    return pressed ? JNI_TRUE : JNI_FALSE;
}

JNIEXPORT jlong JNICALL Java_scanlink_virtualscanner_VirtualScanner_queuedMessages(JNIEnv*,
                                                                                   jclass) {
    return static_cast<jlong>(win32posix_queuedMessages());
}

JNIEXPORT void JNICALL Java_scanlink_virtualscanner_VirtualScanner_reset(JNIEnv*, jclass) {
    vscan_reset();
}

JNIEXPORT void JNICALL Java_scanlink_virtualscanner_VirtualScanner_powerCycle(JNIEnv*, jclass) {
    vscan_powerCycle();
}

JNIEXPORT void JNICALL Java_scanlink_virtualscanner_VirtualScanner_script(
    JNIEnv*, jclass, jint dg, jint dat, jint msg, jint resultCode, jint conditionCode, jint times) {
    vscan_script(static_cast<uint32_t>(dg), static_cast<uint16_t>(dat), static_cast<uint16_t>(msg),
                 static_cast<uint16_t>(resultCode), static_cast<uint16_t>(conditionCode), times);
}

JNIEXPORT void JNICALL Java_scanlink_virtualscanner_VirtualScanner_setKnob(JNIEnv* env, jclass,
                                                                           jstring name,
                                                                           jlong value) {
    const char* chars = env->GetStringUTFChars(name, nullptr);
    if (chars != nullptr) {
        vscan_setKnob(chars, value);
        env->ReleaseStringUTFChars(name, chars);
    }
}

JNIEXPORT jint JNICALL Java_scanlink_virtualscanner_VirtualScanner_managerState(JNIEnv*, jclass) {
    return vscan_managerState();
}

JNIEXPORT jint JNICALL Java_scanlink_virtualscanner_VirtualScanner_sourceState(JNIEnv*, jclass) {
    return vscan_sourceState();
}

JNIEXPORT jlong JNICALL Java_scanlink_virtualscanner_VirtualScanner_liveGlobalHandles(JNIEnv*,
                                                                                      jclass) {
    return static_cast<jlong>(win32posix_liveGlobalHandles());
}

JNIEXPORT jlong JNICALL Java_scanlink_virtualscanner_VirtualScanner_liveWindows(JNIEnv*, jclass) {
    return static_cast<jlong>(win32posix_liveWindows());
}

JNIEXPORT jint JNICALL Java_scanlink_virtualscanner_VirtualScanner_logSize(JNIEnv*, jclass) {
    return static_cast<jint>(vscan_logSize());
}

JNIEXPORT jlongArray JNICALL Java_scanlink_virtualscanner_VirtualScanner_logHeader(JNIEnv* env,
                                                                                   jclass,
                                                                                   jint index) {
    VscanTriplet entry{};
    vscan_logEntry(static_cast<size_t>(index), &entry);
    const jlong header[] = {entry.originId,   entry.toSource, entry.destinationId,
                            entry.dg,         entry.dat,      entry.msg,
                            entry.resultCode, entry.thread,   entry.refusedForThread};
    const jsize count = static_cast<jsize>(sizeof(header) / sizeof(header[0]));
    jlongArray array = env->NewLongArray(count);
    if (array != nullptr) {
        env->SetLongArrayRegion(array, 0, count, header);
    }
    return array;
}

JNIEXPORT jbyteArray JNICALL Java_scanlink_virtualscanner_VirtualScanner_logData(JNIEnv* env,
                                                                                 jclass,
                                                                                 jint index) {
    return toByteArray(env, vscan_logData, index);
}

JNIEXPORT jbyteArray JNICALL Java_scanlink_virtualscanner_VirtualScanner_logOrigin(JNIEnv* env,
                                                                                   jclass,
                                                                                   jint index) {
    return toByteArray(env, vscan_logOrigin, index);
}

JNIEXPORT jbyteArray JNICALL Java_scanlink_virtualscanner_VirtualScanner_logContainer(JNIEnv* env,
                                                                                      jclass,
                                                                                      jint index) {
    return toByteArray(env, vscan_logContainer, index);
}

}  // extern "C"
