// The source's side of a file transfer: the file the application names (DAT_SETUPFILEXFER), and the
// page written into it (DAT_IMAGEFILEXFER) as a BMP file, a TIFF file (Group 4 for black and white)
// or a JFIF file, as far as this build writes them (page_encode.h). The knob "file.unwritten"
// answers TWRC_XFERDONE without writing anything, as a faulty driver may.
#ifndef VIRTUAL_SCANNER_FILE_SIDE_H
#define VIRTUAL_SCANNER_FILE_SIDE_H

#include <string>

#include "scan_settings.h"
#include "source_core.h"

namespace vscan {

class FileSide {
  public:
    explicit FileSide(SourceCore& core) : core_(core) {}

    TW_UINT16 setup(TW_UINT16 msg, TW_SETUPFILEXFER* file);
    TW_UINT16 transfer(const ScanSettings& settings);
    // The source was opened: the file and format are its defaults again.
    void reset();

  private:
    SourceCore& core_;
    std::string name_;
    TW_UINT16 format_ = TWFF_BMP;
};

// The path as this platform's files take it: on the POSIX host a Windows path's '\' become '/'.
std::string hostPath(const std::string& path);

}  // namespace vscan

#endif
