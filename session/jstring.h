// The ANSI copy of one Java string, owned for the lifetime of the object.
#ifndef SCANLINK_SESSION_JSTRING_H
#define SCANLINK_SESSION_JSTRING_H

#include <jni.h>

class JString {
  public:
    // A null string, characters the VM cannot give, or a failed allocation leave no copy.
    JString(JNIEnv* env, jstring string);
    ~JString();
    JString(const JString&) = delete;
    JString& operator=(const JString&) = delete;

    // The zero-terminated ANSI copy, or null when there is none.
    const char* get() const { return buffer_; }

  private:
    char* buffer_ = nullptr;
};

#endif
