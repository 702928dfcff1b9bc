// The counter behind the stopwatch (unit VeskFastTm): a monotonic clock with a known
// frequency, and the readings taken from it. Plain C++, so tests can drive time.
#pragma once

#include <cstdint>
#include <string>

namespace vesk {

class TFastClock {
public:
    virtual ~TFastClock() = default;
    // Counts per second.
    virtual std::int64_t Frequency() const = 0;
    // The current count; never decreases.
    virtual std::int64_t Counter() const = 0;
};

// std::chrono::steady_clock, in its own ticks.
class TSteadyFastClock : public TFastClock {
public:
    std::int64_t Frequency() const override;
    std::int64_t Counter() const override;
};

const TFastClock& SystemFastClock();

// The counts of one measurement: the frequency and count at Start, the count at the
// last reading.
class TFastTimeCounter {
public:
    explicit TFastTimeCounter(const TFastClock& clock = SystemFastClock()) : FClock(&clock) {}

    void Start();
    // Seconds since the last Start, taking a new StopCount; 0 before any Start.
    long double Read();

    std::int64_t Frequency = 0;
    std::int64_t StartCount = 0;
    std::int64_t StopCount = 0;

private:
    const TFastClock* FClock;
};

// Seconds in number format with Decimal digits after the decimal separator, the
// separators taken from FormatSettings.
std::string FormatSeconds(long double seconds, int decimal);

} // namespace vesk
