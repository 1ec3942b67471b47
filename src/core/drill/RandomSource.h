#pragma once

namespace mirvo {

/// Uniform single-precision numbers in [0, 1).
class RandomSource
{
public:
    virtual ~RandomSource() = default;

    /// Starts a new sequence seeded from the clock.
    virtual void reseed() = 0;
    virtual float next() = 0;
};

/// floor(r * n), the product taken exactly (not rounded to single precision first).
int randomPosition(float r, int n);

} // namespace mirvo
