#include "jni/device_records.h"

#include <cstring>

#include "jni/container_record.h"
#include "jni/java_record.h"
#include "session/identity_field.h"
#include "session/lifecycle.h"
#include "session/native_calls.h"
#include "session/source_directory.h"
#include "settings/capability_access.h"
#include "settings/capability_requests.h"
#include "settings/image_layout.h"

namespace {

constexpr TripletStates kManagerOpenStates = {kStateManagerOpen, kStateTransferring};
constexpr std::uint8_t kContainerFollows = 0;
constexpr std::uint8_t kFaultFollows = 1;
constexpr std::uint8_t kFrameFollows = 0;
constexpr std::uint8_t kFrameUntold = 1;

void writeIdentity(RecordWriter& record, const TW_IDENTITY& identity) {
    record.u32(identity.Id);
    record.u16(identity.Version.MajorNum);
    record.u16(identity.Version.MinorNum);
    record.u16(identity.Version.Language);
    record.u16(identity.Version.Country);
    record.field(identity.Version.Info, sizeof(identity.Version.Info));
    record.u16(identity.ProtocolMajor);
    record.u16(identity.ProtocolMinor);
    record.u32(identity.SupportedGroups);
    record.field(identity.Manufacturer, sizeof(identity.Manufacturer));
    record.field(identity.ProductFamily, sizeof(identity.ProductFamily));
    record.field(identity.ProductName, sizeof(identity.ProductName));
}

std::int64_t inFix32Steps(TW_FIX32 edge) {
    return static_cast<std::int64_t>(edge.Whole) * 65536 + edge.Frac;
}

}  // namespace

std::optional<RecordBytes> sourcesRecord() {
    std::vector<TW_IDENTITY> sources;
    bool listed = false;
    runNativeCall("listSources", CallKind::Step, kManagerOpenStates,
                  [&] { listed = listSources(sources); });
    if (!listed) {
        return std::nullopt;
    }
    RecordWriter record;
    record.u32(static_cast<std::uint32_t>(sources.size()));
    for (const TW_IDENTITY& source : sources) {
        writeIdentity(record, source);
    }
    return record.bytes();
}

std::optional<RecordBytes> defaultSourceRecord() {
    TW_IDENTITY source = {};
    bool found = false;
    runNativeCall("defaultSource", CallKind::Step, kManagerOpenStates,
                  [&] { found = findDefaultSource(source); });
    if (!found) {
        return std::nullopt;
    }
    RecordWriter record;
    writeIdentity(record, source);
    return record.bytes();
}

DeviceAnswer<bool> openSourceByRecord(RecordBytes identityRecord) {
    std::uint32_t id = 0;
    std::string manufacturer;
    std::string family;
    std::string product;
    RecordReader record(std::move(identityRecord));
    if (!record.u32(id) || !record.text(manufacturer) || !record.text(family) ||
        !record.text(product) || !record.atEnd()) {
        return {false, "not a source's identity"};
    }
    TW_IDENTITY identity;
    std::memset(&identity, 0, sizeof(identity));
    identity.Id = id;
    copyField(identity.Manufacturer, manufacturer.c_str());
    copyField(identity.ProductFamily, family.c_str());
    copyField(identity.ProductName, product.c_str());
    bool opened = false;
    runNativeCall("openSourceAs", CallKind::Step, {kStateManagerOpen, kStateManagerOpen},
                  [&] { opened = openSourceAs(identity); });
    return {opened};
}

DeviceAnswer<std::optional<RecordBytes>> capabilityRecord(std::int32_t capability,
                                                          std::int32_t msg) {
    const auto message = static_cast<TW_UINT16>(msg);
    if (msg != message || !isCapabilityRead(message)) {
        return {std::nullopt, "not a capability read"};
    }
    std::optional<ContainerResult> answer;
    runNativeCall("readCapability", CallKind::Step, kSourceOpenStates,
                  [&] { answer = readCapability(static_cast<TW_UINT16>(capability), message); });
    if (!answer) {
        return {};
    }
    RecordWriter record;
    if (answer->ok()) {
        record.u8(kContainerFollows);
        writeContainer(record, answer->container);
    } else {
        record.u8(kFaultFollows);
        record.text(answer->fault);
    }
    return {record.bytes()};
}

DeviceAnswer<bool> setCapabilityByRecord(std::int32_t capability, RecordBytes container) {
    RecordReader record(std::move(container));
    const auto described = readContainerRecord(record);
    if (!described) {
        return {false, "not a container"};
    }
    const LaidContainer laid = layContainer(*described);
    if (!laid.fault.empty()) {
        return {false, laid.fault};
    }
    bool taken = false;
    runNativeCall("setCapability", CallKind::Step, kSourceOpenStates, [&] {
        taken = setCapability(static_cast<TW_UINT16>(capability), described->conType, laid.bytes);
    });
    return {taken};
}

DeviceAnswer<std::optional<RecordBytes>> frameRecord(double left, double top, double right,
                                                     double bottom) {
    if (!fitsFix32(left) || !fitsFix32(top) || !fitsFix32(right) || !fitsFix32(bottom)) {
        return {std::nullopt, "a frame's edges are numbers from -32768 to below 32768"};
    }
    const TW_FRAME frame = fix32Frame(left, top, right, bottom);
    bool taken = false;
    std::optional<TW_FRAME> told;
    runNativeCall("setFractionalFrame", CallKind::Step, kSourceOpenStates, [&] {
        taken = sendFrame(frame);
        if (taken) {
            told = readFrame();
        }
    });
    if (!taken) {
        return {};
    }
    RecordWriter record;
    if (!told) {
        record.u8(kFrameUntold);
        return {record.bytes()};
    }
    record.u8(kFrameFollows);
    for (const TW_FIX32& edge : {told->Left, told->Top, told->Right, told->Bottom}) {
        record.i64(inFix32Steps(edge));
    }
    return {record.bytes()};
}
