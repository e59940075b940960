// A native transfer's DIB as a page sink takes it: every row from the top, in batches.
#ifndef SCANLINK_IMAGE_DIB_FEED_H
#define SCANLINK_IMAGE_DIB_FEED_H

#include "image/dib_layout.h"
#include "image/page_sink.h"

// False when the sink stopped.
bool feedDib(const DibLayout& layout, PageSink& sink);

#endif
