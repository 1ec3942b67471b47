#include "core/text/TextCodec.h"

#include <QTest>

using namespace mirvo;

Q_DECLARE_METATYPE(mirvo::textcodec::Encoding)

class TestTextCodec : public QObject
{
    Q_OBJECT

private slots:
    void decode_data();
    void decode();
    void encodeReadable_data();
    void encodeReadable();
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
    QTest::newRow("utf-8 bom, then U+FEFF") << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBFx") << true << QStringLiteral("\uFEFFx");
    QTest::newRow("utf-8 mixed accents") << QByteArray("café 咖啡") << true << QStringLiteral("café 咖啡");
    QTest::newRow("gbk") << QByteArray("\xD6\xD0\xCE\xC4") << true << QStringLiteral("中文");
    QTest::newRow("gbk valid as utf-8") << QByteArray("\xD2\xBB") << true << QStringLiteral("一");
    QTest::newRow("gbk with ascii valid as utf-8") << QByteArray("n. \xD2\xBB") << true << QStringLiteral("n. 一");
    QTest::newRow("gb18030 four-byte") << QByteArray("\x94\x39\xFC\x36") << true << QStringLiteral("😀");
    QTest::newRow("gb18030 trail byte 0x80") << QByteArray("\x81\x80") << true << QStringLiteral("亐");
    QTest::newRow("utf-8 ending in 0x80") << QByteArray("\xE4\xB8\x80") << true << QStringLiteral("一");
    QTest::newRow("code page 936 euro") << QByteArray("\x80") << true << QStringLiteral("€");
    QTest::newRow("code page 936 euro in gbk") << QByteArray("\xD6\xD0\x80 5") << true << QStringLiteral("中€ 5");
    QTest::newRow("neither") << QByteArray("\x81\x20") << false << QString();
    QTest::newRow("neither, then 0x80") << QByteArray("\x81\x20\x80") << false << QString();
    QTest::newRow("byte 0xff") << QByteArray("a\xFF") << false << QString();
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

void TestTextCodec::encodeReadable_data()
{
    QTest::addColumn<textcodec::Encoding>("encoding");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    const auto utf8 = textcodec::Encoding::Utf8;
    const auto gb = textcodec::Encoding::Gb18030;
    QTest::newRow("utf-8 empty") << utf8 << QString() << QByteArray();
    QTest::newRow("utf-8 ascii") << utf8 << QStringLiteral("n. apple") << QByteArray("n. apple");
    QTest::newRow("utf-8 chinese") << utf8 << QStringLiteral("苹果") << QByteArray("苹果");
    QTest::newRow("utf-8 one") << utf8 << QStringLiteral("一") << QByteArray("\xE4\xB8\x80");
    // Two-byte UTF-8 alone is also GBK and would read as "caf茅": a BOM keeps it UTF-8.
    QTest::newRow("utf-8 accent, bom") << utf8 << QStringLiteral("café") << QByteArray("\xEF\xBB\xBF" "caf\xC3\xA9");
    QTest::newRow("utf-8 accent and chinese") << utf8 << QStringLiteral("咖啡 café") << QByteArray("咖啡 café");
    QTest::newRow("utf-8 opening with U+FEFF") << utf8 << QStringLiteral("\uFEFFx") << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBFx");
    QTest::newRow("utf-8 emoji") << utf8 << QStringLiteral("😀") << QByteArray("\xF0\x9F\x98\x80");
    QTest::newRow("gb18030 chinese") << gb << QStringLiteral("苹果") << QByteArray("\xC6\xBB\xB9\xFB");
    QTest::newRow("gb18030 also utf-8") << gb << QStringLiteral("一") << QByteArray("\xD2\xBB");
    QTest::newRow("gb18030 euro") << gb << QStringLiteral("€") << QByteArray("\xA2\xE3");
    QTest::newRow("gb18030 emoji") << gb << QStringLiteral("😀") << QByteArray("\x94\x39\xFC\x36");
    // These GB18030 bytes are the UTF-8 of "的是": kept as UTF-8 after a BOM.
    QTest::newRow("gb18030 read as utf-8, bom") << gb << QStringLiteral("鐨勬槸") << QByteArray("\xEF\xBB\xBF鐨勬槸");
}

void TestTextCodec::encodeReadable()
{
    QFETCH(textcodec::Encoding, encoding);
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(textcodec::encodeReadable(text, encoding), bytes);
    QCOMPARE(textcodec::decode(bytes), text);
}

QTEST_MAIN(TestTextCodec)
#include "tst_textcodec.moc"
