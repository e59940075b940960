// Native method of QZ.korvel.twain.PageTransfers: ScanSession's pages, by the transfer mechanism
// the session chose, written straight into the page's raster (raster_sink.h).
#ifndef SCANLINK_JNI_PAGE_NATIVES_H
#define SCANLINK_JNI_PAGE_NATIVES_H

#include <jni.h>

// The mechanisms and the outcomes, as PageTransfers numbers them.
inline constexpr jint kMechanismNative = 0;
inline constexpr jint kMechanismMemory = 1;
inline constexpr jint kMechanismFile = 2;
inline constexpr jint kNoPage = 0;
inline constexpr jint kPage = 1;
inline constexpr jint kNoFirstStrip = 2;

// Waits for the next page as acquireImage does and takes it by `mechanism` into the builder: a
// native transfer's DIB and a BMP file's rows straight into its raster (or, for a DIB whose pixels
// have masks or 16 bits, through its ImageConsumer), a memory transfer's rows as each completes,
// an encoded page as its bytes. `file` names the file of a file transfer; `format` is the TWFF_
// code asked for. A page refused throws an Exception whose message says why; the builder's own
// exceptions pass through.
jint JNICALL acquirePageNative(JNIEnv* env, jclass, jobject builder, jint mechanism, jstring file,
                               jint format);

#endif
