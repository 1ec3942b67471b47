#include "core/text/TextCodec.h"
#include "core/update/PageTitle.h"

#include <QTest>

namespace {

QByteArray gbk(const QString &text)
{
    return mirvo::textcodec::encode(text); // GB18030 is GBK for every text GBK holds
}

QByteArray page(const QByteArray &head)
{
    return "<!DOCTYPE html><html><head>" + head + "</head><body><p>Mirvo</p></body></html>";
}

} // namespace

class TestPageTitle : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void documentTitle_data();
    void documentTitle();
};

void TestPageTitle::documentTitle_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QByteArray>("contentType");
    QTest::addColumn<bool>("hasTitle");
    QTest::addColumn<QString>("title");

    // C3 A9 is 茅 in GBK and é in UTF-8: what comes out shows whose charset won.
    const QByteArray ambiguous = "<title>\xC3\xA9[1.2]</title>";
    const QString asGbk = QStringLiteral("茅[1.2]");
    const QString asUtf8 = QStringLiteral("é[1.2]");
    const QByteArray utf8Chinese = QStringLiteral("<title>背单词[1.2]</title>").toUtf8();
    const QByteArray html = "text/html";
    const QByteArray gbkHeader = "text/html; Charset=\"GBK\"";
    const QByteArray metaGbk = "<meta charset=\"gbk\">";

    QTest::newRow("header charset") << ambiguous << gbkHeader << true << asGbk;
    QTest::newRow("meta charset") << metaGbk + ambiguous << html << true << asGbk;
    QTest::newRow("meta http-equiv, gb2312") << QByteArray(
        "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=gb2312\">" + ambiguous)
        << html << true << asGbk;
    QTest::newRow("header outranks meta") << metaGbk + ambiguous << QByteArray("text/html; charset=utf-8")
                                          << true << asUtf8;
    QTest::newRow("UTF-8 detected") << utf8Chinese << html << true << QStringLiteral("背单词[1.2]");
    QTest::newRow("GB18030 detected") << "<title>" + gbk(QStringLiteral("背单词[1.2]")) + "</title>"
                                      << QByteArray() << true << QStringLiteral("背单词[1.2]");
    QTest::newRow("gb2312 label, GBK-only characters") << "<title>" + gbk(QStringLiteral("堃喆")) + "</title>"
        << QByteArray("text/html; charset=gb2312") << true << QStringLiteral("堃喆");
    QTest::newRow("unknown label falls back") << utf8Chinese << QByteArray("text/html; charset=x-bogus")
                                              << true << QStringLiteral("背单词[1.2]");
    QTest::newRow("latin-1 read as windows-1252") << QByteArray("<title>\x93[1.2]\x94</title>")
        << QByteArray("text/html; charset=iso-8859-1") << true << QStringLiteral("\u201C[1.2]\u201D");
    QTest::newRow("byte order mark outranks header") << "\xEF\xBB\xBF" + ambiguous << gbkHeader << true << asUtf8;
    QTest::newRow("meta utf-16 read as UTF-8") << "<meta charset=utf-16>" + ambiguous << html << true << asUtf8;

    QTest::newRow("named entities") << QByteArray("<title>&lsqb;1.2&rsqb; &amp; &lt;&gt;&quot;&apos;</title>")
                                    << html << true << QStringLiteral("[1.2] & <>\"'");
    QTest::newRow("numeric references") << QByteArray("<title>&#91;1.2&#x5D; &#X5b;&#93 &#32972;</title>")
                                        << html << true << QStringLiteral("[1.2] [] 背");
    QTest::newRow("no references") << QByteArray("<title>&bogus; &amp a&b &#;</title>")
                                   << html << true << QStringLiteral("&bogus; &amp a&b &#;");
    QTest::newRow("invalid code points") << QByteArray("<title>&#0;&#xD800;&#99999999999;</title>")
                                         << html << true << QStringLiteral("\uFFFD\uFFFD\uFFFD");
    QTest::newRow("ASCII white space collapsed") << QByteArray("<title>\r\n Mirvo \t[1.2]&#10;\xE3\x80\x80</title>")
                                                 << html << true << QStringLiteral("Mirvo [1.2] \u3000");
    QTest::newRow("upper-case tag, attributes") << QByteArray("<TITLE lang=zh>[1.2]</TITLE >")
                                                << html << true << QStringLiteral("[1.2]");
    QTest::newRow("tags inside title are text") << QByteArray("<title><b>[1.2]</b></title>")
                                                << html << true << QStringLiteral("<b>[1.2]</b>");
    QTest::newRow("comment, script and longer tag skipped") << QByteArray(
        "<!-- <title>[7]</title> --><script>t='<title>[8]</title>'</script><titles>[9]</titles>"
        "<title>[1.2]</title><title>[2]</title>") << html << true << QStringLiteral("[1.2]");
    QTest::newRow("empty title") << QByteArray("<title></title>") << html << true << QString();
    QTest::newRow("no title") << page("<meta charset=\"utf-8\">") << html << false << QString();
    QTest::newRow("unterminated title") << QByteArray("<title>[1.2]") << html << false << QString();
}

void TestPageTitle::documentTitle()
{
    QFETCH(QByteArray, body);
    QFETCH(QByteArray, contentType);
    QFETCH(bool, hasTitle);
    QFETCH(QString, title);

    const auto found = mirvo::pagetitle::documentTitle(body, contentType);
    QCOMPARE(found.has_value(), hasTitle);
    if (hasTitle)
        QCOMPARE(*found, title);
}

QTEST_GUILESS_MAIN(TestPageTitle)
#include "tst_pagetitle.moc"
