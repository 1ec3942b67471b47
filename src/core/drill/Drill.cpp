#include "core/drill/Drill.h"

#include "core/drill/DrillTexts.h"
#include "core/drill/QuestionPlan.h"
#include "core/store/WordList.h"
#include "core/store/WordListImport.h"
#include "core/store/WordStore.h"

namespace mirvo {

using Kind = DrillMessage::Kind;

Drill::Drill(WordStore &store, RandomSource &random, QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_random(random)
{
    // The count follows the list, whatever changed it: the store itself or a reading.
    const WordList *words = &m_store.words();
    const auto tellCount = [this] { emit remainingCountChanged(remainingCount()); };
    connect(words, &QAbstractItemModel::rowsInserted, this, tellCount);
    connect(words, &QAbstractItemModel::rowsRemoved, this, tellCount);
    connect(words, &QAbstractItemModel::modelReset, this, tellCount);
}

int Drill::remainingCount() const
{
    return m_store.words().count();
}

void Drill::start()
{
    if (readWords(Reading::Whole) && remainingCount() > 0)
        askAnotherWord();
}

void Drill::askAnotherWord()
{
    // After a reading that failed, another word is worth another look at the store.
    if (m_store.words().failed() && !readWords(Reading::Whole))
        return;
    askNextWord();
}

void Drill::askNextWord()
{
    const int count = remainingCount();
    if (count == 0)
        return;
    const int row = pickWordPosition(m_random, count);
    emit wordPicked(row);
    askWordAt(row);
}

void Drill::askWordAt(int row)
{
    if (row < 0 || row >= remainingCount())
        return;
    QString error;
    if (const auto question = askQuestion(m_store, m_store.words().nameAt(row), m_random, &error)) {
        show(*question);
        return;
    }
    // The entry changed on disk in a way the list missed: read the store whole, and show it.
    if (readWords(Reading::Whole)) {
        clearQuestion();
        tell(Kind::Warning, drilltexts::questionFailed.arg(error));
    }
}

Drill::Outcome Drill::answer(int slot, bool deleteLearned)
{
    if (!m_question.isRight(slot)) {
        dontKnow();
        return Outcome::Wrong;
    }
    const QString deleteError = deleteLearned ? deleteWord(m_question.word) : QString();
    // Words changed outside the program count too; a store that cannot be read is no store
    // learned to its end, and is told as a whole rather than through the word it lost.
    if (!readWords(Reading::Changes))
        return Outcome::StoreUnreadable;
    if (!deleteError.isEmpty())
        tell(Kind::Warning, deleteError);
    if (remainingCount() == 0) {
        tell(Kind::Information, drilltexts::allLearned);
        QString error;
        if (!m_store.removeStore(&error))
            tell(Kind::Warning, error);
        emit finished();
        return Outcome::AllLearned;
    }
    tell(Kind::Information, drilltexts::rightAnswer);
    askNextWord();
    return Outcome::Right;
}

QString Drill::deleteWord(const QString &word)
{
    QString error;
    // Read before it goes, so that the answer can be taken back byte for byte.
    std::optional<SavedEntry> entry = m_store.readEntry(word, &error);
    // One that cannot be deleted, or is gone already, has nothing to take back.
    if (!m_store.deleteEntry(word, &error))
        return error;
    if (entry)
        m_learned.push_back(std::move(*entry));
    return {};
}

void Drill::dontKnow()
{
    tell(Kind::Warning, m_question.revealed());
    askNextWord();
}

void Drill::importList(const QString &path, ImportProgress progress)
{
    const ImportReport report = importWordList(path, m_store, progress);
    progress = nullptr; // closes its dialog before any message box opens
    if (!report.ok)
        tell(Kind::Warning, report.error); // the words imported before the failure or cancel stay
    // The list holds the import's words already; the reading follows changes made outside.
    if (!readWords(Reading::Changes))
        return;
    if (report.ok) {
        tell(Kind::Information, drilltexts::importDone);
        if (report.skippedCount > 0)
            tell(Kind::Warning, drilltexts::skippedLines(report));
    }
    askNextWord();
}

void Drill::takeBackAnswer()
{
    if (m_learned.empty())
        return;
    const SavedEntry &last = m_learned.back();
    QString error;
    // One that cannot be written back stays to be taken back later.
    if (!m_store.restoreEntry(last, &error)) {
        tell(Kind::Warning, error);
        return;
    }
    const QString word = last.name.word;
    m_learned.pop_back();
    const int row = m_store.words().rowOf(word);
    if (row < 0)
        return;
    emit wordPicked(row);
    askWordAt(row);
}

bool Drill::readWords(Reading reading)
{
    QString error;
    if (reading == Reading::Whole ? m_store.reread(&error) : m_store.refresh(&error))
        return true;
    clearQuestion();
    tell(Kind::Warning, error);
    return false;
}

void Drill::show(const Question &question)
{
    m_question = question;
    emit questionChanged(m_question);
}

void Drill::clearQuestion()
{
    // Half a question would judge one word's meaning against another: show none.
    show(unaskedQuestion());
}

void Drill::tell(Kind kind, const QString &text)
{
    emit messageDue({kind, text});
}

} // namespace mirvo
