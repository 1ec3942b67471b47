#include "core/update/VersionRules.h"

#include <QLocale>
#include <QTest>

using namespace mirvo::versionrules;

class TestVersionRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void announcedOrder_data();
    void announcedOrder();
    void bracketedVersion_data();
    void bracketedVersion();
    void lenientNumber_data();
    void lenientNumber();
    void strictNumber_data();
    void strictNumber();
};

void TestVersionRules::initTestCase()
{
    // A locale with a decimal comma must not change how versions read.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
}

void TestVersionRules::announcedOrder_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("outcome"); // newer, same, older or nothing, against 1.1

    QTest::newRow("[1.1]") << QStringLiteral("Mirvo背单词 最新版本[1.1]") << QStringLiteral("same");
    QTest::newRow("[1.10]") << QStringLiteral("最新版本[1.10]") << QStringLiteral("same");
    QTest::newRow("[1.2]") << QStringLiteral("最新版本[1.2] - 论坛") << QStringLiteral("newer");
    QTest::newRow("[2]") << QStringLiteral("[2]") << QStringLiteral("newer");
    QTest::newRow("[1.0]") << QStringLiteral("[1.0]") << QStringLiteral("older");
    QTest::newRow("[1.09]") << QStringLiteral("[1.09]") << QStringLiteral("older");
    QTest::newRow("[]") << QStringLiteral("[]") << QStringLiteral("older");
    QTest::newRow("[ver1.2]") << QStringLiteral("[ver1.2]") << QStringLiteral("older");
    QTest::newRow("[ 1.2 ]") << QStringLiteral("[ 1.2 ]") << QStringLiteral("newer");
    QTest::newRow("[1.2.3]") << QStringLiteral("[1.2.3]") << QStringLiteral("newer");
    QTest::newRow("[+1.2]") << QStringLiteral("[+1.2]") << QStringLiteral("newer");
    QTest::newRow("[-2]") << QStringLiteral("[-2]") << QStringLiteral("older");
    QTest::newRow("tab and line feed") << QStringLiteral("[1\t.\n2]") << QStringLiteral("newer");
    QTest::newRow("two pairs") << QStringLiteral("[1.0] 新 [1.2]") << QStringLiteral("older");
    QTest::newRow("close before open") << QStringLiteral("]1.2[") << QStringLiteral("nothing");
    QTest::newRow("open without close") << QStringLiteral("[1.2") << QStringLiteral("nothing");
    QTest::newRow("no brackets") << QStringLiteral("1.2") << QStringLiteral("nothing");
}

void TestVersionRules::announcedOrder()
{
    QFETCH(QString, title);
    QFETCH(QString, outcome);

    const auto order = mirvo::versionrules::announcedOrder(title, QStringLiteral("1.1"));
    const QString actual = !order                      ? QStringLiteral("nothing")
                         : *order == Order::RemoteNewer ? QStringLiteral("newer")
                         : *order == Order::Same        ? QStringLiteral("same")
                                                        : QStringLiteral("older");
    QCOMPARE(actual, outcome);
}

void TestVersionRules::bracketedVersion_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("announces");
    QTest::addColumn<QString>("remote");

    QTest::newRow("inside a title") << QStringLiteral("新版本[1.2]下载") << true << QStringLiteral("1.2");
    QTest::newRow("blanks kept") << QStringLiteral("[ 1.2 ]") << true << QStringLiteral(" 1.2 ");
    QTest::newRow("empty pair") << QStringLiteral("x[]y") << true << QString();
    QTest::newRow("first pair only") << QStringLiteral("[1.0] [1.2]") << true << QStringLiteral("1.0");
    QTest::newRow("nested opening") << QStringLiteral("[[1.2]]") << true << QStringLiteral("[1.2");
    QTest::newRow("stray close hides a later pair") << QStringLiteral("a]b[1.2]") << false << QString();
    QTest::newRow("close without open") << QStringLiteral("1.2]") << false << QString();
    QTest::newRow("full-width brackets") << QStringLiteral("［1.2］") << false << QString();
    QTest::newRow("empty title") << QString() << false << QString();
}

void TestVersionRules::bracketedVersion()
{
    QFETCH(QString, title);
    QFETCH(bool, announces);
    QFETCH(QString, remote);

    const auto found = mirvo::versionrules::bracketedVersion(title);
    QCOMPARE(found.has_value(), announces);
    if (announces)
        QCOMPARE(*found, remote);
}

void TestVersionRules::lenientNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");

    QTest::newRow("1.10 reads as 1.1") << QStringLiteral("1.10") << 1.1;
    QTest::newRow("empty") << QString() << 0.0;
    QTest::newRow("letters first") << QStringLiteral("ver1.2") << 0.0;
    QTest::newRow("second point stops") << QStringLiteral("1.2.3") << 1.2;
    QTest::newRow("letters stop") << QStringLiteral("1.2beta") << 1.2;
    QTest::newRow("minus") << QStringLiteral("-1.5") << -1.5;
    QTest::newRow("blank after sign") << QStringLiteral("- 3") << -3.0;
    QTest::newRow("blank inside digits") << QStringLiteral("1 2") << 12.0;
    QTest::newRow("tab and line feed") << QStringLiteral("\t1\n.2 ") << 1.2;
    QTest::newRow("carriage return stops") << QStringLiteral("\r1.2") << 0.0;
    QTest::newRow("leading point") << QStringLiteral(".5") << 0.5;
    QTest::newRow("trailing point") << QStringLiteral("5.") << 5.0;
    QTest::newRow("sign alone") << QStringLiteral("-") << 0.0;
    QTest::newRow("point alone") << QStringLiteral(".") << 0.0;
    QTest::newRow("two signs") << QStringLiteral("+-1") << 0.0;
    QTest::newRow("comma is no point") << QStringLiteral("1,5") << 1.0;
    QTest::newRow("no exponent") << QStringLiteral("1e3") << 1.0;
    QTest::newRow("full-width digits") << QStringLiteral("１.２") << 0.0;
}

void TestVersionRules::lenientNumber()
{
    QFETCH(QString, text);
    QFETCH(double, value);

    QCOMPARE(mirvo::versionrules::lenientNumber(text), value);
}

void TestVersionRules::strictNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isNumber");
    QTest::addColumn<double>("value");

    QTest::newRow("0") << QStringLiteral("0") << true << 0.0;
    QTest::newRow("1") << QStringLiteral("1") << true << 1.0;
    QTest::newRow("1.0") << QStringLiteral("1.0") << true << 1.0;
    QTest::newRow("surrounding blanks") << QStringLiteral(" 1 ") << true << 1.0;
    QTest::newRow("negative fraction") << QStringLiteral("-0.5") << true << -0.5;
    QTest::newRow("empty") << QString() << false << 0.0;
    QTest::newRow("word") << QStringLiteral("yes") << false << 0.0;
    QTest::newRow("trailing letter") << QStringLiteral("1a") << false << 0.0;
    QTest::newRow("two points") << QStringLiteral("1.2.3") << false << 0.0;
    QTest::newRow("blank inside") << QStringLiteral("1 0") << false << 0.0;
    QTest::newRow("sign alone") << QStringLiteral("+") << false << 0.0;
    QTest::newRow("hexadecimal") << QStringLiteral("0x1") << false << 0.0;
    QTest::newRow("nan") << QStringLiteral("nan") << false << 0.0;
    QTest::newRow("inf") << QStringLiteral("inf") << false << 0.0;
}

void TestVersionRules::strictNumber()
{
    QFETCH(QString, text);
    QFETCH(bool, isNumber);
    QFETCH(double, value);

    const auto number = mirvo::versionrules::strictNumber(text);
    QCOMPARE(number.has_value(), isNumber);
    if (isNumber)
        QCOMPARE(*number, value);
}

QTEST_GUILESS_MAIN(TestVersionRules)
#include "tst_versionrules.moc"
