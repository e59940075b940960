#include "script.h"

namespace vscan {

void Script::add(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, ScriptedAnswer answer, int32_t times) {
    if (times != 0) {
        entries_.push_back(Entry{dg, dat, msg, answer, times});
    }
}

std::optional<ScriptedAnswer> Script::take(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg) {
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if (it->dg == dg && it->dat == dat && it->msg == msg) {
            const ScriptedAnswer answer = it->answer;
            if (it->remaining > 0 && --it->remaining == 0) {
                entries_.erase(it);
            }
            return answer;
        }
    }
    return std::nullopt;
}

void Script::setKnob(std::string_view name, int64_t value) { knobs_[std::string(name)] = value; }

std::optional<int64_t> Script::knob(std::string_view name) const {
    auto it = knobs_.find(name);
    if (it == knobs_.end()) {
        return std::nullopt;
    }
    return it->second;
}

void Script::setText(std::string_view name, std::string_view value) {
    texts_[std::string(name)] = std::string(value);
}

std::optional<std::string> Script::text(std::string_view name) const {
    auto it = texts_.find(name);
    if (it == texts_.end()) {
        return std::nullopt;
    }
    return it->second;
}

void Script::clear() {
    entries_.clear();
    knobs_.clear();
    texts_.clear();
}

}  // namespace vscan
