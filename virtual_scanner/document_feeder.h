// The document feeder of the virtual source: an input tray with a stack of sheets, the scan
// position, and an output tray. Sheets move only when a page is scanned or a command moves them,
// so a sheet is fed exactly when a scan takes it and none is pulled in ahead and lost.
#ifndef VIRTUAL_SCANNER_DOCUMENT_FEEDER_H
#define VIRTUAL_SCANNER_DOCUMENT_FEEDER_H

#include <cstdint>

namespace vscan {

class DocumentFeeder {
  public:
    // A fresh stack of `sheets` in the input tray; nothing at the scan position or in the output
    // tray.
    void load(int64_t sheets);

    // Sheets still to be scanned: in the input tray, or at the scan position and not yet scanned.
    bool loaded() const;
    // Whether a scan can take a page now: a sheet waits at the scan position, or automatic
    // feeding brings the next one in.
    bool pageReady(bool autoFeed) const;
    // A side of the sheet at the scan position is scanned. Automatic feeding first brings the next
    // sheet in when none waits there, and passes the scanned one on to the output tray. In duplex
    // the front is scanned first and the sheet stays for its back.
    void takePage(bool autoFeed, bool duplex);
    // Whether the next page is the back of the sheet waiting at the scan position.
    bool backNext() const { return position_ == Position::Waiting && backNext_; }

    // CAP_FEEDPAGE: the sheet at the scan position goes to the output tray and the next one comes
    // in. False, with nothing moved, when the input tray is empty.
    bool feed();
    // CAP_CLEARPAGE: the sheet at the scan position goes to the output tray.
    void clear();
    // CAP_REWINDPAGE: the sheet at the scan position goes back on top of the input tray, and the
    // last sheet of the output tray comes back to the scan position. False, with nothing moved,
    // when the output tray is empty.
    bool rewind();

  private:
    enum class Position { Empty, Waiting, Scanned };

    void eject();

    int64_t inputTray_ = 0;
    Position position_ = Position::Empty;
    bool backNext_ = false;
    int64_t outputTray_ = 0;
};

}  // namespace vscan

#endif
