#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>

// What the drill offers beyond the mouse: answer keys, the spoken word, taking an answer back,
// and the names a screen reader reads.
namespace mirvo::drillaccess {

/// The keys that press answer button number (1..4): its digit on the top row and on the keypad.
QList<QKeySequence> answerKeys(int number);

/// Speaks the current word.
inline QKeySequence speakKey()
{
    return QKeySequence(Qt::CTRL | Qt::Key_R);
}

/// Takes the last right answer back.
inline QKeySequence undoKey()
{
    return QKeySequence(Qt::CTRL | Qt::Key_Z);
}

/// The accessible name of an answer button: its number and the meaning it carries, taken
/// from the data rather than from the caption as displayed.
QString answerName(int number, const QString &meaning);

/// The word's tooltip: the whole word when the label cuts it, and how to hear it, offered
/// only where speech works.
QString wordTip(const QString &cutWord, bool speechWorks);

inline const QString listName = QStringLiteral("单词列表");

} // namespace mirvo::drillaccess
