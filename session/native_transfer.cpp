#include "session/native_transfer.h"

#include "session/acquisition.h"

bool NativeTransfer::take(PageWait&) {
    image_ = transferNativeImage();
    return image_ != TW_HANDLE{};
}
