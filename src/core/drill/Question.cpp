#include "core/drill/Question.h"

#include "core/drill/DrillTexts.h"
#include "core/drill/QuestionPlan.h"
#include "core/store/WordList.h"
#include "core/store/WordStore.h"

namespace mirvo {

bool Question::isRight(int slot) const
{
    return slot >= 1 && slot <= int(options.size()) && options[size_t(slot - 1)] == meaning;
}

QString Question::revealed() const
{
    return word + QLatin1Char(' ') + meaning;
}

Question unaskedQuestion()
{
    return {drilltexts::noWord, drilltexts::noMeaning, drilltexts::noOptions, false};
}

std::optional<Question> askQuestion(const WordStore &store, const QString &word, RandomSource &random,
                                    QString *error)
{
    Question question{word, {}, {}, true};
    const auto meaning = store.readMeaning(word, error);
    if (!meaning)
        return std::nullopt;
    question.meaning = *meaning;
    const WordList &words = store.words();
    const QuestionPlan plan = planQuestion(random, words.count());
    for (int slot = 1; slot <= 4; ++slot) {
        const auto option = slot == plan.right ? meaning
                                               : store.readMeaning(words.nameAt(plan.positions[slot - 1]), error);
        if (!option)
            return std::nullopt;
        question.options[size_t(slot - 1)] = *option;
    }
    return question;
}

} // namespace mirvo
