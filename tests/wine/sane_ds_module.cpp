// Through Wine's own manager the scanner is the virtual source that manager loads: sane.ds in the
// prefix's folder of sources of this width.
#include "prefix_layout.h"
#include "scanner_module.h"

HMODULE virtualScannerModule() {
    static const HMODULE module = loadScannerModule(kPrefixLayout.virtualSource);
    return module;
}
