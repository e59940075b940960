// The fixed texts with which an image delivery fails, and the internal exception that carries one
// of them to the handler of deliverImage. Tests compare these texts exactly.
#ifndef SCANLINK_IMAGE_MESSAGES_H
#define SCANLINK_IMAGE_MESSAGES_H

inline constexpr char kInvalidConsumer[] = "Invalid consumer!";
inline constexpr char kInvalidImage[] = "Invalid image!";
inline constexpr char kUnsupportedImageType[] = "Unsupported image type!";
// The spelling is part of what Java callers have always received.
inline constexpr char kUnsupportedCompression[] = "Unsuported DIB compression type!";
// Memory transfer: a layout the library does not read, and buffers that do not fit what they claim.
inline constexpr char kPlanarRefused[] =
    "Planar image data is not supported: the source sends each color in a plane of its own!";
inline constexpr char kUnsupportedStripLayout[] =
    "Unsupported memory transfer layout: the source's pixels are not 1, 4, 8 or 16-bit gray, "
    "palette or black and white, or 8 or 16 bits per sample RGB!";
inline constexpr char kStripOutsideBuffer[] =
    "A strip of the memory transfer reaches past the buffer it came in!";
inline constexpr char kStripOutsideImage[] =
    "A strip of the memory transfer lies outside the image!";
inline constexpr char kStripsDoNotJoin[] =
    "The strips of the memory transfer overlap or leave a gap!";
inline constexpr char kStripCompressed[] =
    "A strip of the memory transfer is compressed otherwise than the image!";
inline constexpr char kUnsupportedTransferCompression[] =
    "Unsupported compression: the library keeps JPEG and Group 4 pages as they come and reads "
    "uncompressed ones!";
inline constexpr char kNoBufferSize[] =
    "The source asks for a memory transfer buffer that the library cannot lend!";
inline constexpr char kBufferUnreadable[] = "The memory transfer buffer cannot be locked!";
inline constexpr char kEncodedPageTooLarge[] =
    "The compressed page is larger than a Java array holds!";
// File transfer.
inline constexpr char kTransferFileNameTooLong[] =
    "The transfer file's name is longer than TWAIN carries!";
inline constexpr char kTransferFileWasThere[] =
    "A file of the transfer file's name was there before the transfer!";
inline constexpr char kTransferFileUnwritten[] =
    "The source said it wrote the page to the file, and the file is not there or empty!";
inline constexpr char kTransferFileTooLarge[] =
    "The transfer file is larger than a Java array holds!";
inline constexpr char kTransferFileUnknown[] = "The transfer file is no BMP, JFIF or TIFF file!";
inline constexpr char kImageUnfinished[] =
    "The memory transfer ended with rows that no strip completed!";
// The last word when not even java.lang.Exception can be found; the line feed is part of it.
inline constexpr char kCannotThrow[] = "Can't throw Exception!\n";

// A delivery refused with one of the texts above, and why in words of its own, for the trace.
struct MessageFailure {
    const char* text;
    const char* reason;
};

#endif
