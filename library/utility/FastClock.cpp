#include "library/utility/FastClock.h"

#include "platform/rtl/FloatFormat.h"

#include <chrono>

namespace vesk {

std::int64_t TSteadyFastClock::Frequency() const {
    using Period = std::chrono::steady_clock::period;
    return Period::den / Period::num;
}

std::int64_t TSteadyFastClock::Counter() const {
    return std::chrono::steady_clock::now().time_since_epoch().count();
}

const TFastClock& SystemFastClock() {
    static const TSteadyFastClock clock;
    return clock;
}

void TFastTimeCounter::Start() {
    Frequency = FClock->Frequency();
    StartCount = FClock->Counter();
    StopCount = StartCount;
}

long double TFastTimeCounter::Read() {
    if (Frequency <= 0)
        return 0;
    StopCount = FClock->Counter();
    return static_cast<long double>(StopCount - StartCount) / Frequency;
}

std::string FormatSeconds(long double seconds, int decimal) {
    return FloatToStrF(seconds, TFloatFormat::ffNumber, 16, decimal);
}

} // namespace vesk
