// The text fields of a TW_IDENTITY.
#ifndef SCANLINK_SESSION_IDENTITY_FIELD_H
#define SCANLINK_SESSION_IDENTITY_FIELD_H

#include <cstring>

#include "twain/twain.h"

// A text longer than the field is cut so that the field always ends in a zero byte.
inline void copyField(TW_STR32& field, const char* text) {
    std::memset(field, 0, sizeof(field));
    std::strncpy(field, text, sizeof(field) - 1);
}

#endif
