#pragma once

#include "platform/SettingsStore.h"

namespace mirvo {

/// QSettings in the user scope: one store per application name under the organisation
/// "Mirvo" (files under the user's configuration folder, or the user's registry on Windows).
class QtSettingsStore final : public SettingsStore
{
public:
    QString read(const QString &application, const QString &section, const QString &key,
                 const QString &defaultValue) const override;
    [[nodiscard]] bool save(const QString &application, const QString &section, const QString &key,
              const QString &value, QString *error) override;
};

} // namespace mirvo
