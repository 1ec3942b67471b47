#include "settings/DeleteOption.h"

#include "AppInfo.h"
#include "platform/SettingsStore.h"

namespace mirvo::deleteoption {

bool restore(const SettingsStore &settings, bool current)
{
    const QString text = settings.read(application, appinfo::title, key,
                                       current ? QStringLiteral("1") : QStringLiteral("0"));
    bool isNumber = false;
    const int value = text.trimmed().toInt(&isNumber);
    // A value edited by hand into anything but 0 or 1 keeps the window's own value.
    if (!isNumber || (value != 0 && value != 1))
        return current;
    return value == 1;
}

bool save(SettingsStore &settings, bool checked, QString *error)
{
    return settings.save(application, appinfo::title, key,
                         checked ? QStringLiteral("1") : QStringLiteral("0"), error);
}

} // namespace mirvo::deleteoption
