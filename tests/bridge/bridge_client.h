// The parent's side of the channel, as a test speaks it: a request and its answer, with the page
// that came before the answer.
#ifndef SCANLINK_TESTS_BRIDGE_CLIENT_H
#define SCANLINK_TESTS_BRIDGE_CLIENT_H

#include <cstdint>
#include <string>
#include <vector>

#include "bridge/channel.h"
#include "bridge/protocol.h"
#include "jni/java_record.h"

struct BridgeAnswer {
    bool came = false;  // false when the channel ended or carried something else
    bridge::Outcome outcome = bridge::Outcome::Answered;
    std::uint32_t state = 0;
    std::uint32_t resultCode = 0;
    std::uint32_t conditionCode = 0;
    std::vector<std::uint8_t> payload;  // after the codes; the text of a refusal or failure
    std::string text;
    bool pageCame = false;
    bool pageLocked = false;
    std::vector<std::uint8_t> page;

    // The flag that a step answers.
    bool flag() const { return came && !payload.empty() && payload[0] != 0; }
};

class BridgeClient {
  public:
    explicit BridgeClient(bridge::Channel& channel) : channel_(channel) {}

    // Reads the bridge's Hello: its protocol version, pointer bits and version text.
    bool hello(std::uint32_t& protocol, std::uint32_t& bits, std::string& version);

    BridgeAnswer request(bridge::Kind kind, const RecordWriter& arguments = RecordWriter());
    // The two halves of a request, for a test that acts while the answer is on its way.
    bool send(bridge::Kind kind, const RecordWriter& arguments = RecordWriter());
    BridgeAnswer answer();

    // The text of the Fault the bridge sent last, if any.
    const std::string& fault() const { return fault_; }

  private:
    bridge::Channel& channel_;
    std::string fault_;
};

// Arguments of the requests the tests make.
RecordWriter registration(const char* product);
RecordWriter capabilityRead(std::uint32_t capability, std::uint32_t msg);
RecordWriter oneUint16(std::uint32_t capability, std::uint16_t value);
// A one-value container of any item type; a TWTY_FIX32 number is in 1/65536 steps.
RecordWriter oneValue(std::uint32_t capability, std::uint16_t itemType, std::int64_t value);

#endif
