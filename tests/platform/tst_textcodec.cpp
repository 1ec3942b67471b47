#include "platform/TextCodec.h"

#include <QTest>

using namespace mirvo;

class TestTextCodec : public QObject
{
    Q_OBJECT

private slots:
    void decode_data();
    void decode();
};

void TestTextCodec::decode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("decodes");
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QByteArray() << true << QString();
    QTest::newRow("ascii") << QByteArray("n. apple") << true << QStringLiteral("n. apple");
    QTest::newRow("utf-8 chinese") << QByteArray("中文") << true << QStringLiteral("中文");
    QTest::newRow("utf-8 bom") << QByteArray("\xEF\xBB\xBF中文") << true << QStringLiteral("中文");
    QTest::newRow("utf-8 mixed accents") << QByteArray("café 咖啡") << true << QStringLiteral("café 咖啡");
    QTest::newRow("gbk") << QByteArray("\xD6\xD0\xCE\xC4") << true << QStringLiteral("中文");
    QTest::newRow("gbk valid as utf-8") << QByteArray("\xD2\xBB") << true << QStringLiteral("一");
    QTest::newRow("gbk with ascii valid as utf-8") << QByteArray("n. \xD2\xBB") << true << QStringLiteral("n. 一");
    QTest::newRow("gb18030 four-byte") << QByteArray("\x94\x39\xFC\x36") << true << QStringLiteral("😀");
    QTest::newRow("neither") << QByteArray("\x81\x20") << false << QString();
    QTest::newRow("truncated gbk") << QByteArray("\xD6") << false << QString();
}

void TestTextCodec::decode()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, decodes);
    QFETCH(QString, text);
    const auto decoded = textcodec::decode(bytes);
    QCOMPARE(decoded.has_value(), decodes);
    if (decodes)
        QCOMPARE(*decoded, text);
    if (decodes && !bytes.startsWith("\xEF\xBB\xBF"))
        QCOMPARE(textcodec::decode(textcodec::encode(text)), text);
}

QTEST_MAIN(TestTextCodec)
#include "tst_textcodec.moc"
