// What the JNI host's tests share: the shipped library, a virtual scanner reset before each test,
// and a session taken down after it.
#ifndef SCANLINK_TESTS_JNI_HOST_JNI_HOST_FIXTURE_H
#define SCANLINK_TESTS_JNI_HOST_JNI_HOST_FIXTURE_H

#include <gtest/gtest.h>
#include <jni.h>

#include "recording_consumer.h"
#include "shipped_library.h"

// The session's states as getState tells them.
inline constexpr jint kManagerNotLoaded = 1;
inline constexpr jint kManagerOpen = 3;
inline constexpr jint kSourceOpen = 4;
inline constexpr jint kSourceEnabled = 5;

class JniHost : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Registers and opens the default source: state 4.
    void openSource();

    host::ShippedLibrary& library = host::ShippedLibrary::instance();
};

// The consumer received one page of that size as the library delivers it: setDimensions,
// setHints, setColorModel, one setPixels per row from the top with that model, imageComplete.
void expectOnePage(const host::RecordingConsumer& consumer, jint width, jint height);

#endif
