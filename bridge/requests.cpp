#include "bridge/requests.h"

#include <bit>
#include <iterator>

#include "jni/device_records.h"
#include "session/acquisition.h"
#include "session/lifecycle.h"
#include "session/native_calls.h"
#include "session/transfer_failure.h"
#include "session/twain_steps.h"
#include "trace/trace.h"

namespace bridge {

namespace {

using Serve = bool (*)(RecordReader& in, PageSink& pages, Reply& reply);

void flag(Reply& reply, bool value) { reply.payload.u8(value ? 1 : 0); }

void record(Reply& reply, const std::optional<RecordBytes>& bytes) {
    reply.payload.u8(bytes ? 1 : 0);
    if (bytes) {
        for (const std::uint8_t byte : *bytes) {
            reply.payload.u8(byte);
        }
    }
}

template <class Value>
bool refusedOr(Reply& reply, const DeviceAnswer<Value>& answer) {
    if (!answer.refusal.empty()) {
        reply.refuse(answer.refusal);
        return true;
    }
    return false;
}

RecordBytes rest(RecordReader& in) {
    RecordBytes bytes(in.left());
    for (std::uint8_t& byte : bytes) {
        in.u8(byte);
    }
    return bytes;
}

// A step of TwainEx, as its native sends it.
template <jboolean (*step)()>
bool sessionStep(RecordReader&, PageSink&, Reply& reply) {
    flag(reply, step() == JNI_TRUE);
    return true;
}

bool registerApplication(RecordReader& in, PageSink&, Reply& reply) {
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::string manufacturer;
    std::string family;
    std::string product;
    if (!in.u32(major) || !in.u32(minor) || !in.text(manufacturer) || !in.text(family) ||
        !in.text(product) || !in.atEnd()) {
        return false;
    }
    flag(reply, registerStep(static_cast<std::int32_t>(major), static_cast<std::int32_t>(minor),
                             manufacturer.c_str(), family.c_str(), product.c_str()) == JNI_TRUE);
    return true;
}

// The image belongs to this request from the transfer on, and is freed whatever the sending did.
bool acquireImage(RecordReader&, PageSink& pages, Reply& reply) {
    const TW_HANDLE image = acquireNextImage();
    if (!image) {
        flag(reply, false);
        return true;
    }
    const void* dib = GlobalLock(image);
    const bool sent = pages.sendPage(dib, dib ? GlobalSize(image) : 0);
    if (dib != nullptr) {
        GlobalUnlock(image);
    }
    GlobalFree(image);
    flag(reply, sent);
    return true;
}

bool setVisible(RecordReader& in, PageSink&, Reply& reply) {
    std::uint8_t shown = 0;
    if (!in.u8(shown) || !in.atEnd()) {
        return false;
    }
    setVisibleStep(shown != 0);
    flag(reply, true);
    return true;
}

bool listTheSources(RecordReader&, PageSink&, Reply& reply) {
    record(reply, sourcesRecord());
    return true;
}

bool findDefaultSource(RecordReader&, PageSink&, Reply& reply) {
    record(reply, defaultSourceRecord());
    return true;
}

bool openSourceAs(RecordReader& in, PageSink&, Reply& reply) {
    const auto opened = openSourceByRecord(rest(in));
    if (!refusedOr(reply, opened)) {
        flag(reply, opened.value);
    }
    return true;
}

bool readCapability(RecordReader& in, PageSink&, Reply& reply) {
    std::uint32_t capability = 0;
    std::uint32_t msg = 0;
    if (!in.u32(capability) || !in.u32(msg) || !in.atEnd()) {
        return false;
    }
    const auto answer =
        capabilityRecord(static_cast<std::int32_t>(capability), static_cast<std::int32_t>(msg));
    if (!refusedOr(reply, answer)) {
        record(reply, answer.value);
    }
    return true;
}

bool setCapability(RecordReader& in, PageSink&, Reply& reply) {
    std::uint32_t capability = 0;
    if (!in.u32(capability)) {
        return false;
    }
    const auto taken = setCapabilityByRecord(static_cast<std::int32_t>(capability), rest(in));
    if (!refusedOr(reply, taken)) {
        flag(reply, taken.value);
    }
    return true;
}

bool setFrame(RecordReader& in, PageSink&, Reply& reply) {
    double edges[4];
    for (double& edge : edges) {
        std::int64_t bits = 0;
        if (!in.i64(bits)) {
            return false;
        }
        edge = std::bit_cast<double>(bits);
    }
    if (!in.atEnd()) {
        return false;
    }
    const auto answer = frameRecord(edges[0], edges[1], edges[2], edges[3]);
    if (!refusedOr(reply, answer)) {
        record(reply, answer.value);
    }
    return true;
}

bool lastTransferFailure(RecordReader&, PageSink&, Reply& reply) {
    reply.payload.i64(transferFailure());
    return true;
}

bool startTracing(RecordReader& in, PageSink&, Reply& reply) {
    std::string path;
    if (!in.text(path) || !in.atEnd()) {
        return false;
    }
    flag(reply, startTrace(path.c_str()));
    return true;
}

bool stopTracing(RecordReader&, PageSink&, Reply& reply) {
    stopTrace();
    flag(reply, true);
    return true;
}

bool traceLine(RecordReader& in, PageSink&, Reply& reply) {
    std::string line;
    if (!in.text(line) || !in.atEnd()) {
        return false;
    }
    if (traceOn()) {
        traceEvent(line);
    }
    flag(reply, true);
    return true;
}

struct Request {
    Kind kind;
    Serve serve;
};

constexpr Request kRequests[] = {
    {Kind::Register, registerApplication},
    {Kind::SelectSource, sessionStep<selectSourceStep>},
    {Kind::OpenDefaultSource, sessionStep<openSourceStep>},
    {Kind::CloseSource, sessionStep<closeSourceStep>},
    {Kind::Unregister, sessionStep<unregisterStep>},
    {Kind::StopTransfer, sessionStep<stopTransferStep>},
    {Kind::PrepareTransfer, sessionStep<prepareTransferStep>},
    {Kind::AcquireImage, acquireImage},
    {Kind::SetVisible, setVisible},
    {Kind::ListSources, listTheSources},
    {Kind::DefaultSource, findDefaultSource},
    {Kind::OpenSource, openSourceAs},
    {Kind::ReadCapability, readCapability},
    {Kind::SetCapability, setCapability},
    {Kind::SetFrame, setFrame},
    {Kind::TransferFailure, lastTransferFailure},
    {Kind::StartTrace, startTracing},
    {Kind::StopTrace, stopTracing},
    {Kind::TraceLine, traceLine},
};

}  // namespace

bool serveRequest(std::uint16_t kind, std::vector<std::uint8_t> arguments, PageSink& pages,
                  Reply& reply) {
    for (const Request& request : kRequests) {
        if (static_cast<std::uint16_t>(request.kind) != kind) {
            continue;
        }
        RecordReader in(std::move(arguments));
        if (!request.serve(in, pages, reply) || !in.atEnd()) {
            reply = Reply{};
            reply.refuse("the request's arguments are malformed");
        }
        return true;
    }
    return false;
}

}  // namespace bridge
