// Replaceable clock and random generator. The engine reads the local time and draws random
// numbers only through these, so tests can fix both and run without sleeping.
#pragma once

#include <cstdint>
#include <ctime>
#include <memory>
#include <random>

namespace tamzel::base {

// Local date and time, broken down as std::tm (tm_year + 1900 is the year, tm_wday 0 = Sunday).
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::tm Now() const;
};

// The broken-down local time of a calendar date and time, with the weekday and the day of
// the year filled in and every given field kept as it is (for fixed clocks in tests and
// dialogue scripts).
std::tm LocalTime(int year, int month, int day, int hour, int minute);

// A uniform generator seeded from the clock unless a seed is given.
class Random {
public:
    virtual ~Random() = default;
    virtual void SeedFromClock();
    virtual void Seed(uint64_t seed);
    // Uniform integer in 0 .. n-1; 0 when n <= 0.
    virtual int32_t Below(int32_t n);

private:
    std::mt19937_64 generator_{5489u};
};

}  // namespace tamzel::base
