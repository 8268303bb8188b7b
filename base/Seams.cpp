#include "base/Seams.h"

#include <chrono>

namespace tamzel::base {

std::tm LocalTime(int year, int month, int day, int hour, int minute) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_isdst = -1;
    std::tm copy = t;
    std::mktime(&copy);  // only to learn the weekday
    t.tm_wday = copy.tm_wday;
    t.tm_yday = copy.tm_yday;
    return t;
}

std::tm Clock::Now() const {
    std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    return local;
}

void Random::SeedFromClock() {
    Seed(static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
         static_cast<uint64_t>(std::time(nullptr)));
}

void Random::Seed(uint64_t seed) { generator_.seed(seed); }

int32_t Random::Below(int32_t n) {
    if (n <= 0) return 0;
    return std::uniform_int_distribution<int32_t>(0, n - 1)(generator_);
}

}  // namespace tamzel::base
