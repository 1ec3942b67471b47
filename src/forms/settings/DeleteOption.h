#pragma once

#include <QString>

namespace mirvo {

class SettingsStore;

/// The delete option (delete a word once answered right), remembered per user as the
/// check box value: 0 unchecked, 1 checked (the only value that deletes), 2 grey.
namespace deleteoption {

inline const QString application = QStringLiteral("Velko");
inline const QString key = QStringLiteral("shanchu");

/// The stored value; the current value when nothing usable is stored.
int restore(const SettingsStore &settings, int current);

[[nodiscard]] bool save(SettingsStore &settings, int value, QString *error);

} // namespace deleteoption
} // namespace mirvo
