// The trace's file: lines appended whole under one lock, each file begun with the trace's header,
// and kept as FILE.1 once the file would pass its size limit. The file never grows past twice its
// limit: when it cannot be kept, the trace ends with a line that says why.
#ifndef SCANLINK_TRACE_TRACE_FILE_H
#define SCANLINK_TRACE_TRACE_FILE_H

#include <cstdint>
#include <string>

// Opens the file for appending and writes the header (lines that each file begins with). False,
// after one line on the standard error with the system's reason, when it cannot be opened.
bool openTraceFile(const char* path, std::uint64_t rollOverBytes, const std::string& header);
// The header of the files begun from now on.
void setTraceFileHeader(const std::string& header);
void closeTraceFile();
// Writes the line and its line feed. False when there is no file to write to any more: a write
// or a roll-over that failed closed it, with one line on the standard error.
bool writeTraceLine(const std::string& line);

#endif
