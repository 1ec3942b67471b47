#include "TestSupport.h"
#include "platform/UnixSystemInfoTool.h"

#include <QTemporaryDir>
#include <QTest>

using namespace mirvo;
using mirvo::test::writeBytes;

/// The first system-information program installed is the tool.
class TestUnixSystemInfoTool : public QObject
{
    Q_OBJECT

private slots:
    void findsTheFirstInstalled_data();
    void findsTheFirstInstalled();
};

void TestUnixSystemInfoTool::findsTheFirstInstalled_data()
{
    QTest::addColumn<QString>("executables"); // comma-separated
    QTest::addColumn<QString>("plainFile");
    QTest::addColumn<QString>("found"); // empty: none

    QTest::newRow("none installed") << "" << "" << "";
    QTest::newRow("hardinfo2 before hardinfo") << "hardinfo,hardinfo2" << "" << "hardinfo2";
    QTest::newRow("kinfocenter before the monitor") << "gnome-system-monitor,kinfocenter" << ""
                                                    << "kinfocenter";
    QTest::newRow("not executable, not installed") << "gnome-system-monitor" << "hardinfo"
                                                   << "gnome-system-monitor";
}

void TestUnixSystemInfoTool::findsTheFirstInstalled()
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

    UnixSystemInfoTool tool({dir.path()});
    QCOMPARE(tool.find(), found.isEmpty() ? std::optional<QString>() : std::optional<QString>(dir.filePath(found)));
}

QTEST_GUILESS_MAIN(TestUnixSystemInfoTool)
#include "tst_unixsysteminfotool.moc"
