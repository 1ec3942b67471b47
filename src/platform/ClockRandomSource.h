#pragma once

#include "core/drill/RandomSource.h"

#include <QRandomGenerator>

namespace mirvo {

class ClockRandomSource final : public RandomSource
{
public:
    ClockRandomSource();
    void reseed() override;
    float next() override;

private:
    QRandomGenerator m_generator;
};

} // namespace mirvo
