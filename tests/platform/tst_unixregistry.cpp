#include "Fakes.h"
#include "TestSupport.h"
#include "forms/about/SysInfo.h"
#include "platform/UnixRegistry.h"

#include <QTemporaryDir>
#include <QTest>

using namespace mirvo;
using namespace mirvo::test;

/// The stand-in registry names the first system-information program installed.
class TestUnixRegistry : public QObject
{
    Q_OBJECT

private slots:
    void standInNamesTool_data();
    void standInNamesTool();
};

void TestUnixRegistry::standInNamesTool_data()
{
    QTest::addColumn<QString>("executables"); // comma-separated
    QTest::addColumn<QString>("plainFile");
    QTest::addColumn<QString>("found"); // empty: the message

    QTest::newRow("none installed") << "" << "" << "";
    QTest::newRow("hardinfo2 before hardinfo") << "hardinfo,hardinfo2" << "" << "hardinfo2";
    QTest::newRow("kinfocenter before the monitor") << "gnome-system-monitor,kinfocenter" << ""
                                                    << "kinfocenter";
    QTest::newRow("not executable, not installed") << "gnome-system-monitor" << "hardinfo"
                                                   << "gnome-system-monitor";
}

void TestUnixRegistry::standInNamesTool()
{
    QFETCH(QString, executables);
    QFETCH(QString, plainFile);
    QFETCH(QString, found);

    QTemporaryDir dir;
    for (const QString &name : executables.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        QVERIFY(writeBytes(dir.filePath(name), "#!/bin/sh\n"));
        QVERIFY(QFile::setPermissions(dir.filePath(name), QFile::ReadOwner | QFile::ExeOwner));
    }
    if (!plainFile.isEmpty())
        QVERIFY(writeBytes(dir.filePath(plainFile), "#!/bin/sh\n"));

    UnixRegistry registry({dir.path()});
    FakeServices fakes;
    if (found.isEmpty())
        fakes.dialogs.answerNext(MessageAnswer::Ok);
    StartSysInfo(registry, fakes.shell, fakes.dialogs, nullptr);

    QCOMPARE(fakes.shell.started.size(), found.isEmpty() ? 0 : 1);
    if (!found.isEmpty())
        QCOMPARE(fakes.shell.started.constFirst().program, dir.filePath(found));
    QVERIFY2(fakes.dialogs.leftovers().isEmpty(), qPrintable(fakes.dialogs.leftovers()));
}

QTEST_GUILESS_MAIN(TestUnixRegistry)
#include "tst_unixregistry.moc"
