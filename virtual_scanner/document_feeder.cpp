#include "document_feeder.h"

#include <algorithm>

namespace vscan {

void DocumentFeeder::load(int64_t sheets) {
    inputTray_ = std::max<int64_t>(sheets, 0);
    position_ = Position::Empty;
    outputTray_ = 0;
}

bool DocumentFeeder::loaded() const { return inputTray_ > 0 || position_ == Position::Waiting; }

bool DocumentFeeder::pageReady(bool autoFeed) const {
    return position_ == Position::Waiting || (autoFeed && inputTray_ > 0);
}

void DocumentFeeder::takePage(bool autoFeed, bool duplex) {
    if (position_ != Position::Waiting) {
        if (!autoFeed || !feed()) {
            return;
        }
    }
    if (duplex && !backNext_) {
        backNext_ = true;
        return;
    }
    backNext_ = false;
    position_ = Position::Scanned;
    if (autoFeed) {
        eject();
    }
}

bool DocumentFeeder::feed() {
    if (inputTray_ == 0) {
        return false;
    }
    eject();
    --inputTray_;
    position_ = Position::Waiting;
    backNext_ = false;
    return true;
}

void DocumentFeeder::clear() { eject(); }

bool DocumentFeeder::rewind() {
    if (outputTray_ == 0) {
        return false;
    }
    if (position_ != Position::Empty) {
        ++inputTray_;
    }
    --outputTray_;
    position_ = Position::Waiting;
    backNext_ = false;
    return true;
}

void DocumentFeeder::eject() {
    if (position_ != Position::Empty) {
        ++outputTray_;
        position_ = Position::Empty;
    }
}

}  // namespace vscan
