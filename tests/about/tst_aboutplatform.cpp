#include "Fakes.h"
#include "TestSupport.h"
#include "about/SysInfo.h"
#include "platform/FileChecks.h"
#include "platform/ProgramIcon.h"
#include "platform/SystemRegistry.h"

#include <QDir>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace mirvo;
using namespace mirvo::test;

class TestAboutPlatform : public QObject
{
    Q_OBJECT

private slots:
    void ordinaryFile_data();
    void ordinaryFile();
    void standInNamesTool_data();
    void standInNamesTool();
    void programIconHas16Colours();
};

void TestAboutPlatform::ordinaryFile_data()
{
    QTest::addColumn<QString>("make"); // "file", "folder" or nothing
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("ordinary");

    QTest::newRow("file") << "file" << "MSINFO32.EXE" << true;
    QTest::newRow("backslash in the name") << "file" << "tools\\MSINFO32.EXE" << true;
    QTest::newRow("file in a hidden folder") << "file" << ".tools/MSINFO32.EXE" << true;
    QTest::newRow("folder") << "folder" << "MSINFO32.EXE" << false;
    QTest::newRow("hidden file") << "file" << ".MSINFO32.EXE" << false;
    QTest::newRow("missing") << "" << "MSINFO32.EXE" << false;
    QTest::newRow("empty path") << "" << "" << false;
}

void TestAboutPlatform::ordinaryFile()
{
    QFETCH(QString, make);
    QFETCH(QString, name);
    QFETCH(bool, ordinary);

    QTemporaryDir dir;
    const QString path = name.isEmpty() ? QString() : dir.filePath(name);
    QVERIFY(QDir().mkpath(QFileInfo(dir.filePath(name)).path()));
    if (make == QLatin1String("file"))
        QVERIFY(writeBytes(path, "MZ"));
    else if (make == QLatin1String("folder"))
        QVERIFY(QDir().mkdir(path));
    QCOMPARE(isOrdinaryFile(path), ordinary);
}

void TestAboutPlatform::standInNamesTool_data()
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

void TestAboutPlatform::standInNamesTool()
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

    SystemRegistry registry({dir.path()});
    FakeServices fakes;
    if (found.isEmpty())
        fakes.dialogs.answerNext(MessageAnswer::Ok);
    StartSysInfo(registry, fakes.shell, fakes.dialogs, nullptr);

    QCOMPARE(fakes.shell.started.size(), found.isEmpty() ? 0 : 1);
    if (!found.isEmpty())
        QCOMPARE(fakes.shell.started.constFirst().program, dir.filePath(found));
    QVERIFY2(fakes.dialogs.leftovers().isEmpty(), qPrintable(fakes.dialogs.leftovers()));
}

void TestAboutPlatform::programIconHas16Colours()
{
    const QIcon icon = programIcon();
    for (const QSize &size : {QSize(16, 16), QSize(32, 32)}) {
        QVERIFY(icon.availableSizes().contains(size));
        const QImage image = icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(image.size(), size);
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                colours.insert(image.pixel(x, y));
        QVERIFY2(colours.size() > 2 && colours.size() <= 16,
                 qPrintable(QString::number(colours.size())));
    }
    QCOMPARE(programIconPixmap().size(), QSize(32, 32));
}

QTEST_MAIN(TestAboutPlatform)
#include "tst_aboutplatform.moc"
