#include "jni/source_natives.h"

#include <cstring>
#include <vector>

#include "jni/java_record.h"
#include "session/identity_field.h"
#include "session/lifecycle.h"
#include "session/native_calls.h"
#include "session/native_guard.h"
#include "session/source_directory.h"

namespace {

constexpr TripletStates kManagerOpenStates = {kStateManagerOpen, kStateTransferring};

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

jbyteArray sourcesRecord(JNIEnv* env) {
    std::vector<TW_IDENTITY> sources;
    bool listed = false;
    runNativeCall("listSources", CallKind::Step, kManagerOpenStates,
                  [&] { listed = listSources(sources); });
    if (!listed) {
        return nullptr;
    }
    RecordWriter record;
    record.u32(static_cast<std::uint32_t>(sources.size()));
    for (const TW_IDENTITY& source : sources) {
        writeIdentity(record, source);
    }
    return toJavaBytes(env, record.bytes());
}

jbyteArray defaultSourceRecord(JNIEnv* env) {
    TW_IDENTITY source = {};
    bool found = false;
    runNativeCall("defaultSource", CallKind::Step, kManagerOpenStates,
                  [&] { found = findDefaultSource(source); });
    if (!found) {
        return nullptr;
    }
    RecordWriter record;
    writeIdentity(record, source);
    return toJavaBytes(env, record.bytes());
}

jboolean openSourceByIdentity(JNIEnv* env, jbyteArray identityRecord) {
    auto bytes = fromJavaBytes(env, identityRecord);
    std::uint32_t id = 0;
    std::string manufacturer;
    std::string family;
    std::string product;
    std::optional<RecordReader> record;
    if (bytes) {
        record.emplace(std::move(*bytes));
    }
    if (!record || !record->u32(id) || !record->text(manufacturer) || !record->text(family) ||
        !record->text(product) || !record->atEnd()) {
        throwIllegalArgument(env, "not a source's identity");
        return JNI_FALSE;
    }
    TW_IDENTITY identity;
    std::memset(&identity, 0, sizeof(identity));
    identity.Id = id;
    copyField(identity.Manufacturer, manufacturer.c_str());
    copyField(identity.ProductFamily, family.c_str());
    copyField(identity.ProductName, product.c_str());
    return stepCall("openSourceAs", CallKind::Step, {kStateManagerOpen, kStateManagerOpen},
                    [&identity] { return openSourceAs(identity); });
}

}  // namespace

jbyteArray JNICALL listSourcesNative(JNIEnv* env, jclass) {
    return guardedNative(env, "listSources", jbyteArray{}, [env] { return sourcesRecord(env); });
}

jbyteArray JNICALL defaultSourceNative(JNIEnv* env, jclass) {
    return guardedNative(env, "defaultSource", jbyteArray{},
                         [env] { return defaultSourceRecord(env); });
}

jboolean JNICALL openSourceNative(JNIEnv* env, jclass, jbyteArray identity) {
    return guardedNative(env, "openSource", jboolean{JNI_FALSE},
                         [env, identity] { return openSourceByIdentity(env, identity); });
}
