// Where the Data Source Manager is looked for: a short list of full paths per platform, tried in
// order until one loads. A bare name is never loaded, so the DLL search path plays no part.
#ifndef SCANLINK_SESSION_MANAGER_PATH_H
#define SCANLINK_SESSION_MANAGER_PATH_H

#include <windows.h>

inline constexpr UINT kManagerPathSize = MAX_PATH;

// Writes candidate `index` (0 is tried first) into `path`. False past the end of the platform's
// list, and when the folder cannot be read or the whole path does not fit the buffer.
bool managerPath(int index, char (&path)[kManagerPathSize]);

// `path` holds a folder of `length` characters: appends a backslash unless the folder already ends
// in one (a drive root), then `fileName`. False when the folder is empty or does not fit, or when
// the whole path would not.
bool appendFileName(char (&path)[kManagerPathSize], UINT length, const char* fileName);

#endif
