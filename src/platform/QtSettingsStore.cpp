#include "platform/QtSettingsStore.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

namespace mirvo {

namespace {

const QString organisation = QStringLiteral("Mirvo");

QString settingPath(const QString &section, const QString &key)
{
    return section + QLatin1Char('/') + key;
}

/// Whether the settings file is there but cannot be parsed. Qt keeps what it once read of a
/// file and reports its format error only the first time, so a copy under a new name is asked.
bool isCorrupt(const QString &fileName)
{
    if (!QFileInfo(fileName).isFile())
        return false;
    const QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("check.conf"));
    if (!dir.isValid() || !QFile::copy(fileName, copy))
        return false;
    return QSettings(copy, QSettings::IniFormat).status() == QSettings::FormatError;
}

} // namespace

QString QtSettingsStore::read(const QString &application, const QString &section,
                              const QString &key, const QString &defaultValue) const
{
    const QSettings settings(QSettings::NativeFormat, QSettings::UserScope, organisation,
                             application);
    if (settings.status() != QSettings::NoError || isCorrupt(settings.fileName()))
        return defaultValue;
    const QVariant value = settings.value(settingPath(section, key));
    return value.isValid() ? value.toString() : defaultValue;
}

bool QtSettingsStore::save(const QString &application, const QString &section,
                           const QString &key, const QString &value, QString *error)
{
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, organisation, application);
    if (settings.status() == QSettings::FormatError || isCorrupt(settings.fileName())) {
        // A file we cannot parse would be overwritten and lose its other values: leave it.
        if (error)
            *error = QStringLiteral("设置文件已损坏：%1")
                         .arg(QDir::toNativeSeparators(settings.fileName()));
        return false;
    }
    settings.setValue(settingPath(section, key), value);
    settings.sync();
    if (settings.status() == QSettings::NoError)
        return true;
    if (error)
        *error = QStringLiteral("无法写入设置文件：%1")
                     .arg(QDir::toNativeSeparators(settings.fileName()));
    return false;
}

} // namespace mirvo
