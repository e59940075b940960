// The source's side of a scan: announcing a page with its own event message, the native transfer
// of the page as a packed DIB, and the pending transfers.
//
// MSG_ENABLEDS starts a scan. With the knob "enable.announce" a page is announced before
// MSG_ENABLEDS returns, its event posted there and then, and the source is in state 6 from then on,
// as many drivers do; it then refuses MSG_DISABLEDS as out of sequence until the application takes
// or resets the transfer. With its interface shown, the source behaves as if its user pressed
// Scan, and again each time a scan is over, until the pages run out; without it, the source scans
// once and then asks to be closed (MSG_CLOSEDSREQ). Pages are the test chart, or the files listed
// in VIRTUAL_SCANNER_PAGES (or given by a test), one file per page, in order.
#ifndef VIRTUAL_SCANNER_SOURCE_TRANSFER_H
#define VIRTUAL_SCANNER_SOURCE_TRANSFER_H

#include <string>
#include <vector>

#include "event_poster.h"
#include "source_capabilities.h"
#include "source_core.h"

namespace vscan {

// The message the source posts to wake the application's message loop; only the source knows it.
inline constexpr UINT kSourceEventMessage = WM_APP + 0x0A1;

class Transfer {
  public:
    Transfer(SourceCore& core, Capabilities& capabilities)
        : core_(core), capabilities_(capabilities) {}

    // The source has just been opened: page files are read from the start again.
    void reset();
    // The source has just been enabled: a scan starts, unless the user is to press Scan first;
    // a user who presses Scan himself also decides on every later scan.
    void start(bool scanNow, bool userPressesScan);
    // MSG_ENABLEDS begins or ends; a page announced in between may be announced at once.
    void insideEnable(bool inside);
    // The user pressed a button of the source's dialog: IDOK scans, IDCANCEL asks to be closed.
    void userPressed(int button);
    // The source is being disabled or closed: nothing it announced counts any more.
    void stop();

    // Whether the worker thread may still run: started, and not yet waited for.
    bool workerStarted() const { return poster_.workerStarted(); }

    TW_UINT16 processEvent(TW_UINT16 msg, TW_EVENT* event);
    TW_UINT16 nativeTransfer(TW_UINT16 msg, TW_HANDLE* image);
    // The page announced (state 6) or being transferred (state 7); the knob
    // "imageinfo.width_error" adds its pixels to the width it tells.
    TW_UINT16 imageInfo(TW_UINT16 msg, TW_IMAGEINFO* info);
    TW_UINT16 pendingTransfers(TW_UINT16 msg, TW_PENDINGXFERS* pending);

  private:
    enum class Notice { None, TransferReady, CloseRequest };

    void beginScan();
    void scanFinished();
    void announce(Notice notice);
    bool pageReady() const;
    TW_UINT16 pagesStillPending() const;
    TW_UINT16 handOverPage(TW_HANDLE* image);

    SourceCore& core_;
    Capabilities& capabilities_;
    EventPoster poster_;
    Notice notice_ = Notice::None;
    WPARAM tag_ = 0;  // tells the current announcement from stale ones still queued
    // Inside MSG_ENABLEDS with the knob "enable.announce": a page is announced there and then.
    bool announcesAtOnce_ = false;
    int scansThisEnable_ = 0;
    bool userPressesScan_ = false;
    int pagesThisScan_ = 0;
    std::vector<std::string> pageFiles_;
    std::size_t nextPageFile_ = 0;
};

}  // namespace vscan

#endif
