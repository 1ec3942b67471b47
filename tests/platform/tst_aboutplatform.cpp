#include "TestSupport.h"
#include "platform/FileChecks.h"
#include "widgets/ProgramIcon.h"

#include <QDir>
#include <QIcon>
#include <QImage>
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
    void programIconHas16Colours();
};

void TestAboutPlatform::ordinaryFile_data()
{
    QTest::addColumn<QString>("make"); // "file", "hidden file", "folder" or nothing
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("ordinary");

    QTest::newRow("file") << "file" << "MSINFO32.EXE" << true;
    QTest::newRow("backslash in the name") << "file" << "tools\\MSINFO32.EXE" << true;
    QTest::newRow("file in a hidden folder") << "file" << ".tools/MSINFO32.EXE" << true;
    QTest::newRow("folder") << "folder" << "MSINFO32.EXE" << false;
    QTest::newRow("hidden file") << "hidden file" << ".MSINFO32.EXE" << false;
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
    else if (make == QLatin1String("hidden file"))
        QVERIFY(writeHiddenFile(path, "MZ"));
    else if (make == QLatin1String("folder"))
        QVERIFY(QDir().mkdir(path));
    QCOMPARE(isOrdinaryFile(path), ordinary);
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
