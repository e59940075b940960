// An identity as the trace shows it.
#ifndef SCANLINK_TRACE_IDENTITY_TEXT_H
#define SCANLINK_TRACE_IDENTITY_TEXT_H

#include <string>

#include "twain/twain.h"

// "\"Virtual Scanner\" by \"scanlink32\", family \"Virtual Devices\", version 1.0 \"Virtual
// Scanner 1.0\", protocol 1.9, groups 0x00000003, Id 2"; text fields end at their field's end.
std::string describeIdentity(const TW_IDENTITY& identity);

#endif
