#include "core/drill/DrillTexts.h"

#include "core/store/WordListImport.h"

#include <QStringList>

namespace mirvo::drilltexts {

namespace {
constexpr qsizetype listedLines = 5;
}

QString skippedLines(const ImportReport &report)
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

} // namespace mirvo::drilltexts
