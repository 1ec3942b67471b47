#include "DrillFixture.h"
#include "platform/QtSettingsStore.h"

#include <QCheckBox>

using namespace mirvo;
using namespace mirvo::test;

/// The settings file the delete option is kept in, corrupt or unwritable, as the window's
/// close meets it.
class TestSettingsFaults : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void settingsFileFaults_data();
    void settingsFileFaults();

private:
    QTemporaryDir m_config;
};

void TestSettingsFaults::initTestCase()
{
    QVERIFY(m_config.isValid());
    // Before any settings are read: QSettings keeps the folder it first finds.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
}

void TestSettingsFaults::settingsFileFaults_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("why"); // %1 stands for the settings file

    QTest::newRow("corrupt file") << QStringLiteral("corrupt") << QStringLiteral("设置文件已损坏：%1");
    QTest::newRow("settings folder is a file") << QStringLiteral("folder is a file") << QStringLiteral("无法写入设置文件：%1");
}

void TestSettingsFaults::settingsFileFaults()
{
    QFETCH(QString, fault);
    QFETCH(QString, why);
    const QString folder = m_config.filePath(QStringLiteral("Mirvo"));
    const QString file = folder + QStringLiteral("/Velko.conf"); // where the delete option lives
    QFile::remove(folder);
    QDir(folder).removeRecursively();
    QString keep; // the user's file, whose bytes must survive
    if (fault == QLatin1String("corrupt")) {
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(writeBytes(file, "[Mirvo\xE8\x83\x8C\nshanchu=0\n[broken\n\x01\x02"));
        keep = file;
    } else {
        QVERIFY(writeBytes(folder, "not a folder"));
        keep = folder;
    }
    const QByteArray kept = readBytes(keep);

    DrillFixture fixture;
    fixture.addWords({{QStringLiteral("a"), QStringLiteral("一")}});
    QtSettingsStore settings;
    FakeServices &fakes = fixture.fakes;
    fakes.random.script({0.0f, 0.0f, 0.0f, 0.0f, 0.0f});
    const Services services{fakes.dialogs, fakes.shell, settings, fakes.random, fakes.programEnd,
                            fakes.pageLoader, fakes.systemInfo, fakes.speech};
    fixture.window = std::make_unique<FrmMain>(services, *fixture.store, QStringLiteral("http://mirvo.test"));
    fixture.window->show();

    // The option falls back to the window's own value, and the drill works.
    auto *ckDlt = fixture.window->findChild<QCheckBox *>(QStringLiteral("ckDlt"));
    QVERIFY(ckDlt->isChecked());
    QCOMPARE(fixture.text("lbWord"), QStringLiteral("a"));

    ckDlt->setChecked(false);
    fakes.dialogs.answerNext(MessageAnswer::Yes);
    fakes.dialogs.answerNext(MessageAnswer::Ok);
    QVERIFY(fixture.window->close());
    const QStringList shown = fakes.dialogs.shownTexts();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown.at(1), QStringLiteral("“自动删除正确单词”的设置没有保存：") + why.arg(file));
    QCOMPARE(fakes.programEnd.quits, 1);
    QCOMPARE(readBytes(keep), kept);
    QCOMPARE(storedEntries(*fixture.store), (Entries{{QStringLiteral("a"), QStringLiteral("一")}}));
    QVERIFY2(fixture.problems().isEmpty(), qPrintable(fixture.problems()));
}

QTEST_MAIN(TestSettingsFaults)
#include "tst_settingsfaults.moc"
