#pragma once

#include <QString>

namespace mirvo {

class SettingsStore;

/// The delete option (delete a word once answered right), remembered per user.
namespace deleteoption {

inline const QString application = QStringLiteral("Velko");
inline const QString key = QStringLiteral("shanchu");

/// The stored option; the current value when nothing usable is stored.
bool restore(const SettingsStore &settings, bool current);

[[nodiscard]] bool save(SettingsStore &settings, bool checked, QString *error);

} // namespace deleteoption
} // namespace mirvo
