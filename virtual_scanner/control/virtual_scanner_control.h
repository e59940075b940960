// How tests script the virtual scanner and read what it received. Every function is safe to call
// from any thread; the manager keeps the script, the knobs and the log for as long as the process
// lives (it is never unloaded, even where it unloads its source), so a test calls vscan_reset()
// before its scenario.
#ifndef VIRTUAL_SCANNER_CONTROL_H
#define VIRTUAL_SCANNER_CONTROL_H

#include <stddef.h>
#include <stdint.h>

// What the virtual scanner's libraries export. On Windows a program that uses them links their
// import library, or defines the functions itself and forwards them to a library it loaded.
#if defined(_WIN32)
#if defined(VSCAN_BUILDING)
#define VSCAN_API __declspec(dllexport)
#else
#define VSCAN_API
#endif
#elif defined(__GNUC__)
#define VSCAN_API __attribute__((visibility("default")))
#else
#define VSCAN_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

// Forgets the log, every scripted answer and every knob. Sessions still open stay open.
VSCAN_API void vscan_reset(void);

// Switches the device off and on: the manager and its source close, whatever state they were in,
// as when a process that used them ends. For a test that starts from a library never registered.
VSCAN_API void vscan_powerCycle(void);

// The next `times` triplets DG/DAT/MSG (times < 0: all of them) are answered with `resultCode`
// instead of being carried out, and the manager or source that received them records
// `conditionCode` for its next DAT_STATUS. A scripted DAT_STATUS answer puts `conditionCode`
// into the status record when `resultCode` is TWRC_SUCCESS. Scripts for the same triplet are
// used in the order they were given.
VSCAN_API void vscan_script(uint32_t dg, uint16_t dat, uint16_t msg, uint16_t resultCode,
                            uint16_t conditionCode, int32_t times);

// Named behaviours of the source (see virtual_scanner/README.md for the list); a knob that was
// never set reads as absent and the source behaves as a real one would.
VSCAN_API void vscan_setKnob(const char* name, int64_t value);
// A knob as the source reads it, set by a test or by VIRTUAL_SCANNER_KNOBS: 1 with its value in
// `value`, 0 when it is absent.
VSCAN_API int vscan_knob(const char* name, int64_t* value);
// A text setting (the page files are "pages.files") as the source reads it: its length, with at
// most `size` - 1 of its characters and a terminating zero in `buffer`; -1 when it is absent.
VSCAN_API int64_t vscan_text(const char* name, char* buffer, size_t size);

// Pages come from these BMP files (separated by ':'), one per page, in order, from the next
// MSG_OPENDS on; an empty list brings the test chart back. Overrides VIRTUAL_SCANNER_PAGES.
VSCAN_API void vscan_setPageFiles(const char* list);

// The page the source would scan now, pixel by pixel: `rgb` receives width x height values
// 0xRRGGBB, row by row from the top, when it holds that many. Returns width x height.
VSCAN_API size_t vscan_expectedPage(uint32_t* rgb, size_t count, int32_t* width, int32_t* height);

// The device's windows: "source.dialog", "source.progress" and "manager.dialog" (the selection
// dialog); 0 while there is none.
VSCAN_API uint64_t vscan_window(const char* which);
// Presses a button (IDOK is Scan or OK, IDCANCEL is Cancel) of the source's dialog or the selection
// dialog ("source.dialog", "manager.dialog") as a click does: a WM_COMMAND posted to it, which its
// thread takes with its messages. 0 when there is no such dialog.
VSCAN_API int vscan_press(const char* which, int button);
// How many of the messages the device sent its own windows have reached them.
VSCAN_API long vscan_deviceMessages(void);

// The manager's state (2 closed, 3 open) and the source's (0 when not open, else 4 to 7).
VSCAN_API int32_t vscan_managerState(void);
VSCAN_API int32_t vscan_sourceState(void);
// Whether the source's worker thread may still run (0 or 1): started, and not yet waited for. A
// disable and a close wait for its end, so that no thread of the source outlives them.
VSCAN_API int vscan_sourceWorker(void);

struct VscanTriplet {
    uint32_t originId;       // the origin identity's Id as it was received
    int32_t toSource;        // 0 when the destination was null (the manager)
    uint32_t destinationId;  // the destination identity's Id, 0 for the manager
    uint32_t dg;
    uint16_t dat;
    uint16_t msg;
    uint16_t resultCode;       // what DSM_Entry answered
    uint16_t statusCondition;  // the condition code a DAT_STATUS answered with, else 0
    uint32_t thread;           // the thread it came from
    int32_t refusedForThread;  // refused by a driver that assumes one thread ("threads.strict")
};

VSCAN_API size_t vscan_logSize(void);
// Forgets the log only; scripts and knobs stay.
VSCAN_API void vscan_clearLog(void);
// Copies entry `index` into `out`; 0 when there is no such entry.
VSCAN_API int vscan_logEntry(size_t index, struct VscanTriplet* out);
// The bytes of the data record as received, of the origin identity as received, and of the
// capability container a MSG_SET carried. Each copies at most `size` bytes and returns the full
// length.
VSCAN_API size_t vscan_logData(size_t index, uint8_t* buffer, size_t size);
VSCAN_API size_t vscan_logOrigin(size_t index, uint8_t* buffer, size_t size);
VSCAN_API size_t vscan_logContainer(size_t index, uint8_t* buffer, size_t size);

#ifdef __cplusplus
}
#endif

#endif
