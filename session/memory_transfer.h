// The memory transfer: the source fills a buffer the library lends it, one strip or tile per
// DAT_IMAGEMEMXFER, and each row goes to the page's sink as soon as it is complete, between two
// triplets, on the session's thread in state 7. A JPEG or Group 4 page is kept as the bytes that
// came, joined in order.
//
// Between buffers the wait serves the calls other threads handed over, and the sink may call back
// into the session: a teardown or a cancel among them ends the transfer there, with MSG_ENDXFER
// and MSG_RESET as the state needs (or nothing more, when the teardown already ended it).
#ifndef SCANLINK_SESSION_MEMORY_TRANSFER_H
#define SCANLINK_SESSION_MEMORY_TRANSFER_H

#include <memory>

#include "image/page_sink.h"
#include "session/memory_buffer.h"
#include "session/page_transfer.h"

class MemoryTransfer : public PageTransfer {
  public:
    enum class Outcome {
        Page,          // the page went to the sink
        NoPage,        // the source failed or cancelled after its first buffer, the sink stopped,
                       // or a teardown or cancel ended the transfer
        NoFirstStrip,  // it failed before a single buffer came: native transfer may still work
        Refused,       // the source's answers were refused (refusal() says why)
    };

    MemoryTransfer(PageSink& sink, MemoryBuffer::Kind buffer) : sink_(sink), buffer_(buffer) {}

    bool take(PageWait& wait) override;

    Outcome outcome() const { return outcome_; }
    // For Refused: the fixed text and the reason in words of its own.
    const char* refusal() const { return refusal_; }
    const char* reason() const { return reason_; }

  private:
    Outcome transfer(PageWait& wait);

    PageSink& sink_;
    MemoryBuffer::Kind buffer_;
    Outcome outcome_ = Outcome::NoPage;
    bool began_ = false;
    const char* refusal_ = nullptr;
    const char* reason_ = nullptr;
};

#endif
