#pragma once

#include "core/drill/Question.h"
#include "core/store/WordListImport.h"
#include "core/store/WordStore.h"

#include <QObject>
#include <QString>

#include <vector>

namespace mirvo {

class RandomSource;

/// A message the drill has the user read before it goes on.
struct DrillMessage
{
    enum class Kind { Information, Warning };
    Kind kind = Kind::Information;
    QString text;
};

/// The drill over a store: which word is asked, the question, the judging of an answer, the
/// deletion of a word learned, the end of the store, and taking a right answer back. A view
/// shows the question and the count it reports, and shows each message it asks for.
class Drill : public QObject
{
    Q_OBJECT

public:
    /// How an answer was judged, and what followed.
    enum class Outcome { Wrong, Right, AllLearned, StoreUnreadable };

    Drill(WordStore &store, RandomSource &random, QObject *parent = nullptr);

    const Question &question() const { return m_question; }
    int remainingCount() const;
    /// How many right answers Ctrl+Z can still take back.
    int learnedCount() const { return int(m_learned.size()); }

    /// The first look at the store: read whole, and the first question if it holds a word.
    void start();
    /// Another word at random; after a reading that failed, the store is read again first.
    void askAnotherWord();
    /// Picks a word at random and asks it.
    void askNextWord();
    /// Asks the word at a row of the list.
    void askWordAt(int row);
    /// Judges an answer by its button (1..4); a right one deletes the word when asked to.
    Outcome answer(int slot, bool deleteLearned);
    /// Shows the word with its meaning, then asks another.
    void dontKnow();
    /// Imports a word list, brings the list up to date, reports, and asks from the new store.
    /// The import tells progress of its lines; the drill lets go of it, and so of whatever shows
    /// it, when the import ends, before any message.
    void importList(const QString &path, ImportProgress progress = {});
    /// Writes the last word a right answer deleted back and asks it again; nothing when no
    /// deletion is left to take back.
    void takeBackAnswer();

Q_SIGNALS:
    void questionChanged(const mirvo::Question &question);
    void remainingCountChanged(int count);
    /// The drill chose this row of the list to ask: the view selects it.
    void wordPicked(int row);
    /// The drill waits for the message: the receiver shows it, modally, and returns once the
    /// user has read it.
    void messageDue(const mirvo::DrillMessage &message);
    /// The last word is learned and the store removed: the program ends.
    void finished();

private:
    enum class Reading { Changes, Whole };
    /// Brings the list up to date; when the store cannot be read, says why and asks nothing.
    bool readWords(Reading reading);
    /// Deletes a word learned, keeping it to be taken back; why not, when it cannot.
    QString deleteWord(const QString &word);
    void show(const Question &question);
    void clearQuestion();
    void tell(DrillMessage::Kind kind, const QString &text);

    WordStore &m_store;
    RandomSource &m_random;
    Question m_question = unaskedQuestion();
    std::vector<SavedEntry> m_learned; ///< deleted entries as they were, to be written back
};

} // namespace mirvo
