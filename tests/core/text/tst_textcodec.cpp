#include "TestSupport.h"
#include "core/text/TextCodec.h"

#include <QTest>

#include <optional>

using namespace mirvo;
using Text = std::optional<QString>; // nothing: the bytes are no text
using test::ByCodePage;

Q_DECLARE_METATYPE(ByCodePage<Text>)

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
    // What the bytes read as with no ANSI code page and at 936 (GB18030), and at 1252.
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<ByCodePage<Text>>("text");
    const auto row = [](const char *name, const QByteArray &bytes, const Text &text, const Text &at1252) {
        QTest::newRow(name) << bytes << ByCodePage<Text>{text, text, at1252};
    };
    const auto same = [&](const char *name, const QByteArray &bytes, const Text &text) {
        row(name, bytes, text, text);
    };
    same("empty", QByteArray(), QString());
    same("ascii", "n. apple", QStringLiteral("n. apple"));
    same("utf-8 chinese", "中文", QStringLiteral("中文"));
    same("utf-8 bom", "\xEF\xBB\xBF中文", QStringLiteral("中文"));
    same("utf-8 bom, then U+FEFF", "\xEF\xBB\xBF\xEF\xBB\xBFx", QStringLiteral("\uFEFFx"));
    same("utf-8 mixed accents", "café 咖啡", QStringLiteral("café 咖啡"));
    same("gbk", "\xD6\xD0\xCE\xC4", QStringLiteral("中文"));
    same("gbk valid as utf-8", "\xD2\xBB", QStringLiteral("一"));
    same("gbk with ascii valid as utf-8", "n. \xD2\xBB", QStringLiteral("n. 一"));
    same("gb18030 four-byte", "\x94\x39\xFC\x36", QStringLiteral("😀"));
    same("gb18030 trail byte 0x80", "\x81\x80", QStringLiteral("亐"));
    same("utf-8 ending in 0x80", "\xE4\xB8\x80", QStringLiteral("一"));
    same("overlong utf-8 slash", "a\xC0\xAF" "b", QStringLiteral("a蜡b"));
    same("code page 936 euro", "\x80", QStringLiteral("€"));
    same("code page 936 euro in gbk", "\xD6\xD0\x80 5", QStringLiteral("中€ 5"));
    // Code page 1252 reads every byte; GBK pairs still win over it, a letter before ASCII loses.
    row("neither", "\x81\x20", {}, QStringLiteral("\u0081 "));
    row("neither, then 0x80", "\x81\x20\x80", {}, QStringLiteral("\u0081 €"));
    row("byte 0xff", "a\xFF", {}, QStringLiteral("aÿ"));
    row("utf-8 surrogate half", "\xE5\xA5\xBD\n\xED\xA0\x80", {}, QStringLiteral("å¥½\ní\u00A0€"));
    row("truncated gbk", "\xD6", {}, QStringLiteral("Ö"));
    row("1252 letter at the end", "caf\xE9", {}, QStringLiteral("café"));
    row("1252 letter before ascii", "caf\xE9s", QStringLiteral("caf\u959F"), QStringLiteral("cafés"));
}

void TestTextCodec::decode()
{
    QFETCH(QByteArray, bytes);
    QFETCH(ByCodePage<Text>, text);
    const auto expected = text.here();
    if (!expected)
        QSKIP("the rows know no other ANSI code page");
    QCOMPARE(textcodec::decode(bytes), *expected);
    if (*expected && !bytes.startsWith("\xEF\xBB\xBF"))
        QCOMPARE(textcodec::decode(textcodec::encode(**expected)), **expected);
}

void TestTextCodec::encodeReadable_data()
{
    // The bytes with no ANSI code page (UTF-8 is the system's), at 936 and at 1252.
    QTest::addColumn<QString>("text");
    QTest::addColumn<ByCodePage<QByteArray>>("bytes");
    const QByteArray bom = "\xEF\xBB\xBF";
    const auto row = [&](const char *name, const QString &text, const QByteArray &withoutAnsi,
                         const QByteArray &cp936, const QByteArray &cp1252) {
        QTest::newRow(name) << text << ByCodePage<QByteArray>{withoutAnsi, cp936, cp1252};
    };
    row("empty", QString(), {}, {}, {});
    row("ascii", QStringLiteral("n. apple"), "n. apple", "n. apple", "n. apple");
    row("chinese", QStringLiteral("苹果"), "苹果", "\xC6\xBB\xB9\xFB", bom + "苹果");
    row("gbk that is also utf-8", QStringLiteral("一"), "\xE4\xB8\x80", "\xD2\xBB", bom + "\xE4\xB8\x80");
    // Two-byte UTF-8 alone is also GBK and would read as "caf茅": a BOM keeps it UTF-8.
    row("accent", QStringLiteral("café"), bom + "caf\xC3\xA9", "caf\xA8\xA6", "caf\xE9");
    // At 1252 these two letters would read back as the GBK character C0 C9.
    row("accents read as gbk", QStringLiteral("ÀÉ"), bom + "ÀÉ", bom + "ÀÉ", bom + "ÀÉ");
    row("euro", QStringLiteral("€ 5"), "€ 5", "\x80 5", "\x80 5");
    row("phonetic symbols", QStringLiteral("[əˈbændən] v. 放弃"), "[əˈbændən] v. 放弃",
        bom + "[əˈbændən] v. 放弃", bom + "[əˈbændən] v. 放弃");
    row("phonetic symbols alone", QStringLiteral("[ə]"), bom + "[ə]", bom + "[ə]", bom + "[ə]");
    row("opening with U+FEFF", QStringLiteral("\uFEFFx"), bom + bom + "x", bom + bom + "x", bom + bom + "x");
    row("emoji", QStringLiteral("😀"), "😀", bom + "😀", bom + "😀");
    // Code page 936 has A2 E3 for a private character, GB18030 for "€": read back, it would change.
    row("private use in 936", QStringLiteral("\uE76C"), "\uE76C", bom + "\uE76C", bom + "\uE76C");
    // These GBK bytes are the UTF-8 of "的是": kept as UTF-8 after a BOM.
    row("gbk read as utf-8", QStringLiteral("鐨勬槸"), "鐨勬槸", bom + "鐨勬槸", bom + "鐨勬槸");
}

void TestTextCodec::encodeReadable()
{
    QFETCH(QString, text);
    QFETCH(ByCodePage<QByteArray>, bytes);
    const auto expected = bytes.here();
    if (!expected)
        QSKIP("the rows know no other ANSI code page");
    QCOMPARE(textcodec::encodeReadable(text), *expected);
    QCOMPARE(textcodec::decode(*expected), text);
}

QTEST_MAIN(TestTextCodec)
#include "tst_textcodec.moc"
