// Compile-time checks of what the Windows binaries share with their callers and callees: the JNI
// types as a Windows VM has them, and the convention by which DSM_Entry is called.
#include <jni.h>

#include <type_traits>

#include "twain/twain.h"

// A Windows VM passes jint as a 32-bit long (long stays 32 bits on 64-bit Windows) and jlong as a
// 64-bit integer.
static_assert(std::is_same_v<jint, long> && sizeof(jint) == 4);
static_assert(sizeof(jlong) == 8);
static_assert(std::is_same_v<jbyte, signed char>);
static_assert(sizeof(jboolean) == 1 && sizeof(jchar) == 2 && sizeof(jshort) == 2);
static_assert(sizeof(jfloat) == 4 && sizeof(jdouble) == 8);

using PlainEntry = TW_UINT16 (*)(pTW_IDENTITY, pTW_IDENTITY, TW_UINT32, TW_UINT16, TW_UINT16,
                                 TW_MEMREF);

#if defined(_WIN64)
static_assert(sizeof(void*) == 8, "a 64-bit target");

// x64 has one calling convention: the manager's DSM_Entry is called like any other function.
static_assert(std::is_same_v<DSMENTRYPROC, PlainEntry>);
#else
static_assert(sizeof(void*) == 4, "a 32-bit target");

// DSM_Entry pops its own 24 bytes of arguments (it returns with ret 0x18), so the pointer through
// which it is called must be __stdcall; a __cdecl call would pop them a second time.
using StdcallEntry = TW_UINT16(__stdcall*)(pTW_IDENTITY, pTW_IDENTITY, TW_UINT32, TW_UINT16,
                                           TW_UINT16, TW_MEMREF);
static_assert(std::is_same_v<DSMENTRYPROC, StdcallEntry>);
static_assert(!std::is_same_v<DSMENTRYPROC, PlainEntry>);
#endif
