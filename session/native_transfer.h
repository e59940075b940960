// The native transfer: the source hands over the whole page as a DIB in one block of global
// memory.
#ifndef SCANLINK_SESSION_NATIVE_TRANSFER_H
#define SCANLINK_SESSION_NATIVE_TRANSFER_H

#include "session/page_transfer.h"
#include "twain/twain.h"

class NativeTransfer : public PageTransfer {
  public:
    bool take(PageWait& wait) override;
    // The block, owned by the caller once a page came.
    TW_HANDLE image() const { return image_; }

  private:
    TW_HANDLE image_ = {};
};

#endif
