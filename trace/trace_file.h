// The trace's file: lines appended whole under one lock, and kept as FILE.1 once the file would
// pass its size limit.
#ifndef SCANLINK_TRACE_TRACE_FILE_H
#define SCANLINK_TRACE_TRACE_FILE_H

#include <cstdint>
#include <string>

// False, after one line on the standard error, when the file cannot be opened.
bool openTraceFile(const char* path, std::uint64_t rollOverBytes);
void closeTraceFile();
// Writes the line and its line feed. False when there is no file to write to any more: a write
// that failed closed it, with one line on the standard error.
bool writeTraceLine(const std::string& line);

#endif
