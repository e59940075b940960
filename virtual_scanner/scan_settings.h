// What a scan of the virtual source is made of, as its capabilities have set it.
#ifndef VIRTUAL_SCANNER_SCAN_SETTINGS_H
#define VIRTUAL_SCANNER_SCAN_SETTINGS_H

#include "twain/twain.h"

namespace vscan {

struct ScanSettings {
    double xResolution = 100.0;  // dots per inch
    double yResolution = 100.0;
    TW_UINT16 pixelType = TWPT_RGB;
    double threshold = 128.0;  // black and white: a gray level at or above it is white
    TW_UINT16 bitDepth = 24;
    TW_UINT16 units = TWUN_INCHES;
    // The scan area, in inches from the top left corner of the glass (US Letter).
    double frameLeft = 0.0;
    double frameTop = 0.0;
    double frameRight = 8.5;
    double frameBottom = 11.0;
    TW_INT16 transferCount = -1;  // pages per enable; -1: as many as there are
    bool backSide = false;        // the next page is the back of a sheet, scanned in duplex
    TW_UINT16 transferMechanism = TWSX_NATIVE;
    TW_UINT16 compression = TWCP_NONE;  // as ICAP_COMPRESSION asks; a page of another pixel type
                                        // than the compression takes goes uncompressed
    int jpegQuality = 75;
};

}  // namespace vscan

#endif
