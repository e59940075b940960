#include "trace/identity_text.h"

#include <cstdio>

std::string describeIdentity(const TW_IDENTITY& identity) {
    char text[320];
    std::snprintf(text, sizeof(text),
                  "\"%.33s\" by \"%.33s\", family \"%.33s\", version %u.%u \"%.33s\", protocol "
                  "%u.%u, groups 0x%08lX, Id %lu",
                  identity.ProductName, identity.Manufacturer, identity.ProductFamily,
                  static_cast<unsigned>(identity.Version.MajorNum),
                  static_cast<unsigned>(identity.Version.MinorNum), identity.Version.Info,
                  static_cast<unsigned>(identity.ProtocolMajor),
                  static_cast<unsigned>(identity.ProtocolMinor),
                  static_cast<unsigned long>(identity.SupportedGroups),
                  static_cast<unsigned long>(identity.Id));
    return text;
}
