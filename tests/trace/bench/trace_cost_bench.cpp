// What the trace costs, against baselines measured in the same run: a triplet with the trace off
// against the triplet as it was sent before the trace existed (the same steps without its branch),
// and a page's acquisition and decoding with the trace on against the same with it off.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <vector>

#include "image/dib_layout.h"
#include "image/dib_rows.h"
#include "ratio_reporter.h"
#include "scenario.h"
#include "session/acquisition.h"
#include "session/dsm_binding.h"
#include "session/lifecycle.h"
#include "session/session_thread.h"
#include "session/twain_session.h"
#include "trace/trace.h"

namespace {

// The triplet as dsmCall sent it before the trace: the codes reset, the triplet, the status.
bool sentAsBefore(TW_UINT16 msg, TW_CAPABILITY& capability) {
    TwainSession& s = twainSession;
    s.resultCode = TWRC_FAILURE;
    s.conditionCode = TWCC_BUMMER;
    if (s.state < kStateManagerLoaded) {
        return false;
    }
    const TripletScope inTriplet;
    const TW_UINT16 result =
        s.dsmEntry(&s.appIdentity, &s.sourceIdentity, DG_CONTROL, DAT_CAPABILITY, msg, &capability);
    s.resultCode = result;
    TW_STATUS status = {};
    if (s.dsmEntry(&s.appIdentity, &s.sourceIdentity, DG_CONTROL, DAT_STATUS, MSG_GET, &status) ==
        TWRC_SUCCESS) {
        s.conditionCode = status.ConditionCode;
    }
    return inSuccessSet(result);
}

bool sentNow(TW_UINT16 msg, TW_CAPABILITY& capability) {
    return dsmCall(&twainSession.sourceIdentity, DG_CONTROL, DAT_CAPABILITY, msg, &capability);
}

// A session with the source open, and the trace on or off, for the benchmark's time.
class Session {
  public:
    explicit Session(bool traced) {
        vscan_powerCycle();
        vscan_reset();
        if (traced) {
            startTrace(file().string().c_str());
        }
        registerDemo();
        openSource();
    }
    ~Session() {
        unregister();
        stopTrace();
        std::filesystem::remove(file());
        std::filesystem::remove(file().string() + ".1");
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

  private:
    static std::filesystem::path file() {
        return std::filesystem::temp_directory_path() / "scanlink-trace-benchmark.log";
    }
};

template <bool (*Send)(TW_UINT16, TW_CAPABILITY&)>
void readResolution(benchmark::State& state, bool traced) {
    const Session session(traced);
    for (auto _ : state) {
        TW_CAPABILITY capability = {ICAP_XRESOLUTION, TWON_ONEVALUE, {}};
        benchmark::DoNotOptimize(Send(MSG_GETCURRENT, capability));
        GlobalFree(capability.hContainer);
    }
}

// One page of 638 x 825 pixels: the wait, the transfer, and every row decoded as a consumer gets
// it.
void acquirePage(benchmark::State& state, bool traced) {
    const Session session(traced);
    TW_UINT32 resolution = 75;
    TW_CAPABILITY setting = {ICAP_XRESOLUTION, TWON_ONEVALUE,
                             GlobalAlloc(GHND, sizeof(TW_ONEVALUE))};
    {
        auto* value = static_cast<TW_ONEVALUE*>(GlobalLock(setting.hContainer));
        value->ItemType = TWTY_FIX32;
        value->Item = resolution;
        GlobalUnlock(setting.hContainer);
    }
    sentNow(MSG_SET, setting);
    GlobalFree(setting.hContainer);
    prepareTransfer();
    std::vector<jint> row(2000);
    for (auto _ : state) {
        const TW_HANDLE image = acquireNextImage();
        const void* dib = GlobalLock(image);
        const DibLayout layout = decodeDibLayout(dib, GlobalSize(image));
        for (std::uint32_t y = 0; y < layout.rowCount; ++y) {
            unpackDirectRow(layout, dibRowStart(layout, y), row.data());
            benchmark::DoNotOptimize(row.data());
        }
        GlobalUnlock(image);
        GlobalFree(image);
    }
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::RegisterBenchmark("triplet/before the trace", readResolution<sentAsBefore>, false);
    benchmark::RegisterBenchmark("triplet/trace off", readResolution<sentNow>, false);
    benchmark::RegisterBenchmark("triplet/trace on", readResolution<sentNow>, true);
    benchmark::RegisterBenchmark("page/trace off", acquirePage, false)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("page/trace on", acquirePage, true)->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    RatioReporter reporter(
        "Time over the baseline's, measured in the same run:",
        {{"triplet, trace off / before it", "triplet/trace off", "triplet/before the trace"},
         {"triplet, trace on / before it", "triplet/trace on", "triplet/before the trace"},
         {"page, trace on / trace off", "page/trace on", "page/trace off"}});
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
