// TWAIN constants and records, as the standard's header gives them: packed on 2-byte boundaries,
// little-endian. TW_HANDLE and TW_MEMREF are as wide as a pointer of the target, so three records
// differ between targets; every size, offset and alignment is asserted below for the target being
// built, against the standard's layouts for 32- and 64-bit Windows.
#ifndef SCANLINK_TWAIN_H
#define SCANLINK_TWAIN_H

#include <windows.h>

#include <cstddef>
#include <cstdint>

typedef int8_t TW_INT8;
typedef int16_t TW_INT16;
typedef int32_t TW_INT32;
typedef uint8_t TW_UINT8;
typedef uint16_t TW_UINT16;
typedef uint32_t TW_UINT32;
typedef uint16_t TW_BOOL;
typedef HANDLE TW_HANDLE;
typedef void* TW_MEMREF;
typedef char TW_STR32[34];
typedef char TW_STR64[66];
typedef char TW_STR128[130];
typedef char TW_STR255[256];

#pragma pack(push, 2)

struct TW_FIX32 {
    TW_INT16 Whole;
    TW_UINT16 Frac;
};

struct TW_FRAME {
    TW_FIX32 Left;
    TW_FIX32 Top;
    TW_FIX32 Right;
    TW_FIX32 Bottom;
};

struct TW_VERSION {
    TW_UINT16 MajorNum;
    TW_UINT16 MinorNum;
    TW_UINT16 Language;
    TW_UINT16 Country;
    TW_STR32 Info;
};

struct TW_IDENTITY {
    TW_UINT32 Id;
    TW_VERSION Version;
    TW_UINT16 ProtocolMajor;
    TW_UINT16 ProtocolMinor;
    TW_UINT32 SupportedGroups;
    TW_STR32 Manufacturer;
    TW_STR32 ProductFamily;
    TW_STR32 ProductName;
};

struct TW_USERINTERFACE {
    TW_BOOL ShowUI;
    TW_BOOL ModalUI;
    TW_HANDLE hParent;
};

struct TW_STATUS {
    TW_UINT16 ConditionCode;
    TW_UINT16 Reserved;
};

struct TW_CAPABILITY {
    TW_UINT16 Cap;
    TW_UINT16 ConType;
    TW_HANDLE hContainer;
};

struct TW_ONEVALUE {
    TW_UINT16 ItemType;
    TW_UINT32 Item;
};

// The header of an enumeration; its ItemList of NumItems items follows at offset 14.
struct TW_ENUMERATION_HEADER {
    TW_UINT16 ItemType;
    TW_UINT32 NumItems;
    TW_UINT32 CurrentIndex;
    TW_UINT32 DefaultIndex;
};

struct TW_RANGE {
    TW_UINT16 ItemType;
    TW_UINT32 MinValue;
    TW_UINT32 MaxValue;
    TW_UINT32 StepSize;
    TW_UINT32 DefaultValue;
    TW_UINT32 CurrentValue;
};

// The header of an array; its ItemList of NumItems items follows at offset 6.
struct TW_ARRAY_HEADER {
    TW_UINT16 ItemType;
    TW_UINT32 NumItems;
};

struct TW_PENDINGXFERS {
    TW_UINT16 Count;
    TW_UINT32 EOJ;
};

struct TW_EVENT {
    TW_MEMREF pEvent;
    TW_UINT16 TWMessage;
};

struct TW_IMAGELAYOUT {
    TW_FRAME Frame;
    TW_UINT32 DocumentNumber;
    TW_UINT32 PageNumber;
    TW_UINT32 FrameNumber;
};

struct TW_IMAGEINFO {
    TW_FIX32 XResolution;
    TW_FIX32 YResolution;
    TW_INT32 ImageWidth;
    TW_INT32 ImageLength;
    TW_INT16 SamplesPerPixel;
    TW_INT16 BitsPerSample[8];
    TW_INT16 BitsPerPixel;
    TW_BOOL Planar;
    TW_INT16 PixelType;
    TW_UINT16 Compression;
};

#pragma pack(pop)

typedef TW_IDENTITY* pTW_IDENTITY;

// DSM_Entry as the manager exports it (PASCAL is __stdcall on 32-bit Windows; 64-bit Windows and
// the POSIX host have one calling convention).
typedef TW_UINT16(PASCAL* DSMENTRYPROC)(pTW_IDENTITY origin, pTW_IDENTITY dest, TW_UINT32 dg,
                                        TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data);

// What the target decides: the width of TW_HANDLE and TW_MEMREF (and of the pointers the manager
// and the application pass), and with it the records that hold one. Packing stays 2, so an 8-byte
// handle sits at offset 4 with no padding before it.
struct TwainTargetLayout {
    std::size_t handle;         // TW_HANDLE
    std::size_t memref;         // TW_MEMREF
    std::size_t pointer;        // pTW_IDENTITY, DSMENTRYPROC
    std::size_t userInterface;  // TW_USERINTERFACE
    std::size_t capability;     // TW_CAPABILITY
    std::size_t event;          // TW_EVENT
    std::size_t eventMessage;   // offset of TW_EVENT.TWMessage
};
// The standard's header compiled for 32-bit and for 64-bit Windows.
inline constexpr TwainTargetLayout kWin32Layout = {4, 4, 4, 8, 8, 6, 4};
inline constexpr TwainTargetLayout kWin64Layout = {8, 8, 8, 12, 12, 10, 8};
#if defined(_WIN64)
inline constexpr TwainTargetLayout kTwainTargetLayout = kWin64Layout;
#elif defined(_WIN32)
inline constexpr TwainTargetLayout kTwainTargetLayout = kWin32Layout;
#else
// The 64-bit POSIX host: handles come from the stand-in's 32-bit handle table, TW_MEMREF is a host
// pointer.
inline constexpr TwainTargetLayout kTwainTargetLayout = {4, 8, 8, 8, 8, 10, 8};
#endif

static_assert(sizeof(TW_HANDLE) == kTwainTargetLayout.handle);
static_assert(sizeof(TW_MEMREF) == kTwainTargetLayout.memref);
static_assert(sizeof(pTW_IDENTITY) == kTwainTargetLayout.pointer);
static_assert(sizeof(DSMENTRYPROC) == kTwainTargetLayout.pointer);
static_assert(sizeof(TW_USERINTERFACE) == kTwainTargetLayout.userInterface);
static_assert(offsetof(TW_USERINTERFACE, ShowUI) == 0);
static_assert(offsetof(TW_USERINTERFACE, ModalUI) == 2);
static_assert(offsetof(TW_USERINTERFACE, hParent) == 4);
static_assert(sizeof(TW_CAPABILITY) == kTwainTargetLayout.capability);
static_assert(offsetof(TW_CAPABILITY, Cap) == 0);
static_assert(offsetof(TW_CAPABILITY, ConType) == 2);
static_assert(offsetof(TW_CAPABILITY, hContainer) == 4);
static_assert(sizeof(TW_EVENT) == kTwainTargetLayout.event);
static_assert(offsetof(TW_EVENT, pEvent) == 0);
static_assert(offsetof(TW_EVENT, TWMessage) == kTwainTargetLayout.eventMessage);

// The scalar and string types, the same on every target.
static_assert(sizeof(TW_INT8) == 1 && sizeof(TW_UINT8) == 1);
static_assert(sizeof(TW_INT16) == 2 && sizeof(TW_UINT16) == 2 && sizeof(TW_BOOL) == 2);
static_assert(sizeof(TW_INT32) == 4 && sizeof(TW_UINT32) == 4);
static_assert(sizeof(TW_STR32) == 34 && sizeof(TW_STR64) == 66);
static_assert(sizeof(TW_STR128) == 130 && sizeof(TW_STR255) == 256);

// Packed on 2-byte boundaries: no record asks for more, whatever its fields would.
static_assert(alignof(TW_FIX32) == 2 && alignof(TW_FRAME) == 2 && alignof(TW_VERSION) == 2);
static_assert(alignof(TW_IDENTITY) == 2 && alignof(TW_USERINTERFACE) == 2);
static_assert(alignof(TW_STATUS) == 2 && alignof(TW_CAPABILITY) == 2);
static_assert(alignof(TW_ONEVALUE) == 2 && alignof(TW_ENUMERATION_HEADER) == 2);
static_assert(alignof(TW_RANGE) == 2 && alignof(TW_ARRAY_HEADER) == 2);
static_assert(alignof(TW_PENDINGXFERS) == 2 && alignof(TW_EVENT) == 2);
static_assert(alignof(TW_IMAGELAYOUT) == 2 && alignof(TW_IMAGEINFO) == 2);

// The records that hold no handle and no pointer are the same on every target.
static_assert(sizeof(TW_FIX32) == 4);
static_assert(offsetof(TW_FIX32, Whole) == 0);
static_assert(offsetof(TW_FIX32, Frac) == 2);
static_assert(sizeof(TW_FRAME) == 16);
static_assert(offsetof(TW_FRAME, Left) == 0);
static_assert(offsetof(TW_FRAME, Top) == 4);
static_assert(offsetof(TW_FRAME, Right) == 8);
static_assert(offsetof(TW_FRAME, Bottom) == 12);
static_assert(sizeof(TW_VERSION) == 42);
static_assert(offsetof(TW_VERSION, MajorNum) == 0);
static_assert(offsetof(TW_VERSION, MinorNum) == 2);
static_assert(offsetof(TW_VERSION, Language) == 4);
static_assert(offsetof(TW_VERSION, Country) == 6);
static_assert(offsetof(TW_VERSION, Info) == 8);
static_assert(sizeof(TW_IDENTITY) == 156);
static_assert(offsetof(TW_IDENTITY, Id) == 0);
static_assert(offsetof(TW_IDENTITY, Version) == 4);
static_assert(offsetof(TW_IDENTITY, ProtocolMajor) == 46);
static_assert(offsetof(TW_IDENTITY, ProtocolMinor) == 48);
static_assert(offsetof(TW_IDENTITY, SupportedGroups) == 50);
static_assert(offsetof(TW_IDENTITY, Manufacturer) == 54);
static_assert(offsetof(TW_IDENTITY, ProductFamily) == 88);
static_assert(offsetof(TW_IDENTITY, ProductName) == 122);
static_assert(sizeof(TW_STATUS) == 4);
static_assert(offsetof(TW_STATUS, ConditionCode) == 0);
static_assert(offsetof(TW_STATUS, Reserved) == 2);
static_assert(sizeof(TW_ONEVALUE) == 6);
static_assert(offsetof(TW_ONEVALUE, ItemType) == 0);
static_assert(offsetof(TW_ONEVALUE, Item) == 2);
static_assert(sizeof(TW_ENUMERATION_HEADER) == 14);
static_assert(offsetof(TW_ENUMERATION_HEADER, ItemType) == 0);
static_assert(offsetof(TW_ENUMERATION_HEADER, NumItems) == 2);
static_assert(offsetof(TW_ENUMERATION_HEADER, CurrentIndex) == 6);
static_assert(offsetof(TW_ENUMERATION_HEADER, DefaultIndex) == 10);
static_assert(sizeof(TW_RANGE) == 22);
static_assert(offsetof(TW_RANGE, ItemType) == 0);
static_assert(offsetof(TW_RANGE, MinValue) == 2);
static_assert(offsetof(TW_RANGE, MaxValue) == 6);
static_assert(offsetof(TW_RANGE, StepSize) == 10);
static_assert(offsetof(TW_RANGE, DefaultValue) == 14);
static_assert(offsetof(TW_RANGE, CurrentValue) == 18);
static_assert(sizeof(TW_ARRAY_HEADER) == 6);
static_assert(offsetof(TW_ARRAY_HEADER, ItemType) == 0);
static_assert(offsetof(TW_ARRAY_HEADER, NumItems) == 2);
static_assert(sizeof(TW_PENDINGXFERS) == 6);
static_assert(offsetof(TW_PENDINGXFERS, Count) == 0);
static_assert(offsetof(TW_PENDINGXFERS, EOJ) == 2);
static_assert(sizeof(TW_IMAGELAYOUT) == 28);
static_assert(offsetof(TW_IMAGELAYOUT, Frame) == 0);
static_assert(offsetof(TW_IMAGELAYOUT, DocumentNumber) == 16);
static_assert(offsetof(TW_IMAGELAYOUT, PageNumber) == 20);
static_assert(offsetof(TW_IMAGELAYOUT, FrameNumber) == 24);
static_assert(sizeof(TW_IMAGEINFO) == 42);
static_assert(offsetof(TW_IMAGEINFO, XResolution) == 0);
static_assert(offsetof(TW_IMAGEINFO, YResolution) == 4);
static_assert(offsetof(TW_IMAGEINFO, ImageWidth) == 8);
static_assert(offsetof(TW_IMAGEINFO, ImageLength) == 12);
static_assert(offsetof(TW_IMAGEINFO, SamplesPerPixel) == 16);
static_assert(offsetof(TW_IMAGEINFO, BitsPerSample) == 18);
static_assert(offsetof(TW_IMAGEINFO, BitsPerPixel) == 34);
static_assert(offsetof(TW_IMAGEINFO, Planar) == 36);
static_assert(offsetof(TW_IMAGEINFO, PixelType) == 38);
static_assert(offsetof(TW_IMAGEINFO, Compression) == 40);

// Data groups
inline constexpr TW_UINT32 DG_CONTROL = 0x0001;
inline constexpr TW_UINT32 DG_IMAGE = 0x0002;

// Data argument types
inline constexpr TW_UINT16 DAT_NULL = 0x0000;
inline constexpr TW_UINT16 DAT_CAPABILITY = 0x0001;
inline constexpr TW_UINT16 DAT_EVENT = 0x0002;
inline constexpr TW_UINT16 DAT_IDENTITY = 0x0003;
inline constexpr TW_UINT16 DAT_PARENT = 0x0004;
inline constexpr TW_UINT16 DAT_PENDINGXFERS = 0x0005;
inline constexpr TW_UINT16 DAT_STATUS = 0x0008;
inline constexpr TW_UINT16 DAT_USERINTERFACE = 0x0009;
inline constexpr TW_UINT16 DAT_IMAGEINFO = 0x0101;
inline constexpr TW_UINT16 DAT_IMAGELAYOUT = 0x0102;
inline constexpr TW_UINT16 DAT_IMAGENATIVEXFER = 0x0104;

// Messages
inline constexpr TW_UINT16 MSG_NULL = 0x0000;
inline constexpr TW_UINT16 MSG_GET = 0x0001;
inline constexpr TW_UINT16 MSG_GETCURRENT = 0x0002;
inline constexpr TW_UINT16 MSG_GETDEFAULT = 0x0003;
inline constexpr TW_UINT16 MSG_GETFIRST = 0x0004;
inline constexpr TW_UINT16 MSG_GETNEXT = 0x0005;
inline constexpr TW_UINT16 MSG_SET = 0x0006;
inline constexpr TW_UINT16 MSG_RESET = 0x0007;
inline constexpr TW_UINT16 MSG_QUERYSUPPORT = 0x0008;
inline constexpr TW_UINT16 MSG_XFERREADY = 0x0101;
inline constexpr TW_UINT16 MSG_CLOSEDSREQ = 0x0102;
inline constexpr TW_UINT16 MSG_CLOSEDSOK = 0x0103;
inline constexpr TW_UINT16 MSG_OPENDSM = 0x0301;
inline constexpr TW_UINT16 MSG_CLOSEDSM = 0x0302;
inline constexpr TW_UINT16 MSG_OPENDS = 0x0401;
inline constexpr TW_UINT16 MSG_CLOSEDS = 0x0402;
inline constexpr TW_UINT16 MSG_USERSELECT = 0x0403;
inline constexpr TW_UINT16 MSG_DISABLEDS = 0x0501;
inline constexpr TW_UINT16 MSG_ENABLEDS = 0x0502;
inline constexpr TW_UINT16 MSG_PROCESSEVENT = 0x0601;
inline constexpr TW_UINT16 MSG_ENDXFER = 0x0701;

// Return codes
inline constexpr TW_UINT16 TWRC_SUCCESS = 0;
inline constexpr TW_UINT16 TWRC_FAILURE = 1;
inline constexpr TW_UINT16 TWRC_CHECKSTATUS = 2;
inline constexpr TW_UINT16 TWRC_CANCEL = 3;
inline constexpr TW_UINT16 TWRC_DSEVENT = 4;
inline constexpr TW_UINT16 TWRC_NOTDSEVENT = 5;
inline constexpr TW_UINT16 TWRC_XFERDONE = 6;
inline constexpr TW_UINT16 TWRC_ENDOFLIST = 7;

// Condition codes
inline constexpr TW_UINT16 TWCC_SUCCESS = 0;
inline constexpr TW_UINT16 TWCC_BUMMER = 1;
inline constexpr TW_UINT16 TWCC_LOWMEMORY = 2;
inline constexpr TW_UINT16 TWCC_NODS = 3;
inline constexpr TW_UINT16 TWCC_MAXCONNECTIONS = 4;
inline constexpr TW_UINT16 TWCC_OPERATIONERROR = 5;
inline constexpr TW_UINT16 TWCC_BADCAP = 6;
inline constexpr TW_UINT16 TWCC_BADPROTOCOL = 9;
inline constexpr TW_UINT16 TWCC_BADVALUE = 10;
inline constexpr TW_UINT16 TWCC_SEQERROR = 11;
inline constexpr TW_UINT16 TWCC_BADDEST = 12;
inline constexpr TW_UINT16 TWCC_CAPUNSUPPORTED = 13;
inline constexpr TW_UINT16 TWCC_CAPBADOPERATION = 14;
inline constexpr TW_UINT16 TWCC_CAPSEQERROR = 15;
inline constexpr TW_UINT16 TWCC_PAPERJAM = 20;
inline constexpr TW_UINT16 TWCC_PAPERDOUBLEFEED = 21;
inline constexpr TW_UINT16 TWCC_CHECKDEVICEONLINE = 23;
inline constexpr TW_UINT16 TWCC_NOMEDIA = 29;

// Containers
inline constexpr TW_UINT16 TWON_ARRAY = 3;
inline constexpr TW_UINT16 TWON_ENUMERATION = 4;
inline constexpr TW_UINT16 TWON_ONEVALUE = 5;
inline constexpr TW_UINT16 TWON_RANGE = 6;
inline constexpr TW_UINT16 TWON_DONTCARE16 = 0xFFFF;

// Item types
inline constexpr TW_UINT16 TWTY_INT8 = 0x00;
inline constexpr TW_UINT16 TWTY_INT16 = 0x01;
inline constexpr TW_UINT16 TWTY_INT32 = 0x02;
inline constexpr TW_UINT16 TWTY_UINT8 = 0x03;
inline constexpr TW_UINT16 TWTY_UINT16 = 0x04;
inline constexpr TW_UINT16 TWTY_UINT32 = 0x05;
inline constexpr TW_UINT16 TWTY_BOOL = 0x06;
inline constexpr TW_UINT16 TWTY_FIX32 = 0x07;
inline constexpr TW_UINT16 TWTY_FRAME = 0x08;
inline constexpr TW_UINT16 TWTY_STR32 = 0x09;
inline constexpr TW_UINT16 TWTY_STR64 = 0x0A;
inline constexpr TW_UINT16 TWTY_STR128 = 0x0B;
inline constexpr TW_UINT16 TWTY_STR255 = 0x0C;

// Identity
inline constexpr TW_UINT16 TWLG_USA = 13;
inline constexpr TW_UINT16 TWCY_USA = 1;

// Capabilities
inline constexpr TW_UINT16 CAP_XFERCOUNT = 0x0001;
inline constexpr TW_UINT16 CAP_AUTHOR = 0x1000;
inline constexpr TW_UINT16 CAP_CAPTION = 0x1001;
inline constexpr TW_UINT16 ICAP_PIXELTYPE = 0x0101;
inline constexpr TW_UINT16 ICAP_UNITS = 0x0102;
inline constexpr TW_UINT16 ICAP_XFERMECH = 0x0103;
inline constexpr TW_UINT16 CAP_FEEDERENABLED = 0x1002;
inline constexpr TW_UINT16 CAP_FEEDERLOADED = 0x1003;
inline constexpr TW_UINT16 CAP_SUPPORTEDCAPS = 0x1005;
inline constexpr TW_UINT16 CAP_AUTOFEED = 0x1007;
inline constexpr TW_UINT16 CAP_CLEARPAGE = 0x1008;
inline constexpr TW_UINT16 CAP_FEEDPAGE = 0x1009;
inline constexpr TW_UINT16 CAP_REWINDPAGE = 0x100A;
inline constexpr TW_UINT16 CAP_INDICATORS = 0x100B;
inline constexpr TW_UINT16 CAP_UICONTROLLABLE = 0x100E;
inline constexpr TW_UINT16 CAP_DEVICEONLINE = 0x100F;
inline constexpr TW_UINT16 CAP_DUPLEX = 0x1012;
inline constexpr TW_UINT16 CAP_DUPLEXENABLED = 0x1013;
inline constexpr TW_UINT16 CAP_ALARMVOLUME = 0x1019;
inline constexpr TW_UINT16 CAP_SERIALNUMBER = 0x1024;
inline constexpr TW_UINT16 ICAP_AUTOBRIGHT = 0x1100;
inline constexpr TW_UINT16 ICAP_BRIGHTNESS = 0x1101;
inline constexpr TW_UINT16 ICAP_CONTRAST = 0x1103;
inline constexpr TW_UINT16 ICAP_HALFTONES = 0x1109;
inline constexpr TW_UINT16 ICAP_HIGHLIGHT = 0x110A;
inline constexpr TW_UINT16 ICAP_ORIENTATION = 0x1110;
inline constexpr TW_UINT16 ICAP_PHYSICALWIDTH = 0x1111;
inline constexpr TW_UINT16 ICAP_PHYSICALHEIGHT = 0x1112;
inline constexpr TW_UINT16 ICAP_SHADOW = 0x1113;
inline constexpr TW_UINT16 ICAP_FRAMES = 0x1114;
inline constexpr TW_UINT16 ICAP_XNATIVERESOLUTION = 0x1116;
inline constexpr TW_UINT16 ICAP_YNATIVERESOLUTION = 0x1117;
inline constexpr TW_UINT16 ICAP_XRESOLUTION = 0x1118;
inline constexpr TW_UINT16 ICAP_YRESOLUTION = 0x1119;
inline constexpr TW_UINT16 ICAP_ROTATION = 0x1121;
inline constexpr TW_UINT16 ICAP_THRESHOLD = 0x1123;
inline constexpr TW_UINT16 ICAP_XSCALING = 0x1124;
inline constexpr TW_UINT16 ICAP_YSCALING = 0x1125;
inline constexpr TW_UINT16 ICAP_BITDEPTH = 0x112B;
inline constexpr TW_UINT16 ICAP_BITDEPTHREDUCTION = 0x112C;
inline constexpr TW_UINT16 ICAP_JPEGQUALITY = 0x1153;
inline constexpr TW_UINT16 CAP_CUSTOMBASE = 0x8000;

// Capability values
inline constexpr TW_UINT16 TWQC_GET = 0x0001;
inline constexpr TW_UINT16 TWQC_SET = 0x0002;
inline constexpr TW_UINT16 TWQC_GETDEFAULT = 0x0004;
inline constexpr TW_UINT16 TWQC_GETCURRENT = 0x0008;
inline constexpr TW_UINT16 TWQC_RESET = 0x0010;
inline constexpr TW_UINT16 TWDX_NONE = 0;
inline constexpr TW_UINT16 TWDX_1PASSDUPLEX = 1;
inline constexpr TW_UINT16 TWCP_NONE = 0;

inline constexpr TW_UINT16 TWPT_BW = 0;
inline constexpr TW_UINT16 TWPT_GRAY = 1;
inline constexpr TW_UINT16 TWPT_RGB = 2;
inline constexpr TW_UINT16 TWPT_PALETTE = 3;
inline constexpr TW_UINT16 TWUN_INCHES = 0;
inline constexpr TW_UINT16 TWUN_CENTIMETERS = 1;
inline constexpr TW_UINT16 TWUN_PICAS = 2;
inline constexpr TW_UINT16 TWUN_POINTS = 3;
inline constexpr TW_UINT16 TWUN_TWIPS = 4;
inline constexpr TW_UINT16 TWUN_PIXELS = 5;
inline constexpr TW_UINT16 TWUN_MILLIMETERS = 6;
inline constexpr TW_UINT16 TWSX_NATIVE = 0;

#endif
