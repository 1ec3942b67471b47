#include "core/update/PageTitle.h"

#include "core/text/Charsets.h"
#include "core/text/TextCodec.h"

#include <QHash>
#include <QRegularExpression>

namespace mirvo::pagetitle {

namespace {

bool isAsciiSpace(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n')
        || c == QLatin1Char('\r') || c == QLatin1Char('\f');
}

/// The decoder name for a charset label; browsers read the GB family as GB18030 and
/// Latin-1 as windows-1252, and a page cannot declare itself UTF-16 from inside.
QByteArray decoderName(const QByteArray &label, bool fromMeta)
{
    static const QList<QByteArray> gbFamily = {"gbk", "gb2312", "gb_2312-80", "x-gbk",
                                               "chinese", "csgb2312", "gb18030"};
    static const QList<QByteArray> latinFamily = {"iso-8859-1", "latin1", "us-ascii", "ascii",
                                                  "cp1252", "windows-1252"};
    const QByteArray name = label.trimmed().toLower();
    if (gbFamily.contains(name))
        return "GB18030";
    if (latinFamily.contains(name))
        return "windows-1252";
    if (fromMeta && name.startsWith("utf-16"))
        return "UTF-8";
    return name;
}

QByteArray headerCharset(const QByteArray &contentType)
{
    const QList<QByteArray> parts = contentType.split(';');
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const qsizetype eq = parts[i].indexOf('=');
        if (eq < 0 || parts[i].left(eq).trimmed().toLower() != "charset")
            continue;
        QByteArray value = parts[i].mid(eq + 1).trimmed();
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\''))
            value = value.mid(1, value.size() - 2);
        return value;
    }
    return {};
}

QByteArray metaCharset(const QByteArray &body)
{
    // Both <meta charset=...> and the http-equiv form stand in the head, near the top.
    static const QRegularExpression meta(
        QStringLiteral(R"(<meta\b[^>]*?charset\s*=\s*["']?\s*([A-Za-z0-9._:\-]+))"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = meta.match(QString::fromLatin1(body.left(4096)));
    return match.hasMatch() ? match.captured(1).toLatin1() : QByteArray();
}

std::optional<QString> decodeWith(const QByteArray &name, const QByteArray &body)
{
    if (name.isEmpty())
        return std::nullopt;
    return charsets::decode(name, body);
}

QString decodePage(const QByteArray &body, const QByteArray &contentType)
{
    // A byte order mark outranks every declaration, as in browsers.
    if (body.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(body.mid(3));
    if (body.startsWith("\xFF\xFE"))
        return *decodeWith("UTF-16LE", body.mid(2));
    if (body.startsWith("\xFE\xFF"))
        return *decodeWith("UTF-16BE", body.mid(2));
    if (auto text = decodeWith(decoderName(headerCharset(contentType), false), body))
        return *text;
    if (auto text = decodeWith(decoderName(metaCharset(body), true), body))
        return *text;
    if (auto text = textcodec::decode(body))
        return *text;
    return textcodec::decodeAnsi(body);
}

bool startsWithTag(QStringView rest, QLatin1String name)
{
    if (!rest.startsWith(name, Qt::CaseInsensitive))
        return false;
    if (rest.size() == name.size())
        return true;
    const QChar next = rest[name.size()];
    return isAsciiSpace(next) || next == QLatin1Char('>') || next == QLatin1Char('/');
}

/// The raw text of the first title element outside comments and raw-text elements.
std::optional<QString> titleElementText(const QString &html)
{
    static const QLatin1String rawText[] = {QLatin1String("script"), QLatin1String("style"),
                                            QLatin1String("textarea"), QLatin1String("xmp")};
    qsizetype i = 0;
    while ((i = html.indexOf(QLatin1Char('<'), i)) >= 0) {
        const QStringView rest = QStringView(html).mid(i + 1);
        if (rest.startsWith(QLatin1String("!--"))) {
            const qsizetype end = html.indexOf(QLatin1String("-->"), i + 4);
            if (end < 0)
                return std::nullopt;
            i = end + 3;
            continue;
        }
        const QLatin1String title("title");
        if (startsWithTag(rest, title)) {
            const qsizetype open = html.indexOf(QLatin1Char('>'), i);
            const qsizetype close =
                open < 0 ? -1 : html.indexOf(QLatin1String("</title"), open, Qt::CaseInsensitive);
            if (close < 0)
                return std::nullopt;
            return html.mid(open + 1, close - open - 1);
        }
        ++i;
        for (const QLatin1String name : rawText) {
            if (startsWithTag(rest, name)) {
                const qsizetype end =
                    html.indexOf(QLatin1String("</") + name, i, Qt::CaseInsensitive);
                if (end < 0)
                    return std::nullopt;
                i = end + 2;
                break;
            }
        }
    }
    return std::nullopt;
}

std::optional<char32_t> namedEntity(QStringView name)
{
    // The few names a version title may use; numeric references cover the rest.
    static const QHash<QString, char32_t> entities = {
        {QStringLiteral("amp"), U'&'},     {QStringLiteral("lt"), U'<'},
        {QStringLiteral("gt"), U'>'},      {QStringLiteral("quot"), U'"'},
        {QStringLiteral("apos"), U'\''},   {QStringLiteral("nbsp"), U'\u00A0'},
        {QStringLiteral("lsqb"), U'['},    {QStringLiteral("rsqb"), U']'},
        {QStringLiteral("lbrack"), U'['},  {QStringLiteral("rbrack"), U']'},
        {QStringLiteral("period"), U'.'},  {QStringLiteral("middot"), U'\u00B7'},
        {QStringLiteral("mdash"), U'\u2014'}, {QStringLiteral("ndash"), U'\u2013'},
    };
    const auto found = entities.constFind(name.toString());
    if (found == entities.constEnd())
        return std::nullopt;
    return *found;
}

/// Decodes one character reference at text[i] == '&'; returns the characters consumed
/// (0 when it is no reference) and the code point.
qsizetype characterReference(QStringView text, qsizetype i, char32_t *codePoint)
{
    qsizetype j = i + 1;
    if (j < text.size() && text[j] == QLatin1Char('#')) {
        ++j;
        const bool hex = j < text.size() && (text[j] == QLatin1Char('x') || text[j] == QLatin1Char('X'));
        if (hex)
            ++j;
        const qsizetype digitsStart = j;
        char32_t value = 0;
        for (; j < text.size(); ++j) {
            int d = -1;
            const char16_t c = text[j].unicode();
            if (c >= u'0' && c <= u'9')
                d = c - u'0';
            else if (hex && c >= u'a' && c <= u'f')
                d = c - u'a' + 10;
            else if (hex && c >= u'A' && c <= u'F')
                d = c - u'A' + 10;
            if (d < 0)
                break;
            value = std::min<char32_t>(value * (hex ? 16 : 10) + char32_t(d), 0x110000);
        }
        if (j == digitsStart)
            return 0;
        if (j < text.size() && text[j] == QLatin1Char(';'))
            ++j;
        const bool valid = value != 0 && value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF);
        *codePoint = valid ? value : U'\uFFFD';
        return j - i;
    }
    const qsizetype nameStart = j;
    while (j < text.size() && j - nameStart < 32 && text[j].unicode() < 0x80
           && text[j].isLetterOrNumber())
        ++j;
    if (j == nameStart || j >= text.size() || text[j] != QLatin1Char(';'))
        return 0;
    const auto named = namedEntity(text.mid(nameStart, j - nameStart));
    if (!named)
        return 0;
    *codePoint = *named;
    return j + 1 - i;
}

QString decodeEntities(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        char32_t codePoint = 0;
        const qsizetype used =
            text[i] == QLatin1Char('&') ? characterReference(text, i, &codePoint) : 0;
        if (used == 0) {
            out.append(text[i]);
            ++i;
            continue;
        }
        out.append(QChar::fromUcs4(codePoint));
        i += used;
    }
    return out;
}

/// document.title's rule: ASCII white space stripped and collapsed, other spaces kept.
QString collapseSpaces(const QString &text)
{
    QString out;
    out.reserve(text.size());
    bool pendingSpace = false;
    for (const QChar c : text) {
        if (isAsciiSpace(c)) {
            pendingSpace = !out.isEmpty();
            continue;
        }
        if (pendingSpace)
            out.append(QLatin1Char(' '));
        pendingSpace = false;
        out.append(c);
    }
    return out;
}

} // namespace

std::optional<QString> documentTitle(const QByteArray &body, const QByteArray &contentType)
{
    const auto raw = titleElementText(decodePage(body, contentType));
    if (!raw)
        return std::nullopt;
    return collapseSpaces(decodeEntities(*raw));
}

} // namespace mirvo::pagetitle
