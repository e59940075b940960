#include "source_model.h"

#include <cstring>

namespace vscan {
namespace {

constexpr SourceModel kModels[] = {
    {"Virtual Devices", "Virtual Scanner", "Virtual Scanner 1.0", flatbedCapabilities},
    {"Virtual Feeders", "Virtual Duplex Feeder", "Virtual Duplex Feeder 1.0",
     duplexFeederCapabilities},
};

void copyText(TW_STR32& field, const char* text) {
    std::memset(field, 0, sizeof(field));
    std::strncpy(field, text, sizeof(field) - 1);
}

}  // namespace

std::span<const SourceModel> sourceModels() { return kModels; }

const SourceModel& defaultModel() { return kModels[0]; }

void describeModel(TW_IDENTITY& identity, TW_UINT32 id, const SourceModel& model) {
    identity = TW_IDENTITY{};
    identity.Id = id;
    identity.Version.MajorNum = 1;
    identity.Version.MinorNum = 0;
    identity.Version.Language = TWLG_USA;
    identity.Version.Country = TWCY_USA;
    copyText(identity.Version.Info, model.versionInfo);
    identity.ProtocolMajor = 1;
    identity.ProtocolMinor = 9;
    identity.SupportedGroups = DG_CONTROL | DG_IMAGE;
    copyText(identity.Manufacturer, "scanlink32");
    copyText(identity.ProductFamily, model.productFamily);
    copyText(identity.ProductName, model.productName);
}

}  // namespace vscan
