// The module that holds the virtual scanner of a test program, to which its controls
// (source_controls.cpp) forward: each program says which one the library's manager loads.
#ifndef SCANLINK_TESTS_WINE_SCANNER_MODULE_H
#define SCANLINK_TESTS_WINE_SCANNER_MODULE_H

#include <windows.h>

// Loaded once, by the full path the manager uses, so that the program and the manager share one
// module and the scanner keeps its knobs and its log when the manager releases it.
HMODULE virtualScannerModule();

// That module loaded from a folder of the Windows installation; aborts when it cannot be.
HMODULE loadScannerModule(const char* pathInWindowsFolder);

#endif
