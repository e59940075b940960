#include "session/memory_transfer.h"

#include <memory>
#include <string>

#include "image/messages.h"
#include "image/strip_assembler.h"
#include "session/acquisition.h"
#include "session/dsm_binding.h"
#include "session/transfer_failure.h"
#include "session/twain_session.h"
#include "trace/trace.h"

namespace {

constexpr TW_UINT32 kDontCare32 = 0xFFFFFFFF;
constexpr std::uint64_t kLargestEncodedPage = 0x7FFFFFF7;  // what one Java byte array holds

[[noreturn]] void refuse(const char* text, const char* reason) {
    throw MessageFailure{text, reason};
}

// Conditions of the device and its paper, which no other mechanism changes.
bool isDeviceCondition(TW_UINT16 condition) {
    switch (condition) {
        case TWCC_PAPERJAM:
        case TWCC_PAPERDOUBLEFEED:
        case TWCC_NOMEDIA:
        case TWCC_CHECKDEVICEONLINE:
            return true;
        default:
            return false;
    }
}

void traceLine(const std::string& text) {
    if (traceOn()) {
        traceEvent(text);
    }
}

bool askSource(TW_UINT32 dg, TW_UINT16 dat, TW_MEMREF data) {
    return inSuccessSet(sendTriplet(&twainSession.sourceIdentity, dg, dat, MSG_GET, data));
}

// The record the source fills; the application leaves every field but the memory to it.
TW_IMAGEMEMXFER emptyStrip(const MemoryBuffer& buffer) {
    TW_IMAGEMEMXFER strip;
    strip.Compression = 0xFFFF;
    strip.BytesPerRow = kDontCare32;
    strip.Columns = kDontCare32;
    strip.Rows = kDontCare32;
    strip.XOffset = kDontCare32;
    strip.YOffset = kDontCare32;
    strip.BytesWritten = kDontCare32;
    strip.Memory = buffer.record();
    return strip;
}

// What the buffers become: rows of the page, or the bytes of an encoded page.
class StripTarget {
  public:
    virtual ~StripTarget() = default;
    virtual bool begin() = 0;
    virtual bool add(const TW_IMAGEMEMXFER& strip, const std::uint8_t* bytes,
                     std::uint64_t size) = 0;
    virtual bool finish() = 0;
};

class RowTarget : public StripTarget {
  public:
    RowTarget(const StripFormat& format, PageSink& sink)
        : format_(format), sink_(sink), assembler_(format_, sink) {}
    bool begin() override { return sink_.begin(rowLayoutOf(format_), format_.heightHint); }
    bool add(const TW_IMAGEMEMXFER& strip, const std::uint8_t* bytes, std::uint64_t size) override {
        return assembler_.add(strip, bytes, size);
    }
    bool finish() override { return sink_.end(assembler_.finish()); }

  private:
    const StripFormat format_;
    PageSink& sink_;
    StripAssembler assembler_;
};

class EncodedTarget : public StripTarget {
  public:
    EncodedTarget(const TW_IMAGEINFO& info, EncodedFormat format, PageSink& sink) : sink_(sink) {
        page_.format = format;
        page_.width = info.ImageWidth > 0 ? info.ImageWidth : 0;
        page_.height = info.ImageLength > 0 ? info.ImageLength : 0;
        page_.bitsPerPixel = info.BitsPerPixel;
    }
    bool begin() override { return true; }
    bool add(const TW_IMAGEMEMXFER& strip, const std::uint8_t* bytes, std::uint64_t size) override {
        const std::uint64_t written = strip.BytesWritten;
        if (written > size) {
            refuse(kStripOutsideBuffer, "BytesWritten is more than the buffer holds");
        }
        if (written > kLargestEncodedPage - page_.bytes.size()) {
            refuse(kEncodedPageTooLarge, "the buffers add up to more than 2 GiB");
        }
        page_.bytes.insert(page_.bytes.end(), bytes, bytes + written);
        return true;
    }
    bool finish() override { return sink_.encoded(std::move(page_)); }

  private:
    PageSink& sink_;
    EncodedPage page_;
};

std::unique_ptr<StripTarget> targetFor(const TW_IMAGEINFO& info, const TW_PALETTE8* palette,
                                       PageSink& sink) {
    switch (info.Compression) {
        case TWCP_NONE:
            return std::make_unique<RowTarget>(decideStripFormat(info, palette, TWPF_CHOCOLATE),
                                               sink);
        case TWCP_JPEG:
            return std::make_unique<EncodedTarget>(info, EncodedFormat::Jpeg, sink);
        case TWCP_GROUP4:
            return std::make_unique<EncodedTarget>(info, EncodedFormat::Group4, sink);
        default:
            refuse(kUnsupportedTransferCompression, "ICAP_COMPRESSION other than none, JPEG, G4");
    }
}

}  // namespace

bool MemoryTransfer::take(PageWait& wait) {
    began_ = false;
    try {
        outcome_ = transfer(wait);
    } catch (const MessageFailure& failure) {
        refusal_ = failure.text;
        reason_ = failure.reason;
        traceLine(std::string("memory transfer refused: ") + failure.text + " (" + failure.reason +
                  ")");
        endTransfersPersistently();
        outcome_ = began_ ? Outcome::Refused : Outcome::NoFirstStrip;
    } catch (...) {
        endTransfersPersistently();
        throw;
    }
    return outcome_ == Outcome::Page;
}

MemoryTransfer::Outcome MemoryTransfer::transfer(PageWait& wait) {
    TwainSession& s = twainSession;
    TW_IMAGEINFO info = {};
    TW_PALETTE8 palette = {};
    TW_SETUPMEMXFER sizes = {};
    if (!askSource(DG_IMAGE, DAT_IMAGEINFO, &info) ||
        (info.PixelType == TWPT_PALETTE && !askSource(DG_IMAGE, DAT_PALETTE8, &palette)) ||
        !askSource(DG_CONTROL, DAT_SETUPMEMXFER, &sizes)) {
        recordTransferFailure(s.resultCode, s.conditionCode);
        endTransfersPersistently();
        return Outcome::NoFirstStrip;
    }
    const auto target = targetFor(info, &palette, sink_);
    const std::uint32_t size = chooseBufferSize(sizes);
    if (size == 0) {
        refuse(kNoBufferSize, "its minimum is above its maximum or above 16 MiB");
    }
    MemoryBuffer buffer(buffer_, size);
    traceLine("memory transfer: " + std::to_string(info.ImageWidth) + " x " +
              std::to_string(info.ImageLength) + " pixels, buffers of " + std::to_string(size) +
              " bytes given as a " +
              (buffer_ == MemoryBuffer::Kind::Pointer ? "pointer" : "handle"));
    bool go = true;
    wait.callOut([&go, &target] { go = target->begin(); });
    for (unsigned buffers = 0; go; ++buffers) {
        TW_IMAGEMEMXFER strip = emptyStrip(buffer);
        const TW_UINT16 result =
            sendTriplet(&s.sourceIdentity, DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &strip);
        if (result != TWRC_SUCCESS && result != TWRC_XFERDONE) {
            if (result == TWRC_CANCEL) {
                s.state = kStateTransferring;
            }
            const TW_UINT16 condition = s.conditionCode;
            recordTransferFailure(result, condition);
            endTransfersPersistently();
            // A jam, a cancel or an empty feeder is the page's fate, whatever the mechanism.
            return buffers == 0 && result == TWRC_FAILURE && !isDeviceCondition(condition)
                       ? Outcome::NoFirstStrip
                       : Outcome::NoPage;
        }
        s.state = kStateTransferring;
        began_ = true;
        {
            const MemoryBuffer::Lock bytes(buffer);
            if (bytes.data() == nullptr) {
                refuse(kBufferUnreadable, "GlobalLock gave nothing");
            }
            wait.callOut([&] { go = target->add(strip, bytes.data(), buffer.size()); });
        }
        if (go && result == TWRC_XFERDONE) {
            wait.callOut([&go, &target] { go = target->finish(); });
            endTransfersPersistently();
            traceLine("page transferred in memory in " + std::to_string(buffers + 1) + " buffers");
            return go ? Outcome::Page : Outcome::NoPage;
        }
        // Between two buffers: what other threads handed over runs now; a teardown or a cancel
        // among it, or from the sink, ends the transfer.
        go = go && wait.serve() && s.state == kStateTransferring;
    }
    traceLine("the memory transfer was ended before its last buffer");
    endTransfersPersistently();
    return Outcome::NoPage;
}
