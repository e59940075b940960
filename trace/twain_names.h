// The standard's names of the numbers that travel in triplets, for lines a person reads. A number
// the standard does not name reads as its hexadecimal value.
#ifndef SCANLINK_TRACE_TWAIN_NAMES_H
#define SCANLINK_TRACE_TWAIN_NAMES_H

#include <string>

#include "twain/twain.h"

std::string dataGroupName(TW_UINT32 dg);
std::string dataArgumentName(TW_UINT16 dat);
std::string messageName(TW_UINT16 msg);
std::string resultName(TW_UINT16 resultCode);
std::string conditionName(TW_UINT16 conditionCode);
std::string capabilityName(TW_UINT16 capability);
std::string containerName(TW_UINT16 conType);
std::string itemTypeName(TW_UINT16 itemType);

#endif
