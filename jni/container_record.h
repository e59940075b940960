// Capability containers in the records exchanged with the binding (jni/java_record.h): the
// container type, the item type, the count, the two indices, then each item: a number as 64 bits
// (a TW_FIX32 as its bits Whole << 16 | Frac), a frame as four such numbers, a string as text.
#ifndef SCANLINK_JNI_CONTAINER_RECORD_H
#define SCANLINK_JNI_CONTAINER_RECORD_H

#include <optional>

#include "jni/java_record.h"
#include "settings/capability_container.h"

void writeContainer(RecordWriter& record, const CapabilityContainer& container);

// A container the JVM described; none when the record is cut short, names an item type the
// standard does not have, or goes on after the container.
std::optional<CapabilityContainer> readContainerRecord(RecordReader& record);

#endif
