#include "Fakes.h"
#include "forms/settings/DeleteOption.h"
#include "platform/QtSettingsStore.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace mirvo;
using namespace mirvo::test;

class TestDeleteOption : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void restore_data();
    void restore();
    void savesUnderItsAddress();
    void qtSettingsRoundTrip();

private:
    QTemporaryDir m_config;
};

void TestDeleteOption::initTestCase()
{
    QVERIFY(m_config.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
    QStandardPaths::setTestModeEnabled(false);
}

void TestDeleteOption::restore_data()
{
    QTest::addColumn<QString>("stored"); // "<none>" = absent
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("expected");
    QTest::newRow("absent keeps checked") << QStringLiteral("<none>") << 1 << 1;
    QTest::newRow("absent keeps unchecked") << QStringLiteral("<none>") << 0 << 0;
    QTest::newRow("absent keeps grey") << QStringLiteral("<none>") << 2 << 2;
    QTest::newRow("0") << QStringLiteral("0") << 1 << 0;
    QTest::newRow("1") << QStringLiteral("1") << 0 << 1;
    QTest::newRow("2: grey") << QStringLiteral("2") << 1 << 2;
    QTest::newRow("blank padded") << QStringLiteral(" 1 ") << 0 << 1;
    QTest::newRow("not a number") << QStringLiteral("yes") << 1 << 1;
    QTest::newRow("empty") << QString() << 0 << 0;
    QTest::newRow("other number") << QStringLiteral("7") << 1 << 1;
    QTest::newRow("negative") << QStringLiteral("-1") << 0 << 0;
}

void TestDeleteOption::restore()
{
    QFETCH(QString, stored);
    QFETCH(int, current);
    QFETCH(int, expected);
    MemorySettings settings;
    if (stored != QLatin1String("<none>"))
        settings.values.insert(MemorySettings::address(QStringLiteral("Velko"), QStringLiteral("Mirvo背单词"),
                                                       QStringLiteral("shanchu")), stored);
    QCOMPARE(int(deleteoption::restore(settings, current)), expected);
}

void TestDeleteOption::savesUnderItsAddress()
{
    MemorySettings settings;
    for (const int value : {0, 1, 2}) {
        QVERIFY(deleteoption::save(settings, value, nullptr));
        QCOMPARE(settings.values.value(MemorySettings::address(QStringLiteral("Velko"), QStringLiteral("Mirvo背单词"),
                                                               QStringLiteral("shanchu"))),
                 QString::number(value));
    }
}

void TestDeleteOption::qtSettingsRoundTrip()
{
    QtSettingsStore settings;
    QString error;
    QVERIFY2(deleteoption::save(settings, 0, &error), qPrintable(error));
    QCOMPARE(deleteoption::restore(QtSettingsStore(), 1), 0);
    QVERIFY(settings.save(QStringLiteral("Mirvo背单词"), QStringLiteral("settings"), QStringLiteral("btx"),
                          QStringLiteral("1"), &error));
    QCOMPARE(QtSettingsStore().read(QStringLiteral("Mirvo背单词"), QStringLiteral("settings"),
                                    QStringLiteral("btx"), QStringLiteral("0")),
             QStringLiteral("1"));
    // The two settings live under different application names. (A corrupt file is the
    // settings faults' test.)
    QCOMPARE(QtSettingsStore().read(QStringLiteral("Velko"), QStringLiteral("settings"), QStringLiteral("btx"),
                                    QStringLiteral("absent")),
             QStringLiteral("absent"));
}

QTEST_MAIN(TestDeleteOption)
#include "tst_deleteoption.moc"
