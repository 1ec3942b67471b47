#pragma once

#include "Fakes.h"
#include "TestSupport.h"
#include "core/store/WordStore.h"
#include "forms/drill/FrmMain.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace mirvo::test {

/// A store in a temporary folder and the real drill window over fakes.
struct DrillFixture
{
    QTemporaryDir dir;
    std::unique_ptr<WordStore> store;
    FakeServices fakes;
    std::unique_ptr<FrmMain> window;

    DrillFixture() : store(std::make_unique<WordStore>(dir.path() + QStringLiteral("/words")))
    {
        if (!store->create(nullptr))
            qFatal("cannot create the test store");
    }

    void addWords(const QList<std::pair<QString, QString>> &words)
    {
        for (const auto &[word, meaning] : words)
            if (!store->writeEntry(word, meaning, nullptr))
                qFatal("cannot write a test word");
    }

    /// Creates and shows the window, which runs its load.
    FrmMain &open(UpdateCheckMode updateCheck = UpdateCheckMode::On)
    {
        window = std::make_unique<FrmMain>(fakes.services(), *store, QStringLiteral("http://mirvo.test"), updateCheck);
        window->show();
        return *window;
    }

    QString text(const char *name) const;
    QStringList captions() const;
    QString problems() const;
};

/// Drops a test's fixture: empty when it left nothing behind (unused scripted answers or
/// draws, an unexpected message, a window still shown), else what it left.
QString dropFixture(std::unique_ptr<DrillFixture> &fixture);

} // namespace mirvo::test
