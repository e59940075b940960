#ifndef RAMTALLY_MEBIBYTES_H
#define RAMTALLY_MEBIBYTES_H

// Whole MiB in a byte count; the remainder is dropped, never rounded up.
constexpr unsigned long long toMebibytes(unsigned long long bytes) { return bytes >> 20; }

#endif
