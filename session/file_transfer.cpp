#include "session/file_transfer.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include "image/dib_feed.h"
#include "image/dib_layout.h"
#include "image/messages.h"
#include "session/acquisition.h"
#include "session/dsm_binding.h"
#include "session/transfer_failure.h"
#include "session/twain_session.h"
#include "trace/trace.h"

namespace {

constexpr std::size_t kBmpFileHeader = 14;
constexpr long kLargestFile = 0x7FFFFFF7;  // what one Java byte array holds

[[noreturn]] void refuse(const char* text, const char* reason) {
    throw MessageFailure{text, reason};
}

// Removes the file when the transfer is over, whatever became of it.
class RemovedAtEnd {
  public:
    explicit RemovedAtEnd(const std::string& path) : path_(path) {}
    ~RemovedAtEnd() { std::remove(path_.c_str()); }
    RemovedAtEnd(const RemovedAtEnd&) = delete;
    RemovedAtEnd& operator=(const RemovedAtEnd&) = delete;

  private:
    const std::string& path_;
};

struct ClosedFile {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using OpenFile = std::unique_ptr<std::FILE, ClosedFile>;

bool exists(const std::string& path) { return OpenFile(std::fopen(path.c_str(), "rb")) != nullptr; }

std::vector<std::uint8_t> readWhole(const std::string& path) {
    const OpenFile file(std::fopen(path.c_str(), "rb"));
    if (!file || std::fseek(file.get(), 0, SEEK_END) != 0) {
        refuse(kTransferFileUnwritten, "the file cannot be opened");
    }
    const long size = std::ftell(file.get());
    if (size <= 0 || std::fseek(file.get(), 0, SEEK_SET) != 0) {
        refuse(kTransferFileUnwritten, "the file is empty");
    }
    if (size > kLargestFile) {
        refuse(kTransferFileTooLarge, "more than 2 GiB");
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
        refuse(kTransferFileUnwritten, "the file could not be read to its end");
    }
    return bytes;
}

bool startsWith(const std::vector<std::uint8_t>& bytes, const char* signature, std::size_t size) {
    return bytes.size() >= size && std::memcmp(bytes.data(), signature, size) == 0;
}

std::optional<EncodedFormat> encodedFormatOf(const std::vector<std::uint8_t>& bytes) {
    if (startsWith(bytes, "\xFF\xD8", 2)) {
        return EncodedFormat::Jpeg;
    }
    if (startsWith(bytes, "II*\0", 4) || startsWith(bytes, "MM\0*", 4)) {
        return EncodedFormat::Tiff;
    }
    return std::nullopt;
}

}  // namespace

bool FileTransfer::take(PageWait& wait) {
    refusal_ = nullptr;
    reason_ = nullptr;
    try {
        return transfer(wait);
    } catch (const MessageFailure& failure) {
        refusal_ = failure.text;
        reason_ = failure.reason;
        if (traceOn()) {
            traceEvent(std::string("file transfer refused: ") + failure.text + " (" +
                       failure.reason + ")");
        }
        endTransfersPersistently();
        return false;
    } catch (...) {
        endTransfersPersistently();
        throw;
    }
}

bool FileTransfer::transfer(PageWait& wait) {
    TwainSession& s = twainSession;
    TW_SETUPFILEXFER setup = {};
    if (path_.size() >= sizeof(setup.FileName)) {
        refuse(kTransferFileNameTooLong, "more than 255 bytes in the system's code page");
    }
    if (exists(path_)) {
        refuse(kTransferFileWasThere, "the library names a new file for each page");
    }
    std::memcpy(setup.FileName, path_.c_str(), path_.size());
    setup.Format = format_;
    const RemovedAtEnd removed(path_);
    TW_UINT16 result =
        sendTriplet(&s.sourceIdentity, DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET, &setup);
    if (inSuccessSet(result)) {
        result = sendTriplet(&s.sourceIdentity, DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr);
    }
    if (result == TWRC_XFERDONE || result == TWRC_CANCEL) {
        s.state = kStateTransferring;
    }
    if (result != TWRC_XFERDONE) {
        recordTransferFailure(result, s.conditionCode);
        endTransfersPersistently();
        return false;
    }
    endTransfersPersistently();
    std::vector<std::uint8_t> bytes = readWhole(path_);
    bool delivered = false;
    if (startsWith(bytes, "BM", 2) && bytes.size() >= kBmpFileHeader) {
        const DibLayout layout =
            decodeDibLayout(bytes.data() + kBmpFileHeader, bytes.size() - kBmpFileHeader);
        wait.callOut([&] { delivered = feedDib(layout, sink_); });
    } else if (const auto format = encodedFormatOf(bytes)) {
        EncodedPage page{*format, 0, 0, 0, std::move(bytes)};
        wait.callOut([&] { delivered = sink_.encoded(std::move(page)); });
    } else {
        refuse(kTransferFileUnknown, "its first bytes are no signature of these formats");
    }
    return delivered;
}
