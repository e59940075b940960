// Decoding of one stored DIB row, and of the color table, straight into Java array elements.
#ifndef SCANLINK_IMAGE_DIB_ROWS_H
#define SCANLINK_IMAGE_DIB_ROWS_H

#include <jni.h>

#include <cstdint>

#include "image/dib_layout.h"

// Indexed layouts: fills colorCount red, green and blue components from the color table.
void splitColorTable(const DibLayout& layout, jbyte* red, jbyte* green, jbyte* blue);

// Bit counts of 8 or less: one byte per pixel, width bytes (a color index, or the raw value of a
// bit-fields DIB).
void unpackIndexRow(const DibLayout& layout, const std::uint8_t* row, jbyte* out);

// Bit counts above 8: one int per pixel, width ints, for a color model built from the masks. A
// 32-bit BI_RGB pixel has its unused top byte cleared; a 32-bit bit-fields pixel is kept whole,
// since its masks may use the top byte.
void unpackDirectRow(const DibLayout& layout, const std::uint8_t* row, jint* out);

#endif
