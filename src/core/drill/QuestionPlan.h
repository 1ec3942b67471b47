#pragma once

#include <array>

namespace mirvo {

class RandomSource;

/// One question decided before any control is touched: which button carries the word's own
/// meaning, and which listing position lends its meaning to each other button.
struct QuestionPlan
{
    int right = 1;                   ///< 1..4
    std::array<int, 4> positions{}; ///< listing position per button 1..4; -1 at the right slot
};

/// Draws the position of the next word to ask; the generator is reseeded first. count > 0.
int pickWordPosition(RandomSource &random, int count);

/// Draws the right slot, then a distractor for each other button in order, with no draw
/// repeated or rejected: a distractor may be the word itself or repeat another. The generator
/// is reseeded first. count > 0.
QuestionPlan planQuestion(RandomSource &random, int count);

} // namespace mirvo
