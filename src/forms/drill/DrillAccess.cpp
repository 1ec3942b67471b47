#include "forms/drill/DrillAccess.h"

namespace mirvo::drillaccess {

QList<QKeySequence> answerKeys(int number)
{
    if (number < 1 || number > 4)
        return {};
    const auto digit = Qt::Key(Qt::Key_0 + number);
    return {QKeySequence(digit), QKeySequence(Qt::KeypadModifier | digit)};
}

QString answerName(int number, const QString &meaning)
{
    return QString::number(number) + QLatin1Char(' ') + meaning;
}

QString wordTip(const QString &cutWord, bool speechWorks)
{
    QStringList lines;
    if (!cutWord.isEmpty())
        lines << cutWord;
    if (speechWorks)
        lines << QStringLiteral("点击朗读（Ctrl+R）");
    return lines.join(QLatin1Char('\n'));
}

} // namespace mirvo::drillaccess
