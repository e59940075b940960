// Answers that a test has scripted in advance, and named knobs that bend the source's behaviour.
#ifndef VIRTUAL_SCANNER_SCRIPT_H
#define VIRTUAL_SCANNER_SCRIPT_H

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "twain/twain.h"

namespace vscan {

struct ScriptedAnswer {
    TW_UINT16 resultCode = TWRC_SUCCESS;
    TW_UINT16 conditionCode = TWCC_SUCCESS;
};

// Where the source runs in a module of its own under the virtual manager, the knobs and texts that
// tests set stay in the manager's module, which outlives the source's unloading: every script of
// the source's module then reads them there, through the manager's controls.
struct SettingsReader {
    int (*knob)(const char* name, int64_t* value);
    int64_t (*text)(const char* name, char* buffer, size_t size);
};
void readSettingsThrough(const SettingsReader& reader);

class Script {
  public:
    void add(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, ScriptedAnswer answer, int32_t times);
    // The answer scripted for this triplet, using up one of its times; none when nothing is.
    std::optional<ScriptedAnswer> take(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg);

    void setKnob(std::string_view name, int64_t value);
    std::optional<int64_t> knob(std::string_view name) const;
    void setText(std::string_view name, std::string_view value);
    std::optional<std::string> text(std::string_view name) const;

    void clear();

  private:
    struct Entry {
        TW_UINT32 dg;
        TW_UINT16 dat;
        TW_UINT16 msg;
        ScriptedAnswer answer;
        int32_t remaining;  // negative: for ever
    };
    std::deque<Entry> entries_;
    std::map<std::string, int64_t, std::less<>> knobs_;
    std::map<std::string, std::string, std::less<>> texts_;
};

}  // namespace vscan

#endif
