#include "jni/java_record.h"

#include <windows.h>

#include <cstring>

#include "image/local_ref.h"

void RecordWriter::u16(std::uint32_t value) {
    u8(static_cast<std::uint8_t>(value));
    u8(static_cast<std::uint8_t>(value >> 8));
}

void RecordWriter::u32(std::uint32_t value) {
    u16(value);
    u16(value >> 16);
}

void RecordWriter::i64(std::int64_t value) {
    const auto bits = static_cast<std::uint64_t>(value);
    u32(static_cast<std::uint32_t>(bits));
    u32(static_cast<std::uint32_t>(bits >> 32));
}

void RecordWriter::text(std::string_view systemText) {
    std::vector<WCHAR> units;
    if (!systemText.empty()) {
        // One unit per byte at most, in any code page; the texts are a few hundred bytes at most.
        units.resize(systemText.size());
        const int count =
            MultiByteToWideChar(CP_ACP, 0, systemText.data(), static_cast<int>(systemText.size()),
                                units.data(), static_cast<int>(units.size()));
        units.resize(count > 0 ? static_cast<std::size_t>(count) : 0);
    }
    u32(static_cast<std::uint32_t>(units.size()));
    for (const WCHAR unit : units) {
        u16(unit);
    }
}

void RecordWriter::field(const char* chars, std::size_t size) {
    const void* end = std::memchr(chars, 0, size);
    text(std::string_view(chars, end ? static_cast<const char*>(end) - chars : size));
}

bool RecordReader::take(std::size_t count, const std::uint8_t*& at) {
    if (left() < count) {
        return false;
    }
    at = bytes_.data() + at_;
    at_ += count;
    return true;
}

bool RecordReader::u8(std::uint8_t& value) {
    const std::uint8_t* at = nullptr;
    if (!take(1, at)) {
        return false;
    }
    value = *at;
    return true;
}

bool RecordReader::u16(std::uint32_t& value) {
    const std::uint8_t* at = nullptr;
    if (!take(2, at)) {
        return false;
    }
    value = at[0] | static_cast<std::uint32_t>(at[1]) << 8;
    return true;
}

bool RecordReader::u32(std::uint32_t& value) {
    const std::uint8_t* at = nullptr;
    if (!take(4, at)) {
        return false;
    }
    value = at[0] | static_cast<std::uint32_t>(at[1]) << 8 |
            static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
    return true;
}

bool RecordReader::i64(std::int64_t& value) {
    if (left() < 8) {
        return false;
    }
    std::uint32_t low = 0;
    std::uint32_t high = 0;
    u32(low);
    u32(high);
    value = static_cast<std::int64_t>(low | static_cast<std::uint64_t>(high) << 32);
    return true;
}

bool RecordReader::text(std::string& systemText) {
    std::uint32_t count = 0;
    if (!u32(count) || left() / 2 < count) {
        return false;
    }
    std::vector<WCHAR> units(count);
    for (WCHAR& unit : units) {
        std::uint32_t value = 0;
        u16(value);
        unit = static_cast<WCHAR>(value);
    }
    systemText.clear();
    if (count == 0) {
        return true;
    }
    // Three bytes per unit cover every code page the system may have, UTF-8 included.
    systemText.resize(std::size_t{count} * 3);
    const int written =
        WideCharToMultiByte(CP_ACP, 0, units.data(), static_cast<int>(count), systemText.data(),
                            static_cast<int>(systemText.size()), nullptr, nullptr);
    systemText.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
    return written > 0;
}

jbyteArray toJavaBytes(JNIEnv* env, const std::vector<std::uint8_t>& bytes) {
    const auto length = static_cast<jsize>(bytes.size());
    const jbyteArray array = env->NewByteArray(length);
    if (array != nullptr && length > 0) {
        env->SetByteArrayRegion(array, 0, length, reinterpret_cast<const jbyte*>(bytes.data()));
    }
    return array;
}

std::optional<std::vector<std::uint8_t>> fromJavaBytes(JNIEnv* env, jbyteArray array) {
    if (array == nullptr) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(env->GetArrayLength(array)));
    if (!bytes.empty()) {
        env->GetByteArrayRegion(array, 0, static_cast<jsize>(bytes.size()),
                                reinterpret_cast<jbyte*>(bytes.data()));
    }
    return bytes;
}

void throwIllegalArgument(JNIEnv* env, const char* message) {
    const LocalRef<jclass> type(env, env->FindClass("java/lang/IllegalArgumentException"));
    if (type.get() != nullptr) {
        env->ThrowNew(type.get(), message);
    }
}
