#pragma once

#include "FakeDialogs.h"
#include "core/drill/RandomSource.h"
#include "platform/InstanceGuard.h"
#include "platform/PageLoader.h"
#include "platform/ProgramEnd.h"
#include "platform/Services.h"
#include "platform/SettingsStore.h"
#include "platform/Shell.h"
#include "platform/Speech.h"
#include "platform/SystemInfoTool.h"

#include <QHash>
#include <QList>
#include <QStringList>

namespace mirvo::test {

/// Plays back scripted numbers; reseeds are counted. Running out of numbers is recorded.
class ScriptedRandom final : public RandomSource
{
public:
    void script(std::initializer_list<float> values) { m_values.append(values); }
    void script(const QList<float> &values) { m_values.append(values); }
    void reseed() override { ++reseeds; }
    float next() override;

    int reseeds = 0;
    int draws = 0;
    bool ranOut = false;
    /// Empty when every scripted number was used and none was missing.
    QString leftovers() const;

private:
    QList<float> m_values;
};

class MemorySettings final : public SettingsStore
{
public:
    QString read(const QString &application, const QString &section, const QString &key,
                 const QString &defaultValue) const override;
    bool save(const QString &application, const QString &section, const QString &key,
              const QString &value, QString *error) override;

    static QString address(const QString &application, const QString &section, const QString &key);

    QHash<QString, QString> values; // keyed by address()
    int saves = 0;
    bool failSaves = false;
};

class RecordingShell final : public Shell
{
public:
    struct Started
    {
        QString program;
        QStringList arguments;
        WindowStyle style;
    };

    void openAddress(const QString &address) override { opened.append(address); }
    bool startProgram(const QString &program, const QStringList &arguments, WindowStyle style,
                      QString *error) override;

    QStringList opened;
    QList<Started> started;
    bool failStarts = false;
};

/// Answers the single-instance question as told.
class FakeInstanceGuard final : public InstanceGuard
{
public:
    explicit FakeInstanceGuard(bool alone = true) : m_alone(alone) {}
    bool acquire() override { return m_alone; }

private:
    bool m_alone;
};

class RecordingProgramEnd final : public ProgramEnd
{
public:
    void endNow() override { ++ends; }
    void quit() override { ++quits; }
    int ends = 0;
    int quits = 0;
};

/// A page loader the test drives by hand.
class FakePageLoader final : public PageLoader
{
    Q_OBJECT

public:
    void navigate(const QString &address) override { navigated.append(address); }
    void stop() override { ++stops; }
    std::optional<QString> title() const override { return pageTitle; }

    /// Plays one download: begin, then complete with the given title (nothing = no document).
    void finishWith(const std::optional<QString> &title);

    QStringList navigated;
    int stops = 0;
    std::optional<QString> pageTitle;
};

/// Names the command it is given, or none.
class FakeSystemInfoTool final : public SystemInfoTool
{
public:
    std::optional<QString> find() override { return command; }

    std::optional<QString> command;
};

/// Speech that works or not as told, and records what it was asked to do.
class FakeSpeech final : public Speech
{
    Q_OBJECT

public:
    bool available() const override { return works; }
    void say(const QString &text) override { said.append(text); }
    void stop() override { ++stops; }

    /// Speech that comes (an engine loaded) or goes (the audio device lost) while the drill runs.
    void setWorks(bool value);

    bool works = true;
    QStringList said;
    int stops = 0;
};

/// Every fake, and the Services bundle that hands them out.
struct FakeServices
{
    FakeDialogs dialogs;
    RecordingShell shell;
    MemorySettings settings;
    ScriptedRandom random;
    RecordingProgramEnd programEnd;
    FakePageLoader pageLoader;
    FakeSystemInfoTool systemInfo;
    FakeSpeech speech;

    Services services()
    {
        return {dialogs, shell, settings, random, programEnd, pageLoader, systemInfo, speech};
    }
};

} // namespace mirvo::test
