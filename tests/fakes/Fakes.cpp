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

QString ScriptedRandom::leftovers() const
{
    if (ranOut)
        return QStringLiteral("ran out of scripted random numbers");
    if (!m_values.isEmpty())
        return QStringLiteral("%1 scripted random number(s) unused").arg(m_values.size());
    return {};
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

} // namespace mirvo::test
