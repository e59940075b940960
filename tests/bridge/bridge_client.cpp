#include "bridge_client.h"

#include "bridge/message.h"
#include "jni/container_record.h"

namespace {

// Pages of any size the tests make; more than the chart at 600 dpi.
constexpr std::int64_t kLargestPage = std::int64_t{1} << 30;

std::vector<std::uint8_t> afterCodes(const bridge::Message& message, RecordReader& reader) {
    std::vector<std::uint8_t> rest(reader.left());
    for (std::uint8_t& byte : rest) {
        reader.u8(byte);
    }
    (void)message;
    return rest;
}

}  // namespace

bool BridgeClient::hello(std::uint32_t& protocol, std::uint32_t& bits, std::string& version) {
    bridge::Message message;
    if (bridge::readMessage(channel_, bridge::kMostRequestBytes, message) !=
            bridge::ReadResult::Read ||
        message.kind != static_cast<std::uint16_t>(bridge::Kind::Hello)) {
        return false;
    }
    RecordReader reader(std::move(message.payload));
    return reader.u32(protocol) && reader.u32(bits) && reader.text(version) && reader.atEnd();
}

BridgeAnswer BridgeClient::request(bridge::Kind kind, const RecordWriter& arguments) {
    return send(kind, arguments) ? answer() : BridgeAnswer();
}

bool BridgeClient::send(bridge::Kind kind, const RecordWriter& arguments) {
    return bridge::writeMessage(channel_, static_cast<std::uint16_t>(kind),
                                arguments.bytes().data(), arguments.bytes().size());
}

BridgeAnswer BridgeClient::answer() {
    BridgeAnswer answer;
    while (true) {
        bridge::Message message;
        if (bridge::readMessage(channel_, bridge::kPageChunkBytes, message) !=
            bridge::ReadResult::Read) {
            return answer;
        }
        RecordReader reader(std::move(message.payload));
        switch (static_cast<bridge::Kind>(message.kind)) {
            case bridge::Kind::PageStart: {
                std::uint8_t locked = 0;
                std::int64_t size = 0;
                if (!reader.u8(locked) || !reader.i64(size) || size < 0 || size > kLargestPage) {
                    return answer;
                }
                answer.pageCame = true;
                answer.pageLocked = locked != 0;
                answer.page.reserve(static_cast<std::size_t>(size));
                break;
            }
            case bridge::Kind::PageBytes: {
                const auto bytes = afterCodes(message, reader);
                answer.page.insert(answer.page.end(), bytes.begin(), bytes.end());
                break;
            }
            case bridge::Kind::Answer: {
                std::uint8_t outcome = 0;
                std::uint16_t rc = 0;
                std::uint16_t cc = 0;
                std::uint32_t codes = 0;
                if (!reader.u8(outcome) || !reader.u32(answer.state) || !reader.u32(codes)) {
                    return answer;
                }
                rc = static_cast<std::uint16_t>(codes);
                cc = static_cast<std::uint16_t>(codes >> 16);
                answer.resultCode = rc;
                answer.conditionCode = cc;
                answer.outcome = static_cast<bridge::Outcome>(outcome);
                if (answer.outcome != bridge::Outcome::Answered) {
                    reader.text(answer.text);
                } else {
                    answer.payload = afterCodes(message, reader);
                }
                answer.came = true;
                return answer;
            }
            case bridge::Kind::Fault:
                reader.text(fault_);
                return answer;
            default:
                return answer;
        }
    }
}

RecordWriter registration(const char* product) {
    RecordWriter record;
    record.u32(1);
    record.u32(0);
    record.text("Acme");
    record.text("Bridge tests");
    record.text(product);
    return record;
}

RecordWriter capabilityRead(std::uint32_t capability, std::uint32_t msg) {
    RecordWriter record;
    record.u32(capability);
    record.u32(msg);
    return record;
}

RecordWriter oneUint16(std::uint32_t capability, std::uint16_t value) {
    return oneValue(capability, TWTY_UINT16, value);
}

RecordWriter oneValue(std::uint32_t capability, std::uint16_t itemType, std::int64_t value) {
    RecordWriter record;
    record.u32(capability);
    CapabilityContainer container;
    container.conType = TWON_ONEVALUE;
    container.itemType = itemType;
    container.numbers = {value};
    writeContainer(record, container);
    return record;
}
