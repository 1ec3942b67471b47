#include "forms/commands/MenuCommands.h"

#include "core/store/WordListImport.h"

#include <QDir>

namespace mirvo::commands {

namespace {
constexpr qsizetype listedLines = 5;
}

ProgramCall fileManagerCall(const QString &folder)
{
#ifdef Q_OS_WIN
    return {QStringLiteral("explorer"), {QDir::toNativeSeparators(folder)}};
#else
    return {QStringLiteral("xdg-open"), {folder}};
#endif
}

QString skippedLinesMessage(const ImportReport &report)
{
    if (report.skippedCount == 0)
        return {};
    QStringList lines;
    lines.append(QStringLiteral("有 %1 行没有导入：").arg(report.skippedCount));
    for (qsizetype i = 0; i < report.firstSkipped.size() && i < listedLines; ++i) {
        const SkippedLine &line = report.firstSkipped.at(i);
        lines.append(QStringLiteral("第 %1 行：%2").arg(line.lineNumber).arg(describe(line)));
    }
    if (report.skippedCount > listedLines)
        lines.append(QStringLiteral("……"));
    lines.append(QStringLiteral("每行应为：单词、一个空格、释义。"));
    return lines.join(QLatin1Char('\n'));
}

} // namespace mirvo::commands
