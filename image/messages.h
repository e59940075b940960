// The fixed texts with which an image delivery fails, and the internal exception that carries one
// of them to the handler of deliverImage. Tests compare these texts exactly.
#ifndef SCANLINK_IMAGE_MESSAGES_H
#define SCANLINK_IMAGE_MESSAGES_H

inline constexpr char kInvalidConsumer[] = "Invalid consumer!";
inline constexpr char kInvalidImage[] = "Invalid image!";
inline constexpr char kUnsupportedImageType[] = "Unsupported image type!";
// The spelling is part of what Java callers have always received.
inline constexpr char kUnsupportedCompression[] = "Unsuported DIB compression type!";
// The last word when not even java.lang.Exception can be found; the line feed is part of it.
inline constexpr char kCannotThrow[] = "Can't throw Exception!\n";

// A delivery refused with one of the texts above, and why in words of its own, for the trace.
struct MessageFailure {
    const char* text;
    const char* reason;
};

#endif
