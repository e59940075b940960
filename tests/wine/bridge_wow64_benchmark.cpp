// A letter colour page at 600 dpi through the 32-bit bridge, started by this 64-bit process under
// WoW64, against the same page taken by the library in this process, in one run: the ratio of the
// medians of the rounds. Run by scripts/benchmark-bridge-wine; the first argument is the number
// of rounds (default 5).
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

#include "bridge_child.h"
#include "bridge_client.h"
#include "jni/device_records.h"
#include "scenario.h"
#include "session/acquisition.h"
#include "session/lifecycle.h"
#include "session/twain_session.h"

namespace {

using bridge::Kind;
using Clock = std::chrono::steady_clock;

const char* const kBridge = "C:\\scanlink\\scanlink-bridge32.exe";

std::vector<RecordWriter> letterColourAt600() {
    return {oneUint16(ICAP_PIXELTYPE, TWPT_RGB), oneValue(ICAP_XRESOLUTION, TWTY_FIX32, 600 << 16),
            oneValue(ICAP_YRESOLUTION, TWTY_FIX32, 600 << 16)};
}

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The time of the page in this process, or none when the session failed.
std::optional<double> pageInThisProcess(std::size_t& bytes) {
    if (!registerAsNative() || !openSource()) {
        return std::nullopt;
    }
    for (const RecordWriter& setting : letterColourAt600()) {
        RecordReader reader(setting.bytes());
        std::uint32_t capability = 0;
        reader.u32(capability);
        std::vector<std::uint8_t> container(reader.left());
        for (auto& byte : container) {
            reader.u8(byte);
        }
        if (!setCapabilityByRecord(static_cast<std::int32_t>(capability), container).value) {
            return std::nullopt;
        }
    }
    twainSession.userInterface.ShowUI = 0;
    if (!prepareTransfer()) {
        return std::nullopt;
    }
    const Clock::time_point start = Clock::now();
    const TW_HANDLE image = acquireNextImage();
    if (image == nullptr) {
        return std::nullopt;
    }
    // The bridge's parent holds the page in its own memory at the end; so does this side.
    const auto* dib = static_cast<const std::uint8_t*>(GlobalLock(image));
    const std::vector<std::uint8_t> page(dib, dib + GlobalSize(image));
    const double elapsed = millisecondsSince(start);
    GlobalUnlock(image);
    GlobalFree(image);
    bytes = page.size();
    return unregister() ? std::optional(elapsed) : std::nullopt;
}

// The time of the same page through the bridge, from the request to the page's last byte.
std::optional<double> pageThroughTheBridge(std::size_t& bytes) {
    const auto child = BridgeChild::start(kBridge);
    if (!child) {
        return std::nullopt;
    }
    BridgeClient client(child->channel());
    std::uint32_t protocol = 0;
    std::uint32_t bits = 0;
    std::string version;
    RecordWriter hidden;
    hidden.u8(0);
    if (!client.hello(protocol, bits, version) ||
        !client.request(Kind::Register, registration("Benchmark")).flag() ||
        !client.request(Kind::SetVisible, hidden).flag() ||
        !client.request(Kind::OpenDefaultSource).flag()) {
        return std::nullopt;
    }
    for (const RecordWriter& setting : letterColourAt600()) {
        if (!client.request(Kind::SetCapability, setting).flag()) {
            return std::nullopt;
        }
    }
    if (!client.request(Kind::PrepareTransfer).flag()) {
        return std::nullopt;
    }
    const Clock::time_point start = Clock::now();
    const BridgeAnswer page = client.request(Kind::AcquireImage);
    const double elapsed = millisecondsSince(start);
    if (!page.flag() || !page.pageCame) {
        return std::nullopt;
    }
    bytes = page.page.size();
    client.request(Kind::StopTransfer);
    client.request(Kind::Unregister);
    child->closeInput();
    return child->exitCode(10000) == bridge::kExitDone ? std::optional(elapsed) : std::nullopt;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 5;
    if (rounds < 1) {
        std::fprintf(stderr, "usage: bridge_wow64_benchmark [rounds, at least 1]\n");
        return 2;
    }
    std::vector<double> inProcess;
    std::vector<double> bridged;
    for (int round = 1; round <= rounds; ++round) {
        std::size_t ownBytes = 0;
        std::size_t bridgedBytes = 0;
        const auto own = pageInThisProcess(ownBytes);
        const auto through = pageThroughTheBridge(bridgedBytes);
        if (!own || !through || ownBytes != bridgedBytes) {
            std::fprintf(stderr, "round %d: the page could not be taken both ways alike\n", round);
            return 1;
        }
        std::printf(
            "round %d: %zu bytes, in this 64-bit process %.0f ms, through the 32-bit "
            "bridge %.0f ms\n",
            round, ownBytes, *own, *through);
        inProcess.push_back(*own);
        bridged.push_back(*through);
    }
    std::printf(
        "letter colour page at 600 dpi, median of %d rounds: through the 32-bit bridge "
        "%.2fx the time in this 64-bit process\n",
        rounds, median(bridged) / median(inProcess));
    return 0;
}
