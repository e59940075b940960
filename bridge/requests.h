// The requests the bridge serves, each as the library's own native method does it: the same
// session code, the same thread rules, the same records. One table, one row per request.
#ifndef SCANLINK_BRIDGE_REQUESTS_H
#define SCANLINK_BRIDGE_REQUESTS_H

#include <cstdint>
#include <string>
#include <vector>

#include "bridge/protocol.h"
#include "jni/java_record.h"

namespace bridge {

// What a request answers: its payload, or why it was refused or could not be carried out.
struct Reply {
    Outcome outcome = Outcome::Answered;
    RecordWriter payload;
    std::string text;

    void refuse(std::string why) {
        outcome = Outcome::Refused;
        text = std::move(why);
    }
};

// Where a request that takes a page sends it, before its answer.
class PageSink {
  public:
    virtual ~PageSink() = default;
    // Sends the page's block (`bytes` null when it could not be locked). False when the parent is
    // gone.
    virtual bool sendPage(const void* bytes, std::size_t size) = 0;
};

// Serves a request of `kind` on the session's thread. False when no request has that kind.
bool serveRequest(std::uint16_t kind, std::vector<std::uint8_t> arguments, PageSink& pages,
                  Reply& reply);

}  // namespace bridge

#endif
