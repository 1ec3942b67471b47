#include "core/drill/QuestionPlan.h"

#include "core/drill/RandomSource.h"

namespace mirvo {

int pickWordPosition(RandomSource &random, int count)
{
    random.reseed();
    return randomPosition(random.next(), count);
}

QuestionPlan planQuestion(RandomSource &random, int count)
{
    random.reseed();
    QuestionPlan plan;
    plan.right = randomPosition(random.next(), 4) + 1;
    for (int slot = 1; slot <= 4; ++slot)
        plan.positions[slot - 1] = slot == plan.right ? -1 : randomPosition(random.next(), count);
    return plan;
}

} // namespace mirvo
