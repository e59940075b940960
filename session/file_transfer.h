// The file transfer: the source writes the page to a file the library names (DAT_SETUPFILEXFER,
// DAT_IMAGEFILEXFER); the library reads it and removes it on every path. A BMP file's rows go to
// the page's sink as a native transfer's do; a JFIF or TIFF file is kept as the bytes that came. A
// file that was there before the transfer, or that the source did not write, is refused.
#ifndef SCANLINK_SESSION_FILE_TRANSFER_H
#define SCANLINK_SESSION_FILE_TRANSFER_H

#include <string>

#include "image/page_sink.h"
#include "session/page_transfer.h"
#include "twain/twain.h"

class FileTransfer : public PageTransfer {
  public:
    // `path` is in the system's code page, as TW_STR255 carries it; `format` a TWFF_ code.
    FileTransfer(PageSink& sink, std::string path, TW_UINT16 format)
        : sink_(sink), path_(std::move(path)), format_(format) {}

    bool take(PageWait& wait) override;

    // Why the page was refused, null when it was not: the fixed text and the reason.
    const char* refusal() const { return refusal_; }
    const char* reason() const { return reason_; }

  private:
    bool transfer(PageWait& wait);

    PageSink& sink_;
    std::string path_;
    TW_UINT16 format_;
    const char* refusal_ = nullptr;
    const char* reason_ = nullptr;
};

#endif
