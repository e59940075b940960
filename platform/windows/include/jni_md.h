/* The machine-dependent part of the Java Native Interface for Windows, 32- and 64-bit. The JDK's
 * own jni.h includes it; a JDK for Linux ships only its Linux counterpart, so the cross build takes
 * this one. Native methods are exported from the DLL and use __stdcall, the convention of a 32-bit
 * Windows VM (64-bit Windows has only one); the integer types have the widths the VM gives them,
 * with jint a 32-bit long as on Windows. */
#ifndef SCANLINK_WINDOWS_JNI_MD_H
#define SCANLINK_WINDOWS_JNI_MD_H

#ifndef JNIEXPORT
#define JNIEXPORT __declspec(dllexport)
#endif
#define JNIIMPORT __declspec(dllimport)
#define JNICALL __stdcall

typedef long jint;
typedef long long jlong;
typedef signed char jbyte;

#endif
