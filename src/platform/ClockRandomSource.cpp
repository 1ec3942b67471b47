#include "platform/ClockRandomSource.h"

#include <chrono>

namespace mirvo {

ClockRandomSource::ClockRandomSource()
{
    reseed();
}

void ClockRandomSource::reseed()
{
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    m_generator.seed(static_cast<quint32>(ticks ^ (ticks >> 32)));
}

float ClockRandomSource::next()
{
    // 24 random bits: every value is an exact float below 1.
    return static_cast<float>(m_generator.generate() >> 8) * 0x1p-24f;
}

} // namespace mirvo
