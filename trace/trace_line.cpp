#include "trace/trace_line.h"

#include <windows.h>

#include <cstdio>

std::string traceLineStart(std::chrono::system_clock::time_point when, const char* threadName,
                           std::int32_t stateBefore, std::int32_t stateAfter) {
    using namespace std::chrono;
    const auto millis = floor<milliseconds>(when);
    const auto day = floor<days>(millis);
    const year_month_day date(day);
    const hh_mm_ss time(millis - day);
    char start[96];
    const int length = std::snprintf(
        start, sizeof(start), "%04d-%02u-%02uT%02lld:%02lld:%02lld.%03lldZ thread %lu",
        static_cast<int>(date.year()), static_cast<unsigned>(date.month()),
        static_cast<unsigned>(date.day()), static_cast<long long>(time.hours().count()),
        static_cast<long long>(time.minutes().count()),
        static_cast<long long>(time.seconds().count()),
        static_cast<long long>(time.subseconds().count()),
        static_cast<unsigned long>(GetCurrentThreadId()));
    std::string line(start, static_cast<std::size_t>(length > 0 ? length : 0));
    if (threadName != nullptr && *threadName != '\0') {
        line += " \"" + std::string(threadName) + "\"";
    }
    line += " state " + std::to_string(stateBefore);
    if (stateAfter != stateBefore) {
        line += "->" + std::to_string(stateAfter);
    }
    line += ' ';
    return line;
}
