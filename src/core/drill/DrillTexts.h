#pragma once

#include <QString>

#include <array>

namespace mirvo {
struct ImportReport;
}

/// What the drill shows: the question controls before the first question and after a failed
/// one, and the messages the drill has the user read.
namespace mirvo::drilltexts {

inline const QString noWord = QStringLiteral("单词");
inline const QString noMeaning = QStringLiteral("意思");
inline const std::array<QString, 4> noOptions = {QStringLiteral("A"), QStringLiteral("B"),
                                                 QStringLiteral("C"), QStringLiteral("D")};

inline const QString rightAnswer = QStringLiteral("恭喜！正确。");
inline const QString allLearned = QStringLiteral("恭喜你，全部背掉了！");
inline const QString importDone = QStringLiteral("完成");
/// Takes the reason the question could not be built.
inline const QString questionFailed = QStringLiteral("出题失败。%1");

/// What the user is told about the lines an import skipped; empty when none were.
QString skippedLines(const ImportReport &report);

} // namespace mirvo::drilltexts
