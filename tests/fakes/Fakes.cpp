#include "Fakes.h"

namespace mirvo::test {

float ScriptedRandom::next()
{
    ++draws;
    if (m_values.isEmpty()) {
        ranOut = true;
        return 0.0f;
    }
    return m_values.takeFirst();
}

QString MemorySettings::address(const QString &application, const QString &section,
                                const QString &key)
{
    return application + QLatin1Char('|') + section + QLatin1Char('|') + key;
}

QString MemorySettings::read(const QString &application, const QString &section,
                             const QString &key, const QString &defaultValue) const
{
    return values.value(address(application, section, key), defaultValue);
}

bool MemorySettings::save(const QString &application, const QString &section,
                          const QString &key, const QString &value, QString *error)
{
    ++saves;
    if (failSaves) {
        if (error)
            *error = QStringLiteral("settings are read-only");
        return false;
    }
    values.insert(address(application, section, key), value);
    return true;
}

bool RecordingShell::startProgram(const QString &program, const QStringList &arguments,
                                  WindowStyle style, QString *error)
{
    started.append({program, arguments, style});
    if (failStarts || program.isEmpty()) {
        if (error)
            *error = QStringLiteral("cannot start");
        return false;
    }
    return true;
}

void FakeSpeech::setWorks(bool value)
{
    works = value;
    emit availableChanged(value);
}

void FakePageLoader::finishWith(const std::optional<QString> &title)
{
    emit downloadBegin();
    pageTitle = title;
    emit downloadComplete();
}

long FakeRegistry::openKey(qint32, const QByteArray &path, quint32 access, Key *key)
{
    accessMasks.append(access);
    if (m_denied.contains(path) || !m_keys.contains(path))
        return 2; // ERROR_FILE_NOT_FOUND / access denied alike: a failure
    *key = m_next++;
    m_open.insert(*key, path);
    return 0;
}

long FakeRegistry::queryValue(Key key, const QByteArray &name, quint32 bufferSize,
                              quint32 *type, QByteArray *data)
{
    const auto values = m_keys.value(m_open.value(key));
    if (!values.contains(name))
        return 2;
    const Value &value = values.value(name);
    if (quint32(value.data.size()) > bufferSize)
        return 234; // ERROR_MORE_DATA
    *type = value.type;
    *data = value.data;
    return 0;
}

void FakeRegistry::closeKey(Key key)
{
    m_open.remove(key);
}

void FakeRegistry::setValue(const QByteArray &path, const QByteArray &name, quint32 type,
                            const QByteArray &data)
{
    m_keys[path].insert(name, {type, data});
}

} // namespace mirvo::test
