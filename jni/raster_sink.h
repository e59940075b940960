// The page sink of ScanSession's pages: rows written straight into the raster of the page's Java
// image, which QZ.korvel.twain.PageBuilder makes and hands over, instead of an array per row
// through the ImageConsumer protocol. A Java exception that a call into the builder raised is kept
// (and cleared, so that the transfer can be ended) and thrown again once the session's call is
// over.
#ifndef SCANLINK_JNI_RASTER_SINK_H
#define SCANLINK_JNI_RASTER_SINK_H

#include <jni.h>

#include <chrono>
#include <vector>

#include "image/page_sink.h"
#include "image/raster_rows.h"

class RasterSink : public PageSink {
  public:
    RasterSink(JNIEnv* env, jobject builder) : env_(env), builder_(builder) {}
    ~RasterSink() override;
    RasterSink(const RasterSink&) = delete;
    RasterSink& operator=(const RasterSink&) = delete;

    bool begin(const DibLayout& layout, std::uint32_t heightHint) override;
    bool rows(std::uint32_t y, std::uint32_t count, const std::uint8_t* first,
              std::ptrdiff_t stride) override;
    bool end(std::uint32_t height) override;
    bool encoded(EncodedPage page) override;

    // Tells the builder why the transfer was refused, for a program that chose memory transfer.
    void refused(const char* text);
    // The Java exception a call into the builder raised, pending again; false when there was none.
    bool rethrow();

  private:
    // Keeps the exception a call raised; true when there was one.
    bool failed();
    // Takes the raster the builder holds now: its pixels, its stride and its rows.
    bool readRaster();
    jmethodID method(const char* name, const char* signature);

    JNIEnv* env_;
    jobject builder_;
    jclass builderClass_ = nullptr;
    jthrowable thrown_ = nullptr;
    jarray pixels_ = nullptr;
    DibLayout layout_{};
    RasterKind kind_ = RasterKind::Rgb;
    std::uint32_t capacity_ = 0;  // rows the raster holds now
    std::size_t rasterStride_ = 0;
    unsigned char levels_[256] = {};
    bool levelsDiffer_ = false;
    std::chrono::steady_clock::time_point started_;
    std::vector<std::uint8_t> batch_;
};

#endif
