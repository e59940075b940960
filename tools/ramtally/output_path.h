#ifndef RAMTALLY_OUTPUT_PATH_H
#define RAMTALLY_OUTPUT_PATH_H

#include <cstddef>

// Room for the longest path the tool writes to, 255 characters and the terminator.
constexpr std::size_t kOutputPathSize = 256;

// The file the figure goes to.
constexpr const char* kOutputFileName = "ramsize.dat";

// Puts the directory, one separator and the file name into `path`, with the directory exactly as
// given (a trailing separator of its own makes a doubled one). False if that would not fit.
bool buildOutputPath(const char* directory, char (&path)[kOutputPathSize]);

#endif
