// The records that the library and the binding's Java classes exchange as byte arrays:
// little-endian numbers, and strings as a 32-bit count of UTF-16 units followed by the units. The
// library converts between those strings and the system's code page, in which TWAIN carries text.
#ifndef SCANLINK_JNI_JAVA_RECORD_H
#define SCANLINK_JNI_JAVA_RECORD_H

#include <jni.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class RecordWriter {
  public:
    void u8(std::uint8_t value) { bytes_.push_back(value); }
    void u16(std::uint32_t value);
    void u32(std::uint32_t value);
    void i64(std::int64_t value);
    void text(std::string_view systemText);
    // A zero-terminated field of `size` bytes; a field without a terminator ends where it does.
    void field(const char* chars, std::size_t size);

    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

  private:
    std::vector<std::uint8_t> bytes_;
};

// Reads a record that the JVM handed over: every read is bounded by the record's size and fails
// past it, taking nothing, and a text's count is judged by the UTF-16 units that are left before
// anything is allocated.
class RecordReader {
  public:
    explicit RecordReader(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

    bool u8(std::uint8_t& value);
    bool u16(std::uint32_t& value);
    bool u32(std::uint32_t& value);
    bool i64(std::int64_t& value);
    bool text(std::string& systemText);
    bool atEnd() const { return at_ == bytes_.size(); }
    std::size_t left() const { return bytes_.size() - at_; }

  private:
    bool take(std::size_t count, const std::uint8_t*& at);

    std::vector<std::uint8_t> bytes_;
    std::size_t at_ = 0;
};

// A new Java byte array with the bytes; null, with the VM's OutOfMemoryError pending, when it
// cannot be made.
jbyteArray toJavaBytes(JNIEnv* env, const std::vector<std::uint8_t>& bytes);
// The bytes of a Java byte array; none for a null array.
std::optional<std::vector<std::uint8_t>> fromJavaBytes(JNIEnv* env, jbyteArray array);

// Throws an IllegalArgumentException with the message, for a record or argument that the library
// refuses before anything is sent.
void throwIllegalArgument(JNIEnv* env, const char* message);

#endif
