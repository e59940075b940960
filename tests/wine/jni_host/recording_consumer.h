// An ImageConsumer of the host's Java world: it records each call it receives, paints the pixels
// of setPixels through their ColorModel into an image of 0xRRGGBB values, and can be told to throw
// at a given call, as a Java consumer that refuses a row would.
#ifndef SCANLINK_TESTS_JNI_HOST_RECORDING_CONSUMER_H
#define SCANLINK_TESTS_JNI_HOST_RECORDING_CONSUMER_H

#include <jni.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "java_objects.h"

namespace host {

// The ImageConsumer constants of java.awt.image, as the library reads them.
inline constexpr jint kTopDownLeftRight = 2;
inline constexpr jint kCompleteScanLines = 4;
inline constexpr jint kSinglePass = 8;
inline constexpr jint kSingleFrame = 16;
inline constexpr jint kStaticImageDone = 3;

struct ConsumerCall {
    std::string method;
    std::vector<jint> ints;    // the int arguments, in order
    Object* model = nullptr;   // the ColorModel of setColorModel and setPixels
    Object* pixels = nullptr;  // the array of setPixels
};

class RecordingConsumer {
  public:
    RecordingConsumer();
    RecordingConsumer(const RecordingConsumer&) = delete;
    RecordingConsumer& operator=(const RecordingConsumer&) = delete;

    Object* object() const { return object_; }
    // The call with this index (0 for the first) throws `throwable` instead of being taken.
    void throwAt(std::size_t call, Object* throwable);

    // One call as the VM hands it over; answers the throwable to raise, or null.
    Object* receive(ConsumerCall call);

    const std::vector<ConsumerCall>& calls() const { return calls_; }
    jint width() const { return width_; }
    jint height() const { return height_; }
    const std::vector<std::uint32_t>& rgb() const { return rgb_; }

  private:
    void paint(const ConsumerCall& call);

    Object* object_;
    std::size_t throwAt_ = SIZE_MAX;
    Object* throwable_ = nullptr;
    std::vector<ConsumerCall> calls_;
    jint width_ = 0;
    jint height_ = 0;
    std::vector<std::uint32_t> rgb_;
};

}  // namespace host

#endif
