#pragma once

#include <QString>

#include <array>

/// What the question controls show before the first question, and after a failed one.
namespace mirvo::drilltexts {

inline const QString noWord = QStringLiteral("单词");
inline const QString noMeaning = QStringLiteral("意思");
inline const std::array<QString, 4> noOptions = {QStringLiteral("A"), QStringLiteral("B"),
                                                 QStringLiteral("C"), QStringLiteral("D")};

} // namespace mirvo::drilltexts
