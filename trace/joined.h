// Text made of pieces, appended one after another into one string: a chain of operator+ makes
// GCC 12 at -O3 warn of overlapping copies that cannot happen (-Wrestrict).
#ifndef SCANLINK_TRACE_JOINED_H
#define SCANLINK_TRACE_JOINED_H

#include <string>

template <class... Pieces>
std::string joined(const Pieces&... pieces) {
    std::string text;
    (text.append(pieces), ...);
    return text;
}

#endif
