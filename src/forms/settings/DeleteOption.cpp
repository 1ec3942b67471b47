#include "forms/settings/DeleteOption.h"

#include "core/AppInfo.h"
#include "platform/SettingsStore.h"

namespace mirvo::deleteoption {

int restore(const SettingsStore &settings, int current)
{
    const QString text = settings.read(application, appinfo::title, key, QString::number(current));
    bool isNumber = false;
    const int value = text.trimmed().toInt(&isNumber);
    // A value edited by hand into anything but a check box value keeps the window's own value.
    if (!isNumber || value < 0 || value > 2)
        return current;
    return value;
}

bool save(SettingsStore &settings, int value, QString *error)
{
    return settings.save(application, appinfo::title, key, QString::number(value), error);
}

} // namespace mirvo::deleteoption
