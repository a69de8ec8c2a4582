#include "framework/platform/time.h"

#include <cmath>
#include <ctime>
#include <string>
#include <vector>

#include "framework/text/format.h"
#include "host/host.h"

namespace penwick {

double now() {
    return host::instance().wallTime();
}

double makeTime(int year, int month, int day, int hour, int minute, double seconds) {
    // Seconds that are not a number, or too many for the calendar fields,
    // make no time stamp (and would be undefined as an int).
    if (!(std::fabs(seconds) < 2e9)) return std::nan("");
    std::tm t{};
    double whole = std::floor(seconds);
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = int(whole);
    t.tm_isdst = -1;
    std::time_t stamp = std::mktime(&t);
    return double(stamp) + (seconds - whole);
}

ktString formatTime(double time, std::string_view pattern) {
    if (time < 0) time = now();
    // Beyond a few million years no calendar applies (and the conversion to
    // a time_t would overflow); such a stamp has no text.
    if (!std::isfinite(time) || time > 1e14) return {};
    double whole = std::floor(time);
    // The nearest millisecond: a stamp made for 9.001 s holds 9.00099999...,
    // which must show as "001", not "000". A fraction within half a
    // millisecond of the next second stays in this second, as 999.
    int millis = int(std::lround((time - whole) * 1000.0));
    if (millis > 999) millis = 999;
    std::string p(pattern);
    std::size_t at;
    if ((at = p.find("%K")) != std::string::npos) {
        p.replace(at, 2, format("%03d", millis).c_str());
    } else if ((at = p.find("%C")) != std::string::npos) {
        p.replace(at, 2, format("%02d", millis / 10).c_str());
    } else if ((at = p.find("%T")) != std::string::npos) {
        p.replace(at, 2, format("%d", millis / 100).c_str());
    }
    std::time_t stamp = std::time_t(whole);
    std::tm local{};
    if (!localtime_r(&stamp, &local)) return {};
    std::vector<char> buffer(p.size() + 256);
    std::size_t n = std::strftime(buffer.data(), buffer.size(), p.c_str(), &local);
    return ktString(buffer.data(), int32_t(n));
}

}  // namespace penwick
