// What DeviceEx's natives answer, as the records of java_record.h, whoever asks: the VM through
// the natives, or a parent process through the bridge. Each runs its requests under the session's
// thread rules; none touches the VM.
#ifndef SCANLINK_JNI_DEVICE_RECORDS_H
#define SCANLINK_JNI_DEVICE_RECORDS_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

using RecordBytes = std::vector<std::uint8_t>;

// An answer, or why the request was refused before anything was sent (an argument that cannot
// be used): the natives throw an IllegalArgumentException with that text.
template <class Value>
struct DeviceAnswer {
    DeviceAnswer() = default;
    DeviceAnswer(Value answered) : value(std::move(answered)) {}
    DeviceAnswer(Value answered, std::string refused)
        : value(std::move(answered)), refusal(std::move(refused)) {}

    Value value{};
    std::string refusal;
};

// The count of sources, then each identity; none when the list could not be had.
std::optional<RecordBytes> sourcesRecord();
// The default source's identity, or none.
std::optional<RecordBytes> defaultSourceRecord();
// Opens the source named by a record of its Id, manufacturer, product family and product name.
DeviceAnswer<bool> openSourceByRecord(RecordBytes identity);
// A read of a capability: 0 and the container, or 1 and why the source's container was refused;
// none when the request failed.
DeviceAnswer<std::optional<RecordBytes>> capabilityRecord(std::int32_t capability,
                                                          std::int32_t msg);
// MSG_SET with the container the record describes.
DeviceAnswer<bool> setCapabilityByRecord(std::int32_t capability, RecordBytes container);
// The frame set, then read back: 0 and the four edges in 1/65536 steps, or 1 alone when the
// source does not tell; none when it refused the frame.
DeviceAnswer<std::optional<RecordBytes>> frameRecord(double left, double top, double right,
                                                     double bottom);

#endif
