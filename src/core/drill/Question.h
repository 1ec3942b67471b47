#pragma once

#include <QString>

#include <array>
#include <optional>

namespace mirvo {

class RandomSource;
class WordStore;

/// One question of the drill: the word asked, its meaning, and the four meanings offered on
/// the answer buttons 1 to 4.
struct Question
{
    QString word;
    QString meaning;
    std::array<QString, 4> options;
    bool asked = true; ///< false for the stand-in shown before and between questions

    /// Whether answering with button slot (1..4) is right: every button that offers the
    /// word's meaning is, also one whose distractor happens to carry the same text.
    bool isRight(int slot) const;
    /// What a wrong answer shows: the word, one space, its meaning.
    QString revealed() const;
};

/// What the drill shows before its first question and after one failed: the layout's texts,
/// with no right answer among them.
Question unaskedQuestion();

/// Builds the question for word: reads its meaning, then draws the right slot and the
/// distractors from the listing (QuestionPlan) and reads their meanings, each entry closed
/// before the next is opened. Nothing, with *error, when an entry cannot be read; nothing is
/// drawn when the word's own entry fails.
std::optional<Question> askQuestion(const WordStore &store, const QString &word, RandomSource &random,
                                    QString *error);

} // namespace mirvo
