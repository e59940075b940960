// The source's side of a memory transfer: the buffer sizes it takes (DAT_SETUPMEMXFER), what it
// says of the image (DAT_IMAGEINFO), and the page in the application's buffer, one strip or tile
// per DAT_IMAGEMEMXFER, top to bottom, red before green before blue, each row padded to 32 bits in
// a strip and not at all in a tile. A JPEG or Group 4 page goes in as many buffers as its bytes
// fill. Knobs (virtual_scanner/README.md) bend each answer as real drivers do.
#ifndef VIRTUAL_SCANNER_MEMORY_SIDE_H
#define VIRTUAL_SCANNER_MEMORY_SIDE_H

#include <cstdint>
#include <vector>

#include "scan_settings.h"
#include "source_core.h"

namespace vscan {

// The compression a page of these settings goes with: what ICAP_COMPRESSION asks when the pixel
// type takes it (JPEG gray and RGB, Group 4 black and white) and this build encodes it.
TW_UINT16 effectiveCompression(const ScanSettings& settings);

// The page's description, as DAT_IMAGEINFO gives it; the knob "imageinfo.length" puts another
// ImageLength in (-1, or a lie).
TW_IMAGEINFO describePage(const ScanSettings& settings, const Script& script);

class MemorySide {
  public:
    explicit MemorySide(SourceCore& core) : core_(core) {}

    TW_UINT16 setup(TW_UINT16 msg, TW_SETUPMEMXFER* sizes, const ScanSettings& settings) const;
    // One buffer: TWRC_SUCCESS, or TWRC_XFERDONE with the page's last bytes, which sets
    // `pageDone`.
    TW_UINT16 transfer(TW_IMAGEMEMXFER* strip, const ScanSettings& settings, bool& pageDone);
    // A new page begins with the next transfer.
    void restart();

  private:
    TW_UINT16 rowsInto(TW_IMAGEMEMXFER& strip, std::uint8_t* memory, std::uint32_t length,
                       const ScanSettings& settings, bool& last);
    TW_UINT16 bytesInto(TW_IMAGEMEMXFER& strip, std::uint8_t* memory, std::uint32_t length,
                        const ScanSettings& settings, bool& last);
    const std::vector<std::uint8_t>& bandRows(const ScanSettings& settings, std::int32_t top,
                                              std::int32_t rows);

    SourceCore& core_;
    unsigned buffers_ = 0;  // handed over of this page
    std::int32_t nextRow_ = 0;
    std::int32_t nextColumn_ = 0;
    // Tiles: the rows of the band under way, rendered once for all its tiles.
    std::int32_t bandTop_ = -1;
    std::vector<std::uint8_t> band_;
    // Compressed: the page's bytes and how many went already.
    std::vector<std::uint8_t> encoded_;
    bool encodedReady_ = false;
    std::size_t encodedSent_ = 0;
};

}  // namespace vscan

#endif
