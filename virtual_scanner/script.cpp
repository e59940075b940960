#include "script.h"

#include <cstdlib>

namespace vscan {
namespace {

// Knobs that VIRTUAL_SCANNER_KNOBS sets for the whole process ("name=value,name=value"), so that a
// whole test suite can run against a source that behaves in a certain way. A knob a test sets
// overrides them; reset forgets only what tests set.
const std::map<std::string, int64_t, std::less<>>& environmentKnobs() {
    static const auto knobs = [] {
        std::map<std::string, int64_t, std::less<>> parsed;
        const char* text = std::getenv("VIRTUAL_SCANNER_KNOBS");
        std::string_view rest = text ? text : "";
        while (!rest.empty()) {
            const std::size_t comma = rest.find(',');
            const std::string_view item = rest.substr(0, comma);
            rest = comma == std::string_view::npos ? "" : rest.substr(comma + 1);
            const std::size_t equals = item.find('=');
            if (equals != std::string_view::npos && equals > 0) {
                const std::string value(item.substr(equals + 1));
                parsed[std::string(item.substr(0, equals))] =
                    std::strtoll(value.c_str(), nullptr, 0);
            }
        }
        return parsed;
    }();
    return knobs;
}

std::optional<SettingsReader>& settingsReader() {
    static std::optional<SettingsReader> reader;
    return reader;
}

}  // namespace

void readSettingsThrough(const SettingsReader& reader) { settingsReader() = reader; }

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
    if (const auto& reader = settingsReader()) {
        int64_t value = 0;
        return reader->knob(std::string(name).c_str(), &value) ? std::optional(value)
                                                               : std::nullopt;
    }
    if (const auto it = knobs_.find(name); it != knobs_.end()) {
        return it->second;
    }
    if (const auto it = environmentKnobs().find(name); it != environmentKnobs().end()) {
        return it->second;
    }
    return std::nullopt;
}

void Script::setText(std::string_view name, std::string_view value) {
    texts_[std::string(name)] = std::string(value);
}

std::optional<std::string> Script::text(std::string_view name) const {
    if (const auto& reader = settingsReader()) {
        const std::string key(name);
        const int64_t length = reader->text(key.c_str(), nullptr, 0);
        if (length < 0) {
            return std::nullopt;
        }
        std::string value(static_cast<std::size_t>(length) + 1, '\0');
        reader->text(key.c_str(), value.data(), value.size());
        value.resize(static_cast<std::size_t>(length));
        return value;
    }
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
