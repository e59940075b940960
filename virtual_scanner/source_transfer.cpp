#include "source_transfer.h"

#include <chrono>
#include <cstdlib>
#include <optional>

#include "global_block.h"
#include "handle_bits.h"
#include "image_info.h"
#include "page_files.h"
#include "page_render.h"

namespace vscan {
namespace {

// Stands for a block the application cannot lock (knob "transfer.bad_handle").
const TW_HANDLE kUnlockableHandle = handleFromBits<TW_HANDLE>(0xFFFFFFF0u);

// The ways a notice reaches the application (knob "event.route"): TWAIN 1, in the source's answer
// to MSG_PROCESSEVENT; TWAIN 2, through the manager that loaded the source.
constexpr int64_t kRouteTwain1 = 1;
constexpr int64_t kRouteTwain2 = 2;

}  // namespace

void Transfer::reset() {
    const auto listed = core_.script.text("pages.files");
    const char* environment = std::getenv("VIRTUAL_SCANNER_PAGES");
    pageFiles_ = splitPageList(listed ? *listed : (environment ? environment : ""));
    nextPageFile_ = 0;
}

void Transfer::start(bool scanNow, bool userPressesScan) {
    scansThisEnable_ = 0;
    userPressesScan_ = userPressesScan;
    if (scanNow) {
        beginScan();
    }
}

void Transfer::insideEnable(bool inside) {
    announcesAtOnce_ = inside && core_.script.knob("enable.announce").value_or(0) != 0;
}

void Transfer::userPressed(int button) {
    if (core_.state != 5 || notice_ != Notice::None) {
        return;  // a scan is under way, or announced
    }
    if (button == IDOK) {
        beginScan();
    } else if (button == IDCANCEL) {
        announce(Notice::CloseRequest);
    }
}

void Transfer::stop() {
    notice_ = Notice::None;
    ++tag_;
    poster_.cancel();
}

void Transfer::beginScan() {
    ++scansThisEnable_;
    pagesThisScan_ = 0;
    capabilities_.beginScan();
    const bool closeRequested = core_.script.knob("source.close_request").value_or(0) != 0;
    announce(closeRequested || !pageReady() ? Notice::CloseRequest : Notice::TransferReady);
}

// Back in state 5 with nothing pending: the user scans again while the interface is shown and
// pages remain; otherwise the source asks to be closed. A user who presses Scan himself decides.
void Transfer::scanFinished() {
    if (userPressesScan_) {
        return;
    }
    const auto userScans = core_.script.knob("ui.scans");
    const bool userScansAgain = core_.userInterface.ShowUI != 0 &&
                                (!userScans || scansThisEnable_ < *userScans) &&
                                (pageFiles_.empty() || nextPageFile_ < pageFiles_.size());
    if (userScansAgain) {
        beginScan();
    } else {
        announce(Notice::CloseRequest);
    }
}

void Transfer::announce(Notice notice) {
    notice_ = notice;
    ++tag_;
    const HWND window = core_.userInterface.hParent ? static_cast<HWND>(core_.userInterface.hParent)
                                                    : core_.appWindow;
    const auto chosen = core_.script.knob("event.window");
    const HWND target = chosen ? handleFromBits<HWND>(*chosen) : window;
    if (notice == Notice::TransferReady && announcesAtOnce_) {
        PostMessageA(target, kSourceEventMessage, tag_, 0);
        core_.state = 6;
        return;
    }
    const auto delay = std::chrono::milliseconds(core_.script.knob("page.delay_ms").value_or(0));
    poster_.schedule(target, kSourceEventMessage, tag_, delay);
}

bool Transfer::pageReady() const {
    return capabilities_.pageAvailable() &&
           (pageFiles_.empty() || nextPageFile_ < pageFiles_.size());
}

TW_UINT16 Transfer::pagesStillPending() const {
    if (const auto scripted = core_.script.knob("endxfer.count")) {
        return static_cast<TW_UINT16>(*scripted);
    }
    const TW_INT16 limit = capabilities_.settings().transferCount;
    if (!pageReady() || (limit >= 0 && pagesThisScan_ >= limit)) {
        return 0;
    }
    return limit < 0 ? 0xFFFF : static_cast<TW_UINT16>(limit - pagesThisScan_);
}

TW_UINT16 Transfer::processEvent(TW_UINT16 msg, TW_EVENT* event) {
    if (msg != MSG_PROCESSEVENT || event == nullptr || event->pEvent == nullptr) {
        return core_.fail(TWCC_BADPROTOCOL);
    }
    if (!core_.inStates(5, 7)) {
        return core_.fail(TWCC_SEQERROR);
    }
    const MSG* message = static_cast<const MSG*>(event->pEvent);
    event->TWMessage = MSG_NULL;
    if (message->message != kSourceEventMessage) {
        return TWRC_NOTDSEVENT;
    }
    // A page announced inside MSG_ENABLEDS finds the source in state 6 already.
    const bool announced =
        core_.state == 5 || (core_.state == 6 && notice_ == Notice::TransferReady);
    if (message->wParam == tag_ && announced && notice_ != Notice::None) {
        const TW_UINT16 notice = notice_ == Notice::TransferReady ? MSG_XFERREADY : MSG_CLOSEDSREQ;
        if (notice_ == Notice::TransferReady) {
            core_.state = 6;
        }
        notice_ = Notice::None;
        if (core_.managerEntry != nullptr &&
            core_.script.knob("event.route").value_or(kRouteTwain1) == kRouteTwain2) {
            // The TWAIN 2 way: the wake-up was the source's own, and the notice goes to the
            // manager (DG_CONTROL / DAT_NULL), which hands it on to the application.
            core_.managerNotice = notice;
            return TWRC_DSEVENT;
        }
        event->TWMessage = notice;
        return static_cast<TW_UINT16>(core_.script.knob("event.result").value_or(TWRC_DSEVENT));
    }
    return TWRC_DSEVENT;  // the source's own message, from an announcement that no longer counts
}

TW_UINT16 Transfer::nativeTransfer(TW_UINT16 msg, TW_HANDLE* image) {
    if (msg != MSG_GET || image == nullptr) {
        return core_.fail(TWCC_BADPROTOCOL);
    }
    if (core_.state != 6 || !pageReady()) {
        return core_.fail(TWCC_SEQERROR);
    }
    notice_ = Notice::None;  // taken, whether or not the application took the notice first
    const TW_UINT16 result = handOverPage(image);
    if (result == TWRC_XFERDONE) {
        capabilities_.takePage();
        ++pagesThisScan_;
        core_.state = 7;
    }
    return result;
}

TW_UINT16 Transfer::imageInfo(TW_UINT16 msg, TW_IMAGEINFO* info) {
    if (msg != MSG_GET || info == nullptr) {
        return core_.fail(TWCC_BADPROTOCOL);
    }
    if (!core_.inStates(6, 7) || (core_.state == 6 && !pageReady())) {
        return core_.fail(TWCC_SEQERROR);
    }
    std::optional<TW_IMAGEINFO> described = chartImageInfo(capabilities_.settings());
    if (!pageFiles_.empty()) {
        // The file of the page announced, or of the one just handed over.
        const std::size_t file = core_.state == 6 ? nextPageFile_ : nextPageFile_ - 1;
        const auto bytes = file < pageFiles_.size() ? readPageFile(pageFiles_[file]) : std::nullopt;
        described = bytes ? dibImageInfo(*bytes) : std::nullopt;
    }
    if (!described) {
        return core_.fail(TWCC_OPERATIONERROR);
    }
    *info = *described;
    info->ImageWidth +=
        static_cast<TW_INT32>(core_.script.knob("imageinfo.width_error").value_or(0));
    return TWRC_SUCCESS;
}

TW_UINT16 Transfer::handOverPage(TW_HANDLE* image) {
    if (core_.script.knob("transfer.bad_handle").value_or(0) != 0) {
        *image = kUnlockableHandle;
        nextPageFile_ += pageFiles_.empty() ? 0 : 1;
        return TWRC_XFERDONE;
    }
    std::vector<uint8_t> dib;
    if (pageFiles_.empty()) {
        dib = renderPage(capabilities_.settings());
    } else {
        // An unreadable file is skipped, not retried for ever.
        auto bytes = readPageFile(pageFiles_[nextPageFile_++]);
        if (!bytes) {
            return core_.fail(TWCC_OPERATIONERROR);
        }
        dib = std::move(*bytes);
    }
    const HGLOBAL block = globalBlockOf(dib);
    if (!block) {
        return core_.fail(TWCC_LOWMEMORY);
    }
    *image = block;  // the application owns it from here on
    return TWRC_XFERDONE;
}

TW_UINT16 Transfer::pendingTransfers(TW_UINT16 msg, TW_PENDINGXFERS* pending) {
    if (pending == nullptr) {
        return core_.fail(TWCC_BADPROTOCOL);
    }
    switch (msg) {
        case MSG_ENDXFER:
            if (!core_.inStates(6, 7)) {
                return core_.fail(TWCC_SEQERROR);
            }
            pending->Count = pagesStillPending();
            core_.state = pending->Count != 0 ? 6 : 5;
            if (core_.state == 5) {
                scanFinished();
            }
            return TWRC_SUCCESS;
        case MSG_RESET:
            if (core_.state != 6) {
                return core_.fail(TWCC_SEQERROR);
            }
            // Pages not transferred stay where they are: on the glass or in the feeder.
            notice_ = Notice::None;
            pending->Count = 0;
            core_.state = 5;
            scanFinished();
            return TWRC_SUCCESS;
        case MSG_GET:
            if (!core_.inStates(4, 7)) {
                return core_.fail(TWCC_SEQERROR);
            }
            pending->Count = core_.inStates(6, 7) ? pagesStillPending() : 0;
            return TWRC_SUCCESS;
        default:
            return core_.fail(TWCC_BADPROTOCOL);
    }
}

}  // namespace vscan
