// A JNI local reference that is deleted when its owner goes out of scope, so that a long delivery
// does not fill the local reference table and an early exit leaks nothing.
#ifndef SCANLINK_IMAGE_LOCAL_REF_H
#define SCANLINK_IMAGE_LOCAL_REF_H

#include <jni.h>

template <typename T>
class LocalRef {
  public:
    LocalRef(JNIEnv* env, T ref) : env_(env), ref_(ref) {}
    ~LocalRef() {
        // DeleteLocalRef is one of the calls allowed while an exception is pending.
        if (ref_ != nullptr) {
            env_->DeleteLocalRef(ref_);
        }
    }
    LocalRef(LocalRef&& other) noexcept : env_(other.env_), ref_(other.ref_) {
        other.ref_ = nullptr;
    }
    LocalRef(const LocalRef&) = delete;
    LocalRef& operator=(const LocalRef&) = delete;
    LocalRef& operator=(LocalRef&&) = delete;

    T get() const { return ref_; }

  private:
    JNIEnv* env_;
    T ref_;
};

#endif
