#include "core/text/Charsets.h"
#include "core/update/PageTitle.h"
#include "core/update/VersionRules.h"

#include <QStringEncoder>
#include <QTest>

using namespace mirvo;
using versionrules::Order;

namespace {

constexpr int noOrder = -1;
constexpr qsizetype megabyte = 1024 * 1024;

} // namespace

/// Pages and version texts made to hurt: huge titles, endless comments, absurd charsets,
/// brackets and numbers; each is read to a title and the version it announces, or none.
class TestHostilePages : public QObject
{
    Q_OBJECT

private slots:
    void hostilePages_data();
    void hostilePages();
    void hostileVersionTexts_data();
    void hostileVersionTexts();
};

void TestHostilePages::hostilePages_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QByteArray>("contentType");
    QTest::addColumn<bool>("hasTitle");
    QTest::addColumn<QString>("titleStart");
    QTest::addColumn<qsizetype>("titleLength");
    QTest::addColumn<int>("order"); // against version 1.1; noOrder: no version announced

    const QByteArray html = "text/html";
    const QByteArray tenMb(10 * megabyte, 'a');
    const QByteArray spaced = QByteArray("&amp; \t").repeated(10 * megabyte / 7);
    const QByteArray nested = QByteArray(5 * megabyte, '[') + "1.2" + QByteArray(5 * megabyte, ']');
    const QByteArray titled = "<title>[1.2]</title>";

    const auto noTitle = [&](const char *name, const QByteArray &body, const QByteArray &type = "text/html") {
        QTest::newRow(name) << body << type << false << QString() << qsizetype(0) << noOrder;
    };
    const auto titled1_2 = [&](const char *name, const QByteArray &body, const QByteArray &type) {
        QTest::newRow(name) << body << type << true << QStringLiteral("[1.2]") << qsizetype(5) << int(Order::RemoteNewer);
    };
    QTest::newRow("10 MB title") << ("<title>[1.2] " + tenMb + "</title>") << html << true
                                 << QStringLiteral("[1.2] aaa") << 6 + tenMb.size() << int(Order::RemoteNewer);
    QTest::newRow("10 MB of entities and blanks") << ("<title>" + spaced + "[2]</title>") << html << true
                                                  << QStringLiteral("& & & ") << (spaced.size() / 7) * 2 + 3
                                                  << int(Order::RemoteNewer);
    noTitle("10 MB title, no end tag", "<title>[1.2] " + tenMb);
    noTitle("10 MB of tag starts", QByteArray(10 * megabyte, '<'));
    noTitle("10 MB comment, never closed", "<!--" + tenMb + titled);
    QTest::newRow("10 MB of nested brackets") << ("<title>" + nested + "</title>") << html << true
                                              << QStringLiteral("[[[[") << nested.size() << int(Order::LocalNewer);
    // A header may declare UTF-16: the ASCII page then reads as other characters, with no title.
    noTitle("header says UTF-16", titled, "text/html; charset=utf-16");
    // Absurd labels fall back to the page's own bytes; the title's and the version's own
    // rules are their tests'.
    titled1_2("1 MB charset label", titled, "text/html; charset=" + QByteArray(megabyte, 'z'));
    titled1_2("charset with a path and NUL", titled, QByteArray("text/html; charset=\"../../etc/passwd\0x\"", 39));
    titled1_2("charset label is a quote", titled, "text/html; charset=\"");
    titled1_2("meta charset after 10 MB", "<meta " + tenMb + " charset=utf-16>" + titled, html);
    const QByteArray jis = "text/html; charset=iso-2022-jp";
    QTest::newRow("stateful ISO-2022-JP") << QByteArray("<title>\x1b$B$3$s\x1b(B[1.2]</title>") << jis << true
                                          << QStringLiteral("こん[1.2]") << qsizetype(7) << int(Order::RemoteNewer);
    // Shifted into two-byte mode for good, the end tag reads as other characters.
    noTitle("ISO-2022-JP never shifting back", "<title>[1.2]\x1b$B</title>", jis);
    QStringEncoder utf16(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    titled1_2("UTF-16 byte order mark, odd length", QByteArray(utf16.encode(u"<title>[1.2]</title>")) + 'x', html);
}

void TestHostilePages::hostilePages()
{
    QFETCH(QByteArray, body);
    QFETCH(QByteArray, contentType);
    QFETCH(bool, hasTitle);
    QFETCH(QString, titleStart);
    QFETCH(qsizetype, titleLength);
    QFETCH(int, order);
    if (contentType.endsWith("iso-2022-jp") && !charsets::decode("iso-2022-jp", {}))
        QSKIP("no ISO-2022-JP converter on this system (Wine lacks code page 50220)");

    const auto title = mirvo::pagetitle::documentTitle(body, contentType);
    QCOMPARE(title.has_value(), hasTitle);
    if (!title)
        return;
    QVERIFY2(title->startsWith(titleStart), qPrintable(title->left(40)));
    QCOMPARE(title->size(), titleLength);
    const auto announced = versionrules::announcedOrder(*title, QStringLiteral("1.1"));
    QCOMPARE(announced ? int(*announced) : noOrder, order);
}

void TestHostilePages::hostileVersionTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("lenient");
    QTest::addColumn<bool>("strictReads");

    const QString digits(10 * megabyte, QLatin1Char('9'));
    QTest::newRow("10 MB of digits") << digits << qInf() << true;
    QTest::newRow("10 MB of blanks around digits")
        << (QString(5 * megabyte, QLatin1Char(' ')) + QStringLiteral("1 .\t2") + QString(5 * megabyte, QLatin1Char('\n')))
        << 1.2 << false;
    QTest::newRow("a million points") << (QStringLiteral("1") + QString(megabyte, QLatin1Char('.'))) << 1.0 << false;
    QTest::newRow("a million signs") << QString(megabyte, QLatin1Char('-')) << 0.0 << false;
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) << 0.0 << false;
}

void TestHostilePages::hostileVersionTexts()
{
    QFETCH(QString, text);
    QFETCH(double, lenient);
    QFETCH(bool, strictReads);
    QCOMPARE(versionrules::lenientNumber(text), lenient);
    QCOMPARE(versionrules::strictNumber(text).has_value(), strictReads);
    const auto order = versionrules::announcedOrder(QLatin1Char('[') + text + QLatin1Char(']'), QStringLiteral("1.1"));
    QVERIFY(order);
    QCOMPARE(*order, versionrules::compare(1.1, lenient));
}

QTEST_GUILESS_MAIN(TestHostilePages)
#include "tst_hostilepages.moc"
