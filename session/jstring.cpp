#include "session/jstring.h"

#include <windows.h>

#include <cstring>
#include <new>

JString::JString(JNIEnv* env, jstring string) {
    if (string == nullptr) {
        return;
    }
    const jsize length = env->GetStringLength(string);
    const jchar* chars = env->GetStringChars(string, nullptr);
    if (chars == nullptr) {
        return;
    }
    buffer_ = new (std::nothrow) char[static_cast<std::size_t>(length) + 1];
    if (buffer_ != nullptr) {
        std::memset(buffer_, 0, static_cast<std::size_t>(length) + 1);
        // Windows refuses a zero source count; an empty string needs no conversion anyway.
        if (length > 0) {
            WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<LPCWSTR>(chars), length, buffer_,
                                length, nullptr, nullptr);
        }
    }
    env->ReleaseStringChars(string, chars);
}

JString::~JString() {
    delete[] buffer_;
    buffer_ = nullptr;
}
