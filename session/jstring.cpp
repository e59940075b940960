#include "session/jstring.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <new>

namespace {

// Bytes of the ANSI form: one per UTF-16 unit in a single-byte code page, up to two in a
// double-byte one, where a buffer of one byte per unit would cut the text short.
std::size_t ansiSize(const jchar* chars, jsize length) {
    if (length == 0) {
        return 0;  // Windows refuses a zero source count; there is nothing to convert anyway
    }
    const int needed = WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<LPCWSTR>(chars), length,
                                           nullptr, 0, nullptr, nullptr);
    // Both counts are ints, so the size fits the int that the conversion takes as output size.
    return std::max<std::size_t>(static_cast<std::size_t>(length),
                                 needed > 0 ? static_cast<std::size_t>(needed) : 0);
}

}  // namespace

JString::JString(JNIEnv* env, jstring string) {
    if (string == nullptr) {
        return;
    }
    const jsize length = env->GetStringLength(string);
    const jchar* chars = env->GetStringChars(string, nullptr);
    if (chars == nullptr) {
        return;
    }
    const std::size_t size = ansiSize(chars, length);
    buffer_ = new (std::nothrow) char[size + 1];
    if (buffer_ != nullptr) {
        std::memset(buffer_, 0, size + 1);  // the last byte always stays the terminator
        if (size > 0) {
            WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<LPCWSTR>(chars), length, buffer_,
                                static_cast<int>(size), nullptr, nullptr);
        }
    }
    env->ReleaseStringChars(string, chars);
}

JString::~JString() {
    delete[] buffer_;
    buffer_ = nullptr;
}
