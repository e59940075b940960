// The kinds of device behind the virtual manager: what each is called and which capabilities it
// has. The first is the default source.
#ifndef VIRTUAL_SCANNER_SOURCE_MODEL_H
#define VIRTUAL_SCANNER_SOURCE_MODEL_H

#include <span>

#include "capability_table.h"
#include "twain/twain.h"

namespace vscan {

struct SourceModel {
    const char* productFamily;
    const char* productName;
    const char* versionInfo;
    std::span<const CapabilityRow> (*capabilities)();
};

// "Virtual Scanner", a flatbed with a document feeder, then "Virtual Duplex Feeder", a sheet-fed
// duplex scanner.
std::span<const SourceModel> sourceModels();
const SourceModel& defaultModel();

// The identity of a source of the model, with the Id the manager assigned.
void describeModel(TW_IDENTITY& identity, TW_UINT32 id, const SourceModel& model);

}  // namespace vscan

#endif
