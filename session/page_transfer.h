// How a wait for a page takes the page that the source announced: by native, memory or file
// transfer, each its own class.
#ifndef SCANLINK_SESSION_PAGE_TRANSFER_H
#define SCANLINK_SESSION_PAGE_TRANSFER_H

#include "session/session_thread.h"

class PageTransfer {
  public:
    virtual ~PageTransfer() = default;
    // In state 6: takes the page and ends the transfer, leaving the session in state 5 or 6 (7 only
    // when the source refused to end it). True when a page came. `wait` is the wait it runs in.
    virtual bool take(PageWait& wait) = 0;
};

#endif
