// A library of the binding's file name, as one planted on a search path would be. It has none of
// the natives; its load hook writes the file that PLANTED_MARKER names, so that a test can tell
// whether a VM ever loaded it.
#include <jni.h>

#include <cstdio>
#include <cstdlib>

extern "C" JNIEXPORT jint JNICALL JNI_OnLoad(JavaVM*, void*) {
    if (const char* marker = std::getenv("PLANTED_MARKER")) {
        if (std::FILE* file = std::fopen(marker, "w")) {
            std::fputs("the planted library ran\n", file);
            std::fclose(file);
        }
    }
    return JNI_VERSION_1_2;
}
