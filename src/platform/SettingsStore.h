#pragma once

#include <QString>

namespace mirvo {

/// Per-user text settings addressed by application name, section and key.
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;

    /// The stored text, or defaultValue when the value is absent or cannot be read.
    virtual QString read(const QString &application, const QString &section, const QString &key,
                         const QString &defaultValue) const = 0;

    /// Stores the text durably before returning; false with a reason when it could not.
    [[nodiscard]] virtual bool save(const QString &application, const QString &section, const QString &key,
                      const QString &value, QString *error) = 0;
};

} // namespace mirvo
