// Through Wine's own manager the scanner is the virtual source that manager loads: sane.ds in the
// prefix's folder of 64-bit sources.
#include "scanner_module.h"

HMODULE virtualScannerModule() {
    static const HMODULE module = loadScannerModule("twain_64\\sane.ds");
    return module;
}
